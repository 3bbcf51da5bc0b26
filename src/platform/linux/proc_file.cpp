#include "platform/linux/proc_file.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>

namespace qv::lnx {
namespace {

// Reads from offset 0 until the end; /proc files report size 0, so in chunks.
bool readAll(int fd, std::string& out) {
  out.clear();
  constexpr std::size_t chunk = 4096;
  for (;;) {
    const std::size_t used = out.size();
    out.resize(used + chunk);
    const ssize_t n = ::pread(fd, out.data() + used, chunk, static_cast<off_t>(used));
    if (n < 0 && errno == EINTR) {
      out.resize(used);
      continue;
    }
    out.resize(used + (n > 0 ? static_cast<std::size_t>(n) : 0));
    if (n <= 0) return n == 0 && !out.empty();
  }
}

}  // namespace

ProcFile::~ProcFile() {
  close();
}

void ProcFile::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

bool ProcFile::read(std::string& out) {
  if (fd_ >= 0) {
    if (readAll(fd_, out)) return true;
    close();  // try once more through the path
  }
  const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    out.clear();
    return false;
  }
  const bool ok = readAll(fd, out);
  struct statfs fs {};
  if (ok && ::fstatfs(fd, &fs) == 0 && fs.f_type == PROC_SUPER_MAGIC)
    fd_ = fd;
  else
    ::close(fd);
  return ok;
}

}  // namespace qv::lnx
