#include "velistrom/mainwin/Sauvegarde.h"

#include "platform/forms/Runtime.h"
#include "velistrom/mainwin/Flistimages.h"
#include "velistrom/core/GlobCapt.h"
#include "velistrom/core/Params.h"
#include "velistrom/options/Options.h"

#include <QFile>
#include <QSaveFile>

#include <cmath>

namespace sauv {

QString Estampille(bool nomHorod, const QString& dateSess, const QString& heureSess, const QString& horod) {
  return nomHorod ? horod : dateSess + "_" + heureSess;
}

namespace {

QString SansBlancsFinaux(const QString& s) {
  qsizetype n = s.size();
  while (n > 0 && s[n - 1] == u' ') --n;
  return s.left(n);
}

}  // namespace

QString NomPropose(const QString& nomPrecedent, const QString& motCapture, int numCapt) {
  const QString numero = vb::Format(numCapt, "00");
  const QString nom = SansBlancsFinaux(nomPrecedent);
  if (nom.isEmpty()) return motCapture + numero;
  if (nom.size() >= 2 && nom[nom.size() - 1].isDigit() && nom[nom.size() - 2].isDigit())
    return nom.left(nom.size() - 2) + numero;
  return nom;
}

QString BaseDuNom(const QString& choisi) {
  const QString nom = SansBlancsFinaux(choisi);
  for (const char* ext : {".jpg", ".gif", ".png", ".bmp"})
    if (nom.endsWith(QLatin1String(ext))) return nom.left(nom.size() - 4);
  return nom;
}

QString ExtensionDuFiltre(int index) {
  switch (index) {
    case 2: return ".jpg";
    case 3: return ".gif";
    case 4: return ".png";
    default: return ".bmp";
  }
}

int FormatDuFiltre(int index) { return index >= 2 && index <= 4 ? index : 0; }

QString EnteteProposee(const QString& avantDate, const QString& date, const QString& avantHeure,
                       const QString& heure) {
  return avantDate + date + avantHeure + heure + "  -  V e l i s t r o m";
}

Cadre CadreImpression(bool ecranComplet, int largTwips, int hautTwips) {
  Cadre c{kImageX, kImageY, largTwips, hautTwips};
  if ((ecranComplet || largTwips > kLargeurMax) && largTwips > 0) {
    c.largeur = kLargeurMax;
    c.hauteur = int(std::nearbyint(double(kLargeurMax) * hautTwips / largTwips));
  }
  return c;
}

QString CopierFichier(const QString& source, const QString& destination) {
  QFile in(source);
  if (!in.open(QIODevice::ReadOnly)) return source + ": " + in.errorString();
  QSaveFile out(destination);
  if (!out.open(QIODevice::WriteOnly)) return destination + ": " + out.errorString();
  QByteArray bloc;
  while (!(bloc = in.read(1 << 20)).isEmpty()) {
    if (out.write(bloc) != bloc.size()) {
      out.cancelWriting();
      return destination + ": " + out.errorString();
    }
  }
  if (in.error() != QFileDevice::NoError) {
    out.cancelWriting();
    return source + ": " + in.errorString();
  }
  if (!out.commit()) return destination + ": " + out.errorString();
  return QString();
}

}  // namespace sauv

namespace mainwin {

bool CaptureCourante() { return gNumCapt >= 1 && gNumCapt <= gNbCapt && !gTabNomCapt[gNumCapt].isEmpty(); }

void MarquerSauvee(int i) {
  Flistimages* fl = flistimages.existing();
  if (!fl || i < 1) return;
  if (fl->PictSave.exists(i)) fl->PictSave[i].setVisible(true);
  if (fl->Chksav.exists(i)) fl->Chksav[i].setValue(1);
}

namespace {
std::function<void()>& montrerOptions() {
  static std::function<void()> f;
  return f;
}
}  // namespace

void setMontrerOptions(std::function<void()> montrer) { montrerOptions() = std::move(montrer); }

void MontrerOptions() {
  if (montrerOptions())
    montrerOptions()();
  else
    frmOptions().Show();  // modeless: the user picks another folder and saves again
}

}  // namespace mainwin
