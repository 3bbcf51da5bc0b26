#pragma once
#include <string>

namespace qv::lnx {

// Reads a whole /proc or /sys file into `out` (reusing its capacity). False
// when it cannot be read or is empty.
bool readProcFile(const std::string& path, std::string& out);

}  // namespace qv::lnx
