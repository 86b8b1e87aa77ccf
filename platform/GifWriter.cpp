#include "platform/GifWriter.h"

#include <gif_lib.h>
#include <libimagequant.h>

#include <array>
#include <memory>

namespace platform {
namespace {

QImage opaqueRgb32(const QImage& image) {
  // Captures carry no alpha; a picture that does is taken by its colours alone.
  return image.convertToFormat(QImage::Format_RGB32);
}

// Small open-addressing table from colour to palette index (at most 256 colours).
class ColourTable {
 public:
  ColourTable() { slots_.fill(kEmpty); }
  // Index of `rgb`, added when new; -1 once a 257th colour appears.
  int indexOf(QRgb rgb, std::vector<QRgb>& palette) {
    std::uint32_t h = (rgb * 2654435761u) >> (32 - kBits);
    for (;;) {
      Slot& s = slots_[h];
      if (s.index < 0) {
        if (palette.size() == 256) return -1;
        s.rgb = rgb;
        s.index = static_cast<int>(palette.size());
        palette.push_back(0xff000000u | rgb);
        return s.index;
      }
      if (s.rgb == rgb) return s.index;
      h = (h + 1) & (kSize - 1);
    }
  }

 private:
  static constexpr int kBits = 10;
  static constexpr std::uint32_t kSize = 1u << kBits;
  struct Slot {
    QRgb rgb;
    int index;
  };
  static constexpr Slot kEmpty{0, -1};
  std::array<Slot, kSize> slots_;
};

IndexedPicture emptyOfSize(const QImage& image) {
  IndexedPicture p;
  p.width = image.width();
  p.height = image.height();
  p.pixels.resize(static_cast<size_t>(p.width) * p.height);
  return p;
}

struct LiqDeleter {
  void operator()(liq_attr* a) const { liq_attr_destroy(a); }
  void operator()(liq_image* i) const { liq_image_destroy(i); }
  void operator()(liq_result* r) const { liq_result_destroy(r); }
};

IndexedPicture quantiseImageQuant(const QImage& source, int speed, bool dither) {
  const QImage rgba = opaqueRgb32(source).convertToFormat(QImage::Format_RGBA8888);
  IndexedPicture out = emptyOfSize(rgba);
  std::unique_ptr<liq_attr, LiqDeleter> attr(liq_attr_create());
  if (!attr || liq_set_max_colors(attr.get(), 256) != LIQ_OK ||
      liq_set_speed(attr.get(), speed) != LIQ_OK)
    return {};
  // Rows of a 32-bit QImage are contiguous, as liq_image_create_rgba needs.
  std::unique_ptr<liq_image, LiqDeleter> img(
      liq_image_create_rgba(attr.get(), rgba.constBits(), rgba.width(), rgba.height(), 0));
  if (!img) return {};
  liq_result* raw = nullptr;
  if (liq_image_quantize(img.get(), attr.get(), &raw) != LIQ_OK || !raw) return {};
  std::unique_ptr<liq_result, LiqDeleter> result(raw);
  liq_set_dithering_level(result.get(), dither ? 1.0f : 0.0f);
  if (liq_write_remapped_image(result.get(), img.get(), out.pixels.data(), out.pixels.size()) !=
      LIQ_OK)
    return {};
  const liq_palette* pal = liq_get_palette(result.get());
  for (unsigned i = 0; i < pal->count; ++i)
    out.palette.push_back(qRgb(pal->entries[i].r, pal->entries[i].g, pal->entries[i].b));
  return out;
}

IndexedPicture quantiseGiflib(const QImage& source) {
  const QImage rgb = opaqueRgb32(source);
  IndexedPicture out = emptyOfSize(rgb);
  const size_t n = out.pixels.size();
  std::vector<GifByteType> r(n), g(n), b(n);
  for (int y = 0; y < rgb.height(); ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    const size_t row = static_cast<size_t>(y) * rgb.width();
    for (int x = 0; x < rgb.width(); ++x) {
      r[row + x] = qRed(line[x]);
      g[row + x] = qGreen(line[x]);
      b[row + x] = qBlue(line[x]);
    }
  }
  int mapSize = 256;
  std::array<GifColorType, 256> map{};
  if (GifQuantizeBuffer(rgb.width(), rgb.height(), &mapSize, r.data(), g.data(), b.data(),
                        out.pixels.data(), map.data()) != GIF_OK)
    return {};
  for (int i = 0; i < mapSize; ++i)
    out.palette.push_back(qRgb(map[i].Red, map[i].Green, map[i].Blue));
  return out;
}

struct Sink {
  QIODevice* device;
  bool failed = false;
};

int writeToSink(GifFileType* gif, const GifByteType* data, int length) {
  auto* sink = static_cast<Sink*>(gif->UserData);
  if (sink->failed) return 0;
  if (sink->device->write(reinterpret_cast<const char*>(data), length) != length) {
    sink->failed = true;
    return 0;
  }
  return length;
}

}  // namespace

std::optional<IndexedPicture> exactPalette(const QImage& image) {
  if (image.isNull()) return std::nullopt;
  const QImage rgb = opaqueRgb32(image);
  IndexedPicture out = emptyOfSize(rgb);
  ColourTable table;
  QRgb last = 0;
  int lastIndex = -1;
  for (int y = 0; y < rgb.height(); ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    std::uint8_t* dest = out.pixels.data() + static_cast<size_t>(y) * rgb.width();
    for (int x = 0; x < rgb.width(); ++x) {
      const QRgb c = line[x] & 0xffffffu;
      if (lastIndex < 0 || c != last) {  // screenshots are mostly runs of one colour
        lastIndex = table.indexOf(c, out.palette);
        if (lastIndex < 0) return std::nullopt;
        last = c;
      }
      dest[x] = static_cast<std::uint8_t>(lastIndex);
    }
  }
  return out;
}

IndexedPicture quantisePicture(const QImage& image, GifQuantiser quantiser) {
  if (image.isNull()) return {};
  if (quantiser == GifQuantiser::Auto) {
    if (auto exact = exactPalette(image)) return std::move(*exact);
    quantiser = kDefaultGifQuantiser;
  }
  switch (quantiser) {
    case GifQuantiser::ImageQuantSlow: return quantiseImageQuant(image, 4, false);
    case GifQuantiser::ImageQuantDithered: return quantiseImageQuant(image, 10, true);
    case GifQuantiser::Giflib: return quantiseGiflib(image);
    default: return quantiseImageQuant(image, 10, false);
  }
}

QImage indexedToIndexed8(const IndexedPicture& picture) {
  if (picture.width <= 0 || picture.height <= 0) return {};
  QImage img(picture.width, picture.height, QImage::Format_Indexed8);
  img.setColorTable(QList<QRgb>(picture.palette.begin(), picture.palette.end()));
  for (int y = 0; y < picture.height; ++y)
    std::copy_n(picture.pixels.data() + static_cast<size_t>(y) * picture.width, picture.width,
                img.scanLine(y));
  return img;
}

QImage indexedToImage(const IndexedPicture& picture) {
  return indexedToIndexed8(picture).convertToFormat(QImage::Format_RGB32);
}

bool encodeGif(const IndexedPicture& picture, QIODevice& out) {
  if (picture.width <= 0 || picture.height <= 0 || picture.width > 65535 ||
      picture.height > 65535 || picture.palette.empty() || picture.palette.size() > 256)
    return false;
  int bits = 1;  // a GIF table holds 2^bits entries, 2 at least
  while ((1u << bits) < picture.palette.size()) ++bits;

  ColorMapObject* map = GifMakeMapObject(1 << bits, nullptr);
  if (!map) return false;
  for (int i = 0; i < map->ColorCount; ++i) {
    const QRgb c = i < static_cast<int>(picture.palette.size()) ? picture.palette[i] : 0;
    map->Colors[i] =
        GifColorType{static_cast<GifByteType>(qRed(c)), static_cast<GifByteType>(qGreen(c)),
                     static_cast<GifByteType>(qBlue(c))};
  }

  Sink sink{&out};
  int error = 0;
  GifFileType* gif = EGifOpen(&sink, writeToSink, &error);
  if (!gif) {
    GifFreeMapObject(map);
    return false;
  }
  EGifSetGifVersion(gif, true);
  bool ok = EGifPutScreenDesc(gif, picture.width, picture.height, 8, 0, map) == GIF_OK &&
            EGifPutImageDesc(gif, 0, 0, picture.width, picture.height, false, nullptr) == GIF_OK;
  GifFreeMapObject(map);  // the screen descriptor keeps its own copy

  std::vector<GifPixelType> row(picture.width);  // giflib masks the line it is given
  for (int y = 0; ok && y < picture.height; ++y) {
    std::copy_n(picture.pixels.data() + static_cast<size_t>(y) * picture.width, picture.width,
                row.data());
    ok = EGifPutLine(gif, row.data(), picture.width) == GIF_OK;
  }
  // Closing writes the trailer; its write failure shows only in the sink.
  ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
  return ok && !sink.failed;
}

ImageStatus writeGif(const QImage& image, QIODevice& out, GifQuantiser quantiser) {
  if (image.isNull() || image.width() > 65535 || image.height() > 65535)
    return ImageStatus::InvalidParameter;
  const IndexedPicture indexed = quantisePicture(image, quantiser);
  if (indexed.width == 0) return ImageStatus::OutOfMemory;
  return encodeGif(indexed, out) ? ImageStatus::Ok : ImageStatus::GenericError;
}

}  // namespace platform
