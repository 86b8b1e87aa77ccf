#include "velistrom/mainwin/Compagnons.h"

#include "platform/Processes.h"
#include "platform/forms/App.h"
#include "velistrom/mainwin/Sauvegarde.h"

#include <QRegularExpression>

namespace compag {
namespace {

QString SansCar(QString texte, QChar c) { return texte.remove(c); }

QString Libre(const QString& base, const QString& extension, const NomPris& pris) {
  QString nom = base + extension;
  for (int n = 2; pris && pris(nom); ++n) nom = base + "_" + QString::number(n) + extension;
  return nom;
}

QString LettreLangue(const QString& codeLng) { return codeLng.isEmpty() ? QString() : codeLng.right(1); }

}  // namespace

QString NomJpegEnvoi(const QString& dossier, const QString& prefixe, const QString& dateText,
                     const QString& timeText, const NomPris& pris) {
  const QString base = dossier + "/" + sauv::SansSeparateurs(prefixe) + SansCar(dateText, u'/') + "-" +
                       SansCar(timeText, u':');
  return Libre(base, ".jpg", pris);
}

QString NomJpegMail(const QString& dossier, const QString& prefixe, const QString& dateText,
                    const QString& timeText, int position, const NomPris& pris) {
  const QString base = dossier + "/" + sauv::SansSeparateurs(prefixe) + SansCar(dateText, u'/') +
                       SansCar(timeText, u':') + "-" + QString::number(position);
  return Libre(base, ".jpg", pris);
}

Lancement LancementPostelle(const QString& dossierProgrammes, const QString& jpeg) {
  return {dossierProgrammes + "/Postelle", {jpeg}};
}

Lancement LancementSpreadwell(const QString& dossierProgrammes, const QString& jpeg) {
  return {dossierProgrammes + "/Spreadwell", {jpeg}};
}

Lancement LancementPanneau(const QString& dossierProgrammes, const QString& cle, const QString& jpeg,
                           const QString& codeLng) {
  if (cle == "share") return LancementSpreadwell(dossierProgrammes, jpeg);
  const QString puzzle = cle == "mosaiq" ? "Mosaiq" : "Mosaiquor";
  return {dossierProgrammes + "/" + puzzle, {jpeg + "*" + LettreLangue(codeLng)}};
}

Editeur EditeurAUtiliser(const QString& champ, const QString& peinture) {
  QString programme = champ;
  while (programme.endsWith(u' ')) programme.chop(1);
  const bool vide = champ.isEmpty() || champ.startsWith(u' ');
  if (vide || platform::programBaseName(programme).compare("mspaint", Qt::CaseInsensitive) == 0)
    return {peinture, true};
  return {programme, false};
}

QString NomEditeurAffiche(const QString& programme) {
  QString nom = programme.mid(programme.lastIndexOf(u'/') + 1);
  const qsizetype point = nom.indexOf(u'.');
  if (point >= 0) nom = nom.left(point);
  if (!nom.isEmpty()) nom[0] = nom[0].toUpper();
  return nom;
}

QString DossierDuTitre(const QString& caption) {
  // Only the text after " > " is the saved path: the count "i/n" before it
  // has a "/" of its own, and a save-as caption carries its path without " > ".
  static const QString kSeparateur = QStringLiteral(" > ");
  const qsizetype sep = caption.indexOf(kSeparateur);
  if (sep < 0) return QString();
  const QString chemin = caption.mid(sep + kSeparateur.size());
  const qsizetype slash = chemin.lastIndexOf(u'/');
  if (slash < 0) return QString();
  return slash == 0 ? QStringLiteral("/") : chemin.left(slash);
}

bool AdresseValable(const QString& adresse) {
  static const QRegularExpression plain(QStringLiteral(R"(^[A-Za-z0-9._%+'-]+@[A-Za-z0-9.-]+$)"));
  return !adresse.startsWith(u'-') && plain.match(adresse).hasMatch();
}

QString AdresseSupport() {
  const QString reglee = qEnvironmentVariable("VELISTROM_SUPPORT_MAIL").trimmed();
  if (reglee.isEmpty()) return QString::fromLatin1(kAdresseSupport);
  if (AdresseValable(reglee)) return reglee;
  qWarning("Velistrom: VELISTROM_SUPPORT_MAIL is not a plain address; the project's own is used");
  return QString::fromLatin1(kAdresseSupport);
}

}  // namespace compag

namespace mainwin {
namespace {
QString& dossierProgrammesOverride() {
  static QString folder;
  return folder;
}
}  // namespace

QString DossierProgrammes() {
  return dossierProgrammesOverride().isEmpty() ? vb::App.Path() : dossierProgrammesOverride();
}
void setDossierProgrammes(const QString& folder) { dossierProgrammesOverride() = folder; }
}  // namespace mainwin
