// Quorvane: a tray-resident monitor of CPU and disk temperature, CPU load and
// memory load, with timed power actions and reminders. Takes no arguments.

#include <QApplication>

#include "app/program_start.h"
#include "platform/absent.h"
#include "platform/linux/linux_clock.h"
#include "platform/linux/sysfs_disks.h"
#include "platform/linux/sysfs_thermal.h"
#include "runtime/program.h"
#include "ui/qt/qt_tray.h"
#include "ui/qt/view_host.h"

int main(int argc, char** argv) {
  (void)argc;
  // The program takes no arguments; Qt gets none of the command line either.
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  QApplication::setApplicationName("quorvane");
  QApplication::setApplicationDisplayName("Quorvane");
  QApplication::setQuitOnLastWindowClosed(false);

  qv::lnx::LinuxClock clock;
  // Tests point the sensors at fixture trees standing in for /sys.
  const QString sysRoot = qEnvironmentVariable("QUORVANE_SYS_ROOT", "/");
  qv::lnx::SysfsThermal thermal(sysRoot.toStdString());
  qv::lnx::SysfsDisks disks(sysRoot.toStdString(), sysRoot == "/" ? qv::lnx::UdisksFallback::On
                                                                  : qv::lnx::UdisksFallback::Off);
  qv::absent::NoCpuTimes cpu;
  qv::absent::NoMemory memory;
  qv::ui::QtTray tray;
  qv::absent::NoTone tone;
  qv::absent::NoProcess process;
  qv::absent::NoPower power;
  qv::absent::NoAutostart autostart;
  qv::absent::NoDisplayPower display;
  qv::absent::NoMedia media;
  qv::absent::NoSettings settings;
  qv::Platform platform{clock,   thermal, disks,     cpu,     memory, tray,    tone,
                        process, power,   autostart, display, media,  settings};

  qv::Program program(platform);
  qv::ui::ViewHost host(program);
  program.setHost(&host);
  qv::installFeatures(program);
  program.dispatch([&] { qv::startProgram(program); });
  if (program.ended()) return 0;
  return QApplication::exec();
}
