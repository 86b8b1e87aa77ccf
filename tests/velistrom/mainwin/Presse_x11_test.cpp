// A new capture's automatic copy, read back by another X client (xclip).
#include "tests/support/OtherClient.h"
#include "tests/velistrom/mainwin/SauvFixture.h"

#include <QBuffer>

namespace {

using testsupport::xclipOutput;

class CopiePPX11 : public sauvtest::SauvFixture {};

}  // namespace

TEST_F(CopiePPX11, AnotherClientReadsTheCaptureAsPng) {
  const QImage vue = sauvtest::Motif(30, 20, Qt::red);
  m->Picture2.setAutoSize(true);
  m->Picture2.setPicture(vue);
  QString kind = "f";
  m->CopiePP(kind);
  const QByteArray png = xclipOutput({"-selection", "clipboard", "-t", "image/png", "-o"});
  ASSERT_TRUE(png.startsWith("\x89PNG"));
  QImage lue;
  ASSERT_TRUE(lue.loadFromData(png, "PNG"));
  EXPECT_EQ(lue.convertToFormat(QImage::Format_RGB32), vue);
}
