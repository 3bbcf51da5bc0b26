#pragma once
#include <chrono>
#include <filesystem>

#include "platform/linux/sysfs_read.h"
#include "platform/thermal.h"

namespace qv::lnx {

// CPU temperatures from sysfs: the ACPI thermal zones, then the one sensor that
// best stands for the CPU package. Sensors come and go with drivers: the
// directories are listed again once `rescan` has passed, and at the next call
// after one that found fewer sensors than the call before. Once sensors have
// answered, a call in which none answers (a driver unloaded, a file gone or
// returning garbage) is a failed reading, not a machine without sensors: the
// program then keeps its last value instead of showing 0 degrees, which would
// silence the warnings.
class SysfsThermal : public Thermal {
 public:
  explicit SysfsThermal(std::filesystem::path root = "/",
                        std::chrono::milliseconds rescan = std::chrono::minutes(1));
  std::optional<std::vector<ThermalZone>> zones() override;

 private:
  std::filesystem::path root_;
  sysfs::Listings listings_;
  std::size_t found_ = 0;  // sensors that answered at the last call
  bool answered_ = false;  // some call found a sensor
};

}  // namespace qv::lnx
