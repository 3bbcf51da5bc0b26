// The over-temperature shutdown checks: a warning at or above the shutdown
// limit, and with the option ticked the countdown that shuts the machine
// down unless it is cancelled.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "forms/countdowns.h"
#include "forms/form1.h"
#include "forms/form5.h"
#include "support/sim.h"

namespace qv {
namespace {

using Runs = std::vector<std::pair<std::string, int>>;
const Runs kShutdown{{"shutdown -s -f -t 0", 0}};

// Tenths of a kelvin for a temperature in degrees.
std::int32_t deciKelvin(int celsius) {
  return celsius * 10 + 2732;
}

// Settings stored before the start: a letter is a flag, anything else a key.
using Stored = std::vector<std::pair<std::string, std::string>>;

// The program with the CPU (or disk) at a temperature from the start; the
// warning checks of the same readouts and the CPU-load hint (the fake CPU is
// fully loaded) are stopped so that only the shutdown checks warn.
struct Rig {
  // Without `sensors` the machine has neither a CPU nor a disk sensor.
  explicit Rig(const Stored& stored = {}, bool sensors = true) {
    for (auto& [key, value] : stored) {
      if (key.size() == 1)
        sim.fake.store.put(key, key, "status", value);
      else
        sim.fake.store.put("MyApp", "Startup", key, value);
    }
    if (sensors) {
      sim.fake.thermal.set(deciKelvin(80));
      sim.fake.disks.set(40);
    }
    sim.start();
    sim.run([&] {
      main().Timer4.stop();
      main().Timer19.stop();
      main().Timer9.stop();
    });
  }
  Form1& main() { return sim.program.form<Form1>(); }
  std::vector<std::string> titles() const {
    std::vector<std::string> out;
    for (const auto& b : sim.fake.tray.balloons) out.push_back(b.title);
    return out;
  }
  test::Sim sim;
};

TEST(OverTemperature, AtTheLimitWithoutTheOptionItWarnsAtEveryRunAndNeverCountsDown) {
  for (const char* option : {"0", "2"}) {  // clear, grayed
    SCOPED_TRACE(std::string("option ") + option);
    Rig r(Stored{{"b", option}});
    r.sim.advance(35'999);
    EXPECT_TRUE(r.titles().empty());
    r.sim.advance(1);
    EXPECT_EQ(r.titles(), std::vector<std::string>{"警告(CPU温度)"});
    EXPECT_EQ(r.sim.fake.tray.balloons.back().text, "CPU温度：80℃");
    EXPECT_EQ(r.sim.fake.tray.balloons.back().kind, 2);
    EXPECT_EQ(r.sim.fake.tone.tones.size(), 2u);
    EXPECT_EQ(r.main().Label16.foreColour(), colours::warning);
    EXPECT_FALSE(r.main().visible());
    r.sim.advance(36'000);
    EXPECT_EQ(r.titles().size(), 2u);
    EXPECT_EQ(r.sim.program.existing<Form2>(), nullptr);
    EXPECT_TRUE(r.sim.fake.process.runs.empty());
  }
}

TEST(OverTemperature, WithTheOptionTheCountdownShutsDownElevenSecondsLaterEvenIfItCoolsDown) {
  Rig r(Stored{{"b", "1"}});
  r.sim.advance(36'000);
  Form2& w = r.sim.program.form<Form2>();
  EXPECT_TRUE(w.visible());
  EXPECT_EQ(w.Label1.text(), "CPU温度报警，计算机即将自动关闭！");
  EXPECT_EQ(w.Label2.text(), "12");
  r.sim.fake.thermal.set(deciKelvin(60));  // two seconds later it is cool
  r.sim.advance(10'999);
  EXPECT_TRUE(r.sim.fake.process.runs.empty());
  r.sim.advance(1);
  EXPECT_EQ(r.sim.fake.process.runs, kShutdown);
  EXPECT_TRUE(r.sim.program.ended());
}

TEST(OverTemperature, ARunWhileItCountsKeepsTheCountAndAfterACancelTheNextRunCountsAfresh) {
  Rig r(Stored{{"b", "1"}, {"Form5.Combo6", "30"}, {"Form5.Combo7", "10"}});
  r.sim.advance(10'000);
  Form2& w = r.sim.program.form<Form2>();
  EXPECT_EQ(w.Label2.text(), "30");
  r.sim.advance(10'000);  // the next run shows it again
  EXPECT_EQ(&r.sim.program.form<Form2>(), &w);
  EXPECT_EQ(w.Label2.text(), "20");
  r.sim.advance(5'000);
  r.sim.click(w.Command1);
  EXPECT_EQ(r.sim.program.existing<Form2>(), nullptr);
  r.sim.advance(5'000);
  Form2& again = r.sim.program.form<Form2>();
  EXPECT_TRUE(again.visible());
  EXPECT_EQ(again.Label2.text(), "30");
  r.sim.advance(29'000);
  EXPECT_EQ(r.sim.fake.process.runs, kShutdown);
  EXPECT_TRUE(r.sim.program.ended());
}

TEST(OverTemperature, TheDiskCheckWarnsWithItsOwnSentenceAndOpensItsOwnCountdown) {
  Rig r(Stored{{"c", "1"}});
  r.sim.fake.thermal.set(deciKelvin(40));
  r.sim.fake.disks.set(58);
  r.sim.advance(60'000);
  EXPECT_EQ(r.titles(), std::vector<std::string>{"警告(硬盘温度)"});
  EXPECT_EQ(r.sim.fake.tray.balloons.back().text, "硬盘温度：58℃");
  EXPECT_EQ(r.main().Label31.foreColour(), colours::warning);
  Form4& w = r.sim.program.form<Form4>();
  EXPECT_TRUE(w.visible());
  EXPECT_EQ(w.Label1.text(), "硬盘温度报警，计算机即将自动关闭！");
  EXPECT_EQ(r.sim.program.existing<Form2>(), nullptr);
}

TEST(OverTemperature, AMutedAlarmStillWarnsAndCountsDown) {
  Rig r(Stored{{"b", "1"}, {"e", "1"}});
  r.sim.advance(36'000);
  EXPECT_EQ(r.titles().size(), 1u);
  for (auto [frequency, length] : r.sim.fake.tone.tones) EXPECT_EQ(frequency * length, 0);
  EXPECT_TRUE(r.sim.program.form<Form2>().visible());
}

// A limit that is not a number reads as 0: the check warns at every run, as
// before, but must never shut the machine down.
TEST(OverTemperature, ALimitThatIsNoNumberWarnsButNeverOpensTheCountdown) {
  for (const char* limit : {"", "abc"}) {
    SCOPED_TRACE(std::string("limit \"") + limit + "\"");
    Rig r(Stored{{"b", "1"}, {"Form5.Combo13", limit}});
    r.sim.fake.thermal.set(deciKelvin(30));
    r.sim.advance(3 * 36'000);
    EXPECT_EQ(r.titles().size(), 3u);
    EXPECT_EQ(r.sim.program.existing<Form2>(), nullptr);
    EXPECT_TRUE(r.sim.fake.process.runs.empty());
  }
}

// Without a sensor the readouts show 0, plus the CPU's calibration: that
// warns at a limit of 0 as any reading at its limit, but no sensor ever said
// the machine was hot, so nothing counts down.
TEST(OverTemperature, NoCountdownFromAReadingNoSensorGave) {
  const struct {
    const char* name;
    Stored stored;
  } cases[] = {
      {"CPU, limit 0", {{"b", "1"}, {"Form5.Combo13", "0"}}},
      {"CPU, calibration +85", {{"b", "1"}, {"Form5.Combo4", "85"}}},
      {"disk, limit 0", {{"c", "1"}, {"Form5.Combo14", "0"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Rig r(c.stored, false);
    r.sim.advance(3 * 60'000);
    EXPECT_FALSE(r.titles().empty()) << "the warning stays";
    EXPECT_EQ(r.sim.program.existing<Form2>(), nullptr);
    EXPECT_EQ(r.sim.program.existing<Form4>(), nullptr);
    EXPECT_TRUE(r.sim.fake.process.runs.empty());
  }
}

// A sensor that answered and then fell silent leaves its last reading,
// which still counts: a hot machine whose sensor stops is still shut down.
TEST(OverTemperature, ASensorSilentAfterAHotReadingStillCountsDown) {
  Rig r(Stored{{"b", "1"}, {"c", "1"}, {"Form5.Combo6", "30"}});  // counts past the disk's check
  r.sim.fake.disks.set(60);
  r.sim.advance(30'000);  // both read once (at 8 s and 21 s)
  r.sim.fake.thermal.reading = std::nullopt;
  r.sim.fake.disks.reading = std::nullopt;
  r.sim.advance(30'000);
  EXPECT_TRUE(r.sim.program.form<Form2>().visible());
  EXPECT_TRUE(r.sim.program.form<Form4>().visible());
}

}  // namespace
}  // namespace qv
