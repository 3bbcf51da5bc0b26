#pragma once
#include <filesystem>
#include <memory>

#include "platform/disks.h"

namespace qv::lnx {

// Whether disks without a kernel temperature sensor are asked about through
// udisks2 on the system bus.
enum class UdisksFallback { On, Off };

// Disk temperatures from the kernel's hwmon sensors (nvme, drivetemp), else
// from udisks2, each dressed as a SMART attribute table whose attribute 194
// holds the temperature. A disk that sleeps is left alone.
class SysfsDisks : public Disks {
 public:
  explicit SysfsDisks(std::filesystem::path root = "/", UdisksFallback udisks = UdisksFallback::On);
  ~SysfsDisks() override;
  SysfsDisks(const SysfsDisks&) = delete;
  SysfsDisks& operator=(const SysfsDisks&) = delete;

  std::optional<std::vector<SmartTable>> smartTables() override;

 private:
  class Udisks;
  std::filesystem::path root_;
  std::unique_ptr<Udisks> udisks_;  // null when the fallback is off
};

}  // namespace qv::lnx
