// The menus of the main window against a made-up language table: the tree
// with its texts and its state at start, the handlers that enable entries
// when a menu opens, the entries that run a toolbar command, the switches,
// and the deletion of the ticked captures.
#include "tests/velistrom/mainwin/ShowFixture.h"

#include "platform/Folders.h"
#include "platform/forms/App.h"
#include "velistrom/startup/frmTip.h"

#include <QDir>
#include <QMenu>
#include <QMenuBar>

#include <algorithm>
#include <map>
#include <set>

namespace {

using captfix::fileName;

// Language text n of the made-up table: "t" and its three-digit number, after
// a prefix that tells two tables apart.
QString fake(int n, const QString& prefix = "t") { return prefix + QString::number(n).rightJustified(3, u'0'); }

const QColor kColours[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow, Qt::magenta, Qt::cyan};

class Menus : public showfix::Show {
 protected:
  void SetUp() override {
    Show::SetUp();
    savedTexts_ = gTxtLng;
    useTable("t");
    vb::setPopupMenuHook([this](vb::Menu& menu) { popped.push_back(&menu); });
  }
  void TearDown() override {
    vb::setPopupMenuHook(nullptr);
    mainwin::setRelaisCommandePourTests(nullptr);
    frmTip.destroyNow();
    Show::TearDown();
    gTxtLng = savedTexts_;
    CopierTextesNommes();
  }
  void useTable(const QString& prefix) {
    for (int n = 0; n < int(gTxtLng.size()); ++n) gTxtLng[n] = fake(n, prefix);
    CopierTextesNommes();
    m().chargtconstMain();
  }
  // Every menu of the window, holders and entries, as the tree holds them.
  std::vector<vb::Menu*> tree() {
    std::vector<vb::Menu*> out;
    std::function<void(vb::Menu&)> walk = [&](vb::Menu& menu) {
      out.push_back(&menu);
      for (vb::Menu* e : menu.entries()) walk(*e);
    };
    for (QAction* a : m().menuBar()->actions())
      for (vb::Menu* top : tops())
        if (top->action() == a) walk(*top);
    return out;
  }
  std::vector<vb::Menu*> tops() {
    return {&m().mnufichier, &m().mnuedition, &m().mnuoutils, &m().mnuzoom, &m().mnucourriel,
            &m().mnuHelp,    &m().mnucaptu,   &m().Mnuflott,  &m().MnuRaff, &m().Mnured2};
  }
  static QString label(const vb::Menu* menu) {
    return menu->Name() + (menu->Name() == "mnuzoomX" ? "(" + QString::number(menu->Index()) + ")" : QString());
  }
  void open(vb::Menu& menu) { Q_EMIT menu.submenu()->aboutToShow(); }
  void addCaptures(int n) {
    for (int i = 0; i < n; ++i) add(kColours[gNbCapt % 6]);
  }

  std::vector<vb::Menu*> popped;
  std::array<QString, 301> savedTexts_;
};

// ---------------------------------------------------------------- tree and texts

TEST_F(Menus, TheTreeItsTextsAndItsStateAtStart) {
  // Every menu in bar order with what its caption is made of: a language text,
  // two texts joined, or a caption that is the same in every language.
  struct Node {
    const char* name;
    int text;            // -1: fixed
    const char* fixed;   // the fixed caption
    int second = -1;     // a second text joined directly
  };
  const std::vector<std::pair<Node, std::vector<Node>>> bar = {
      {{"mnufichier", 2, nullptr},
       {{"Mnuenregistrer", 3, nullptr}, {"Mnuenregistrertout", 4, nullptr}, {"Mnuimprimer", 5, nullptr},
        {"Mnuquitter", 6, nullptr}}},
      {{"mnuedition", 7, nullptr},
       {{"mnuttscreen", 8, nullptr}, {"mnuretour", 9, nullptr}, {"mnucopier", 10, nullptr},
        {"mnurafraichir", 11, nullptr}, {"Mnudelcap", 12, nullptr}, {"Mnudeltout", 13, nullptr},
        {"MnuEditPaint", 32, nullptr}}},
      {{"mnuoutils", 14, nullptr},
       {{"mnuoptions", 15, nullptr}, {"MnuCaptper", 16, nullptr}, {"mnuFabGif", 256, nullptr},
        {"Mnumulti", 184, nullptr}, {"MnuEnAuto", 185, nullptr}, {"mnuReacTip", 186, nullptr},
        {"MnuChgLang", 214, nullptr}}},
      {{"mnuzoom", -1, "&Zoom +/-"},
       {{"mnuzoomX(0)", -1, "-> 25 %"}, {"mnuzoomX(1)", -1, "-> 50 %"}, {"mnuzoomX(2)", -1, "-> 75 %"},
        {"mnuzoomX(3)", -1, "-> 100%"}, {"mnuzoomX(4)", -1, "-> 200 %"}}},
      {{"mnucourriel", 34, nullptr},
       {{"mnujoindreune", 35, nullptr}, {"mnujoindretout", 36, nullptr}, {"mnujoindrecoch", 37, nullptr},
        {"mnuimgforum", 38, nullptr}}},
      {{"mnuHelp", 17, nullptr},
       {{"MnuAide", 18, nullptr}, {"MnuNouversion", 204, nullptr}, {"Tutosite", 187, nullptr, 201},
        {"mnuapropos", 22, nullptr}, {"mnumail", 23, nullptr}}},
      {{"mnucaptu", 24, nullptr},
       {{"Mnuphotorapid", 25, nullptr}, {"mnuveille", 105, nullptr}, {"Mnuquitt", 27, nullptr}}},
      {{"Mnuflott", 28, nullptr},
       {{"mnuFenregistrer", 29, nullptr}, {"MnuFenregistrertout", 30, nullptr},
        {"MnuOuvDos", -1, "Ouvrir dossier "}, {"MnuFdelcap", 12, nullptr}, {"mnufDelCaptCoch", 213, nullptr},
        {"Mnufdeltout", 31, nullptr}, {"mnuFeditpaint", 32, nullptr}}},
      {{"MnuRaff", 193, nullptr}, {}},
      {{"Mnured2", 196, nullptr}, {}},
  };
  const std::set<QString> hidden = {"mnufichier", "mnuedition", "mnuoutils", "mnuHelp",
                                    "mnucaptu",   "Mnuflott",   "MnuRaff",   "Mnured2"};

  for (const QString prefix : {"t", "&u"}) {
    SCOPED_TRACE(prefix.toStdString());
    useTable(prefix);
    auto caption = [&](const Node& n) {
      if (n.text < 0) return QString(n.fixed);
      return fake(n.text, prefix) + (n.second >= 0 ? fake(n.second, prefix) : QString());
    };
    // The tree, flattened in order, against the expected one.
    auto line = [](const QString& name, const QString& caption) { return (name + " = " + caption).toStdString(); };
    std::vector<std::string> expected;
    for (const auto& [top, entries] : bar) {
      expected.push_back(line(top.name, caption(top)));
      for (const Node& e : entries) expected.push_back(line(e.name, caption(e)));
    }
    std::vector<std::string> actual;
    for (vb::Menu* menu : tree()) actual.push_back(line(label(menu), menu->Caption()));
    EXPECT_EQ(actual, expected);

    // Each entry sits under its own menu.
    for (const auto& [top, entries] : bar) {
      vb::Menu* holder = nullptr;
      for (vb::Menu* t : tops())
        if (t->Name() == top.name) holder = t;
      ASSERT_NE(holder, nullptr) << top.name;
      EXPECT_TRUE(holder->topLevel());
      QStringList names;
      for (vb::Menu* e : holder->entries()) names << label(e);
      QStringList want;
      for (const Node& e : entries) want << e.name;
      EXPECT_EQ(names, want) << top.name;
    }
  }

  // The state at start: the holders hidden, every entry shown and enabled,
  // only the 100 % zoom ticked.
  for (vb::Menu* menu : tree()) {
    const QString name = label(menu);
    EXPECT_EQ(menu->Visible(), !hidden.count(name)) << name.toStdString();
    EXPECT_TRUE(menu->Enabled()) << name.toStdString();
    EXPECT_EQ(menu->Checked(), name == "mnuzoomX(3)") << name.toStdString();
  }
  // The labels and the tooltip of the cut-out picture.
  EXPECT_EQ(m().Picture1.ToolTipText(), fake(0, "&u"));
  EXPECT_EQ(m().labdeb.Caption(), fake(1, "&u"));
  EXPECT_EQ(m().LabDoubleClick.Caption(), fake(239, "&u"));
}

// ---------------------------------------------------------------- opening handlers

TEST_F(Menus, OpeningAMenuEnablesItsEntriesByTheNumberOfCapturesAndTouchesNoOther) {
  // The entries each opening handler governs: enabled exactly while the list
  // holds a capture. Every other entry keeps what it had.
  std::map<vb::Menu*, std::set<vb::Menu*>> governs = {
      {&m().mnufichier, {&m().Mnuenregistrer, &m().Mnuenregistrertout, &m().Mnuimprimer}},
      {&m().mnuedition,
       {&m().mnuretour, &m().mnucopier, &m().mnurafraichir, &m().Mnudelcap, &m().Mnudeltout, &m().MnuEditPaint}},
      {&m().mnucourriel, {&m().mnujoindreune, &m().mnujoindretout, &m().mnujoindrecoch, &m().mnuimgforum}},
      {&m().mnuoutils, {}},
  };
  std::vector<vb::Menu*> entries;
  for (vb::Menu* menu : tree())
    if (!menu->topLevel()) entries.push_back(menu);

  for (int count : {0, 1, 3}) {
    addCaptures(count - gNbCapt);
    ASSERT_EQ(gNbCapt, count);
    for (auto& [menu, governed] : governs) {
      for (bool before : {false, true}) {
        SCOPED_TRACE(menu->Name().toStdString() + " with " + std::to_string(count) + " captures, entries " +
                     (before ? "enabled" : "disabled") + " before");
        for (vb::Menu* e : entries) e->setEnabled(before);
        open(*menu);
        for (vb::Menu* e : entries)
          EXPECT_EQ(e->Enabled(), governed.count(e) ? count != 0 : before) << label(e).toStdString();
      }
    }
  }
}

TEST_F(Menus, TheCaptureMenuOffersTheSavedFilesFolderExactlyWhenTheCaptionCarriesItsPath) {
  struct Case {
    QString caption;
    QString folder;  // empty: not offered
  };
  const QString home = testenv::home();
  const Case cases[] = {
      {"t130 2/3", ""},  // the count's "/" is no path
      {"t130 2/3 > " + home + "/Saved/Capt_001.png", home + "/Saved"},
      {"t130 2/3 > /Capt_001.png", "/"},
      {"t130 2/3 " + home + "/Saved/Capt_001.png", ""},  // as a save-as leaves it: no " > "
      {"t130 2/3 > ", ""},
      {"t130 2/3 >" + home + "/x.png", ""},
      {"Velistrom ->/b/c", ""},
      {"t107t114", ""},
  };
  addCaptures(3);
  gNumCapt = 2;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption.toStdString());
    for (bool before : {false, true}) {
      for (vb::Menu* e : m().Mnuflott.entries()) e->setEnabled(before);
      m().setCaption(c.caption);
      open(m().Mnuflott);
      EXPECT_EQ(m().MnuOuvDos.Enabled(), !c.folder.isEmpty());
      for (vb::Menu* e : m().Mnuflott.entries()) {
        if (e == &m().MnuOuvDos) continue;
        EXPECT_EQ(e->Enabled(), before) << label(e).toStdString();
      }
    }
    // The entry itself reads the caption the same way: the dialog opens on
    // that folder, or nothing opens at all.
    if (!c.folder.isEmpty()) testenv::dialogs().expectFileDialog(2, QString(), std::nullopt);
    m().MnuOuvDos_Click();
    testenv::dialogs().verify();
    if (!c.folder.isEmpty()) {
      EXPECT_EQ(m().CDlg1.InitDir(), c.folder);
    }
  }
}

TEST_F(Menus, ARightClickOnAThumbnailPopsTheCaptureMenuForTheCaptureJustChosen) {
  addCaptures(2);
  gTabSauv[2] = testenv::home() + "/Saved/two.png";
  fl().PictSave[2].setVisible(true);
  for (const auto& [row, offered] : {std::pair{1, false}, std::pair{2, true}, std::pair{1, false}}) {
    SCOPED_TRACE(row);
    popped.clear();
    fl().Image1_MouseDown(row, 2, 0, 0, 0);
    ASSERT_EQ(popped.size(), 1u);
    EXPECT_EQ(popped[0], &m().Mnuflott);
    EXPECT_EQ(gNumCapt, row);
    EXPECT_EQ(m().MnuOuvDos.Enabled(), offered) << m().Caption().toStdString();
  }
  // The left button chooses without a menu.
  popped.clear();
  fl().Image1_MouseDown(2, 1, 0, 0, 0);
  EXPECT_TRUE(popped.empty());
}

// ---------------------------------------------------------------- entries that run a command

TEST_F(Menus, EntriesThatRunAToolbarCommand) {
  std::vector<int> ran;
  mainwin::setRelaisCommandePourTests([&](int n) { ran.push_back(n); });
  struct Case {
    vb::Menu* entry;
    int command;
  };
  const Case cases[] = {
      {&m().Mnuenregistrer, 10},  {&m().Mnuenregistrertout, 11}, {&m().Mnuimprimer, 12},
      {&m().Mnuquitter, 19},      {&m().mnuttscreen, 0},         {&m().mnuretour, 4},
      {&m().mnucopier, 7},        {&m().mnurafraichir, 5},       {&m().Mnudelcap, 8},
      {&m().Mnudeltout, 9},       {&m().mnuapropos, 18},         {&m().Mnuphotorapid, 0},
      {&m().Mnuquitt, 19},        {&m().mnuFenregistrer, 10},    {&m().MnuFenregistrertout, 11},
      {&m().MnuFdelcap, 8},       {&m().Mnufdeltout, 9},
  };
  for (const Case& c : cases) {
    ran.clear();
    c.entry->trigger();
    EXPECT_EQ(ran, std::vector<int>{c.command}) << label(c.entry).toStdString();
  }
}

TEST_F(Menus, TheRefreshEntryIsTheF5Key) {
  addRegion(showfix::plain(40, 30, Qt::red));
  rewrite(1, showfix::plain(40, 30, Qt::blue));
  m().MnuRaff.setVisible(true);
  m().MnuRaff.onClick();
  EXPECT_EQ(centre(m().Picture2S.Picture()), qRgb(0, 0, 255));
  EXPECT_EQ(centre(fl().Image1[1].Image()), qRgb(0, 0, 255));
  EXPECT_FALSE(m().MnuRaff.Visible());
}

// ---------------------------------------------------------------- switches

TEST_F(Menus, MultiZoneSwitchFromTheMenuAndFromCommandFourteen) {
  // Each use inverts the mark; the toolbar button shows it pressed while it is on.
  const std::function<void()> uses[] = {
      [&] { m().Mnumulti.trigger(); }, [&] { m().Mnumulti.trigger(); }, [&] { m().bouton_Click(14); },
      [&] { m().Mnumulti.trigger(); }, [&] { m().bouton_Click(14); },
  };
  bool on = false;
  for (const auto& use : uses) {
    use();
    on = !on;
    EXPECT_EQ(m().Mnumulti.Checked(), on);
    EXPECT_EQ(m().bouton[14].BorderStyle(), on ? 1 : 0);
  }
}

TEST_F(Menus, AutomaticSavingSaysSoEachTimeItIsSwitchedOn) {
  for (int round = 0; round < 2; ++round) {
    testenv::dialogs().expectMsgBox(fake(135), vb::vbOK);
    m().MnuEnAuto.trigger();
    testenv::dialogs().verify();
    EXPECT_TRUE(m().MnuEnAuto.Checked());
    m().MnuEnAuto.trigger();  // off: nothing said
    EXPECT_FALSE(m().MnuEnAuto.Checked());
  }
  const auto& shown = testenv::dialogs().shown();
  ASSERT_EQ(shown.size(), 2u);
  for (const auto& s : shown) {
    EXPECT_EQ(s.icon, vb::iconName(vb::vbInformation));
    EXPECT_EQ(s.title, vb::App.Title());
  }
}

TEST_F(Menus, ReduceMinimisesClosesTheTipAndNewCapturesNoLongerShowTheThumbnails) {
  addCaptures(1);
  EXPECT_TRUE(fl().Visible()) << "a capture brings the thumbnails up while standby reads its first text";
  m().Show();
  tips::EcrireAfficherAuDemarrage(true);
  frmTip().Show();
  ASSERT_TRUE(frmTip.isLoaded());
  m().Mnured2.setVisible(true);  // as the toolbar roll-out shows it
  m().Mnured2.trigger();
  EXPECT_EQ(m().WindowState(), vb::vbMinimized);
  EXPECT_EQ(fl().WindowState(), vb::vbMinimized);
  EXPECT_FALSE(frmTip.isLoaded());
  EXPECT_EQ(m().mnuveille.Caption(), fake(106));

  // Brought back by hand and hidden, the thumbnail window stays hidden for new captures.
  fl().setWindowState(vb::vbNormal);
  vb::DoEvents();  // the restore settles before the hide
  fl().Hide();
  vb::DoEvents();
  ASSERT_FALSE(fl().Visible());
  addCaptures(1);
  EXPECT_EQ(gNbCapt, 2);
  EXPECT_FALSE(fl().Visible());
  m().mnuveille.trigger();
  m().mnuveille.trigger();
  EXPECT_EQ(m().mnuveille.Caption(), fake(106));
}

TEST_F(Menus, TipsAtStartUpAgain) {
  tips::EcrireAfficherAuDemarrage(false);
  m().mnuReacTip.trigger();
  EXPECT_EQ(tips::ValeurStockee(), "1");
  ASSERT_TRUE(frmTip.isLoaded());
  EXPECT_TRUE(frmTip.existing()->Visible());
  EXPECT_FALSE(frmTip.existing()->isShownModal());
}

TEST_F(Menus, ChangeOfLanguageOnlyForgetsTheChoiceOnce) {
  const QString data = platform::appDataFolder() + "/Velistrom";
  struct Case {
    const char* what;
    bool folder;   // the data folder exists
    bool spoken;   // "spoken.txt" is in it
  };
  const Case cases[] = {{"chosen", true, true}, {"no choice file", true, false}, {"no data folder", false, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QDir(data).removeRecursively();
    QStringList others;
    if (c.folder) {
      ASSERT_TRUE(QDir().mkpath(data));
      for (const char* f : {"params.txt", "FicTips.txt"}) {
        QFile file(data + "/" + f);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(f);
        others << f;
      }
      others.sort();
      if (c.spoken) {
        QFile file(data + "/spoken.txt");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("ConstPRJA\r\n");
      }
    }
    m().MnuChgLang.setChecked(false);
    m().MnuChgLang.setEnabled(true);
    gDossLng = "/elsewhere";
    const auto texts = gTxtLng;
    const QString saveCaption = m().Mnuenregistrer.Caption();

    m().MnuChgLang.trigger();  // no box may come: the strict dialogs would fail the test
    EXPECT_EQ(gDossLng, data);
    EXPECT_TRUE(m().MnuChgLang.Checked());
    EXPECT_FALSE(m().MnuChgLang.Enabled());
    EXPECT_EQ(QFileInfo(data).isDir(), c.folder);
    if (c.folder) {
      EXPECT_EQ(QDir(data).entryList(QDir::Files, QDir::Name), others);
    }
    // The running program keeps its language.
    EXPECT_TRUE(gTxtLng == texts);
    EXPECT_EQ(m().Mnuenregistrer.Caption(), saveCaption);

    // Once per run: a disabled entry runs nothing.
    gDossLng = "/elsewhere";
    m().MnuChgLang.trigger();
    EXPECT_EQ(gDossLng, "/elsewhere");
  }
}

// ---------------------------------------------------------------- deleting the ticked captures

TEST_F(Menus, DeletingTheTickedCapturesGoesFromTheLastDown) {
  struct Case {
    const char* what;
    int count;
    std::vector<int> ticked;  // Chkmail 1
    std::vector<int> sent;    // Chkmail 2: mailed, not ticked
    std::vector<int> left;    // the captures kept, by their first position
  };
  const Case cases[] = {
      {"scattered", 5, {2, 4, 5}, {}, {1, 3}},
      {"neighbours", 5, {2, 3}, {}, {1, 4, 5}},
      {"the first ones", 4, {1, 2}, {}, {3, 4}},
      {"none ticked", 3, {}, {}, {1, 2, 3}},
      {"sent ones stay", 4, {1, 4}, {2, 3}, {2, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // A fresh list and folder: file numbers start at 1 again.
    capt::resetList();
    flistimages.destroyNow();
    ASSERT_TRUE(QDir(gRepCapt).removeRecursively() && QDir().mkpath(gRepCapt));
    addCaptures(c.count);
    for (int i : c.ticked) fl().Chkmail[i].setValue(1);
    for (int i : c.sent) fl().Chkmail[i].setValue(2);
    m().setWindowState(vb::vbMinimized);

    m().mnufDelCaptCoch.trigger();

    const int n = int(c.left.size());
    ASSERT_EQ(gNbCapt, n);
    for (int i = 1; i <= n; ++i) {
      const int was = c.left[i - 1];
      EXPECT_EQ(gTabNomCapt[i], fileName(was)) << i;
      EXPECT_EQ(thumbColour(i), kColours[(was - 1) % 6]) << i;
    }
    for (int was = 1; was <= c.count; ++was)
      EXPECT_EQ(exists(was), std::count(c.left.begin(), c.left.end(), was) == 1) << was;
    // The last capture is chosen and the window comes back.
    EXPECT_EQ(gNumCapt, n);
    EXPECT_EQ(m().Caption(), fake(130) + QString::number(n) + "/" + QString::number(n));
    EXPECT_EQ(fl().Image1[n].BorderStyle(), 1);
    EXPECT_EQ(m().WindowState(), vb::vbNormal);
  }
}

TEST_F(Menus, DeletingEveryCaptureTickedLeavesAnEmptyListWithNothingChosen) {
  addCaptures(3);
  for (int i = 1; i <= 3; ++i) fl().Chkmail[i].setValue(1);
  fl().clickimage1(2, false);
  m().setWindowState(vb::vbMinimized);

  m().mnufDelCaptCoch.trigger();  // no box either: nothing is there to show

  EXPECT_EQ(gNbCapt, 0);
  EXPECT_EQ(gNumCapt, 0);
  for (int f = 1; f <= 3; ++f) EXPECT_FALSE(exists(f)) << f;
  EXPECT_FALSE(fl().Image1.exists(1));
  EXPECT_FALSE(fl().Visible());
  EXPECT_FALSE(m().Picture2.Visible());
  EXPECT_FALSE(m().ImgTTscreen.Visible());
  EXPECT_EQ(m().Caption(), fake(111) + vb::Str(0) + fake(113));
}

}  // namespace
