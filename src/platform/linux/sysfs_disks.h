#pragma once
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/disks.h"
#include "platform/linux/sensor_scan.h"

namespace qv::lnx {

// Whether disks without a kernel temperature sensor are asked about through
// udisks2 on the system bus.
enum class UdisksFallback { On, Off };

// Disk temperatures from the kernel's hwmon sensors (nvme, drivetemp), else
// from udisks2: one per disk, the hottest last. A disk that sleeps is left
// alone.
//
// The disks and their sensors are scanned at the first reading, again at once
// when a sensor that answered stops answering (a disk unplugged, a driver
// unloaded), at every reading for up to `rescan` while fewer disks answer
// than before, and every `rescan` for disks plugged in since. In between, a
// reading is the disk's power state and its sensor file. Whether the system
// bus can be reached and udisks2 runs is found out again once `rescan` has
// passed; while there is no system bus at all, the wait for the next try
// doubles up to 16 times `rescan`; a udisks2 that stopped answering is left
// alone until then.
class SysfsDisks : public Disks {
 public:
  explicit SysfsDisks(std::filesystem::path root = "/", UdisksFallback udisks = UdisksFallback::On,
                      std::chrono::milliseconds rescan = std::chrono::minutes(1));
  ~SysfsDisks() override;
  SysfsDisks(const SysfsDisks&) = delete;
  SysfsDisks& operator=(const SysfsDisks&) = delete;

  std::optional<std::vector<DiskTemperature>> temperatures() override;

  // Every disk as scanned, udisks2 asked about those without a kernel
  // sensor: what `quorvane --sensors` lists.
  std::optional<std::vector<TemperatureSensor>> sensors();

 private:
  class Udisks;
  struct Disk {
    std::string name;
    std::filesystem::path input;  // empty: no kernel sensor
    std::filesystem::path power;
    bool answered = false;  // its sensor gave a reading since the scan
  };
  void scan(Rescans::Clock::time_point now);
  // The disks that answer; `lost` when one that answered before does not.
  std::vector<DiskTemperature> read(bool& lost);

  std::filesystem::path root_;
  Rescans rescans_;
  bool listed_ = false;  // sys/block could be opened
  std::vector<Disk> disks_;
  std::unique_ptr<Udisks> udisks_;  // null when the fallback is off
};

}  // namespace qv::lnx
