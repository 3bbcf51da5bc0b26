// The application icon's record: fields persist between operations.

#include <gtest/gtest.h>

#include <vector>

#include "app/tray_icon.h"
#include "forms/form1.h"
#include "support/sim.h"

namespace qv {
namespace {

TEST(TrayRecord, ABalloonLeavesThePictureAndTooltipAndAnAddOfAPresentIconIsRefused) {
  test::Sim sim;
  sim.start();
  Form1& f = sim.program.form<Form1>();
  auto& tray = sim.fake.tray;
  SetTrayTip(sim.program, "CPU温度：45℃");
  ShowTrayBalloon(sim.program, f, "CPU温度：72℃", "警告(CPU温度)", 2);
  EXPECT_EQ(tray.icons[1].tip, "CPU温度：45℃");
  EXPECT_FALSE(tray.icons[1].drawn);
  ASSERT_EQ(tray.balloons.size(), 1u);
  EXPECT_EQ(tray.balloons[0].title, "警告(CPU温度)");
  EXPECT_EQ(tray.balloons[0].text, "CPU温度：72℃");
  EXPECT_EQ(tray.balloons[0].kind, 2);
  EXPECT_EQ(tray.calls.back().data.fields, trayfield::info);

  AddTrayIcon(sim.program, f, "");
  EXPECT_FALSE(tray.calls.back().accepted);
  EXPECT_EQ(tray.icons[1].tip, "CPU温度：45℃");

  // The tray host restarted: the next add brings the icon back, with an
  // empty tooltip until the next tooltip update.
  tray.restartHost();
  AddTrayIcon(sim.program, f, "");
  EXPECT_TRUE(tray.present(1));
  EXPECT_EQ(tray.icons[1].tip, "");
  EXPECT_EQ(tray.calls.back().data.fields, trayfield::message | trayfield::icon | trayfield::tip);
}

// Desktops whose tray shows an icon's menu itself get the main window's tray
// menu with each icon, and choosing "退出" there takes the same way as in the
// menu the program pops up: both icons go, then the program ends.
TEST(TrayMenu, EachIconCarriesTheTrayMenuAndItsChoiceEndsTheProgramAsTheMenuDoes) {
  test::Sim sim;
  sim.start();
  sim.advance(6'000);  // the readout icon comes with the first picture
  auto& tray = sim.fake.tray;
  ASSERT_TRUE(tray.present(0) && tray.present(1));
  const std::vector<TrayMenuItem> menu{{"F33", "退出", true}};
  EXPECT_EQ(tray.icons[1].menu, menu);
  EXPECT_EQ(tray.icons[0].menu, menu);
  // Each its own name, the same every run.
  EXPECT_EQ(tray.icons[1].name, "quorvane");
  EXPECT_EQ(tray.icons[0].name, "quorvane-readout");
  EXPECT_NE(tray.icons[0].title, tray.icons[1].title);

  // Only an entry of that menu, as it is now.
  Form1& f = sim.program.form<Form1>();
  for (const char* other : {"F66", "Image12", "Command7", "nothing"}) tray.choose(1, other);
  f.F33.setEnabled(false);
  tray.choose(1, "F33");
  EXPECT_FALSE(sim.program.ended());
  f.F33.setEnabled(true);

  tray.calls.clear();
  tray.choose(0, "F33");
  EXPECT_TRUE(sim.program.ended());
  ASSERT_EQ(tray.calls.size(), 2u);
  EXPECT_EQ(tray.calls[0].action, TrayAction::Delete);
  EXPECT_EQ(tray.calls[0].data.id, 1);
  EXPECT_EQ(tray.calls[1].action, TrayAction::Delete);
  EXPECT_EQ(tray.calls[1].data.id, 0);
}

}  // namespace
}  // namespace qv
