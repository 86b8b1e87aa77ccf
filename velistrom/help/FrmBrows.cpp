#include "velistrom/help/FrmBrows.h"

#include "platform/forms/Error.h"
#include "velistrom/help/WebGeom.h"
#include "velistrom/core/GlobTextes.h"

#include <QString>

#include <algorithm>

FrmBrows::FrmBrows() : vb::Form("FrmBrows"), WebBrowser1(*this, "WebBrowser1"), Cmdquitter(*this, "Cmdquitter") {
  setWidth(9600);
  setHeight(7200);
  WebBrowser1.Move(0, 0, 9100, 7200);
  Cmdquitter.setCaption("X");
  Cmdquitter.Move(9120, 120, 360, 1500);
  Cmdquitter.onClick = [this] { Cmdquitter_Click(); };
  // A page that does not load is offered to an outside browser too.
  WebBrowser1.onNavigateComplete = [](bool ok) {
    if (!ok) help::PageIndisponible(gLng202);
  };
}

void FrmBrows::Form_Load() {
  try {
    const QRect g = help::GeomBrows(vb::Screen.Width(), vb::Screen.Height());
    Move(g.left(), g.top(), g.width(), g.height());
    setWindowState(vb::vbNormal);
    setCaption(gLng189);
    WebBrowser1.Navigate(gLng202);
    WebBrowser1.setWidth(std::max(0, Width() - 500));
    WebBrowser1.setHeight(Height());
    Cmdquitter.Move(std::max(0, Width() - 480), 120, 360, 1500);
    Cmdquitter.setCaption(gTxtQuitter);
  } catch (const std::exception&) {
    // The rest of the loading is skipped: the window opens as it is.
    help::PageIndisponible(gLng202);
  }
}

void FrmBrows::Cmdquitter_Click() { vb::Unload(*this); }
