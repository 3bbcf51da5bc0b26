#pragma once
#include <filesystem>

#include "platform/thermal.h"

namespace qv::lnx {

// CPU temperatures from sysfs: the ACPI thermal zones, then the one sensor that
// best stands for the CPU package. The directories are read on every call, as
// sensors come and go with drivers and hot-plugged devices. Once sensors have
// answered, a call in which none answers (a driver unloaded, a file gone or
// returning garbage) is a failed reading, not a machine without sensors: the
// program then keeps its last value instead of showing 0 degrees, which would
// silence the warnings.
class SysfsThermal : public Thermal {
 public:
  explicit SysfsThermal(std::filesystem::path root = "/");
  std::optional<std::vector<ThermalZone>> zones() override;

 private:
  std::filesystem::path root_;
  bool answered_ = false;  // some call found a sensor
};

}  // namespace qv::lnx
