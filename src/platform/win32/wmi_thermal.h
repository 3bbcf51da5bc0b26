#pragma once
#include "platform/thermal.h"

namespace qv::win {

// The ACPI thermal zones (MSAcpi_ThermalZoneTemperature), in the order the
// management service returns them; their values are tenths of a kelvin
// already. nullopt when the service or the class cannot be reached (most
// machines do not publish the class to an unprivileged user).
class WmiThermal : public Thermal {
 public:
  std::optional<std::vector<ThermalZone>> zones() override;
};

}  // namespace qv::win
