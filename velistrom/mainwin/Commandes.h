#pragma once
// The widget-free rules of the toolbar and the hotkeys: which key combination
// is a hotkey, which command it runs, the pressed look of the buttons, and
// where the pointer goes in a whole-screen or window grab.
#include "velistrom/core/Bureau.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QtGlobal>

#include <array>
#include <functional>
#include <optional>

class FrmMain;

namespace mainwin {

inline constexpr int kNbBoutons = 20;

// ---- hotkeys

// The key read of one poll: Ctrl with a letter A-Z or a digit 1-9 gives that
// character, a keypad digit 1-9 (no Ctrl needed) its digit; with several keys
// down the last in the order A..Z, 1..9, keypad 1..9 wins. "" when none.
// `enfoncee` tells whether a virtual key is down.
QString ToucheLue(const std::function<bool(int vk)>& enfoncee);

// The key read of one poll from the platform's 16-bit key states (0x8000 down
// now, bit 0 pressed since the previous poll): a key counts with either bit,
// so a tap that starts and ends between two polls is read. `frappee`: the key
// read (its letter or digit) went down again since the previous poll. `etat`
// answers from one snapshot of the keyboard for the whole poll.
struct Lecture {
  QString touche;
  bool frappee = false;
};
Lecture LectureClavier(const std::function<short(int vk)>& etat);

// The five hotkey characters gTouche1..gTouche5.
using Touches = std::array<QString, 5>;

// The command of a key read: gTouche2 -> 12, gTouche3 -> 1, gTouche4 -> 2,
// gTouche5 -> 19, gTouche1 -> 0, tested in that order (so the earlier test
// wins when two letters are equal); nullopt when the key is no hotkey.
std::optional<int> CommandeDeTouche(const QString& touche, const Touches& touches);

// One command per press: a combination held down runs its command on the
// tick it appears and not again until the key read changes (released, or
// another combination) or its key is pressed anew. `tenue` is the key read of
// the previous tick. While a command is still running (`occupe`), what is read
// counts as seen, so it does not fire when the command ends.
std::optional<int> CommandeSurFront(QString& tenue, const Lecture& lue, const Touches& touches, bool occupe);

// ---- toolbar look

// Buttons 6, 14 and 16 show a state with their border; the pressed look never
// touches them.
bool EstBascule(int index);
// The buttons the prologue (and the end of the pressed look) clears: 0-18
// except the toggles.
bool BordureRemiseAZero(int index);
// The button that takes the pressed look for a command: below 19 and no toggle.
bool PrendAspectEnfonce(int index);
// The borders after the prologue, from the borders before it.
std::array<int, kNbBoutons> BorduresApresPrologue(int index, std::array<int, kNbBoutons> avant);

// The save format of the save-all command: "jpg" when gFormatBmp is 0.
QString FormatToutEnregistrer(int formatBmp);

// ---- pointer in a grab

// Where the pointer's hotspot goes in a grab whose top-left corner is
// `coinZone` (screen pixels): a whole screen taken by a hotkey has it exactly
// where the pointer stood; a window, and any grab not started by a hotkey,
// 6 pixels up and left of that, relative to the grabbed rectangle. nullopt
// when no pointer is drawn (handle 65557).
std::optional<QPoint> PositionPointeur(quint32 handle, QPoint curseur, QPoint coinZone, bool fenetre,
                                       bool parClavier);

// ---- grabs of the whole screen and of the foreground window


struct Prise {
  QImage image;  // null when no window was found
  QRect zone;    // what was grabbed, screen pixels
  bool vide = false;  // no window (the old rectangle with right edge 0)
};
// Grabs the desktop (fenetre false) or the foreground window with its frame,
// and draws the pointer `handle` in it (PositionPointeur).
Prise Prendre(bool fenetre, bool parClavier, quint32 handle, QPoint curseur,
              const core::Bureau& e = core::bureau());

// ---- neighbours the dispatcher opens or closes (set where those windows live;
// empty = nothing to do)
std::function<void()>& montrerAPropos();        // command 18: the about box, modeless
std::function<void()>& fermerAidesEtOptions();  // a hotkey: the help pictures, when visible (the poll unloads Options itself)

// The help windows reach this main window (set before one opens; undone when
// the window goes); the about box shown.
void BrancherAide(FrmMain& main);
void DebrancherAide(FrmMain& main);
void MontrerAPropos();

}  // namespace mainwin
