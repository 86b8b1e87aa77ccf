#include "velistrom/helpers/aDIBSection.h"

#include <algorithm>

std::int32_t aDIBSection::BytesPerScanLine() const { return (header_.biWidth * 3 + 3) & ~3; }

bool aDIBSection::CreateDIB(QPainter*, int lWidth, int lHeight, std::unique_ptr<QImage>& hDib) {
  header_ = BitmapInfoHeader{};
  header_.biWidth = lWidth;
  header_.biHeight = lHeight;
  header_.biSizeImage = std::uint32_t(BytesPerScanLine()) * std::uint32_t(std::max(lHeight, 0));
  hDib.reset();
  if (lWidth <= 0 || lHeight <= 0) return false;
  auto image = std::make_unique<QImage>(lWidth, lHeight, QImage::Format_BGR888);
  if (image->isNull()) return false;  // out of memory
  image->fill(Qt::black);
  hDib = std::move(image);
  return true;
}

bool aDIBSection::Create(int lWidth, int lHeight) {
  ClearUp();
  if (!CreateDIB(nullptr, lWidth, lHeight, dib_)) return false;
  painter_ = std::make_unique<QPainter>(dib_.get());
  return true;
}

void aDIBSection::CreateFromPicture(const QImage& picd) {
  if (!Create(picd.width(), picd.height())) return;
  LoadPictureBlt(picd, 0, 0, -1, -1, kSrcCopy);
}

void aDIBSection::LoadPictureBlt(const QImage& lhDC, int lSrcLeft, int lSrcTop, int lSrcWidth, int lSrcHeight,
                                 std::uint32_t eRop) {
  if (!painter_) return;
  if (lSrcWidth < 0) lSrcWidth = Width();
  if (lSrcHeight < 0) lSrcHeight = Height();
  QPainter::CompositionMode mode = QPainter::CompositionMode_Source;
  switch (eRop) {
    case kSrcPaint:
      mode = QPainter::RasterOp_SourceOrDestination;
      break;
    case kSrcAnd:
      mode = QPainter::RasterOp_SourceAndDestination;
      break;
    case kSrcInvert:
      mode = QPainter::RasterOp_SourceXorDestination;
      break;
    default:
      break;
  }
  painter_->save();
  painter_->setCompositionMode(mode);
  painter_->drawImage(QPoint(0, 0), lhDC, QRect(lSrcLeft, lSrcTop, lSrcWidth, lSrcHeight));
  painter_->restore();
}

void aDIBSection::ClearUp() {
  if (painter_ && painter_->isActive()) painter_->end();
  painter_.reset();
  dib_.reset();
}
