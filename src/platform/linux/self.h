#pragma once
#include <string>

namespace qv::lnx {

// The real path of the running executable (symbolic links resolved); empty
// when it cannot be found, for example after the file was deleted.
std::string executablePath();

}  // namespace qv::lnx
