// The alarm sound and the delayed re-hide of the main window.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "alarms/alarm_sound.h"
#include "forms/form1.h"
#include "forms/form5.h"
#include "support/sim.h"

namespace qv {
namespace {

using Tones = std::vector<std::pair<int, int>>;

TEST(AlarmSound, EachToneIsSkippedOnItsOwnWhenItsFieldsAreNotNumbers) {
  struct Case {
    const char* combo11;
    const char* combo12;
    const char* text15;
    const char* text16;
    Tones tones;
  } cases[] = {
      {"900", "80", "1600", "60", {{900, 80}, {1600, 60}}},
      {"abc", "80", "1600", "60", {{1600, 60}}},
      {"900", "80", "1600", "", {{900, 80}}},
      {"", "", "", "", {}},
      {"900", "80.5", "1600", "61.5", {{900, 80}, {1600, 62}}},  // halves to even
      {"1E12", "80", "1600", "60", {{1600, 60}}},                // beyond what a tone takes
      {"0", "0", "0", "0", {{0, 0}, {0, 0}}},                    // muted: asked for, silent
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.combo11) + " " + c.combo12 + " " + c.text15 + " " + c.text16);
    test::Sim sim;
    sim.start();
    sim.run([&] {
      Form5& s = sim.program.form<Form5>();
      s.Combo11.setText(c.combo11);
      s.Combo12.setText(c.combo12);
      s.Text15.setText(c.text15);
      s.Text16.setText(c.text16);
    });
    sim.run([&] { playAlarmSound(sim.program); });
    EXPECT_EQ(sim.fake.tone.tones, c.tones);
  }
}

TEST(AlarmSound, ReadsTheSettingsWindowAgainAfterItWasClosed) {
  test::Sim sim;
  sim.fake.store.put("MyApp", "Startup", "Form5.Combo11", "700");
  sim.fake.store.put("MyApp", "Startup", "text16", "90");
  sim.start();
  // Changed but cancelled: the window goes, and the next read brings back
  // what the store holds.
  sim.run([&] {
    Form5& s = sim.program.form<Form5>();
    s.Combo11.setText("300");
    s.Command2.press();
  });
  ASSERT_EQ(sim.program.existing<Form5>(), nullptr);
  sim.run([&] { playAlarmSound(sim.program); });
  EXPECT_EQ(sim.fake.tone.tones, (Tones{{700, 80}, {1600, 90}}));
}

TEST(DelayedRehide, HidesTheRestoredMainWindowOnceASecondLater) {
  test::Sim sim;
  sim.start();
  Form1& f = sim.program.form<Form1>();
  sim.advance(2'000);
  sim.run([&] { startDelayedRehide(sim.program); });
  sim.advance(500);
  // Starting it again while it runs keeps its schedule.
  sim.run([&] { startDelayedRehide(sim.program); });
  sim.advance(499);
  EXPECT_TRUE(f.visible());
  sim.advance(1);
  EXPECT_FALSE(f.visible());
  EXPECT_FALSE(f.taskbar());
  EXPECT_FALSE(f.Timer38.enabled());

  sim.fake.tray.mouse(1, 1);
  sim.advance(5'000);
  EXPECT_TRUE(f.visible());
}

}  // namespace
}  // namespace qv
