// The periodic warning checks of the CPU temperature, memory load and disk
// temperature, and the CPU-load countdown with its hint.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "forms/countdowns.h"
#include "forms/form1.h"
#include "forms/form5.h"
#include "support/sim.h"

namespace qv {
namespace {

using Times = std::vector<std::int64_t>;
using Tones = std::vector<std::pair<int, int>>;

const char* const kCpuTitle = "警告(CPU温度)";
const char* const kMemoryTitle = "警告(内存使用率)";
const char* const kDiskTitle = "警告(硬盘温度)";
const char* const kLoadTitle = "提示(CPU使用率)";

// The program started in virtual time, with readings held steady.
class Rig {
  // Labels held at a text; declared first so it outlives the program's
  // observers.
  std::map<const Control*, std::string> pins_;

 public:
  // `before` fills the settings store before the start.
  explicit Rig(const std::function<void(test::MemoryStore&)>& before = nullptr) {
    if (before) before(sim.fake.store);
    sim.start();
    Form1& f = main();
    // The over-temperature shutdown checks (Timer24, Timer25) share the
    // temperature readouts and paint them too; stopped, so that only the
    // warning checks act here (over_temperature_test.cpp has theirs).
    sim.run([&] {
      f.Timer24.stop();
      f.Timer25.stop();
    });
    f.observe([this](Control* c, Property p) {
      if (p != Property::Text) return;
      auto it = pins_.find(c);
      if (it != pins_.end() && c->text() != it->second) c->setText(it->second);
    });
    cpuLoad("0");
  }
  // A stored field of the settings window.
  static std::function<void(test::MemoryStore&)> stored(std::string field, std::string text) {
    return [=](test::MemoryStore& s) { s.put("MyApp", "Startup", "Form5." + field, text); };
  }

  Form1& main() { return sim.program.form<Form1>(); }
  Form5& settings() { return sim.program.form<Form5>(); }

  // The readouts rewrite these labels from the sensors every few seconds; a
  // held label stands for a sensor that keeps reading the same value.
  void hold(Label& label, const std::string& text) {
    pins_[&label] = text;
    sim.run([&] { label.setText(text); });
  }
  void cpuTemperature(const std::string& t) {
    hold(main().Label16, t);
    hold(main().Label32, "CPU温度：" + t + "℃");
  }
  void memoryLoad(const std::string& t) {
    hold(main().Label6, t);
    hold(main().Label115, t);
    hold(main().Label33, "内存使用率：" + t + "%");
  }
  void diskTemperature(const std::string& t) {
    hold(main().Label31, t);
    hold(main().Label35, "硬盘温度：" + t + "℃");
  }
  void cpuLoad(const std::string& t) {
    hold(main().Label20, t);
    hold(main().Label34, "CPU使用率：" + t + "%");
  }

  // Lets `ms` pass a second at a time (every run here falls on a whole
  // second) and returns when balloons with the title came.
  Times balloonTimes(const std::string& title, std::int64_t ms) {
    Times times;
    for (std::int64_t end = sim.now() + ms; sim.now() < end;) {
      auto before = count(title);
      sim.advance(std::min<std::int64_t>(1000, end - sim.now()));
      if (count(title) > before) times.push_back(sim.now());
    }
    return times;
  }
  std::size_t count(const std::string& title) const {
    std::size_t n = 0;
    for (const auto& b : sim.fake.tray.balloons) n += b.title == title;
    return n;
  }
  const test::FakeTray::Balloon& last() const { return sim.fake.tray.balloons.back(); }
  bool audible() const {
    for (auto [frequency, length] : sim.fake.tone.tones)
      if (frequency > 0 && length > 0) return true;
    return false;
  }
  void restoreMain() { sim.fake.tray.mouse(1, 1); }

  test::Sim sim;
};

TEST(Warnings, CpuTemperatureAtItsLimitWarnsHidesTheWindowAndHidesItAgainASecondLater) {
  Rig r;
  Form1& f = r.main();
  r.cpuTemperature("72");
  r.sim.advance(35'999);
  EXPECT_TRUE(r.sim.fake.tray.balloons.empty());
  EXPECT_TRUE(r.sim.fake.tone.tones.empty());
  EXPECT_TRUE(f.visible());

  r.sim.advance(1);
  ASSERT_EQ(r.sim.fake.tray.balloons.size(), 1u);
  EXPECT_EQ(r.last().title, kCpuTitle);
  EXPECT_EQ(r.last().text, "CPU温度：72℃");
  EXPECT_EQ(r.last().kind, 2);
  EXPECT_EQ(r.sim.fake.tone.tones, (Tones{{900, 80}, {1600, 60}}));
  EXPECT_EQ(f.Label16.foreColour(), colours::warning);
  EXPECT_FALSE(f.visible());
  EXPECT_FALSE(f.taskbar()) << "hidden by the close request, not just hidden";

  // The user brings the window back within the second: it goes again, once.
  r.sim.advance(400);
  r.restoreMain();
  r.sim.advance(599);
  EXPECT_TRUE(f.visible());
  r.sim.advance(1);
  EXPECT_FALSE(f.visible());
  r.restoreMain();

  // Below the limit at the next run: no warning, the readout back to normal.
  r.sim.advance(34'999);
  EXPECT_TRUE(f.visible());
  r.cpuTemperature("71");
  r.sim.advance(1);
  EXPECT_EQ(r.sim.fake.tray.balloons.size(), 1u);
  EXPECT_EQ(r.sim.fake.tone.tones.size(), 2u);
  EXPECT_EQ(f.Label16.foreColour(), colours::readout);
  EXPECT_TRUE(f.visible());
}

// One row per check: its reading at the limit or above, what it shows and
// when it runs with the default periods.
struct CheckCase {
  const char* name;
  const char* title;
  void (Rig::*reads)(const std::string&);
  const char* reading;
  const char* sentence;
  Label Form1::*readout;
  bool sound;
  Times runs;  // over the first 125 s
};

void PrintTo(const CheckCase& c, std::ostream* os) {
  *os << c.name;
}

class WarningCheck : public ::testing::TestWithParam<CheckCase> {};

TEST_P(WarningCheck, WarnsAtEveryRunWithItsTitleSentenceSoundAndReadout) {
  const CheckCase& c = GetParam();
  Rig r;
  Form1& f = r.main();
  (r.*c.reads)(c.reading);
  Label* readouts[] = {&f.Label16, &f.Label115, &f.Label6, &f.Label20, &f.Label31};
  std::map<Label*, Colour> before;
  for (Label* l : readouts) before[l] = l->foreColour();

  EXPECT_EQ(r.balloonTimes(c.title, 125'000), c.runs);
  EXPECT_EQ(r.sim.fake.tray.balloons.size(), c.runs.size()) << "only this check warns";
  for (const auto& b : r.sim.fake.tray.balloons) {
    EXPECT_EQ(b.text, c.sentence);
    EXPECT_EQ(b.kind, 2);
  }
  Tones expected;
  if (c.sound)
    for (std::size_t i = 0; i < c.runs.size(); ++i)
      expected.insert(expected.end(), {{900, 80}, {1600, 60}});
  EXPECT_EQ(r.sim.fake.tone.tones, expected);
  // Only the check's own readout turns orange (memory compares the hidden
  // Label6 and paints the visible Label115).
  for (Label* l : readouts)
    EXPECT_EQ(l->foreColour(), l == &(f.*c.readout) ? colours::warning : before[l]) << l->name();
  EXPECT_FALSE(f.visible());
}

const CheckCase kChecks[] = {
    {.name = "CpuTemperature",
     .title = kCpuTitle,
     .reads = &Rig::cpuTemperature,
     .reading = "72",
     .sentence = "CPU温度：72℃",
     .readout = &Form1::Label16,
     .sound = true,
     .runs = {36'000, 72'000, 108'000}},
    {.name = "MemoryLoad",
     .title = kMemoryTitle,
     .reads = &Rig::memoryLoad,
     .reading = "85",
     .sentence = "内存使用率：85%",
     .readout = &Form1::Label115,
     .sound = false,
     .runs = {36'000, 72'000, 108'000}},
    {.name = "DiskTemperature",
     .title = kDiskTitle,
     .reads = &Rig::diskTemperature,
     .reading = "56",
     .sentence = "硬盘温度：56℃",
     .readout = &Form1::Label31,
     .sound = true,
     .runs = {60'000, 120'000}},
};

INSTANTIATE_TEST_SUITE_P(Checks, WarningCheck, ::testing::ValuesIn(kChecks),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(Warnings, LimitAndReadingCompareAsLeadingNumbers) {
  struct Case {
    const char* limit;
    const char* reading;
    bool warns;
  } cases[] = {
      {"72", "72", true},     // at the limit
      {"72", "71.9", false},  // not rounded up
      {"72", "100", true},    // numbers, not texts
      {"80abc", "85", true},  // the leading number of the limit
      {"abc", "0", true},     // no number: the limit is 0
      {"", "0", true},        // likewise
      {"0", "", true},        // an empty reading is 0 too
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.limit) + " / " + c.reading);
    Rig r;
    r.sim.run([&] { r.settings().Combo1.setText(c.limit); });
    r.cpuTemperature(c.reading);
    EXPECT_EQ(r.balloonTimes(kCpuTitle, 73'000), c.warns ? (Times{36'000, 72'000}) : Times{});
    EXPECT_EQ(r.main().Label16.foreColour(), c.warns ? colours::warning : colours::readout);
  }
}

TEST(Warnings, AChangedDelayTakesEffectAtTheNextRun) {
  struct Case {
    const char* delay;
    Times runs;  // over the first 80 s
  } cases[] = {
      {"10", {36'000, 46'000, 56'000, 66'000, 76'000}},
      {"abc", {36'000, 72'000}},      // not a number: the period stays
      {"3000000", {36'000, 72'000}},  // beyond the longest timer interval
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.delay);
    Rig r;
    r.cpuTemperature("90");
    r.sim.advance(5'000);
    // The user applies a new delay; the wait under way keeps its length.
    r.sim.run([&] {
      Form5& s = r.settings();
      s.Combo7.setText(c.delay);
      s.Command1.press();
    });
    EXPECT_EQ(r.balloonTimes(kCpuTitle, 75'000), c.runs);
  }
}

TEST(Warnings, TheDiskCheckRunsEveryCpuLoadDelay) {
  struct Case {
    std::optional<const char*> stored;
    Times runs;  // over the first 250 s
  } cases[] = {
      {std::nullopt, {60'000, 120'000, 180'000, 240'000}},
      {"120", {120'000, 240'000}},  // longer than the old 65 s ceiling
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored.value_or("default"));
    Rig r(c.stored ? Rig::stored("Combo10", *c.stored) : nullptr);
    r.diskTemperature("56");
    EXPECT_EQ(r.balloonTimes(kDiskTitle, 250'000), c.runs);
  }
}

TEST(Warnings, AMutedAlarmStillWarnsButMakesNoSound) {
  for (bool stored : {true, false}) {
    SCOPED_TRACE(stored ? "muted before the start" : "muted by the user");
    Rig r([&](test::MemoryStore& s) {
      if (stored) s.put("e", "e", "status", "1");
    });
    if (!stored)
      r.sim.run([&] {
        Form5& s = r.settings();
        s.Check4.setValue(1);  // "取消报警声音"
        s.Command5.press();    // "应用": saved, and read back when the window comes again
      });
    r.cpuTemperature("72");
    EXPECT_EQ(r.balloonTimes(kCpuTitle, 37'000), (Times{36'000}));
    EXPECT_EQ(r.main().Label16.foreColour(), colours::warning);
    EXPECT_FALSE(r.audible());
  }
}

// A load above the limit from the first run of the check (at 6 s).
TEST(CpuLoadHint, AHighLoadGivesAHintAfterTheCountdownAndAgainWhileItStaysHigh) {
  Rig r;
  Form1& f = r.main();
  r.cpuLoad("90");
  EXPECT_EQ(r.balloonTimes(kLoadTitle, 64'000), Times{});
  ASSERT_EQ(r.balloonTimes(kLoadTitle, 1'000), Times{65'000});
  EXPECT_EQ(r.last().text, "CPU使用率：90%");
  EXPECT_EQ(r.last().kind, 1);
  EXPECT_TRUE(r.sim.fake.tone.tones.empty());
  EXPECT_FALSE(f.visible());
  Form20& w = r.sim.program.form<Form20>();
  EXPECT_FALSE(w.Timer1.enabled());
  EXPECT_EQ(w.Label2.text(), "60");
  // Restored at once, hidden again a second later.
  r.restoreMain();
  r.sim.advance(1'000);
  EXPECT_FALSE(f.visible());

  // The next run (at 66 s) starts a fresh countdown.
  EXPECT_EQ(r.balloonTimes(kLoadTitle, 125'000), (Times{125'000, 185'000}));
  EXPECT_TRUE(r.sim.fake.tone.tones.empty());
  for (Label* l : {&f.Label16, &f.Label115, &f.Label20, &f.Label31})
    EXPECT_EQ(l->foreColour(), colours::readout) << l->name();
}

TEST(CpuLoadHint, ALoadAtTheLimitNeverRunsTheCountdown) {
  Rig r;
  r.cpuLoad("86");
  EXPECT_EQ(r.balloonTimes(kLoadTitle, 300'000), Times{});
  Form20& w = r.sim.program.form<Form20>();
  EXPECT_FALSE(w.Timer1.enabled());
  EXPECT_EQ(w.Label2.text(), "60");
}

TEST(CpuLoadHint, FallingBackDuringTheCountdownRestartsItInFull) {
  Rig r;
  r.cpuLoad("90");
  r.sim.advance(31'000);  // counted down since 6 s
  r.cpuLoad("50");        // seen by the run at 36 s
  r.sim.advance(9'000);
  EXPECT_EQ(r.sim.program.form<Form20>().Label2.text(), "60");
  r.cpuLoad("90");  // seen by the run at 42 s
  EXPECT_EQ(r.balloonTimes(kLoadTitle, 70'000), Times{101'000});
}

TEST(CpuLoadHint, ANonNumericCountdownHintsAtOnceThenRestsAtZeroUntilReset) {
  Rig r(Rig::stored("Combo10", "abc"));
  r.cpuLoad("90");
  EXPECT_EQ(r.balloonTimes(kLoadTitle, 120'000), Times{7'000});  // first tick after 6 s
  Form20& w = r.sim.program.form<Form20>();
  EXPECT_EQ(w.Label2.text(), "0");
  EXPECT_TRUE(w.Timer1.enabled());

  r.cpuLoad("50");  // the run at 126 s resets the counter to the text
  r.sim.advance(7'000);
  EXPECT_EQ(w.Label2.text(), "abc");
  r.cpuLoad("90");  // the run at 132 s starts it again
  EXPECT_EQ(r.balloonTimes(kLoadTitle, 10'000), Times{133'000});
}

}  // namespace
}  // namespace qv
