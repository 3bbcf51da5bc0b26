#pragma once
#include "platform/memory.h"

namespace qv::win {

// GlobalMemoryStatusEx: 64-bit byte counts, so that memories beyond 2 GB read
// right.
class GlobalMemory : public Memory {
 public:
  std::optional<MemoryStatus> status() override;
};

}  // namespace qv::win
