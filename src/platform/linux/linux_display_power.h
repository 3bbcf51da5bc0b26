#pragma once
#include "platform/display_power.h"

namespace qv::lnx {

// Switches the display off the way the session allows: the DPMS extension on
// X11; on Wayland the compositor's own D-Bus service, GNOME Mutter's display
// configuration or KDE's "Turn Off Screen" shortcut of its power management.
// Other Wayland compositors offer no such call: false. With QUORVANE_DRY_RUN=1
// it only says what it would do.
class LinuxDisplayPower : public DisplayPower {
 public:
  LinuxDisplayPower();
  bool displayOff() override;

 private:
  bool dryRun_;
};

}  // namespace qv::lnx
