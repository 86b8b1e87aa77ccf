// Test main: a QApplication on Qt's offscreen platform (or on the X server for
// the X11 test programs), an isolated home for every test, and the strict
// scripted dialog service (a real modal box would block for ever offscreen).
#include "platform/WebView.h"
#include "platform/forms/Forms.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Runtime.h"
#include "tests/support/ScriptedDialogs.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace testenv {
void installIsolatedHome();
}

namespace {

// Every test starts with no form, the real clocks and an empty dialog script;
// at its end every box it expected must have come, and forms it leaves loaded
// are destroyed without events.
class FormsRuntimeReset : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override {
    testenv::dialogs().reset();
    vb::setDialogService(&testenv::dialogs());
    vb::setWallClock({});
    vb::setSteppedClock({});
  }
  void OnTestEnd(const ::testing::TestInfo&) override {
    testenv::dialogs().verify();  // a box the test expected never came
    vb::resetFormsForTests();
    vb::setWallClock({});
    vb::setSteppedClock({});
    testenv::dialogs().reset();
  }
};

}  // namespace

int main(int argc, char** argv) {
  // Read before gtest takes its own flags out of argv: a listing (ctest -N, the
  // test discovery) needs no display and no application.
  bool listing = false;
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--gtest_list_tests") == 0) listing = true;
  ::testing::InitGoogleTest(&argc, argv);

  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  // The tests count 15 twips a pixel whatever the developer's desktop asks;
  // the scaled-desktop tests set a scale for the program they start, and a
  // test program run again scaled is given its scale in VELISTROM_TEST_SCALE.
  qunsetenv("QT_SCALE_FACTOR");
  qunsetenv("QT_SCREEN_SCALE_FACTORS");
  if (const QByteArray scale = qgetenv("VELISTROM_TEST_SCALE"); !scale.isEmpty()) qputenv("QT_SCALE_FACTOR", scale);
#ifdef VELISTROM_X11_TEST
  qputenv("QT_QPA_PLATFORM", "xcb");
  if (!listing && qgetenv("DISPLAY").isEmpty()) {
    fprintf(stderr, "X11 tests need DISPLAY (run them through ./build.sh test)\n");
    return 1;
  }
#else
  if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
  // The web-view tests load the engine's plug-in, which reads these settings
  // only before the application object exists.
  platform::prepareWebViewProcess();
  std::unique_ptr<QApplication> app;
  if (!listing) app = std::make_unique<vb::Application>(argc, argv);
  if (app) vb::useDefaultFont();
  testenv::installIsolatedHome();
  ::testing::UnitTest::GetInstance()->listeners().Append(new FormsRuntimeReset);
  vb::setDialogService(&testenv::dialogs());
  const int rc = RUN_ALL_TESTS();
  if (app) vb::EndForms();
  vb::setDialogService(nullptr);
  return rc;
}
