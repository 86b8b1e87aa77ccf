#include "platform/ScreenGrab.h"

#include "platform/Log.h"
#include "platform/PictureMemory.h"

#include "platform/X11Display.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Xlib last: its macros clash with C++ and Qt headers.
#include <sys/ipc.h>
#include <sys/shm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

namespace platform {
namespace {

int maskShift(unsigned long mask) {
  int shift = 0;
  while (mask && !(mask & 1)) {
    mask >>= 1;
    ++shift;
  }
  return shift;
}

int maskWidth(unsigned long mask) {
  mask >>= maskShift(mask);
  int bits = 0;
  while (mask & 1) {
    mask >>= 1;
    ++bits;
  }
  return bits;
}

unsigned channel(unsigned long pixel, unsigned long mask) {
  const int bits = maskWidth(mask);
  if (bits == 0) return 0;
  const unsigned long value = (pixel & mask) >> maskShift(mask);
  return bits >= 8 ? unsigned(value >> (bits - 8)) : unsigned(value * 255 / ((1ul << bits) - 1));
}

// The server's 24-bit pixels with the unused byte made opaque.
void opaqueRow(const quint32* src, QRgb* dst, int n) {
  int x = 0;
#if defined(__SSE2__)
  const __m128i opaque = _mm_set1_epi32(int(0xff000000u));
  for (; x + 4 <= n; x += 4)
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + x),
                     _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src + x)), opaque));
#endif
  for (; x < n; ++x) dst[x] = 0xff000000u | src[x];
}

// Copies an XImage into `out` at `at`.
void copyXImage(XImage* xi, QImage& out, QPoint at) {
  const bool direct = xi->bits_per_pixel == 32 && xi->red_mask == 0xff0000 &&
                      xi->green_mask == 0xff00 && xi->blue_mask == 0xff &&
                      xi->byte_order == LSBFirst;
  uchar* const first = out.bits();  // one detach, not one a row
  const qsizetype stride = out.bytesPerLine();
  for (int y = 0; y < xi->height; ++y) {
    auto* dst = reinterpret_cast<QRgb*>(first + (at.y() + y) * stride) + at.x();
    if (direct) {
      opaqueRow(reinterpret_cast<const quint32*>(xi->data + size_t(y) * xi->bytes_per_line), dst, xi->width);
    } else {
      for (int x = 0; x < xi->width; ++x) {
        const unsigned long p = XGetPixel(xi, x, y);
        dst[x] = qRgb(int(channel(p, xi->red_mask)), int(channel(p, xi->green_mask)),
                      int(channel(p, xi->blue_mask)));
      }
    }
  }
}

bool grabGetImage(Display* dpy, const QRect& src, QImage& out, QPoint at) {
  X11ErrorTrap trap(dpy);
  XImage* xi = XGetImage(dpy, DefaultRootWindow(dpy), src.x(), src.y(), unsigned(src.width()),
                         unsigned(src.height()), AllPlanes, ZPixmap);
  if (!xi) return false;
  copyXImage(xi, out, at);
  XDestroyImage(xi);
  return true;
}

// One shared-memory segment kept between grabs: setting a segment up (and the
// first touch of its pages on both sides) costs more than the copy itself.
// The server forgets it when our connection closes; the memory goes when we
// detach, since it is marked for removal as soon as the server holds it.
class ShmSegment {
 public:
  ~ShmSegment() { unmap(); }

  // A segment of at least `bytes` attached to `dpy`; nullptr on failure.
  char* get(Display* dpy, size_t bytes) {
    if (dpy == dpy_ && bytes <= size_ && addr_) return addr_;
    drop();
    info_ = XShmSegmentInfo{};
    info_.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (info_.shmid < 0) return nullptr;
    void* mem = shmat(info_.shmid, nullptr, 0);
    if (mem == reinterpret_cast<void*>(-1)) {
      shmctl(info_.shmid, IPC_RMID, nullptr);
      return nullptr;
    }
    info_.shmaddr = static_cast<char*>(mem);
    info_.readOnly = False;
    X11ErrorTrap trap(dpy);
    // The attach fails on a server that cannot see our memory (remote display).
    const bool attached = XShmAttach(dpy, &info_) && !trap.failed();
    shmctl(info_.shmid, IPC_RMID, nullptr);
    if (!attached) {
      shmdt(mem);
      return nullptr;
    }
    addr_ = info_.shmaddr;
    size_ = bytes;
    dpy_ = dpy;
    return addr_;
  }

  XShmSegmentInfo* info() { return &info_; }

  // Forgets the segment, detaching it from the server first when it is still
  // the display we attached it to.
  void drop() {
    if (addr_ && dpy_ && dpy_ == x11Display()) {
      X11ErrorTrap trap(dpy_);
      XShmDetach(dpy_, &info_);
    }
    unmap();
  }

 private:
  void unmap() {
    if (addr_) shmdt(addr_);
    addr_ = nullptr;
    size_ = 0;
    dpy_ = nullptr;
  }

  Display* dpy_ = nullptr;
  XShmSegmentInfo info_{};
  char* addr_ = nullptr;
  size_t size_ = 0;
};

ShmSegment g_segment;

bool grabShmOnce(Display* dpy, const QRect& src, QImage& out, QPoint at) {
  const int screen = DefaultScreen(dpy);
  XImage* xi = XShmCreateImage(dpy, DefaultVisual(dpy, screen), unsigned(DefaultDepth(dpy, screen)),
                               ZPixmap, nullptr, g_segment.info(), unsigned(src.width()),
                               unsigned(src.height()));
  if (!xi) return false;
  bool ok = false;
  if (char* mem = g_segment.get(dpy, size_t(xi->bytes_per_line) * size_t(xi->height))) {
    xi->data = mem;
    xi->obdata = reinterpret_cast<char*>(g_segment.info());
    X11ErrorTrap trap(dpy);
    ok = XShmGetImage(dpy, DefaultRootWindow(dpy), xi, src.x(), src.y(), AllPlanes) && !trap.failed();
    if (ok) copyXImage(xi, out, at);
  }
  xi->data = nullptr;  // the segment stays ours; XDestroyImage must not free it
  XDestroyImage(xi);
  return ok;
}

bool grabShm(Display* dpy, const QRect& src, QImage& out, QPoint at) {
  if (!XShmQueryExtension(dpy)) return false;
  if (grabShmOnce(dpy, src, out, at)) return true;
  // A kept segment the server no longer knows (a new connection at the old
  // address): start afresh once.
  g_segment.drop();
  return grabShmOnce(dpy, src, out, at);
}

QImage grabThroughQt(const QRect& rect) {
  QImage out(rect.size(), QImage::Format_RGB32);
  out.fill(Qt::black);
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return out;
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return out;
  const QRect src = rect.intersected(screen->geometry());
  if (src.isEmpty()) return out;
  const QPixmap pix = screen->grabWindow(0, src.x(), src.y(), src.width(), src.height());
  QPainter painter(&out);
  painter.drawPixmap(src.topLeft() - rect.topLeft(), pix);
  return out;
}

}  // namespace

bool shmAvailable() {
  Display* dpy = x11Display();
  return dpy && XShmQueryExtension(dpy);
}

QImage grabScreen(const QRect& rect, GrabMethod method) {
  if (rect.isEmpty()) return QImage();
  Display* dpy = x11Display();
  if (!dpy) return grabThroughQt(rect);
  QImage out = newPicture(rect.size(), QImage::Format_RGB32);
  if (out.isNull()) {  // too big to hold
    qCInfo(lcCapture) << "no memory for a grab of" << rect.size();
    return out;
  }
  const QRect src = rect.intersected(rootRect());
  if (src != rect) out.fill(Qt::black);  // what the grab does not cover
  if (src.isEmpty()) return out;
  const QPoint at = src.topLeft() - rect.topLeft();
  bool done = false;
  if (method != GrabMethod::GetImage) done = grabShm(dpy, src, out, at);
  if (!done && method == GrabMethod::Shm) {
    qCInfo(lcCapture) << "shared-memory grab of" << src << "failed";
    return QImage();
  }
  if (!done && !grabGetImage(dpy, src, out, at)) out.fill(Qt::black);
  return out;
}

QImage grabWholeScreen(GrabMethod method) { return grabScreen(rootRect(), method); }

}  // namespace platform
