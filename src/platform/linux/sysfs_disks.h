#pragma once
#include <chrono>
#include <filesystem>
#include <memory>

#include "platform/disks.h"
#include "platform/linux/sysfs_read.h"

namespace qv::lnx {

// Whether disks without a kernel temperature sensor are asked about through
// udisks2 on the system bus.
enum class UdisksFallback { On, Off };

// Disk temperatures from the kernel's hwmon sensors (nvme, drivetemp), else
// from udisks2, each dressed as a SMART attribute table whose attribute 194
// holds the temperature. A disk that sleeps is left alone. What is there (the
// disks and their sensor directories; whether the system bus can be reached
// and udisks2 runs) is found out again once `rescan` has passed; while there
// is no system bus at all, the wait for the next try doubles up to 16 times
// `rescan`. The disks are also listed again at the next call after one that
// found fewer temperatures than the call before; a udisks2 that stopped
// answering is left alone until the rescan.
class SysfsDisks : public Disks {
 public:
  explicit SysfsDisks(std::filesystem::path root = "/", UdisksFallback udisks = UdisksFallback::On,
                      std::chrono::milliseconds rescan = std::chrono::minutes(1));
  ~SysfsDisks() override;
  SysfsDisks(const SysfsDisks&) = delete;
  SysfsDisks& operator=(const SysfsDisks&) = delete;

  std::optional<std::vector<SmartTable>> smartTables() override;

 private:
  class Udisks;
  std::filesystem::path root_;
  sysfs::Listings listings_;
  std::size_t found_ = 0;           // temperatures found at the last call
  std::unique_ptr<Udisks> udisks_;  // null when the fallback is off
};

}  // namespace qv::lnx
