#pragma once
// The link code the posting window offers for a forum message: eight kinds in
// HTML or BBCode, built from the picture's id on the image host.
#include <QString>

namespace lien {

// What a link code is built from.
struct ValeursLien {
  QString adresseHote;  // the host's base address, no trailing slash
  QString idImage;      // checked with envoi::idImageValide
  QString extImage;     // ExtImage: the last four characters of the picture path
  QString commentaire;  // CommentImage
  QString titre;        // TitreImage, the file name
};

// ExtImage: the last four characters of the path (".jpg", "jpeg"), whatever they are.
QString extImage(const QString& cheminImage);

// The addresses built from the id.
QString adresseGrandeMiniature(const ValeursLien& v);  // host/miniature/id + ext
QString adressePetiteMiniature(const ValeursLien& v);  // host/avatar/id + ext
QString banniereHtml(const QString& adresseHote);      // host/zimage/zz.png
QString banniereBbcode(const QString& adresseHote);    // host/images/zz.png

// The text of kind 1 to 8; any other kind gives an empty text. The HTML kinds
// escape the comment and the title they insert, so a quote or an angle
// bracket cannot break the markup.
QString CodeLien(int genre, const ValeursLien& v);

}  // namespace lien
