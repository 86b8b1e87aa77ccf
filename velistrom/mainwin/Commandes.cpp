#include "velistrom/core/Bureau.h"
#include "velistrom/mainwin/Commandes.h"

#include "platform/ActiveWindow.h"
#include "platform/Pointer.h"
#include "platform/ScreenGrab.h"

#include <QGuiApplication>
#include <QScreen>

namespace mainwin {

QString ToucheLue(const std::function<bool(int vk)>& enfoncee) {
  QString lue;
  const bool ctrl = enfoncee(17);
  if (ctrl) {
    for (int vk = 65; vk <= 90; ++vk)
      if (enfoncee(vk)) lue = QChar(vk);
    for (int vk = 49; vk <= 57; ++vk)
      if (enfoncee(vk)) lue = QChar(vk);
  }
  for (int vk = 97; vk <= 105; ++vk)
    if (enfoncee(vk)) lue = QChar(vk - 48);
  return lue;
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

std::optional<int> CommandeSurFront(QString& tenue, const QString& touche, const Touches& touches,
                                    bool occupe) {
  const bool nouvelle = touche != tenue;
  tenue = touche;
  if (occupe || !nouvelle) return std::nullopt;
  return CommandeDeTouche(touche, touches);
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
