#pragma once
// The pictures and sounds that ship beside the program: one place finds them,
// honours a test's other folder, and says which file is missing.
#include <QImage>
#include <QString>
#include <QStringList>

namespace core {

// The folder of the pictures, icons and sounds: the program's folder unless a
// test set another (empty = the program's folder again).
QString DossierRessources();
void setDossierRessources(const QString& folder);

QString CheminRessource(const QString& file);
// The picture, or a null image when it is missing or unreadable; its name then
// joins `manquants` (once) and the log says which file it was.
QImage ChargerRessource(const QString& file, QStringList* manquants = nullptr);

}  // namespace core
