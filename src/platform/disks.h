#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qv {

struct DiskTemperature {
  std::string name;  // which disk, for diagnostics only
  std::int16_t celsius = 0;
};

class Disks {
 public:
  virtual ~Disks() = default;
  // One temperature per disk that reports one. The program shows the last,
  // so a service free to choose the order puts the hottest last. Empty when
  // no disk reports one; nullopt when the source cannot be read at all.
  virtual std::optional<std::vector<DiskTemperature>> temperatures() = 0;
};

}  // namespace qv
