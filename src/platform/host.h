#pragma once
// The services of the system the program runs on, made once by main(). Each
// operating system has its own maker (platform/linux/, platform/win32/), so
// that main() names no system's classes.

#include <memory>

#include "platform/platform.h"

namespace qv {

class HostServices {
 public:
  virtual ~HostServices() = default;
  virtual Platform& platform() = 0;
};

// The notification area comes from the view, which owns the desktop's tray.
std::unique_ptr<HostServices> makeHostServices(Tray& tray);

}  // namespace qv
