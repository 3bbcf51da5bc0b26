#pragma once
#include <string>

#include "platform/linux/proc_file.h"

#include "platform/memory.h"

namespace qv::lnx {

// Memory status from <root>/proc/meminfo, read afresh on every call.
// Physical: MemTotal and MemAvailable (MemFree + Buffers + Cached before 3.14).
// Page file: SwapTotal and SwapFree.
// Virtual: the Windows figures are the process address space, which has no
// Linux counterpart; we report the commit limit and what is left of it
// (CommitLimit - Committed_AS, never below 0), the nearest system-wide notion.
// Absent when the file cannot be read, is cut short, lacks MemTotal or holds
// a non-number in a field used.
class ProcMemory : public Memory {
 public:
  explicit ProcMemory(std::string root = "/");
  std::optional<MemoryStatus> status() override;

 private:
  ProcFile file_;
  std::string buffer_;
};

}  // namespace qv::lnx
