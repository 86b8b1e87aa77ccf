#pragma once
// The timed-capture window without the main window: a main side that records
// what the window asks of it, a save folder of the test's own, the settings
// and texts the window reads, and an empty capture list with a last region.
#include "tests/platform/forms/TestForms.h"  // readable QString values in failures
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestEnv.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/core/Bureau.h"
#include "velistrom/core/GlobCapt.h"
#include "velistrom/core/GlobMain.h"
#include "velistrom/core/GlobParams.h"
#include "velistrom/timed/CoteMain.h"
#include "velistrom/timed/FrmChrono.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace chronotest {

struct MainRecorder : timed::MainSide {
  int mainLeft() override { return 1230; }
  void armLongSeries() override { ++armed; }
  void stopLongSeries() override { ++stopped; }
  void seriesMarkOff() override { ++markedOff; }
  void showTutorials() override { ++tutorials; }
  int armed = 0, stopped = 0, markedOff = 0, tutorials = 0;
};

inline QStringList Fichiers(const QString& dossier) { return QDir(dossier).entryList(QDir::Files, QDir::Name); }

class ChronoFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    capt::resetList();
    timed::setMainSide(&main);
    dossier = testenv::home() + "/Captures";
    ASSERT_TRUE(QDir().mkpath(dossier));
    gRepSauve = dossier;
    gRepSauvLigne = dossier.leftJustified(300);
    gPrefixe = "Capt";
    gQualJpg = 70;
    gParams = QString(121, u' ') + "10000" + QString(174, u' ');
    gSelX = 10 * 15;
    gSelY = 20 * 15;
    gLargImg = 40 * 15;
    gHautImg = 30 * 15;
    gModeCapt = "z";
    gHeureDeb = gHeureFin = QString();
    gNbImgLim = gNbImgPer = gIntervPer = 0;
    gPremTop = false;
    gLng194 = "The start is after the end";
    gTxtPasDeZone = "Take a region first";
    gLng190 = "Conversion failed";
    gLng227 = "h";
    gLng228 = "min";
    gLng229 = "sec";
    gLng230 = "ms";
    gLng231 = "- Timed capture";
    gLng232 = "- next in ";
    gLng233 = "Default note";
    gLng234 = "Start";
    gLng235 = "End";
    gLng236 = "Period";
    gLng249 = "Or images:";
    gLng253 = "Burst note";
    gLng254 = " images were saved in ";
    gLng255 = "The folder ";
    gLng260 = " holds files already";
  }
  void TearDown() override {
    frmChrono.destroyNow();
    timed::setMainSide(nullptr);
    core::resetBureau();
    capt::resetList();
    testenv::dialogs().verify();
  }

  // The fields set through their boxes, from "h:m:s h:m:s h:m:s ms".
  void Champs(const QString& lecture) {
    const QStringList parts = lecture.split(QRegularExpression("[: ]"));
    for (int i = 1; i <= 10; ++i) frmChrono().Txtchrono[i].setText(parts[i - 1]);
  }

  MainRecorder main;
  QString dossier;
};

}  // namespace chronotest
