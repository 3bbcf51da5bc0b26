// The management service's sensor classes: where a machine has none (Wine
// has neither), each read answers at once that there is nothing, without
// hanging or failing the program.

#include <gtest/gtest.h>

#include <chrono>

#include "platform/win32/wmi_disks.h"
#include "platform/win32/wmi_thermal.h"

namespace qv::win {
namespace {

using Clock = std::chrono::steady_clock;

TEST(Wmi, ThermalZonesAreNoneOrPlausibleAndComeQuickly) {
  auto start = Clock::now();
  auto zones = WmiThermal().zones();
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
  // Read twice: the connection of the first read is gone, a new one works.
  auto again = WmiThermal().zones();
  EXPECT_EQ(zones.has_value(), again.has_value());
  for (const ThermalZone& z : zones.value_or(std::vector<ThermalZone>{})) {
    EXPECT_GT(z.current, 2000) << z.name;
    EXPECT_LT(z.current, 4500) << z.name;
  }
}

TEST(Wmi, SmartTablesAreNoneOrFullSizeAndComeQuickly) {
  auto start = Clock::now();
  auto tables = WmiDisks().smartTables();
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
  for (const SmartTable& t : tables.value_or(std::vector<SmartTable>{}))
    EXPECT_EQ(t.size(), kSmartTableSize);
}

}  // namespace
}  // namespace qv::win
