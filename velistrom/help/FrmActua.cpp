#include "velistrom/help/FrmActua.h"

#include "velistrom/help/WebGeom.h"
#include "velistrom/core/GlobTextes.h"

#include <QShortcut>
#include <QWidget>

#include <algorithm>

namespace {
constexpr int kToucheQ = 81;  // Q
}  // namespace

FrmActua::FrmActua() : vb::Form("FrmActua"), Webre1(*this, "Webre1"), CdeQuit(*this, "CdeQuit") {
  setWidth(12000);
  setHeight(9000);
  setKeyPreview(true);
  Webre1.Move(0, 0, 12000, 8000);
  CdeQuit.Move(10450, 60, 1500, 375);
  CdeQuit.onClick = [this] { CdeQuit_Click(); };
  onKeyDown = [this](int& KeyCode, int Shift) { Form_KeyDown(KeyCode, Shift); };
  // The page keeps the keys it has the focus for; Ctrl+Q still reaches the window.
  auto* quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), widget());
  quit->setContext(Qt::WindowShortcut);
  QObject::connect(quit, &QShortcut::activated, widget(), [this] {
    int KeyCode = kToucheQ;
    Form_KeyDown(KeyCode, 2);
  });
  Webre1.onNavigateComplete = [](bool ok) {
    if (!ok) help::PageIndisponible(gLng200);
  };
}

void FrmActua::Form_Load() {
  const QRect g = help::GeomActua(vb::Screen.Width(), vb::Screen.Height(), vb::Screen.TwipsPerPixelX(),
                                  vb::Screen.TwipsPerPixelY());
  Move(g.left(), g.top(), g.width(), g.height());
  setCaption("Velistrom news");
  Webre1.Move(0, 0, Width(), int(ScaleHeight()));
  CdeQuit.setLeft(std::max(0, Width() - CdeQuit.Width() - 50));
  CdeQuit.setCaption(gTxtQuitter);
  CdeQuit.ZOrder(0);
  // A page that cannot be shown would otherwise end the program.
  try {
    Webre1.Navigate(gLng200);
  } catch (const std::exception&) {
    help::PageIndisponible(gLng200);
  }
}

void FrmActua::Form_KeyDown(int& KeyCode, int Shift) {
  if (KeyCode == kToucheQ && Shift == 2) vb::Unload(*this);
}

void FrmActua::CdeQuit_Click() { vb::Unload(*this); }
