#pragma once
#include <string>

namespace qv::lnx {

// Switches the monitors of the X display `display` off through the DPMS
// extension, as `xset dpms force off` does. When DPMS is disabled it is
// enabled with every idle timeout at 0, so that the screen blanks only on this
// request and idle blanking stays off as the user had it. False, with the
// reason in `why`, when the display cannot be reached or has no DPMS.
bool forceX11DisplayOff(const std::string& display, std::string& why);

}  // namespace qv::lnx
