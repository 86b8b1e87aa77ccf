// A new capture's automatic copy, read back by another X client (xclip).
#include "tests/velistrom/mainwin/SauvFixture.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>

namespace {

// Runs xclip while this process keeps serving the clipboard (a blocking wait
// would leave xclip's request unanswered).
QByteArray SortieXclip(const QStringList& args) {
  QProcess xclip;
  xclip.start("xclip", args);
  if (!xclip.waitForStarted(5000)) return {};
  QDeadlineTimer fin(10000);
  while (xclip.state() != QProcess::NotRunning && !fin.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    xclip.waitForFinished(20);
  }
  if (xclip.state() != QProcess::NotRunning) {
    xclip.kill();
    xclip.waitForFinished(1000);
    return {};
  }
  return xclip.readAllStandardOutput();
}

class CopiePPX11 : public sauvtest::SauvFixture {};

}  // namespace

TEST_F(CopiePPX11, AnotherClientReadsTheCaptureAsPng) {
  const QImage vue = sauvtest::Motif(30, 20, Qt::red);
  m->Picture2.setAutoSize(true);
  m->Picture2.setPicture(vue);
  QString kind = "f";
  m->CopiePP(kind);
  const QByteArray png = SortieXclip({"-selection", "clipboard", "-t", "image/png", "-o"});
  ASSERT_TRUE(png.startsWith("\x89PNG"));
  QImage lue;
  ASSERT_TRUE(lue.loadFromData(png, "PNG"));
  EXPECT_EQ(lue.convertToFormat(QImage::Format_RGB32), vue);
}
