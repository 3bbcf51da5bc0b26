// The readout icon, the display modes chosen in the settings window and the
// status tooltip of the application icon, in virtual time.

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "forms/form1.h"
#include "forms/form3.h"
#include "forms/form5.h"
#include "platform/thermal.h"
#include "platform/tray.h"
#include "support/sim.h"

namespace qv {
namespace {

using test::Sim;

constexpr Colour red = Colour::rgb(255, 0, 0);
constexpr Colour orange = Colour::rgb(255, 128, 0);
constexpr Colour yellow = Colour::rgb(192, 192, 0);
constexpr Colour green = Colour::rgb(0, 192, 0);

const std::string kLegend = "红色:CPU温度\n绿色:CPU使用率/星期\n橙色:硬盘温度\n黄色:内存使用率";

Form1& mainOf(Sim& sim) {
  return sim.program.form<Form1>();
}
Form5& settingsOf(Sim& sim) {
  return sim.program.form<Form5>();
}

// Selects an option the way a click on it in the window does.
void choose(Sim& sim, OptionButton& option) {
  sim.run([&] { option.setValue(true); });
}

// Lets time run up to the timer's next tick; `before` runs 1 ms ahead of it,
// so only timers due at that very millisecond can come in between.
void runTo(Sim& sim, Timer& timer, const std::function<void()>& before = {}) {
  ASSERT_TRUE(timer.enabled() && timer.armed()) << timer.name();
  ASSERT_GT(timer.due(), sim.now()) << timer.name();
  sim.advance(timer.due() - sim.now() - 1);
  if (before) before();
  sim.advance(1);
}

// A distinct text in every holder the picture can show.
void setReadings(Form1& f) {
  f.Label16.setText("45.5");  // CPU temperature
  f.Label31.setText("38");    // disk temperature readout
  f.Label27.setText("37");    // raw disk reading
  f.Label6.setText("55");     // memory load
  f.Label20.setText("21");    // CPU load
  f.Label111.setText("三");   // weekday
}

std::vector<Timer*> modeTimers(Form1& f) {
  return {&f.Timer15, &f.Timer16, &f.Timer17, &f.Timer20,
          &f.Timer21, &f.Timer22, &f.Timer23, &f.Timer36};
}

std::vector<std::string> runningModes(Form1& f) {
  std::vector<std::string> on;
  for (Timer* t : modeTimers(f))
    if (t->enabled()) on.push_back(t->name());
  return on;
}

using Names = std::vector<std::string>;

std::string describe(Colour c) {
  return "rgb(" + std::to_string(c.red()) + "," + std::to_string(c.green()) + "," +
         std::to_string(c.blue()) + ")";
}
std::string describe(const TrayPicture& p) {
  std::ostringstream out;
  out << "'" << p.text << "' on " << describe(p.background) << " in " << describe(p.textColour)
      << ", " << p.fontName << " " << p.fontSize << " at " << p.x << "," << p.y;
  return out.str();
}

TEST(DisplayModes, EachOptionLeavesOnlyItsTimerRunning) {
  Sim sim;
  sim.start();
  Form1& f = mainOf(sim);
  Form5& s = settingsOf(sim);
  const std::pair<OptionButton*, const char*> table[] = {
      {&s.Option1, "Timer20"}, {&s.Option2, "Timer21"}, {&s.Option3, "Timer22"},
      {&s.Option4, "Timer15"},  // the cycle's later steps stop too: one pass only
      {&s.Option5, "Timer23"}, {&s.Option6, "Timer36"},
  };
  for (const auto& [option, timer] : table) {
    sim.run([&] {
      for (Timer* t : modeTimers(f)) t->start();
    });
    sim.click(*option);
    EXPECT_EQ(runningModes(f), Names{timer}) << option->text();
  }
}

TEST(DisplayModes, EachFixedModeShowsItsReadingOnItsColourAndTheIconFollows) {
  struct Case {
    OptionButton Form5::*option;
    Timer Form1::*timer;
    const char* text;
    Colour back;
  };
  const Case cases[] = {
      {&Form5::Option1, &Form1::Timer20, "45.5", red},
      {&Form5::Option2, &Form1::Timer21, "38", orange},
      {&Form5::Option3, &Form1::Timer22, "55", yellow},
      {&Form5::Option5, &Form1::Timer23, "21", green},
      {&Form5::Option6, &Form1::Timer36, "三", green},
  };
  for (const Case& c : cases) {
    Sim sim;
    sim.start();
    Form1& f = mainOf(sim);
    // Off the readouts' 8-second beat, so they never write at a mode tick.
    sim.advance(1000);
    choose(sim, settingsOf(sim).*c.option);
    Timer& timer = f.*c.timer;
    ASSERT_EQ(runningModes(f), Names{timer.name()});
    for (int tick = 0; tick < 2; ++tick) {
      runTo(sim, timer, [&] {
        setReadings(f);
        f.Label26.setText("?");
        f.Picture1.setBackColour(colours::black);
      });
      EXPECT_EQ(f.Label26.text(), c.text) << timer.name();
      EXPECT_EQ(describe(f.Picture1.backColour()), describe(c.back)) << timer.name();
    }
    // The icon shows it at its next tick, in the canvas's font of that moment.
    runTo(sim, f.Timer14, [&] { f.Picture1.setFontSize(7.72); });
    ASSERT_TRUE(sim.fake.tray.present(0));
    const TrayIconData& icon = sim.fake.tray.icons[0];
    EXPECT_TRUE(icon.drawn);
    EXPECT_EQ(describe(icon.picture),
              describe(TrayPicture{c.back, c.text, 7.72, 2, 2, colours::white, "Tahoma"}));
    EXPECT_EQ(icon.tip, kLegend) << timer.name();
  }
}

TEST(DisplayModes, TheCycleShowsCpuLoadCpuTemperatureAndDiskSixSecondsEach) {
  Sim sim;
  sim.start();
  Form1& f = mainOf(sim);
  Form5& s = settingsOf(sim);
  // Restart the cycle off the readouts' 8-second beat.
  sim.advance(1000);
  choose(sim, s.Option5);
  choose(sim, s.Option4);
  std::vector<Colour> shown;
  int watch = f.observe([&](Control* c, Property p) {
    if (c == &f.Picture1 && p == Property::BackColour) shown.push_back(f.Picture1.backColour());
  });

  struct Step {
    Timer Form1::*timer;
    const char* text;
    Colour back;
  };
  const Step steps[] = {
      {&Form1::Timer15, "21", green},
      {&Form1::Timer16, "45.5", red},
      {&Form1::Timer17, "37", orange},  // the raw disk holder, not the readout
  };
  std::int64_t last = sim.now();
  for (int round = 0; round < 3; ++round) {
    for (const Step& step : steps) {
      Timer& timer = f.*step.timer;
      ASSERT_EQ(runningModes(f), Names{timer.name()}) << "round " << round;
      runTo(sim, timer, [&] { setReadings(f); });
      EXPECT_EQ(sim.now() - last, 6000) << timer.name();
      last = sim.now();
      EXPECT_EQ(f.Label26.text(), step.text) << timer.name();
      EXPECT_EQ(describe(f.Picture1.backColour()), describe(step.back)) << timer.name();
    }
  }
  // One colour per tick, never the memory's yellow.
  EXPECT_EQ(shown.size(), 9u);
  for (Colour c : shown) EXPECT_NE(describe(c), describe(yellow));
  f.unobserve(watch);
}

TEST(DisplayModes, ClickingTheCycleAgainWhileItRunsKeepsOnePass) {
  Sim sim;
  sim.start();
  Form1& f = mainOf(sim);
  Form5& s = settingsOf(sim);

  // On its first step: the running timer keeps its schedule.
  sim.advance(3000);
  std::int64_t due = f.Timer15.due();
  sim.click(s.Option4);
  EXPECT_EQ(runningModes(f), Names{"Timer15"});
  EXPECT_EQ(f.Timer15.due(), due);

  // On its second step: the cycle starts over instead of running twice.
  sim.advance(4000);
  ASSERT_EQ(runningModes(f), Names{"Timer16"});
  sim.click(s.Option4);
  EXPECT_EQ(runningModes(f), Names{"Timer15"});
  for (int second = 1; second <= 36; ++second) {
    sim.advance(1000);
    EXPECT_EQ(runningModes(f).size(), 1u) << "after " << second << " s";
  }
}

TEST(DisplayModes, TheWeekdayModeShowsDotsUntilTheWeekdayIsKnown) {
  Sim sim;
  sim.start();
  Form1& f = mainOf(sim);
  choose(sim, settingsOf(sim).Option6);
  // Its first tick comes before the settings window's first schedule tick.
  runTo(sim, f.Timer36);
  EXPECT_EQ(f.Label26.text(), "...");
  EXPECT_EQ(describe(f.Picture1.backColour()), describe(green));
  runTo(sim, f.Timer14);
  EXPECT_EQ(sim.fake.tray.icons[0].picture.text, "...");
}

TEST(DisplayModes, ApplySavesTheSixOptionsInOrderAndCloses) {
  Sim sim;
  sim.start();
  Form5& s = settingsOf(sim);
  choose(sim, s.Option2);
  sim.fake.store.writes.clear();
  sim.click(s.Command8);
  EXPECT_EQ(sim.fake.store.writes,
            Names({"MyApp/Startup/Option1=False", "MyApp/Startup/Option2=True",
                   "MyApp/Startup/Option3=False", "MyApp/Startup/Option4=False",
                   "MyApp/Startup/Option5=False", "MyApp/Startup/Option6=False"}));
  EXPECT_EQ(sim.program.existing<Form5>(), nullptr);
}

TEST(DisplayModes, AStoredFixedModeReturnsWithEachNewSettingsWindowAStoredCycleDoesNot) {
  auto store = [](Sim& sim, const char* selected) {
    for (const char* key : {"Option1", "Option2", "Option3", "Option4", "Option5", "Option6"})
      sim.fake.store.put("MyApp", "Startup", key, key == std::string(selected) ? "True" : "False");
  };
  // Picked, abandoned with "取消", then the window is created again by the
  // next read of one of its fields (the tooltip timer's, at the latest).
  auto pickAndCancel = [](Sim& sim, OptionButton Form5::*option) {
    choose(sim, settingsOf(sim).*option);
    sim.click(settingsOf(sim).Command9);
    ASSERT_EQ(sim.program.existing<Form5>(), nullptr);
  };

  {
    Sim sim;
    store(sim, "Option3");
    sim.start();
    Form1& f = mainOf(sim);
    EXPECT_EQ(runningModes(f), Names{"Timer22"});
    pickAndCancel(sim, &Form5::Option5);
    EXPECT_EQ(runningModes(f), Names{"Timer23"});
    sim.advance(8000);
    ASSERT_NE(sim.program.existing<Form5>(), nullptr);
    EXPECT_EQ(runningModes(f), Names{"Timer22"});
  }
  {
    Sim sim;
    store(sim, "Option4");
    sim.start();
    Form1& f = mainOf(sim);
    pickAndCancel(sim, &Form5::Option1);
    sim.advance(8000);
    ASSERT_NE(sim.program.existing<Form5>(), nullptr);
    EXPECT_EQ(runningModes(f), Names{"Timer20"});
  }
}

TEST(ReadoutIcon, AddedWithTheLegendRedrawnEachTickAndBackAfterTheTrayHostRestarts) {
  Sim sim;
  sim.start();
  Form1& f = mainOf(sim);
  auto& tray = sim.fake.tray;
  auto readoutCalls = [&] {
    std::vector<test::FakeTray::Call> calls;
    for (const auto& c : tray.calls)
      if (c.data.id == 0) calls.push_back(c);
    tray.calls.clear();
    return calls;
  };
  EXPECT_FALSE(tray.present(0));
  EXPECT_TRUE(readoutCalls().empty());

  // The first tick comes before the cycle's first step: "0" on red.
  sim.advance(6000);
  ASSERT_TRUE(tray.present(0));
  EXPECT_TRUE(tray.icons[0].drawn);
  EXPECT_EQ(tray.icons[0].tip, kLegend);
  EXPECT_EQ(describe(tray.icons[0].picture),
            describe(TrayPicture{red, "0", 9, 2, 2, colours::white, "Tahoma"}));
  auto calls = readoutCalls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].action, TrayAction::Add);
  EXPECT_EQ(calls[0].data.fields, trayfield::message | trayfield::icon | trayfield::tip);
  EXPECT_FALSE(calls[0].data.drawn);
  EXPECT_EQ(calls[0].data.tip, kLegend);
  EXPECT_EQ(calls[1].action, TrayAction::Modify);
  EXPECT_EQ(calls[1].data.fields, trayfield::icon);
  EXPECT_TRUE(calls[1].data.drawn);

  // While the icon exists the add is refused and only the picture changes.
  runTo(sim, f.Timer14);
  calls = readoutCalls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_FALSE(calls[0].accepted);
  EXPECT_TRUE(calls[1].accepted);
  EXPECT_EQ(tray.icons[0].picture.text, f.Label26.text());
  EXPECT_TRUE(f.Timer14.enabled());

  tray.restartHost();
  sim.advance(6000);
  ASSERT_TRUE(tray.present(0));
  EXPECT_TRUE(tray.icons[0].drawn);
  EXPECT_EQ(tray.icons[0].tip, kLegend);

  // The tray menu's exit deletes it.
  sim.click(f.F33);
  EXPECT_FALSE(tray.present(0));
}

TEST(StatusTooltip, FontReturnsTo8Point8OnlyWhenAllThreeReadingsAreBelow100) {
  Sim sim;
  sim.start();
  Form1& f = mainOf(sim);
  // Off the readouts' 8-second beat, so nothing else sets the font between
  // the set-up and the check.
  sim.advance(1000);
  sim.run([&] {
    f.Timer2.stop();
    f.Timer2.start();
  });
  struct Case {
    const char* cpuTemperature;
    const char* memoryLoad;
    const char* cpuLoad;
    double font;
  };
  const Case cases[] = {
      {"99.9", "99", "0", 8.8},
      {"100", "0", "0", 7.72},
      {"0", "100", "0", 7.72},
      {"0", "0", "100", 7.72},
      {"0", "0", "", 8.8},       // a reading that is no number: the test
                                 // counts as met
      {"100", "abc", "0", 8.8},  // undecided even beside a 100
  };
  for (const Case& c : cases) {
    runTo(sim, f.Timer2, [&] {
      f.Label16.setText(c.cpuTemperature);
      f.Label6.setText(c.memoryLoad);
      f.Label20.setText(c.cpuLoad);
      f.Picture1.setFontSize(7.72);  // as left by a reading of 100
    });
    EXPECT_EQ(f.Picture1.font().size, c.font)
        << c.cpuTemperature << " / " << c.memoryLoad << " / " << c.cpuLoad;
  }
}

TEST(StatusTooltip, LimitLinesFollowTheSettingsAndTheAnimationEnds) {
  Sim sim;
  for (auto [key, value] : std::initializer_list<std::pair<const char*, const char*>>{
           {"Form5.Combo1", "70"},
           {"Form5.Combo2", "91"},
           {"Form5.Combo3", "81"},
           {"Form5.Combo5", "50"},
           {"Form5.Combo13", "85"},
           {"Form5.Combo14", "60"},
           {"Form5.Combo17", "15"},
       })
    sim.fake.store.put("MyApp", "Startup", key, value);
  sim.start();
  Form1& f = mainOf(sim);
  EXPECT_EQ(f.Label24.text(), "检测中...");

  runTo(sim, f.Timer2, [&] { f.Label3.setText("     ---"); });
  EXPECT_FALSE(f.Timer11.enabled());
  EXPECT_EQ(f.Label3.text(), "");
  EXPECT_EQ(f.Label22.text(), "CPU使用率报警上限：91%");
  EXPECT_EQ(f.Label21.text(), "CPU温度报警提示上限：70℃");
  EXPECT_EQ(f.Label30.text(), "硬盘温度报警提示上限：50℃");
  EXPECT_EQ(f.Label24.text(), "内存使用率报警上限：81%");
  EXPECT_EQ(f.Label37.text(), "CPU温度报警自动关机上限：85℃");
  EXPECT_EQ(f.Label38.text(), "硬盘温度报警自动关机上限：60℃");
  EXPECT_EQ(f.Label98.text(), "15");

  // Each tick reads the live field.
  sim.run([&] { settingsOf(sim).Combo13.setText("90"); });
  runTo(sim, f.Timer2);
  EXPECT_EQ(f.Label37.text(), "CPU温度报警自动关机上限：90℃");
}

// The lines after the status lines: the CPU sensor's.
std::string afterStatus(const std::string& tip) {
  std::size_t at = 0;
  for (int k = 0; k < 6 && at != std::string::npos; ++k) at = tip.find('\n', at + (k ? 1 : 0));
  return at == std::string::npos ? "" : tip.substr(at + 1);
}

TEST(StatusTooltip, TheLinesInOrderEvenAfterTheSmallWindowWasClosed) {
  Sim sim;
  sim.start();
  Form1& f = mainOf(sim);
  auto& tray = sim.fake.tray;

  runTo(sim, f.Timer2, [&] {
    Form3& m = sim.program.form<Form3>();
    f.Label46.setText("日程提醒已启动");
    m.Label2.setText("内存使用率：55%");
    m.Label1.setText("CPU温度：45.5℃");
    m.Label3.setText("CPU使用率：21%");
    m.Label4.setText("硬盘温度：38℃");
    f.Label12.setText("定时已启动");
  });
  EXPECT_EQ(tray.icons[1].tip,
            "日程提醒已启动\n内存使用率：55%\nCPU温度：45.5℃\nCPU使用率：21%\n硬盘温度：38℃\n"
            "定时已启动\nCPU温度传感器：检测中...");

  // Closed with its close box, the small window comes back hidden at the
  // next tick and still feeds the tooltip.
  sim.run([&] { sim.program.close(sim.program.form<Form3>()); });
  runTo(sim, f.Timer2);
  Form3* m = sim.program.existing<Form3>();
  ASSERT_NE(m, nullptr);
  EXPECT_FALSE(m->visible());
  EXPECT_EQ(tray.icons[1].tip, "日程提醒已启动\n" + m->Label2.text() + "\n" + m->Label1.text() +
                                   "\n" + m->Label3.text() + "\n" + m->Label4.text() +
                                   "\n定时已启动\nCPU温度传感器：无");
}

// One more line names the CPU sensor the readout comes from (the last zone)
// and when it last answered, so that a user can tell a live reading from one
// that stays because the sensor went quiet, and a 0 from a missing sensor.
TEST(StatusTooltip, ALastLineNamesTheCpuSensorAndWhenItLastAnswered) {
  struct Case {
    const char* machine;
    std::optional<std::vector<ThermalZone>> zones;
    const char* readout;
    const char* line;
  };
  const Case cases[] = {
      {"package sensor after an ACPI zone",
       std::vector<ThermalZone>{{"thermal_zone0/acpitz", 3132, 0},
                                {"coretemp/Package id 0", 3282, 0}},
       "55", "CPU温度传感器：coretemp/Package id 0，09:00:08"},
      {"no sensor", std::vector<ThermalZone>{}, "0", "CPU温度传感器：无"},
      {"sensors unreadable", std::nullopt, "0", "CPU温度传感器：无"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.machine);
    Sim sim;
    sim.fake.thermal.reading = c.zones;
    sim.start();
    // The first tooltip comes just before the first question.
    sim.advance(8000);
    EXPECT_EQ(afterStatus(sim.fake.tray.icons[1].tip), "CPU温度传感器：检测中...");
    sim.advance(8000);
    EXPECT_EQ(mainOf(sim).Label16.text(), c.readout);
    EXPECT_EQ(afterStatus(sim.fake.tray.icons[1].tip), c.line);
  }
}

TEST(StatusTooltip, ASensorThatGoesQuietKeepsItsValueAndTheTimeOfItsLastAnswer) {
  Sim sim;
  auto& tip = sim.fake.tray.icons[1].tip;
  sim.fake.thermal.reading = std::vector<ThermalZone>{{"k10temp/Tdie", 3282, 0}};
  sim.start();
  sim.advance(24'000);  // answered at 8, 16 and 24 s
  sim.fake.thermal.reading = std::nullopt;
  sim.advance(60'000);
  EXPECT_EQ(mainOf(sim).Label16.text(), "55");
  EXPECT_EQ(afterStatus(tip), "CPU温度传感器：k10temp/Tdie，09:00:24");

  // Past midnight the date comes with the time.
  sim.fake.clock.setLocalTime(DateTime{2026, 12, 10, 0, 0, 30, 4});
  sim.advance(8000);
  EXPECT_EQ(afterStatus(tip), "CPU温度传感器：k10temp/Tdie，12月9日 09:00:24");

  // Answering again, it is live again; a machine that lost its sensor shows 0.
  sim.fake.thermal.set(3232);
  sim.advance(16'000);
  EXPECT_EQ(mainOf(sim).Label16.text(), "50");
  EXPECT_EQ(afterStatus(tip), "CPU温度传感器：zone，00:00:42");
  sim.fake.thermal.reading = std::vector<ThermalZone>{};
  sim.advance(16'000);
  EXPECT_EQ(mainOf(sim).Label16.text(), "0");
  EXPECT_EQ(afterStatus(tip), "CPU温度传感器：无");
}

}  // namespace
}  // namespace qv
