#include "platform/forms/Controls.h"

#include "platform/forms/FormsInternal.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>
#include <QValidator>

#include <algorithm>
#include <cmath>

namespace vb {

using detail::PaintWidget;

// ---------------------------------------------------------------- Control

class Control::Filter : public QObject {
 public:
  Filter(Control* control, QObject* parent) : QObject(parent), control_(control) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    return control_->dispatchEvent_(watched, event);
  }

 private:
  Control* control_;
};

Control::Control(Container& container, const QString& name, QWidget* widget, bool windowless)
    : ArrayElement(name), container_(container), widget_(widget), windowless_(windowless),
      mouse_(std::make_unique<detail::MouseState>()) {
  widget->setParent(container.containerWidget());
  widget->setObjectName(name);  // what debugging and accessibility tools show
  widget->setMouseTracking(true);
  filter_ = new Filter(this, widget);
  widget->installEventFilter(filter_);
  if (auto* area = qobject_cast<QAbstractScrollArea*>(widget)) {
    area->viewport()->installEventFilter(filter_);
    area->viewport()->setMouseTracking(true);
  }
  // Shown with no size until it is placed: a widget's default 640 x 480 would
  // have its container repaint all that, for a control that takes a corner.
  widget->setGeometry(0, 0, 0, 0);
  widget->show();
  pixelGeom_ = widget->geometry();
  for (int i = 0; i < 4; ++i) geom_[i] = 0;
  container.addChild(this);
}

Control::~Control() {
  container_.removeChild(this);
  delete widget_.data();
}

bool Control::dispatchEvent_(QObject* watched, QEvent* e) {
  if (!widget_) return false;
  switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove: {
      auto* me = static_cast<QMouseEvent*>(e);
      QWidget* cw = coordWidget();
      QPointF pos = me->position();
      if (watched != cw) pos = cw->mapFromGlobal(static_cast<QWidget*>(watched)->mapToGlobal(pos));
      if (widget_->isEnabled())
        detail::dispatchMouse(*this, me, pos, cw->size(), eventScaleMode(), *mouse_, clickOnRelease());
      if (consumesMouse()) {
        e->accept();
        return true;
      }
      return false;
    }
    case QEvent::MouseButtonDblClick:
      if (consumesMouse()) {
        e->accept();
        return true;
      }
      return false;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      auto* ke = static_cast<QKeyEvent*>(e);
      if (detail::dispatchKey(form(), this, ke, e->type() == QEvent::KeyPress, acceptsEnter())) {
        e->accept();
        return true;
      }
      // The widget's own handling; the key never goes on to the containers
      // (each control takes its own keys, the form sees them only by KeyPreview).
      static_cast<QObject*>(watched)->event(e);
      e->accept();
      return true;
    }
    case QEvent::FocusIn:
      if (watched == focusTarget() && onGotFocus) onGotFocus();
      return false;
    case QEvent::FocusOut:
      if (watched == focusTarget() && onLostFocus) onLostFocus();
      return false;
    default: return false;
  }
}

void Control::widgetGeometryChanged_() { onGeometryChanged(); }

void Control::watch(QWidget* widget) { widget->installEventFilter(filter_); }

int Control::Left() const {
  return widget_->x() == pixelGeom_.x() ? int(std::lround(geom_[0])) : int(std::lround(container_.fromPixels(widget_->x())));
}
int Control::Top() const {
  return widget_->y() == pixelGeom_.y() ? int(std::lround(geom_[1])) : int(std::lround(container_.fromPixels(widget_->y())));
}
int Control::Width() const {
  return widget_->width() == pixelGeom_.width() ? int(std::lround(geom_[2]))
                                                : int(std::lround(container_.fromPixels(widget_->width())));
}
int Control::Height() const {
  return widget_->height() == pixelGeom_.height() ? int(std::lround(geom_[3]))
                                                  : int(std::lround(container_.fromPixels(widget_->height())));
}

void Control::setGeom(int which, double value) {
  double g[4] = {double(Left()), double(Top()), double(Width()), double(Height())};
  g[which] = value;
  if (g[2] < 0 || g[3] < 0) throw Error(vbErrInvalidProperty);
  std::copy(g, g + 4, geom_);
  applyGeometry();
}

void Control::applyGeometry() {
  const int x = int(std::nearbyint(container_.toPixels(geom_[0])));
  const int y = int(std::nearbyint(container_.toPixels(geom_[1])));
  const int w = int(std::nearbyint(container_.toPixels(geom_[2])));
  const int h = int(std::nearbyint(container_.toPixels(geom_[3])));
  syncing_ = true;
  widget_->setGeometry(x, y, std::max(0, w), std::max(0, h));
  syncing_ = false;
  pixelGeom_ = widget_->geometry();
  onGeometryChanged();
}

void Control::setLeft(int value) { setGeom(0, value); }
void Control::setTop(int value) { setGeom(1, value); }
void Control::setWidth(int value) { setGeom(2, value); }
void Control::setHeight(int value) { setGeom(3, value); }

void Control::Move(int left, std::optional<int> top, std::optional<int> width, std::optional<int> height) {
  const double g[4] = {double(left), double(top.value_or(Top())), double(width.value_or(Width())),
                       double(height.value_or(Height()))};
  if (g[2] < 0 || g[3] < 0) throw Error(vbErrInvalidProperty);
  std::copy(g, g + 4, geom_);
  applyGeometry();
}

void Control::setVisible(bool visible) {
  visible_ = visible;
  widget_->setVisible(visible);
}

bool Control::Enabled() const { return !widget_->testAttribute(Qt::WA_ForceDisabled); }
void Control::setEnabled(bool enabled) { widget_->setEnabled(enabled); }
QString Control::ToolTipText() const { return widget_->toolTip(); }
void Control::setToolTipText(const QString& text) { widget_->setToolTip(text); }

void Control::applyPalette() {
  QPalette pal = widget_->palette();
  const QColor back = toQColor(backColor_), fore = toQColor(foreColor_);
  for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button}) pal.setColor(role, back);
  for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) pal.setColor(role, fore);
  widget_->setPalette(pal);
  widget_->update();
}

void Control::setBackColor(Color color) {
  backColor_ = color;
  applyPalette();
}

void Control::setForeColor(Color color) {
  foreColor_ = color;
  applyPalette();
}

QFont Control::Font() const { return widget_->font(); }
void Control::setFont(const QFont& font) { widget_->setFont(font); }
QString Control::FontName() const { return Font().family(); }
double Control::FontSize() const { return Font().pointSizeF(); }
bool Control::FontBold() const { return Font().bold(); }
bool Control::FontItalic() const { return Font().italic(); }
bool Control::FontUnderline() const { return Font().underline(); }

void Control::setFontName(const QString& name) {
  QFont f = Font();
  f.setFamily(name);
  setFont(f);
}
void Control::setFontSize(double points) {
  QFont f = Font();
  if (points > 0) f.setPointSizeF(points);
  setFont(f);
}
void Control::setFontBold(bool on) {
  QFont f = Font();
  f.setBold(on);
  setFont(f);
}
void Control::setFontItalic(bool on) {
  QFont f = Font();
  f.setItalic(on);
  setFont(f);
}
void Control::setFontUnderline(bool on) {
  QFont f = Font();
  f.setUnderline(on);
  setFont(f);
}

void Control::syncCursor() {
  for (QWidget* w : {widget_.data(), coordWidget()}) {
    if (!w) continue;
    if (mousePointer_ == vbDefault) w->unsetCursor();
    else w->setCursor(mousePointer_ == vbCustom ? mouseIcon_ : cursorForPointer(mousePointer_));
  }
}

void Control::setMousePointer(int pointer) {
  mousePointer_ = pointer;
  syncCursor();
}

void Control::setMouseIcon(const QCursor& icon) {
  mouseIcon_ = icon;
  syncCursor();
}

void Control::setMouseIcon(const QImage& image, QPoint hotspot) {
  setMouseIcon(QCursor(QPixmap::fromImage(image), hotspot.x(), hotspot.y()));
}

void Control::setTabStop(bool on) {
  tabStop_ = on;
  QWidget* w = focusTarget();
  if (!on) w->setFocusPolicy(Qt::ClickFocus);
  else if (!windowless_) w->setFocusPolicy(Qt::StrongFocus);
}

void Control::ZOrder(int position) { container_.restack(this, position == 0); }

void Control::SetFocus() {
  if (!widget_->isVisible() || !widget_->isEnabled()) throw Error(5, "Invalid procedure call or argument");
  focusTarget()->setFocus(Qt::OtherFocusReason);
}

void Control::Refresh() { widget_->repaint(); }

void Control::copyCommon(const Control& o) {
  std::copy(o.geom_, o.geom_ + 4, geom_);
  geom_[0] = o.Left();
  geom_[1] = o.Top();
  geom_[2] = o.Width();
  geom_[3] = o.Height();
  widget_->setEnabled(o.Enabled());
  widget_->setToolTip(o.ToolTipText());
  tag_ = o.tag_;
  backColor_ = o.backColor_;
  foreColor_ = o.foreColor_;
  widget_->setFont(o.Font());
  mousePointer_ = o.mousePointer_;
  mouseIcon_ = o.mouseIcon_;
  tabStop_ = o.tabStop_;
  applyGeometry();
  syncCursor();
}

// ---------------------------------------------------------------- PictureBox

namespace {

// A premultiplied picture without a single see-through pixel (a box's own
// drawing handed to another box).
bool opaquePremultiplied(const QImage& img) {
  if (img.format() != QImage::Format_ARGB32_Premultiplied) return false;
  for (int y = 0; y < img.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    for (int x = 0; x < img.width(); ++x)
      if (qAlpha(line[x]) != 255) return false;
  }
  return true;
}

}  // namespace

PictureBox::PictureBox(Container& parent, const QString& name)
    : Control(parent, name, new QWidget, false) {
  auto* client = new PaintWidget(widget());
  client_ = client;
  client->setMouseTracking(true);
  client->setFocusPolicy(Qt::StrongFocus);
  watch(client);
  // The client paints every pixel it covers: nothing under it needs erasing.
  client->setAttribute(Qt::WA_OpaquePaintEvent);
  client->paint = [this](QPainter& p) {
    // An opaque drawing that covers the box hides the back colour (a whole
    // frozen screen is not filled first on every showing).
    const QRect r = client_->rect();
    if (canvas_.hasAlphaChannel() || canvas_.width() < r.width() || canvas_.height() < r.height())
      p.fillRect(r, toQColor(BackColor()));
    p.drawImage(0, 0, canvas_);
  };
  // The border is painted by the outer widget.
  auto* outer = widget();
  outer->setAttribute(Qt::WA_StyledBackground, false);
  client->show();
  backColor_ = Color(0x8000000F);
  Move(0, 0, 1215, 1215);
  // Paint the border through an event filter on the outer widget.
  struct BorderPainter : QObject {
    PictureBox* box;
    explicit BorderPainter(PictureBox* b, QObject* parent) : QObject(parent), box(b) {}
    bool eventFilter(QObject* w, QEvent* e) override {
      if (e->type() != QEvent::Paint || w != box->widget()) return false;
      const int b = box->border_();
      if (b == 0) return true;
      QPainter p(box->widget());
      const QRect r = box->widget()->rect();
      if (b == 1) {
        p.setPen(Qt::black);
        p.drawRect(r.adjusted(0, 0, -1, -1));
      } else {
        p.setPen(QColor(128, 128, 128));
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(QColor(255, 255, 255));
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
        p.setPen(QColor(64, 64, 64));
        p.drawLine(r.topLeft() + QPoint(1, 1), r.topRight() + QPoint(-1, 1));
        p.drawLine(r.topLeft() + QPoint(1, 1), r.bottomLeft() + QPoint(1, -1));
        p.setPen(QColor(212, 208, 200));
        p.drawLine(r.bottomLeft() + QPoint(1, -1), r.bottomRight() + QPoint(-1, -1));
        p.drawLine(r.topRight() + QPoint(-1, 1), r.bottomRight() + QPoint(-1, -1));
      }
      return true;
    }
  };
  outer->installEventFilter(new BorderPainter(this, outer));
  onGeometryChanged();
}

int PictureBox::border_() const {
  if (borderStyle_ == 0) return 0;
  return appearance_ == 0 ? 1 : 2;
}

void PictureBox::onGeometryChanged() {
  if (!client_) return;
  const int b = border_();
  client_->setGeometry(b, b, std::max(0, widget()->width() - 2 * b), std::max(0, widget()->height() - 2 * b));
  fitCanvas();
}

void PictureBox::fitCanvas() {
  const QSize size(std::max(1, client_->width()), std::max(1, client_->height()));
  if (canvas_.size() == size) return;
  QImage grown(size, QImage::Format_ARGB32_Premultiplied);
  grown.fill(toQColor(BackColor()));
  QPainter p(&grown);
  if (!canvas_.isNull()) p.drawImage(0, 0, canvas_);
  else if (!picture_.isNull()) p.drawImage(0, 0, picture_);
  p.end();
  canvas_ = grown;
  client_->update();
}

void PictureBox::recompose() {
  const QSize size(std::max(1, client_->width()), std::max(1, client_->height()));
  // An opaque picture that fills the box is the drawing as it stands: the two
  // share their pixels until something is drawn (a whole screen is not held
  // twice, nor copied).
  if (picture_.size() == size && (picture_.format() == QImage::Format_RGB32 || opaquePremultiplied(picture_))) {
    canvas_ = picture_;
    client_->update();
    return;
  }
  canvas_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
  canvas_.fill(toQColor(BackColor()));
  if (!picture_.isNull()) {
    QPainter p(&canvas_);
    p.drawImage(0, 0, picture_);
  }
  client_->update();
}

void PictureBox::setPicture(const QImage& picture) {
  picture_ = picture;
  if (autoSize_ && !picture_.isNull()) {
    const int b = border_();
    const double w = container_.fromPixels(picture_.width() + 2 * b);
    const double h = container_.fromPixels(picture_.height() + 2 * b);
    Move(Left(), Top(), int(std::lround(w)), int(std::lround(h)));
  }
  recompose();
}

void PictureBox::setAutoSize(bool on) {
  autoSize_ = on;
  if (on && !picture_.isNull()) setPicture(picture_);
}

void PictureBox::setBorderStyle(int style) {
  if (style < 0 || style > 1) throw Error(vbErrInvalidProperty);
  if (style == borderStyle_) return;
  // The outer size stays; the client area changes with the border.
  borderStyle_ = style;
  onGeometryChanged();
  widget()->update();
}

void PictureBox::setAppearance(int appearance) {
  appearance_ = appearance;
  onGeometryChanged();
  widget()->update();
}

void PictureBox::setScaleMode(int mode) { scaleMode_ = mode; }

double PictureBox::ScaleWidth() const { return detail::pixelsToUnits(client_->width(), scaleMode_); }
double PictureBox::ScaleHeight() const { return detail::pixelsToUnits(client_->height(), scaleMode_); }

void PictureBox::setBackColor(Color color) {
  backColor_ = color;
  recompose();  // as in the old runtime, a new BackColor clears the drawing
}

QPointF PictureBox::toPx(double x, double y) const {
  return {detail::unitsToPixels(x, scaleMode_), detail::unitsToPixels(y, scaleMode_)};
}

double PictureBox::toPxLen(double v) const { return detail::unitsToPixels(v, scaleMode_); }

void PictureBox::Cls() {
  recompose();
  currentX_ = currentY_ = 0;
}

void PictureBox::PSet(double x, double y, std::optional<Color> color) {
  const QPointF p = toPx(x, y);
  const QColor c = toQColor(color.value_or(ForeColor()));
  QPainter painter(&canvas_);
  if (drawWidth_ <= 1) painter.fillRect(QRect(int(std::floor(p.x())), int(std::floor(p.y())), 1, 1), c);
  else {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(c);
    painter.drawEllipse(p, drawWidth_ / 2.0, drawWidth_ / 2.0);
  }
  currentX_ = x;
  currentY_ = y;
  client_->update();
}

void PictureBox::Line(double x1, double y1, double x2, double y2, std::optional<Color> color, int box) {
  const QPointF a = toPx(x1, y1), b = toPx(x2, y2);
  const QPoint pa(int(std::floor(a.x())), int(std::floor(a.y())));
  const QPoint pb(int(std::floor(b.x())), int(std::floor(b.y())));
  const QColor c = toQColor(color.value_or(ForeColor()));
  QPainter p(&canvas_);
  const QRect r = QRect(pa, pb).normalized();
  if (box == 2) {
    p.fillRect(r, c);
  } else {
    QPen pen(c, std::max(1, drawWidth_));
    pen.setCapStyle(Qt::SquareCap);
    p.setPen(pen);
    if (box == 1) {
      if (fillStyle_ == 0) p.fillRect(r, toQColor(fillColor_));
      p.drawLine(r.topLeft(), r.topRight());
      p.drawLine(r.topRight(), r.bottomRight());
      p.drawLine(r.bottomRight(), r.bottomLeft());
      p.drawLine(r.bottomLeft(), r.topLeft());
    } else {
      p.drawLine(pa, pb);
    }
  }
  currentX_ = x2;
  currentY_ = y2;
  client_->update();
}

void PictureBox::Print(const QString& text) {
  QPainter p(&canvas_);
  p.setFont(Font());
  p.setPen(toQColor(ForeColor()));
  const QFontMetrics fm(Font());
  QString t = text;
  t.replace("\r\n", "\n");
  for (const QString& line : t.split('\n')) {
    const QPointF at = toPx(currentX_, currentY_);
    if (!fontTransparent_)
      p.fillRect(QRectF(at, QSizeF(fm.horizontalAdvance(line), fm.height())), toQColor(BackColor()));
    p.drawText(QPointF(at.x(), at.y() + fm.ascent()), line);
    currentX_ = 0;
    currentY_ += detail::pixelsToUnits(fm.height(), scaleMode_);
  }
  client_->update();
}

void PictureBox::PaintPicture(const QImage& picture, double x1, double y1, std::optional<double> width1,
                              std::optional<double> height1, std::optional<double> x2,
                              std::optional<double> y2, std::optional<double> width2,
                              std::optional<double> height2) {
  if (picture.isNull()) throw Error(vbErrInvalidPicture);
  auto px = [this](double v) { return detail::unitsToPixels(v, scaleMode_); };
  const QRectF src(x2 ? px(*x2) : 0, y2 ? px(*y2) : 0, width2 ? px(*width2) : picture.width(),
                   height2 ? px(*height2) : picture.height());
  const QRectF dst(px(x1), px(y1), width1 ? px(*width1) : src.width(), height1 ? px(*height1) : src.height());
  QImage part = picture.copy(src.normalized().toRect());
  if (src.width() < 0 || src.height() < 0) part = part.mirrored(src.width() < 0, src.height() < 0);
  if (dst.width() < 0 || dst.height() < 0) part = part.mirrored(dst.width() < 0, dst.height() < 0);
  QPainter p(&canvas_);
  p.setRenderHint(QPainter::SmoothPixmapTransform, true);
  p.drawImage(dst.normalized(), part);
  client_->update();
}

Color PictureBox::Point(double x, double y) const {
  const QPointF p = toPx(x, y);
  const QPoint at(int(std::floor(p.x())), int(std::floor(p.y())));
  if (!canvas_.rect().contains(at)) return -1;
  return fromQColor(canvas_.pixelColor(at));
}

double PictureBox::TextWidth(const QString& text) const {
  const QFontMetrics fm(Font());
  int widest = 0;
  for (const QString& line : QString(text).replace("\r\n", "\n").split('\n'))
    widest = std::max(widest, fm.horizontalAdvance(line));
  return detail::pixelsToUnits(widest, scaleMode_);
}

double PictureBox::TextHeight(const QString& text) const {
  const QFontMetrics fm(Font());
  const int lines = int(QString(text).replace("\r\n", "\n").count('\n')) + 1;
  return detail::pixelsToUnits(fm.height() * lines, scaleMode_);
}

void PictureBox::Refresh() {
  client_->repaint();
  widget()->repaint();
}

std::unique_ptr<ArrayElement> PictureBox::cloneForArray_(ArrayElement*) const {
  auto c = std::make_unique<PictureBox>(container_, Name());
  c->borderStyle_ = borderStyle_;
  c->appearance_ = appearance_;
  c->scaleMode_ = scaleMode_;
  c->autoRedraw_ = autoRedraw_;
  c->autoSize_ = autoSize_;
  c->drawWidth_ = drawWidth_;
  c->fillColor_ = fillColor_;
  c->fillStyle_ = fillStyle_;
  c->fontTransparent_ = fontTransparent_;
  c->copyCommon(*this);
  c->picture_ = picture_;
  c->recompose();
  c->setVisible(false);
  return c;
}

// ---------------------------------------------------------------- Image

Image::Image(Container& parent, const QString& name) : Control(parent, name, new PaintWidget, true) {
  auto* w = static_cast<PaintWidget*>(widget());
  w->paint = [this](QPainter& p) { paint_(p); };
  Move(0, 0, 975, 975);
}

void Image::paint_(QPainter& p) {
  const QRect r = widget()->rect();
  const int b = borderStyle_ ? 1 : 0;
  if (!picture_.isNull()) {
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    if (stretch_) p.drawImage(r.adjusted(b, b, -b, -b), picture_);
    else p.drawImage(b, b, picture_);
  }
  if (b) {
    p.setPen(Qt::black);
    p.drawRect(r.adjusted(0, 0, -1, -1));
  }
}

void Image::setPicture(const QImage& picture) {
  picture_ = picture;
  if (!stretch_ && !picture_.isNull()) {
    const int b = borderStyle_ ? 2 : 0;
    Move(Left(), Top(), int(std::lround(container_.fromPixels(picture_.width() + b))),
         int(std::lround(container_.fromPixels(picture_.height() + b))));
  }
  widget()->update();
}

void Image::setStretch(bool on) {
  stretch_ = on;
  if (!on) setPicture(picture_);
  widget()->update();
}

void Image::setBorderStyle(int style) {
  borderStyle_ = style;
  widget()->update();
}

std::unique_ptr<ArrayElement> Image::cloneForArray_(ArrayElement*) const {
  auto c = std::make_unique<Image>(container_, Name());
  c->stretch_ = stretch_;
  c->borderStyle_ = borderStyle_;
  c->picture_ = picture_;
  c->copyCommon(*this);
  c->setVisible(false);
  return c;
}

// ---------------------------------------------------------------- Label

Label::Label(Container& parent, const QString& name) : Control(parent, name, new QLabel, true) {
  auto* l = static_cast<QLabel*>(widget());
  l->setTextFormat(Qt::PlainText);
  l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  l->setAutoFillBackground(true);
  l->setMargin(0);
  l->setIndent(0);
  Move(0, 0, 1215, 255);
  update();
}

QString Label::displayText() const {
  if (!useMnemonic_) return caption_;
  QString out;
  out.reserve(caption_.size());
  for (qsizetype i = 0; i < caption_.size(); ++i) {
    if (caption_[i] == u'&' && i + 1 < caption_.size()) {
      out += caption_[++i];  // "&&" gives "&", "&x" gives x
    } else if (caption_[i] != u'&') {
      out += caption_[i];
    }
  }
  return out;
}

void Label::update() {
  auto* l = static_cast<QLabel*>(widget());
  l->setText(displayText());
  l->setWordWrap(wordWrap_);
  Qt::Alignment a = Qt::AlignTop;
  a |= alignment_ == 1 ? Qt::AlignRight : alignment_ == 2 ? Qt::AlignHCenter : Qt::AlignLeft;
  l->setAlignment(a);
  l->setAutoFillBackground(backStyle_ == 1);
  l->setFrameStyle(borderStyle_ ? (QFrame::Box | QFrame::Plain) : QFrame::NoFrame);
  if (autoSize_) {
    const QFontMetrics fm(l->font());
    const int frame = borderStyle_ ? 2 : 0;
    if (wordWrap_) {
      const QRect r = fm.boundingRect(QRect(0, 0, std::max(1, l->width() - frame), 100000),
                                      Qt::TextWordWrap, displayText());
      Move(Left(), Top(), Width(), int(std::lround(container_.fromPixels(r.height() + frame))));
    } else {
      const QRect r = fm.boundingRect(QRect(0, 0, 100000, 100000), 0, displayText());
      Move(Left(), Top(), int(std::lround(container_.fromPixels(r.width() + frame))),
           int(std::lround(container_.fromPixels(std::max(r.height(), fm.height()) + frame))));
    }
  }
}

void Label::setCaption(const QString& caption) {
  caption_ = caption;
  update();
}
void Label::setAutoSize(bool on) {
  autoSize_ = on;
  update();
}
void Label::setWordWrap(bool on) {
  wordWrap_ = on;
  update();
}
void Label::setAlignment(int alignment) {
  alignment_ = alignment;
  update();
}
void Label::setBackStyle(int style) {
  backStyle_ = style;
  update();
}
void Label::setBorderStyle(int style) {
  borderStyle_ = style;
  update();
}
void Label::setUseMnemonic(bool on) {
  useMnemonic_ = on;
  update();
}
void Label::setBackColor(Color color) {
  Control::setBackColor(color);
  update();
}
void Label::setForeColor(Color color) { Control::setForeColor(color); }
void Label::setFont(const QFont& font) {
  Control::setFont(font);
  update();
}

std::unique_ptr<ArrayElement> Label::cloneForArray_(ArrayElement*) const {
  auto c = std::make_unique<Label>(container_, Name());
  c->caption_ = caption_;
  c->autoSize_ = false;
  c->wordWrap_ = wordWrap_;
  c->alignment_ = alignment_;
  c->backStyle_ = backStyle_;
  c->borderStyle_ = borderStyle_;
  c->useMnemonic_ = useMnemonic_;
  c->copyCommon(*this);
  c->applyPalette();
  c->autoSize_ = autoSize_;
  c->update();
  c->setVisible(false);
  return c;
}

// ---------------------------------------------------------------- Shape

Shape::Shape(Container& parent, const QString& name) : Control(parent, name, new PaintWidget, true) {
  auto* w = static_cast<PaintWidget*>(widget());
  w->setAttribute(Qt::WA_TransparentForMouseEvents);
  w->paint = [this](QPainter& p) { paint_(p); };
  backColor_ = Color(0x80000005);
  Move(0, 0, 1215, 1215);
}

void Shape::paint_(QPainter& p) {
  QRectF r = widget()->rect();
  const bool square = kind_ == Square || kind_ == Circle || kind_ == RoundedSquare;
  if (square) {
    const double side = std::min(r.width(), r.height());
    r = QRectF(r.x() + (r.width() - side) / 2, r.y() + (r.height() - side) / 2, side, side);
  }
  const double half = borderStyle_ == 0 ? 0 : borderWidth_ / 2.0;
  const QRectF inner = r.adjusted(half, half, -half, -half);
  QPainterPath path;
  if (kind_ == Oval || kind_ == Circle) path.addEllipse(inner);
  else if (kind_ == RoundedRectangle || kind_ == RoundedSquare) {
    const double rad = std::min(inner.width(), inner.height()) / 6;
    path.addRoundedRect(inner, rad, rad);
  } else path.addRect(inner);
  p.setRenderHint(QPainter::Antialiasing, kind_ != Rectangle && kind_ != Square);
  if (backStyle_ == 1) p.fillPath(path, toQColor(BackColor()));
  if (fillStyle_ == 0) p.fillPath(path, toQColor(fillColor_));
  if (borderStyle_ != 0) {
    QPen pen(toQColor(borderColor_), borderWidth_);
    pen.setJoinStyle(Qt::MiterJoin);
    switch (borderStyle_) {
      case 2: pen.setStyle(Qt::DashLine); break;
      case 3: pen.setStyle(Qt::DotLine); break;
      case 4: pen.setStyle(Qt::DashDotLine); break;
      case 5: pen.setStyle(Qt::DashDotDotLine); break;
      default: break;
    }
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
  }
}

void Shape::setShape(int kind) {
  if (kind < 0 || kind > 5) throw Error(vbErrInvalidProperty);
  kind_ = kind;
  widget()->update();
}
void Shape::setBackStyle(int style) {
  backStyle_ = style;
  widget()->update();
}
void Shape::setBorderColor(Color color) {
  borderColor_ = color;
  widget()->update();
}
void Shape::setBorderStyle(int style) {
  if (style < 0 || style > 6) throw Error(vbErrInvalidProperty);
  borderStyle_ = style;
  widget()->update();
}
void Shape::setBorderWidth(int pixels) {
  if (pixels < 1) throw Error(vbErrInvalidProperty);
  borderWidth_ = pixels;
  widget()->update();
}
void Shape::setFillColor(Color color) {
  fillColor_ = color;
  widget()->update();
}
void Shape::setFillStyle(int style) {
  fillStyle_ = style;
  widget()->update();
}
void Shape::setWidth(int value) {
  if (value < 0) throw Error(vbErrInvalidProperty);
  Control::setWidth(value);
}
void Shape::setHeight(int value) {
  if (value < 0) throw Error(vbErrInvalidProperty);
  Control::setHeight(value);
}
void Shape::setBackColor(Color color) {
  backColor_ = color;
  widget()->update();
}

std::unique_ptr<ArrayElement> Shape::cloneForArray_(ArrayElement*) const {
  auto c = std::make_unique<Shape>(container_, Name());
  c->kind_ = kind_;
  c->backStyle_ = backStyle_;
  c->borderColor_ = borderColor_;
  c->borderStyle_ = borderStyle_;
  c->borderWidth_ = borderWidth_;
  c->fillColor_ = fillColor_;
  c->fillStyle_ = fillStyle_;
  c->copyCommon(*this);
  c->setVisible(false);
  return c;
}

// ---------------------------------------------------------------- Line

Line::Line(Container& parent, const QString& name) : Control(parent, name, new PaintWidget, true) {
  auto* w = static_cast<PaintWidget*>(widget());
  w->setAttribute(Qt::WA_TransparentForMouseEvents);
  w->paint = [this](QPainter& p) { paint_(p); };
  place();
}

void Line::place() {
  const double pad = borderWidth_;
  const double x0 = std::min(x1_, x2_), y0 = std::min(y1_, y2_);
  const double pw = container_.fromPixels(pad);
  geom_[0] = x0 - pw;
  geom_[1] = y0 - pw;
  geom_[2] = std::abs(x2_ - x1_) + 2 * pw;
  geom_[3] = std::abs(y2_ - y1_) + 2 * pw;
  applyGeometry();
  widget()->update();
}

void Line::paint_(QPainter& p) {
  if (borderStyle_ == 0) return;
  const QPointF origin = widget()->pos();
  auto at = [&](int x, int y) {
    return QPointF(std::floor(container_.toPixels(x)) - origin.x(), std::floor(container_.toPixels(y)) - origin.y());
  };
  QPen pen(toQColor(borderColor_), borderWidth_);
  if (borderStyle_ == 2) pen.setStyle(Qt::DashLine);
  else if (borderStyle_ == 3) pen.setStyle(Qt::DotLine);
  p.setPen(pen);
  p.drawLine(at(x1_, y1_), at(x2_, y2_));
}

void Line::setX1(int v) { x1_ = v; place(); }
void Line::setY1(int v) { y1_ = v; place(); }
void Line::setX2(int v) { x2_ = v; place(); }
void Line::setY2(int v) { y2_ = v; place(); }
void Line::setBorderColor(Color color) {
  borderColor_ = color;
  widget()->update();
}
void Line::setBorderWidth(int pixels) {
  if (pixels < 1) throw Error(vbErrInvalidProperty);
  borderWidth_ = pixels;
  place();
}
void Line::setBorderStyle(int style) {
  borderStyle_ = style;
  widget()->update();
}

std::unique_ptr<ArrayElement> Line::cloneForArray_(ArrayElement*) const {
  auto c = std::make_unique<Line>(container_, Name());
  c->x1_ = x1_;
  c->y1_ = y1_;
  c->x2_ = x2_;
  c->y2_ = y2_;
  c->borderColor_ = borderColor_;
  c->borderWidth_ = borderWidth_;
  c->borderStyle_ = borderStyle_;
  c->copyCommon(*this);
  c->place();
  c->setVisible(false);
  return c;
}

// ---------------------------------------------------------------- Frame

Frame::Frame(Container& parent, const QString& name) : Control(parent, name, new PaintWidget, false) {
  auto* w = static_cast<PaintWidget*>(widget());
  w->paint = [this](QPainter& p) {
    const QRect r = widget()->rect();
    p.fillRect(r, toQColor(BackColor()));
    if (borderStyle_ == 0) return;
    const QFontMetrics fm(Font());
    const int mid = fm.height() / 2;
    p.setPen(QColor(128, 128, 128));
    p.drawRect(r.adjusted(0, mid, -1, -1));
    if (!caption_.isEmpty()) {
      const QString text = QString(caption_).remove(QRegularExpression("&(?!&)"));
      const int tw = fm.horizontalAdvance(text);
      p.fillRect(QRect(6, 0, tw + 4, fm.height()), toQColor(BackColor()));
      p.setPen(toQColor(ForeColor()));
      p.drawText(QPoint(8, fm.ascent()), text);
    }
  };
  keepStillOnResize();
  Move(0, 0, 1815, 1215);
}

// Without a border the drawing is the same fill wherever it is, so a frame
// that grows (a list's frame grows a row at a time) repaints only what it gains.
void Frame::keepStillOnResize() { widget()->setAttribute(Qt::WA_StaticContents, borderStyle_ == 0); }

void Frame::setCaption(const QString& caption) {
  caption_ = caption;
  widget()->update();
}
void Frame::setBorderStyle(int style) {
  borderStyle_ = style;
  keepStillOnResize();
  widget()->update();
}
void Frame::setBackColor(Color color) {
  backColor_ = color;
  widget()->update();
}

std::unique_ptr<ArrayElement> Frame::cloneForArray_(ArrayElement*) const {
  auto c = std::make_unique<Frame>(container_, Name());
  c->caption_ = caption_;
  c->borderStyle_ = borderStyle_;
  c->keepStillOnResize();
  c->copyCommon(*this);
  c->setVisible(false);
  return c;
}

// ---------------------------------------------------------------- CommandButton

CommandButton::CommandButton(Container& parent, const QString& name)
    : Control(parent, name, new QPushButton, false) {
  auto* b = static_cast<QPushButton*>(widget());
  b->setAutoDefault(true);  // Enter on a focused button presses it
  QObject::connect(b, &QPushButton::clicked, b, [this] { click_(); });
  Move(0, 0, 1215, 375);
}

CommandButton::~CommandButton() {
  form().setDefaultButton_(this, false);
  form().setCancelButton_(this, false);
}

QString CommandButton::Caption() const { return static_cast<QPushButton*>(widget())->text(); }
void CommandButton::setCaption(const QString& caption) { static_cast<QPushButton*>(widget())->setText(caption); }

void CommandButton::setDefault(bool on) {
  default_ = on;
  static_cast<QPushButton*>(widget())->setDefault(on);
  form().setDefaultButton_(this, on);
}

void CommandButton::setCancel(bool on) {
  cancel_ = on;
  form().setCancelButton_(this, on);
}

void CommandButton::setPicture(const QImage& picture) {
  picture_ = picture;
  setStyle(style_);
}

void CommandButton::setStyle(int style) {
  style_ = style;
  auto* b = static_cast<QPushButton*>(widget());
  if (style_ == 1 && !picture_.isNull()) {
    b->setIcon(QIcon(QPixmap::fromImage(picture_)));
    b->setIconSize(picture_.size());
  } else {
    b->setIcon(QIcon());
  }
}

void CommandButton::setValue(bool pressed) {
  if (pressed) click_();
}

void CommandButton::setBackColor(Color color) { Control::setBackColor(color); }

void CommandButton::click_() {
  if (onClick) onClick();
}

std::unique_ptr<ArrayElement> CommandButton::cloneForArray_(ArrayElement*) const {
  auto c = std::make_unique<CommandButton>(container_, Name());
  c->setCaption(Caption());
  c->picture_ = picture_;
  c->setStyle(style_);
  c->copyCommon(*this);
  c->applyPalette();
  c->setVisible(false);
  return c;
}

// ---------------------------------------------------------------- CheckBox

namespace {
class VbCheck : public QCheckBox {
 public:
  std::function<void()> toggled;

 protected:
  void nextCheckState() override {
    if (toggled) toggled();
  }
};
class VbRadio : public QRadioButton {
 public:
  std::function<void()> selected;

 protected:
  void nextCheckState() override {
    if (selected) selected();
  }
};
}  // namespace

CheckBox::CheckBox(Container& parent, const QString& name) : Control(parent, name, new VbCheck, false) {
  auto* c = static_cast<VbCheck*>(widget());
  c->setTristate(true);
  c->toggled = [this] { userToggle_(); };
  Move(0, 0, 1215, 255);
  show();
}

QString CheckBox::Caption() const { return static_cast<QCheckBox*>(widget())->text(); }
void CheckBox::setCaption(const QString& caption) { static_cast<QCheckBox*>(widget())->setText(caption); }

void CheckBox::show() {
  static_cast<QCheckBox*>(widget())->setCheckState(value_ == 1   ? Qt::Checked
                                                   : value_ == 2 ? Qt::PartiallyChecked
                                                                 : Qt::Unchecked);
}

void CheckBox::setValue(int value) {
  if (value < 0 || value > 2) throw Error(vbErrInvalidProperty);
  if (value == value_) return;
  value_ = value;
  show();
  if (onClick) onClick();
}

void CheckBox::userToggle_() { setValue(value_ == 1 ? 0 : 1); }

void CheckBox::setBackColor(Color color) { Control::setBackColor(color); }
void CheckBox::setForeColor(Color color) { Control::setForeColor(color); }

std::unique_ptr<ArrayElement> CheckBox::cloneForArray_(ArrayElement*) const {
  auto c = std::make_unique<CheckBox>(container_, Name());
  c->setCaption(Caption());
  c->value_ = value_;
  c->show();
  c->copyCommon(*this);
  c->applyPalette();
  c->setVisible(false);
  return c;
}

// ---------------------------------------------------------------- OptionButton

OptionButton::OptionButton(Container& parent, const QString& name)
    : Control(parent, name, new VbRadio, false) {
  auto* r = static_cast<VbRadio*>(widget());
  r->setAutoExclusive(false);
  r->selected = [this] { userSelect_(); };
  Move(0, 0, 1215, 255);
}

QString OptionButton::Caption() const { return static_cast<QRadioButton*>(widget())->text(); }
void OptionButton::setCaption(const QString& caption) { static_cast<QRadioButton*>(widget())->setText(caption); }

void OptionButton::setValue(bool value) {
  if (value == value_) return;
  value_ = value;
  static_cast<QRadioButton*>(widget())->setChecked(value);
  if (!value) return;
  for (Control* c : container_.children())
    if (auto* other = dynamic_cast<OptionButton*>(c); other && other != this && other->value_) {
      other->value_ = false;
      static_cast<QRadioButton*>(other->widget())->setChecked(false);
    }
  if (onClick) onClick();
}

void OptionButton::userSelect_() { setValue(true); }
void OptionButton::setBackColor(Color color) { Control::setBackColor(color); }

std::unique_ptr<ArrayElement> OptionButton::cloneForArray_(ArrayElement*) const {
  auto c = std::make_unique<OptionButton>(container_, Name());
  c->setCaption(Caption());
  c->copyCommon(*this);
  c->applyPalette();
  c->setVisible(false);
  return c;
}

// ---------------------------------------------------------------- TextBox

namespace {
// A multi-line edit that refuses typed or pasted text beyond the room left.
class VbPlainText : public QPlainTextEdit {
 public:
  std::function<int()> room;

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    const QString t = e->text();
    const bool inserts = !t.isEmpty() && (t[0].isPrint() || t[0] == u'\r' || t[0] == u'\t');
    if (inserts && room && room() < 1) return;
    QPlainTextEdit::keyPressEvent(e);
  }
  void insertFromMimeData(const QMimeData* source) override {
    if (!room || !source->hasText()) return QPlainTextEdit::insertFromMimeData(source);
    insertPlainText(source->text().left(room()));
  }
};

class MaxLengthValidator : public QValidator {
 public:
  MaxLengthValidator(TextBox* box, QObject* parent) : QValidator(parent), box_(box) {}
  State validate(QString& input, int&) const override {
    return box_->userEditAllowed_(input) ? Acceptable : Invalid;
  }

 private:
  TextBox* box_;
};
}  // namespace

TextBox::TextBox(Container& parent, const QString& name, bool multiLine)
    : Control(parent, name, multiLine ? static_cast<QWidget*>(new VbPlainText) : new QLineEdit, false),
      multiLine_(multiLine) {
  if (multiLine_) {
    auto* e = static_cast<QPlainTextEdit*>(widget());
    static_cast<VbPlainText*>(e)->room = [this, e] {
      if (maxLength_ <= 0) return 1 << 30;
      const QTextCursor c = e->textCursor();
      const int len = int(e->toPlainText().size()) - (c.selectionEnd() - c.selectionStart());
      return std::max(0, maxLength_ - len);
    };
    QObject::connect(e, &QPlainTextEdit::textChanged, e, [this] { changed_(); });
  } else {
    auto* e = static_cast<QLineEdit*>(widget());
    e->setValidator(new MaxLengthValidator(this, e));
    e->setFrame(true);
    QObject::connect(e, &QLineEdit::textChanged, e, [this](const QString& text) {
      byCode_ = text;
      changed_();
    });
  }
  backColor_ = Color(0x80000005);
  foreColor_ = Color(0x80000008);
  Move(0, 0, 1215, 285);
}

QString TextBox::Text() const {
  if (multiLine_) return static_cast<QPlainTextEdit*>(widget())->toPlainText().replace('\n', "\r\n");
  return static_cast<QLineEdit*>(widget())->text();
}

void TextBox::setText(const QString& text) {
  // Change waits until the caret is in place, so its handler sees SelStart 0.
  settingText_ = true;
  changedWhileSetting_ = false;
  if (multiLine_) {
    auto* e = static_cast<QPlainTextEdit*>(widget());
    QString t = text;
    t.replace("\r\n", "\n");
    if (t != e->toPlainText()) e->setPlainText(t);  // by code: MaxLength does not apply
  } else {
    auto* e = static_cast<QLineEdit*>(widget());
    byCode_ = text;  // a text set by code is valid whatever MaxLength says
    e->setText(text);  // leaves the caret at the end
  }
  // The old box showed a text set by code from its start, caret at 0: Qt would
  // show the end, and a long padded path would look empty.
  setSelStart(0);
  settingText_ = false;
  if (changedWhileSetting_ && onChange) onChange();
}

void TextBox::changed_() {
  if (settingText_) changedWhileSetting_ = true;
  else if (onChange) onChange();
}

bool TextBox::userEditAllowed_(const QString& newText) const {
  if (maxLength_ <= 0 || newText.size() <= maxLength_) return true;
  // Longer than MaxLength: allowed only if it does not grow (a text set by code).
  return newText.size() <= byCode_.size();  // byCode_: the text before this edit
}

void TextBox::setMaxLength(int length) {
  if (length < 0) throw Error(vbErrInvalidProperty);
  maxLength_ = length;
}

int TextBox::SelStart() const {
  if (multiLine_) {
    const QTextCursor c = static_cast<QPlainTextEdit*>(widget())->textCursor();
    return c.selectionStart();
  }
  auto* e = static_cast<QLineEdit*>(widget());
  return e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
}

void TextBox::setSelStart(int start) {
  if (start < 0) throw Error(vbErrInvalidProperty);
  if (multiLine_) {
    auto* e = static_cast<QPlainTextEdit*>(widget());
    QTextCursor c = e->textCursor();
    c.setPosition(std::min<int>(start, e->toPlainText().size()));
    e->setTextCursor(c);
    return;
  }
  auto* e = static_cast<QLineEdit*>(widget());
  e->deselect();
  e->setCursorPosition(std::min<int>(start, e->text().size()));
}

int TextBox::SelLength() const {
  if (multiLine_) {
    const QTextCursor c = static_cast<QPlainTextEdit*>(widget())->textCursor();
    return c.selectionEnd() - c.selectionStart();
  }
  return int(static_cast<QLineEdit*>(widget())->selectedText().size());
}

void TextBox::setSelLength(int length) {
  if (length < 0) throw Error(vbErrInvalidProperty);
  const int start = SelStart();
  if (multiLine_) {
    auto* e = static_cast<QPlainTextEdit*>(widget());
    QTextCursor c = e->textCursor();
    c.setPosition(start);
    c.setPosition(std::min<int>(start + length, e->toPlainText().size()), QTextCursor::KeepAnchor);
    e->setTextCursor(c);
    return;
  }
  auto* e = static_cast<QLineEdit*>(widget());
  e->setSelection(start, std::min<int>(length, int(e->text().size()) - start));
}

QString TextBox::SelText() const {
  if (multiLine_) return static_cast<QPlainTextEdit*>(widget())->textCursor().selectedText();
  return static_cast<QLineEdit*>(widget())->selectedText();
}

void TextBox::setSelText(const QString& text) {
  const int start = SelStart(), len = SelLength();
  QString t = Text();
  t.replace(start, len, text);
  setText(t);
  setSelStart(start + int(text.size()));
}

void TextBox::setLocked(bool on) {
  locked_ = on;
  if (multiLine_) static_cast<QPlainTextEdit*>(widget())->setReadOnly(on);
  else static_cast<QLineEdit*>(widget())->setReadOnly(on);
}

void TextBox::setPasswordChar(const QString& c) {
  passwordChar_ = c.left(1);
  if (!multiLine_)
    static_cast<QLineEdit*>(widget())->setEchoMode(passwordChar_.isEmpty() ? QLineEdit::Normal : QLineEdit::Password);
}

void TextBox::setAlignment(int alignment) {
  alignment_ = alignment;
  const Qt::Alignment a = alignment == 1 ? Qt::AlignRight : alignment == 2 ? Qt::AlignHCenter : Qt::AlignLeft;
  if (!multiLine_) static_cast<QLineEdit*>(widget())->setAlignment(a | Qt::AlignVCenter);
}

void TextBox::setBorderStyle(int style) {
  borderStyle_ = style;
  if (multiLine_) static_cast<QPlainTextEdit*>(widget())->setFrameStyle(style ? QFrame::StyledPanel : QFrame::NoFrame);
  else static_cast<QLineEdit*>(widget())->setFrame(style != 0);
}

void TextBox::setBackColor(Color color) { Control::setBackColor(color); }
void TextBox::setForeColor(Color color) { Control::setForeColor(color); }

std::unique_ptr<ArrayElement> TextBox::cloneForArray_(ArrayElement*) const {
  auto c = std::make_unique<TextBox>(container_, Name(), multiLine_);
  c->maxLength_ = maxLength_;
  c->setText(Text());
  c->setLocked(locked_);
  c->setPasswordChar(passwordChar_);
  c->setAlignment(alignment_);
  c->setBorderStyle(borderStyle_);
  c->copyCommon(*this);
  c->applyPalette();
  c->setVisible(false);
  return c;
}

// ---------------------------------------------------------------- ListBox

ListBox::ListBox(Container& parent, const QString& name) : Control(parent, name, new QListWidget, false) {
  auto* l = list();
  l->setSelectionMode(QAbstractItemView::SingleSelection);
  QObject::connect(l, &QListWidget::currentRowChanged, l, [this](int row) {
    if (row == lastIndex_) return;
    lastIndex_ = row;
    if (!quiet_ && onClick) onClick();
  });
  QObject::connect(l, &QListWidget::itemClicked, l, [this](QListWidgetItem*) {
    // In multi-select lists every click is a Click, even on the current row.
    if (multiSelect_ != 0 && !quiet_ && onClick && list()->currentRow() == lastIndex_) onClick();
  });
  backColor_ = Color(0x80000005);
  Move(0, 0, 1215, 1035);
}

QListWidget* ListBox::list() const { return static_cast<QListWidget*>(widget()); }

void ListBox::AddItem(const QString& item, int index) {
  if (index < -1 || index > ListCount()) throw Error(vbErrInvalidCall);
  auto* l = list();
  quiet_ = true;
  if (sorted_ && index < 0) {
    int at = 0;
    while (at < l->count() && QString::compare(l->item(at)->text(), item, Qt::CaseInsensitive) <= 0) ++at;
    l->insertItem(at, item);
  } else {
    l->insertItem(index < 0 ? l->count() : index, item);
  }
  lastIndex_ = l->currentRow();
  quiet_ = false;
}

void ListBox::RemoveItem(int index) {
  if (index < 0 || index >= ListCount()) throw Error(vbErrInvalidCall);
  quiet_ = true;
  delete list()->takeItem(index);
  lastIndex_ = list()->currentRow();
  quiet_ = false;
}

void ListBox::Clear() {
  quiet_ = true;
  list()->clear();
  lastIndex_ = -1;
  quiet_ = false;
}

int ListBox::ListCount() const { return list()->count(); }

QString ListBox::List(int index) const {
  if (index < 0 || index >= ListCount()) return QString();
  return list()->item(index)->text();
}

void ListBox::setList(int index, const QString& item) {
  if (index < 0 || index >= ListCount()) throw Error(vbErrInvalidCall);
  list()->item(index)->setText(item);
}

int ListBox::ListIndex() const { return list()->currentRow(); }

void ListBox::setListIndex(int index) {
  if (index < -1 || index >= ListCount()) throw Error(vbErrInvalidProperty);
  auto* l = list();
  if (index == -1) {
    l->setCurrentRow(-1);
    l->clearSelection();
  } else {
    l->setCurrentRow(index, multiSelect_ == 0 ? QItemSelectionModel::ClearAndSelect
                                              : QItemSelectionModel::Current);
  }
}

QString ListBox::Text() const { return List(ListIndex()); }

bool ListBox::Selected(int index) const {
  if (index < 0 || index >= ListCount()) throw Error(vbErrInvalidCall);
  return list()->item(index)->isSelected();
}

void ListBox::setSelected(int index, bool on) {
  if (index < 0 || index >= ListCount()) throw Error(vbErrInvalidCall);
  if (multiSelect_ == 0) {
    if (on) setListIndex(index);
    else list()->item(index)->setSelected(false);
    return;
  }
  list()->item(index)->setSelected(on);
}

int ListBox::SelCount() const { return int(list()->selectedItems().size()); }

void ListBox::setMultiSelect(int mode) {
  if (mode < 0 || mode > 2) throw Error(vbErrInvalidProperty);
  multiSelect_ = mode;
  list()->setSelectionMode(mode == 0   ? QAbstractItemView::SingleSelection
                           : mode == 1 ? QAbstractItemView::MultiSelection
                                       : QAbstractItemView::ExtendedSelection);
}

int ListBox::ItemData(int index) const {
  if (index < 0 || index >= ListCount()) throw Error(vbErrInvalidCall);
  return list()->item(index)->data(Qt::UserRole).toInt();
}

void ListBox::setItemData(int index, int value) {
  if (index < 0 || index >= ListCount()) throw Error(vbErrInvalidCall);
  list()->item(index)->setData(Qt::UserRole, value);
}

int ListBox::TopIndex() const {
  const QModelIndex i = list()->indexAt(QPoint(1, 1));
  return i.isValid() ? i.row() : 0;
}

void ListBox::setTopIndex(int index) {
  if (index < 0 || index >= ListCount()) return;
  list()->scrollToItem(list()->item(index), QAbstractItemView::PositionAtTop);
}

void ListBox::setSorted(bool on) { sorted_ = on; }
void ListBox::setBackColor(Color color) { Control::setBackColor(color); }

std::unique_ptr<ArrayElement> ListBox::cloneForArray_(ArrayElement*) const {
  auto c = std::make_unique<ListBox>(container_, Name());
  c->setMultiSelect(multiSelect_);
  c->sorted_ = sorted_;
  c->copyCommon(*this);
  c->applyPalette();
  c->setVisible(false);
  return c;
}

// ---------------------------------------------------------------- FileListBox

FileListBox::FileListBox(Container& parent, const QString& name) : ListBox(parent, name) {
  path_ = QDir::currentPath();
  Refresh();
}

void FileListBox::setPath(const QString& path) {
  QString p = path;
  while (p.size() > 1 && p.endsWith('/')) p.chop(1);
  if (!QDir(p).exists()) throw Error(vbErrPathNotFound);
  const bool changed = p != path_;
  path_ = p;
  Refresh();
  if (changed && onPathChange) onPathChange();
}

void FileListBox::setPattern(const QString& pattern) {
  const bool changed = pattern != pattern_;
  pattern_ = pattern.isEmpty() ? QString("*.*") : pattern;
  Refresh();
  if (changed && onPatternChange) onPatternChange();
}

void FileListBox::Refresh() {
  QStringList filters;
  for (const QString& part : pattern_.split(';', Qt::SkipEmptyParts)) {
    const QString f = part.trimmed();
    filters << (f == "*.*" ? QString("*") : f);
  }
  QDir dir(path_);
  const QStringList names = dir.entryList(filters, QDir::Files | QDir::Hidden | QDir::System,
                                          QDir::Name | QDir::IgnoreCase);
  const QString selected = FileName();
  Clear();
  quiet_ = true;
  list()->addItems(names);
  quiet_ = false;
  if (!selected.isEmpty()) {
    const int at = int(names.indexOf(selected));
    if (at >= 0) {
      quiet_ = true;
      setListIndex(at);
      quiet_ = false;
    }
  }
  widget()->update();
}

QString FileListBox::FileName() const { return ListIndex() >= 0 ? List(ListIndex()) : QString(); }

void FileListBox::setFileName(const QString& name) {
  for (int i = 0; i < ListCount(); ++i)
    if (List(i) == name) {
      setListIndex(i);
      return;
    }
}

std::unique_ptr<ArrayElement> FileListBox::cloneForArray_(ArrayElement*) const {
  auto c = std::make_unique<FileListBox>(container_, Name());
  c->pattern_ = pattern_;
  c->path_ = path_;
  c->Refresh();
  c->copyCommon(*this);
  c->setVisible(false);
  return c;
}

// ---------------------------------------------------------------- Slider

Slider::Slider(Container& parent, const QString& name) : Control(parent, name, new QSlider(Qt::Horizontal), false) {
  auto* s = static_cast<QSlider*>(widget());
  s->setRange(0, 10);
  s->setTickPosition(QSlider::TicksBelow);
  QObject::connect(s, &QSlider::valueChanged, s, [this, s] {
    if (s->isSliderDown()) {
      if (onScroll) onScroll();
    } else if (onChange) {
      onChange();
    }
  });
  QObject::connect(s, &QSlider::sliderReleased, s, [this] {
    if (onChange) onChange();
  });
  Move(0, 0, 2400, 630);
}

int Slider::Min() const { return static_cast<QSlider*>(widget())->minimum(); }
int Slider::Max() const { return static_cast<QSlider*>(widget())->maximum(); }
int Slider::Value() const { return static_cast<QSlider*>(widget())->value(); }
void Slider::setMin(int value) { static_cast<QSlider*>(widget())->setMinimum(value); }
void Slider::setMax(int value) { static_cast<QSlider*>(widget())->setMaximum(value); }

void Slider::setValue(int value) {
  if (value < Min() || value > Max()) throw Error(vbErrInvalidProperty);
  static_cast<QSlider*>(widget())->setValue(value);
}

int Slider::SmallChange() const { return static_cast<QSlider*>(widget())->singleStep(); }
int Slider::LargeChange() const { return static_cast<QSlider*>(widget())->pageStep(); }
void Slider::setSmallChange(int value) { static_cast<QSlider*>(widget())->setSingleStep(value); }
void Slider::setLargeChange(int value) { static_cast<QSlider*>(widget())->setPageStep(value); }

void Slider::setTickFrequency(int value) {
  tickFrequency_ = value;
  static_cast<QSlider*>(widget())->setTickInterval(value);
}

void Slider::setOrientation(int orientation) {
  orientation_ = orientation;
  static_cast<QSlider*>(widget())->setOrientation(orientation == 1 ? Qt::Vertical : Qt::Horizontal);
}

std::unique_ptr<ArrayElement> Slider::cloneForArray_(ArrayElement*) const {
  auto c = std::make_unique<Slider>(container_, Name());
  c->setMin(Min());
  c->setMax(Max());
  c->setSmallChange(SmallChange());
  c->setLargeChange(LargeChange());
  c->setTickFrequency(tickFrequency_);
  c->setOrientation(orientation_);
  c->copyCommon(*this);
  c->setVisible(false);
  return c;
}

// ---------------------------------------------------------------- StatusBar

namespace {
class PanelWidget : public QLabel {
 public:
  std::function<void(bool)> clicked;
  vb::Panel* panel = nullptr;

 protected:
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (rect().contains(e->position().toPoint()) && clicked) clicked(false);
  }
  void mouseDoubleClickEvent(QMouseEvent*) override {
    if (clicked) clicked(true);
  }
};
}  // namespace

QWidget* Panel::widget() const { return label_; }

void Panel::update() {
  if (!label_) return;
  auto* l = static_cast<PanelWidget*>(label_);
  l->setTextFormat(Qt::PlainText);
  l->setText(picture_.isNull() ? text_ : "    " + text_);
  l->setToolTip(toolTip_);
  l->setEnabled(enabled_);
  l->setVisible(visible_);
  l->setAlignment(Qt::AlignVCenter | (alignment_ == 1 ? Qt::AlignHCenter : alignment_ == 2 ? Qt::AlignRight : Qt::AlignLeft));
  // A panel not sized by its text wraps what its width cannot hold; the bar
  // grows to show every line.
  l->setWordWrap(autoSize_ != 2);
  l->setMinimumWidth(twipsToPixels(minWidth_));
  if (autoSize_ == 0) l->setFixedWidth(twipsToPixels(width_));
  else {
    l->setMinimumWidth(twipsToPixels(minWidth_));
    l->setMaximumWidth(QWIDGETSIZE_MAX);
  }
  if (!picture_.isNull()) {
    // The picture sits at the left, the text after it.
    l->setPixmap(QPixmap());
    l->setText(text_);
    l->setIndent(picture_.width() + 4);
    l->setStyleSheet(QString());
  } else {
    l->setIndent(2);
  }
  l->update();
}

void Panel::setText(const QString& text) { text_ = text; update(); }
void Panel::setToolTipText(const QString& text) { toolTip_ = text; update(); }
void Panel::setPicture(const QImage& picture) { picture_ = picture; update(); }
void Panel::setWidth(int twips) { width_ = twips; update(); }
void Panel::setMinWidth(int twips) { minWidth_ = twips; update(); }
void Panel::setAutoSize(int mode) { autoSize_ = mode; update(); }
void Panel::setAlignment(int alignment) { alignment_ = alignment; update(); }
void Panel::setVisible(bool on) { visible_ = on; update(); }
void Panel::setEnabled(bool on) { enabled_ = on; update(); }

StatusBar::StatusBar(Container& parent, const QString& name) : Control(parent, name, new QWidget, false) {
  auto* w = widget();
  auto* layout = new QHBoxLayout(w);
  layout->setContentsMargins(1, 1, 1, 1);
  layout->setSpacing(2);
  simpleLabel_ = new QLabel(w);
  simpleLabel_->setTextFormat(Qt::PlainText);
  simpleLabel_->hide();
  layout->addWidget(simpleLabel_, 1);
  w->setAutoFillBackground(true);
  // Docked at the bottom of its container, across its width (the container
  // resized), and as tall as its panels need (a panel's new text).
  struct Relayout : QObject {
    StatusBar* bar;
    QEvent::Type on;
    Relayout(StatusBar* b, QEvent::Type type, QObject* parent) : QObject(parent), bar(b), on(type) {}
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == on) bar->relayout();
      return false;
    }
  };
  parent.containerWidget()->installEventFilter(new Relayout(this, QEvent::Resize, w));
  w->installEventFilter(new Relayout(this, QEvent::LayoutRequest, w));
  relayout();
  AddPanel();
}

StatusBar::~StatusBar() = default;

void StatusBar::relayout() {
  QWidget* parent = container_.containerWidget();
  QLayout* panels = widget()->layout();
  const int need = panels->hasHeightForWidth() ? panels->heightForWidth(parent->width()) : widget()->sizeHint().height();
  const int h = std::max(22, need);
  Move(0, int(std::lround(container_.fromPixels(parent->height() - h))),
       int(std::lround(container_.fromPixels(parent->width()))), int(std::lround(container_.fromPixels(h))));
}

Panel& StatusBar::Panels(int index) {
  if (index < 1 || index > PanelCount()) throw Error(35600);
  return *panels_[index - 1];
}

Panel& StatusBar::Panels(const QString& key) {
  for (auto& p : panels_)
    if (!key.isEmpty() && p->key_ == key) return *p;
  throw Error(35601);
}

Panel& StatusBar::AddPanel(const QString& key, const QString& text, int index) {
  if (index == -1) index = PanelCount() + 1;
  if (index < 1 || index > PanelCount() + 1) throw Error(35600);
  for (auto& p : panels_)
    if (!key.isEmpty() && p->key_ == key) throw Error(35602);
  auto panel = std::make_unique<Panel>();
  panel->key_ = key;
  panel->text_ = text;
  auto* label = new PanelWidget;
  label->setParent(widget());
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->panel = panel.get();
  label->clicked = [this, label](bool dbl) { panelMouse_(label, dbl); };
  panel->label_ = label;
  Panel* raw = panel.get();
  panels_.insert(panels_.begin() + (index - 1), std::move(panel));
  auto* layout = static_cast<QHBoxLayout*>(widget()->layout());
  layout->insertWidget(index - 1, label, raw->autoSize_ == 1 ? 1 : 0);
  for (size_t i = 0; i < panels_.size(); ++i) panels_[i]->index_ = int(i) + 1;
  raw->update();
  // The picture is painted over the panel's indent.
  struct PicturePainter : QObject {
    Panel* p;
    PicturePainter(Panel* panel, QObject* parent) : QObject(parent), p(panel) {}
    bool eventFilter(QObject* w, QEvent* e) override {
      if (e->type() == QEvent::Paint && !p->Picture().isNull()) {
        auto* label = static_cast<QLabel*>(w);
        static_cast<QObject*>(label)->event(e);  // the text first
        QPainter painter(label);
        painter.drawImage(2, (label->height() - p->Picture().height()) / 2, p->Picture());
        return true;
      }
      return false;
    }
  };
  label->installEventFilter(new PicturePainter(raw, label));
  setStyle(style_);
  return *raw;
}

void StatusBar::RemovePanel(int index) {
  if (index < 1 || index > PanelCount()) throw Error(35600);
  delete panels_[index - 1]->label_;
  panels_.erase(panels_.begin() + (index - 1));
  for (size_t i = 0; i < panels_.size(); ++i) panels_[i]->index_ = int(i) + 1;
}

void StatusBar::setStyle(int style) {
  style_ = style;
  simpleLabel_->setVisible(style == 1);
  for (auto& p : panels_) p->label_->setVisible(style == 0 && p->visible_);
}

void StatusBar::setSimpleText(const QString& text) {
  simpleText_ = text;
  simpleLabel_->setText(text);
}

void StatusBar::panelMouse_(QWidget* label, bool dbl) {
  for (auto& p : panels_)
    if (p->label_ == label && p->enabled_) {
      if (dbl) {
        if (onPanelDblClick) onPanelDblClick(*p);
      } else if (onPanelClick) {
        onPanelClick(*p);
      }
      return;
    }
}

std::unique_ptr<ArrayElement> StatusBar::cloneForArray_(ArrayElement*) const {
  auto c = std::make_unique<StatusBar>(container_, Name());
  c->setVisible(false);
  return c;
}

// ---------------------------------------------------------------- ImageList

ImageList::ImageList(Container&, const QString& name) : name_(name) {}

ImageList::ListImage& ImageList::ListImages(int index) {
  if (index < 1 || index > Count()) throw Error(35600);
  return *images_[index - 1];
}

ImageList::ListImage& ImageList::ListImages(const QString& key) {
  for (auto& i : images_)
    if (!key.isEmpty() && i->Key == key) return *i;
  throw Error(35601);
}

ImageList::ListImage& ImageList::Add(const QImage& picture, const QString& key, int index) {
  if (index == -1) index = Count() + 1;
  if (index < 1 || index > Count() + 1) throw Error(35600);
  if (picture.isNull()) throw Error(vbErrInvalidPicture);
  for (auto& i : images_)
    if (!key.isEmpty() && i->Key == key) throw Error(35602);
  auto item = std::make_unique<ListImage>();
  item->Key = key;
  item->Picture = picture;
  ListImage* raw = item.get();
  images_.insert(images_.begin() + (index - 1), std::move(item));
  renumber();
  return *raw;
}

void ImageList::Remove(int index) {
  if (index < 1 || index > Count()) throw Error(35600);
  images_.erase(images_.begin() + (index - 1));
  renumber();
}

void ImageList::Remove(const QString& key) { Remove(ListImages(key).Index); }

void ImageList::Clear() { images_.clear(); }

void ImageList::renumber() {
  for (size_t i = 0; i < images_.size(); ++i) images_[i]->Index = int(i) + 1;
}

// ---------------------------------------------------------------- Timer

Timer::Timer(Container& parent, const QString& name, int interval, bool enabled)
    : ArrayElement(name), container_(parent), form_(&parent.parentForm()), timer_(std::make_unique<QTimer>()),
      enabled_(enabled) {
  if (interval < 0 || interval > 65535) throw Error(vbErrInvalidProperty);
  interval_ = interval;
  timer_->setTimerType(Qt::PreciseTimer);
  QObject::connect(timer_.get(), &QTimer::timeout, timer_.get(), [this] { tick(); });
  form_->registerTimer_(this);
  detail::timerCreated(this);
  update();
}

Timer::~Timer() {
  detail::timerDestroyed(this);
  form_->unregisterTimer_(this);
  timer_->stop();
}

void Timer::update() {
  const bool run = enabled_ && interval_ > 0 && !stopped_;
  if (steppedClock()) {
    if (!run) due_ = -1;
    else if (due_ < 0) due_ = detail::steppedMs() + interval_;
    return;
  }
  if (!run) timer_->stop();
  else if (!timer_->isActive()) timer_->start(interval_);
}

void Timer::setInterval(int milliseconds) {
  if (milliseconds < 0 || milliseconds > 65535) throw Error(vbErrInvalidProperty);
  if (milliseconds == interval_) return;
  interval_ = milliseconds;
  timer_->stop();  // a new interval counts from now
  due_ = -1;
  update();
}

void Timer::setEnabled(bool on) {
  enabled_ = on;
  update();  // a running timer keeps its count
}

int Timer::remainingMs() const {
  if (steppedClock()) return due_ < 0 ? -1 : int(due_ - detail::steppedMs());
  return timer_->isActive() ? timer_->remainingTime() : -1;
}

bool Timer::running() const { return steppedClock() ? due_ >= 0 : timer_->isActive(); }

void Timer::tick() {
  if (stopped_ || !onTimer) return;
  if (inHandler_) return;
  inHandler_ = true;
  // Cleared however the handler ends: one that throws must not stop the timer for good.
  struct Done {
    Timer* timer;
    QPointer<QTimer> alive;
    ~Done() {
      if (alive) timer->inHandler_ = false;
    }
  } done{this, QPointer<QTimer>(timer_.get())};
  onTimer();
}

void Timer::steppedTick_() {
  due_ += interval_;
  tick();
}

void Timer::clockChanged_() {
  timer_->stop();
  due_ = -1;
  update();
}

void Timer::stop_() {
  stopped_ = true;
  timer_->stop();
  due_ = -1;
}

std::unique_ptr<ArrayElement> Timer::cloneForArray_(ArrayElement*) const {
  auto c = std::make_unique<Timer>(container_, Name(), interval_, enabled_);
  c->tag_ = tag_;
  return c;
}

}  // namespace vb
