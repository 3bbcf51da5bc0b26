// The temperature sensor's events and the main window's raw-value fields.

#include <gtest/gtest.h>

#include <optional>

#include "forms/form1.h"
#include "sensing/temperature_sensor.h"
#include "support/sim.h"

namespace qv {
namespace {

using test::FakeDisks;

struct Event {
  std::string name;
  double value;
  friend bool operator==(const Event&, const Event&) = default;
};

class Sensor : public ::testing::Test {
 protected:
  std::vector<Event> run(bool cpu) {
    Class1 sensor(fake.thermal, fake.disks);
    std::vector<Event> events;
    auto record = [&](const char* name) {
      return [&events, name](auto v) { events.push_back({name, static_cast<double>(v)}); };
    };
    sensor.CPUTempOK = record("CPUTempOK");
    sensor.CPUTempWarning = record("CPUTempWarning");
    sensor.CPUTempCritical = record("CPUTempCritical");
    sensor.HDDTempOK = record("HDDTempOK");
    sensor.HDDTempWarning = record("HDDTempWarning");
    sensor.HDDTempCritical = record("HDDTempCritical");
    if (cpu)
      sensor.QueryCPUTemperature();
    else
      sensor.QueryHDDTemperature();
    return events;
  }
  void zones(std::vector<std::int32_t> deciKelvin) {
    std::vector<ThermalZone> z;
    for (auto t : deciKelvin) z.push_back({"zone", t, 0});
    fake.thermal.reading = z;
  }
  test::FakePlatform fake;
};

TEST_F(Sensor, CpuEventsFollowTheLastZoneAndThe50DegreeSplit) {
  struct Case {
    std::vector<std::int32_t> zones;
    Event event;
  };
  const Case cases[] = {
      {{}, {"CPUTempOK", 0}},
      {{3182, 3232}, {"CPUTempWarning", 50}},
      {{3231}, {"CPUTempOK", static_cast<double>(49.9f)}},
      {{3232}, {"CPUTempWarning", 50}},
      {{3582}, {"CPUTempWarning", 85}},
      {{0}, {"CPUTempOK", static_cast<double>(-273.2f)}},
  };
  for (const Case& c : cases) {
    zones(c.zones);
    EXPECT_EQ(run(true), std::vector<Event>{c.event}) << c.zones.size();
  }
  fake.thermal.reading = std::nullopt;
  EXPECT_TRUE(run(true).empty());
}

TEST_F(Sensor, CriticalTemperatureOfTheLastZone) {
  Class1 sensor(fake.thermal, fake.disks);
  EXPECT_EQ(sensor.CPUCriticalTemp(), 0);
  fake.thermal.reading = std::vector<ThermalZone>{{"a", 3000, 3732}, {"b", 3000, 3832}};
  EXPECT_EQ(sensor.CPUCriticalTemp(), 110);
}

SmartTable withoutTemperature() {
  SmartTable t(kSmartTableSize, 0);
  t[2] = 9;  // power-on hours
  t[7] = 0x34;
  return t;
}

TEST_F(Sensor, DiskEventsTakeTheLastAttribute194OverAllDisks) {
  struct Case {
    std::vector<SmartTable> disks;
    Event event;
  };
  SmartTable hot = FakeDisks::table(0x33);
  const Case cases[] = {
      {{}, {"HDDTempOK", 0}},
      {{FakeDisks::table(0x2D)}, {"HDDTempOK", 45}},
      {{FakeDisks::table(0x2D), withoutTemperature()}, {"HDDTempOK", 45}},
      {{FakeDisks::table(0x2D), hot}, {"HDDTempWarning", 51}},
      {{withoutTemperature()}, {"HDDTempOK", 0}},
  };
  for (const Case& c : cases) {
    fake.disks.reading = c.disks;
    EXPECT_EQ(run(false), std::vector<Event>{c.event}) << c.disks.size();
  }
  fake.disks.reading = std::nullopt;
  EXPECT_TRUE(run(false).empty());
  // A table too short to hold thirty entries is a failure: no event.
  fake.disks.reading = std::vector<SmartTable>{SmartTable(100, 0)};
  EXPECT_TRUE(run(false).empty());
}

TEST_F(Sensor, OnlyAnAttributeIdByteNamesTheTemperature) {
  // Entry 1 is the temperature (36); entry 0 is another attribute whose
  // current value, worst value and raw bytes happen to be 194.
  SmartTable t(kSmartTableSize, 0);
  t[2] = 5;  // reallocated sectors
  t[5] = 194;
  t[6] = 194;
  t[7] = 194;
  t[9] = 194;
  t[14] = 194;
  t[19] = 36;
  // Entry 2 is another attribute whose raw value would read as 60 five bytes
  // after a stray 194 in its flags.
  t[26] = 7;
  t[27] = 194;
  t[32] = 60;
  fake.disks.reading = std::vector<SmartTable>{t};
  EXPECT_EQ(run(false), (std::vector<Event>{{"HDDTempOK", 36}}));
}

TEST(SensorInTheMainWindow, EventsWriteTheRawFieldsAndAFailedQueryKeepsThem) {
  test::Sim sim;
  sim.start();
  Form1& f = sim.program.form<Form1>();
  sim.fake.thermal.set(3187);
  sim.fake.disks.set(38);
  temperatures(sim.program).QueryCPUTemperature();
  temperatures(sim.program).QueryHDDTemperature();
  EXPECT_EQ(f.Label121.text(), "45.5");
  EXPECT_EQ(f.Label27.text(), "38");
  sim.fake.thermal.reading = std::nullopt;
  sim.fake.disks.reading = std::nullopt;
  temperatures(sim.program).QueryCPUTemperature();
  temperatures(sim.program).QueryHDDTemperature();
  EXPECT_EQ(f.Label121.text(), "45.5");
  EXPECT_EQ(f.Label27.text(), "38");
}

}  // namespace
}  // namespace qv
