#pragma once
#include <cstdint>
#include <optional>
#include <vector>

namespace qv {

// A disk's SMART attribute table as the vendor-specific block: two bytes of
// revision, then 30 entries of 12 bytes from byte 2 (id, 2 flag bytes,
// current, worst, 6 raw bytes least significant first, reserved).
using SmartTable = std::vector<std::uint8_t>;
inline constexpr std::size_t kSmartTableSize = 512;

class Disks {
 public:
  virtual ~Disks() = default;
  // One table of kSmartTableSize bytes per disk that reports a temperature,
  // in /sys/block order. Empty when there is none; nullopt when the source
  // cannot be read at all.
  virtual std::optional<std::vector<SmartTable>> smartTables() = 0;
};

}  // namespace qv
