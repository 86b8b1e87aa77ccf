#include <QApplication>

int main(int argc, char** argv) {
  // One device pixel per twip-pixel, so captures are pixel-exact.
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  QApplication app(argc, argv);
  QApplication::setApplicationName("Spreadwell");
  return 0;
}
