#include "alarms/warnings.h"

#include "alarms/alarm_sound.h"
#include "alarms/countdown.h"
#include "app/tray_icon.h"
#include "forms/countdowns.h"
#include "forms/form1.h"
#include "forms/form5.h"
#include "runtime/convert.h"
#include "runtime/program.h"

namespace qv {
namespace {

// One periodic warning check: which fields it reads and what it shows.
struct Check {
  Timer Form1::*timer;
  ComboBox Form5::*delay;
  ComboBox Form5::*limit;
  Label Form1::*reading;
  Label Form1::*sentence;
  Label Form1::*readout;  // painted; the memory check compares the hidden Label6
  const char* title;
  bool sound;
};

constexpr Check kCpuTemperature{
    .timer = &Form1::Timer4,
    .delay = &Form5::Combo7,
    .limit = &Form5::Combo1,
    .reading = &Form1::Label16,
    .sentence = &Form1::Label32,
    .readout = &Form1::Label16,
    .title = "警告(CPU温度)",
    .sound = true,
};
constexpr Check kMemory{
    .timer = &Form1::Timer5,
    .delay = &Form5::Combo9,
    .limit = &Form5::Combo3,
    .reading = &Form1::Label6,
    .sentence = &Form1::Label33,
    .readout = &Form1::Label115,
    .title = "警告(内存使用率)",
    .sound = false,
};
constexpr Check kDiskTemperature{
    .timer = &Form1::Timer19,
    .delay = &Form5::Combo10,
    .limit = &Form5::Combo5,
    .reading = &Form1::Label31,
    .sentence = &Form1::Label35,
    .readout = &Form1::Label31,
    .title = "警告(硬盘温度)",
    .sound = true,
};

// The main window's close request, which it answers by hiding.
void hideMain(Program& p) {
  p.requestClose(p.form<Form1>());
}

// No latch: every run at or above the limit warns again.
void runCheck(Form1& f, const Check& c) {
  Program& p = f.program();
  // A delay that is not a number, or too long, keeps the current period.
  attempt([&] { (f.*c.timer).setInterval(milliseconds((p.form<Form5>().*c.delay).text())); });
  attempt([&] { (f.*c.readout).setForeColour(colours::readout); });
  // A reading equal to the limit warns.
  if (holds([&] { return lead((p.form<Form5>().*c.limit).text()) > lead((f.*c.reading).text()); }))
    return;
  attempt([&] { hideMain(p); });
  attempt([&] { ShowTrayBalloon(p, f, (f.*c.sentence).text(), c.title, 2); });
  attempt([&] { hideMain(p); });
  if (c.sound) attempt([&] { playAlarmSound(p); });
  attempt([&] { (f.*c.readout).setForeColour(colours::warning); });
  attempt([&] { startDelayedRehide(p); });
}

// A load strictly above the limit runs the countdown; at or below it stops
// and resets it (at the limit both steps run, ending stopped and reset).
void checkCpuLoad(Form1& f) {
  Program& p = f.program();
  auto limit = [&] { return lead(p.form<Form5>().Combo2.text()); };
  auto load = [&] { return lead(f.Label20.text()); };
  if (holds([&] { return limit() <= load(); })) attempt([&] { p.form<Form20>().Timer1.start(); });
  if (holds([&] { return limit() >= load(); })) {
    attempt([&] { p.form<Form20>().Timer1.stop(); });
    attempt([&] { p.form<Form20>().Label2.setText(p.form<Form5>().Combo10.text()); });
  }
}

// The hint when the CPU-load countdown runs out: a balloon, the countdown
// stopped and reset, and the main window out of the way.
void hintCpuLoad(Form20& w) {
  Program& p = w.program();
  attempt([&] {
    Form1& f = p.form<Form1>();
    ShowTrayBalloon(p, f, f.Label34.text(), "提示(CPU使用率)", 1);
  });
  attempt([&] { w.Timer1.stop(); });
  attempt([&] { w.Label2.setText(p.form<Form5>().Combo10.text()); });
  attempt([&] { hideMain(p); });
  attempt([&] { startDelayedRehide(p); });
}

}  // namespace

void installWarnings(Program& program) {
  installDelayedRehide(program);

  program.onCreate<Form1>([](Form1& f) {
    for (const Check* c : {&kCpuTemperature, &kMemory, &kDiskTemperature})
      (f.*(c->timer)).onTick = [&f, c] { runCheck(f, *c); };
    f.Timer9.onTick = [&f] { checkCpuLoad(f); };
  });

  program.onCreate<Form20>([](Form20& w) {
    w.onLoad = [&w] {
      Program& p = w.program();
      attempt([&] { w.Timer1.stop(); });
      attempt([&] { w.Timer1.setInterval(1000); });
      attempt([&] { w.Label2.setText(p.form<Form5>().Combo10.text()); });
    };
    w.Timer1.onTick = [&w] { tickCountdown(w, [&w] { hintCpuLoad(w); }); };
  });
}

}  // namespace qv
