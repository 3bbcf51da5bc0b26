// The date reminder: set, the minute check, its popup and its stops, the
// resumption after a restart, and a minute missed while asleep or off.

#include <gtest/gtest.h>

#include <string>

#include "forms/form1.h"
#include "forms/form5.h"
#include "forms/popups.h"
#include "support/sim.h"

namespace qv {
namespace {

using test::Sim;

// The program started at a local time with the CPU-load hint off (the fake
// processor is fully loaded); a store may be given to start from.
struct Rig {
  explicit Rig(const DateTime& start, const test::MemoryStore* from = nullptr) {
    if (from) sim.fake.store.values = from->values;
    sim.fake.clock.setLocalTime(start);
    sim.start();
    sim.run([&] { main().Timer9.stop(); });
  }
  Form1& main() { return sim.program.form<Form1>(); }
  // The target, picked as the user picks it, and set.
  void set(const char* year, const char* month, const char* day, const char* hour,
           const char* minute) {
    sim.run([&] {
      main().Combo4.setText(year);
      main().Combo5.setText(month);
      main().Combo6.setText(day);
      main().Combo8.setText(hour);
      main().Combo9.setText(minute);
      main().Combo7.setText("生日！");
    });
    sim.click(main().Label142);
  }
  std::size_t alarms() const { return sim.fake.tone.tones.size() / 2; }
  Sim sim;
};

TEST(DateReminder, SetForTheCurrentMinuteItRemindsAMinuteLaterAndEveryMinuteAfter) {
  Rig r({2026, 12, 11, 9, 5, 10, 5});
  r.set("2026", "12", "11", "9", "05");
  Form1& f = r.main();
  EXPECT_TRUE(f.Image6.visible());
  EXPECT_EQ(f.Label45.text(), "日程提醒运行 ");
  EXPECT_EQ(f.Label46.text(), "日程提醒动作时间：2026年12月11日9点05分");
  EXPECT_EQ(r.sim.fake.store.get("t", "t", "status"), "1");
  EXPECT_EQ(r.sim.fake.store.get("MyApp", "Startup", "Form1.Combo9"), "05");
  r.sim.advance(6'000);
  EXPECT_EQ(f.Label43.text(), "2026:12:11:9:05");
  r.sim.advance(61'999);
  EXPECT_EQ(r.alarms(), 0u);
  r.sim.advance(1);
  EXPECT_EQ(r.alarms(), 1u);
  Form12& popup = r.sim.program.form<Form12>();
  EXPECT_TRUE(popup.visible());
  EXPECT_EQ(popup.Label1.text(), "生日！");
  r.sim.advance(62'000 * 3);
  EXPECT_EQ(r.alarms(), 4u);
}

TEST(DateReminder, ClosingThePopupOrStoppingOnTheMainWindowEndsIt) {
  for (bool fromPopup : {true, false}) {
    SCOPED_TRACE(fromPopup ? "关闭提醒" : "关闭日程提醒");
    Rig r({2026, 12, 11, 9, 4, 50, 5});
    r.set("2026", "12", "11", "9", "05");
    r.sim.advance(20'000 + 62'000);
    ASSERT_EQ(r.alarms(), 1u);
    Form12& popup = r.sim.program.form<Form12>();
    if (fromPopup) {
      r.sim.click(popup.Command1);
      EXPECT_EQ(r.sim.program.existing<Form12>(), nullptr);
    } else {
      r.sim.click(r.main().Label143);
      EXPECT_EQ(r.sim.program.existing<Form12>(), &popup);
      r.sim.advance(6'000);  // the popup's next refresh
      EXPECT_EQ(r.sim.program.existing<Form12>(), nullptr);
    }
    EXPECT_EQ(r.main().Label46.text(), "日程提醒：( 已停止 )");
    EXPECT_EQ(r.main().Label44.text(), "日程提醒停止 ");
    EXPECT_TRUE(r.main().Image1.visible());
    EXPECT_EQ(r.sim.fake.store.get("t", "t", "status"), "0");
    r.sim.advance(10 * 62'000);
    EXPECT_EQ(r.alarms(), 1u);
  }
}

TEST(DateReminder, ATextOf30CharactersKeepsItsFirst28) {
  Rig r({2026, 12, 11, 9, 0, 0, 5});
  r.sim.run([&] {
    r.main().Combo7.setText("一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十");
  });
  EXPECT_EQ(r.main().Combo7.text(), "一二三四五六七八九十一二三四五六七八九十一二三四五六七八");
}

TEST(DateReminder, RunningWhenTheProgramEndedItRunsAgainAfterTheStartWithItsTarget) {
  test::MemoryStore kept;
  {
    Rig r({2026, 12, 11, 9, 0, 0, 5});
    r.set("2026", "12", "24", "18", "30");
    kept.values = r.sim.fake.store.values;
  }
  Rig again({2026, 12, 11, 10, 0, 0, 5}, &kept);
  again.sim.advance(6'600);
  EXPECT_TRUE(again.main().Image6.visible());
  EXPECT_EQ(again.main().Label46.text(), "日程提醒动作时间：2026年12月24日18点30分");
  EXPECT_TRUE(again.main().Timer26.enabled());
}

// A target minute that passes unseen reminds once, as if it had matched; a
// target that does not exist, or was already past when it was set, never.
TEST(DateReminder, AMinuteMissedAsleepOrOffRemindsOnceAndOnlyThen) {
  struct Case {
    const char* name;
    const char* day;
    const char* minute;
    bool restart;  // off rather than asleep
    bool reminds;
  };
  const Case cases[] = {
      {"asleep through it", "11", "05", false, true},
      {"off through it", "11", "05", true, true},
      {"the 30th of February", "30", "05", false, false},
      {"past when it was set", "11", "00", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig r({2026, 12, 11, 9, 2, 0, 5});
    if (std::string(c.day) == "30") {
      r.set("2026", "2", "30", "9", c.minute);
    } else {
      r.set("2026", "12", c.day, "9", c.minute);
    }
    r.sim.advance(12'000);
    test::MemoryStore kept;
    kept.values = r.sim.fake.store.values;
    auto after = [&](Rig& rig) {
      rig.sim.advance(6'000 + 62'000);
      EXPECT_EQ(rig.alarms(), c.reminds ? 1u : 0u);
      rig.sim.advance(5 * 62'000);
      EXPECT_EQ(rig.alarms(), c.reminds ? 6u : 0u) << "then it repeats as any reminder";
    };
    if (c.restart) {
      Rig again({2026, 12, 11, 9, 40, 0, 5}, &kept);
      after(again);
    } else {
      // Asleep from 9:02 to 9:40: the clocks move on, nothing runs.
      r.sim.fake.clock.set(r.sim.now() + 38 * 60'000);
      after(r);
    }
  }
}

// Set again after a stop, a target already past is armed afresh, now: it is
// no minute missed, and never reminds.
TEST(DateReminder, APastTargetSetAgainAfterAStopNeverReminds) {
  Rig r({2026, 12, 11, 9, 2, 0, 5});
  r.set("2026", "12", "11", "9", "00");
  r.sim.advance(12'000);
  r.sim.click(r.main().Command20);
  r.sim.advance(60'000);
  r.set("2026", "12", "11", "9", "00");
  r.sim.advance(10 * 62'000);
  EXPECT_EQ(r.alarms(), 0u);
  EXPECT_TRUE(r.main().Image6.visible());
}

}  // namespace
}  // namespace qv
