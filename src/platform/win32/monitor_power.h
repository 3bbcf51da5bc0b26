#pragma once
#include "platform/display_power.h"

namespace qv::win {

// Asks the system to switch the display off with the monitor-power system
// command, sent to a hidden window of the program's own (the default window
// handling passes it on). With QUORVANE_DRY_RUN=1 it is only logged.
class MonitorPower : public DisplayPower {
 public:
  ~MonitorPower() override;
  bool displayOff() override;

 private:
  void* window_ = nullptr;
};

}  // namespace qv::win
