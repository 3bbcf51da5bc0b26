#pragma once
#include "platform/power.h"

namespace qv::win {

// Power through the system's own calls: power off and restart by
// ExitWindowsEx with the shutdown privilege, standby by SetSuspendState (no
// hibernation, not forced, wake events allowed), and the restart that asks no
// application first by the native shutdown call. With QUORVANE_DRY_RUN=1,
// read at every call and before anything else, each is only written to the
// dry-run log and reported done.
class Win32Power : public Power {
 public:
  bool powerOff() override;
  bool restart() override;
  bool restartNow() override;
  bool suspend() override;
};

}  // namespace qv::win
