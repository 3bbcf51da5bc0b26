#pragma once
// Suspend through logind, returning only after the machine has resumed.

#include <chrono>
#include <string>

namespace qv::lnx::logind {

struct SleepOutcome {
  bool accepted = false;  // logind took the request
  std::string note;       // the end of a line for standard error; empty when all went well
};

// Asks logind to suspend and waits for its PrepareForSleep(true) and then
// PrepareForSleep(false). The wait is bounded: without PrepareForSleep(true)
// within `sleepBound` of the request no sleep is assumed to come; once asleep,
// at most `awakeBound` of awake time (a monotonic clock, which stands still
// while the machine sleeps) passes before giving up on the resume.
//
// The calling thread runs no events meanwhile: none of its timers fires and
// no input is handled until this returns.
SleepOutcome suspendAndWait(std::chrono::milliseconds sleepBound,
                            std::chrono::milliseconds awakeBound);

}  // namespace qv::lnx::logind
