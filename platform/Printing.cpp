#include "platform/Printing.h"

#include <QFile>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <cmath>

namespace platform {

Printer::Printer() : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
  font_.setPointSizeF(10);
}

Printer::~Printer() {
  if (painter_ && painter_->isActive()) painter_->end();  // an unfinished document is sent
}

void Printer::setOutputPdf(const QString& path) {
  printer_->setOutputFormat(QPrinter::PdfFormat);
  printer_->setOutputFileName(path);
  printer_->setFullPage(true);
}

void Printer::setCopies(int copies) { printer_->setCopyCount(copies < 1 ? 1 : copies); }

int Printer::copies() const { return printer_->copyCount(); }

void Printer::setFont(const QFont& font) {
  font_ = font;
  if (painter_) painter_->setFont(font_);
}

QPrinter& Printer::device() { return *printer_; }

int Printer::scaleWidth() const {
  return static_cast<int>(std::lround(printer_->width() * 1440.0 / printer_->resolution()));
}

int Printer::scaleHeight() const {
  return static_cast<int>(std::lround(printer_->height() * 1440.0 / printer_->resolution()));
}

double Printer::toDevice(int twips) const { return twips * printer_->resolution() / 1440.0; }

bool Printer::ensureStarted() {
  if (painter_ && painter_->isActive()) return true;
  painter_ = std::make_unique<QPainter>();
  if (!painter_->begin(printer_.get())) {
    painter_.reset();
    error_ = printer_->outputFormat() == QPrinter::PdfFormat
                 ? QStringLiteral("Cannot write %1").arg(printer_->outputFileName())
                 : QStringLiteral("No printer is available");
    return false;
  }
  painter_->setFont(font_);
  painter_->setRenderHint(QPainter::SmoothPixmapTransform);
  return true;
}

bool Printer::print(const QString& text) {
  if (!ensureStarted()) return false;
  const QFontMetricsF metrics(painter_->font(), printer_.get());
  painter_->setPen(Qt::black);
  painter_->drawText(QPointF(toDevice(currentX_), toDevice(currentY_) + metrics.ascent()), text);
  currentX_ = 0;
  currentY_ += static_cast<int>(std::lround(metrics.height() * 1440.0 / printer_->resolution()));
  return true;
}

bool Printer::paintPicture(const QImage& picture, int xTwips, int yTwips, int widthTwips,
                           int heightTwips) {
  if (picture.isNull() || widthTwips <= 0 || heightTwips <= 0) {
    error_ = QStringLiteral("Invalid picture");
    return false;
  }
  if (!ensureStarted()) return false;
  const QRectF target(toDevice(xTwips), toDevice(yTwips), toDevice(widthTwips),
                      toDevice(heightTwips));
  painter_->drawImage(target, picture);
  return true;
}

bool Printer::newPage() {
  if (!ensureStarted()) return false;
  currentX_ = currentY_ = 0;
  if (printer_->newPage()) return true;
  error_ = QStringLiteral("Cannot start a new page");
  return false;
}

bool Printer::endDoc() {
  currentX_ = currentY_ = 0;
  if (!painter_) return true;  // nothing was printed: nothing to send
  const bool ok = painter_->end();
  painter_.reset();
  if (!ok) error_ = QStringLiteral("The document could not be sent");
  return ok;
}

void Printer::killDoc() {
  currentX_ = currentY_ = 0;
  if (!painter_) return;
  printer_->abort();
  painter_->end();
  painter_.reset();
  // A PDF engine writes as it goes: an aborted document must not stay behind.
  if (printer_->outputFormat() == QPrinter::PdfFormat && !printer_->outputFileName().isEmpty())
    QFile::remove(printer_->outputFileName());
}

}  // namespace platform
