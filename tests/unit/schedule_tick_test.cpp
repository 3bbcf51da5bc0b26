// The settings window's tick: weekday, date line and the mute; the weekly
// and monthly restarts of the timed actions and their mode tags.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "forms/form1.h"
#include "forms/form13.h"
#include "forms/form3.h"
#include "forms/form5.h"
#include "forms/popups.h"
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

// The program started at a local time from a store: a key with one letter
// is a flag, the rest are control keys.
struct Rig {
  Rig(const DateTime& start, const std::vector<std::pair<std::string, std::string>>& stored) {
    for (const auto& [key, value] : stored) {
      if (key.size() == 1)
        sim.fake.store.put(key, key, "status", value);
      else
        sim.fake.store.put("MyApp", "Startup", key, value);
    }
    sim.fake.clock.setLocalTime(start);
    sim.start();
    sim.run([&] { main().Timer9.stop(); });  // the fake CPU is fully loaded
  }
  Form1& main() { return sim.program.form<Form1>(); }
  Form5& settings() { return sim.program.form<Form5>(); }
  test::Sim sim;
};

const DateTime kWednesday7{2026, 12, 9, 7, 0, 0, 3};
const DateTime kThursday7{2026, 12, 10, 7, 0, 0, 4};

TEST(ScheduleTick, ATickedWeekdayStartsTimedAction1ThatDayOnly) {
  const std::vector<std::pair<std::string, std::string>> stored = {
      {"v", "1"}, {"Form1.Combo1", "7"}, {"Form1.Combo2", "30"}, {"Form1.Option5", "True"}};
  {
    Rig r(kWednesday7, stored);
    r.sim.advance(6'600);
    EXPECT_TRUE(r.main().Image4.visible());
    EXPECT_EQ(r.main().Label109.text(), "(星期/单次)");
    EXPECT_EQ(r.main().Label39.text(), "星期定时:");
    EXPECT_EQ(r.main().Label92.text(), "三");
    EXPECT_EQ(r.main().Label90.text(), "");
    r.sim.advance(6'000);
    EXPECT_EQ(r.main().Label12.text(), "定时动作时间：( 7：30 ) - 提醒");
    r.sim.advance(31 * 60'000);  // the first reminder comes at about 7:31
    EXPECT_TRUE(r.sim.program.form<Form8>().visible());
  }
  Rig r(kThursday7, stored);
  r.sim.advance(60'000);
  EXPECT_FALSE(r.main().Image4.visible());
  EXPECT_EQ(r.main().Label12.text(), "定时未启动");
}

TEST(ScheduleTick, TheModeTagsFollowTheBoxesAndTheDayOfTheMonth) {
  struct Case {
    std::vector<std::pair<std::string, std::string>> stored;
    const char* tag1;
    const char* tag2;
    const char* day1;  // Form5.Combo17 afterwards
  };
  const std::vector<std::pair<std::string, std::string>> all = {
      {"z", "1"}, {"x", "1"}, {"v", "1"}, {"n", "1"},
      {"m", "1"}, {"i", "1"}, {"o", "1"}, {"Form5.Combo17", "3"}};
  const Case cases[] = {
      {{}, "(单次)", "(单次)", "停用"},
      {{{"Form5.Combo17", "15"}}, "(单次/每月几号)", "(单次)", "15"},
      {{{"m", "1"}}, "(星期/单次)", "(单次)", "停用"},
      {{{"m", "1"}, {"Form5.Combo17", "15"}}, "(星期/每月几号/单次)", "(单次)", "15"},
      {all, "(每天)", "(单次)", "停用"},
      {{{"Form13.Combo3", "9"}}, "(单次)", "(单次/每月几号)", "停用"},
      {{{"y", "1"}, {"Form13.Combo3", "9"}}, "(单次)", "(每天)", "停用"},
  };
  for (const Case& c : cases) {
    Rig r(kThursday7, c.stored);
    r.sim.advance(6'600);
    EXPECT_EQ(r.main().Label109.text(), c.tag1) << c.tag1 << " " << c.tag2;
    EXPECT_EQ(r.main().Label108.text(), c.tag2) << c.tag1 << " " << c.tag2;
    EXPECT_EQ(r.settings().Combo17.text(), c.day1) << c.tag1 << " " << c.tag2;
  }
}

TEST(ScheduleTick, UntickingAWeekdayClearsItsLetterAndTheWeeklyStatus) {
  Rig r(kWednesday7, {{"v", "1"}});
  r.sim.advance(6'600);
  ASSERT_EQ(r.main().Label92.text(), "三");
  ASSERT_EQ(r.main().Label39.text(), "星期定时:");
  r.sim.run([&] { r.settings().Check9.setValue(0); });
  r.sim.advance(6'600);
  EXPECT_EQ(r.main().Label92.text(), "");
  EXPECT_EQ(r.main().Label39.text(), "星期定时未启动");
}

// While the date reminder runs, each tick sets it again: an edit of its
// choosers becomes the target within a tick, and is saved.
TEST(ScheduleTick, ARunningDateReminderTakesAnEditedChooserAsItsTargetWithinATick) {
  Rig r(kThursday7, {});
  r.sim.run([&] {
    r.main().Combo4.setText("2026");
    r.main().Combo5.setText("12");
    r.main().Combo6.setText("24");
    r.main().Combo8.setText("18");
    r.main().Combo9.setText("30");
  });
  r.sim.click(r.main().Command19);
  r.sim.advance(6'600);
  r.sim.run([&] { r.main().Combo8.setText("19"); });
  EXPECT_EQ(r.main().Text6.text(), "18");
  r.sim.advance(6'600);
  EXPECT_EQ(r.main().Text6.text(), "19");
  EXPECT_EQ(r.main().Label46.text(), "日程提醒动作时间：2026年12月24日19点30分");
  EXPECT_EQ(r.sim.fake.store.get("MyApp", "Startup", "Form1.Combo8"), "19");
  // Stopped, it is not set again.
  r.sim.click(r.main().Command20);
  r.sim.run([&] { r.main().Combo8.setText("20"); });
  r.sim.advance(2 * 6'600);
  EXPECT_EQ(r.main().Text6.text(), "19");
  EXPECT_FALSE(r.main().Image6.visible());
}

// Timed action 2 on its day of the month, from the tick after the first (the
// day mirror is the previous tick's); on another day never.
TEST(ScheduleTick, TimedAction2StartsOnItsDayOfTheMonth) {
  for (const char* day : {"10", "11"}) {
    SCOPED_TRACE(std::string("day ") + day);
    Rig r(kThursday7, {{"Form13.Combo3", day}, {"Form1.Combo10", "8"}, {"Form1.Combo11", "00"}});
    r.sim.advance(6'600);
    EXPECT_FALSE(r.main().Image8.visible());
    r.sim.advance(6'600);
    EXPECT_EQ(r.main().Image8.visible(), std::string(day) == "10");
    EXPECT_FALSE(r.main().Image4.visible()) << "timed action 1 is not started by it";
  }
}

TEST(ScheduleTick, TimedAction2EveryDayRunsFromTheFirstTickWithItsDayOff) {
  Rig r(kThursday7,
        {{"y", "1"}, {"Form13.Combo3", "9"}, {"Form1.Combo10", "8"}, {"Form1.Combo11", "00"}});
  r.sim.advance(6'600);
  EXPECT_TRUE(r.main().Image8.visible());
  EXPECT_EQ(r.sim.program.form<Form13>().Combo3.text(), "停用");
  EXPECT_EQ(r.main().Label107.text(), "停用");
  // A stop is undone at the next tick.
  r.sim.click(r.main().Label139);
  EXPECT_EQ(r.main().Label103.text(), "定时2：( 已停止 )");
  r.sim.advance(6'600);
  EXPECT_TRUE(r.main().Image8.visible());
}

TEST(ScheduleTick, TheDayOfTheMonthCountsFromTheSecondTickAndAfterMidnightOneTickLate) {
  Rig r({2026, 12, 14, 23, 59, 50, 1},
        {{"Form5.Combo17", "15"}, {"Form1.Combo1", "8"}, {"Form1.Combo2", "00"}});
  r.sim.advance(6'600);  // 23:59:56, the 14th
  EXPECT_FALSE(r.main().Image4.visible());
  r.sim.advance(6'600);  // 0:00:03 on the 15th; the mirror still says 14
  EXPECT_FALSE(r.main().Image4.visible());
  r.sim.advance(6'600);
  EXPECT_TRUE(r.main().Image4.visible());
}

// The stop applies the settings window's options and closes it; the next
// read of one of its fields (the CPU-load check's, within 6 s) brings it
// back, and its first tick restarts the timed action on a chosen weekday.
TEST(ScheduleTick, OnAChosenDayAStopIsUndoneByTheSettingsWindowsNextTick) {
  Rig r(kWednesday7, {{"v", "1"}, {"Form1.Combo1", "8"}, {"Form1.Combo2", "00"}});
  r.sim.run([&] { r.main().Timer9.start(); });
  r.sim.advance(6'600);
  ASSERT_TRUE(r.main().Image4.visible());
  r.sim.click(r.main().Command14);
  EXPECT_EQ(r.main().Label12.text(), "定时：( 已停止 )");
  EXPECT_EQ(r.sim.program.existing<Form5>(), nullptr);
  r.sim.advance(6'000 + 6'600);
  EXPECT_TRUE(r.main().Image4.visible());
}

TEST(ScheduleTick, AnEmptyHourBringsItsBoxBackAfterEachCloseOnAChosenDay) {
  Rig r(kWednesday7, {{"v", "1"}, {"Form1.Combo2", "30"}});
  r.sim.advance(6'600);
  Form6& box = r.sim.program.form<Form6>();
  EXPECT_TRUE(box.visible());
  r.sim.click(box.Command1);
  EXPECT_EQ(r.sim.program.existing<Form6>(), nullptr);
  r.sim.advance(6'600);
  EXPECT_TRUE(r.sim.program.form<Form6>().visible());
}

TEST(ScheduleTick, TheRemindersCheckRunsWhileItsOptionIsTicked) {
  Rig r(kThursday7, {{"j", "1"}});
  r.sim.advance(6'600);
  EXPECT_TRUE(r.main().Timer37.enabled());
  r.sim.run([&] { r.settings().Check15.setValue(0); });
  r.sim.advance(6'600);
  EXPECT_FALSE(r.main().Timer37.enabled());
}

}  // namespace
}  // namespace qv
