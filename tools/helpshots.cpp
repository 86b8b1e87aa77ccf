// helpshots OUTDIR LANGFILE...: draws the pictures of the interactive help
// window (three pages and five menus per language, named by the language's
// help texts) and of the three picture help windows, as JPEG files in OUTDIR.
// Each picture is a rendering of real widgets laid out so that every part the
// help explains falls inside its hover zone (velistrom/help/AideZones.cpp);
// OUTDIR/helpshots.txt lists each part's rectangle ("picture zone x y w h"),
// so a test can check the two against each other. Run offscreen by the build
// after the toolbar pictures and the language files exist.
#include "common/LangFile.h"
#include "velistrom/help/AideZones.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTextStream>
#include <QToolButton>

#include <cstdio>
#include <functional>

namespace {

const char* const kToolbar[20] = {"camera.bmp",  "camerag.bmp", "toutecran.bmp", "camerafen.bmp", "undox.bmp",
                                  "moverbox.bmp", "moverboxtim.bmp", "copy.bmp", "deletex.bmp", "waste.bmp",
                                  "savex.bmp",   "saveallx.bmp", "printerx.bmp", "paintx.bmp", "multiselx.bmp",
                                  "agrandir.bmp", "filmx.bmp",  "wrench.bmp",    "report.bmp",  "closex.bmp"};

// A zone's box shrunk by one pixel on each side: the zone's edges are excluded.
QRect Inside(const help::Zone& z) { return QRect(z.left + 1, z.top + 1, z.right - z.left - 1, z.bottom - z.top - 1); }

QString Clean(QString s) { return s.remove(u'&'); }

struct Shots {
  QString out;
  QString bin;
  QTextStream* list;

  // Renders the page and records where its parts went.
  bool Save(QWidget& page, const QString& name, const std::vector<std::pair<int, QWidget*>>& parts) {
    page.ensurePolished();
    const QImage img = page.grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (const auto& [zone, w] : parts) {
      const QRect r = w->geometry();
      *list << name << ' ' << zone << ' ' << r.x() << ' ' << r.y() << ' ' << r.width() << ' ' << r.height() << '\n';
    }
    if (!img.save(QDir(out).filePath(name + ".jpg"), "JPEG", 92)) {
      std::fprintf(stderr, "helpshots: cannot write %s\n", qPrintable(name));
      return false;
    }
    return true;
  }

  QIcon Face(int button) const { return QIcon(QPixmap(QDir(bin).filePath(kToolbar[button]))); }

  // The main window: title, menu bar, toolbar, a capture shown.
  bool Page0(const lang::LangTexts& t, const QString& name) {
    QWidget page;
    page.setFixedSize(help::TaillePage(0));
    page.setAutoFillBackground(true);
    auto* title = new QLabel(QStringLiteral("  Velistrom"), &page);
    title->setGeometry(0, 0, page.width(), 20);
    title->setStyleSheet("background:#1F4E79;color:white;font-weight:bold");
    std::vector<std::pair<int, QWidget*>> parts;
    const int menus[help::kMenus] = {2, 7, 14, 34, 17};
    for (int k = 0; k < help::kMenus; ++k) {
      const help::MenuTitre& m = help::MenusPage0()[k];
      auto* l = new QLabel(Clean(t.txtLng[menus[k]]), &page);
      l->setGeometry(m.from + 2, 24, m.to - m.from - 3, 22);
      l->setAlignment(Qt::AlignCenter);
      parts.push_back({100 + k, l});
    }
    const auto& zones = help::ZonesPage(0);
    for (int i = 0; i < int(zones.size()); ++i) {
      auto* b = new QToolButton(&page);
      b->setIcon(Face(i));
      const QRect r = Inside(zones[i]);
      b->setGeometry(r);
      b->setIconSize(QSize(std::min(24, r.width() - 4), std::min(24, r.height() - 4)));
      b->setAutoRaise(true);
      parts.push_back({i, b});
    }
    auto* area = new QLabel(&page);
    area->setGeometry(4, 82, 552, page.height() - 86);
    QImage capture(area->size(), QImage::Format_RGB32);
    {
      QPainter p(&capture);
      QLinearGradient g(0, 0, capture.width(), capture.height());
      g.setColorAt(0, QColor(0xDE, 0xEB, 0xF7));
      g.setColorAt(1, QColor(0x9D, 0xC3, 0xE6));
      p.fillRect(capture.rect(), g);
      p.setPen(QPen(QColor(0x2E, 0x75, 0xB6), 2, Qt::DashLine));
      p.drawRect(60, 40, 300, 150);
    }
    area->setPixmap(QPixmap::fromImage(capture));
    area->setFrameShape(QFrame::StyledPanel);
    return Save(page, name, parts);
  }

  // A drop-down menu of page 0: its entries, 17 pixels apart.
  bool Menu(const lang::LangTexts& t, int k, const QString& name) {
    static const std::vector<std::vector<int>> entries = {
        {3, 4, 5, 6}, {8, 9, 10, 11, 12, 13, 32}, {15, 16, 256, 184, 185, 186, 214}, {35, 36, 37, 38},
        {18, 204, -1, 22, 23}};
    QWidget page;
    page.setFixedSize(help::TailleMenu(k));
    page.setStyleSheet("background:white");
    auto* frame = new QFrame(&page);
    frame->setGeometry(page.rect());
    frame->setFrameShape(QFrame::Box);
    std::vector<std::pair<int, QWidget*>> parts;
    for (int j = 0; j < int(entries[k].size()); ++j) {
      const int e = entries[k][j];
      auto* l = new QLabel(Clean(e < 0 ? t.txtLng[187] + t.txtLng[201] : t.txtLng[e]), &page);
      l->setGeometry(6, j * help::kRowHeight + 1, page.width() - 12, help::kRowHeight - 2);
      parts.push_back({j, l});
    }
    return Save(page, name, parts);
  }

  // The thumbnail window: a column of thumbnails with their tick boxes and sizes.
  bool Page1(const QString& name) {
    QWidget page;
    page.setFixedSize(help::TaillePage(1));
    page.setAutoFillBackground(true);
    const auto& z = help::ZonesPage(1);
    std::vector<std::pair<int, QWidget*>> parts;
    auto place = [&](int zone, QWidget* w) {
      w->setGeometry(Inside(z[zone]));
      parts.push_back({zone, w});
    };
    auto* column = new QFrame(&page);
    column->setFrameShape(QFrame::StyledPanel);
    column->setStyleSheet("background:#DEEBF7");
    place(0, column);
    auto* bar = new QScrollBar(Qt::Vertical, &page);
    place(1, bar);
    for (int i = 2; i <= 8; ++i) place(i, new QCheckBox(&page));
    const char* sizes[8] = {"420x260", "1920x1080", "640x480", "300x200", "800x600", "1024x768", "256x256", "512x384"};
    for (int i = 9; i <= 16; ++i) {
      auto* l = new QLabel(QString::fromLatin1(sizes[i - 9]), &page);
      l->setStyleSheet("font-size:8px");
      place(i, l);
    }
    for (int i = 17; i <= 21; ++i) {
      auto* b = new QToolButton(&page);
      b->setIcon(Face(i < 20 ? 7 + i - 17 : 10 + i - 20));
      b->setIconSize(QSize(8, 8));
      place(i, b);
    }
    return Save(page, name, parts);
  }

  // The options dialog: hotkeys, prefix, switches, quality, editor, formats.
  bool Page2(const lang::LangTexts& t, const QString& name) {
    QWidget page;
    page.setFixedSize(help::TaillePage(2));
    page.setAutoFillBackground(true);
    auto* title = new QLabel(QStringLiteral("  ") + Clean(t.txtLng[89]), &page);
    title->setGeometry(0, 0, page.width(), 20);
    title->setStyleSheet("background:#1F4E79;color:white;font-weight:bold");
    const auto& z = help::ZonesPage(2);
    std::vector<std::pair<int, QWidget*>> parts;
    auto place = [&](int zone, QWidget* w) {
      w->setGeometry(Inside(z[zone]));
      parts.push_back({zone, w});
    };
    place(0, new QLabel(Clean(t.txtLng[84]) + "   Ctrl + Z      " + Clean(t.txtLng[87]) + "   Ctrl + E", &page));
    place(1, new QLabel(Clean(t.txtLng[71]) + "   Capt", &page));
    const int checks[6] = {75, 76, 77, 78, 79, 80};
    for (int i = 0; i < 6; ++i) place(2 + i, new QCheckBox(Clean(t.txtLng[checks[i]]), &page));
    auto* quality = new QSlider(Qt::Horizontal, &page);
    quality->setRange(1, 9);
    quality->setValue(7);
    place(8, quality);
    place(9, new QLineEdit(Clean(t.txtLng[90]) + " /usr/bin/gimp", &page));
    auto* formats = new QGroupBox(QStringLiteral("BMP / JPEG / GIF / PNG"), &page);
    place(10, formats);
    place(11, new QPushButton(QStringLiteral("OK"), &page));
    place(12, new QPushButton(Clean(t.txtLng[88]), &page));
    place(13, new QPushButton(Clean(t.txtLng[70]), &page));
    return Save(page, name, parts);
  }

  // The three picture help windows: one toolbar face large, with its neighbours.
  bool Picture(const QString& name, int first) {
    QWidget page;
    page.setFixedSize(320, 200);
    page.setAutoFillBackground(true);
    for (int i = 0; i < 4; ++i) {
      auto* b = new QToolButton(&page);
      b->setIcon(Face(first + i));
      b->setIconSize(QSize(48, 48));
      b->setGeometry(20 + i * 72, 70, 60, 60);
    }
    return Save(page, name, {});
  }
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: helpshots OUTDIR LANGFILE...\n");
    return 2;
  }
  const QString out = QString::fromLocal8Bit(argv[1]);
  QFile listFile(QDir(out).filePath("helpshots.txt"));
  if (!listFile.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 1;
  QTextStream list(&listFile);
  Shots shots{out, out, &list};
  bool ok = shots.Picture("aide_fn", 0) && shots.Picture("aide_fv", 8) && shots.Picture("aide_opt", 14);
  for (int a = 2; a < argc; ++a) {
    QFile f(QString::fromLocal8Bit(argv[a]));
    if (!f.open(QIODevice::ReadOnly)) {
      std::fprintf(stderr, "helpshots: cannot read %s\n", argv[a]);
      return 1;
    }
    const lang::LangRead read = lang::readLangFile(f.readAll());
    if (!read.ok()) {
      std::fprintf(stderr, "helpshots: %s: %s\n", argv[a], qPrintable(lang::describe(*read.failure)));
      return 1;
    }
    const lang::LangTexts& t = read.texts;
    ok = ok && shots.Page0(t, t.txtAide[67]) && shots.Page1(t.txtAide[68]) && shots.Page2(t, t.txtAide[69]);
    for (int k = 0; k < help::kMenus; ++k) ok = ok && shots.Menu(t, k, t.txtAide[46 + k]);
  }
  return ok ? 0 : 1;
}
