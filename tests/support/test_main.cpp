// Test main: a QApplication on Qt's offscreen platform (or on the X server for
// the X11 test programs), and an isolated home for every test.
#include <QApplication>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace testenv {
void installIsolatedHome();
}

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  bool listing = false;
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--gtest_list_tests") == 0) listing = true;

  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
#ifdef VELISTROM_X11_TEST
  qputenv("QT_QPA_PLATFORM", "xcb");
  if (!listing && qgetenv("DISPLAY").isEmpty()) {
    fprintf(stderr, "X11 tests need DISPLAY (run them through ./build.sh test)\n");
    return 1;
  }
#else
  if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
  std::unique_ptr<QApplication> app;
  if (!listing) app = std::make_unique<QApplication>(argc, argv);
  testenv::installIsolatedHome();
  return RUN_ALL_TESTS();
}
