#include "platform/forms/GifView.h"

#include <QBuffer>
#include <QFile>
#include <QLabel>
#include <QMovie>

namespace vb {

namespace {
QLabel* label(QWidget* w) { return static_cast<QLabel*>(w); }
}  // namespace

GifView::GifView(Container& parent, const QString& name) : Control(parent, name, new QLabel, false) {
  auto* l = label(widget());
  l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  l->setAutoFillBackground(true);
  Move(0, 0, 4000, 3000);
}

GifView::~GifView() {
  if (auto* l = label(widget())) l->setMovie(nullptr);
}

void GifView::Navigate(const QString& path) {
  path_ = path;
  Refresh();
}

void GifView::Refresh() {
  QFile f(path_);
  bytes_ = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  show_();
}

void GifView::show_() {
  auto* l = label(widget());
  l->setMovie(nullptr);
  movie_.reset();
  still_ = QImage();
  l->clear();
  if (bytes_.isEmpty()) return;
  // The movie reads from its own copy of the bytes.
  auto* buffer = new QBuffer;
  buffer->setData(bytes_);
  buffer->open(QIODevice::ReadOnly);
  auto movie = std::make_unique<QMovie>(buffer);
  buffer->setParent(movie.get());
  if (movie->isValid() && movie->frameCount() != 1) {
    movie_ = std::move(movie);
    l->setMovie(movie_.get());
    movie_->start();
    return;
  }
  still_ = QImage::fromData(bytes_);
  if (!still_.isNull()) l->setPixmap(QPixmap::fromImage(still_));
}

int GifView::frameCount() const {
  if (movie_) return movie_->frameCount();
  return still_.isNull() ? 0 : 1;
}

QImage GifView::currentImage() const {
  if (movie_) return movie_->currentImage();
  return still_;
}

bool GifView::playing() const { return movie_ && movie_->state() == QMovie::Running; }

std::unique_ptr<ArrayElement> GifView::cloneForArray_(ArrayElement*) const {
  auto c = std::make_unique<GifView>(container_, Name());
  c->copyCommon(*this);
  c->path_ = path_;
  c->bytes_ = bytes_;
  c->show_();
  c->setVisible(false);
  return c;
}

}  // namespace vb
