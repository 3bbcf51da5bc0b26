#pragma once
#include <filesystem>

#include "platform/thermal.h"

namespace qv::lnx {

// CPU temperatures from sysfs: the ACPI thermal zones, then the one sensor that
// best stands for the CPU package. The directories are read on every call, as
// sensors come and go with drivers and hot-plugged devices.
class SysfsThermal : public Thermal {
 public:
  explicit SysfsThermal(std::filesystem::path root = "/");
  std::optional<std::vector<ThermalZone>> zones() override;

 private:
  std::filesystem::path root_;
};

}  // namespace qv::lnx
