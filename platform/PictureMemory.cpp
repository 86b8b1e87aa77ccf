#include "platform/PictureMemory.h"

#include <sys/mman.h>

#include <cstdint>
#include <mutex>
#include <vector>

namespace platform {
namespace {

constexpr std::size_t kHugePage = std::size_t(2) << 20;
// Smaller pictures come from the ordinary heap.
constexpr qsizetype kLeast = qsizetype(kHugePage);
// Blocks kept for the next pictures: the one shown, the one on its way and one
// held elsewhere (the clipboard, the overlay's frozen screen).
constexpr std::size_t kKept = 2;

struct Block {
  void* addr;
  std::size_t span;
};

std::mutex g_lock;
std::vector<Block> g_free;

void* mapHuge(std::size_t span) {
  // Aligned to a huge page, so the kernel can back it with them.
  void* raw = mmap(nullptr, span + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) return nullptr;
  const auto start = reinterpret_cast<std::uintptr_t>(raw);
  const std::uintptr_t aligned = (start + kHugePage - 1) & ~std::uintptr_t(kHugePage - 1);
  if (aligned > start) munmap(raw, aligned - start);
  const std::uintptr_t end = start + span + kHugePage;
  if (end > aligned + span) munmap(reinterpret_cast<void*>(aligned + span), end - aligned - span);
  void* addr = reinterpret_cast<void*>(aligned);
  madvise(addr, span, MADV_HUGEPAGE);
  return addr;
}

void release(void* info) {
  auto* block = static_cast<Block*>(info);
  {
    std::lock_guard<std::mutex> guard(g_lock);
    if (g_free.size() < kKept) {
      g_free.push_back(*block);
      delete block;
      return;
    }
  }
  munmap(block->addr, block->span);
  delete block;
}

Block* take(std::size_t span) {
  {
    std::lock_guard<std::mutex> guard(g_lock);
    for (auto it = g_free.begin(); it != g_free.end(); ++it)
      if (it->span == span) {
        auto* block = new Block(*it);
        g_free.erase(it);
        return block;
      }
    // A kept block of another size will not serve soon: its memory goes.
    if (g_free.size() >= kKept) {
      munmap(g_free.front().addr, g_free.front().span);
      g_free.erase(g_free.begin());
    }
  }
  void* addr = mapHuge(span);
  return addr ? new Block{addr, span} : nullptr;
}

}  // namespace

QImage newPicture(QSize size, QImage::Format format) {
  if (size.isEmpty() || format == QImage::Format_Invalid) return QImage(size, format);
  const int depth = QImage::toPixelFormat(format).bitsPerPixel();
  const qsizetype bytesPerLine = (qsizetype(size.width()) * depth + 31) / 32 * 4;
  const qsizetype bytes = bytesPerLine * size.height();
  // Colour tables and odd formats stay with Qt's own allocation.
  if (bytes < kLeast || depth < 8 || format == QImage::Format_Indexed8) return QImage(size, format);
  const std::size_t span = (std::size_t(bytes) + kHugePage - 1) & ~(kHugePage - 1);
  Block* block = take(span);
  if (!block) return QImage();
  return QImage(static_cast<uchar*>(block->addr), size.width(), size.height(), bytesPerLine, format, release,
                block);
}

}  // namespace platform
