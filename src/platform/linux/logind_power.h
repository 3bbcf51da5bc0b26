#pragma once
#include <chrono>

#include "platform/power.h"

namespace qv::lnx {

// Powers off, restarts and suspends through logind on the system bus, after
// asking logind whether the action is allowed; interactively only where it
// needs the user's password.
// Nothing is connected until an action is asked for. A refusal or failure
// returns false and writes one line to standard error. With
// QUORVANE_DRY_RUN=1 each action is only written to standard error.
//
// suspend() returns after the machine has resumed, or once a bound has
// passed: `sleepBound` for logind to announce the sleep after the request,
// `awakeBound` of awake time for it to announce the resume.
class LogindPower : public Power {
 public:
  explicit LogindPower(std::chrono::milliseconds sleepBound = std::chrono::seconds(15),
                       std::chrono::milliseconds awakeBound = std::chrono::minutes(2));
  bool powerOff() override;
  bool restart() override;
  bool restartNow() override;
  bool suspend() override;

 private:
  bool act(const char* what, const char* can, const char* method);

  bool dryRun_;
  std::chrono::milliseconds sleepBound_;
  std::chrono::milliseconds awakeBound_;
};

}  // namespace qv::lnx
