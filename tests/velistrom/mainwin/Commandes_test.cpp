#include "velistrom/core/Bureau.h"
#include "velistrom/mainwin/Commandes.h"

#include "platform/Keys.h"
#include "platform/Pointer.h"

#include <QColor>
#include <gtest/gtest.h>

#include <map>
#include <vector>

// Keysyms only (macros), after every other header.
#include <X11/keysym.h>

namespace {

using mainwin::Touches;

// A pc105-like keyboard: one keycode per physical key; a keypad key carries its
// digit and its navigation keysym, as on a real keymap.
int fakeKeycode(unsigned long keysym) {
  static const std::map<unsigned long, int> table = [] {
    std::map<unsigned long, int> t;
    t[XK_Control_L] = 37;
    t[XK_Control_R] = 105;
    for (int i = 0; i < 26; ++i) t[XK_a + i] = 150 + i;  // any free codes
    for (int d = 1; d <= 9; ++d) t[XK_0 + d] = 9 + d;     // 10..18
    t[XK_0] = 19;
    const int kp[10] = {90, 87, 88, 89, 83, 84, 85, 79, 80, 81};
    const unsigned long nav[10] = {XK_KP_Insert, XK_KP_End,  XK_KP_Down, XK_KP_Next,  XK_KP_Left,
                                   XK_KP_Begin,  XK_KP_Right, XK_KP_Home, XK_KP_Up,   XK_KP_Prior};
    for (int d = 0; d <= 9; ++d) {
      t[XK_KP_0 + d] = kp[d];
      t[nav[d]] = kp[d];
    }
    return t;
  }();
  auto it = table.find(keysym);
  return it == table.end() ? 0 : it->second;
}

QString keyRead(const std::vector<unsigned long>& held, bool numLock) {
  platform::KeyboardState state;
  state.numLock = numLock;
  for (unsigned long k : held) state.setKeycode(fakeKeycode(k), true);
  return mainwin::ToucheLue([&](int vk) { return platform::vkDown(vk, state, fakeKeycode); });
}

const Touches kDefaut = {"Z", "M", "E", "F", "Y"};

}  // namespace

TEST(HotkeyDecoding, KeyReadFromKeyboardState) {
  struct Case {
    const char* what;
    std::vector<unsigned long> held;
    bool numLock;
    const char* expected;
  };
  const Case cases[] = {
      {"Ctrl+F", {XK_Control_L, XK_f}, false, "F"},
      {"right Ctrl+Z", {XK_Control_R, XK_z}, false, "Z"},
      {"F without Ctrl", {XK_f}, false, ""},
      {"Ctrl alone", {XK_Control_L}, false, ""},
      {"Ctrl+1", {XK_Control_L, XK_1}, false, "1"},
      {"Ctrl+9", {XK_Control_L, XK_9}, true, "9"},
      {"Ctrl+0 is no hotkey", {XK_Control_L, XK_0}, false, ""},
      {"1 without Ctrl", {XK_1}, false, ""},
      {"keypad 1 with NumLock, no Ctrl needed", {XK_KP_1}, true, "1"},
      {"keypad 9 with NumLock and Ctrl", {XK_Control_L, XK_KP_9}, true, "9"},
      {"keypad 1 without NumLock is End", {XK_KP_1}, false, ""},
      {"keypad 0 is no hotkey", {XK_KP_0}, true, ""},
      {"several letters: the last wins", {XK_Control_L, XK_a, XK_f, XK_c}, false, "F"},
      {"a digit after the letters", {XK_Control_L, XK_z, XK_3}, false, "3"},
      {"keypad after Ctrl+letter", {XK_Control_L, XK_a, XK_KP_5}, true, "5"},
      {"two keypad digits: the higher wins", {XK_KP_5, XK_KP_2}, true, "5"},
      {"Ctrl+letter with keypad, NumLock off", {XK_Control_L, XK_a, XK_KP_5}, false, "A"},
  };
  for (const Case& c : cases) EXPECT_EQ(keyRead(c.held, c.numLock).toStdString(), std::string(c.expected)) << c.what;
}

TEST(HotkeyDecoding, CommandOfKey) {
  struct Case {
    Touches touches;
    const char* key;
    std::optional<int> command;
  };
  const Case cases[] = {
      {kDefaut, "Z", 0},
      {kDefaut, "M", 12},
      {kDefaut, "E", 1},
      {kDefaut, "F", 2},
      {kDefaut, "Y", 19},
      {kDefaut, "A", std::nullopt},
      {kDefaut, "", std::nullopt},
      {{"1", "2", "3", "4", "5"}, "1", 0},
      {{"1", "2", "3", "4", "5"}, "5", 19},
      // Equal letters: the earlier test of 2, 3, 4, 5, 1 wins.
      {{"F", "M", "E", "F", "Y"}, "F", 2},
      {{"Z", "Z", "E", "F", "Y"}, "Z", 12},
      {{"Z", "M", "Y", "F", "Y"}, "Y", 1},
      {{"Z", "M", "E", "Y", "Y"}, "Y", 2},
  };
  for (const Case& c : cases)
    EXPECT_EQ(mainwin::CommandeDeTouche(c.key, c.touches), c.command) << c.key << " " << c.touches[0].toStdString();
}

TEST(HotkeyDecoding, OneCommandPerPress) {
  struct Tick {
    const char* key;
    bool pressed;  // its key went down since the previous tick
    bool busy;
    std::optional<int> fired;
  };
  const std::vector<std::vector<Tick>> sequences = {
      // held for three polls: once
      {{"F", true, false, 2}, {"F", false, false, std::nullopt}, {"F", false, false, std::nullopt}},
      // released and pressed again: twice
      {{"F", true, false, 2}, {"", false, false, std::nullopt}, {"F", true, false, 2}},
      // tapped again before the next poll: the key read stays, the press counts
      {{"F", true, false, 2}, {"F", true, false, 2}, {"F", false, false, std::nullopt}},
      // another combination while the first is held
      {{"F", true, false, 2}, {"Z", true, false, 0}, {"Z", false, false, std::nullopt}},
      // pressed while a command still runs: not now, and not when it ends
      {{"F", true, true, std::nullopt}, {"F", false, false, std::nullopt}, {"", false, false, std::nullopt},
       {"F", true, false, 2}},
      // a key that is no hotkey does not hide the next press
      {{"A", true, false, std::nullopt}, {"F", true, false, 2}},
      // without the press bits (no XInput2) the key read alone decides
      {{"F", false, false, 2}, {"F", false, false, std::nullopt}, {"", false, false, std::nullopt},
       {"F", false, false, 2}},
  };
  for (size_t s = 0; s < sequences.size(); ++s) {
    QString held;
    for (size_t t = 0; t < sequences[s].size(); ++t) {
      const Tick& tick = sequences[s][t];
      EXPECT_EQ(mainwin::CommandeSurFront(held, {tick.key, tick.pressed}, kDefaut, tick.busy), tick.fired)
          << "sequence " << s << " tick " << t;
    }
  }
}

// The poll's read from the down and pressed-since bits of one snapshot.
TEST(HotkeyDecoding, KeyReadCountsATapBetweenTwoPolls) {
  struct Case {
    const char* what;
    std::vector<unsigned long> down, pressed;
    const char* key;
    bool freshPress;
  };
  const Case cases[] = {
      {"Ctrl and F held from before", {XK_Control_L, XK_f}, {}, "F", false},
      {"Ctrl+F tapped, both up again", {}, {XK_Control_L, XK_f}, "F", true},
      {"Ctrl held, F tapped", {XK_Control_L}, {XK_f}, "F", true},
      {"Ctrl held, F pressed and still down", {XK_Control_L, XK_f}, {XK_f}, "F", true},
      {"F tapped without Ctrl", {}, {XK_f}, "", false},
      {"Ctrl tapped again, F held", {XK_f}, {XK_Control_L}, "F", false},
      {"keypad 3 tapped", {}, {XK_KP_3}, "3", true},
      {"Ctrl+A held, Ctrl+F tapped: the later letter", {XK_Control_L, XK_a}, {XK_f}, "F", true},
      {"Ctrl+F held, Ctrl+A tapped: the later letter, held", {XK_Control_L, XK_f}, {XK_a}, "F", false},
  };
  for (const Case& c : cases) {
    platform::KeyboardState state;
    state.numLock = true;
    for (unsigned long k : c.down) state.setKeycode(fakeKeycode(k), true);
    for (unsigned long k : c.pressed) state.setKeycodePressed(fakeKeycode(k), true);
    const mainwin::Lecture lue =
        mainwin::LectureClavier([&](int vk) { return platform::vkState(vk, state, fakeKeycode); });
    EXPECT_EQ(lue.touche.toStdString(), std::string(c.key)) << c.what;
    EXPECT_EQ(lue.frappee, c.freshPress) << c.what;
  }
}

TEST(ToolbarLook, PrologueBorders) {
  std::array<int, mainwin::kNbBoutons> allSet;
  allSet.fill(1);
  for (int index : {-1, 0, 1, 5, 6, 11, 14, 16, 18, 19, 20, 99}) {
    const auto after = mainwin::BorduresApresPrologue(index, allSet);
    for (int i = 0; i < mainwin::kNbBoutons; ++i) {
      int expected = 0;
      if (i == 6 || i == 14 || i == 16 || i == 19) expected = 1;  // never touched
      if (i == index) expected = 1;                               // the pressed look
      EXPECT_EQ(after[i], expected) << "index " << index << " button " << i;
    }
  }
  std::array<int, mainwin::kNbBoutons> noneSet{};
  const auto after = mainwin::BorduresApresPrologue(19, noneSet);
  EXPECT_EQ(after[19], 0) << "button 19 never gets the pressed look";
  EXPECT_EQ(mainwin::BorduresApresPrologue(6, noneSet)[6], 0) << "a toggle keeps its state";
}

TEST(ToolbarLook, SaveAllFormatWord) {
  EXPECT_EQ(mainwin::FormatToutEnregistrer(0).toStdString(), "jpg");
  EXPECT_EQ(mainwin::FormatToutEnregistrer(1).toStdString(), "bmp");
}

// ---------------------------------------------------------------- pointer in a grab

namespace {

constexpr quint32 kFakeHandle = 4242;
const QRgb kBack = qRgb(10, 20, 30);
const QRgb kHot = qRgb(255, 0, 0);

// A 5x5 pointer: transparent except a red hotspot pixel at (2, 3) and a green
// pixel at its top-left corner.
platform::PointerShape fakePointer() {
  platform::PointerShape s;
  s.handle = kFakeHandle;
  s.image = QImage(5, 5, QImage::Format_ARGB32_Premultiplied);
  s.image.fill(Qt::transparent);
  s.image.setPixel(2, 3, kHot);
  s.image.setPixel(0, 0, qRgb(0, 255, 0));
  s.hotspot = QPoint(2, 3);
  return s;
}

struct FakeDesktop {
  QRect screen{0, 0, 640, 480};
  QRect window{100, 50, 300, 200};
  std::vector<QRect> grabs;
  core::Bureau platform() {
    core::Bureau e;
    e.grab = [this](const QRect& r) {
      grabs.push_back(r);
      QImage img(r.size(), QImage::Format_RGB32);
      img.fill(kBack);
      return img;
    };
    e.ecran = [this] { return screen; };
    e.fenetreActive = [this] { return window; };
    e.drawPointer = [](QImage& img, quint32 h, QPoint at) {
      if (h != kFakeHandle) return false;
      platform::drawPointer(img, fakePointer(), at);
      return true;
    };
    return e;
  }
};

}  // namespace

// A whole screen taken by a hotkey has the pointer where it stood; a window,
// and a whole screen from the toolbar, 6 pixels up and left of it.
TEST(PointerInGrab, PlacementByCallerAndKind) {
  struct Case {
    const char* what;
    bool window;
    bool hotkey;
    quint32 handle;
    QPoint cursor;
    std::optional<QPoint> hotInPicture;  // nullopt: nothing drawn
  };
  const Case cases[] = {
      {"screen, hotkey", false, true, kFakeHandle, {200, 100}, QPoint(200, 100)},
      {"screen, hotkey, top-left corner", false, true, kFakeHandle, {0, 0}, QPoint(0, 0)},
      {"screen, toolbar", false, false, kFakeHandle, {200, 100}, QPoint(194, 94)},
      {"screen, toolbar, hotspot off the picture", false, false, kFakeHandle, {3, 3}, std::nullopt},
      {"window at (100, 50), toolbar", true, false, kFakeHandle, {150, 80}, QPoint(44, 24)},
      {"window at (100, 50), hotkey", true, true, kFakeHandle, {150, 80}, QPoint(44, 24)},
      {"screen, hotkey, no visible pointer", false, true, platform::kNoPointer, {200, 100}, std::nullopt},
      {"screen, toolbar, no visible pointer", false, false, platform::kNoPointer, {200, 100}, std::nullopt},
      {"window, no visible pointer", true, false, platform::kNoPointer, {150, 80}, std::nullopt},
  };
  for (const Case& c : cases) {
    FakeDesktop desk;
    const mainwin::Prise p = mainwin::Prendre(c.window, c.hotkey, c.handle, c.cursor, desk.platform());
    ASSERT_FALSE(p.vide) << c.what;
    ASSERT_EQ(desk.grabs.size(), 1u);
    EXPECT_EQ(desk.grabs[0], c.window ? desk.window : desk.screen) << c.what;
    EXPECT_EQ(p.image.size(), (c.window ? desk.window : desk.screen).size()) << c.what;
    int red = 0;
    QPoint at;
    for (int y = 0; y < p.image.height(); ++y)
      for (int x = 0; x < p.image.width(); ++x)
        if (p.image.pixel(x, y) == kHot) {
          ++red;
          at = {x, y};
        }
    if (c.hotInPicture) {
      EXPECT_EQ(red, 1) << c.what;
      EXPECT_EQ(at, *c.hotInPicture) << c.what;
    } else {
      EXPECT_EQ(red, 0) << c.what;
    }
  }
}

TEST(PointerInGrab, NoForegroundWindow) {
  FakeDesktop desk;
  desk.window = QRect();
  const mainwin::Prise p = mainwin::Prendre(true, false, kFakeHandle, {10, 10}, desk.platform());
  EXPECT_TRUE(p.vide);
  EXPECT_TRUE(p.image.isNull());
  EXPECT_TRUE(desk.grabs.empty()) << "nothing to grab";
}

TEST(PointerInGrab, WindowPartlyOffScreenKeepsItsFrameSize) {
  FakeDesktop desk;
  desk.window = QRect(-20, -10, 100, 60);
  const mainwin::Prise p = mainwin::Prendre(true, false, kFakeHandle, {6, 6}, desk.platform());
  ASSERT_FALSE(p.vide);
  EXPECT_EQ(p.image.size(), QSize(100, 60));
  EXPECT_EQ(p.image.pixel(20, 10), kHot) << "the pointer near the screen's corner, inside the window";
}
