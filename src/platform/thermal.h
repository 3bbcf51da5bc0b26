#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qv {

struct ThermalZone {
  std::string name;           // where it came from, for diagnostics only
  std::int32_t current = 0;   // tenths of a kelvin
  std::int32_t critical = 0;  // critical trip point, tenths of a kelvin; 0 when none
};

class Thermal {
 public:
  virtual ~Thermal() = default;
  // The CPU temperature zones. The program shows the last, so a service free
  // to choose puts the one to show (the hottest of the CPU's sensors) last.
  // Empty when the machine has none; nullopt when the sensor source cannot
  // be read at all.
  virtual std::optional<std::vector<ThermalZone>> zones() = 0;
};

}  // namespace qv
