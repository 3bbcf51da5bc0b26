#include "platform/win32/wmi_thermal.h"

#include <limits>

#include "platform/win32/wide_text.h"
#include "platform/win32/wmi_query.h"

namespace qv::win {
namespace {

bool fits(std::int64_t v) {
  return v >= std::numeric_limits<std::int32_t>::min() &&
         v <= std::numeric_limits<std::int32_t>::max();
}

}  // namespace

std::optional<std::vector<ThermalZone>> WmiThermal::zones() {
  std::vector<ThermalZone> found;
  bool ok = queryWmi(L"MSAcpi_ThermalZoneTemperature", [&](IWbemClassObject& zone) {
    auto current = integerProperty(zone, L"CurrentTemperature");
    if (!current || !fits(*current)) return false;
    // Only the current value is needed to read a zone; a zone without a trip
    // point has none.
    auto critical = integerProperty(zone, L"CriticalTripPoint");
    ThermalZone z;
    z.current = static_cast<std::int32_t>(*current);
    z.critical = critical && fits(*critical) ? static_cast<std::int32_t>(*critical) : 0;
    VARIANT name;
    VariantInit(&name);
    if (SUCCEEDED(zone.Get(L"InstanceName", 0, &name, nullptr, nullptr)) && name.vt == VT_BSTR)
      z.name = narrow(name.bstrVal);
    VariantClear(&name);
    found.push_back(std::move(z));
    return true;
  });
  if (!ok) return std::nullopt;
  return found;
}

}  // namespace qv::win
