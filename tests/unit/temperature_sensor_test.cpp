// The temperature sensor's events and the main window's raw-value fields.

#include <gtest/gtest.h>

#include <optional>

#include "forms/form1.h"
#include "sensing/temperature_sensor.h"
#include "support/sim.h"

namespace qv {
namespace {

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

TEST_F(Sensor, DiskEventsFollowTheLastDisk) {
  struct Case {
    std::vector<std::int16_t> disks;
    Event event;
  };
  const Case cases[] = {
      {{}, {"HDDTempOK", 0}},         {{45}, {"HDDTempOK", 45}},
      {{51, 45}, {"HDDTempOK", 45}},  {{45, 51}, {"HDDTempWarning", 51}},
      {{50}, {"HDDTempWarning", 50}},
  };
  for (const Case& c : cases) {
    std::vector<DiskTemperature> disks;
    for (auto t : c.disks) disks.push_back({"disk", t});
    fake.disks.reading = disks;
    EXPECT_EQ(run(false), std::vector<Event>{c.event}) << c.disks.size();
  }
  fake.disks.reading = std::nullopt;
  EXPECT_TRUE(run(false).empty());
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
