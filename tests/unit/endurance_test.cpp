// Thirty simulated days of the whole program: readings rise and fall across
// every limit, the user closes the settings and small windows (the timers
// bring them back), the tray host restarts. Nothing may pile up and no timer
// may drift.

#include <gtest/gtest.h>

#include "forms/form1.h"
#include "forms/form3.h"
#include "forms/form5.h"
#include "runtime/census.h"
#include "support/sim.h"

namespace qv {
namespace {

struct Census {
  int forms, controls, timers, observers;
  std::size_t armed;
  friend bool operator==(const Census&, const Census&) = default;
};

std::ostream& operator<<(std::ostream& os, const Census& c) {
  return os << c.forms << " windows, " << c.controls << " controls, " << c.timers << " timers, "
            << c.observers << " observers, " << c.armed << " armed";
}

Census count(Program& p) {
  return {census::forms, census::controls, census::timers, census::observers,
          p.timers().armedCount()};
}

constexpr std::int64_t kHour = 3'600'000;

// One simulated hour with the readings of that hour of the day.
void hour(test::Sim& sim, int h) {
  bool hot = h % 6 == 3;                                   // a few hot hours a day: warnings fire
  sim.fake.thermal.set(hot ? 3732 + 800 : 3187 + h * 10);  // 80 or 45.5.. degrees
  sim.fake.disks.set(hot ? 60 : 38);
  sim.fake.cpu.time = *sim.fake.cpu.time + kHour * 10'000;
  sim.fake.cpu.idle = *sim.fake.cpu.idle + kHour * 10'000 * (hot ? 0 : 3);
  sim.fake.memory.reading =
      MemoryStatus{8'589'934'592, hot ? 858'993'459 : 4'294'967'296, 0, 0, 12'884'901'888, 0};
  if (h == 7) sim.click(sim.program.form<Form5>().Command2);  // settings cancelled
  if (h == 13) sim.run([&] { sim.program.requestClose(sim.program.form<Form3>()); });
  if (h == 19) sim.fake.tray.restartHost();
  sim.advance(kHour);
}

TEST(Endurance, ThirtyDaysLeaveNothingBehindAndNoTimerDrifts) {
  test::Sim sim;
  sim.fake.cpu.processors = 4;
  sim.fake.cpu.time = 134'100'000'000'000'000;
  sim.fake.cpu.idle = 0;
  sim.start();
  for (int h = 0; h < 24; ++h) hour(sim, h);
  Census day1 = count(sim.program);

  for (int d = 1; d < 30; ++d)
    for (int h = 0; h < 24; ++h) hour(sim, h);
  EXPECT_EQ(count(sim.program), day1);

  // The main window's periodic timers are still on their first phase: each
  // due time is a whole number of periods after the start.
  Form1& f = sim.program.form<Form1>();
  for (Timer* t : {&f.Timer2, &f.Timer3, &f.Timer6, &f.Timer8, &f.Timer9, &f.Timer14, &f.Timer18}) {
    ASSERT_TRUE(t->armed()) << t->name();
    EXPECT_EQ(t->due() % t->interval(), 0) << t->name();
  }
  EXPECT_EQ(sim.now(), 30 * 24 * kHour);
  // The warnings kept firing to the end.
  EXPECT_GT(sim.fake.tray.balloons.size(), 30u * 4 * 2);
  EXPECT_TRUE(sim.fake.tray.present(0));
  EXPECT_TRUE(sim.fake.tray.present(1));
}

}  // namespace
}  // namespace qv
