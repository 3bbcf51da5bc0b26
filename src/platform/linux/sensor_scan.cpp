#include "platform/linux/sensor_scan.h"

#include <algorithm>
#include <array>
#include <map>
#include <utility>

#include "platform/linux/sysfs_read.h"

namespace qv::lnx {
namespace {

namespace fs = std::filesystem;
using Kind = TemperatureSensor::Kind;

// A critical trip point is only reported, never acted on, so any value a
// sensor can mean is kept; the bounds only keep the arithmetic in range.
constexpr std::int64_t kLowestCriticalMilliC = -273'150;
constexpr std::int64_t kHighestCriticalMilliC = 10'000'000;
constexpr int kMaxTripPoints = 32;

std::optional<std::int64_t> critical(const fs::path& file) {
  const auto milliC = sysfs::readInteger(file);
  if (!milliC || *milliC < kLowestCriticalMilliC || *milliC > kHighestCriticalMilliC)
    return std::nullopt;
  return milliC;
}

std::optional<std::int64_t> cpuReading(const fs::path& file) {
  const auto milliC = sysfs::readInteger(file);
  if (!milliC || !plausibleCpu(*milliC)) return std::nullopt;
  return milliC;
}

fs::path resolved(const fs::path& path) {
  std::error_code ec;
  fs::path real = fs::canonical(path, ec);
  return ec ? fs::path() : real;
}

// The path below /sys/devices, or empty when `dir` is not there.
std::string below(const fs::path& devices, const fs::path& dir) {
  if (devices.empty() || dir.empty()) return {};
  const fs::path relative = dir.lexically_relative(devices);
  if (relative.empty() || relative == "." || *relative.begin() == "..") return {};
  return relative.generic_string();
}

// An hwmon directory hangs below its device, directly or in "hwmon/".
std::string hwmonDevice(const fs::path& devices, const fs::path& realHwmon) {
  fs::path dir = realHwmon.parent_path();
  if (dir.filename() == "hwmon") dir = dir.parent_path();
  return below(devices, dir);
}

std::string stem(int channel) {
  return "temp" + std::to_string(channel);
}

// The N of each tempN_input, ascending.
std::vector<int> channels(const fs::path& dir) {
  std::vector<int> out;
  for (const std::string_view name : sysfs::entries(dir).value_or(std::vector<std::string>{})) {
    if (!name.ends_with("_input")) continue;
    if (auto n = sysfs::numberAfter(name.substr(0, name.size() - 6), "temp")) out.push_back(*n);
  }
  return out;  // entries() sorted them: temp2 before temp10
}

void scanHwmons(const fs::path& root, const fs::path& devices,
                std::vector<TemperatureSensor>& out) {
  const fs::path classDir = root / "sys/class/hwmon";
  for (const auto& entry : sysfs::entries(classDir).value_or(std::vector<std::string>{})) {
    if (!sysfs::numberAfter(entry, "hwmon")) continue;
    const fs::path dir = resolved(classDir / entry);
    if (dir.empty()) continue;  // a dangling link: the device went
    const auto driver = sysfs::readText(dir / "name");
    if (!driver) continue;
    const std::string device = hwmonDevice(devices, dir);
    for (int channel : channels(dir)) {
      TemperatureSensor s;
      s.kind = Kind::Hwmon;
      s.driver = *driver;
      const auto label = sysfs::readText(dir / (stem(channel) + "_label"));
      s.labelled = label.has_value();
      s.label = label.value_or(stem(channel));
      s.device = device;
      s.entry = entry;
      s.input = dir / (stem(channel) + "_input");
      s.milliC = cpuReading(s.input);
      s.criticalMilliC = critical(dir / (stem(channel) + "_crit"));
      out.push_back(std::move(s));
    }
  }
}

std::optional<std::int64_t> zoneCritical(const fs::path& dir) {
  for (int i = 0; i < kMaxTripPoints; ++i) {
    const std::string trip = "trip_point_" + std::to_string(i);
    const auto type = sysfs::readText(dir / (trip + "_type"));
    if (!type) break;  // trip points are numbered without gaps
    if (*type == "critical") return critical(dir / (trip + "_temp"));
  }
  return std::nullopt;
}

void scanZones(const fs::path& root, const fs::path& devices, std::vector<TemperatureSensor>& out) {
  const fs::path classDir = root / "sys/class/thermal";
  for (const auto& entry : sysfs::entries(classDir).value_or(std::vector<std::string>{})) {
    if (!sysfs::numberAfter(entry, "thermal_zone")) continue;
    const fs::path dir = resolved(classDir / entry);
    if (dir.empty()) continue;
    auto type = sysfs::readText(dir / "type");
    if (!type) continue;
    TemperatureSensor s;
    s.kind = Kind::Zone;
    s.driver = std::move(*type);
    s.device = below(devices, resolved(dir / "device"));  // ACPI zones have one
    s.entry = entry;
    s.input = dir / "temp";
    s.milliC = cpuReading(s.input);
    s.criticalMilliC = zoneCritical(dir);
    out.push_back(std::move(s));
  }
}

// Sensors the kernel shows twice under one identity (three ACPI zones of one
// type, say) are told apart by their order: "#2", "#3".
void numberTwins(std::vector<TemperatureSensor>& sensors) {
  std::map<std::string, int> seen;
  for (auto& s : sensors) {
    const int n = ++seen[s.id()];
    if (n > 1) s.label += (s.label.empty() ? "#" : " #") + std::to_string(n);
  }
}

// Block devices that are not disks or have no temperature of their own.
constexpr std::array kNotDisks{std::string_view("loop"), std::string_view("ram"),
                               std::string_view("zram"), std::string_view("dm-"),
                               std::string_view("md"),   std::string_view("sr"),
                               std::string_view("fd"),   std::string_view("nbd")};

bool isDiskName(std::string_view name) {
  return std::none_of(kNotDisks.begin(), kNotDisks.end(),
                      [name](std::string_view prefix) { return name.starts_with(prefix); });
}

// "nvme0c0n1": one path of a multipath namespace, which the kernel hides
// behind "nvme0n1". Both lead to the same controller.
bool isNvmePath(std::string_view name) {
  if (!name.starts_with("nvme")) return false;
  const auto c = name.find('c');
  const auto n = name.rfind('n');
  return c != std::string_view::npos && n != std::string_view::npos && c < n && n > 4;
}

struct DiskHwmon {
  fs::path dir;  // resolved
  std::string driver;
};

std::optional<DiskHwmon> diskHwmonIn(const fs::path& dir) {
  const auto check = [](const fs::path& hwmon) -> std::optional<DiskHwmon> {
    auto name = sysfs::readText(hwmon / "name");
    if (name != "nvme" && name != "drivetemp") return std::nullopt;
    fs::path real = resolved(hwmon);
    if (real.empty()) return std::nullopt;
    return DiskHwmon{std::move(real), std::move(*name)};
  };
  for (const auto& name : sysfs::entries(dir).value_or(std::vector<std::string>{})) {
    if (sysfs::numberAfter(name, "hwmon")) {
      if (auto found = check(dir / name)) return found;
    } else if (name == "hwmon") {
      for (const auto& sub : sysfs::entries(dir / name).value_or(std::vector<std::string>{})) {
        if (!sysfs::numberAfter(sub, "hwmon")) continue;
        if (auto found = check(dir / name / sub)) return found;
      }
    }
  }
  return std::nullopt;
}

// The disk's kernel sensor hangs below its device: an NVMe controller
// (kernels from about 5.11), the controller's PCI device (5.5 to about
// 5.10) or a SCSI device. A multipath namespace's device is its subsystem,
// whose nvmeN links lead to the controllers.
std::optional<DiskHwmon> diskHwmon(const fs::path& device) {
  const auto atController = [](const fs::path& controller) -> std::optional<DiskHwmon> {
    if (auto found = diskHwmonIn(controller)) return found;
    if (fs::path parent = controller / "device"; fs::exists(parent)) return diskHwmonIn(parent);
    return std::nullopt;
  };
  if (auto found = atController(device)) return found;
  for (const auto& name : sysfs::entries(device).value_or(std::vector<std::string>{})) {
    if (!sysfs::numberAfter(name, "nvme")) continue;
    if (auto found = atController(device / name)) return found;
  }
  return std::nullopt;
}

// The NVMe composite temperature is the drive's own summary; temp1 is the
// same sensor on drivers without labels, and drivetemp's only one.
fs::path diskInput(const fs::path& hwmon) {
  for (int channel : channels(hwmon)) {
    if (sysfs::readText(hwmon / (stem(channel) + "_label")) == "Composite")
      return hwmon / (stem(channel) + "_input");
  }
  return hwmon / "temp1_input";
}

std::string normalized(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c == '-') c = '_';
  }
  return out;
}

bool glob(std::string_view pattern, std::string_view text) {
  // Iterative, with one point to come back to: the last '*'.
  std::size_t p = 0, t = 0, star = std::string_view::npos, mark = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      mark = t;
    } else if (p < pattern.size() && pattern[p] == text[t]) {
      ++p;
      ++t;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      t = ++mark;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool matchesAny(std::string_view alternatives, std::string_view text) {
  const std::string subject = normalized(text);
  while (true) {
    const auto bar = alternatives.find('|');
    if (glob(normalized(alternatives.substr(0, bar)), subject)) return true;
    if (bar == std::string_view::npos) return false;
    alternatives.remove_prefix(bar + 1);
  }
}

// Parts of a driver name or zone type that mark a sensor as something other
// than the CPU, whatever else the name says.
constexpr std::array kNeverCpu{
    std::string_view("gpu"),     std::string_view("npu"),     std::string_view("bat"),
    std::string_view("charger"), std::string_view("wifi"),    std::string_view("wlan"),
    std::string_view("iwl"),     std::string_view("ath1"),    std::string_view("mt7"),
    std::string_view("pch"),     std::string_view("rp1"),     std::string_view("dimm"),
    std::string_view("jc42"),    std::string_view("spd5118"), std::string_view("ddr"),
    std::string_view("dram"),    std::string_view("nvme"),    std::string_view("drivetemp"),
    std::string_view("pmic")};

bool neverCpu(std::string_view driver) {
  const std::string name = normalized(driver);
  return std::any_of(kNeverCpu.begin(), kNeverCpu.end(),
                     [&](std::string_view part) { return name.find(part) != std::string::npos; });
}

bool matches(const CpuRule& rule, const TemperatureSensor& s) {
  if (s.kind != rule.kind || !matchesAny(rule.driver, s.driver)) return false;
  if (rule.label.empty()) return true;
  if (rule.label == "-") return !s.labelled;
  return s.labelled && matchesAny(rule.label, s.label);
}

}  // namespace

std::string TemperatureSensor::name() const {
  switch (kind) {
    case Kind::Hwmon:
      return driver + "/" + label;
    case Kind::Zone:
      return label.empty() ? driver : driver + " " + label;
    case Kind::Disk:
      break;
  }
  return label;
}

std::string TemperatureSensor::id() const {
  if (kind == Kind::Disk) return driver + "|" + device;
  return driver + "|" + label + "|" + device;
}

bool plausibleCpu(std::int64_t milliC) {
  return milliC >= -40'000 && milliC <= 150'000;
}

bool plausibleDisk(std::int64_t milliC) {
  // Below 1 °C is a sensor that has nothing to say yet.
  return milliC >= 500 && milliC <= 150'000;
}

std::optional<std::vector<TemperatureSensor>> scanThermalSensors(const fs::path& root) {
  if (!sysfs::entries(root / "sys/class/hwmon") && !sysfs::entries(root / "sys/class/thermal"))
    return std::nullopt;
  const fs::path devices = resolved(root / "sys/devices");
  std::vector<TemperatureSensor> out;
  scanHwmons(root, devices, out);
  scanZones(root, devices, out);
  numberTwins(out);
  return out;
}

std::optional<std::vector<TemperatureSensor>> scanDiskSensors(const fs::path& root) {
  const fs::path blockDir = root / "sys/block";
  const auto names = sysfs::entries(blockDir);
  if (!names) return std::nullopt;
  const fs::path devices = resolved(root / "sys/devices");
  std::vector<TemperatureSensor> out;
  std::map<fs::path, std::size_t> bySensor;
  for (const auto& name : *names) {
    if (!isDiskName(name)) continue;
    const fs::path disk = blockDir / name;
    if (fs::exists(disk / "partition")) continue;
    const fs::path device = disk / "device";
    TemperatureSensor s;
    s.kind = Kind::Disk;
    s.label = name;
    s.entry = name;
    s.power = resolved(device / "power/runtime_status");
    // Reading the sensor of a runtime-suspended disk would resume it.
    const auto power = s.power.empty() ? std::nullopt : sysfs::readText(s.power);
    s.asleep = power == "suspended" || power == "suspending";
    if (const auto hwmon = diskHwmon(device)) {
      if (const auto twin = bySensor.find(hwmon->dir); twin != bySensor.end()) {
        // Another namespace or path of a disk already listed: its plain name
        // is the one people know.
        TemperatureSensor& first = out[twin->second];
        if (isNvmePath(first.label) && !isNvmePath(name)) first.label = name;
        continue;
      }
      bySensor.emplace(hwmon->dir, out.size());
      s.driver = hwmon->driver;
      s.device = hwmonDevice(devices, hwmon->dir);
      s.input = diskInput(hwmon->dir);
      if (!s.asleep) {
        const auto milliC = sysfs::readInteger(s.input);
        if (milliC && plausibleDisk(*milliC)) s.milliC = milliC;
      }
    } else {
      s.device = below(devices, resolved(device));
    }
    out.push_back(std::move(s));
  }
  return out;
}

const std::vector<CpuRule>& cpuRules() {
  using K = Kind;
  static const std::vector<CpuRule> rules{
      {K::Hwmon, "coretemp", "package id *|physical id *",
       "the package temperature of an Intel CPU"},
      {K::Hwmon, "k10temp", "tdie", "the die temperature of an AMD CPU"},
      {K::Hwmon, "k10temp", "tctl",
       "the control temperature of an AMD CPU, as the kernel reports it (some early Ryzen "
       "models add an offset)"},
      {K::Hwmon, "k10temp", "-",
       "the temperature of an AMD CPU before Zen, or of a Zen on a kernel without labels"},
      {K::Hwmon, "zenpower", "tdie", "the die temperature of an AMD CPU (zenpower)"},
      {K::Hwmon, "zenpower", "tctl", "the control temperature of an AMD CPU (zenpower)"},
      {K::Hwmon, "zenpower", "-", "the temperature of an AMD CPU (zenpower)"},
      {K::Hwmon, "k8temp", "", "the cores of an AMD K8 CPU"},
      {K::Hwmon, "via_cputemp", "", "the cores of a VIA CPU"},
      {K::Zone, "x86_pkg_temp", "", "the package temperature of an Intel CPU (thermal zone)"},
      {K::Hwmon, "coretemp", "core *", "the cores of an Intel CPU without a package sensor"},
      {K::Zone, "cpu*|*core*", "", "the CPU or a CPU cluster of a SoC (thermal zone)"},
      {K::Hwmon, "cpu*|*core*", "", "the CPU or a CPU cluster of a SoC"},
      {K::Zone, "soc*", "", "the SoC the CPU is part of (thermal zone)"},
      {K::Hwmon, "soc*", "", "the SoC the CPU is part of"},
      {K::Hwmon, "*", "cpu|cpu temp|cpu temperature|cpu package|cputin|peci agent 0",
       "a board's sensor labelled as the CPU's", true},
      {K::Zone, "acpitz", "", "an ACPI thermal zone, on many desktops the motherboard's", true},
  };
  return rules;
}

CpuChoice chooseCpuSensors(const std::vector<TemperatureSensor>& sensors) {
  const auto& rules = cpuRules();
  for (std::size_t rank = 0; rank < rules.size(); ++rank) {
    CpuChoice choice{{}, &rules[rank], rank};
    for (std::size_t i = 0; i < sensors.size(); ++i) {
      const TemperatureSensor& s = sensors[i];
      if (s.milliC && !neverCpu(s.driver) && matches(rules[rank], s)) choice.sensors.push_back(i);
    }
    if (!choice.sensors.empty()) return choice;
  }
  return {};
}

bool Rescans::due(Clock::time_point now) const {
  if (!scanned_) return true;
  if (fallenSince_ && now - *fallenSince_ < period_) return true;
  return periodic_ && now - scannedAt_ >= period_;
}

void Rescans::scanned(Clock::time_point now, bool periodic) {
  scanned_ = true;
  scannedAt_ = now;
  periodic_ = periodic;
}

void Rescans::reading(Clock::time_point now, long standing) {
  if (standing >= best_) {
    best_ = standing;
    fallenSince_.reset();
  } else if (!fallenSince_) {
    fallenSince_ = now;
  } else if (now - *fallenSince_ >= period_) {
    best_ = standing;  // it stays so: stop looking at every reading
    fallenSince_.reset();
  }
}

}  // namespace qv::lnx
