#include "platform/win32/wmi_disks.h"

#include <string>

#include "platform/win32/wmi_query.h"

namespace qv::win {

SmartTemperature smartTemperature(const std::vector<std::uint8_t>& block) {
  constexpr std::size_t kLastPosition = 361;  // the last byte of the 30th entry
  constexpr std::size_t kRawOffset = 5;
  constexpr std::uint8_t kTemperatureId = 194;
  SmartTemperature out;
  for (std::size_t i = 0; i <= kLastPosition; ++i) {
    if (i >= block.size()) return {false, std::nullopt};
    if (block[i] != kTemperatureId) continue;
    if (i + kRawOffset >= block.size()) return {false, std::nullopt};
    out.celsius = block[i + kRawOffset];
  }
  return out;
}

std::optional<std::vector<DiskTemperature>> WmiDisks::temperatures() {
  std::vector<DiskTemperature> disks;
  bool ok = queryWmi(L"MSStorageDriver_ATAPISmartData", [&](IWbemClassObject& disk) {
    const auto block = bytesProperty(disk, L"VendorSpecific");
    if (!block) return false;
    const SmartTemperature found = smartTemperature(*block);
    if (!found.readable) return false;
    if (found.celsius) {
      std::string name = textProperty(disk, L"InstanceName").value_or("");
      disks.push_back({std::move(name), *found.celsius});
    }
    return true;
  });
  if (!ok) return std::nullopt;
  return disks;
}

}  // namespace qv::win
