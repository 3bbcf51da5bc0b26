#pragma once
// Child processes, environment overrides and a D-Bus daemon of the test's
// own, for the services that talk to other programs.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QStandardPaths>
#include <QString>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace qv::lnx::testenv {

// Sets (or, given nullopt, removes) an environment variable for the life of
// the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      ::setenv(name, value->c_str(), 1);
    } else {
      ::unsetenv(name);
    }
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

// The first line a started program prints, as the address or display number
// dbus-daemon and Xvfb announce. Empty when it prints none within 5 s.
inline std::string firstLine(Child& child, const std::vector<std::string>& args) {
  int out[2];
  if (::pipe2(out, O_CLOEXEC) != 0) return {};
  const bool started = child.start(args, out[1]);
  ::close(out[1]);
  std::string line;
  pollfd ready{out[0], POLLIN, 0};
  char c = 0;
  while (started && ::poll(&ready, 1, 5000) == 1 && ::read(out[0], &c, 1) == 1 && c != '\n') {
    line += c;
  }
  ::close(out[0]);
  return line;
}

constexpr const char* kPython = "/usr/bin/python3";

inline bool havePython() {
  return ::access(kPython, X_OK) == 0;
}

inline bool haveDbusmock() {
  Child probe;
  return probe.start({kPython, "-c", "import dbusmock"}) && probe.wait() == 0;
}

// What is missing to run dbusmock on a private bus, if anything.
inline std::optional<std::string> missingBusTools() {
  if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty()) {
    return "dbus-daemon is not installed";
  }
  if (!haveDbusmock()) return "python3-dbusmock is not installed";
  return std::nullopt;
}

// A dbus-daemon of the test's own, ended with the object.
class PrivateBus {
 public:
  ~PrivateBus() {
    if (!probeName_.isEmpty()) QDBusConnection::disconnectFromBus(probeName_);
  }

  // Empty when dbus-daemon is missing or did not start.
  std::string start() {
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (daemon.isEmpty()) return {};
    address_ =
        firstLine(daemon_, {daemon.toStdString(), "--session", "--nofork", "--print-address"});
    return address_;
  }
  const std::string& address() const { return address_; }

  // Waits until `service` has an owner on this bus (or, with `present`
  // false, until it has none).
  bool waitForName(const QString& service, bool present = true) {
    probeName_ = QStringLiteral("test-probe-%1").arg(reinterpret_cast<quintptr>(this));
    QDBusConnection probe =
        QDBusConnection::connectToBus(QString::fromStdString(address_), probeName_);
    if (!probe.isConnected()) return false;
    for (int i = 0; i < 200; ++i) {
      if (probe.interface()->isServiceRegistered(service) == present) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return false;
  }

  QDBusConnection probe() const { return QDBusConnection(probeName_); }

 private:
  Child daemon_;
  std::string address_;
  QString probeName_;
};

// Whether the services under test reach `bus` and nothing else: the variable
// they read names it, it is not the machine's own bus, and `service` answers
// there. A test that finds otherwise must not go on.
inline ::testing::AssertionResult onlyPrivateBus(PrivateBus& bus, const char* variable,
                                                 const QString& service) {
  const char* address = std::getenv(variable);
  if (!address || bus.address().empty() || address != bus.address()) {
    return ::testing::AssertionFailure() << variable << " does not name the private bus";
  }
  if (bus.address().find("/run/dbus/system_bus_socket") != std::string::npos) {
    return ::testing::AssertionFailure() << "the private bus is the machine's system bus";
  }
  if (!bus.waitForName(service)) {
    return ::testing::AssertionFailure() << service.toStdString() << " does not answer";
  }
  return ::testing::AssertionSuccess();
}

}  // namespace qv::lnx::testenv
