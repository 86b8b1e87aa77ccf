#include "velistrom/overlay/SelGeometry.h"

#include "platform/forms/Runtime.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace overlay {

Twips twips(double value) {
  if (std::isnan(value)) return 0;
  const double r = std::nearbyint(value);
  constexpr double lo = std::numeric_limits<Twips>::min();
  constexpr double hi = std::numeric_limits<Twips>::max();
  return Twips(std::clamp(r, lo, hi));
}

bool ShapeBox::setWidth(Twips v) {
  if (v < 0) return false;
  r_.Width = v;
  return true;
}

bool ShapeBox::setHeight(Twips v) {
  if (v < 0) return false;
  r_.Height = v;
  return true;
}

namespace {

// The four-digit field holds 0 to 9999; anything else is a damaged record.
constexpr double kMaxSavedPixels = 9999;

Twips savedTwips(const QString& field, int twipsPerPixel) {
  double px = vb::Val(field);
  if (!(px >= 0)) px = 0;  // negative or NaN
  px = std::min(px, kMaxSavedPixels);
  return twips(px * twipsPerPixel);
}

// What is left over a whole multiple of 10 pixels; the remainder keeps the
// dividend's sign, as the old Mod did.
std::int32_t past10Pixels(std::int32_t v, int twipsPerPixel) {
  return std::int32_t(std::int64_t(v) % (std::int64_t(10) * twipsPerPixel));
}

std::int32_t snapDown(std::int32_t v, int twipsPerPixel) {
  return std::int32_t(std::int64_t(v) - past10Pixels(v, twipsPerPixel));
}

}  // namespace

SelGeometry::SelGeometry(Screen screen) : screen_(screen) {
  for (auto& c : coin_) c = ShapeBox(Rect{0, 0, 75, 75});
  coinVisible_[0] = true;
}

void SelGeometry::setSavedSize(const QString& gSelLarg, const QString& gSelHaut) {
  selLarg_ = gSelLarg;
  selHaut_ = gSelHaut;
}

Twips SelGeometry::savedWidth() const { return savedTwips(selLarg_, screen_.twipsPerPixelX); }
Twips SelGeometry::savedHeight() const { return savedTwips(selHaut_, screen_.twipsPerPixelY); }

std::vector<int> SelGeometry::coinsAt(double X, double Y) const {
  std::vector<int> hit;
  for (int i = 0; i < kCoins; ++i) {
    const Zone& z = zones_[std::size_t(i)];
    if (z.xMin < X && X < z.xMax && z.yMin < Y && Y < z.yMax) hit.push_back(i);
  }
  return hit;
}

Rect SelGeometry::clearViewSourcePixels() const {
  const double tx = screen_.twipsPerPixelX, ty = screen_.twipsPerPixelY;
  return Rect{twips(pictClaire_.Left() / tx), twips(pictClaire_.Top() / ty),
              twips(pictClaire_.Width() / tx), twips(pictClaire_.Height() / ty)};
}

QString SelGeometry::N(double x) { return vb::Str(std::floor(x)); }

QString SelGeometry::sizeText(const Rect& s) const {
  return N(double(s.Width) / screen_.twipsPerPixelX) + QStringLiteral(" x ") +
         N(double(s.Height) / screen_.twipsPerPixelY) + QStringLiteral(" pixels");
}

QString SelGeometry::positionText(const Rect& s) const {
  return QStringLiteral("<- ") + N(double(s.Left) / screen_.twipsPerPixelX) + QStringLiteral("  ^ ") +
         N(double(s.Top) / screen_.twipsPerPixelY);
}

void SelGeometry::formLoad() {
  coin_[0] = ShapeBox(Rect{coin_[0].Left(), coin_[0].Top(), 5 * screen_.twipsPerPixelX,
                           5 * screen_.twipsPerPixelY});
  for (int i = 1; i < kCoins; ++i) {
    coin_[std::size_t(i)] = coin_[0];
    coinVisible_[std::size_t(i)] = false;
  }
  (void)rectsel_.setWidth(savedWidth());
  (void)rectsel_.setHeight(savedHeight());
  rectsel_.setTop(twips((double(screen_.Height()) - rectsel_.Height()) / 2));
  rectsel_.setLeft(twips((double(screen_.Width()) - rectsel_.Width()) / 2));
  placeLabels();
}

void SelGeometry::layCoins(const Rect& R) {
  auto& c = coin_;
  const double w = c[0].Width(), h = c[0].Height();
  const double L = R.Left, T = R.Top, W = R.Width, H = R.Height;
  c[0].setLeft(twips(L - w));
  c[0].setTop(twips(T + H / 2 - h / 2));
  c[1].setLeft(c[0].Left());
  c[1].setTop(twips(T - h));
  c[2].setLeft(twips(L + W / 2 - w / 2));
  c[2].setTop(c[1].Top());
  c[3].setLeft(twips(L + W));
  c[3].setTop(c[1].Top());
  c[4].setLeft(c[3].Left());
  c[4].setTop(c[0].Top());
  c[5].setLeft(c[3].Left());
  c[5].setTop(twips(T + H));
  c[6].setLeft(c[2].Left());
  c[6].setTop(c[5].Top());
  c[7].setLeft(c[0].Left());
  c[7].setTop(c[5].Top());
}

void SelGeometry::PlacDesCoins(const Rect& R) {
  if (rectAjust_ != 0) {
    layCoins(R);
    for (int i = 0; i < kCoins; ++i) {
      const ShapeBox& k = coin_[std::size_t(i)];
      zones_[std::size_t(i)] = Zone{twips(double(k.Left()) - kZone), twips(double(k.Left()) + kZone),
                                    twips(double(k.Top()) - kZone), twips(double(k.Top()) + kZone)};
    }
  }
  labPrecis_.Left = twips(double(R.Left) + 30);
  labPrecis_.Top = twips(double(R.Top) - 600);
  SelClaire(rectsel_.rect());
  PlaceGuide();
}

void SelGeometry::refuse() {
  rectselVisible_ = false;
  coinVisible_.fill(false);
  timreinit_ = true;
}

Redim SelGeometry::RedimRect(int NoCoin) {
  const double L0 = selX_, T0 = selY_, W0 = largDepl_, H0 = hautDepl_;
  ShapeBox& r = rectsel_;
  auto c = [this](int i) -> const ShapeBox& { return coin_[std::size_t(i)]; };
  auto width = [&r](double v) { return r.setWidth(twips(v)); };
  auto height = [&r](double v) { return r.setHeight(twips(v)); };

  // Properties in the order the control received them: a refused one stops the
  // rest, the ones before it stay set.
  bool ok = true;
  switch (NoCoin) {
    case 0:
      ok = width(L0 + W0 - c(0).Left());
      if (ok) r.setLeft(c(0).Left());
      break;
    case 1:
      r.setLeft(c(1).Left());
      r.setTop(c(1).Top());
      ok = width(L0 + W0 - c(1).Left()) && height(T0 + H0 - c(1).Top());
      break;
    case 2:
      r.setTop(c(2).Top());
      ok = height(T0 + H0 - c(2).Top());
      break;
    case 3:
      r.setTop(c(3).Top());
      ok = width(double(c(3).Left()) - c(1).Left()) && height(T0 + H0 - c(3).Top());
      break;
    case 4:
      ok = width(double(c(4).Left()) - c(0).Left());
      break;
    case 5:
      ok = width(double(c(5).Left()) - c(0).Left()) && height(double(c(5).Top()) - c(2).Top());
      break;
    case 6:
      ok = height(double(c(6).Top()) - c(2).Top());
      break;
    case 7:
      r.setLeft(c(7).Left());
      ok = height(double(c(7).Top()) - c(2).Top()) && width(L0 + W0 - c(7).Left());
      break;
    default:
      break;
  }
  if (!ok) {
    refuse();
    return Redim::Refused;
  }
  copyToBand();
  timtaille_ = true;
  PlaceGuide();
  placeLabels();
  updateCaptions();
  SelClaire(rectsel_.rect());
  return Redim::Done;
}

void SelGeometry::PlaceGuide() {
  labGuide_.Left = rectsel_.Left();
  labGuide_.Top = twips(double(rectsel_.Top()) + rectsel_.Height() + 50);
  pictValidLeft_ = twips(double(labGuide_.Left) + labGuide_.Width);
  pictValidTop_ = twips(double(labGuide_.Top) - 100);
}

void SelGeometry::SelClaire(const Rect& u) {
  if (u.Height > 30 && u.Width > 30) {
    (void)pictClaire_.setHeight(u.Height - 30);
    (void)pictClaire_.setWidth(u.Width - 30);
  }
  pictClaire_.setTop(twips(double(u.Top) + 10));
  pictClaire_.setLeft(twips(double(u.Left) + 10));
  if (selClaireHook_) selClaireHook_();
}

void SelGeometry::placeLabels(bool pullBack) {
  const Rect& r = rectsel_.rect();
  labtaille_.Left = twips(double(r.Left) + r.Width + kLabelGap);
  labPosition_.Left = twips(std::max(0.0, double(r.Left) - labPosition_.Width));
  if (pullBack && double(labtaille_.Left) + labtaille_.Width > screen_.Width())
    labtaille_.Left = twips(double(screen_.Width()) - labtaille_.Width - kLabelGap);
  labtaille_.Top = r.Top;
  labPosition_.Top = r.Top;
}

void SelGeometry::updateCaptions() {
  labtaille_.Caption = sizeText(rectsel_.rect());
  labPosition_.Caption = positionText(rectsel_.rect());
}

bool SelGeometry::onTimtaille() {
  if (!timtaille_) return false;
  if (optChk0_ == 1) {
    (void)rectsel_.setWidth(snapDown(rectsel_.Width(), screen_.twipsPerPixelX));
    (void)rectsel_.setHeight(snapDown(rectsel_.Height(), screen_.twipsPerPixelY));
    updateCaptions();
    PlacDesCoins();
  }
  timtaille_ = false;
  return true;
}

bool SelGeometry::onTimreinit() {
  if (!timreinit_) return false;
  (void)rectsel_.setWidth(savedWidth());
  (void)rectsel_.setHeight(savedHeight());
  PlacDesCoins();
  if (rectAjust_ != 0) {
    rectselVisible_ = true;
    coinVisible_.fill(true);
  }
  placeLabels();
  updateCaptions();
  timreinit_ = false;
  return true;
}

bool SelGeometry::onTimLabPos() {
  if (!timLabPos_) return false;
  placeLabels(false);
  timLabPos_ = false;
  return true;
}

Redim SelGeometry::onTimboug(int Index, std::int32_t XSouris, std::int32_t YSouris) {
  if (Index < 0 || Index >= kCoins || !timboug_[std::size_t(Index)]) return Redim::Done;
  ShapeBox& c = coin_[std::size_t(Index)];
  if (optChk0_ == 1) {
    c.setLeft(snapDown(XSouris, screen_.twipsPerPixelX));
    c.setTop(snapDown(YSouris, screen_.twipsPerPixelY));
  } else {
    c.setLeft(XSouris);
    c.setTop(YSouris);
  }
  const Redim answer = RedimRect(Index);
  PlacDesCoins();
  return answer;
}

int SelGeometry::BougCoin(int uncoin, int boutonSour) {
  static constexpr std::array<int, kCoins> kPointer{9, 8, 7, 6, 9, 8, 7, 6};
  const bool known = uncoin >= 0 && uncoin < kCoins;
  if (boutonSour == 1 && known) {
    hautDepl_ = rectsel_.Height();
    largDepl_ = rectsel_.Width();
    selX_ = rectsel_.Left();
    selY_ = rectsel_.Top();
    timboug_[std::size_t(uncoin)] = true;
  }
  return known ? kPointer[std::size_t(uncoin)] : 5;
}

void SelGeometry::stopHandleDrags() { timboug_.fill(false); }

bool SelGeometry::inPressZone(double X, double Y) const {
  const Rect& r = rectsel_.rect();
  return rectAjust_ != 0 && double(r.Left) + kMoveZone < X && X < double(r.Left) + r.Width - kMoveZone &&
         double(r.Top) + kMoveZone < Y && Y < double(r.Top) + r.Height - kMoveZone;
}

bool SelGeometry::inInnerZone(double X, double Y) const {
  const Rect& r = rectsel_.rect();
  return double(r.Left) + kInnerZone < X && X < double(r.Left) + r.Width - kInnerZone &&
         double(r.Top) + kInnerZone < Y && Y < double(r.Top) + r.Height - kInnerZone;
}

bool SelGeometry::inEnlarged(double X, double Y) const {
  const Rect& r = rectsel_.rect();
  return double(r.Left) - kEnlarged < X && X < double(r.Left) + r.Width + kEnlarged &&
         double(r.Top) - kEnlarged < Y && Y < double(r.Top) + r.Height + kEnlarged;
}

void SelGeometry::startMove(double X, double Y) {
  decalX_ = twips(X - rectsel_.Left());
  decalY_ = twips(Y - rectsel_.Top());
}

void SelGeometry::moveTo(double X, double Y) {
  rectsel_.setTop(twips(Y - decalY_));
  rectsel_.setLeft(twips(X - decalX_));
  PlacDesCoins();
  const Rect& r = rectsel_.rect();
  labtaille_.Left = twips(double(r.Left) + r.Width + kLabelGap);
  labtaille_.Top = r.Top;
  labPosition_.Caption = positionText(r);
  labPosition_.Left = twips(std::max(0.0, double(r.Left) - labPosition_.Width));
  labPosition_.Top = r.Top;
}

void SelGeometry::startBand(double X, double Y) {
  xAncre_ = twips(X);
  yAncre_ = twips(Y);
  rectlibre_.setTop(twips(Y));
  rectlibre_.setLeft(twips(X));
  (void)pictClaire_.setWidth(0);
  (void)pictClaire_.setHeight(0);
  labPosition_.Caption = positionText(rectlibre_.rect());
}

void SelGeometry::sizeBand(double X, double Y, bool leftButton) {
  labtaille_.Left = twips(double(rectlibre_.Left()) + rectlibre_.Width() + kLabelGap);
  if (double(labtaille_.Left) + labtaille_.Width > screen_.Width())
    labtaille_.Left = twips(double(screen_.Width()) - labtaille_.Width - kLabelGap);
  labtaille_.Top = rectlibre_.Top();
  if (!leftButton) return;
  const double d = std::abs(Y - yAncre_), e = std::abs(X - xAncre_);
  if (optChk0_ == 1) {
    (void)rectlibre_.setHeight(twips(d - past10Pixels(twips(d), screen_.twipsPerPixelY)));
    (void)rectlibre_.setWidth(twips(e - past10Pixels(twips(e), screen_.twipsPerPixelX)));
  } else {
    (void)rectlibre_.setHeight(twips(d));
    (void)rectlibre_.setWidth(twips(e));
  }
  rectlibre_.setTop(Y > yAncre_ ? yAncre_ : twips(Y));
  rectlibre_.setLeft(X > xAncre_ ? xAncre_ : twips(X));
  labtaille_.Caption = sizeText(rectlibre_.rect());
  SelClaire(rectlibre_.rect());
}

void SelGeometry::takeBand() {
  rectsel_ = rectlibre_;
  PlacDesCoins();
}

void SelGeometry::copyToBand() { rectlibre_ = rectsel_; }

void SelGeometry::makeSquare() {
  (void)rectsel_.setHeight(rectsel_.Width());
  PlacDesCoins();
  updateCaptions();
}

void SelGeometry::keyResize(int dxPixels, int dyPixels) {
  // Without handles on screen PlacDesCoins leaves them where they were: the keys
  // then work from handles laid around the rectangle itself (hidden, no zones).
  if (rectAjust_ == 0) layCoins(rectsel_.rect());
  const ShapeBox& c0 = coin_[0];
  const ShapeBox& c2 = coin_[2];
  if (dxPixels != 0) {
    ShapeBox& c4 = coin_[4];
    c4.setLeft(twips(double(c4.Left()) + double(dxPixels) * screen_.twipsPerPixelX));
    const Twips w = twips(double(c4.Left()) - c0.Left() - c0.Width());
    if (w < 0) c4.setLeft(twips(double(c0.Left()) + c0.Width()));  // stops at width 0
    (void)rectsel_.setWidth(std::max<Twips>(w, 0));
  }
  if (dyPixels != 0) {
    ShapeBox& c6 = coin_[6];
    c6.setTop(twips(double(c6.Top()) + double(dyPixels) * screen_.twipsPerPixelY));
    const Twips h = twips(double(c6.Top()) - c2.Top() - c6.Height());
    if (h < 0) c6.setTop(twips(double(c2.Top()) + c6.Height()));
    (void)rectsel_.setHeight(std::max<Twips>(h, 0));
  }
}

void SelGeometry::keyMove(int dxPixels, int dyPixels) {
  if (rectAjust_ == 0) layCoins(rectsel_.rect());
  const double dx = double(dxPixels) * screen_.twipsPerPixelX;
  const double dy = double(dyPixels) * screen_.twipsPerPixelY;
  for (auto& c : coin_) {
    c.setLeft(twips(c.Left() + dx));
    c.setTop(twips(c.Top() + dy));
  }
  if (dxPixels != 0) rectsel_.setLeft(twips(double(coin_[0].Left()) + coin_[0].Width()));
  if (dyPixels != 0) rectsel_.setTop(twips(double(coin_[2].Top()) + coin_[2].Height()));
}

void SelGeometry::refreshAfterKey() {
  PlacDesCoins();
  copyToBand();
  placeLabels();
  updateCaptions();
}

}  // namespace overlay
