#pragma once
// The printer as the old runtime's printer object offered it: positions and
// sizes in twips (1440 per inch) from the top-left of the printable area, a
// current position that printed text starts from, pages, and the end of the
// document, which sends it. With an output file it prints into a PDF instead
// (the page's own corner is then the origin, a PDF having no unprintable edge).
#include <QFont>
#include <QImage>
#include <QString>
#include <memory>

class QPainter;
class QPrinter;

namespace platform {

class Printer {
 public:
  Printer();  // the system's default printer
  ~Printer();
  Printer(const Printer&) = delete;
  Printer& operator=(const Printer&) = delete;

  // Prints into this PDF file instead (call before anything is printed).
  void setOutputPdf(const QString& path);
  void setCopies(int copies);
  int copies() const;
  void setFont(const QFont& font);

  // The device itself, for a printer dialog to configure before printing starts.
  QPrinter& device();

  // The printable area in twips (the old ScaleWidth and ScaleHeight).
  int scaleWidth() const;
  int scaleHeight() const;

  int currentX() const { return currentX_; }
  int currentY() const { return currentY_; }
  void setCurrentX(int twips) { currentX_ = twips; }
  void setCurrentY(int twips) { currentY_ = twips; }

  // Prints one line with its top at the current position; the position then
  // moves to the start of the next line. False when the document cannot start.
  bool print(const QString& text);
  // Draws `picture` scaled into the rectangle (twips).
  bool paintPicture(const QImage& picture, int xTwips, int yTwips, int widthTwips, int heightTwips);
  bool newPage();
  // Ends the document and sends it; false when nothing could be printed.
  bool endDoc();
  // Drops the document without sending it (an output PDF is removed).
  void killDoc();

  // Why the last call failed.
  QString errorString() const { return error_; }

 private:
  bool ensureStarted();
  double toDevice(int twips) const;

  std::unique_ptr<QPrinter> printer_;
  std::unique_ptr<QPainter> painter_;
  QFont font_;
  int currentX_ = 0;
  int currentY_ = 0;
  QString error_;
};

}  // namespace platform
