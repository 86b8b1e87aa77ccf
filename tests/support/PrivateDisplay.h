#pragma once
// An X server of the test's own (Xvfb with openbox) for a program run as a
// process: unlike the shared display, it can be killed under the program.
// Every query opens a connection of its own and closes it again, so the test
// holds nothing on the server when it goes.
#include <QProcess>
#include <QSize>
#include <QString>

namespace testsupport {

class PrivateDisplay {
 public:
  PrivateDisplay() = default;
  ~PrivateDisplay();
  PrivateDisplay(const PrivateDisplay&) = delete;
  PrivateDisplay& operator=(const PrivateDisplay&) = delete;

  // Xvfb and openbox are installed; without them the test should skip.
  static bool available();
  // False when the server or the window manager did not come up; failure() says which.
  bool start(QSize size = QSize(1024, 768));
  const QString& failure() const { return failure_; }
  const QString& name() const { return name_; }  // ":N"

  // The server goes at once, as one that crashed does.
  void kill();

  // A viewable top-level window covers the whole screen (a full-screen
  // overlay, or the frame openbox gives it).
  bool screenCovered() const;

 private:
  bool accepts() const;
  bool windowManagerReady() const;

  QProcess server_, windowManager_;
  QString name_, failure_;
  QSize size_;
};

}  // namespace testsupport
