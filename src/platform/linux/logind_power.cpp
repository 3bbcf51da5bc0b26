#include "platform/linux/logind_power.h"

#include <cstdio>

#include "platform/linux/linux_process.h"
#include "platform/linux/logind_bus.h"
#include "platform/linux/logind_sleep.h"

namespace qv::lnx {

LogindPower::LogindPower(std::chrono::milliseconds sleepBound, std::chrono::milliseconds awakeBound)
    : dryRun_(dryRun()), sleepBound_(sleepBound), awakeBound_(awakeBound) {}

bool LogindPower::powerOff() {
  return act("power off", "CanPowerOff", "PowerOff");
}

bool LogindPower::restart() {
  return act("restart", "CanReboot", "Reboot");
}

// Restarting without asking applications to close needs privileges an
// unprivileged session does not have (logind's reboot ignoring inhibitors, or
// the kernel's reboot call, which this program never makes): the nearest is
// the ordinary restart.
bool LogindPower::restartNow() {
  return act("restart now", "CanReboot", "Reboot");
}

bool LogindPower::suspend() {
  if (dryRun_) {
    std::fprintf(stderr, "quorvane: dry run: would suspend\n");
    return true;
  }
  const logind::SleepOutcome outcome = logind::suspendAndWait(sleepBound_, awakeBound_);
  if (!outcome.note.empty()) std::fprintf(stderr, "quorvane: suspend %s\n", outcome.note.c_str());
  return outcome.accepted;
}

bool LogindPower::act(const char* what, const char* can, const char* method) {
  if (dryRun_) {
    std::fprintf(stderr, "quorvane: dry run: would %s\n", what);
    return true;
  }
  logind::Bus bus;
  if (!bus.connected()) {
    std::fprintf(stderr, "quorvane: %s %s\n", what, bus.failure().c_str());
    return false;
  }
  const auto failure =
      logind::request(bus.connection(), QString::fromLatin1(can), QString::fromLatin1(method));
  if (failure) std::fprintf(stderr, "quorvane: %s %s\n", what, failure->c_str());
  return !failure;
}

}  // namespace qv::lnx
