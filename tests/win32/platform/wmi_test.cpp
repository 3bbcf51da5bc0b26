// The management service's sensor classes: where a machine has none (Wine
// has neither), each read answers at once that there is nothing, without
// hanging or failing the program.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <utility>
#include <vector>

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

TEST(Wmi, DiskTemperaturesAreNoneOrPlausibleAndComeQuickly) {
  auto start = Clock::now();
  auto disks = WmiDisks().temperatures();
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
  for (const DiskTemperature& d : disks.value_or(std::vector<DiskTemperature>{}))
    EXPECT_LE(d.celsius, 255) << d.name;
}

// The SMART block is scanned as the program always scanned it: every byte
// position up to 361, not only the entries' id bytes.
TEST(Wmi, TheSmartBlockGivesTheByteFiveAfterTheLast194) {
  const auto block = [](std::size_t size, std::vector<std::pair<std::size_t, std::uint8_t>> set) {
    std::vector<std::uint8_t> b(size, 0);
    for (auto [at, value] : set) b[at] = value;
    return b;
  };
  const struct {
    const char* what;
    std::vector<std::uint8_t> block;
    SmartTemperature want;
  } cases[] = {
      {"entry 0 is the temperature", block(512, {{2, 194}, {7, 0x2D}}), {true, 45}},
      {"a later entry wins", block(512, {{2, 194}, {7, 45}, {14, 194}, {19, 0x33}}), {true, 51}},
      {"a 194 in a raw value counts too",
       block(512, {{2, 194}, {7, 45}, {9, 194}, {14, 60}}),
       {true, 60}},
      {"no 194", block(512, {{2, 9}, {7, 0x34}}), {true, std::nullopt}},
      {"a 194 past byte 361 is not looked at",
       block(512, {{362, 194}, {367, 40}}),
       {true, std::nullopt}},
      {"a 194 at 361 reads byte 366", block(367, {{361, 194}, {366, 38}}), {true, 38}},
      {"the block ends before byte 361", block(300, {{2, 194}, {7, 45}}), {false, std::nullopt}},
      {"the block ends before the raw byte", block(364, {{360, 194}}), {false, std::nullopt}},
      {"a short block without a late 194 is whole enough",
       block(362, {{2, 194}, {7, 41}}),
       {true, 41}},
  };
  for (const auto& c : cases) {
    const SmartTemperature got = smartTemperature(c.block);
    EXPECT_EQ(got.readable, c.want.readable) << c.what;
    EXPECT_EQ(got.celsius, c.want.celsius) << c.what;
  }
}

}  // namespace
}  // namespace qv::win
