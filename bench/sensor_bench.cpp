// One read of each Linux sensor: /proc on this machine, sysfs from the
// fixture trees of the platform tests.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "platform/linux/proc_cpu.h"
#include "platform/linux/proc_memory.h"
#include "platform/linux/sysfs_disks.h"
#include "platform/linux/sysfs_thermal.h"

namespace {

std::filesystem::path machine(const std::string& name) {
  return std::filesystem::path(QUORVANE_TEST_DATA) / "machines" / name;
}

void ProcCpuIdle(benchmark::State& state) {
  qv::lnx::ProcCpuTimes cpu;
  for (auto _ : state) benchmark::DoNotOptimize(cpu.idleTime());
}
BENCHMARK(ProcCpuIdle);

void ProcCpuSystemTime(benchmark::State& state) {
  qv::lnx::ProcCpuTimes cpu;
  for (auto _ : state) benchmark::DoNotOptimize(cpu.systemTime());
}
BENCHMARK(ProcCpuSystemTime);

void ProcCpuCount(benchmark::State& state) {
  qv::lnx::ProcCpuTimes cpu;
  for (auto _ : state) benchmark::DoNotOptimize(cpu.processorCount());
}
BENCHMARK(ProcCpuCount);

void ProcMemoryStatus(benchmark::State& state) {
  qv::lnx::ProcMemory memory;
  for (auto _ : state) benchmark::DoNotOptimize(memory.status());
}
BENCHMARK(ProcMemoryStatus);

void Thermal(benchmark::State& state, const std::string& name) {
  qv::lnx::SysfsThermal thermal(machine(name));
  if (!thermal.zones()) state.SkipWithError("the fixture gives no reading");
  for (auto _ : state) benchmark::DoNotOptimize(thermal.zones());
}

void Disks(benchmark::State& state, const std::string& name) {
  qv::lnx::SysfsDisks disks(machine(name), qv::lnx::UdisksFallback::Off);
  if (!disks.smartTables()) state.SkipWithError("the fixture gives no reading");
  for (auto _ : state) benchmark::DoNotOptimize(disks.smartTables());
}

// The fixtures with a CPU package sensor and disk sensors.
[[maybe_unused]] const bool registered = [] {
  for (const char* name : {"intel-laptop", "amd-desktop", "acpi-only"}) {
    benchmark::RegisterBenchmark((std::string("SysfsThermal/") + name).c_str(), Thermal, name)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark((std::string("SysfsDisks/") + name).c_str(), Disks, name)
        ->Unit(benchmark::kMicrosecond);
  }
  return true;
}();

}  // namespace
