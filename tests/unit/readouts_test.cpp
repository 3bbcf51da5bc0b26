// The main window's readouts and level bars, in virtual time.

#include <gtest/gtest.h>

#include "forms/form1.h"
#include "forms/form5.h"
#include "sensing/temperature_sensor.h"
#include "support/sim.h"

namespace qv {
namespace {

using test::Sim;

std::string barOf(Form1& f, int first) {
  std::string lit;
  for (int k = 0; k < 10; ++k)
    lit +=
        f.find("Label" + std::to_string(first + k))->backColour() == mainlook::barLit ? '#' : '.';
  return lit;
}

class Readouts : public ::testing::Test {
 protected:
  Form1& f() { return sim.program.form<Form1>(); }
  Sim sim;
};

TEST_F(Readouts, CpuTemperatureRow) {
  struct Case {
    const char* calibration;
    std::int32_t deciKelvin;
    const char* readout;
    const char* bar;
    bool polling;
  };
  const Case cases[] = {
      {"-3", 3187, "42.5", "####......", true},  // 45.5 corrected by -3
      {"0", 3832, "100", "##########", true},    // 110: clamped
      {"10", 3672, "100", "##########", true},   // 104 after calibration
      {"0", 2832, "10", "#.........", true},    {"0", 2831, "9.9", "..........", true},
      {"-37", 3032, "0", "..........", true},  // -7: shown as 0
      {"0", 0, "0", "..........", false},      // -273.2: no sensor
  };
  for (const Case& c : cases) {
    Sim s;
    s.fake.store.put("MyApp", "Startup", "Form5.Combo4", c.calibration);
    s.fake.thermal.set(c.deciKelvin);
    s.start();
    s.advance(8000);
    Form1& m = s.program.form<Form1>();
    EXPECT_EQ(m.Label16.text(), c.readout) << c.deciKelvin;
    EXPECT_EQ(barOf(m, 50), c.bar) << c.deciKelvin;
    EXPECT_EQ(m.Label32.text(), std::string("CPU温度：") + c.readout + "℃");
    EXPECT_EQ(m.Timer6.enabled(), c.polling) << c.deciKelvin;
    int calls = s.fake.thermal.calls;
    s.advance(16000);
    EXPECT_EQ(s.fake.thermal.calls > calls, c.polling) << c.deciKelvin;
  }
}

// A calibration that is not a number fails the readout's one statement: the
// readout keeps what it showed (its start value, or the last reading), while
// the raw value moves on; a number again and it follows at the next tick.
TEST_F(Readouts, ANonNumericCalibrationLeavesTheCpuReadoutAsItWas) {
  for (const char* calibration : {"abc", "", "-", "3℃", "1 2", "五"}) {
    SCOPED_TRACE(std::string("calibration \"") + calibration + "\"");
    {
      Sim s;  // stored so
      s.fake.store.put("MyApp", "Startup", "Form5.Combo4", calibration);
      s.fake.thermal.set(3187);
      s.start();
      s.advance(8000);
      EXPECT_EQ(s.program.form<Form1>().Label16.text(), "0");
      EXPECT_EQ(s.program.form<Form1>().Label121.text(), "45.5");
    }
    Sim s;  // chosen while the program runs
    s.fake.thermal.set(3187);
    s.start();
    s.advance(8000);
    Form1& m = s.program.form<Form1>();
    ASSERT_EQ(m.Label16.text(), "45.5");
    s.run([&] { s.program.form<Form5>().Combo4.setText(calibration); });
    s.fake.thermal.set(3332);
    s.advance(8000);
    EXPECT_EQ(m.Label121.text(), "60");
    EXPECT_EQ(m.Label16.text(), "45.5");
    EXPECT_EQ(m.Label32.text(), "CPU温度：45.5℃");
    EXPECT_EQ(barOf(m, 50), "####......");
    s.run([&] { s.program.form<Form5>().Combo4.setText("-2"); });
    s.advance(8000);
    EXPECT_EQ(m.Label16.text(), "58");
  }
}

TEST_F(Readouts, AReadingOf100ShrinksTheTrayPictureFont) {
  sim.fake.thermal.set(3732 + 100);  // 110
  sim.start();
  double before = f().Picture1.font().size;
  sim.advance(7999);
  EXPECT_EQ(f().Picture1.font().size, before);
  sim.advance(1);
  EXPECT_EQ(f().Picture1.font().size, 7.72);
}

TEST_F(Readouts, CpuLoadRowClampsAFailedSampleToZero) {
  sim.fake.cpu.processors = std::nullopt;
  sim.start();
  sim.advance(8000);
  EXPECT_EQ(f().Label20.text(), "0");
  EXPECT_EQ(f().Label34.text(), "CPU使用率：0%");
  EXPECT_EQ(barOf(f(), 70), "..........");
  EXPECT_EQ(f().Shape3.accessibleName(), "CPU使用率 0/10");
}

TEST_F(Readouts, MemoryRowAndLines) {
  sim.fake.memory.reading =
      MemoryStatus{8'589'934'592, 2'147'483'648, 2'147'483'648, 1'073'741'824, 12'884'901'888, 0};
  sim.start();
  sim.advance(8000);
  EXPECT_EQ(f().Label6.text(), "75");
  EXPECT_EQ(f().Label115.text(), "75");
  EXPECT_EQ(f().Label33.text(), "内存使用率：75%");
  EXPECT_EQ(f().Label5.text(), "物理内存总数：8388608KB");
  EXPECT_EQ(f().Label7.text(), "交换区大小：1048576KB");
  EXPECT_EQ(f().Label8.text(), "物理内存可用数：2097152KB");
  EXPECT_EQ(f().Label25.text(), "虚拟内存总数：12582912KB");
  EXPECT_EQ(barOf(f(), 60), "#######...");
  EXPECT_EQ(f().Shape2.accessibleName(), "内存使用率 7/10");
  // An unreadable status keeps the last load.
  sim.fake.memory.reading = std::nullopt;
  sim.advance(8000);
  EXPECT_EQ(f().Label6.text(), "75");
}

TEST_F(Readouts, TheMemoryTickBringsTheApplicationIconBack) {
  sim.start();
  sim.fake.tray.restartHost();
  sim.advance(8000);
  EXPECT_TRUE(sim.fake.tray.present(1));
}

TEST_F(Readouts, DiskRowKeepsTheLastShownValueForImplausibleReadings) {
  struct Step {
    int raw;  // -1: the disks cannot be read
    const char* readout;
  };
  const Step steps[] = {{45, "45"}, {0, "45"},  {80, "45"}, {-1, "45"},
                        {70, "70"}, {69, "69"}, {38, "38"}};
  sim.start();
  sim.advance(21000);  // the first disk tick is at 21 s
  EXPECT_EQ(f().Label31.text(), "0");
  for (const Step& s : steps) {
    if (s.raw < 0)
      sim.fake.disks.reading = std::nullopt;
    else
      sim.fake.disks.set(s.raw);
    sim.advance(21000);
    EXPECT_EQ(f().Label31.text(), s.readout) << s.raw;
  }
  // The sentence lags one tick: it is written before the query.
  EXPECT_EQ(f().Label35.text(), "硬盘温度：69℃");
  EXPECT_EQ(barOf(f(), 80), "###.......");
  // At the 70 ceiling the last three segments never light.
  sim.fake.disks.set(70);
  sim.advance(21000);
  EXPECT_EQ(barOf(f(), 80), "#######...");
}

TEST_F(Readouts, TheOneShotCheckAt17SecondsSeesNoDiskReadingYetAndOnlyStopsItself) {
  sim.fake.disks.set(40);
  sim.start();
  sim.advance(17000);
  EXPECT_FALSE(f().Timer12.enabled());
  EXPECT_TRUE(f().Timer18.enabled());
  sim.advance(4000);
  EXPECT_EQ(f().Label31.text(), "40");
}

TEST_F(Readouts, AfterTheWindowIsHiddenTheCpuRowUsesTheLastRawValueUntilTheDiskTick) {
  sim.fake.thermal.set(3187);
  sim.start();
  sim.advance(8000);
  sim.run([&] { sim.program.requestClose(f()); });
  sim.fake.thermal.set(3287);  // 55.5, not read while there is no sensor
  sim.advance(8000);
  EXPECT_EQ(f().Label16.text(), "45.5");
  sim.advance(5000);  // 21 s: the disk tick makes a new sensor object
  sim.advance(3000);  // 24 s
  EXPECT_EQ(f().Label16.text(), "55.5");
}

TEST_F(Readouts, ScanningAnimationRunsUntilTheFirstReadings) {
  sim.start();
  std::vector<std::string> texts;
  for (int k = 0; k < 18; ++k) {
    sim.advance(70);
    texts.push_back(f().Label3.text());
  }
  EXPECT_EQ(texts[0], "  ---");
  EXPECT_EQ(texts[16], std::string(18, ' ') + "---");
  EXPECT_EQ(texts[17], std::string(3, ' ') + "---");
  sim.advance(8000);
  EXPECT_FALSE(f().Timer11.enabled());
}

}  // namespace
}  // namespace qv
