// The web-page windows with the real engine (the plug-in beside the programs)
// against a real HTTP server on 127.0.0.1: a page loads and its title reads
// back, a dead address falls back, Ctrl+Q reaches the news window while its
// page has the keyboard.
#include "velistrom/help/FrmActua.h"
#include "velistrom/help/FrmBrows.h"

#include "platform/Clipboard.h"
#include "platform/WebView.h"
#include "tests/support/ImageHost.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestEnv.h"
#include "tests/support/XTestKeys.h"
#include "velistrom/core/GlobTextes.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

// Qt WebEngine's own code trips AddressSanitizer (a new/delete size mismatch
// inside libQt6WebEngineCore) and LeakSanitizer (its allocations, D-Bus's and
// fontconfig's): this program runs with those two checks off.
extern "C" const char* __asan_default_options() { return "new_delete_type_mismatch=0:detect_leaks=0"; }

namespace {

// python3 -m http.server on a folder with one page.
class PageServer {
 public:
  PageServer() {
    QFile page(dir_.filePath("tutorial.html"));
    page.open(QIODevice::WriteOnly);
    page.write("<html><head><title>Tutorial page</title></head><body>Hello</body></html>");
    page.close();
    port_ = testenv::freeLoopbackPort();
    proc_.setWorkingDirectory(dir_.path());
    proc_.setProcessChannelMode(QProcess::ForwardedChannels);
    proc_.start("/usr/bin/python3", {"-m", "http.server", "--bind", "127.0.0.1", QString::number(port_)});
    proc_.waitForStarted(5000);
  }
  ~PageServer() {
    proc_.kill();
    proc_.waitForFinished(5000);
  }
  QString address(const QString& path) const { return QStringLiteral("http://127.0.0.1:%1/%2").arg(port_).arg(path); }

 private:
  QTemporaryDir dir_;
  QProcess proc_;
  int port_ = 0;
};

class WebX11Test : public ::testing::Test {
 protected:
  void SetUp() override {
    const QString plugin = testenv::binDir() + "/velistrom_webview.so";
    if (!QFileInfo::exists(plugin)) GTEST_SKIP() << "no web-view plug-in (Qt WebEngine not built)";
    qputenv("VELISTROM_WEBVIEW_PLUGIN", plugin.toUtf8());
    gLng154 = "Paste the copied address into your web browser";
    gLng189 = "Tutorials";
    gTxtQuitter = "Quit";
  }
  void TearDown() override {
    frmBrows.destroyNow();
    frmActua.destroyNow();
    qunsetenv("VELISTROM_WEBVIEW_PLUGIN");
  }
};

TEST_F(WebX11Test, TheTutorialPageLoadsInsideTheWindow) {
  PageServer server;
  gLng202 = server.address("tutorial.html");
  FrmBrows& b = frmBrows();
  b.Show();
  EXPECT_EQ(b.Cmdquitter.Caption(), "Quit");
  // The server may need a moment to listen: try again until it answers.
  ASSERT_TRUE(QTest::qWaitFor([&] { return b.WebBrowser1.Title() == "Tutorial page"; }, 20000))
      << b.WebBrowser1.Title().toStdString();
  EXPECT_TRUE(testenv::dialogs().shown().empty());
  b.Cmdquitter_Click();
  EXPECT_FALSE(frmBrows.isLoaded());
}

TEST_F(WebX11Test, ADeadAddressFallsBackToTheClipboard) {
  gLng202 = QStringLiteral("http://127.0.0.1:%1/tutorial.html").arg(testenv::freeLoopbackPort());
  platform::clipboard::setText("before");
  testenv::dialogs().expectMsgBox(gLng154, vb::vbOK);
  frmBrows().Show();
  ASSERT_TRUE(QTest::qWaitFor([] { return testenv::dialogs().pending() == 0; }, 20000));
  EXPECT_EQ(platform::clipboard::text(), gLng202);
}

TEST_F(WebX11Test, CtrlQClosesTheNewsWhileItsPageHasTheKeyboard) {
  PageServer server;
  gLng200 = server.address("tutorial.html");
  testsupport::XTestInput keys;
  if (!keys.ok()) GTEST_SKIP() << "no XTest";
  FrmActua& a = frmActua();
  a.Show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return a.Webre1.Title() == "Tutorial page"; }, 20000));
  a.widget()->activateWindow();
  a.Webre1.widget()->setFocus();
  QTest::qWait(300);
  // Ctrl+Shift+Q is not the shortcut.
  keys.press("Control_L");
  keys.press("Shift_L");
  keys.tap("q");
  keys.release("Shift_L");
  keys.release("Control_L");
  keys.sync();
  QTest::qWait(300);
  EXPECT_TRUE(frmActua.isLoaded());
  keys.press("Control_L");
  keys.tap("q");
  keys.release("Control_L");
  keys.sync();
  EXPECT_TRUE(QTest::qWaitFor([] { return !frmActua.isLoaded(); }, 5000));
}

}  // namespace
