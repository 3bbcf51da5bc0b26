#include "platform/linux/proc_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace qv::lnx {

bool readProcFile(const std::string& path, std::string& out) {
  out.clear();
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  // /proc files report size 0, so read until the end in chunks.
  constexpr std::size_t chunk = 4096;
  bool ok = true;
  for (;;) {
    std::size_t used = out.size();
    out.resize(used + chunk);
    ssize_t n = ::read(fd, out.data() + used, chunk);
    if (n < 0 && errno == EINTR) {
      out.resize(used);
      continue;
    }
    out.resize(used + (n > 0 ? static_cast<std::size_t>(n) : 0));
    if (n <= 0) {
      ok = n == 0;
      break;
    }
  }
  ::close(fd);
  return ok && !out.empty();
}

}  // namespace qv::lnx
