// Quorvane: a tray-resident monitor of CPU and disk temperature, CPU load and
// memory load, with timed power actions and reminders. Takes no arguments.

#include <QApplication>

#include "app/program_start.h"
#include "platform/absent.h"
#include "platform/linux/alsa_tone.h"
#include "platform/linux/ini_settings.h"
#include "platform/linux/linux_clock.h"
#include "platform/linux/linux_process.h"
#include "platform/linux/logind_power.h"
#include "platform/linux/proc_cpu.h"
#include "platform/linux/proc_memory.h"
#include "platform/linux/sysfs_disks.h"
#include "platform/linux/sysfs_thermal.h"
#include "platform/linux/xdg_autostart.h"
#include "runtime/program.h"
#include "ui/qt/qt_tray.h"
#include "ui/qt/view_host.h"

int main(int argc, char** argv) {
  (void)argc;
  // The program takes no arguments; Qt gets none of the command line either.
  int qtArgc = 1;
  // On X11, Qt hands each repaint to the server through shared memory and
  // then waits for the server to be done with it: a round trip, and a wake-up
  // of Qt's reader thread, for every few-pixel change of a readout. For small
  // windows repainted every few seconds a plain image upload costs a third as
  // much. Whoever sets the variable keeps their choice.
  if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) qputenv("QT_XCB_NO_MITSHM", "1");
  // Qt's own event loop rather than GLib's: the program has no GLib or GTK
  // parts of its own, and at rest, where it only wakes for its timers, Qt's
  // loop costs less per wake-up.
  if (!qEnvironmentVariableIsSet("QT_NO_GLIB")) qputenv("QT_NO_GLIB", "1");
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
  const std::string procRoot = qEnvironmentVariable("QUORVANE_PROC_ROOT", "/").toStdString();
  qv::lnx::ProcCpuTimes cpu(procRoot);
  qv::lnx::ProcMemory memory(procRoot);
  qv::ui::QtTray tray;
  qv::lnx::AlsaTone tone;
  qv::lnx::LogindPower power;
  qv::lnx::LinuxProcess process(power);
  qv::lnx::XdgAutostart autostart;
  qv::absent::NoDisplayPower display;
  qv::absent::NoMedia media;
  qv::lnx::IniSettings settings(qv::lnx::IniSettings::defaultPath());
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
