#pragma once
#include <cstdint>
#include <optional>

namespace qv {

// Byte counts.
struct MemoryStatus {
  std::int64_t totalPhysical = 0;
  std::int64_t availablePhysical = 0;
  std::int64_t totalPageFile = 0;
  std::int64_t availablePageFile = 0;
  std::int64_t totalVirtual = 0;
  std::int64_t availableVirtual = 0;
};

class Memory {
 public:
  virtual ~Memory() = default;
  // The current status; nullopt when it cannot be read.
  virtual std::optional<MemoryStatus> status() = 0;
};

}  // namespace qv
