#include "platform/Tray.h"

#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <QSystemTrayIcon>

namespace platform {

bool TrayIcon::available() {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return false;
  return QSystemTrayIcon::isSystemTrayAvailable();
}

std::vector<int> TrayIcon::codesFor(int activationReason) {
  switch (activationReason) {
    case QSystemTrayIcon::Trigger:
      return {kLeftDown, kLeftUp};
    case QSystemTrayIcon::DoubleClick:
      return {kLeftDoubleClick, kLeftUp};
    case QSystemTrayIcon::Context:
      return {kRightDown, kRightUp};
    case QSystemTrayIcon::MiddleClick:
      return {kMiddleDown, kMiddleUp};
    default:
      return {};
  }
}

std::unique_ptr<TrayIcon> TrayIcon::add(const QImage& icon, const QString& tip, Handler onMouse) {
  if (!available()) return nullptr;
  std::unique_ptr<TrayIcon> tray(new TrayIcon);
  tray->onMouse_ = std::move(onMouse);
  tray->icon_ = std::make_unique<QSystemTrayIcon>();
  QImage picture = icon;
  if (picture.isNull()) {  // a tray entry needs some picture to be shown at all
    picture = QImage(22, 22, QImage::Format_ARGB32);
    picture.fill(Qt::darkBlue);
  }
  tray->icon_->setIcon(QIcon(QPixmap::fromImage(picture)));
  tray->setToolTip(tip);
  TrayIcon* self = tray.get();
  QObject::connect(tray->icon_.get(), &QSystemTrayIcon::activated, tray->icon_.get(),
                   [self](QSystemTrayIcon::ActivationReason reason) { self->simulate(int(reason)); });
  tray->icon_->show();
  return tray;
}

TrayIcon::~TrayIcon() { remove(); }

QString TrayIcon::toolTip() const { return icon_ ? icon_->toolTip() : QString(); }

void TrayIcon::setToolTip(const QString& tip) {
  if (icon_) icon_->setToolTip(tip.left(kMaxTip));
}

bool TrayIcon::visible() const { return icon_ && icon_->isVisible(); }

void TrayIcon::remove() {
  if (icon_) icon_->hide();
}

void TrayIcon::simulate(int activationReason) {
  for (int code : codesFor(activationReason)) {
    // A handler may remove the icon (quitting from the tray menu): stop there.
    if (!onMouse_ || !visible()) return;
    onMouse_(code);
  }
}

}  // namespace platform
