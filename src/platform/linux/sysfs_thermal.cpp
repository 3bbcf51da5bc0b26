#include "platform/linux/sysfs_thermal.h"

#include <array>
#include <string_view>
#include <utility>

#include "platform/linux/sysfs_read.h"

namespace qv::lnx {
namespace {

namespace fs = std::filesystem;

// Outside this range a reading is a driver fault or an unconnected sensor.
constexpr std::int64_t kLowestMilliC = -40'000;
constexpr std::int64_t kHighestMilliC = 150'000;
// A critical trip point is only reported, never acted on, so any value a
// sensor can mean is kept; the bounds only keep the arithmetic in range.
constexpr std::int64_t kLowestCriticalMilliC = -273'150;
constexpr std::int64_t kHighestCriticalMilliC = 10'000'000;
constexpr int kMaxTripPoints = 32;

std::int32_t deciKelvin(std::int64_t milliC) {
  const std::int64_t deciC = milliC >= 0 ? (milliC + 50) / 100 : -((-milliC + 50) / 100);
  return static_cast<std::int32_t>(deciC + 2732);
}

std::optional<std::int32_t> current(const fs::path& file) {
  const auto milliC = sysfs::readInteger(file);
  if (!milliC || *milliC < kLowestMilliC || *milliC > kHighestMilliC) return std::nullopt;
  return deciKelvin(*milliC);
}

std::int32_t critical(const fs::path& file) {
  const auto milliC = sysfs::readInteger(file);
  if (!milliC || *milliC < kLowestCriticalMilliC || *milliC > kHighestCriticalMilliC) return 0;
  return deciKelvin(*milliC);
}

struct Zone {
  std::string dirName;  // thermal_zoneN
  std::string type;
  fs::path dir;
};

// thermal_zoneN directories in numeric order, with their types.
std::vector<Zone> thermalZones(const std::vector<std::string>& names, const fs::path& classDir) {
  std::vector<Zone> zones;
  for (const auto& name : names) {
    if (!sysfs::numberAfter(name, "thermal_zone")) continue;
    const fs::path dir = classDir / name;
    if (auto type = sysfs::readText(dir / "type")) zones.push_back({name, std::move(*type), dir});
  }
  return zones;
}

std::int32_t zoneCritical(const fs::path& dir) {
  for (int i = 0; i < kMaxTripPoints; ++i) {
    const std::string trip = "trip_point_" + std::to_string(i);
    const auto type = sysfs::readText(dir / (trip + "_type"));
    if (!type) break;  // trip points are numbered without gaps
    if (*type == "critical") return critical(dir / (trip + "_temp"));
  }
  return 0;
}

std::optional<ThermalZone> readZone(const Zone& zone) {
  const auto value = current(zone.dir / "temp");
  if (!value) return std::nullopt;
  return ThermalZone{zone.dirName + "/" + zone.type, *value, zoneCritical(zone.dir)};
}

struct Hwmon {
  std::string name;
  fs::path dir;
  std::vector<int> channels;  // N of each tempN_input, ascending
};

std::vector<int> channels(const fs::path& dir, sysfs::Listings& listings) {
  std::vector<int> out;
  const auto& names = listings.entries(dir);
  if (!names) return out;
  for (const std::string_view name : *names) {
    if (!name.ends_with("_input")) continue;
    if (auto index = sysfs::numberAfter(name.substr(0, name.size() - 6), "temp")) {
      out.push_back(*index);
    }
  }
  return out;  // entries() sorted them: temp2 before temp10
}

std::string stem(int channel) {
  return "temp" + std::to_string(channel);
}

std::optional<ThermalZone> readChannel(const Hwmon& hwmon, int channel, const std::string& label) {
  const auto value = current(hwmon.dir / (stem(channel) + "_input"));
  if (!value) return std::nullopt;
  return ThermalZone{hwmon.name + "/" + label, *value,
                     critical(hwmon.dir / (stem(channel) + "_crit"))};
}

std::optional<ThermalZone> readLabelled(const std::vector<Hwmon>& hwmons, std::string_view driver,
                                        std::string_view label) {
  for (const auto& hwmon : hwmons) {
    if (hwmon.name != driver) continue;
    for (int channel : hwmon.channels) {
      const auto text = sysfs::readText(hwmon.dir / (stem(channel) + "_label"));
      if (text != label) continue;
      if (auto zone = readChannel(hwmon, channel, *text)) return zone;
    }
  }
  return std::nullopt;
}

std::optional<ThermalZone> readFirstChannel(const std::vector<Hwmon>& hwmons,
                                            std::string_view driver) {
  for (const auto& hwmon : hwmons) {
    if (hwmon.name != driver || hwmon.channels.empty()) continue;
    const int channel = hwmon.channels.front();
    const auto label = sysfs::readText(hwmon.dir / (stem(channel) + "_label"));
    if (auto zone = readChannel(hwmon, channel, label.value_or(stem(channel)))) return zone;
  }
  return std::nullopt;
}

std::optional<ThermalZone> readZoneOfType(const std::vector<Zone>& zones, std::string_view type) {
  for (const auto& zone : zones) {
    if (zone.type != type) continue;
    if (auto read = readZone(zone)) return read;
  }
  return std::nullopt;
}

// The CPU drivers we know; the rest (acpitz, nvme, iwlwifi, chipset, battery)
// do not measure the CPU, so their channels are never listed.
constexpr std::array kCpuDrivers{std::string_view("coretemp"), std::string_view("k10temp"),
                                 std::string_view("zenpower")};

std::vector<Hwmon> cpuHwmons(const std::vector<std::string>& names, const fs::path& classDir,
                             sysfs::Listings& listings) {
  std::vector<Hwmon> out;
  for (const auto& entry : names) {
    if (!sysfs::numberAfter(entry, "hwmon")) continue;
    const fs::path dir = classDir / entry;
    auto name = sysfs::readText(dir / "name");
    if (!name) continue;
    bool cpu = false;
    for (auto driver : kCpuDrivers) cpu = cpu || *name == driver;
    if (cpu) out.push_back({std::move(*name), dir, channels(dir, listings)});
  }
  return out;
}

// Where the CPU package temperature is read, from the most to the least
// direct measurement; the first that answers wins. Tdie is the real die
// temperature; Tctl may carry a fan-control offset.
struct PackageSource {
  enum Kind { Labelled, FirstChannel, ZoneType } kind;
  std::string_view name;  // hwmon driver, or thermal zone type
  std::string_view label = {};
};
constexpr PackageSource kPackageSources[] = {
    {PackageSource::Labelled, "coretemp", "Package id 0"},
    {PackageSource::Labelled, "k10temp", "Tdie"},
    {PackageSource::Labelled, "k10temp", "Tctl"},
    {PackageSource::Labelled, "zenpower", "Tdie"},
    {PackageSource::FirstChannel, "zenpower"},
    {PackageSource::ZoneType, "x86_pkg_temp"},
    {PackageSource::ZoneType, "cpu_thermal"},
};

std::optional<ThermalZone> packageSensor(const std::vector<Hwmon>& hwmons,
                                         const std::vector<Zone>& zones) {
  for (const PackageSource& source : kPackageSources) {
    std::optional<ThermalZone> zone;
    switch (source.kind) {
      case PackageSource::Labelled:
        zone = readLabelled(hwmons, source.name, source.label);
        break;
      case PackageSource::FirstChannel:
        zone = readFirstChannel(hwmons, source.name);
        break;
      case PackageSource::ZoneType:
        zone = readZoneOfType(zones, source.name);
        break;
    }
    if (zone) return zone;
  }
  return std::nullopt;
}

}  // namespace

SysfsThermal::SysfsThermal(std::filesystem::path root, std::chrono::milliseconds rescan)
    : root_(std::move(root)), listings_(rescan) {}

std::optional<std::vector<ThermalZone>> SysfsThermal::zones() {
  const fs::path thermalDir = root_ / "sys/class/thermal";
  const fs::path hwmonDir = root_ / "sys/class/hwmon";
  listings_.newRound();
  const auto& thermalNames = listings_.entries(thermalDir);
  const auto& hwmonNames = listings_.entries(hwmonDir);
  if (!thermalNames && !hwmonNames) return std::nullopt;

  const auto zones = thermalNames ? thermalZones(*thermalNames, thermalDir) : std::vector<Zone>{};
  const auto hwmons =
      hwmonNames ? cpuHwmons(*hwmonNames, hwmonDir, listings_) : std::vector<Hwmon>{};

  std::vector<ThermalZone> out;
  for (const auto& zone : zones) {
    if (zone.type != "acpitz") continue;
    if (auto read = readZone(zone)) out.push_back(std::move(*read));
  }
  // Last, so that it is the one the program takes.
  if (auto package = packageSensor(hwmons, zones)) out.push_back(std::move(*package));
  // A sensor gone quiet may have come back elsewhere (a driver reloaded).
  if (out.size() < found_) listings_.forget();
  found_ = out.size();
  if (out.empty() && answered_) return std::nullopt;
  answered_ = answered_ || !out.empty();
  return out;
}

}  // namespace qv::lnx
