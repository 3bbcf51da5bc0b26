#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/disks.h"

namespace qv::win {

// A disk's SMART attribute block (the VendorSpecific bytes): two bytes of
// revision, then 30 entries of 12 bytes from byte 2 (id, 2 flag bytes,
// current, worst, 6 raw bytes least significant first, reserved). Attribute
// 194 is the temperature, the lowest raw byte its degrees Celsius.
struct SmartTemperature {
  bool readable = true;                 // false: the block ends before a byte the scan needs
  std::optional<std::int16_t> celsius;  // nullopt: no byte of the block is 194
};
// Every byte position 0 to 361 is compared with 194, not only the entries'
// id bytes, and the byte five further on is taken; the last match wins.
SmartTemperature smartTemperature(const std::vector<std::uint8_t>& block);

// The temperature of each disk whose SMART block holds one
// (MSStorageDriver_ATAPISmartData), in the order the management service
// lists the disks. nullopt when the service or the class cannot be reached
// (it needs administrator rights on most machines) or a block is too short.
class WmiDisks : public Disks {
 public:
  std::optional<std::vector<DiskTemperature>> temperatures() override;
};

}  // namespace qv::win
