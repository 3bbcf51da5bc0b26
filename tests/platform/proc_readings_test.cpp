#include <gtest/gtest.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <thread>

#include "platform/linux/proc_cpu.h"
#include "platform/linux/proc_file.h"
#include "platform/linux/proc_memory.h"

namespace qv::lnx {
namespace {

const std::string kSample = QUORVANE_TEST_DATA "/procfs-2cpu";
constexpr std::int64_t kKiB = 1024;

// A root directory holding proc/<name> with the given text.
struct ProcRoot {
  QTemporaryDir dir;
  explicit ProcRoot(const char* name, std::string_view text) {
    QDir(dir.path()).mkdir("proc");
    put(dir, name, text);
  }
  static void put(const QTemporaryDir& dir, const char* name, std::string_view text) {
    QFile f(dir.filePath(QString("proc/") + name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text.data(), static_cast<qint64>(text.size()));
  }
  std::string path() const { return dir.path().toStdString(); }
};

std::int64_t ticks(std::int64_t n) {
  return n * 10'000'000 / ::sysconf(_SC_CLK_TCK);
}

TEST(ProcCpuTimes, ReadsIdlePlusIowaitOfTheAggregateLineAndCountsProcessors) {
  ProcCpuTimes cpu(kSample);
  EXPECT_EQ(cpu.processorCount(), 2);
  EXPECT_EQ(cpu.idleTime(), ticks(313230 + 639));
}

TEST(ProcCpuTimes, MalformedFilesReadAsAbsent) {
  struct Case {
    const char* what;
    const char* text;
    std::optional<int> count;
    std::optional<std::int64_t> idle;
  };
  const std::string intr = "intr 1 2 3\nctxt 9\n";
  for (const Case& c : {
           Case{"only the aggregate", "cpu  1 2 3 40 5 6 7\nintr 1\n", std::nullopt, ticks(45)},
           {"cut in the middle of a number", "cpu  1 2 3 40 5\ncpu0 1 2 3 4", std::nullopt,
            std::nullopt},
           {"aggregate without iowait", "cpu  1 2 3 40\ncpu0 1 2 3 4 5\n", std::nullopt,
            std::nullopt},
           {"name alone", "cpu\ncpu0 1 2 3 4 5\n", std::nullopt, std::nullopt},
           {"not a number", "cpu  1 2 3 4x 5\ncpu0 1 2 3 4 5\n", std::nullopt, std::nullopt},
           {"negative", "cpu  1 2 3 -4 5\ncpu0 1 2 3 4 5\n", std::nullopt, std::nullopt},
           {"garbage per-cpu line", "cpu  1 2 3 4 5\ncpu0 1 2 x 4 5\n", std::nullopt, std::nullopt},
           {"beyond 64 bits", "cpu  1 2 3 18446744073709551616 5\ncpu0 1 2 3 4 5\n", std::nullopt,
            std::nullopt},
           {"sum beyond 64 bits", "cpu  1 2 3 18446744073709551615 1\ncpu0 1 2 3 4 5\n", 1,
            std::nullopt},
           {"no aggregate line", "cpu0 1 2 3 4 5\ncpu1 1 2 3 4 5\n", 2, std::nullopt},
           {"other cpu-like keys are not processors", "cpu  1 2 3 4 5\ncpu0 1 2 3 4 5\ncpufreq x\n",
            1, ticks(9)},
           {"fields beyond iowait", "cpu  0 0 0 7 3 0 0 0 0 0 0 0\ncpu0 0 0 0 7 3 9 9\n", 1,
            ticks(10)},
           {"empty", "", std::nullopt, std::nullopt},
       }) {
    ProcRoot root("stat", c.text);
    ProcCpuTimes cpu(root.path());
    EXPECT_EQ(cpu.processorCount(), c.count) << c.what;
    EXPECT_EQ(cpu.idleTime(), c.idle) << c.what;
  }
  ProcCpuTimes missing("/nonexistent");
  EXPECT_EQ(missing.processorCount(), std::nullopt);
  EXPECT_EQ(missing.idleTime(), std::nullopt);
  // The clock does not come from the file.
  EXPECT_NE(missing.systemTime(), std::nullopt);
}

TEST(ProcCpuTimes, ASampleReadsTheFileOnceAndTheNextReadsItAfresh) {
  ProcRoot root("stat", "cpu  1 2 3 40 5\ncpu0 1 2 3 40 5\n");
  ProcCpuTimes cpu(root.path());
  ASSERT_EQ(cpu.processorCount(), 1);
  ProcRoot::put(root.dir, "stat", "cpu  1 2 3 90 5\ncpu0 1 2 3 45 5\ncpu1 0 0 0 45 0\n");
  EXPECT_EQ(cpu.idleTime(), ticks(45)) << "the count's own reading";
  EXPECT_EQ(cpu.idleTime(), ticks(95));
  EXPECT_EQ(cpu.processorCount(), 2);
}

TEST(ProcCpuTimes, TickConversionIsExactAndRefusesOverflow) {
  constexpr auto max = std::numeric_limits<std::int64_t>::max();
  struct Case {
    std::uint64_t ticks;
    long hz;
    std::optional<std::int64_t> units;
  };
  for (const Case& c : {
           Case{0, 100, 0},
           {1, 100, 100'000},
           {12345, 100, 1'234'500'000},
           {1, 1024, 9765},  // 9765.625 rounds down
           {1024, 1024, 10'000'000},
           {1, 3, 3'333'333},
           {3, 3, 10'000'000},
           {7, 250, 280'000},
           // 20 years idle on 512 processors at 1000 Hz.
           {20ull * 365 * 86400 * 512 * 1000, 1000,
            std::int64_t{20} * 365 * 86400 * 512 * 10'000'000},
           {static_cast<std::uint64_t>(max / 100'000), 100, max / 100'000 * 100'000},
           {static_cast<std::uint64_t>(max / 100'000) + 1, 100, std::nullopt},
           {std::numeric_limits<std::uint64_t>::max(), 100, std::nullopt},
           {5, 0, std::nullopt},
           {5, -100, std::nullopt},
       })
    EXPECT_EQ(ticksTo100ns(c.ticks, c.hz), c.units) << c.ticks << " at " << c.hz << " Hz";
}

TEST(ProcCpuTimes, LiveSystemReadsSensibly) {
  ProcCpuTimes cpu;
  ASSERT_GE(cpu.processorCount().value_or(0), 1);
  auto idle1 = cpu.idleTime();
  ASSERT_TRUE(idle1);
  auto idle2 = cpu.idleTime();
  ASSERT_TRUE(idle2);
  EXPECT_GE(*idle2 + 10'000'000, *idle1);  // iowait may step back a little

  // 100 ns units since 1601: the Unix epoch is 11644473600 s later.
  auto now = cpu.systemTime();
  ASSERT_TRUE(now);
  std::int64_t expected =
      (QDateTime::currentMSecsSinceEpoch() + std::int64_t{11'644'473'600'000}) * 10'000;
  EXPECT_NEAR(static_cast<double>(*now), static_cast<double>(expected), 1e7);
}

TEST(ProcMemory, ReadsTheFiguresInBytes) {
  ProcMemory memory(kSample);
  auto s = memory.status();
  ASSERT_TRUE(s);
  EXPECT_EQ(s->totalPhysical, 24683728 * kKiB);  // beyond 32 bits
  EXPECT_EQ(s->availablePhysical, 23622924 * kKiB);
  EXPECT_EQ(s->totalPageFile, 4194300 * kKiB);
  EXPECT_EQ(s->availablePageFile, 4100000 * kKiB);
  EXPECT_EQ(s->totalVirtual, 12341864 * kKiB);
  EXPECT_EQ(s->availableVirtual, (12341864 - 702688) * kKiB);
}

TEST(ProcMemory, OldKernelsAndOvercommit) {
  // Before MemAvailable existed, free + buffers + page cache is the estimate.
  ProcRoot old("meminfo",
               "MemTotal:        1000 kB\nMemFree:          100 kB\nBuffers:           20 kB\n"
               "Cached:           300 kB\nSwapCached:         0 kB\nSwapTotal:         50 kB\n"
               "SwapFree:          40 kB\nCommitLimit:      550 kB\nCommitted_AS:     900 kB\n"
               "HugePages_Total:       0\n");
  auto s = ProcMemory(old.path()).status();
  ASSERT_TRUE(s);
  EXPECT_EQ(s->availablePhysical, 420 * kKiB);
  EXPECT_EQ(s->totalVirtual, 550 * kKiB);
  EXPECT_EQ(s->availableVirtual, 0);  // overcommitted
}

TEST(ProcMemory, MalformedFilesReadAsAbsent) {
  for (const char* text : {
           "",
           "MemFree: 100 kB\nSwapTotal: 0 kB\n",  // no MemTotal
           "MemTotal: 1000 kB\nMemFree: 10",      // cut short
           "MemTotal: abc kB\n",                  // not a number
           "MemTotal: 1000 kB\nMemAvailable: -5 kB\n",
           "MemTotal: 1000 MB\n",  // not the unit we know
           "MemTotal: 1000\n",
           "MemTotal: 99999999999999999999999 kB\n",  // beyond 64 bits
       }) {
    ProcRoot root("meminfo", text);
    EXPECT_FALSE(ProcMemory(root.path()).status()) << '"' << text << '"';
  }
  EXPECT_FALSE(ProcMemory("/nonexistent").status());
}

TEST(ProcMemory, LiveSystemReadsSensibly) {
  auto s = ProcMemory().status();
  ASSERT_TRUE(s);
  EXPECT_GT(s->totalPhysical, 0);
  EXPECT_LE(s->availablePhysical, s->totalPhysical);
  EXPECT_LE(s->availablePageFile, s->totalPageFile);
  EXPECT_LE(s->availableVirtual, s->totalVirtual);
}

// A proc file stays open between reads and must still give the kernel's
// current text; any other file may be replaced by renaming and is opened
// again.
TEST(ProcFile, EachReadGivesTheCurrentTextOfAKeptOrAReplacedFile) {
  ProcFile uptime("/proc/uptime");
  std::string first, second;
  ASSERT_TRUE(uptime.read(first));
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  ASSERT_TRUE(uptime.read(second));
  EXPECT_NE(first, second);

  ProcRoot root("stat", "one\n");
  ProcFile copy(root.path() + "/proc/stat");
  ASSERT_TRUE(copy.read(first));
  EXPECT_EQ(first, "one\n");
  ProcRoot::put(root.dir, "stat.new", "two\n");
  ASSERT_TRUE(QFile::remove(root.dir.filePath("proc/stat")));
  ASSERT_TRUE(QFile::rename(root.dir.filePath("proc/stat.new"), root.dir.filePath("proc/stat")));
  ASSERT_TRUE(copy.read(second));
  EXPECT_EQ(second, "two\n");
}

}  // namespace
}  // namespace qv::lnx
