// Timed actions 1 and 2 and their reminder popups, in virtual time: the
// minute they fire at, their status texts, their stops, and the whole chain
// to a shutdown; also across a sleep and the changes of summer time.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "forms/countdowns.h"
#include "forms/form1.h"
#include "forms/form13.h"
#include "forms/form5.h"
#include "forms/popups.h"
#include "support/sim.h"

namespace qv {
namespace {

using test::Sim;
using Runs = std::vector<std::pair<std::string, int>>;

// The program started at a local time, with the CPU-load hint off (the fake
// processor is fully loaded and its hint would hide the main window too).
struct Rig {
  explicit Rig(const DateTime& start) {
    sim.fake.clock.setLocalTime(start);
    sim.start();
    sim.run([&] { main().Timer9.stop(); });
  }
  Form1& main() { return sim.program.form<Form1>(); }
  Form5& settings() { return sim.program.form<Form5>(); }
  Form13& timed2() { return sim.program.form<Form13>(); }

  // Timed action 1 for hour:minute with an action, started as the user does.
  void startTimed1(const char* hour, const char* minute, OptionButton Form1::*action) {
    sim.run([&] {
      main().Combo1.setText(hour);
      main().Combo2.setText(minute);
      (main().*action).setValue(true);
    });
    sim.click(main().Command2);
  }
  void startTimed2(const char* hour, const char* minute, OptionButton Form13::*action) {
    sim.run([&] {
      main().Combo10.setText(hour);
      main().Combo11.setText(minute);
      (timed2().*action).setValue(true);
      timed2().Command1.press();  // saved, as the user applies it
    });
    sim.click(main().Command24);
  }
  // Alarm sounds so far: every reminder plays two tones.
  std::size_t alarms() const { return sim.fake.tone.tones.size() / 2; }
  Sim sim;
};

TEST(TimedAction1, AMinuteStartedWithinIsStillCaughtAndOneStartedTooLateWaitsADay) {
  struct Case {
    DateTime start;
    std::int64_t firstReminder;  // ms after the start
  };
  const Case cases[] = {
      {{2026, 12, 11, 9, 5, 20, 5}, 6'000 + 62'000},
      // The first tick in the next day's 9:05 comes at 9:05:03.
      {{2026, 12, 11, 9, 5, 57, 5}, (86'400 - 54) * 1000 + 62'000},
  };
  for (const Case& c : cases) {
    Rig r(c.start);
    SCOPED_TRACE(std::to_string(c.start.second));
    r.startTimed1("9", "05", &Form1::Option5);
    r.sim.advance(c.firstReminder - 1);
    EXPECT_EQ(r.alarms(), 0u);
    EXPECT_EQ(r.sim.program.existing<Form8>(), nullptr);
    r.sim.advance(1);
    EXPECT_EQ(r.alarms(), 1u);
    EXPECT_TRUE(r.sim.program.form<Form8>().visible());
  }
}

TEST(TimedAction1, AnEmptyHourShowsItsBoxRunsAndNeverFires) {
  Rig r({2026, 12, 11, 9, 0, 0, 5});
  r.startTimed1("", "05", &Form1::Option5);
  EXPECT_TRUE(r.sim.program.form<Form6>().visible());
  EXPECT_EQ(r.sim.program.form<Form6>().Label1.text(), "时间型数据（点）不能设空!");
  EXPECT_EQ(r.sim.program.existing<Form7>(), nullptr);
  EXPECT_TRUE(r.main().Image4.visible());
  r.sim.advance(6000);
  EXPECT_EQ(r.main().Label12.text(), "定时动作时间：( 未启动 )");
  r.sim.advance(86'400'000);
  EXPECT_EQ(r.alarms(), 0u);
}

TEST(TimedAction1, StartedTwiceItActsOnceAndItsStatusNamesTimeAndAction) {
  Rig r({2026, 12, 11, 9, 4, 30, 5});
  r.sim.run([&] { r.settings().Check14.setValue(1); });
  r.startTimed1("9", "05", &Form1::Option1);
  r.sim.advance(20'000);
  r.sim.click(r.main().Command2);
  EXPECT_EQ(r.main().Label13.text(), "定时运行 ");
  EXPECT_EQ(r.main().Label15.text(), " ");
  EXPECT_EQ(r.main().Label12.text(), "定时动作时间：( 9：05 ) - 关机");
  // The seven keys, saved at each start.
  EXPECT_EQ(r.sim.fake.store.get("MyApp", "Startup", "Form1.Combo2"), "05");
  EXPECT_EQ(r.sim.fake.store.get("MyApp", "Startup", "Form1.Option1"), "True");
  EXPECT_EQ(r.sim.fake.store.get("MyApp", "Startup", "Form1.Option5"), "False");
  r.sim.advance(10 * 60'000);
  EXPECT_EQ(r.sim.fake.process.runs, (Runs{{"shutdown -s -t 0 -f", 2}}));
  EXPECT_TRUE(r.sim.program.ended());
}

TEST(TimedAction1, AStopWhileWaitingAppliesTheOptionsButNotTheWeekdays) {
  Rig r({2026, 12, 11, 9, 0, 0, 5});
  r.startTimed1("9", "05", &Form1::Option1);
  r.sim.run([&] {
    r.settings().Check14.setValue(1);  // edited, not applied
    r.settings().Check7.setValue(1);
  });
  r.sim.click(r.main().Label134);
  EXPECT_EQ(r.main().Label12.text(), "定时：( 已停止 )");
  EXPECT_EQ(r.main().Label13.text(), " ");
  EXPECT_EQ(r.main().Label15.text(), "定时停止 ");
  EXPECT_TRUE(r.main().Image5.visible());
  EXPECT_FALSE(r.main().Image4.visible());
  EXPECT_EQ(r.sim.fake.store.get("p", "p", "status"), "1");
  EXPECT_EQ(r.sim.fake.store.get("z", "z", "status"), std::nullopt);
  EXPECT_EQ(r.settings().Check7.value(), 0) << "the weekday edit is lost";
  EXPECT_EQ(r.main().Text2.text(), "05") << "the armed time stays";
  r.sim.advance(10 * 60'000);
  EXPECT_TRUE(r.sim.fake.process.runs.empty());
}

TEST(TimedAction1, AChoiceChangedAfterTheMinuteArmsNothingAndItsPopupClosesAtOnce) {
  // From "提醒" to "关机": the reminder comes once, without its popup.
  Rig r({2026, 12, 11, 9, 4, 58, 5});
  r.startTimed1("9", "05", &Form1::Option5);
  r.sim.advance(63'000);  // 9:06:01, the reminder armed at 9:05:04
  ASSERT_TRUE(r.main().Timer7.enabled());
  r.sim.run([&] { r.main().Option1.setValue(true); });
  r.sim.advance(5'000);
  EXPECT_EQ(r.alarms(), 1u);
  EXPECT_FALSE(r.main().visible());
  EXPECT_EQ(r.sim.program.existing<Form8>(), nullptr);
  EXPECT_FALSE(r.main().Timer7.enabled());
  EXPECT_FALSE(r.main().Timer28.enabled());
  r.sim.advance(10 * 62'000);
  EXPECT_EQ(r.alarms(), 1u);
  EXPECT_TRUE(r.sim.fake.process.runs.empty());
  EXPECT_TRUE(r.main().Image4.visible()) << "the timed action itself keeps running";
}

TEST(TimedAction1, TheReminderRepeatsUntilItsPopupIsClosedWhichStopsTheTimedAction) {
  Rig r({2026, 12, 11, 9, 4, 58, 5});
  r.sim.run([&] { r.main().Combo3.setText("会议！"); });
  r.startTimed1("9", "05", &Form1::Option5);
  r.sim.advance(6'000 + 62'000);
  Form8& popup = r.sim.program.form<Form8>();
  EXPECT_EQ(popup.caption(), "VELT-定时-温馨提醒");
  EXPECT_EQ(popup.Label1.text(), "会议！");
  EXPECT_EQ(popup.Label3.text(), "") << "the date line comes with the first refresh";
  EXPECT_TRUE(popup.topmost());
  r.sim.advance(6'000);
  EXPECT_EQ(popup.Label3.text(), r.main().Label4.text());
  EXPECT_FALSE(popup.Label3.text().empty());
  r.sim.fake.tray.mouse(1, 1);  // restored in between: hidden again at the next reminder
  r.sim.advance(56'000);
  EXPECT_EQ(r.alarms(), 2u);
  EXPECT_FALSE(r.main().visible());
  r.sim.click(popup.Command1);
  EXPECT_EQ(r.sim.program.existing<Form8>(), nullptr);
  EXPECT_EQ(r.main().Label12.text(), "定时：( 已停止 )");
  r.sim.advance(5 * 62'000);
  EXPECT_EQ(r.alarms(), 2u);
}

TEST(TimedActions, StoppingClosesTheReminderPopups) {
  struct Case {
    const char* name;
    CommandButton Form1::*stop;
    PopupWindow& (*popup)(Program&);
    std::int64_t closedWithin;  // ms after the stop
  };
  const Case cases[] = {
      {"timed action 2: at once", &Form1::Command25,
       [](Program& p) -> PopupWindow& { return p.form<Form16>(); }, 0},
      {"timed action 1: at the popup's next refresh", &Form1::Command14,
       [](Program& p) -> PopupWindow& { return p.form<Form8>(); }, 6'000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig r({2026, 12, 11, 9, 4, 58, 5});
    r.startTimed1("9", "05", &Form1::Option5);
    r.startTimed2("9", "05", &Form13::Option3);
    r.sim.advance(6'000 + 62'000 + 1'000);
    PopupWindow& popup = c.popup(r.sim.program);
    const std::string name = popup.name();
    ASSERT_TRUE(popup.visible());
    r.sim.click(r.main().*c.stop);
    if (c.closedWithin > 0) {
      EXPECT_EQ(r.sim.program.find(name), &popup);
      r.sim.advance(c.closedWithin);
    }
    EXPECT_EQ(r.sim.program.find(name), nullptr);
  }
}

TEST(TimedActions, TheThreePopupsAreIndependent) {
  Rig r({2026, 12, 11, 9, 4, 58, 5});
  r.startTimed1("9", "05", &Form1::Option5);
  r.startTimed2("9", "05", &Form13::Option3);
  r.sim.run([&] {
    r.main().Combo7.setText("生日！");
    r.main().Image6.show();  // the date reminder's running mark
    r.main().Timer27.start();
  });
  r.sim.advance(6'000 + 62'000 + 1'000);
  Form8& a = r.sim.program.form<Form8>();
  Form16& b = r.sim.program.form<Form16>();
  Form12& c = r.sim.program.form<Form12>();
  EXPECT_TRUE(a.visible() && b.visible() && c.visible());
  EXPECT_EQ(b.caption(), "VELT-定时2-温馨提醒");
  EXPECT_EQ(c.Label1.text(), "生日！");
  r.sim.click(b.Command1);
  EXPECT_EQ(r.sim.program.existing<Form16>(), nullptr);
  EXPECT_EQ(r.sim.program.existing<Form8>(), &a);
  EXPECT_EQ(r.sim.program.existing<Form12>(), &c);
  EXPECT_TRUE(r.main().Image4.visible());
  EXPECT_FALSE(r.main().Image8.visible());
}

TEST(TimedAction1, TheWholeChainToAShutdownThroughItsCountdown) {
  Rig r({2026, 12, 11, 9, 4, 58, 5});
  r.startTimed1("9", "05", &Form1::Option1);
  r.sim.advance(6'000 + 62'000);
  Form9& w = r.sim.program.form<Form9>();
  EXPECT_TRUE(w.visible());
  EXPECT_EQ(w.Label2.text(), "20");
  EXPECT_FALSE(r.main().visible());
  r.sim.advance(18'999);
  EXPECT_TRUE(r.sim.fake.process.runs.empty());
  r.sim.advance(1);
  EXPECT_EQ(r.sim.fake.process.runs, (Runs{{"shutdown -s -f -t 0", 0}}));
  EXPECT_TRUE(r.sim.program.ended());
}

// From "确定" through the time check and the fire step to the action, for the
// choices the other tests do not drive that way.
TEST(TimedActions, EachPowerChoiceIsDrivenFromItsStartToItsAction) {
  using Calls = std::vector<std::string>;
  const struct {
    const char* name;
    void (*start)(Rig&);
    Runs runs;
    Calls power;
  } cases[] = {
      {"定时 重启",
       [](Rig& r) { r.startTimed1("9", "05", &Form1::Option2); },
       {{"c:\\windows\\system32\\shutdown.exe /r /t 0", 2}},
       {}},
      {"定时 待机", [](Rig& r) { r.startTimed1("9", "05", &Form1::Option4); }, {}, {"suspend"}},
      {"定时2 关机",
       [](Rig& r) { r.startTimed2("9", "05", &Form13::Option1); },
       {{"shutdown -s -t 0 -f", 2}},
       {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Rig r({2026, 12, 11, 9, 4, 58, 5});
    r.sim.run([&] {
      r.settings().Check14.setValue(1);
      r.timed2().Check2.setValue(1);
    });
    c.start(r);
    r.sim.advance(6'000 + 61'999);  // the first time check in 9:05 comes at 9:05:04
    EXPECT_TRUE(r.sim.fake.process.runs.empty());
    EXPECT_TRUE(r.sim.fake.power.calls.empty());
    r.sim.advance(1);
    EXPECT_EQ(r.sim.fake.process.runs, c.runs);
    EXPECT_EQ(r.sim.fake.power.calls, c.power);
  }
}

TEST(TimedAction2, StandbyWithoutPromptStopsItAndClosesItsSettingsAfterTheResume) {
  Rig r({2026, 12, 11, 21, 59, 58, 5});
  r.sim.run([&] { r.timed2().Check2.setValue(1); });
  r.startTimed2("22", "00", &Form13::Option2);
  bool runningAsleep = false;
  r.sim.fake.power.whileAsleep = [&] { runningAsleep = r.main().Image8.visible(); };
  r.sim.advance(6'000 + 62'000);
  EXPECT_EQ(r.sim.fake.power.calls, std::vector<std::string>{"suspend"});
  EXPECT_TRUE(runningAsleep);
  EXPECT_FALSE(r.main().Image8.visible());
  EXPECT_EQ(r.main().Label103.text(), "定时2：( 已停止 )");
  EXPECT_EQ(r.main().Label102.text(), "定时2停止 ");
}

TEST(TimedAction2, ItsSettingsStartFromTheDefaultsAndSaveInTheirOrder) {
  Rig r({2026, 12, 11, 9, 0, 0, 5});
  Form13& s = r.timed2();
  EXPECT_TRUE(s.Option3.value());
  EXPECT_EQ(s.Combo2.text(), "20");
  EXPECT_EQ(s.Combo3.text(), "停用");
  EXPECT_EQ(s.Combo1.text(), "请输入提醒内容!");
  EXPECT_EQ(s.Check1.value() + s.Check2.value(), 0);
  EXPECT_EQ(s.Combo2.items().front(), "3");
  EXPECT_EQ(s.Combo3.items().size(), 32u);
  EXPECT_FALSE(s.Combo2.keyPress(U'5'));
  r.sim.run([&] { s.Combo1.setText(std::string(30, 'x')); });
  EXPECT_EQ(s.Combo1.text(), std::string(28, 'x'));
  const std::size_t before = r.sim.fake.store.writes.size();
  r.sim.click(s.Command1);
  const auto& w = r.sim.fake.store.writes;
  EXPECT_EQ(std::vector<std::string>(w.begin() + static_cast<std::ptrdiff_t>(before), w.end()),
            (std::vector<std::string>{
                "MyApp/Startup/Form13.Option1=False", "MyApp/Startup/Form13.Option2=False",
                "MyApp/Startup/Form13.Option3=True", "y/y/status=0", "s/s/status=0",
                "MyApp/Startup/Form13.Combo1=" + std::string(28, 'x'),
                "MyApp/Startup/Form13.Combo3=停用", "MyApp/Startup/Form13.Combo2=20"}));
  EXPECT_EQ(r.sim.program.existing<Form13>(), nullptr);
}

TEST(TimedAction2, TheStatusLineAndTheSettingsLinkHidingTheMainWindow) {
  Rig r({2026, 12, 11, 9, 0, 0, 5});
  r.startTimed2("9", "05", &Form13::Option1);
  r.sim.advance(6'000);
  EXPECT_EQ(r.main().Label103.text(), "定时2动作时间：( 9：05 ) - 关机");
  EXPECT_EQ(r.main().Label101.text(), "定时2运行 ");
  r.sim.run([&] { r.main().Combo11.setText(""); });
  r.sim.click(r.main().Command24);
  EXPECT_TRUE(r.sim.program.form<Form7>().visible());
  r.sim.advance(6'000);
  EXPECT_EQ(r.main().Label103.text(), "定时2动作时间：( 未启动 ) ");
  r.sim.click(r.main().Label137);
  EXPECT_TRUE(r.timed2().visible());
  EXPECT_FALSE(r.main().visible());
}

// Across a sleep the reminder timer fires once for all the ticks it missed,
// then keeps its period; nothing comes in a burst.
TEST(TimedAction1, ThreeHoursAsleepBringOneReminderNotABurst) {
  Rig r({2026, 12, 11, 9, 4, 58, 5});
  r.startTimed1("9", "05", &Form1::Option5);
  r.sim.advance(6'000 + 62'000);
  ASSERT_EQ(r.alarms(), 1u);
  r.sim.fake.clock.set(r.sim.now() + 3 * 3600 * 1000);
  r.sim.advance(0);
  EXPECT_EQ(r.alarms(), 2u);
  r.sim.advance(61'999);
  EXPECT_EQ(r.alarms(), 2u);
  r.sim.advance(1);
  EXPECT_EQ(r.alarms(), 3u);
}

// Summer time: a minute that does not exist never fires; one that occurs
// twice arms the reminder once (it is already running the second time).
TEST(TimedAction1, SummerTimeChangesSkipAMissingMinuteAndDoNotDoubleARepeatedOne) {
  {
    Rig r({2026, 3, 29, 0, 50, 0, 0});
    r.sim.fake.clock.setZone(europeBerlin, {2026, 3, 29, 0, 50, 0, 0});  // 01:50 CET
    r.startTimed1("2", "30", &Form1::Option5);
    r.sim.advance(2 * 3600 * 1000);
    EXPECT_EQ(r.alarms(), 0u);
    EXPECT_FALSE(r.main().Timer7.enabled());
  }
  {
    Rig r({2026, 10, 25, 0, 29, 0, 0});
    r.sim.fake.clock.setZone(europeBerlin, {2026, 10, 25, 0, 29, 0, 0});  // 02:29 CEST
    r.startTimed1("2", "30", &Form1::Option5);
    std::vector<std::int64_t> reminders;
    for (std::int64_t end = r.sim.now() + 2 * 3600 * 1000; r.sim.now() < end;) {
      const std::size_t before = r.alarms();
      r.sim.advance(1000);
      if (r.alarms() > before) reminders.push_back(r.sim.now());
    }
    ASSERT_GT(reminders.size(), 100u);
    for (std::size_t i = 1; i < reminders.size(); ++i)
      EXPECT_EQ(reminders[i] - reminders[i - 1], 62'000) << i;
  }
}

// 2:30 comes twice on the last Sunday of October. A timed action that fired
// in the first and was stopped there (a cancelled countdown, a standby,
// "关闭提醒") is started again by its weekday within seconds; the second 2:30
// must not fire it again.
TEST(TimedAction1, TheRepeatedAutumnMinuteFiresOnceEvenWhenItsWeekdayStartsItAgain) {
  const struct {
    const char* name;
    const char* option;  // the action's stored choice
    const char* noPrompt;
  } cases[] = {
      {"关机, its countdown cancelled", "Form1.Option1", "0"},
      {"待机 without a prompt", "Form1.Option4", "1"},
      {"提醒, its popup closed", "Form1.Option5", "0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Sim sim;
    sim.fake.store.put("o", "o", "status", "1");  // every Sunday
    sim.fake.store.put("p", "p", "status", c.noPrompt);
    sim.fake.store.put("MyApp", "Startup", "Form1.Combo1", "2");
    sim.fake.store.put("MyApp", "Startup", "Form1.Combo2", "30");
    sim.fake.store.put("MyApp", "Startup", c.option, "True");
    sim.fake.clock.setZone(europeBerlin, {2026, 10, 25, 0, 20, 0, 0});  // 02:20 CEST, Sunday
    sim.start();
    Form1& f = sim.program.form<Form1>();
    sim.run([&] { f.Timer9.stop(); });
    std::size_t fired = 0;
    for (std::int64_t end = sim.now() + 2 * 3600 * 1000; sim.now() < end;) {
      sim.advance(1000);
      if (Form9* w = sim.program.existing<Form9>(); w && w->visible()) {
        ++fired;
        sim.click(w->Command1);
      }
      if (Form8* w = sim.program.existing<Form8>(); w && w->visible()) {
        ++fired;
        sim.click(w->Command1);
      }
    }
    fired += sim.fake.power.calls.size();
    EXPECT_EQ(fired, 1u);
    EXPECT_TRUE(f.Image4.visible()) << "its weekday keeps it started";
    EXPECT_TRUE(sim.fake.process.runs.empty());
  }
}

}  // namespace
}  // namespace qv
