#include "platform/win32/global_memory.h"

#include <windows.h>

namespace qv::win {

std::optional<MemoryStatus> GlobalMemory::status() {
  MEMORYSTATUSEX m{};
  m.dwLength = sizeof m;
  if (!GlobalMemoryStatusEx(&m)) return std::nullopt;
  auto bytes = [](DWORDLONG v) { return static_cast<std::int64_t>(v); };
  return MemoryStatus{bytes(m.ullTotalPhys),     bytes(m.ullAvailPhys),
                      bytes(m.ullTotalPageFile), bytes(m.ullAvailPageFile),
                      bytes(m.ullTotalVirtual),  bytes(m.ullAvailVirtual)};
}

}  // namespace qv::win
