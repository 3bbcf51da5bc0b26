#pragma once
// The memory sample and the figures derived from it.

#include <string>

#include "platform/memory.h"

namespace qv {

class Program;

// The platform's memory status; all zero when it cannot be read.
MemoryStatus QueryMemoryStatus(Program& program);

// Kilobyte figures as the readouts show them: the byte count / 1024 in the
// shortest decimal form.
std::string kilobytes(std::int64_t bytes);

// The memory load as a whole percent ("#,##0" of the decimal text of
// (total - available) / total * 100). Fails when total is 0.
std::string memoryLoad(const MemoryStatus& status);

}  // namespace qv
