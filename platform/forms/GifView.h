#pragma once
// The web-browser control where it only shows pictures: an animated GIF plays
// (QMovie), any other picture shows still, at the top left of the control.
#include "platform/forms/Controls.h"

#include <QImage>
#include <QString>

#include <memory>

class QMovie;

namespace vb {

class GifView : public Control {
 public:
  GifView(Container& parent, const QString& name);
  ~GifView() override;

  // Shows the picture file at `path`; a file that cannot be read leaves the
  // control blank. The file is read now, so it may change or go afterwards.
  void Navigate(const QString& path);
  // Reads the file shown again and starts it from its first frame.
  void Refresh() override;
  QString LocationURL() const { return path_; }

  // What is shown: the frame count of the animation (1 for a still picture, 0
  // for none) and the current frame.
  int frameCount() const;
  QImage currentImage() const;
  bool playing() const;

  std::unique_ptr<ArrayElement> cloneForArray_(ArrayElement* after) const override;

 private:
  void show_();
  QString path_;
  QByteArray bytes_;
  std::unique_ptr<QMovie> movie_;
  QImage still_;
};

}  // namespace vb
