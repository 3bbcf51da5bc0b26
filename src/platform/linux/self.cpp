#include "platform/linux/self.h"

#include <cstdlib>
#include <memory>

namespace qv::lnx {

std::string executablePath() {
  // realpath fails on the " (deleted)" target the kernel reports for a
  // replaced binary, which is what we want: that path would start nothing.
  std::unique_ptr<char, decltype(&std::free)> path(::realpath("/proc/self/exe", nullptr),
                                                   &std::free);
  return path ? std::string(path.get()) : std::string();
}

}  // namespace qv::lnx
