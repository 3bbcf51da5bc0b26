// The power countdown windows and the executors of the timed actions, in
// virtual time: when each acts, what its cancel stops, the prompt and
// no-prompt paths, and standby holding everything until the resume.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "forms/countdowns.h"
#include "forms/form1.h"
#include "forms/form13.h"
#include "forms/form5.h"
#include "platform/process.h"
#include "schedule/countdown_windows.h"
#include "support/sim.h"

namespace qv {
namespace {

using test::Sim;
using Runs = std::vector<std::pair<std::string, int>>;
using Calls = std::vector<std::string>;

const std::pair<std::string, int> kShutdown{"shutdown -s -f -t 0", windowstyle::hidden};
const std::pair<std::string, int> kShutdownNow{"shutdown -s -t 0 -f", windowstyle::minimized};
const std::pair<std::string, int> kRestart{"c:\\windows\\system32\\shutdown.exe /r /t 0",
                                           windowstyle::minimized};

// The program started, both timed actions running for a time that never
// comes.
struct Rig {
  Rig() {
    sim.start();
    sim.run([&] {
      main().Combo1.setText("3");
      main().Combo2.setText("00");
      main().Combo10.setText("4");
      main().Combo11.setText("00");
      main().Command2.press();
      main().Command24.press();
    });
  }
  Form1& main() { return sim.program.form<Form1>(); }
  Form5& settings() { return sim.program.form<Form5>(); }
  Form13& timed2() { return sim.program.form<Form13>(); }
  Runs& runs() { return sim.fake.process.runs; }
  Calls& power() { return sim.fake.power.calls; }
  void open(CountdownWindow& (*window)(Program&), bool hideMain) {
    sim.run([&] { openCountdown(sim.program, window(sim.program), hideMain); });
  }
  Sim sim;
};

class Countdowns : public ::testing::Test, public Rig {};

template <class F>
CountdownWindow& window(Program& p) {
  return p.form<F>();
}

// Every member with a delay of 5: it shows 5 when it opens and acts 4 s
// later, at the tick that shows 1.
TEST_F(Countdowns, EachMemberActsAtTheTickThatShowsOne) {
  struct Member {
    CountdownWindow& (*window)(Program&);
    ComboBox& (*delay)(Rig&);
    Runs runs;
    Calls power;
    bool ends;
    bool timed1Runs, timed2Runs;  // afterwards
  };
  auto alarm = [](Rig& t) -> ComboBox& { return t.settings().Combo6; };
  auto timed = [](Rig& t) -> ComboBox& { return t.settings().Combo18; };
  auto timed2 = [](Rig& t) -> ComboBox& { return t.timed2().Combo2; };
  const Member members[] = {
      {window<Form2>, alarm, {kShutdown}, {}, true, true, true},
      {window<Form4>, alarm, {kShutdown}, {}, true, true, true},
      {window<Form9>, timed, {kShutdown}, {}, true, true, true},
      {window<Form10>, timed, {kRestart}, {}, true, true, true},
      {window<Form11>, timed, {}, {"suspend"}, false, false, true},
      {window<Form14>, timed2, {kShutdown}, {}, true, true, true},
      {window<Form15>, timed2, {}, {"suspend"}, false, false, false},
  };
  for (const Member& m : members) {
    Rig t;
    t.sim.run([&] { m.delay(t).setText("5"); });
    t.open(m.window, false);
    CountdownWindow& w = m.window(t.sim.program);
    const std::string name = w.name();
    SCOPED_TRACE(name);
    EXPECT_EQ(w.Label2.text(), "5");
    EXPECT_TRUE(w.topmost());
    t.sim.advance(3999);
    EXPECT_EQ(w.Label2.text(), "2");
    EXPECT_TRUE(t.runs().empty());
    EXPECT_TRUE(t.power().empty());
    t.sim.advance(1);
    EXPECT_EQ(t.runs(), m.runs);
    EXPECT_EQ(t.power(), m.power);
    EXPECT_EQ(t.sim.program.ended(), m.ends);
    if (m.ends) continue;
    EXPECT_EQ(t.sim.program.find(name), nullptr) << "a standby member closes after the resume";
    EXPECT_EQ(t.main().Image4.visible(), m.timed1Runs);
    EXPECT_EQ(t.main().Image8.visible(), m.timed2Runs);
  }
}

// The cancel's own steps: the stop buttons also stop the executors, so they
// stand in for the stops here and only record that they were pressed.
TEST_F(Countdowns, ACancelStopsTheTickerTheTimedActionAndItsExecutorAndLeavesTheMainWindowHidden) {
  struct Member {
    CountdownWindow& (*window)(Program&);
    Timer Form1::*executor;  // nullptr: an alarm member
    Calls stops;             // the stop buttons pressed
  };
  const Member members[] = {
      {window<Form2>, nullptr, {}},
      {window<Form4>, nullptr, {}},
      {window<Form9>, &Form1::Timer28, {"Command14"}},
      {window<Form10>, &Form1::Timer29, {"Command14"}},
      {window<Form11>, &Form1::Timer30, {"Command14"}},
      {window<Form14>, &Form1::Timer32, {"Command25"}},
      {window<Form15>, &Form1::Timer33, {"Command25"}},
  };
  for (const Member& m : members) {
    Rig t;
    Calls stops;
    for (CommandButton* stop : {&t.main().Command14, &t.main().Command25})
      stop->onClick.replace([&stops, stop] { stops.push_back(stop->name()); });
    if (m.executor) t.sim.run([&] { (t.main().*m.executor).start(); });
    t.open(m.window, m.executor != nullptr);
    CountdownWindow& w = m.window(t.sim.program);
    const std::string name = w.name();
    SCOPED_TRACE(name);
    t.sim.advance(3000);
    t.sim.click(w.Command1);
    EXPECT_EQ(t.sim.program.find(name), nullptr);
    EXPECT_EQ(stops, m.stops);
    if (m.executor) {
      EXPECT_FALSE((t.main().*m.executor).enabled());
      EXPECT_FALSE(t.main().visible());
    }
    t.sim.advance(60'000);
    EXPECT_TRUE(t.runs().empty());
    EXPECT_TRUE(t.power().empty());
  }
}

TEST_F(Countdowns, ACancelStopsTheTimedActionThatOpenedTheWindow) {
  struct Member {
    CountdownWindow& (*window)(Program&);
    bool timed1Runs, timed2Runs;
  };
  const Member members[] = {
      {window<Form2>, true, true},   {window<Form9>, false, true},  {window<Form10>, false, true},
      {window<Form11>, false, true}, {window<Form14>, true, false}, {window<Form15>, true, false},
  };
  for (const Member& m : members) {
    Rig t;
    t.open(m.window, true);
    CountdownWindow& w = m.window(t.sim.program);
    SCOPED_TRACE(w.name());
    t.sim.click(w.Command1);
    EXPECT_EQ(t.main().Image4.visible(), m.timed1Runs);
    EXPECT_EQ(t.main().Image8.visible(), m.timed2Runs);
  }
}

using Texts = std::vector<std::string>;

// The warning balloons that told of a refused power action.
Texts refusals(const Sim& sim) {
  Texts texts;
  for (const auto& b : sim.fake.tray.balloons)
    if (b.title == "操作失败" && b.kind == 2) texts.push_back(b.text);
  return texts;
}

// Where the system says no, the machine stays up, and so must the program
// that watches it: the window goes as its cancel takes it, a balloon says
// why, and the next opening counts afresh.
TEST_F(Countdowns, ARefusedActionKeepsTheProgramRunningAndGoesAsACancel) {
  struct Member {
    CountdownWindow& (*window)(Program&);
    Timer Form1::*executor;  // nullptr: an alarm member
    const char* refusal;
    bool timed1Runs, timed2Runs;
  };
  const Member members[] = {
      {window<Form2>, nullptr, "系统拒绝了关机请求", true, true},
      {window<Form4>, nullptr, "系统拒绝了关机请求", true, true},
      {window<Form9>, &Form1::Timer28, "系统拒绝了关机请求", false, true},
      {window<Form10>, &Form1::Timer29, "系统拒绝了重启请求", false, true},
      {window<Form11>, &Form1::Timer30, "系统拒绝了待机请求", false, true},
      {window<Form14>, &Form1::Timer32, "系统拒绝了关机请求", true, false},
      // Timed action 2's standby leaves timed action 1 alone, as its cancel.
      {window<Form15>, &Form1::Timer33, "系统拒绝了待机请求", true, false},
  };
  for (const Member& m : members) {
    Rig t;
    t.sim.fake.process.refuses = true;
    t.sim.fake.power.refuses = true;
    t.sim.run([&] {
      t.settings().Combo6.setText("5");
      t.settings().Combo18.setText("5");
      t.timed2().Combo2.setText("5");
    });
    if (m.executor) t.sim.run([&] { (t.main().*m.executor).start(); });
    t.open(m.window, m.executor != nullptr);
    const std::string name = m.window(t.sim.program).name();
    SCOPED_TRACE(name);
    t.sim.advance(4000);
    EXPECT_FALSE(t.sim.program.ended());
    EXPECT_EQ(t.sim.program.find(name), nullptr);
    EXPECT_EQ(refusals(t.sim), Texts{m.refusal});
    if (m.executor) {
      EXPECT_FALSE((t.main().*m.executor).enabled());
    }
    EXPECT_EQ(t.main().Image4.visible(), m.timed1Runs);
    EXPECT_EQ(t.main().Image8.visible(), m.timed2Runs);

    t.open(m.window, false);
    CountdownWindow& again = m.window(t.sim.program);
    EXPECT_TRUE(again.visible());
    EXPECT_EQ(again.Label2.text(), "5");
    EXPECT_TRUE(again.Timer1.enabled());
  }
}

// Windows' shutdown lines only start a program: one that cannot be started
// ends the program as one that was.
TEST_F(Countdowns, APowerLineThatCannotBeStartedStillEndsTheProgram) {
  sim.fake.process.fails = true;
  sim.run([&] { settings().Combo6.setText("3"); });
  open(window<Form2>, false);
  sim.advance(2000);
  EXPECT_EQ(runs(), (Runs{kShutdown}));
  EXPECT_TRUE(sim.program.ended());
  EXPECT_TRUE(refusals(sim).empty());
}

TEST_F(Countdowns, DelaysOf0And1NeverActAndADelayThatIsNoNumberCountsFromTheDefault) {
  struct Case {
    CountdownWindow& (*window)(Program&);
    const char* delay;
    const char* shown;     // when it opens
    const char* afterTen;  // ten seconds later
  };
  const Case cases[] = {
      {window<Form9>, "0", "0", "0"},   {window<Form9>, "1", "1", "0"},
      {window<Form2>, "", "12", "2"},   {window<Form2>, "abc", "12", "2"},
      {window<Form9>, "x", "20", "10"}, {window<Form14>, "", "20", "10"},
  };
  for (const Case& c : cases) {
    Rig t;
    t.sim.run([&] {
      t.settings().Combo6.setText(c.delay);
      t.settings().Combo18.setText(c.delay);
      t.timed2().Combo2.setText(c.delay);
    });
    t.open(c.window, false);
    CountdownWindow& w = c.window(t.sim.program);
    SCOPED_TRACE(w.name() + " with \"" + c.delay + "\"");
    EXPECT_EQ(w.Label2.text(), c.shown);
    t.sim.advance(10'000);
    EXPECT_EQ(w.Label2.text(), c.afterTen);
    EXPECT_TRUE(w.loaded());
    EXPECT_TRUE(t.runs().empty());
  }
}

TEST_F(Countdowns, TheSecondTimedShutdownSitsInTheBottomRightCorner) {
  sim.program.setScreen({1280 * 15, 800 * 15});
  open(window<Form14>, true);
  Form14& w = sim.program.form<Form14>();
  EXPECT_EQ(w.left() + w.width(), 1280 * 15);
  EXPECT_EQ(w.top() + w.height(), 800 * 15 - 430);
  EXPECT_EQ(sim.program.form<Form9>().left(), 0) << "the others keep their place";
}

// The executors: a minute after the fire step, with the no-prompt option on
// or off.
void chooseTimed1(Rig& t, OptionButton Form1::*option);
void chooseTimed2(Rig& t, OptionButton Form13::*option);

TEST_F(Countdowns, WithoutPromptAnExecutorActsAtOnce) {
  struct Case {
    Timer Form1::*executor;
    void (*choose)(Rig&);
    Runs runs;
    Calls power;
    bool ends;
    bool timed1Runs, timed2Runs;
  };
  const Case cases[] = {
      {&Form1::Timer28,
       [](Rig& t) { chooseTimed1(t, &Form1::Option1); },
       {kShutdownNow},
       {},
       true,
       true,
       true},
      {&Form1::Timer29,
       [](Rig& t) { chooseTimed1(t, &Form1::Option2); },
       {kRestart},
       {},
       true,
       true,
       true},
      {&Form1::Timer30,
       [](Rig& t) { chooseTimed1(t, &Form1::Option4); },
       {},
       {"suspend"},
       false,
       false,
       true},
      {&Form1::Timer32,
       [](Rig& t) { chooseTimed2(t, &Form13::Option1); },
       {kShutdownNow},
       {},
       false,
       true,
       true},
      {&Form1::Timer33,
       [](Rig& t) { chooseTimed2(t, &Form13::Option2); },
       {},
       {"suspend"},
       false,
       true,
       false},
  };
  for (const Case& c : cases) {
    Rig t;
    c.choose(t);
    t.sim.run([&] { (t.main().*c.executor).start(); });
    SCOPED_TRACE((t.main().*c.executor).name());
    t.sim.advance(61'999);
    EXPECT_TRUE(t.runs().empty());
    t.sim.advance(1);
    EXPECT_EQ(t.runs(), c.runs);
    EXPECT_EQ(t.power(), c.power);
    EXPECT_EQ(t.sim.program.ended(), c.ends);
    if (c.ends) continue;
    EXPECT_EQ(t.main().Image4.visible(), c.timed1Runs);
    EXPECT_EQ(t.main().Image8.visible(), c.timed2Runs);
    for (CountdownWindow* w : std::initializer_list<CountdownWindow*>{
             t.sim.program.existing<Form9>(), t.sim.program.existing<Form14>()})
      EXPECT_EQ(w, nullptr);
  }
}

// With the prompt, each executor opens its own countdown and no other.
TEST_F(Countdowns, EachExecutorWithPromptOpensItsOwnCountdown) {
  struct Case {
    Timer Form1::*executor;
    void (*choose)(Rig&);
    CountdownWindow& (*window)(Program&);
  };
  const Case cases[] = {
      {&Form1::Timer28, [](Rig& t) { t.main().Option1.setValue(true); }, window<Form9>},
      {&Form1::Timer29, [](Rig& t) { t.main().Option2.setValue(true); }, window<Form10>},
      {&Form1::Timer30, [](Rig& t) { t.main().Option4.setValue(true); }, window<Form11>},
      {&Form1::Timer32, [](Rig& t) { t.timed2().Option1.setValue(true); }, window<Form14>},
      {&Form1::Timer33, [](Rig& t) { t.timed2().Option2.setValue(true); }, window<Form15>},
  };
  for (const Case& c : cases) {
    Rig t;
    t.sim.run([&] {
      c.choose(t);
      (t.main().*c.executor).start();
    });
    SCOPED_TRACE((t.main().*c.executor).name());
    auto open = [&t] {
      std::vector<std::string> names;
      for (Form* w : t.sim.program.windows())
        if (dynamic_cast<CountdownWindow*>(w) && w->visible()) names.push_back(w->name());
      return names;
    };
    t.sim.advance(61'999);
    EXPECT_EQ(open(), std::vector<std::string>{});
    t.sim.advance(1);
    CountdownWindow& w = c.window(t.sim.program);
    EXPECT_EQ(open(), std::vector<std::string>{w.name()});
    EXPECT_TRUE(w.Timer1.enabled());
    EXPECT_FALSE(t.main().visible());
    EXPECT_TRUE(t.runs().empty());
    EXPECT_TRUE(t.power().empty());
  }
}

// The choice as the user applies it; timed action 2's no-prompt paths close
// its settings window, so its choice must be saved to hold the next time.
void chooseTimed1(Rig& t, OptionButton Form1::*option) {
  t.sim.run([&] {
    (t.main().*option).setValue(true);
    t.settings().Check14.setValue(1);
  });
}
void chooseTimed2(Rig& t, OptionButton Form13::*option) {
  t.sim.run([&] {
    (t.timed2().*option).setValue(true);
    t.timed2().Check2.setValue(1);
    t.timed2().Command1.press();
  });
}

TEST_F(Countdowns, ARefusedActionWithoutPromptLeavesTheTimedActionAsACancelWould) {
  struct Case {
    Timer Form1::*executor;
    void (*choose)(Rig&);
    const char* refusal;
    bool timed1Runs, timed2Runs;
  };
  const Case cases[] = {
      {&Form1::Timer28, [](Rig& t) { chooseTimed1(t, &Form1::Option1); }, "系统拒绝了关机请求",
       false, true},
      {&Form1::Timer29, [](Rig& t) { chooseTimed1(t, &Form1::Option2); }, "系统拒绝了重启请求",
       false, true},
      {&Form1::Timer30, [](Rig& t) { chooseTimed1(t, &Form1::Option4); }, "系统拒绝了待机请求",
       false, true},
      {&Form1::Timer32, [](Rig& t) { chooseTimed2(t, &Form13::Option1); }, "系统拒绝了关机请求",
       true, false},
      {&Form1::Timer33, [](Rig& t) { chooseTimed2(t, &Form13::Option2); }, "系统拒绝了待机请求",
       true, false},
  };
  for (const Case& c : cases) {
    Rig t;
    c.choose(t);
    t.sim.fake.process.refuses = true;
    t.sim.fake.power.refuses = true;
    t.sim.run([&] { (t.main().*c.executor).start(); });
    SCOPED_TRACE((t.main().*c.executor).name());
    t.sim.advance(62'000);
    EXPECT_FALSE(t.sim.program.ended());
    EXPECT_EQ(refusals(t.sim), Texts{c.refusal});
    EXPECT_FALSE((t.main().*c.executor).enabled());
    EXPECT_EQ(t.main().Image4.visible(), c.timed1Runs);
    EXPECT_EQ(t.main().Image8.visible(), c.timed2Runs);
    t.sim.advance(5 * 62'000);
    EXPECT_EQ(refusals(t.sim).size(), 1u) << "asked once, not every minute";
  }
}

TEST_F(Countdowns, TimedAction2sShutdownWithoutPromptIsAskedAgainAMinuteLater) {
  chooseTimed2(*this, &Form13::Option1);
  sim.run([&] { main().Timer32.start(); });
  sim.advance(124'000);
  EXPECT_EQ(runs(), (Runs{kShutdownNow, kShutdownNow}));
  EXPECT_FALSE(sim.program.ended());
}

TEST_F(Countdowns, APromptShownAgainEveryMinuteKeepsItsCountAndHidesTheMainWindowAgain) {
  sim.run([&] {
    main().Option1.setValue(true);
    settings().Combo18.setText("100");
    main().Timer28.start();
  });
  sim.advance(62'000);
  Form9& w = sim.program.form<Form9>();
  EXPECT_TRUE(w.visible());
  EXPECT_EQ(w.Label2.text(), "100");
  EXPECT_FALSE(main().visible());
  sim.fake.tray.mouse(1, 1);  // the user restores the main window
  EXPECT_TRUE(main().visible());
  sim.advance(62'000);
  EXPECT_EQ(&sim.program.form<Form9>(), &w) << "the same window";
  EXPECT_EQ(w.Label2.text(), "38");
  EXPECT_FALSE(main().visible());
  sim.advance(37'000);
  EXPECT_EQ(runs(), (Runs{kShutdown}));
  EXPECT_TRUE(sim.program.ended());
}

TEST_F(Countdowns, AnExecutorWhoseChoiceIsNoLongerSelectedDoesNothing) {
  sim.run([&] {
    main().Option1.setValue(true);
    main().Timer28.start();
    main().Option5.setValue(true);  // "提醒" after the set minute
  });
  sim.advance(5 * 62'000);
  EXPECT_TRUE(main().Timer28.enabled());
  EXPECT_EQ(sim.program.existing<Form9>(), nullptr);
  EXPECT_TRUE(runs().empty());
  EXPECT_FALSE(main().Timer7.enabled()) << "no reminder either";
}

// Standby blocks: nothing of the program runs until the machine resumes,
// then the steps after it run and the timers that fell due fire once.
TEST_F(Countdowns, StandbyHoldsTheProgramUntilTheResumeThenStopsTheTimedAction) {
  bool runningWhileAsleep = false;
  std::size_t trayCallsAsleep = 1;
  sim.fake.power.whileAsleep = [&] {
    const std::size_t before = sim.fake.tray.calls.size();
    sim.fake.clock.set(sim.now() + 3 * 3600 * 1000);
    sim.program.pump();  // as an event loop running meanwhile would
    trayCallsAsleep = sim.fake.tray.calls.size() - before;
    runningWhileAsleep = main().Image4.visible();
  };
  sim.run([&] { settings().Combo18.setText("3"); });
  open(window<Form11>, true);
  sim.advance(2000);
  EXPECT_EQ(power(), Calls{"suspend"});
  EXPECT_EQ(trayCallsAsleep, 0u) << "no timer fired while asleep";
  EXPECT_TRUE(runningWhileAsleep);
  EXPECT_FALSE(main().Image4.visible());
  EXPECT_EQ(sim.program.existing<Form11>(), nullptr);
  // After the resume the timers run again.
  const std::size_t after = sim.fake.tray.calls.size();
  sim.advance(8000);
  EXPECT_GT(sim.fake.tray.calls.size(), after);
}

TEST_F(Countdowns, ARefusedStandbyStillStopsTheTimedAction) {
  sim.fake.power.refuses = true;
  sim.run([&] {
    main().Option4.setValue(true);
    settings().Check14.setValue(1);
    main().Timer30.start();
  });
  sim.advance(62'000);
  EXPECT_EQ(power(), Calls{"suspend"});
  EXPECT_FALSE(main().Image4.visible());
}

TEST_F(Countdowns, StoppingTimedAction1ClosesItsCountdownAndNothingIsShutDown) {
  sim.run([&] {
    main().Option1.setValue(true);
    main().Timer28.start();
  });
  sim.advance(62'000);
  ASSERT_NE(sim.program.existing<Form9>(), nullptr);
  sim.fake.tray.mouse(1, 1);
  sim.click(main().Command14);
  EXPECT_EQ(sim.program.existing<Form9>(), nullptr);
  sim.advance(120'000);
  EXPECT_TRUE(runs().empty());
  EXPECT_FALSE(sim.program.ended());
}

}  // namespace
}  // namespace qv
