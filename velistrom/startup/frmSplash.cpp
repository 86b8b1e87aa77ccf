#include "velistrom/startup/frmSplash.h"

#include "platform/Shell.h"
#include "platform/forms/Error.h"
#include "platform/forms/Runtime.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/startup/LangLoader.h"
#include "velistrom/startup/Relais.h"
#include "velistrom/startup/Splash.h"
#include "velistrom/startup/TipsDownload.h"

#include <QCursor>
#include <QFont>

#include <exception>

namespace {

constexpr int kLargeur = 15915;  // the banner, in twips
constexpr int kHauteur = 1590;

// The layout steps of the load: one that fails is skipped and the next runs.
template <class F>
void Etape(F&& step) {
  try {
    step();
  } catch (const vb::Error&) {
  } catch (const std::exception&) {
  }
}

}  // namespace

FrmSplash::FrmSplash()
    : vb::Form("frmSplash"),
      Frame1(*this, "Frame1"),
      Timstart(*this, "Timstart", 250, false),
      TimEffac(*this, "TimEffac", 250, false) {
  // A plain banner: no title bar, no buttons.
  setBorderStyle(vb::vbBSNone);
  setControlBox(false);
  setCaption(QString());
  Move(0, 0, kLargeur, kHauteur);

  Frame1.setCaption(QString());
  Frame1.Move(120, 0, kLargeur - 240, kHauteur - 120);
  lblProductName.setCaption("Velistrom 2.60");
  QFont titre("Arial");
  titre.setPointSizeF(15.75);
  titre.setBold(true);
  lblProductName.setFont(titre);
  lblProductName.Move(600, 120, 2265, 360);
  lblPlatform.setCaption("Linux X11");  // the platform this build runs on
  lblPlatform.setFontName("Arial");
  lblPlatform.Move(720, 480, 1215, 210);
  lblAuteur.setCaption(QString::fromUtf8("© the Velistrom authors"));
  lblAuteur.setMouseIcon(QCursor(Qt::PointingHandCursor));
  lblAuteur.setMousePointer(vb::vbCustom);
  lblAuteur.Move(120, 1200, 1950, 180);
  // The fonts here are not those the sizes were made for: let the lines grow
  // rather than cut them.
  for (vb::Label* l : {&lblProductName, &lblPlatform, &lblAuteur}) l->setAutoSize(true);
  // Receives the transfer control's state words; nothing shows it.
  Label6.setCaption("Label1");
  Label6.setVisible(false);

  Timstart.onTimer = [this] { Timstart_Timer(); };
  TimEffac.onTimer = [this] { TimEffac_Timer(); };
  lblAuteur.onClick = [this] { lblAuteur_Click(); };
  onKeyPress = [this](int& KeyAscii) { Form_KeyPress(KeyAscii); };
}

void FrmSplash::Form_Load() {
  PrepDossiers();  // gDossSys, gDossAppli, the folder made when missing
  ChargtTips();

  Etape([this] { Timstart.setEnabled(true); });
  Etape([] { vb::DoEvents(); });
  Etape([this] {
    // lblAuteur sits inside Frame1, so its top is measured from the frame's.
    const SplashLayout l =
        PlacerSplash(vb::Screen.Width(), vb::Screen.Height(), Width(), Height(), 0, lblAuteur.Height());
    Move(l.left, l.top);
    Frame1.setWidth(l.frameWidth);
    Frame1.setLeft(l.frameLeft);
    Frame1.setHeight(l.frameHeight);
    lblAuteur.setTop(l.authorTop);
  });
}

void FrmSplash::ChargtTips() { ::ChargtTips(); }

void FrmSplash::Form_QueryUnload(int& Cancel, int UnloadMode) { startup::AfficherFenetrePrincipale(); }

void FrmSplash::Timstart_Timer() { vb::Unload(*this); }

void FrmSplash::TimEffac_Timer() { vb::Unload(*this); }

void FrmSplash::Form_KeyPress(int& KeyAscii) {
  if (KeyAscii == 27) vb::End();
}

void FrmSplash::lblAuteur_Click() { platform::openAddress(gLng198); }

void FrmSplash::InetFtp_StateChanged(int State) {
  const char* word = nullptr;
  switch (State) {
    case 1: word = "Resolving Host"; break;
    case 2: word = "Host Resolved"; break;
    case 3: word = "Connecting Host"; break;
    case 4: word = "Host connected"; break;
    case 7: word = "Receiving Response"; break;
    case 8: word = "Got Response"; break;
    case 11: word = "File failed to transfer"; break;
    case 12: word = "Download Completed"; break;
    default: return;
  }
  Label6.setCaption(word);
}

namespace startup {

void BrancherSplash() {
  setSplashHook([] { frmSplash().Show(); });
}

void AfficherFenetrePrincipale() {
  if (mainSide().show) mainSide().show();
}

}  // namespace startup
