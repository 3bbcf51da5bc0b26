// The Linux services behind the program's platform interfaces.

#include <cstdlib>
#include <string>

#include "platform/host.h"
#include "platform/linux/alsa_tone.h"
#include "platform/linux/desktop_tools.h"
#include "platform/linux/ini_settings.h"
#include "platform/linux/linux_clock.h"
#include "platform/linux/linux_display_power.h"
#include "platform/linux/linux_media.h"
#include "platform/linux/linux_process.h"
#include "platform/linux/logind_power.h"
#include "platform/linux/proc_cpu.h"
#include "platform/linux/proc_memory.h"
#include "platform/linux/sysfs_disks.h"
#include "platform/linux/sysfs_thermal.h"
#include "platform/linux/xdg_autostart.h"

namespace qv {
namespace {

std::string environment(const char* name, const char* fallback) {
  const char* v = std::getenv(name);
  return v && *v ? v : fallback;
}

class LinuxHost : public HostServices {
 public:
  explicit LinuxHost(Tray& tray) : tray_(tray) {}
  Platform& platform() override { return platform_; }

 private:
  Tray& tray_;
  lnx::LinuxClock clock_;
  // Tests point the sensors at fixture trees standing in for /sys and /proc.
  std::string sysRoot_ = environment("QUORVANE_SYS_ROOT", "/");
  lnx::SysfsThermal thermal_{sysRoot_};
  lnx::SysfsDisks disks_{sysRoot_,
                         sysRoot_ == "/" ? lnx::UdisksFallback::On : lnx::UdisksFallback::Off};
  std::string procRoot_ = environment("QUORVANE_PROC_ROOT", "/");
  lnx::ProcCpuTimes cpu_{procRoot_};
  lnx::ProcMemory memory_{procRoot_};
  lnx::AlsaTone tone_;
  lnx::LogindPower power_;
  // Power lines go to logind, the shortcut panel's lines to desktop tools.
  lnx::DesktopTools tools_;
  lnx::LinuxProcess process_{
      power_, [this](const std::string& line, int style) { return tools_.launch(line, style); }};
  lnx::XdgAutostart autostart_;
  lnx::LinuxDisplayPower display_;
  lnx::LinuxMedia media_;
  lnx::IniSettings settings_{lnx::IniSettings::defaultPath()};
  Platform platform_{clock_,   thermal_, disks_,     cpu_,     memory_, tray_,    tone_,
                     process_, power_,   autostart_, display_, media_,  settings_};
};

}  // namespace

std::unique_ptr<HostServices> makeHostServices(Tray& tray) {
  return std::make_unique<LinuxHost>(tray);
}

}  // namespace qv
