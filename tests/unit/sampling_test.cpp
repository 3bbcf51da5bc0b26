// CPU load and memory figures from scripted platform readings.

#include <gtest/gtest.h>

#include <optional>

#include "forms/form1.h"
#include "sensing/cpu_usage.h"
#include "sensing/memory_status.h"
#include "support/sim.h"

namespace qv {
namespace {

constexpr std::int64_t kSecond = 10'000'000;            // in 100 ns units
constexpr std::int64_t kNow = 134'100'000'000'000'000;  // about 2026 since 1601

class CpuLoad : public ::testing::Test {
 protected:
  int sample(std::optional<int> processors, std::optional<std::int64_t> time,
             std::optional<std::int64_t> idle) {
    fake.cpu.processors = processors;
    fake.cpu.time = time;
    fake.cpu.idle = idle;
    return QueryCPUUsage(program);
  }
  CpuSampler& state() { return program.state<CpuSampler>(); }
  test::FakePlatform fake;
  Program program{fake.platform};
};

TEST_F(CpuLoad, LoadIsTheIdleShareOfEachProcessorRoundedToAWholePercent) {
  struct Case {
    const char* what;
    int processors;
    std::int64_t timeDelta, idleDelta;
    int load;
  };
  const Case cases[] = {
      {"all processors idle", 4, 8 * kSecond, 32 * kSecond, 0},
      {"a quarter busy", 4, 8 * kSecond, 24 * kSecond, 25},
      {"idle share 0.375 on one processor", 1, 8 * kSecond, 3 * kSecond, 63},
      {"halves round up", 1, 1000, 505, 50},
      {"clock skew: more idle than time", 4, 1000, 4040, -1},
      {"no time and no idle", 2, 0, 0, 100},
      {"no time but idle", 4, 0, 8 * kSecond, -199'900},
  };
  for (const Case& c : cases) {
    state() = {1'000'000, kNow};
    EXPECT_EQ(sample(c.processors, kNow + c.timeDelta, 1'000'000 + c.idleDelta), c.load) << c.what;
    EXPECT_EQ(state().PrevSystemTime, kNow + c.timeDelta) << c.what;
  }
}

TEST_F(CpuLoad, AgainstNothingTheFirstSampleReadsAsFullLoad) {
  EXPECT_EQ(sample(8, kNow, 3'000 * kSecond), 100);
}

TEST_F(CpuLoad, AFailedReadingReturnsMinusOneAndKeepsThePreviousSample) {
  state() = {0, kNow};
  EXPECT_EQ(sample(std::nullopt, kNow + kSecond, 0), -1);
  EXPECT_EQ(sample(4, std::nullopt, 0), -1);
  EXPECT_EQ(sample(4, kNow + 2 * kSecond, std::nullopt), -1);
  EXPECT_EQ(state().PrevSystemTime, kNow);
  // The next good sample measures across the whole gap: 16 s at half load.
  EXPECT_EQ(sample(4, kNow + 16 * kSecond, 32 * kSecond), 50);
}

TEST(CpuLoadReadout, TheFirstReadoutShowsTheLoadOfItsFirstIntervalNotAFixed100) {
  test::Sim sim;
  sim.fake.cpu.processors = 4;
  sim.fake.cpu.time = kNow;
  sim.fake.cpu.idle = 50'000 * kSecond;
  sim.start();
  // Eight seconds later three of the four processors were idle.
  sim.fake.cpu.time = kNow + 8 * kSecond;
  sim.fake.cpu.idle = 50'000 * kSecond + 24 * kSecond;
  sim.advance(8000);
  EXPECT_EQ(sim.program.form<Form1>().Label20.text(), "25");
}

TEST(MemoryFigures, LoadAndKilobyteTexts) {
  MemoryStatus half{1'073'741'824, 536'870'912, 0, 0, 0, 0};
  EXPECT_EQ(memoryLoad(half), "50");
  MemoryStatus odd{1'024'000'000, 383'488'000, 0, 0, 0, 0};  // 62.55 %
  EXPECT_EQ(memoryLoad(odd), "63");
  EXPECT_THROW(memoryLoad(MemoryStatus{}), Failed);
  // 64-bit byte counts: 64 GiB of memory.
  EXPECT_EQ(kilobytes(68'719'476'736), "67108864");
  EXPECT_EQ(kilobytes(1'048'064), "1023.5");
}

}  // namespace
}  // namespace qv
