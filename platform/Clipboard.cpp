#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace platform::clipboard {
namespace {

// The clipboard needs a GUI application; without one every call does nothing.
QClipboard* board() {
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard()
                                                                      : nullptr;
}

}  // namespace

void clear() {
  if (auto* cb = board()) cb->clear();
}

void setPicture(const QImage& picture) {
  if (auto* cb = board()) cb->setImage(picture);
}

QImage picture() {
  auto* cb = board();
  return cb ? cb->image() : QImage();
}

bool hasPicture() {
  auto* cb = board();
  const QMimeData* data = cb ? cb->mimeData() : nullptr;
  return data && data->hasImage();
}

void setText(const QString& text) {
  if (auto* cb = board()) cb->setText(text);
}

QString text() {
  auto* cb = board();
  return cb ? cb->text() : QString();
}

}  // namespace platform::clipboard
