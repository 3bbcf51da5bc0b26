#include "platform/win32/nt_cpu.h"

#include <windows.h>

#include <cstddef>
#include <cstring>

namespace qv::win {
namespace {

// The basic-information class as a 64-bit system lays it out: the three
// address-sized fields are 8 bytes wide and aligned, so the processor count
// sits at byte 56, not at byte 40 as in the 32-bit layout.
struct BasicInformation {
  ULONG reserved;
  ULONG timerResolution;
  ULONG pageSize;
  ULONG physicalPages;
  ULONG lowestPage;
  ULONG highestPage;
  ULONG allocationGranularity;
  ULONG_PTR lowestUserAddress;
  ULONG_PTR highestUserAddress;
  ULONG_PTR activeProcessors;
  CCHAR processorCount;
};
static_assert(sizeof(void*) != 8 || offsetof(BasicInformation, processorCount) == 56);

constexpr ULONG kBasic = 0;
constexpr ULONG kPerformance = 2;
constexpr ULONG kTimeOfDay = 3;

using QueryFn = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

QueryFn query() {
  static const QueryFn fn = [] {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll ? reinterpret_cast<QueryFn>(
                       reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQuerySystemInformation")))
                 : nullptr;
  }();
  return fn;
}

// Reads a class into a buffer larger than any version of it: the time-of-day
// and performance records have grown over the releases, and a buffer of the
// old size is refused by the newer ones.
template <std::size_t N>
bool read(ULONG infoClass, unsigned char (&buffer)[N], ULONG needed) {
  QueryFn fn = query();
  if (!fn) return false;
  std::memset(buffer, 0, N);
  ULONG length = 0;
  if (fn(infoClass, buffer, static_cast<ULONG>(N), &length) < 0) return false;
  return length == 0 || length >= needed;
}

std::optional<std::int64_t> int64At(ULONG infoClass, std::size_t offset) {
  alignas(8) unsigned char buffer[1024];
  if (!read(infoClass, buffer, static_cast<ULONG>(offset + 8))) return std::nullopt;
  std::int64_t v = 0;
  std::memcpy(&v, buffer + offset, sizeof v);
  return v;
}

}  // namespace

std::optional<int> NtCpuTimes::processorCount() {
  alignas(8) unsigned char buffer[sizeof(BasicInformation)];
  // The basic class must be asked for with its exact size.
  QueryFn fn = query();
  if (!fn) return std::nullopt;
  ULONG length = 0;
  if (fn(kBasic, buffer, sizeof buffer, &length) < 0) return std::nullopt;
  BasicInformation info;
  std::memcpy(&info, buffer, sizeof info);
  const int count = static_cast<unsigned char>(info.processorCount);
  if (count <= 0) return std::nullopt;
  return count;
}

std::optional<std::int64_t> NtCpuTimes::systemTime() {
  // Boot time, then the current time.
  return int64At(kTimeOfDay, 8);
}

std::optional<std::int64_t> NtCpuTimes::idleTime() {
  return int64At(kPerformance, 0);
}

}  // namespace qv::win
