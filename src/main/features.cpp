#include "main/features.h"

#include "alarms/warnings.h"
#include "app/main_window.h"
#include "display/readouts.h"
#include "display/small_monitor.h"
#include "display/tray_picture.h"
#include "forms/form1.h"
#include "runtime/program.h"
#include "schedule/power_off_dialog.h"
#include "schedule/schedule_tick.h"
#include "settings/settings_window.h"
#include "tools/autostart.h"
#include "tools/tool_launcher.h"

namespace qv {

void installFeatures(Program& program) {
  installMainWindow(program);
  installSettingsWindow(program);
  installReadouts(program);
  installSmallMonitor(program);
  installTrayPicture(program);
  installWarnings(program);
  installScheduleTick(program);
  installPowerOffDialog(program);
  installToolLauncher(program);
  installAutostart(program);
}

void startProgram(Program& program) {
  Form1& f = program.form<Form1>();
  // The start-up has run; the window appears.
  f.show();
}

}  // namespace qv
