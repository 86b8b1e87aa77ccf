#include "velistrom/helpers/CursTransp.h"

#include "platform/WindowMask.h"

#include <QColor>
#include <QVariant>
#include <QWidget>

namespace {

// The key colour a window had last, kept across switching off and on.
const char* const kLastKey = "velistrom_lastColourKey";

void setKey(QWidget* form, quint32 bgr) {
  QWidget* window = form->window();
  window->setProperty(kLastKey, bgr);
  platform::setColourKey(window, BgrToRgb(bgr));
}

}  // namespace

quint32 BgrToRgb(quint32 colour) {
  return qRgb(int(colour & 0xff), int((colour >> 8) & 0xff), int((colour >> 16) & 0xff));
}

void CoulTransp(QWidget* form, quint32 colour, quint8 /*alpha*/) {
  if (!form) return;
  setKey(form, colour);
}

void BascTransp(QWidget* form, bool switchOn, std::optional<quint32> colour) {
  if (!form) return;
  QWidget* window = form->window();
  if (switchOn) {
    const QVariant last = window->property(kLastKey);
    setKey(window, colour.value_or(last.isValid() ? last.toUInt() : 0u));
  } else {
    platform::clearColourKey(window);
  }
  window->update();
}
