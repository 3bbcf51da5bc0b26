#include "tools/tool_launcher.h"

#include <functional>

#include "app/commands.h"
#include "forms/form1.h"
#include "forms/form5.h"
#include "runtime/program.h"

namespace qv {
namespace {

// A tool shortcut: start the tool, then put the main window away. A tool
// that cannot be started still hides the window.
std::function<void()> launcher(Form1& f, Command command) {
  return [&f, command] {
    Program& p = f.program();
    attempt([&] { run(p, command); });
    attempt([&] { p.requestClose(f); });
  };
}

// The display goes off a few seconds later, so that the click's own mouse
// movement does not wake it again at once. A plain hide: the sensor stays.
void displayOffSoon(Form1& f) {
  f.Timer10.start();
  f.hide();
}

}  // namespace

void installToolLauncher(Program& program) {
  program.onCreate<Form1>([](Form1& f) {
    Program& p = f.program();
    f.Image13.onClick = launcher(f, Command::PowerOptions);
    f.Image14.onClick = launcher(f, Command::InternetOptions);
    f.Label120.onClick = launcher(f, Command::DateAndTime);
    f.Label123.onClick = launcher(f, Command::TaskManager);
    f.Label119.onClick = launcher(f, Command::SystemProperties);
    f.Label125.onClick = launcher(f, Command::AddRemovePrograms);
    f.Label1.onClick = launcher(f, Command::Calculator);

    // "主设置": the settings window shows its live values, applied or not.
    f.Image10.onClick = [&f, &p] {
      p.form<Form5>().show();
      p.requestClose(f);
    };

    // "弹出光驱": no drive, no message; the window goes either way.
    f.Label128.onClick = [&f, &p] {
      attempt([&] {
        if (!p.platform().media.send("set CDAudio door open")) fail("no drive to open");
      });
      attempt([&] { p.requestClose(f); });
    };

    // "关闭显示器", and the same for the power-off dialog, which presses Command7.
    f.Image11.onClick = [&f] { displayOffSoon(f); };
    f.Command7.onClick = [&f] { displayOffSoon(f); };
    // Once per click: the timer stops itself before it asks.
    f.Timer10.onTick = [&f, &p] {
      f.Timer10.stop();
      attempt([&] {
        if (!p.platform().display.displayOff()) fail("the display cannot be switched off");
      });
    };
  });
}

}  // namespace qv
