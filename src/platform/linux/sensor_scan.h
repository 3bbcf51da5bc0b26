#pragma once
// Every temperature sensor the kernel shows (hwmon channels, thermal zones,
// disks), each with an identity that survives reboots and driver reloads,
// and the rules that choose from them what the program shows. Scanning lists
// directories and resolves links; the services do it rarely and then read
// only the files of what they chose.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::lnx {

struct TemperatureSensor {
  enum class Kind { Hwmon, Zone, Disk };
  Kind kind = Kind::Hwmon;
  // The identity: never the hwmonN or thermal_zoneN number, which the kernel
  // hands out in the order drivers happen to probe.
  std::string driver;     // hwmon: its name; zone: its type; disk: where its
                          // reading comes from ("nvme", "drivetemp", "udisks"; empty: nowhere)
  std::string label;      // hwmon: the channel's label, else "tempN"; zone: empty;
                          // disk: its block device ("sda"), which is not part of its identity
  std::string device;     // the device below /sys/devices it belongs to, empty when none
  bool labelled = false;  // hwmon: the channel has a label of its own
  // The class entry it was found as ("hwmon3", "thermal_zone3", "sda"): not
  // part of the identity, shown to find the files by.
  std::string entry;

  // The file a reading comes from, links resolved; empty for udisks.
  std::filesystem::path input;
  // The reading when scanned; nullopt when there was none or it was not
  // plausible (or the disk sleeps).
  std::optional<std::int64_t> milliC;
  std::optional<std::int64_t> criticalMilliC;
  // Disks: their runtime power state, and whether they were asleep.
  std::filesystem::path power;
  bool asleep = false;

  // How the program names it: "coretemp/Package id 0", "cpu-thermal", "sda".
  std::string name() const;
  // The identity as one text: driver, label (not for disks) and device.
  std::string id() const;
};

// Every hwmon temperature channel and every thermal zone below root, in the
// natural order of their class entries. nullopt when neither
// sys/class/hwmon nor sys/class/thermal can be opened.
std::optional<std::vector<TemperatureSensor>> scanThermalSensors(const std::filesystem::path& root);

// Every disk below root/sys/block with where its kernel temperature sensor
// is (NVMe below its controller or, on kernels 5.5 to about 5.10, below the
// controller's PCI device; drivetemp below the SCSI device), once per sensor
// however many namespaces and paths lead to it. A disk without a kernel
// sensor is listed with an empty driver. Sleeping disks are not read.
// nullopt when sys/block cannot be opened.
std::optional<std::vector<TemperatureSensor>> scanDiskSensors(const std::filesystem::path& root);

// A rule of the CPU sensor choice: which sensors it takes and what they are.
struct CpuRule {
  TemperatureSensor::Kind kind;
  // Alternatives separated by '|', each compared without regard to case and
  // with '-' and '_' alike; '*' stands for any run of characters.
  std::string_view driver;  // hwmon name or zone type
  std::string_view label;   // hwmon channel label; "" any, "-" none of its own
  std::string_view meaning;
  bool standIn = false;  // not the CPU's own sensor: a better one may turn up later
};

struct CpuChoice {
  std::vector<std::size_t> sensors;  // indices into the scan; empty: no CPU sensor
  const CpuRule* rule = nullptr;
  std::size_t rank = 0;  // the rule's place in the table, 0 the best
};

// The ranked rules, the best first.
const std::vector<CpuRule>& cpuRules();

// The sensors of the best-ranked rule that some sensor with a reading
// matches: several packages or clusters are all taken, so that the hottest
// can be shown. A GPU, battery, wireless, chipset, I/O chip, DIMM or disk
// sensor is never taken.
CpuChoice chooseCpuSensors(const std::vector<TemperatureSensor>& sensors);

// Plausible readings: outside them a sensor is unconnected or faulty. CPU:
// -40 to 150 °C; disk: 1 to 150 °C once rounded to whole degrees.
bool plausibleCpu(std::int64_t milliC);
bool plausibleDisk(std::int64_t milliC);

// When to scan again: at the first reading; at every reading for a while
// after less answered than before (a reloaded driver comes back a moment
// later, maybe under a new directory); and every `period` while `periodic`.
class Rescans {
 public:
  using Clock = std::chrono::steady_clock;
  explicit Rescans(std::chrono::milliseconds period) : period_(period) {}
  bool due(Clock::time_point now) const;
  void scanned(Clock::time_point now, bool periodic);
  // After each reading: how well it went, higher better. Falling short of
  // the best keeps the scans coming for one period, then the new standing
  // is taken as it is.
  void reading(Clock::time_point now, long standing);

 private:
  std::chrono::milliseconds period_;
  bool scanned_ = false;
  bool periodic_ = false;
  Clock::time_point scannedAt_;
  long best_ = 0;
  std::optional<Clock::time_point> fallenSince_;
};

}  // namespace qv::lnx
