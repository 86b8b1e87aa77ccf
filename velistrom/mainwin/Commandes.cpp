#include "velistrom/core/Bureau.h"
#include "velistrom/mainwin/Commandes.h"

#include "platform/ActiveWindow.h"
#include "platform/Pointer.h"
#include "platform/ScreenGrab.h"

#include <QGuiApplication>
#include <QScreen>

namespace mainwin {

namespace {

// The virtual key that gives the key read (0: none).
int ToucheLueVk(const std::function<bool(int vk)>& enfoncee) {
  int lue = 0;
  if (enfoncee(17)) {
    for (int vk = 65; vk <= 90; ++vk)
      if (enfoncee(vk)) lue = vk;
    for (int vk = 49; vk <= 57; ++vk)
      if (enfoncee(vk)) lue = vk;
  }
  for (int vk = 97; vk <= 105; ++vk)
    if (enfoncee(vk)) lue = vk;
  return lue;
}

QString CaractereDe(int vk) {
  if (vk == 0) return QString();
  return QChar(vk >= 97 ? vk - 48 : vk);
}

}  // namespace

QString ToucheLue(const std::function<bool(int vk)>& enfoncee) { return CaractereDe(ToucheLueVk(enfoncee)); }

Lecture LectureClavier(const std::function<short(int vk)>& etat) {
  // Ctrl held across polls and a letter tapped in between: both states are
  // non-zero though their bits differ, and the tap counts.
  const int vk = ToucheLueVk([&](int v) { return etat(v) != 0; });
  return {CaractereDe(vk), vk != 0 && (etat(vk) & 1)};
}

std::optional<int> CommandeDeTouche(const QString& touche, const Touches& t) {
  if (touche.isEmpty()) return std::nullopt;
  if (touche == t[1]) return 12;
  if (touche == t[2]) return 1;
  if (touche == t[3]) return 2;
  if (touche == t[4]) return 19;
  if (touche == t[0]) return 0;
  return std::nullopt;
}

std::optional<int> CommandeSurFront(QString& tenue, const Lecture& lue, const Touches& touches, bool occupe) {
  const bool nouvelle = lue.touche != tenue || lue.frappee;
  tenue = lue.touche;
  if (occupe || !nouvelle) return std::nullopt;
  return CommandeDeTouche(lue.touche, touches);
}

bool EstBascule(int index) { return index == 6 || index == 14 || index == 16; }

bool BordureRemiseAZero(int index) { return index >= 0 && index <= 18 && !EstBascule(index); }

bool PrendAspectEnfonce(int index) { return index >= 0 && index < 19 && !EstBascule(index); }

std::array<int, kNbBoutons> BorduresApresPrologue(int index, std::array<int, kNbBoutons> b) {
  for (int i = 0; i < kNbBoutons; ++i)
    if (BordureRemiseAZero(i)) b[i] = 0;
  if (PrendAspectEnfonce(index)) b[index] = 1;
  return b;
}

QString FormatToutEnregistrer(int formatBmp) { return formatBmp == 0 ? "jpg" : "bmp"; }

std::optional<QPoint> PositionPointeur(quint32 handle, QPoint curseur, QPoint coinZone, bool fenetre,
                                       bool parClavier) {
  if (handle == platform::kNoPointer) return std::nullopt;
  const QPoint dansZone = curseur - coinZone;
  if (!fenetre && parClavier) return dansZone;
  return dansZone - QPoint(6, 6);
}

Prise Prendre(bool fenetre, bool parClavier, quint32 handle, QPoint curseur, const core::Bureau& e) {
  Prise p;
  p.zone = fenetre ? e.fenetreActive() : e.ecran();
  if (p.zone.isNull() || p.zone.isEmpty()) {
    p.vide = true;
    p.zone = QRect();
    return p;
  }
  p.image = e.grab(p.zone);
  if (p.image.isNull()) {
    p.vide = true;
    return p;
  }
  if (std::optional<QPoint> at = PositionPointeur(handle, curseur, p.zone.topLeft(), fenetre, parClavier))
    e.drawPointer(p.image, handle, *at);
  return p;
}

}  // namespace mainwin
