// The CPU and disk temperature services over a small sysfs tree (a CPU
// sensor, a thermal zone with a trip point, one NVMe disk) whose files hold
// the input: they never crash, never report an implausible value, and
// report what a simple reference reading of the same files gives.
//
// The input is the files' contents in the order of kFiles, separated by lines
// "---"; missing ones keep a good default. "<missing>", "<dir>" and
// "<dangling>" put nothing, a directory or a dangling link in a file's place.

#include <array>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "platform/linux/sysfs_disks.h"
#include "platform/linux/sysfs_thermal.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kCpu = "sys/devices/platform/coretemp.0/hwmon/hwmon3/";
constexpr const char* kZone = "sys/devices/virtual/thermal/thermal_zone0/";
constexpr const char* kDisk = "sys/devices/pci0000:00/0000:00:1d.0/nvme/nvme0/";

struct File {
  std::string path;
  const char* good;
};
const std::array<File, 11> kFiles{{
    {std::string(kCpu) + "name", "coretemp"},
    {std::string(kCpu) + "temp1_label", "Package id 0"},
    {std::string(kCpu) + "temp1_input", "45500"},
    {std::string(kZone) + "type", "acpitz"},
    {std::string(kZone) + "temp", "27800"},
    {std::string(kZone) + "trip_point_0_type", "critical"},
    {std::string(kZone) + "trip_point_0_temp", "105000"},
    {std::string(kDisk) + "hwmon1/name", "nvme"},
    {std::string(kDisk) + "hwmon1/temp1_label", "Composite"},
    {std::string(kDisk) + "hwmon1/temp1_input", "38850"},
    {std::string(kDisk) + "power/runtime_status", "active"},
}};
enum {
  CpuName,
  CpuLabel,
  CpuInput,
  ZoneType,
  ZoneTemp,
  TripType,
  TripTemp,
  DiskName,
  DiskLabel,
  DiskInput,
  DiskPower
};

const fs::path& root() {
  static const fs::path dir = [] {
    const fs::path r = qv::fuzz::scratch() / "machine";
    fs::create_directories(r / "sys/class/hwmon");
    fs::create_directories(r / "sys/class/thermal");
    fs::create_directories(r / "sys/block");
    fs::create_directories(r / kDisk / "nvme0n1");
    fs::create_symlink("../../devices/platform/coretemp.0/hwmon/hwmon3",
                       r / "sys/class/hwmon/hwmon3");
    fs::create_symlink("../../devices/virtual/thermal/thermal_zone0",
                       r / "sys/class/thermal/thermal_zone0");
    fs::create_symlink("../devices/pci0000:00/0000:00:1d.0/nvme/nvme0/nvme0n1",
                       r / "sys/block/nvme0n1");
    fs::create_symlink("../../nvme0", r / kDisk / "nvme0n1/device");
    qv::fuzz::put(r / kCpu / "temp1_crit", "100000\n");
    return r;
  }();
  return dir;
}

// Puts the file as the input says and returns what a reader of it sees:
// nullopt when there is no readable file.
std::optional<std::string> place(const fs::path& path, std::string_view content) {
  std::error_code ec;
  fs::remove_all(path, ec);
  if (content == "<missing>") return std::nullopt;
  if (content == "<dir>") {
    fs::create_directories(path);
    return std::nullopt;
  }
  if (content == "<dangling>") {
    fs::create_symlink("nowhere", path);
    return std::nullopt;
  }
  qv::fuzz::put(path, content);
  std::string_view text = content.substr(0, 4096);
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ' || text.back() == '\t'))
    text.remove_suffix(1);
  return std::string(text);
}

std::optional<std::int64_t> integer(const std::optional<std::string>& text) {
  if (!text) return std::nullopt;
  const std::string& s = *text;
  const std::size_t start = s.starts_with('-') ? 1 : 0;
  if (s.size() == start || s.find_first_not_of("0123456789", start) != std::string::npos)
    return std::nullopt;
  errno = 0;
  const long long v = std::strtoll(s.c_str(), nullptr, 10);
  if (errno == ERANGE) return std::nullopt;
  return v;
}

// Tenths of a kelvin, the tenths of a degree rounded half away from zero.
std::int32_t deciKelvin(std::int64_t milliC) {
  return static_cast<std::int32_t>(std::lround(static_cast<double>(milliC) / 100.0) + 2732);
}

std::optional<std::int32_t> plausible(std::optional<std::int64_t> milliC) {
  if (!milliC || *milliC < -40'000 || *milliC > 150'000) return std::nullopt;
  return deciKelvin(*milliC);
}

std::int32_t critical(std::optional<std::int64_t> milliC) {
  if (!milliC || *milliC < -273'150 || *milliC > 10'000'000) return 0;
  return deciKelvin(*milliC);
}

// Exact in the cases whose choice is plain (a coretemp package; nothing but
// one zone of a type that stands for the CPU or in for it), and in any case:
// one of the two sensors at most, plausible, with its own critical value.
void checkThermal(const std::vector<std::optional<std::string>>& seen) {
  qv::lnx::SysfsThermal thermal(root());
  const auto zones = thermal.zones();
  FUZZ_CHECK(zones.has_value());

  const auto zoneTemp = plausible(integer(seen[ZoneTemp]));
  const std::int32_t zoneCritical =
      seen[TripType] == "critical" ? critical(integer(seen[TripTemp])) : 0;
  const auto package = plausible(integer(seen[CpuInput]));
  const auto& driver = seen[CpuName];
  const auto& label = seen[CpuLabel];
  const std::string hwmonName = driver.value_or("") + "/" + label.value_or("temp1");
  const std::string zoneType = seen[ZoneType].value_or("");

  // One rule chooses, and no rule takes both a channel and a zone.
  FUZZ_CHECK(zones->size() <= 1);
  for (const qv::ThermalZone& z : *zones) {
    const bool channel = driver && z.name == hwmonName && package && z.current == *package &&
                         z.critical == deciKelvin(100'000);
    const bool zone = seen[ZoneType] && z.name == zoneType && zoneTemp && z.current == *zoneTemp &&
                      z.critical == zoneCritical;
    FUZZ_CHECK(channel || zone);
  }
  if (driver == "coretemp" && label == "Package id 0" && package) {
    FUZZ_CHECK(zones->size() == 1 && zones->front().name == hwmonName);
  } else if (!package && zoneTemp &&
             (zoneType == "acpitz" || zoneType == "x86_pkg_temp" || zoneType == "cpu-thermal")) {
    FUZZ_CHECK(zones->size() == 1 && zones->front().name == zoneType);
  } else if (!package && !zoneTemp) {
    FUZZ_CHECK(zones->empty());
  }
}

void checkDisks(const std::vector<std::optional<std::string>>& seen) {
  qv::lnx::SysfsDisks disks(root(), qv::lnx::UdisksFallback::Off);
  const auto read = disks.temperatures();
  FUZZ_CHECK(read.has_value());

  std::optional<int> want;
  const bool asleep = seen[DiskPower] == "suspended" || seen[DiskPower] == "suspending";
  const auto milliC = integer(seen[DiskInput]);
  if (!asleep && (seen[DiskName] == "nvme" || seen[DiskName] == "drivetemp") && milliC &&
      *milliC >= 500 && *milliC <= 150'000)
    want = static_cast<int>((*milliC + 500) / 1000);

  FUZZ_CHECK(read->size() == (want ? 1u : 0u));
  if (!want) return;
  FUZZ_CHECK(read->front().name == "nvme0n1");
  FUZZ_CHECK(read->front().celsius == *want);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const auto parts = qv::fuzz::sections(input, "\n---\n", kFiles.size());
  std::vector<std::optional<std::string>> seen;
  for (std::size_t i = 0; i < kFiles.size(); ++i)
    seen.push_back(place(root() / kFiles[i].path,
                         i < parts.size() ? parts[i] : std::string_view(kFiles[i].good)));
  checkThermal(seen);
  checkDisks(seen);
  return 0;
}
