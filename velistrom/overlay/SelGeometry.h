#pragma once
// The selection of the overlay as numbers only: the rectangle rectsel, the rubber
// band rectlibre, the eight handles coinrect(0..7) with their hit zones, and the
// places and texts of the labels around them. FrmFull holds one instance, feeds it
// pointer positions, keys and timer ticks, and copies the numbers onto its
// controls; nothing here touches a widget or a timer.
//
// Everything is in twips relative to Picture1 (the whole screen). A value that an
// expression leaves fractional (the middle of an odd side) is rounded to the
// nearest whole twip, halves to even. Fields are 32-bit: a 3840 x 2400 screen is
// 57600 twips wide.
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace overlay {

using Twips = std::int32_t;

// Nearest whole twip, halves to even; out-of-range values saturate, NaN gives 0.
Twips twips(double value);

struct Rect {
  Twips Left = 0, Top = 0, Width = 0, Height = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

// The screen as the overlay sees it.
struct Screen {
  int widthPixels = 1920;
  int heightPixels = 1080;
  int twipsPerPixelX = 15;
  int twipsPerPixelY = 15;
  Twips Width() const { return Twips(widthPixels) * twipsPerPixelX; }
  Twips Height() const { return Twips(heightPixels) * twipsPerPixelY; }
};

// A shape control's geometry. Like the control, which raises error 380 there, it
// refuses a negative width or height: the setter answers false, the size stays.
class ShapeBox {
 public:
  ShapeBox() = default;
  explicit ShapeBox(Rect r) : r_(r) {}
  Twips Left() const { return r_.Left; }
  Twips Top() const { return r_.Top; }
  Twips Width() const { return r_.Width; }
  Twips Height() const { return r_.Height; }
  void setLeft(Twips v) { r_.Left = v; }
  void setTop(Twips v) { r_.Top = v; }
  [[nodiscard]] bool setWidth(Twips v);
  [[nodiscard]] bool setHeight(Twips v);
  const Rect& rect() const { return r_; }

 private:
  Rect r_;
};

// A label's place and caption. The form writes Width and Height back after it has
// given the widget a caption (the widths depend on the font); placements read the
// width known at that moment.
struct LabelBox {
  Twips Left = 0, Top = 0, Width = 0, Height = 0;
  QString Caption;
};

enum class Redim { Done, Refused };

class SelGeometry {
 public:
  static constexpr int kCoins = 8;
  static constexpr Twips kZone = 500;        // half side of a handle's hit zone
  static constexpr Twips kLabelGap = 50;     // size label right of the rectangle
  static constexpr Twips kMoveZone = 300;    // press zone: rectangle shrunk by this
  static constexpr Twips kInnerZone = 500;   // inner (follow) zone
  static constexpr Twips kEnlarged = 200;    // outside this a press starts a band

  explicit SelGeometry(Screen screen = {});

  const Screen& screen() const { return screen_; }
  void setScreen(const Screen& s) { screen_ = s; }

  // Settings read by the geometry (gRectAjust, gOptChk0, gSelLarg / gSelHaut).
  void setRectAjust(int v) { rectAjust_ = v; }
  void setOptChk0(int v) { optChk0_ = v; }
  int rectAjust() const { return rectAjust_; }
  int optChk0() const { return optChk0_; }
  void setSavedSize(const QString& gSelLarg, const QString& gSelHaut);
  // The saved size in twips. A damaged field (negative, not a number, beyond the
  // four digits it holds) gives the nearest size from 0 to 9999 pixels.
  Twips savedWidth() const;
  Twips savedHeight() const;

  // ------------------------------------------------------------ shapes
  ShapeBox& rectsel() { return rectsel_; }
  const ShapeBox& rectsel() const { return rectsel_; }
  ShapeBox& rectlibre() { return rectlibre_; }
  const ShapeBox& rectlibre() const { return rectlibre_; }
  ShapeBox& coinrect(int i) { return coin_.at(std::size_t(i)); }
  const ShapeBox& coinrect(int i) const { return coin_.at(std::size_t(i)); }
  bool rectselVisible() const { return rectselVisible_; }
  void setRectselVisible(bool v) { rectselVisible_ = v; }
  bool coinVisible(int i) const { return coinVisible_.at(std::size_t(i)); }
  void setCoinVisible(int i, bool v) { coinVisible_.at(std::size_t(i)) = v; }

  // Hit zones, as PlacDesCoins last wrote them (0 before any placement).
  Twips CoinXMin(int i) const { return zones_.at(std::size_t(i)).xMin; }
  Twips CoinXMax(int i) const { return zones_.at(std::size_t(i)).xMax; }
  Twips CoinYMin(int i) const { return zones_.at(std::size_t(i)).yMin; }
  Twips CoinYMax(int i) const { return zones_.at(std::size_t(i)).yMax; }
  // Every handle whose zone holds the point, in index order (zones overlap on a
  // short side).
  std::vector<int> coinsAt(double X, double Y) const;

  // ------------------------------------------------------------ labels, guide
  LabelBox& labtaille() { return labtaille_; }
  LabelBox& labPosition() { return labPosition_; }
  LabelBox& labPrecis() { return labPrecis_; }
  LabelBox& labGuide() { return labGuide_; }
  const LabelBox& labtaille() const { return labtaille_; }
  const LabelBox& labPosition() const { return labPosition_; }
  const LabelBox& labPrecis() const { return labPrecis_; }
  const LabelBox& labGuide() const { return labGuide_; }
  Twips pictValidLeft() const { return pictValidLeft_; }
  Twips pictValidTop() const { return pictValidTop_; }
  // The clear view (PictClaire): its place and size.
  ShapeBox& pictClaire() { return pictClaire_; }
  const ShapeBox& pictClaire() const { return pictClaire_; }
  // What SelClaire copies from the undimmed desktop, in pixels: PictClaire's
  // place and size, each rounded to the nearest pixel.
  Rect clearViewSourcePixels() const;
  // Called at the end of every SelClaire, so that the form can copy the pixels.
  void setSelClaireHook(std::function<void()> hook) { selClaireHook_ = std::move(hook); }

  // The texts: N(x) is x rounded down, with a leading blank unless negative.
  static QString N(double x);
  QString sizeText(const Rect& s) const;      // " 420 x  260 pixels"
  QString positionText(const Rect& s) const;  // "<-  100  ^  50"

  // ------------------------------------------------------------ procedures
  // What the form's load does to the numbers: 5 x 5 pixel handles, the saved size centred,
  // then the label placement rule.
  void formLoad();
  // Handles and hit zones around R (only with the adjustable rectangle on), the
  // precision hint above R, then the clear view and the guide of rectsel.
  void PlacDesCoins(const Rect& rectangle);
  void PlacDesCoins() { PlacDesCoins(rectsel_.rect()); }
  // Resize from handle NoCoin (already moved to the pointer). A negative width or
  // height is refused: rectsel and its handles are hidden and Timreinit is armed;
  // what was set before the refused value keeps its new value.
  Redim RedimRect(int NoCoin);
  void PlaceGuide();
  void SelClaire(const Rect& shape);
  // The label placement rule; pullBack = false is TimLabPos's variant without the
  // correction at the screen's right edge.
  void placeLabels(bool pullBack = true);
  void updateCaptions();  // size and position text of rectsel

  // ------------------------------------------------------------ timers
  // The flags are the timers' Enabled; the form runs a real timer while one is on
  // and calls the tick. RedimRect switches Timtaille on at every resize step.
  bool timtailleEnabled() const { return timtaille_; }
  void setTimtailleEnabled(bool on) { timtaille_ = on; }
  bool timreinitEnabled() const { return timreinit_; }
  void setTimreinitEnabled(bool on) { timreinit_ = on; }  // Form_QueryUnload: off
  bool timLabPosEnabled() const { return timLabPos_; }
  bool timbougEnabled(int i) const { return timboug_.at(std::size_t(i)); }
  // Each tick returns false when the timer was off (no tick then).
  bool onTimtaille();  // snap to 10 pixels with gOptChk0 = 1, then off
  bool onTimreinit();  // saved size at the current corner, then off
  bool onTimLabPos();  // labels placed once, no texts
  // Handle Index to the pointer (snapped with gOptChk0 = 1), RedimRect, then
  // PlacDesCoins. Refused is RedimRect's answer.
  Redim onTimboug(int Index, std::int32_t XSouris, std::int32_t YSouris);

  // ------------------------------------------------------------ pointer
  // Start of a handle drag: returns the pointer shape of the handle; with the left
  // button (1) it takes the start geometry and runs that handle's timer.
  int BougCoin(int uncoin, int boutonSour);
  void stopHandleDrags();  // every Timboug off (release, pointer outside)
  // Start geometry of the drag; the form copies selX / selY into gSelX / gSelY.
  std::int32_t LargDepl() const { return largDepl_; }
  std::int32_t HautDepl() const { return hautDepl_; }
  std::int32_t selX() const { return selX_; }
  std::int32_t selY() const { return selY_; }

  bool inPressZone(double X, double Y) const;  // a left press here starts a move
  bool inInnerZone(double X, double Y) const;  // the rectangle follows the pointer
  bool inEnlarged(double X, double Y) const;   // a press outside starts a band
  void startMove(double X, double Y);          // DecalX, DecalY
  void moveTo(double X, double Y);             // left button in the inner zone
  Twips DecalX() const { return decalX_; }
  Twips DecalY() const { return decalY_; }

  // Rubber band: the press anchors it; each move with the left button sizes it
  // (snapped with gOptChk0 = 1); other buttons only move the size label.
  void startBand(double X, double Y);
  void sizeBand(double X, double Y, bool leftButton);
  // rectsel takes the band's geometry (a validation), then PlacDesCoins.
  void takeBand();
  // The band takes rectsel's geometry (Enter, right click, after a resize).
  void copyToBand();
  // Right click with Shift: the height becomes the width.
  void makeSquare();

  // ------------------------------------------------------------ keyboard
  // Plain / Alt arrows: handle 4 or 6 moves by the pixels given and the width or
  // height follows from the handles; a size that would go below 0 stops at 0.
  // Without the adjustable rectangle the handles are first laid around rectsel,
  // so both act on the rectangle itself.
  void keyResize(int dxPixels, int dyPixels);
  // Shift / Ctrl arrows: every handle moves, the rectangle's corner follows.
  void keyMove(int dxPixels, int dyPixels);
  // What follows those keys: handles, band, label places, then their texts.
  void refreshAfterKey();

 private:
  struct Zone {
    Twips xMin = 0, xMax = 0, yMin = 0, yMax = 0;
  };
  void refuse();
  void layCoins(const Rect& R);  // the handle layout table, zones untouched

  Screen screen_;
  int rectAjust_ = 0;
  int optChk0_ = 0;
  QString selLarg_ = QStringLiteral("0420");
  QString selHaut_ = QStringLiteral("0260");

  ShapeBox rectsel_{Rect{1560, 1560, 2415, 1575}};
  ShapeBox rectlibre_{Rect{6000, 3600, 2535, 1695}};
  std::array<ShapeBox, kCoins> coin_{};
  bool rectselVisible_ = true;
  std::array<bool, kCoins> coinVisible_{};
  std::array<Zone, kCoins> zones_{};

  LabelBox labtaille_, labPosition_, labPrecis_, labGuide_;
  Twips pictValidLeft_ = 0, pictValidTop_ = 0;
  ShapeBox pictClaire_;
  std::function<void()> selClaireHook_;

  bool timtaille_ = false;
  bool timreinit_ = true;  // runs once after the form's load
  bool timLabPos_ = true;
  std::array<bool, kCoins> timboug_{};

  std::int32_t largDepl_ = 0, hautDepl_ = 0, selX_ = 0, selY_ = 0;
  Twips decalX_ = 0, decalY_ = 0;
  std::int32_t xAncre_ = 0, yAncre_ = 0;
};

}  // namespace overlay
