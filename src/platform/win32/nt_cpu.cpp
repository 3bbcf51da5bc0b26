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

// Reads the 64-bit field at `offset` of a class read into `size` bytes.
std::optional<std::int64_t> int64At(ULONG infoClass, ULONG size, std::size_t offset) {
  QueryFn fn = query();
  alignas(8) unsigned char buffer[1024] = {};
  if (!fn || size > sizeof buffer || offset + 8 > size) return std::nullopt;
  ULONG length = 0;
  if (fn(infoClass, buffer, size, &length) < 0) return std::nullopt;
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
  // Boot time, then the current time. The record has grown over the
  // releases; its first 32 bytes are read on every one, a larger buffer than
  // the system's record is refused.
  return int64At(kTimeOfDay, 32, 8);
}

std::optional<std::int64_t> NtCpuTimes::idleTime() {
  // The idle time comes first. This record has grown too, and a buffer
  // smaller than the system's is refused: one larger than any of them.
  return int64At(kPerformance, 1024, 0);
}

}  // namespace qv::win
