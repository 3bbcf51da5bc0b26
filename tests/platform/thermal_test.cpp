#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/linux/sysfs_thermal.h"
#include "sysfs_tree.h"

namespace qv::lnx {
namespace {

using sysfs_test::machine;
using sysfs_test::SysfsTree;
using Zone = std::tuple<std::string, std::int32_t, std::int32_t>;  // name, current, critical

std::optional<std::vector<Zone>> zonesOf(SysfsThermal& thermal) {
  auto zones = thermal.zones();
  if (!zones) return std::nullopt;
  std::vector<Zone> out;
  for (const auto& z : *zones) out.emplace_back(z.name, z.current, z.critical);
  return out;
}

std::optional<std::vector<Zone>> zonesAt(const std::filesystem::path& root) {
  SysfsThermal thermal(root);
  return zonesOf(thermal);
}

TEST(SysfsThermal, ReportsOnlyTheChosenSensorsWithTheirCriticalTemperature) {
  const struct {
    const char* machine;
    std::vector<Zone> zones;
  } cases[] = {
      // The ACPI zones, the chipset and x86_pkg_temp stay out; the critical
      // temperature is the channel's.
      {"intel-laptop", {{"coretemp/Package id 0", 3352, 3732}}},
      // Tdie rather than Tctl (listed first, with a fan-control offset), no crit.
      {"amd-desktop", {{"k10temp/Tdie", 3185, 0}}},
      // Only an ACPI zone: it stands in, with its critical trip point.
      {"acpi-only", {{"acpitz", 3132, 3702}}},
      {"bare", {}},
      // The unreadable coretemp package gives way to the x86_pkg_temp zone;
      // garbage, 200 °C and missing readings are dropped.
      {"broken", {{"x86_pkg_temp", 3242, 0}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.machine);
    EXPECT_EQ(zonesAt(machine(c.machine)), c.zones);
  }
}

TEST(SysfsThermal, ConvertsMilliCelsiusToTenthsOfAKelvinAndDropsImplausibleReadings) {
  const struct {
    const char* temp;
    std::optional<std::int32_t> deciK;
  } cases[] = {
      {"45500", 3187}, {"45567", 3188},  {"45449", 3186},  {"-5000", 2682},
      {"-5050", 2681},  // halves round away from zero
      {"0", 2732},     {"-40000", 2332}, {"150000", 4232}, {"-40001", {}},
      {"150001", {}},  {"200000", {}},   {"garbage", {}},  {"", {}},
      {"45500 C", {}}, {"4.5e4", {}},    {"0x1000", {}},   {"99999999999999999999", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("temp ") + c.temp);
    SysfsTree tree;
    tree.file("sys/class/thermal/thermal_zone0/type", "acpitz");
    tree.file("sys/class/thermal/thermal_zone0/temp", c.temp);
    const auto zones = SysfsThermal(tree.root()).zones();
    ASSERT_TRUE(zones);
    if (c.deciK) {
      ASSERT_EQ(zones->size(), 1u);
      EXPECT_EQ(zones->front().current, *c.deciK);
    } else {
      EXPECT_TRUE(zones->empty());
    }
  }
}

// Sensor sets as drivers present them: hwmons with "label=m°C" channels
// (temp1, temp2, ... in order; "-" for no label), zones with type and m°C.
// The zone shown is the last: the best-ranked sensor, the hottest of its kind.
TEST(SysfsThermal, RanksSensorsByDriverLabelAndTypeNeverByIndex) {
  struct Hwmon {
    const char* dir;
    const char* driver;
    std::vector<std::pair<const char*, const char*>> channels;
  };
  struct ZoneFile {
    const char* dir;
    const char* type;
    const char* temp;
  };
  const struct {
    const char* what;
    std::vector<Hwmon> hwmons;
    std::vector<ZoneFile> zones;
    std::optional<std::pair<std::string, std::int32_t>> shown;
  } cases[] = {
      {"coretemp beats k10temp and the zone",
       {{"hwmon5", "k10temp", {{"Tdie", "41000"}}},
        {"hwmon6", "coretemp", {{"Core 0", "50000"}, {"Package id 0", "52000"}}}},
       {{"thermal_zone0", "x86_pkg_temp", "53000"}},
       std::pair("coretemp/Package id 0", 3252)},
      {"coretemp without a package line: the zone, then the hottest core",
       {{"hwmon0", "coretemp", {{"Core 0", "50000"}, {"Core 1", "51000"}}}},
       {{"thermal_zone1", "x86_pkg_temp", "53000"}},
       std::pair("x86_pkg_temp", 3262)},
      {"k10temp Tdie over Tctl",
       {{"hwmon0", "k10temp", {{"Tctl", "61000"}, {"Tdie", "41000"}}}},
       {},
       std::pair("k10temp/Tdie", 3142)},
      {"k10temp's CCDs are not the die",
       {{"hwmon0", "k10temp", {{"Tctl", "61000"}, {"Tccd1", "70000"}}}},
       {},
       std::pair("k10temp/Tctl", 3342)},
      {"k10temp at a higher index beats zenpower",
       {{"hwmon0", "zenpower", {{"Tdie", "40000"}}}, {"hwmon9", "k10temp", {{"Tctl", "61000"}}}},
       {},
       std::pair("k10temp/Tctl", 3342)},
      {"zenpower without Tdie: its unlabelled first temperature",
       {{"hwmon1", "zenpower", {{"-", "43000"}, {"Tccd1", "39000"}}}},
       {},
       std::pair("zenpower/temp1", 3162)},
      {"x86_pkg_temp beats a SoC zone",
       {},
       {{"thermal_zone0", "cpu_thermal", "48000"}, {"thermal_zone1", "x86_pkg_temp", "53000"}},
       std::pair("x86_pkg_temp", 3262)},
      {"a CPU zone beats its hwmon twin and the SoC; case and hyphens vary",
       {{"hwmon0", "cpu0_thermal", {{"-", "48000"}}}},
       {{"thermal_zone0", "SOC-thermal", "55000"}, {"thermal_zone1", "CPU0-Thermal", "47000"}},
       std::pair("CPU0-Thermal", 3202)},
      {"big.LITTLE: the hottest cluster",
       {},
       {{"thermal_zone0", "cpu-little-thermal", "41000"},
        {"thermal_zone1", "cpu-big-thermal", "47000"},
        {"thermal_zone2", "gpu-thermal", "52000"}},
       std::pair("cpu-big-thermal", 3202)},
      {"a board's CPU label before the ACPI zone",
       {{"hwmon2", "nct6798", {{"SYSTIN", "30000"}, {"CPUTIN", "44000"}}}},
       {{"thermal_zone0", "acpitz", "27800"}},
       std::pair("nct6798/CPUTIN", 3172)},
      {"the ACPI zones stand in: the hottest",
       {},
       {{"thermal_zone0", "acpitz", "27800"},
        {"thermal_zone1", "acpitz", "45000"},
        {"thermal_zone2", "acpitz", "30000"}},
       std::pair("acpitz #2", 3182)},
      {"never a GPU, battery, wireless card, chipset, I/O chip, DIMM or disk",
       {{"hwmon0", "amdgpu", {{"edge", "45000"}}},
        {"hwmon1", "nvme", {{"Composite", "36000"}}},
        {"hwmon2", "iwlwifi_1", {{"-", "40000"}}},
        {"hwmon3", "rp1_adc", {{"-", "50000"}}},
        {"hwmon4", "spd5118", {{"-", "35000"}}},
        {"hwmon5", "gpu_thermal", {{"-", "45000"}}},
        {"hwmon6", "BAT0", {{"-", "30000"}}},
        {"hwmon7", "drivetemp", {{"-", "33000"}}}},
       {{"thermal_zone0", "pch_skylake", "50000"},
        {"thermal_zone1", "INT3400 Thermal", "20000"},
        {"thermal_zone2", "GPU-therm", "40000"},
        {"thermal_zone3", "battery", "30000"}},
       std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SysfsTree tree;
    for (const auto& h : c.hwmons) {
      const std::string dir = std::string("sys/class/hwmon/") + h.dir + "/";
      tree.file(dir + "name", h.driver);
      int n = 0;
      for (const auto& [label, milliC] : h.channels) {
        const std::string stem = dir + "temp" + std::to_string(++n);
        if (std::string_view(label) != "-") tree.file(stem + "_label", label);
        tree.file(stem + "_input", milliC);
      }
    }
    for (const auto& z : c.zones) {
      const std::string dir = std::string("sys/class/thermal/") + z.dir + "/";
      tree.file(dir + "type", z.type);
      tree.file(dir + "temp", z.temp);
    }
    const auto zones = SysfsThermal(tree.root()).zones();
    ASSERT_TRUE(zones);
    if (!c.shown) {
      EXPECT_TRUE(zones->empty());
      continue;
    }
    ASSERT_FALSE(zones->empty());
    EXPECT_EQ(std::pair(zones->back().name, zones->back().current), *c.shown);
  }
}

TEST(SysfsThermal, FailsOnlyWhenNeitherSensorClassCanBeOpened) {
  SysfsTree tree;
  EXPECT_EQ(zonesAt(tree.root()), std::nullopt);
  EXPECT_EQ(zonesAt(machine("does-not-exist")), std::nullopt);

  tree.file("sys/class/hwmon/hwmon0/name", "coretemp");
  tree.file("sys/class/hwmon/hwmon0/temp1_label", "Package id 0");
  tree.file("sys/class/hwmon/hwmon0/temp1_input", "50000");
  EXPECT_EQ(zonesAt(tree.root()), (std::vector<Zone>{{"coretemp/Package id 0", 3232, 0}}));

  tree.remove("sys/class/hwmon");
  tree.dir("sys/class/thermal");
  EXPECT_EQ(zonesAt(tree.root()), std::vector<Zone>{});
}

TEST(SysfsThermal, FollowsSensorsAsTheyComeAndGo) {
  SysfsTree tree("intel-laptop");
  SysfsThermal thermal(tree.root());
  EXPECT_EQ(zonesOf(thermal), (std::vector<Zone>{{"coretemp/Package id 0", 3352, 3732}}));

  // The package sensor stops answering: the next in line takes its place at
  // once, then the hottest core, then the hottest ACPI zone.
  tree.remove("sys/devices/platform/coretemp.0/hwmon/hwmon3/temp1_input");
  EXPECT_EQ(zonesOf(thermal), (std::vector<Zone>{{"x86_pkg_temp", 3372, 0}}));
  tree.remove("sys/devices/virtual/thermal/thermal_zone3");
  EXPECT_EQ(zonesOf(thermal),
            (std::vector<Zone>{{"coretemp/Core 0", 3312, 0}, {"coretemp/Core 1", 3332, 0}}));
  tree.remove("sys/devices/platform/coretemp.0");
  auto zones = zonesOf(thermal);
  ASSERT_TRUE(zones && !zones->empty());
  EXPECT_EQ(zones->back(), (Zone{"acpitz #2", 3188, 3782}));

  // No sensor answers: that is a failed reading, not a machine without
  // sensors, so the program keeps its last value rather than showing 0.
  for (const char* zone : {"thermal_zone0", "thermal_zone1", "thermal_zone2", "thermal_zone10"})
    tree.remove(std::string("sys/devices/virtual/thermal/") + zone);
  EXPECT_FALSE(thermal.zones().has_value());

  // The driver comes back under the same directory: found at the next reading.
  tree.file("sys/devices/platform/coretemp.0/hwmon/hwmon3/name", "coretemp");
  tree.file("sys/devices/platform/coretemp.0/hwmon/hwmon3/temp1_label", "Package id 0");
  tree.file("sys/devices/platform/coretemp.0/hwmon/hwmon3/temp1_input", "55000");
  EXPECT_EQ(zonesOf(thermal), (std::vector<Zone>{{"coretemp/Package id 0", 3282, 0}}));
}

// Found once, read cheaply: between scans a reading opens the chosen
// sensor's file and nothing else, however long the class directories are.
TEST(SysfsThermal, ReadsOnlyTheChosenSensorBetweenScans) {
  SysfsTree tree("intel-laptop");
  SysfsThermal thermal(tree.root(), std::chrono::hours(1));
  ASSERT_EQ(zonesOf(thermal)->size(), 1u);
  tree.remove("sys/class");  // listing it again would find nothing
  tree.file("sys/devices/platform/coretemp.0/hwmon/hwmon3/temp1_input", "70000");
  EXPECT_EQ(zonesOf(thermal), (std::vector<Zone>{{"coretemp/Package id 0", 3432, 3732}}));
}

// While only a stand-in answers (an ACPI zone), the CPU's own driver may still
// be loading: the sensors are scanned again once the rescan period has passed.
TEST(SysfsThermal, LooksAgainForTheCpusOwnSensorWhileAStandInIsShown) {
  SysfsTree tree("acpi-only");
  SysfsThermal hourly(tree.root(), std::chrono::hours(1));
  SysfsThermal always(tree.root(), std::chrono::milliseconds(0));
  ASSERT_EQ(zonesOf(hourly)->back(), (Zone{"acpitz", 3132, 3702}));
  ASSERT_EQ(zonesOf(always)->back(), (Zone{"acpitz", 3132, 3702}));

  tree.file("sys/class/hwmon/hwmon7/name", "k10temp");
  tree.file("sys/class/hwmon/hwmon7/temp1_input", "48000");
  EXPECT_EQ(zonesOf(hourly)->back(), (Zone{"acpitz", 3132, 3702})) << "until the next scan";
  EXPECT_EQ(zonesOf(always)->back(), (Zone{"k10temp/temp1", 3212, 0}));
}

TEST(SysfsThermal, AMachineThatNeverHadASensorReadsAsNoZones) {
  SysfsTree tree("bare");
  SysfsThermal thermal(tree.root());
  for (int call = 0; call < 2; ++call) {
    auto zones = thermal.zones();
    ASSERT_TRUE(zones.has_value());
    EXPECT_TRUE(zones->empty());
  }
}

}  // namespace
}  // namespace qv::lnx
