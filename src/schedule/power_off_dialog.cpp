#include "schedule/power_off_dialog.h"

#include "app/commands.h"
#include "forms/form1.h"
#include "forms/form19.h"
#include "runtime/program.h"

namespace qv {
namespace {

// Carries out the chosen way of leaving the machine; the dialog closes and
// the main window is put away whatever the choice, and whatever failed.
void confirm(Form19& f) {
  Program& p = f.program();
  Form1& main = p.form<Form1>();
  // A refusal is told by a balloon; the program keeps running either way.
  if (f.Option1.value()) {
    (void)runPower(p, Command::Shutdown);
    p.close(f);
  } else if (f.Option2.value()) {
    (void)runPower(p, Command::RestartForced);
    p.close(f);
  } else if (f.Option3.value()) {
    fastRestart(p);
    p.close(f);
  } else if (f.Option4.value()) {
    // The dialog goes before the machine sleeps, so it is not there after
    // the resume.
    p.close(f);
    main.Command18.press();
    p.close(f);
  } else if (f.Option5.value()) {
    main.Command7.press();
    p.close(f);
  } else if (f.Option6.value()) {
    p.close(f);
  }
  attempt([&] { p.requestClose(main); });
  p.close(f);
}

}  // namespace

void installPowerOffDialog(Program& program) {
  program.onCreate<Form19>([](Form19& f) {
    f.onLoad = [&f] { f.setTopmost(true); };
    f.Command1.onClick = [&f] { confirm(f); };
    f.Command2.onClick = [&f] { f.program().close(f); };
  });

  program.onCreate<Form1>([](Form1& f) {
    Program& p = f.program();
    // "关闭计算机": the dialog stays up on its own; the main window goes.
    f.Image9.onClick = [&f, &p] {
      p.form<Form19>().show();
      attempt([&] { p.requestClose(f); });
    };
    // Standby, then a plain hide once the machine is back: the sensor object
    // stays. A refused standby still hides.
    f.Command18.onClick = [&f, &p] {
      standby(p);
      f.hide();
    };
  });
}

}  // namespace qv
