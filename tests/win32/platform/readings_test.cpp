// The CPU and memory figures from the system, checked against what the
// system says by other means.

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <thread>

#include "platform/win32/global_memory.h"
#include "platform/win32/nt_cpu.h"

namespace qv::win {
namespace {

std::int64_t nowIn100ns() {
  FILETIME ft;
  GetSystemTimeAsFileTime(&ft);
  return static_cast<std::int64_t>(ULARGE_INTEGER{{ft.dwLowDateTime, ft.dwHighDateTime}}.QuadPart);
}

TEST(NtCpuTimes, ProcessorCountAndSystemTimeAgreeWithTheSystem) {
  NtCpuTimes cpu;
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  // Read at the 64-bit offset of the basic class: the 32-bit one gives 0
  // or garbage here.
  EXPECT_EQ(cpu.processorCount(), static_cast<int>(info.dwNumberOfProcessors));
  auto time = cpu.systemTime();
  ASSERT_TRUE(time);
  EXPECT_NEAR(static_cast<double>(*time), static_cast<double>(nowIn100ns()), 60e7);
}

TEST(NtCpuTimes, IdleTimeGrowsNoFasterThanTheProcessorsTogether) {
  NtCpuTimes cpu;
  auto processors = cpu.processorCount();
  auto t0 = cpu.systemTime();
  auto idle0 = cpu.idleTime();
  ASSERT_TRUE(processors && t0 && idle0);
  EXPECT_GT(*idle0, 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  auto t1 = cpu.systemTime();
  auto idle1 = cpu.idleTime();
  ASSERT_TRUE(t1 && idle1);
  EXPECT_GE(*idle1, *idle0);
  // Counters tick in steps of up to a clock tick per processor: a little
  // slack.
  EXPECT_LE(*idle1 - *idle0, (*t1 - *t0) * *processors + *processors * 200'000LL);
}

TEST(GlobalMemory, FiguresArePlausible) {
  auto m = GlobalMemory().status();
  ASSERT_TRUE(m);
  EXPECT_GT(m->totalPhysical, 64LL << 20);
  EXPECT_GT(m->availablePhysical, 0);
  EXPECT_LE(m->availablePhysical, m->totalPhysical);
  EXPECT_LE(m->availablePageFile, m->totalPageFile);
  // A 64-bit process has terabytes of address space: 32-bit fields would
  // have cut it.
  EXPECT_GT(m->totalVirtual, 1LL << 40);
  EXPECT_LE(m->availableVirtual, m->totalVirtual);
}

}  // namespace
}  // namespace qv::win
