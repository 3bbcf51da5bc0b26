#pragma once
#include "platform/disks.h"

namespace qv::win {

// Each disk's SMART attribute block (MSStorageDriver_ATAPISmartData's
// VendorSpecific), in the order the management service lists the disks, cut
// or padded with zeros to the table size. nullopt when the service or the
// class cannot be reached (it needs administrator rights on most machines).
class WmiDisks : public Disks {
 public:
  std::optional<std::vector<SmartTable>> smartTables() override;
};

}  // namespace qv::win
