// The clipboard on a real X server, read and written by another client (xclip).
#include <gtest/gtest.h>

#include <QBuffer>
#include <QProcess>

#include "platform/Clipboard.h"
#include "tests/platform/PictureFixtures.h"
#include "tests/support/OtherClient.h"

namespace cb = platform::clipboard;

using testsupport::xclipOutput;

TEST(ClipboardX11, AnotherClientReadsOurPictureAsPngAndOurText) {
  const QImage pic = fixtures::knownPixels();
  cb::setPicture(pic);
  const QByteArray png = xclipOutput({"-selection", "clipboard", "-t", "image/png", "-o"});
  ASSERT_TRUE(png.startsWith("\x89PNG"));
  QImage back;
  ASSERT_TRUE(back.loadFromData(png, "PNG"));
  EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), pic);

  cb::setText("Capture 03 - Velistrom");
  EXPECT_EQ(xclipOutput({"-selection", "clipboard", "-o"}), "Capture 03 - Velistrom");
}

TEST(ClipboardX11, WeReadAPictureAnotherClientOffers) {
  const QImage pic = fixtures::colourBlocks();
  QByteArray png;
  {
    QBuffer buf(&png);
    buf.open(QIODevice::WriteOnly);
    ASSERT_TRUE(pic.save(&buf, "PNG"));
  }
  // -quiet keeps xclip in the foreground, serving until someone else owns the
  // clipboard; it is our child and we end it ourselves.
  QProcess xclip;
  xclip.start("xclip", {"-quiet", "-selection", "clipboard", "-t", "image/png", "-i"});
  ASSERT_TRUE(xclip.waitForStarted(5000));
  xclip.write(png);
  xclip.closeWriteChannel();
  QImage got;
  EXPECT_TRUE(testsupport::waitFor([&] { return !(got = cb::picture()).isNull(); }, 10000));
  EXPECT_EQ(got.convertToFormat(QImage::Format_RGB32), pic);
  cb::setText("taken back");  // xclip loses the selection and ends
  if (!xclip.waitForFinished(3000)) {
    xclip.kill();
    xclip.waitForFinished(1000);
  }
}
