#include "postelle/LienForum.h"

#include "common/EnvoiXmlRpc.h"

namespace lien {
namespace {

QString html(const QString& texte) { return texte.toHtmlEscaped(); }

// An HTML link to the page around an inner part, titled with the comment.
QString lienHtml(const QString& page, const QString& commentaire, const QString& dedans) {
  return "<a href=\"" + html(page) + "\" target=\"_blank\" title=\"" + html(commentaire) + "\">" +
         dedans + "</a>";
}

QString imageHtml(const QString& source, const QString& commentaire) {
  return "<img src=\"" + html(source) + "\" alt=\"" + html(commentaire) + "\" />";
}

QString lienBbcode(const QString& page, const QString& image) {
  return "[url=" + page + "][img]" + image + "[/img][/url]";
}

}  // namespace

QString extImage(const QString& cheminImage) { return cheminImage.right(4); }

QString adresseGrandeMiniature(const ValeursLien& v) {
  return v.adresseHote + "/miniature/" + v.idImage + v.extImage;
}

QString adressePetiteMiniature(const ValeursLien& v) {
  return v.adresseHote + "/avatar/" + v.idImage + v.extImage;
}

QString banniereHtml(const QString& adresseHote) { return adresseHote + "/zimage/zz.png"; }

QString banniereBbcode(const QString& adresseHote) { return adresseHote + "/images/zz.png"; }

QString CodeLien(int genre, const ValeursLien& v) {
  const QString page = envoi::adressePage(v.adresseHote, v.idImage);
  const QString& c = v.commentaire;
  switch (genre) {
    case 1: return lienHtml(page, c, imageHtml(adresseGrandeMiniature(v), c));
    case 2: return lienBbcode(page, adresseGrandeMiniature(v));
    case 3: return lienHtml(page, c, imageHtml(banniereHtml(v.adresseHote), c));
    case 4: return lienBbcode(page, banniereBbcode(v.adresseHote));
    case 5: return lienHtml(page, c, imageHtml(adressePetiteMiniature(v), c));
    case 6: return lienBbcode(page, adressePetiteMiniature(v));
    case 7: return lienHtml(page, c, html(v.titre));
    case 8: return page;
    default: return {};
  }
}

}  // namespace lien
