#include "platform/linux/detached_spawn.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <thread>

extern char** environ;

namespace qv::lnx {
namespace {

// posix_spawn rather than fork: glibc starts the child with clone(CLONE_VM |
// CLONE_VFORK), which is safe in a process with Qt's threads running and
// reports a failed exec back as the return value. The child stays ours, so
// one small thread waits for that one process id. A SIGCHLD handler or
// waitpid(-1) would take the exit statuses of QProcess's children too, and a
// double fork would have to run fork() in a threaded program.
void reapWhenDone(pid_t pid) {
  try {
    std::thread([pid] {
      while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
      }
    }).detach();
  } catch (const std::system_error&) {
    // No thread to be had: the child stays a zombie until the program ends.
  }
}

class SpawnSetup {
 public:
  SpawnSetup() {
    posix_spawnattr_init(&attr_);
    posix_spawn_file_actions_init(&actions_);
  }
  ~SpawnSetup() {
    posix_spawn_file_actions_destroy(&actions_);
    posix_spawnattr_destroy(&attr_);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;

  bool prepare() {
    // Its own session: the program outlives a terminal we were started from.
    // Default dispositions and an empty mask: what we ignore (SIGPIPE, say)
    // would otherwise stay ignored across exec.
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    short flags = POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
    if (posix_spawnattr_setflags(&attr_, flags) != 0 ||
        posix_spawnattr_setsigmask(&attr_, &none) != 0 ||
        posix_spawnattr_setsigdefault(&attr_, &all) != 0) {
      return false;
    }
    if (posix_spawn_file_actions_addopen(&actions_, STDIN_FILENO, "/dev/null", O_RDONLY, 0) != 0)
      return false;
#if defined(__GLIBC__) && __GLIBC_PREREQ(2, 34)
    // Descriptors opened without O_CLOEXEC (by a library, say) stay ours.
    if (posix_spawn_file_actions_addclosefrom_np(&actions_, STDERR_FILENO + 1) != 0) return false;
#endif
    return true;
  }

  posix_spawnattr_t* attr() {
    return &attr_;
  }
  posix_spawn_file_actions_t* actions() {
    return &actions_;
  }

 private:
  posix_spawnattr_t attr_;
  posix_spawn_file_actions_t actions_;
};

}  // namespace

pid_t spawnDetached(const std::vector<std::string>& argv) {
  if (argv.empty() || argv.front().empty()) {
    errno = EINVAL;
    return -1;
  }
  std::vector<char*> args;
  args.reserve(argv.size() + 1);
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);

  SpawnSetup setup;
  if (!setup.prepare()) {
    errno = ENOMEM;
    return -1;
  }
  pid_t pid = -1;
  const int rc =
      ::posix_spawn(&pid, args.front(), setup.actions(), setup.attr(), args.data(), environ);
  if (rc != 0) {
    errno = rc;
    return -1;
  }
  reapWhenDone(pid);
  return pid;
}

}  // namespace qv::lnx
