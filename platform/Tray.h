#pragma once
// An icon in the desktop's notification area (system tray). Its activations
// reach the owner as the old tray mouse codes, so the window code decodes them
// as it always did: 513/514 left button down/up, 515 left double click,
// 516/517 right button down/up, 519/520 middle button down/up.
#include <QImage>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QSystemTrayIcon;

namespace platform {

class TrayIcon {
 public:
  enum Code : int {
    kMouseMove = 512,
    kLeftDown = 513,
    kLeftUp = 514,
    kLeftDoubleClick = 515,
    kRightDown = 516,
    kRightUp = 517,
    kMiddleDown = 519,
    kMiddleUp = 520,
  };
  // The old tip field held 64 characters with its terminating NUL.
  static constexpr int kMaxTip = 63;

  using Handler = std::function<void(int code)>;

  // True when a tray host runs on the desktop (a freedesktop system tray or a
  // StatusNotifier host).
  static bool available();
  // Shows an icon with the tip (cut to kMaxTip characters); nullptr when there
  // is no tray host or no GUI application. Each activation calls onMouse once
  // per code, in the order the old messages came.
  static std::unique_ptr<TrayIcon> add(const QImage& icon, const QString& tip, Handler onMouse);

  ~TrayIcon();
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  QString toolTip() const;
  void setToolTip(const QString& tip);
  bool visible() const;
  // Takes the icon out of the tray (the object may live on; a second call does nothing).
  void remove();

  // The codes an activation of the given QSystemTrayIcon::ActivationReason gives.
  static std::vector<int> codesFor(int activationReason);
  // Runs the handler as for that activation (tests).
  void simulate(int activationReason);

  QSystemTrayIcon* qtIcon() const { return icon_.get(); }

 private:
  TrayIcon() = default;
  std::unique_ptr<QSystemTrayIcon> icon_;
  Handler onMouse_;
};

}  // namespace platform
