#include "velistrom/options/Saisie.h"

namespace options {

namespace {

// The characters the hotkey poll reads.
bool toucheValide(QChar c) { return (c >= u'1' && c <= u'9') || (c >= u'A' && c <= u'Z'); }

bool refusee(const QString& text) {
  if (text.isEmpty()) return false;
  const char16_t c = text[0].unicode();
  return c > 122 || c < 49 || (c > 57 && c < 65) || (c > 90 && c < 97);
}

}  // namespace

QString ToucheAcceptee(const QString& text, const QString& avant) {
  QString t = text;
  if (refusee(t)) t = refusee(avant) ? QString() : avant;
  return t.toUpper();
}

QString ChiffresSeuls(const QString& text) {
  QString out;
  for (QChar c : text)
    if (c >= u'0' && c <= u'9') out += c;
  return out;
}

Verdict Verifier(const ReglagesOptions& r) {
  if (SansSeparateurs(r.prefixe).size() < 4) return Verdict::PrefixeCourt;
  for (std::size_t i = 0; i < r.touches.size(); ++i) {
    if (r.touches[i].size() != 1 || !toucheValide(r.touches[i][0])) return Verdict::ToucheInvalide;
    for (std::size_t j = 0; j < i; ++j)
      if (r.touches[i] == r.touches[j]) return Verdict::ToucheInvalide;
  }
  if (RepSauveDeLigne(r.editeur).size() > kEditeurMax) return Verdict::EditeurTropLong;
  return Verdict::Accepte;
}

}  // namespace options
