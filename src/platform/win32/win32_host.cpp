// The Windows services behind the program's platform interfaces.

#include "platform/host.h"
#include "platform/win32/beep_tone.h"
#include "platform/win32/global_memory.h"
#include "platform/win32/mci_media.h"
#include "platform/win32/monitor_power.h"
#include "platform/win32/nt_cpu.h"
#include "platform/win32/registry_settings.h"
#include "platform/win32/run_key_autostart.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_power.h"
#include "platform/win32/win32_process.h"
#include "platform/win32/wmi_disks.h"
#include "platform/win32/wmi_thermal.h"

namespace qv {
namespace {

class Win32Host : public HostServices {
 public:
  explicit Win32Host(Tray& tray) : tray_(tray) {}
  Platform& platform() override { return platform_; }

 private:
  Tray& tray_;
  win::Win32Clock clock_;
  win::WmiThermal thermal_;
  win::WmiDisks disks_;
  win::NtCpuTimes cpu_;
  win::GlobalMemory memory_;
  win::BeepTone tone_;
  win::Win32Process process_;
  win::Win32Power power_;
  win::RunKeyAutostart autostart_;
  win::MonitorPower display_;
  win::MciMedia media_;
  win::RegistrySettings settings_;
  Platform platform_{clock_,   thermal_, disks_,     cpu_,     memory_, tray_,    tone_,
                     process_, power_,   autostart_, display_, media_,  settings_};
};

}  // namespace

std::unique_ptr<HostServices> makeHostServices(Tray& tray) {
  return std::make_unique<Win32Host>(tray);
}

}  // namespace qv
