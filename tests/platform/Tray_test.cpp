#include "platform/Tray.h"

#include <QSystemTrayIcon>
#include <gtest/gtest.h>

namespace {

TEST(Tray, ActivationsBecomeTheOldMouseCodesInOrder) {
  struct Case {
    int reason;
    std::vector<int> codes;
  };
  const Case cases[] = {
      {QSystemTrayIcon::Trigger, {513, 514}},
      {QSystemTrayIcon::DoubleClick, {515, 514}},
      {QSystemTrayIcon::Context, {516, 517}},
      {QSystemTrayIcon::MiddleClick, {519, 520}},
      {QSystemTrayIcon::Unknown, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::TrayIcon::codesFor(c.reason), c.codes) << c.reason;
}

TEST(Tray, WithoutATrayHostThereIsNoIconAndNoError) {
  // Qt's offscreen platform has no notification area.
  EXPECT_FALSE(platform::TrayIcon::available());
  int calls = 0;
  EXPECT_EQ(platform::TrayIcon::add(QImage(), "tip", [&](int) { ++calls; }), nullptr);
  EXPECT_EQ(calls, 0);
}

}  // namespace
