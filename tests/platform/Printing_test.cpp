// The printer, printing into a PDF that poppler renders back at 72 dpi, where
// one pixel is one point, 20 twips.
#include "platform/Printing.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>

namespace {

// The pages of a PDF as pictures, rendered by pdftoppm at 72 dpi.
std::vector<QImage> renderPages(const QString& pdf) {
  const QString prefix = pdf + "-page";
  QProcess p;
  p.start("pdftoppm", {"-r", "72", "-png", pdf, prefix});
  if (!p.waitForFinished(30000) || p.exitCode() != 0) return {};
  std::vector<QImage> pages;
  const QFileInfo info(pdf);
  for (const QString& name :
       QDir(info.path()).entryList({info.fileName() + "-page*.png"}, QDir::Files, QDir::Name))
    pages.emplace_back(QImage(info.path() + "/" + name).convertToFormat(QImage::Format_RGB32));
  return pages;
}

// Bounding box of the pixels that satisfy `match`.
template <typename Match>
QRect boundsOf(const QImage& page, Match match) {
  QRect box;
  for (int y = 0; y < page.height(); ++y)
    for (int x = 0; x < page.width(); ++x)
      if (match(page.pixel(x, y))) box |= QRect(x, y, 1, 1);
  return box;
}

bool isRed(QRgb c) { return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60; }
bool isDark(QRgb c) { return qRed(c) < 110 && qGreen(c) < 110 && qBlue(c) < 110; }

class Printing : public ::testing::Test {
 protected:
  QString pdf() const { return dir_.filePath("out.pdf"); }
  QTemporaryDir dir_;
};

}  // namespace

// The header at 3000 x 1000 twips and a 200 x 100 pixel picture (3000 x 1500
// twips) at 800 x 2000 twips land where the twips say.
TEST_F(Printing, HeaderAndPictureStandWhereTheTwipsSay) {
  QImage red(200, 100, QImage::Format_RGB32);
  red.fill(qRgb(255, 0, 0));
  {
    platform::Printer printer;
    printer.setOutputPdf(pdf());
    printer.setCurrentX(3000);
    printer.setCurrentY(1000);
    ASSERT_TRUE(printer.print("Header 10/12/2026 - V e l i s t r o m"));
    EXPECT_EQ(printer.currentX(), 0);
    EXPECT_GT(printer.currentY(), 1000);  // on to the next line
    ASSERT_TRUE(printer.paintPicture(red, 800, 2000, 3000, 1500));
    ASSERT_TRUE(printer.endDoc());
  }
  const auto pages = renderPages(pdf());
  ASSERT_EQ(pages.size(), 1u);
  const QImage& page = pages[0];

  const QRect picture = boundsOf(page, isRed);
  EXPECT_NEAR(picture.left(), 40, 1);
  EXPECT_NEAR(picture.top(), 100, 1);
  EXPECT_NEAR(picture.width(), 150, 1);
  EXPECT_NEAR(picture.height(), 75, 1);

  // The header: dark pixels above the picture, starting at x = 150 pt, its
  // line's top at 50 pt, 10-point letters.
  const QRect header = boundsOf(page.copy(0, 0, page.width(), 100), isDark);
  EXPECT_NEAR(header.left(), 150, 2);
  EXPECT_GE(header.top(), 50);
  EXPECT_LE(header.top(), 54);
  EXPECT_LE(header.bottom(), 50 + 14);
  EXPECT_GT(header.width(), 150);  // the whole line, not a glyph or two
}

TEST_F(Printing, PictureIsScaledIntoItsRectangleAndPagesFollow) {
  QImage blue(40, 40, QImage::Format_RGB32);
  blue.fill(qRgb(0, 0, 255));
  int pageWidth = 0, pageHeight = 0;
  {
    platform::Printer printer;
    printer.setOutputPdf(pdf());
    pageWidth = printer.scaleWidth();
    pageHeight = printer.scaleHeight();
    ASSERT_TRUE(printer.paintPicture(blue, 1440, 1440, 2880, 1440));  // 2 x 1 inch
    ASSERT_TRUE(printer.newPage());
    ASSERT_TRUE(printer.paintPicture(blue, 0, 0, 720, 720));
    ASSERT_TRUE(printer.endDoc());
  }
  const auto pages = renderPages(pdf());
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_NEAR(pages[0].width(), pageWidth / 20.0, 1);  // a PDF prints its whole page
  EXPECT_NEAR(pages[0].height(), pageHeight / 20.0, 1);
  const auto isBlue = [](QRgb c) { return qBlue(c) > 200 && qRed(c) < 60; };
  const QRect first = boundsOf(pages[0], isBlue);
  EXPECT_NEAR(first.left(), 72, 1);
  EXPECT_NEAR(first.top(), 72, 1);
  EXPECT_NEAR(first.width(), 144, 1);
  EXPECT_NEAR(first.height(), 72, 1);
  const QRect second = boundsOf(pages[1], isBlue);
  EXPECT_NEAR(second.left(), 0, 1);
  EXPECT_NEAR(second.width(), 36, 1);
}

TEST_F(Printing, AFileThatCannotBeWrittenFailsWithAReason) {
  platform::Printer printer;
  printer.setOutputPdf(dir_.filePath("no/such/folder/out.pdf"));
  EXPECT_FALSE(printer.print("header"));
  EXPECT_FALSE(printer.errorString().isEmpty());
  EXPECT_TRUE(printer.endDoc());  // nothing started, nothing to send
  QImage pic(2, 2, QImage::Format_RGB32);
  EXPECT_FALSE(printer.paintPicture(pic, 0, 0, 0, 100));  // no size
}

TEST_F(Printing, CopiesReachTheDeviceAndKillDocSendsNothing) {
  platform::Printer printer;
  printer.setOutputPdf(pdf());
  printer.setCopies(3);
  EXPECT_EQ(printer.copies(), 3);
  EXPECT_EQ(printer.device().copyCount(), 3);
  printer.setCopies(0);
  EXPECT_EQ(printer.copies(), 1);
  ASSERT_TRUE(printer.print("draft"));
  printer.killDoc();
  EXPECT_FALSE(QFile::exists(pdf()));
  EXPECT_TRUE(printer.endDoc());
}
