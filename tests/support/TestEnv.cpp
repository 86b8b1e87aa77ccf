#include "tests/support/TestEnv.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtGlobal>
#include <gtest/gtest.h>

#include <memory>

namespace testenv {
namespace {

std::unique_ptr<QTemporaryDir> g_home;

class IsolatedHome : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override {
    g_home = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/velistrom-test-XXXXXX");
    const QString root = g_home->path();
    QDir(root).mkpath("data");
    QDir(root).mkpath("config");
    qputenv("HOME", root.toLocal8Bit());
    qputenv("XDG_DATA_HOME", (root + "/data").toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (root + "/config").toLocal8Bit());
  }
  void OnTestEnd(const ::testing::TestInfo&) override { g_home.reset(); }
};

}  // namespace

void installIsolatedHome() {
  ::testing::UnitTest::GetInstance()->listeners().Append(new IsolatedHome);
}

QString home() { return g_home ? g_home->path() : QString(); }
QString dataHome() { return home() + "/data"; }
QString configHome() { return home() + "/config"; }

QString binDir() {
  const QByteArray env = qgetenv("VELISTROM_BIN_DIR");
  return env.isEmpty() ? QString() : QString::fromLocal8Bit(env);
}

bool onX11() { return qgetenv("QT_QPA_PLATFORM") == "xcb"; }

}  // namespace testenv
