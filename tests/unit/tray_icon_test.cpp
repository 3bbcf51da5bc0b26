// The application icon's record: fields persist between operations.

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace qv
