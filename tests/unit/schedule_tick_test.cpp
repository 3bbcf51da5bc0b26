// The settings window's tick: weekday, date line and the mute.

#include <gtest/gtest.h>

#include "forms/form1.h"
#include "forms/form3.h"
#include "forms/form5.h"
#include "support/sim.h"

namespace qv {
namespace {

TEST(ScheduleTick, KeepsTheWeekdayAndTheDateLine) {
  test::Sim sim;
  sim.fake.clock.setLocalTime(DateTime{2024, 5, 6, 9, 4, 57, 1});
  sim.start();
  Form1& f = sim.program.form<Form1>();
  sim.advance(6599);
  EXPECT_EQ(f.Label111.text(), "...");
  sim.advance(1);
  EXPECT_EQ(f.Label111.text(), "一");
  EXPECT_EQ(sim.program.form<Form3>().Label5.text(), "(一)");
  EXPECT_EQ(f.Label4.text(), "2024年5月6日 9:05 星期一");
  EXPECT_EQ(sim.program.form<Form5>().Label43.text(), "星期一");
  EXPECT_EQ(sim.program.form<Form5>().Label46.text(), "6");
}

TEST(ScheduleTick, TickingTheMuteSilencesTheAlarmWithinATick) {
  test::Sim sim;
  sim.start();
  Form5& s = sim.program.form<Form5>();
  sim.run([&] { s.Check4.setValue(1); });
  EXPECT_EQ(s.Combo11.text(), "900");
  sim.advance(6600);
  EXPECT_EQ(s.Combo11.text(), "0");
  EXPECT_EQ(s.Text16.text(), "0");
  EXPECT_FALSE(sim.fake.store.get("MyApp", "Startup", "Form5.Combo11").has_value());
}

}  // namespace
}  // namespace qv
