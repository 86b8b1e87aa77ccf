// Clipboard and printing: the automatic copy of a new capture, the copy
// command, the notice timer, and printing into a PDF that poppler renders
// back at 144 dpi, where one pixel is 10 twips.
#include "tests/velistrom/mainwin/SauvFixture.h"

#include "platform/Clipboard.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <functional>
#include <utility>

namespace cb = platform::clipboard;
using sauvtest::Motif;

namespace {

QImage Rgb(const QImage& i) { return i.convertToFormat(QImage::Format_RGB32); }

// ---------------------------------------------------------------- clipboard

class CopiePP : public sauvtest::SauvFixture {
 protected:
  void SetUp() override {
    SauvFixture::SetUp();
    m->Picture2.setAutoSize(true);
    m->Picture2.setPicture(vue);
    m->Picture1.setPicture(ecran);
  }
  const QImage vue = Motif(30, 20, Qt::red);
  const QImage ecran = Motif(64, 48, Qt::blue);
};

TEST_F(CopiePP, TheSwitchAndTheKindDecideWhatGoesOnTheClipboard) {
  struct Case {
    const char* pasCopie;
    const char* kind;
    bool copie, deFenetre;
  } cases[] = {
      {"0", "z", true, true},   {"0", "f", true, true},  {"0", "e", true, false},
      {"1", "z", false, false}, {"1", "e", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.pasCopie) + " " + c.kind);
    m->Labdeja.setVisible(false);
    m->Labdeja2.setVisible(false);
    m->Labdeja.Move(900, 900);
    m->Labdeja2.Move(900, 900);
    m->Timdeja.setEnabled(false);
    cb::setText("the user's own text");
    gPasCopiePP = c.pasCopie;
    QString kind = c.kind;
    m->CopiePP(kind);
    EXPECT_EQ(kind, c.kind);
    if (!c.copie) {
      // Switched off: the clipboard is emptied all the same (an older content
      // would pass for the new capture) and nothing is shown.
      EXPECT_TRUE(cb::text().isEmpty());
      EXPECT_FALSE(cb::hasPicture());
      EXPECT_FALSE(m->Labdeja.Visible() || m->Labdeja2.Visible() || m->Timdeja.Enabled());
      continue;
    }
    ASSERT_TRUE(cb::hasPicture());
    EXPECT_EQ(Rgb(cb::picture()), c.deFenetre ? vue : ecran);
    vb::Label& notice = c.deFenetre ? m->Labdeja : m->Labdeja2;
    vb::Label& autre = c.deFenetre ? m->Labdeja2 : m->Labdeja;
    EXPECT_TRUE(notice.Visible());
    EXPECT_EQ(notice.Left(), 50);
    EXPECT_EQ(notice.Top(), 50);
    EXPECT_FALSE(autre.Visible());
    EXPECT_TRUE(m->Timdeja.Enabled());
  }
}

// The notice goes at the next tick, unless the editor's program runs (here:
// this very test program stands for it).
TEST_F(CopiePP, TheNoticeStaysWhileTheEditorRuns) {
  QString kind = "z";
  m->CopiePP(kind);
  gNomExeEdit = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
  m->Timdeja_Timer();
  EXPECT_TRUE(m->Labdeja.Visible());
  EXPECT_TRUE(m->Timdeja.Enabled());
  gNomExeEdit = "no-such-editor";
  m->Timdeja_Timer();
  EXPECT_FALSE(m->Labdeja.Visible() || m->Labdeja2.Visible());
  EXPECT_FALSE(m->Timdeja.Enabled());
}

TEST_F(CopiePP, TheCopyCommandTakesTheCurrentBitmapAndLeavesTheFrozenScreen) {
  const QImage gel = Motif(80, 60, Qt::gray);
  m->PictReserv.setPicture(gel);
  Ajouter(Motif(20, 10, Qt::green));
  Ajouter(Motif(12, 12, Qt::yellow));
  gNumCapt = 1;
  gPasCopiePP = "1";  // does not apply to the command
  m->Buttcopier();
  EXPECT_EQ(Rgb(cb::picture()), Motif(20, 10, Qt::green));
  EXPECT_EQ(Rgb(m->PictReserv.Picture()), gel);
  EXPECT_FALSE(m->Labdeja.Visible() || m->Labdeja2.Visible());

  // No current capture: the clipboard stays as it is.
  cb::setText("kept");
  gNumCapt = 0;
  m->Buttcopier();
  EXPECT_EQ(cb::text(), "kept");
}

// ---------------------------------------------------------------- printing

// The first page of a PDF, rendered by pdftoppm at 144 dpi (10 twips a pixel).
QImage Page(const QString& pdf) {
  const QString prefix = pdf + "-page";
  QProcess p;
  p.start("pdftoppm", {"-r", "144", "-f", "1", "-l", "1", "-png", pdf, prefix});
  if (!p.waitForFinished(30000) || p.exitCode() != 0) return {};
  const QFileInfo info(pdf);
  const QStringList pages = QDir(info.path()).entryList({info.fileName() + "-page*.png"}, QDir::Files, QDir::Name);
  return pages.isEmpty() ? QImage() : Rgb(QImage(info.path() + "/" + pages.first()));
}

QString TexteDe(const QString& pdf) {
  QProcess p;
  p.start("pdftotext", {pdf, "-"});
  if (!p.waitForFinished(30000)) return {};
  return QString::fromUtf8(p.readAllStandardOutput());
}

template <typename Match>
QRect Zone(const QImage& page, QRect dans, Match match) {
  QRect box;
  dans &= page.rect();
  for (int y = dans.top(); y <= dans.bottom(); ++y)
    for (int x = dans.left(); x <= dans.right(); ++x)
      if (match(page.pixel(x, y))) box |= QRect(x, y, 1, 1);
  return box;
}

bool Encre(QRgb c) { return qRed(c) < 230 || qGreen(c) < 230 || qBlue(c) < 230; }
bool Sombre(QRgb c) { return qRed(c) < 110 && qGreen(c) < 110 && qBlue(c) < 110; }

class Imprimer : public sauvtest::SauvFixture {
 protected:
  void SetUp() override {
    SauvFixture::SetUp();
    vb::setWallClock([] { return QDateTime(QDate(2026, 3, 4), QTime(10, 30, 45)); });
  }
  QString Pdf() const { return testenv::home() + "/out.pdf"; }
};

}  // namespace

TEST(ImpressionCadre, TenThousandTwipsIsTheWidestOwnSize) {
  struct Case {
    bool ecran;
    int w, h;
    sauv::Cadre attendu;
  } cases[] = {
      {false, 9990, 600, {800, 2000, 9990, 600}},
      {false, 10000, 600, {800, 2000, 10000, 600}},
      {false, 10001, 600, {800, 2000, 10000, 600}},
      {false, 20000, 15000, {800, 2000, 10000, 7500}},
      {true, 6000, 4500, {800, 2000, 10000, 7500}},
      {true, 28800, 16200, {800, 2000, 10000, 5625}},
  };
  for (const Case& c : cases) {
    const sauv::Cadre r = sauv::CadreImpression(c.ecran, c.w, c.h);
    EXPECT_EQ(std::tie(r.x, r.y, r.largeur, r.hauteur),
              std::tie(c.attendu.x, c.attendu.y, c.attendu.largeur, c.attendu.hauteur))
        << c.w << (c.ecran ? " whole screen" : "");
  }
  EXPECT_EQ(sauv::EnteteProposee("Screen capture of ", "04/03/2026", " at ", "10:30:45"),
            "Screen capture of 04/03/2026 at 10:30:45  -  V e l i s t r o m");
}

// Header at 3000 x 1000 twips, picture at 800 x 2000 twips, from the
// capture's own bitmap at 100 per cent: below, at (667 pixels = 10005
// twips, the first width past 10000) and above the limit, and a whole-screen
// capture, which always takes 10000 twips, whatever label or view.
TEST_F(Imprimer, HeaderAndPictureStandWhereTheTwipsSay) {
  struct Case {
    int w, h;
    const char* mode;
    int largeurPx, hauteurPx;  // expected, at 10 twips a pixel
  } cases[] = {
      {200, 100, "z", 300, 150},
      {666, 40, "f", 999, 60},
      {667, 40, "z", 1000, 60},
      {800, 300, "z", 1000, 375},
      {320, 180, "e", 1000, 563},
  };
  const QString entete = sauv::EnteteProposee(gLng121, "04/03/2026", gLng122, "10:30:45");
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.w) + c.mode);
    capt::resetList();
    Ajouter(Motif(c.w, c.h, Qt::red), c.mode);
    // The view at another zoom and another picture: printing ignores it.
    m->Picture2.setPicture(Motif(10, 10, Qt::green));
    m->Picture1.setPicture(Motif(10, 10, Qt::green));
    QFile::remove(Pdf());
    testenv::dialogs().expectInputBox(gLng209, entete);
    testenv::dialogs().expectPrinterDialog(true, Pdf());
    m->Imprimer();
    const QImage page = Page(Pdf());
    ASSERT_FALSE(page.isNull());
    const QRect image = Zone(page, QRect(0, 190, page.width(), page.height()), Encre);
    EXPECT_NEAR(image.left(), 80, 1);
    EXPECT_NEAR(image.top(), 200, 1);
    EXPECT_NEAR(image.width(), c.largeurPx, 2);
    EXPECT_NEAR(image.height(), c.hauteurPx, 2);
    const QRect texte = Zone(page, QRect(0, 0, page.width(), 190), Sombre);
    EXPECT_NEAR(texte.left(), 300, 4);
    EXPECT_GE(texte.top(), 100);
    EXPECT_LE(texte.top(), 112);
    // (pdftotext gives runs of blanks as one)
    EXPECT_TRUE(TexteDe(Pdf()).simplified().contains(entete.simplified())) << TexteDe(Pdf()).toStdString();
  }
}

TEST_F(Imprimer, AnEmptyHeaderStillPrintsTheCapture) {
  Ajouter(Motif(100, 50, Qt::red));
  testenv::dialogs().expectInputBox(gLng209, QString(""));
  testenv::dialogs().expectPrinterDialog(true, Pdf(), 2);
  m->Imprimer();
  const QImage page = Page(Pdf());
  ASSERT_FALSE(page.isNull());
  EXPECT_NEAR(Zone(page, QRect(0, 190, page.width(), page.height()), Encre).width(), 150, 2);
  EXPECT_TRUE(Zone(page, QRect(0, 0, page.width(), 190), Sombre).isNull());
  EXPECT_EQ(m->CDlg1.Copies(), 2);
}

// The scripted boxes, with something happening while the header box is open
// (the hotkey poll keeps running under a modal box).
class PendantEntete : public vb::DialogService {
 public:
  explicit PendantEntete(std::function<void()> f) : pendant_(std::move(f)) {}
  int msgBox(const QString& p, int b, const QString& t) override { return testenv::dialogs().msgBox(p, b, t); }
  std::optional<QString> inputBox(const QString& p, const QString& t, const QString& d) override {
    if (pendant_) std::exchange(pendant_, nullptr)();
    return testenv::dialogs().inputBox(p, t, d);
  }
  std::optional<QString> fileDialog(int k, const vb::CommonDialog& d) override {
    return testenv::dialogs().fileDialog(k, d);
  }
  bool printerDialog(vb::CommonDialog& d) override { return testenv::dialogs().printerDialog(d); }

 private:
  std::function<void()> pendant_;
};

// A whole-screen capture taken by hotkey while the header box is open becomes
// the current one; the region being printed keeps its own size on the page.
TEST_F(Imprimer, ACaptureTakenDuringTheBoxesDoesNotChangeThePrintedSize) {
  Ajouter(Motif(200, 100, Qt::red), "z");
  PendantEntete service([this] { Ajouter(Motif(320, 180, Qt::blue), "e"); });
  vb::setDialogService(&service);
  testenv::dialogs().expectInputBox(gLng209, QString("header"));
  testenv::dialogs().expectPrinterDialog(true, Pdf());
  m->Imprimer();
  vb::setDialogService(&testenv::dialogs());
  const QImage page = Page(Pdf());
  ASSERT_FALSE(page.isNull());
  const QRect image = Zone(page, QRect(0, 190, page.width(), page.height()), Encre);
  EXPECT_NEAR(image.width(), 300, 2);
  EXPECT_NEAR(image.height(), 150, 2);
}

TEST_F(Imprimer, CancellingEitherBoxPrintsNothing) {
  Ajouter(Motif(100, 50, Qt::red));
  testenv::dialogs().expectInputBox(gLng209, std::nullopt);
  m->Imprimer();  // no printer dialog after a cancelled header
  EXPECT_FALSE(QFile::exists(Pdf()));

  testenv::dialogs().expectInputBox(gLng209, QString("header"));
  testenv::dialogs().expectPrinterDialog(false, Pdf());
  m->Imprimer();
  EXPECT_FALSE(QFile::exists(Pdf()));
  EXPECT_FALSE(m->CDlg1.CancelError());

  gNumCapt = 0;
  m->Imprimer();  // no current capture: no box at all
}
