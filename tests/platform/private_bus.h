#pragma once
// A D-Bus daemon of the test's own and the child processes around it, for
// testing the services that use the system bus against python3-dbusmock.

#include <QStandardPaths>
#include <QString>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace qv::bus_test {

inline constexpr const char* kPython = "/usr/bin/python3";

// Sets an environment variable for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// A child process started from an argument vector, ended when the object goes.
class Child {
 public:
  Child() = default;
  ~Child() { stop(); }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  bool start(const std::vector<std::string>& args, int stdoutFd = -1) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (stdoutFd >= 0) posix_spawn_file_actions_adddup2(&actions, stdoutFd, STDOUT_FILENO);
    const int rc = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) pid_ = -1;
    return rc == 0;
  }
  // The exit status, waiting for it.
  int wait() {
    int status = 0;
    if (pid_ <= 0 || ::waitpid(pid_, &status, 0) != pid_) return -1;
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  void stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
};

// What is missing to run dbusmock on a private bus, if anything.
inline std::optional<std::string> missingBusTools() {
  if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty()) {
    return "dbus-daemon is not installed";
  }
  Child probe;
  if (!probe.start({kPython, "-c", "import dbusmock"}) || probe.wait() != 0) {
    return "python3-dbusmock is not installed";
  }
  return std::nullopt;
}

// A dbus-daemon of the test's own, stopped when the object goes.
class PrivateBus {
 public:
  PrivateBus() {
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    int out[2];
    if (daemon.isEmpty() || ::pipe2(out, O_CLOEXEC) != 0) return;
    const bool started =
        daemon_.start({daemon.toStdString(), "--session", "--nofork", "--print-address"}, out[1]);
    ::close(out[1]);
    pollfd ready{out[0], POLLIN, 0};
    char c = 0;
    while (started && ::poll(&ready, 1, 5000) == 1 && ::read(out[0], &c, 1) == 1 && c != '\n') {
      address_ += c;
    }
    ::close(out[0]);
  }
  // Empty when the daemon did not come up.
  const std::string& address() const { return address_; }

 private:
  Child daemon_;
  std::string address_;
};

}  // namespace qv::bus_test
