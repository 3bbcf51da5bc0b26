#include "main/features.h"

#include "alarms/over_temperature.h"
#include "alarms/warnings.h"
#include "app/main_window.h"
#include "display/readouts.h"
#include "display/small_monitor.h"
#include "display/tray_picture.h"
#include "forms/form1.h"
#include "runtime/program.h"
#include "schedule/countdown_windows.h"
#include "schedule/date_reminder.h"
#include "schedule/executors.h"
#include "schedule/power_off_dialog.h"
#include "schedule/reminder_popups.h"
#include "schedule/reminder_slots.h"
#include "schedule/schedule_tick.h"
#include "schedule/timed_action1.h"
#include "schedule/timed_action2.h"
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
  installOverTemperature(program);
  installCountdownWindows(program);
  installExecutors(program);
  installReminderPopups(program);
  installTimedAction1(program);
  installTimedAction2(program);
  installDateReminder(program);
  installScheduleTick(program);
  installReminderSlots(program);
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
