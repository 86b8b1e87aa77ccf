#include "platform/PngWriter.h"

#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/GifWriter.h"

namespace platform {
namespace {

constexpr png_size_t kIdatBytes = 1 << 20;

// What goes into the file: rows already in PNG's sample layout.
struct PngForm {
  int colourType = PNG_COLOR_TYPE_RGB;
  int bitDepth = 8;
  int filters = PNG_ALL_FILTERS;  // adaptive for true colour and grey
  int zlibLevel = kPngTrueColourZlibLevel;
  std::vector<png_color> palette;
  std::vector<std::vector<std::uint8_t>> rows;  // packed palette or grey rows
  QImage samples;                               // or true-colour rows, in place
};

int bitsFor(std::size_t colours) {
  if (colours <= 2) return 1;
  if (colours <= 4) return 2;
  if (colours <= 16) return 4;
  return 8;
}

// Packs values of `depth` bits, most significant first, as PNG stores them.
std::vector<std::uint8_t> packRow(const std::uint8_t* values, int width, int depth) {
  if (depth == 8) return {values, values + width};
  std::vector<std::uint8_t> row((width * depth + 7) / 8, 0);
  const int perByte = 8 / depth;
  for (int x = 0; x < width; ++x)
    row[x / perByte] |= values[x] << (8 - depth * (x % perByte + 1));
  return row;
}

// The lowest grey depth whose levels hold every grey in `palette`, or nothing
// when a colour is not grey. At depth d the levels are multiples of 255/(2^d-1).
std::optional<int> greyDepth(const std::vector<QRgb>& palette) {
  int depth = 1;
  for (const QRgb c : palette) {
    if (qRed(c) != qGreen(c) || qGreen(c) != qBlue(c)) return std::nullopt;
    while (depth < 8 && qRed(c) % (255 / ((1 << depth) - 1)) != 0) depth *= 2;
  }
  return depth;
}

PngForm indexedForm(const IndexedPicture& picture) {
  PngForm form;
  form.zlibLevel = kPngIndexedZlibLevel;
  const int paletteDepth = bitsFor(picture.palette.size());
  const std::optional<int> grey = greyDepth(picture.palette);
  // Grey needs no colour table, so it wins when its depth is no higher.
  const bool asGrey = grey && *grey <= paletteDepth;
  form.colourType = asGrey ? PNG_COLOR_TYPE_GRAY : PNG_COLOR_TYPE_PALETTE;
  form.bitDepth = asGrey ? *grey : paletteDepth;
  // Palette rows gain nothing from prediction; grey rows keep the adaptive filter.
  form.filters = asGrey ? PNG_ALL_FILTERS : PNG_FILTER_NONE;
  std::vector<std::uint8_t> lookup(picture.palette.size());
  for (std::size_t i = 0; i < picture.palette.size(); ++i) {
    const QRgb c = picture.palette[i];
    if (asGrey) {
      lookup[i] = static_cast<std::uint8_t>(qRed(c) / (255 / ((1 << form.bitDepth) - 1)));
    } else {
      lookup[i] = static_cast<std::uint8_t>(i);
      form.palette.push_back({static_cast<png_byte>(qRed(c)), static_cast<png_byte>(qGreen(c)),
                              static_cast<png_byte>(qBlue(c))});
    }
  }
  std::vector<std::uint8_t> values(picture.width);
  form.rows.reserve(picture.height);
  for (int y = 0; y < picture.height; ++y) {
    const std::uint8_t* src = picture.pixels.data() + static_cast<std::size_t>(y) * picture.width;
    for (int x = 0; x < picture.width; ++x) values[x] = lookup[src[x]];
    form.rows.push_back(packRow(values.data(), picture.width, form.bitDepth));
  }
  return form;
}

PngForm trueColourForm(const QImage& image) {
  PngForm form;
  const bool alpha = image.hasAlphaChannel();
  form.colourType = alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
  // RGBA8888 is not premultiplied: PNG stores straight alpha.
  form.samples = image.convertToFormat(alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
  return form;
}

PngForm smallestForm(const QImage& image) {
  if (!image.hasAlphaChannel())
    if (const auto exact = exactPalette(image)) return indexedForm(*exact);
  return trueColourForm(image);
}

void writeToDevice(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<QIODevice*>(png_get_io_ptr(png));
  if (out->write(reinterpret_cast<const char*>(data), static_cast<qint64>(length)) !=
      static_cast<qint64>(length))
    png_error(png, "write failed");
}

void flushDevice(png_structp) {}

// Only libpng calls between setjmp and the end: a longjmp out of an error must
// skip no C++ destructor, so everything it needs is made by the caller.
bool encode(const PngForm& form, int width, int height, const QImage& image, QIODevice& out,
            std::vector<png_bytep>& rowPointers) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &out, writeToDevice, flushDevice);
  png_set_compression_level(png, form.zlibLevel);
  // Few large IDAT chunks: libpng's 8 KB ones spend 12 bytes each on framing,
  // 0.15 % of a true-colour screenshot.
  png_set_compression_buffer_size(png, kIdatBytes);
  // libpng's own choice for filtered rows (Z_FILTERED) made screenshots 4-7 % larger.
  png_set_compression_strategy(png, Z_DEFAULT_STRATEGY);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, form.filters);
  png_set_IHDR(png, info, width, height, form.bitDepth, form.colourType, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
  if (!form.palette.empty())
    png_set_PLTE(png, info, const_cast<png_colorp>(form.palette.data()),
                 static_cast<int>(form.palette.size()));
  if (image.dotsPerMeterX() > 0 && image.dotsPerMeterY() > 0)
    png_set_pHYs(png, info, image.dotsPerMeterX(), image.dotsPerMeterY(), PNG_RESOLUTION_METER);
  png_set_rows(png, info, rowPointers.data());
  png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

ImageStatus writePng(const QImage& image, QIODevice& out) {
  if (image.isNull()) return ImageStatus::InvalidParameter;
  PngForm form = smallestForm(image);
  std::vector<png_bytep> rowPointers;
  rowPointers.reserve(image.height());
  for (auto& row : form.rows) rowPointers.push_back(row.data());
  if (!form.samples.isNull())
    for (int y = 0; y < form.samples.height(); ++y)
      rowPointers.push_back(const_cast<png_bytep>(form.samples.constScanLine(y)));
  return encode(form, image.width(), image.height(), image, out, rowPointers)
             ? ImageStatus::Ok
             : ImageStatus::GenericError;
}

}  // namespace platform
