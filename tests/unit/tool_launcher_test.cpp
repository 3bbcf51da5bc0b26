// The shortcut panel: each tool's command line and window style, display off
// six seconds later, the optical drive's door.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "forms/form1.h"
#include "support/sim.h"

namespace qv {
namespace {

using test::Sim;
using Runs = std::vector<std::pair<std::string, int>>;

constexpr int kNormal = 1, kMinimized = 2;

TEST(ToolLauncher, EachShortcutStartsItsToolThenPutsTheMainWindowAwayEvenWhenTheToolFails) {
  const struct {
    const char* control;
    const char* line;
    int style;
  } shortcuts[] = {
      {"Image13", "Rundll32.exe Shell32.dll,Control_RunDLL powercfg.cpl", kMinimized},
      {"Image14", "Rundll32.exe Shell32.dll,Control_RunDLL inetcpl.cpl", kMinimized},
      {"Label120", "Rundll32.exe Shell32.dll,Control_RunDLL Timedate.cpl", kMinimized},
      {"Label123", "taskmgr.exe", kNormal},
      {"Label119", "Rundll32.exe Shell32.dll,Control_RunDLL sysdm.cpl", kMinimized},
      {"Label125", "Rundll32.exe Shell32.dll,Control_RunDLL appwiz.cpl", kMinimized},
      {"Label1", "calc", kMinimized},
  };
  for (const auto& s : shortcuts) {
    for (bool fails : {false, true}) {
      SCOPED_TRACE(std::string(s.control) + (fails ? " (not started)" : ""));
      Sim sim;
      sim.fake.process.fails = fails;
      sim.start();
      Form1& m = sim.program.form<Form1>();
      Control* shortcut = m.find(s.control);
      ASSERT_NE(shortcut, nullptr);
      sim.click(*shortcut);
      EXPECT_EQ(sim.fake.process.runs, (Runs{{s.line, s.style}}));
      // A close request: hidden, and gone from the taskbar.
      EXPECT_FALSE(m.visible());
      EXPECT_FALSE(m.taskbar());
      EXPECT_TRUE(sim.fake.power.calls.empty());
    }
  }
}

TEST(ToolLauncher, DisplayOffHidesAtOnceAndSwitchesTheDisplayOffOnceSixSecondsLater) {
  Sim sim;
  sim.start();
  Form1& m = sim.program.form<Form1>();
  sim.advance(10000);
  sim.click(m.Image11);
  // A plain hide: the taskbar entry is not touched.
  EXPECT_FALSE(m.visible());
  EXPECT_TRUE(m.taskbar());
  sim.advance(3000);
  sim.click(m.Image11);  // a second click keeps the first one's schedule
  sim.advance(2999);
  EXPECT_EQ(sim.fake.display.offs, 0);
  sim.advance(1);
  EXPECT_EQ(sim.fake.display.offs, 1);
  EXPECT_FALSE(m.Timer10.enabled());
  sim.advance(60000);
  EXPECT_EQ(sim.fake.display.offs, 1);
  EXPECT_TRUE(sim.fake.process.runs.empty());

  // The button that the power-off dialog presses does the same; a desktop
  // that cannot switch the display off changes nothing else.
  sim.fake.display.fails = true;
  m.show();
  sim.run([&] { m.Command7.press(); });
  EXPECT_FALSE(m.visible());
  sim.advance(6000);
  EXPECT_EQ(sim.fake.display.offs, 2);
  sim.advance(6000);
  EXPECT_EQ(sim.fake.display.offs, 2);
}

TEST(ToolLauncher, EjectOpensTheDoorAndHidesWithOrWithoutADrive) {
  for (bool noDrive : {false, true}) {
    SCOPED_TRACE(noDrive ? "no drive" : "a drive");
    Sim sim;
    sim.fake.media.fails = noDrive;
    sim.start();
    Form1& m = sim.program.form<Form1>();
    sim.click(m.Label128);
    EXPECT_EQ(sim.fake.media.commands, std::vector<std::string>{"set CDAudio door open"});
    EXPECT_FALSE(m.visible());
    EXPECT_FALSE(m.taskbar());
  }
}

}  // namespace
}  // namespace qv
