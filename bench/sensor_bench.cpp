// One read of each Linux sensor: /proc on this machine, sysfs from the
// fixture trees of the platform tests.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/linux/proc_cpu.h"
#include "platform/linux/proc_memory.h"
#include "platform/linux/sensor_scan.h"
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

// One reading every 8 s: the chosen CPU sensors' files.
void Thermal(benchmark::State& state, const std::string& name) {
  qv::lnx::SysfsThermal thermal(machine(name));
  if (!thermal.zones()) state.SkipWithError("the fixture gives no reading");
  for (auto _ : state) benchmark::DoNotOptimize(thermal.zones());
}

// One reading every 21 s: each disk's power state and sensor file.
void Disks(benchmark::State& state, const std::string& name) {
  qv::lnx::SysfsDisks disks(machine(name), qv::lnx::UdisksFallback::Off);
  if (!disks.temperatures()) state.SkipWithError("the fixture gives no reading");
  for (auto _ : state) benchmark::DoNotOptimize(disks.temperatures());
}

// What a scan costs: at start and when a chosen sensor goes; for thermal
// also once a minute while only a stand-in answers, for disks once a minute.
void ScanThermal(benchmark::State& state, const std::string& name) {
  for (auto _ : state) {
    const auto sensors = qv::lnx::scanThermalSensors(machine(name));
    benchmark::DoNotOptimize(
        qv::lnx::chooseCpuSensors(sensors.value_or(std::vector<qv::lnx::TemperatureSensor>{})));
  }
}

void ScanDisks(benchmark::State& state, const std::string& name) {
  for (auto _ : state) benchmark::DoNotOptimize(qv::lnx::scanDiskSensors(machine(name)));
}

// The fixtures with a CPU package sensor and disk sensors, and two of the
// machines with many sensors.
[[maybe_unused]] const bool registered = [] {
  for (const char* name : {"intel-laptop", "amd-desktop", "acpi-only", "rk3588-big-little",
                           "nas-five-sata-drivetemp"}) {
    benchmark::RegisterBenchmark((std::string("SysfsThermal/") + name).c_str(), Thermal, name)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark((std::string("SysfsDisks/") + name).c_str(), Disks, name)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark((std::string("SysfsScanThermal/") + name).c_str(), ScanThermal,
                                 name)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark((std::string("SysfsScanDisks/") + name).c_str(), ScanDisks, name)
        ->Unit(benchmark::kMicrosecond);
  }
  return true;
}();

}  // namespace
