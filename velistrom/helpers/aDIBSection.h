#pragma once
// A 24-bit bitmap whose pixels the program can address directly, with a
// painter open on it for drawing. The handles of the old class map onto Qt:
// the section is a QImage (blue, green, red bytes, each row padded to a
// multiple of 4 bytes), its device context a QPainter on it. Rows run from
// the top down.
#include <QImage>
#include <QPainter>

#include <cstdint>
#include <memory>

class aDIBSection {
 public:
  // The header the section is made from (40 bytes in the old layout).
  struct BitmapInfoHeader {
    std::uint32_t biSize = 40;
    std::int32_t biWidth = 0;
    std::int32_t biHeight = 0;
    std::uint16_t biPlanes = 1;
    std::uint16_t biBitCount = 24;
    std::uint32_t biCompression = 0;  // uncompressed
    std::uint32_t biSizeImage = 0;    // BytesPerScanLine x height
  };
  static constexpr std::uint32_t kSrcCopy = 0xCC0020;
  static constexpr std::uint32_t kSrcPaint = 0xEE0086;  // OR
  static constexpr std::uint32_t kSrcAnd = 0x8800C6;
  static constexpr std::uint32_t kSrcInvert = 0x660046;  // XOR

  aDIBSection() = default;
  ~aDIBSection() { ClearUp(); }
  aDIBSection(const aDIBSection&) = delete;
  aDIBSection& operator=(const aDIBSection&) = delete;

  // Fills the header for lWidth x lHeight and makes a section of that size in
  // hDib (no device context is needed on this platform, lhDC is unused).
  // False, hDib empty, for a size of 0 or less or when memory runs out.
  bool CreateDIB(QPainter* lhDC, int lWidth, int lHeight, std::unique_ptr<QImage>& hDib);
  // Makes the section at the picture's size with a copy of the picture.
  void CreateFromPicture(const QImage& picd);
  // (Re)creates the section and opens its painter; the previous one goes first.
  bool Create(int lWidth, int lHeight);
  // The row length: width x 3 rounded up to a multiple of 4 bytes.
  std::int32_t BytesPerScanLine() const;
  std::int32_t Width() const { return header_.biWidth; }
  std::int32_t Height() const { return header_.biHeight; }
  const BitmapInfoHeader& Header() const { return header_; }
  // Copies a part of the source into the section at (0, 0); a width or height
  // below 0 stands for the section's own. eRop: one of the constants above
  // (any other copies as kSrcCopy).
  void LoadPictureBlt(const QImage& lhDC, int lSrcLeft, int lSrcTop, int lSrcWidth, int lSrcHeight,
                      std::uint32_t eRop = kSrcCopy);
  QPainter* hdc() const { return painter_.get(); }
  QImage* hDib() const { return dib_.get(); }
  uchar* DIBSectionBitsPtr() const { return dib_ ? dib_->bits() : nullptr; }
  // Releases the painter and the section; nothing on an empty instance.
  void ClearUp();

 private:
  BitmapInfoHeader header_;
  std::unique_ptr<QImage> dib_;
  std::unique_ptr<QPainter> painter_;
};
