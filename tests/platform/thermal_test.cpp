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

std::optional<std::vector<Zone>> zonesAt(const std::filesystem::path& root) {
  auto zones = SysfsThermal(root).zones();
  if (!zones) return std::nullopt;
  std::vector<Zone> out;
  for (const auto& z : *zones) out.emplace_back(z.name, z.current, z.critical);
  return out;
}

TEST(SysfsThermal, ListsAcpiZonesInZoneOrderAndThePackageSensorLast) {
  const struct {
    const char* machine;
    std::vector<Zone> zones;
  } cases[] = {
      // thermal_zone10 after thermal_zone2; the pch and iwlwifi zones, the
      // x86_pkg_temp zone and the Core lines are left out; the critical trip
      // is found behind a passive one.
      {"intel-laptop",
       {{"thermal_zone0/acpitz", 3187, 3932},
        {"thermal_zone2/acpitz", 3188, 3782},
        {"thermal_zone10/acpitz", 3010, 4012},
        {"coretemp/Package id 0", 3352, 3732}}},
      // Tdie rather than Tctl (listed first, with a fan-control offset), no crit.
      {"amd-desktop", {{"k10temp/Tdie", 3185, 0}}},
      {"acpi-only", {{"thermal_zone0/acpitz", 3132, 3702}}},
      {"bare", {}},
      // Garbage, 200 °C and a missing temp are dropped; so is a critical trip
      // without a temperature. The unreadable coretemp package gives way to
      // the x86_pkg_temp zone, which outranks cpu_thermal.
      {"broken", {{"thermal_zone3/acpitz", 3112, 0}, {"thermal_zone4/x86_pkg_temp", 3242, 0}}},
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

// Sensor sets as drivers present them: "hwmonN:driver" with "label=m°C"
// channels (temp1, temp2, ... in order; "-" for no label) or "zoneN:type=m°C".
TEST(SysfsThermal, PicksThePackageSensorByDriverAndLabelNotByIndex) {
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
    std::optional<Zone> package;
  } cases[] = {
      {"coretemp beats k10temp and the zone",
       {{"hwmon5", "k10temp", {{"Tdie", "41000"}}},
        {"hwmon6", "coretemp", {{"Core 0", "50000"}, {"Package id 0", "52000"}}}},
       {{"thermal_zone0", "x86_pkg_temp", "53000"}},
       Zone{"coretemp/Package id 0", 3252, 0}},
      {"coretemp without a package line",
       {{"hwmon0", "coretemp", {{"Core 0", "50000"}}}},
       {{"thermal_zone1", "x86_pkg_temp", "53000"}},
       Zone{"thermal_zone1/x86_pkg_temp", 3262, 0}},
      {"k10temp Tctl alone",
       {{"hwmon2", "k10temp", {{"Tctl", "61000"}}}},
       {},
       Zone{"k10temp/Tctl", 3342, 0}},
      {"k10temp Tdie over Tctl",
       {{"hwmon0", "k10temp", {{"Tctl", "61000"}, {"Tdie", "41000"}}}},
       {},
       Zone{"k10temp/Tdie", 3142, 0}},
      {"k10temp at a higher index beats zenpower",
       {{"hwmon0", "zenpower", {{"Tdie", "40000"}}}, {"hwmon9", "k10temp", {{"Tctl", "61000"}}}},
       {},
       Zone{"k10temp/Tctl", 3342, 0}},
      {"zenpower Tdie",
       {{"hwmon1", "zenpower", {{"Tctl", "44000"}, {"Tdie", "42000"}}}},
       {},
       Zone{"zenpower/Tdie", 3152, 0}},
      {"zenpower without Tdie: its first temperature",
       {{"hwmon1", "zenpower", {{"-", "43000"}, {"Tccd1", "39000"}}}},
       {},
       Zone{"zenpower/temp1", 3162, 0}},
      {"zenpower beats the zones",
       {{"hwmon1", "zenpower", {{"Tdie", "42000"}}}},
       {{"thermal_zone0", "x86_pkg_temp", "53000"}},
       Zone{"zenpower/Tdie", 3152, 0}},
      {"x86_pkg_temp beats cpu_thermal",
       {},
       {{"thermal_zone0", "cpu_thermal", "48000"}, {"thermal_zone1", "x86_pkg_temp", "53000"}},
       Zone{"thermal_zone1/x86_pkg_temp", 3262, 0}},
      {"cpu_thermal alone",
       {},
       {{"thermal_zone0", "cpu_thermal", "48000"}},
       Zone{"thermal_zone0/cpu_thermal", 3212, 0}},
      {"no CPU sensor among others",
       {{"hwmon0", "acpitz", {{"-", "45000"}}},
        {"hwmon1", "nvme", {{"Composite", "36000"}}},
        {"hwmon2", "iwlwifi_1", {{"-", "40000"}}}},
       {{"thermal_zone0", "pch_skylake", "50000"}, {"thermal_zone1", "INT3400 Thermal", "20000"}},
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
    const auto zones = zonesAt(tree.root());
    ASSERT_TRUE(zones);
    EXPECT_EQ(zones->empty() ? std::nullopt : std::optional(zones->back()), c.package);
    EXPECT_LE(zones->size(), 1u);  // none of these sets has an ACPI zone
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
  ASSERT_EQ(thermal.zones()->size(), 4u);

  // The package sensor stops answering: the next one in line takes its place.
  tree.remove("sys/devices/platform/coretemp.0/hwmon/hwmon3/temp1_input");
  auto zones = thermal.zones();
  ASSERT_EQ(zones->size(), 4u);
  EXPECT_EQ(zones->back().name, "thermal_zone3/x86_pkg_temp");
  EXPECT_EQ(zones->back().current, 3372);

  // A zone returns garbage, another vanishes with its driver.
  tree.file("sys/devices/virtual/thermal/thermal_zone2/temp", "\x01\xff");
  tree.remove("sys/class/thermal/thermal_zone10");
  zones = thermal.zones();
  ASSERT_EQ(zones->size(), 2u);
  EXPECT_EQ((*zones)[0].name, "thermal_zone0/acpitz");

  // A dangling link (the device went, the class entry not yet). Now no
  // sensor answers: that is a failed reading, not a machine without
  // sensors, so the program keeps its last value rather than showing 0.
  tree.remove("sys/devices/virtual/thermal/thermal_zone0");
  tree.remove("sys/devices/virtual/thermal/thermal_zone3");
  EXPECT_FALSE(thermal.zones().has_value());

  // A new zone shows up.
  tree.file("sys/class/thermal/thermal_zone12/type", "acpitz");
  tree.file("sys/class/thermal/thermal_zone12/temp", "30000");
  zones = thermal.zones();
  ASSERT_EQ(zones->size(), 1u);
  EXPECT_EQ(zones->front().current, 3032);
}

TEST(SysfsThermal, ListsTheDirectoriesAgainOnlyAfterTheRescanPeriodButReadsEveryTime) {
  SysfsTree tree("intel-laptop");
  SysfsThermal hourly(tree.root(), std::chrono::hours(1));
  SysfsThermal always(tree.root(), std::chrono::milliseconds(0));
  ASSERT_EQ(hourly.zones()->size(), 4u);
  ASSERT_EQ(always.zones()->size(), 4u);

  tree.file("sys/devices/virtual/thermal/thermal_zone0/temp", "55000");
  tree.file("sys/class/thermal/thermal_zone12/type", "acpitz");
  tree.file("sys/class/thermal/thermal_zone12/temp", "30000");
  auto zones = hourly.zones();
  ASSERT_EQ(zones->size(), 4u) << "the new zone waits for the next rescan";
  EXPECT_EQ(zones->front().current, 3282);
  EXPECT_EQ(always.zones()->size(), 5u);
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
