#include "platform/win32/wmi_disks.h"

#include "platform/win32/wmi_query.h"

namespace qv::win {

std::optional<std::vector<SmartTable>> WmiDisks::smartTables() {
  std::vector<SmartTable> tables;
  bool ok = queryWmi(L"MSStorageDriver_ATAPISmartData", [&](IWbemClassObject& disk) {
    auto block = bytesProperty(disk, L"VendorSpecific");
    if (!block) return false;
    block->resize(kSmartTableSize, 0);
    tables.push_back(std::move(*block));
    return true;
  });
  if (!ok) return std::nullopt;
  return tables;
}

}  // namespace qv::win
