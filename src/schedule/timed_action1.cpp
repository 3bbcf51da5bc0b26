#include "schedule/timed_action1.h"

#include <string>

#include "forms/countdowns.h"
#include "forms/form1.h"
#include "forms/form5.h"
#include "forms/popups.h"
#include "runtime/program.h"
#include "schedule/schedule_texts.h"
#include "settings/settings_store.h"

namespace qv {
namespace {

// The minute this timed action last fired in (schedule_texts.h).
struct FiredMinute1 : FiredMinute {};

// The action choices with their words and the timers that carry them out.
struct Choice {
  OptionButton Form1::*option;
  const char* word;
  Timer Form1::*timer;
};
constexpr Choice kChoices[] = {
    {&Form1::Option1, "关机", &Form1::Timer28},
    {&Form1::Option2, "重启", &Form1::Timer29},
    {&Form1::Option4, "待机", &Form1::Timer30},
    {&Form1::Option5, "提醒", &Form1::Timer7},
};

void start(Form1& f) {
  Program& p = f.program();
  attempt([&] { f.Image4.show(); });
  attempt([&] { f.Image5.hide(); });
  attempt([&] { f.Text1.setText(f.Combo1.text()); });
  attempt([&] { f.Text2.setText(f.Combo2.text()); });
  attempt([&] { f.Label15.setText(" "); });
  attempt([&] { f.Label13.setText("定时运行 "); });
  attempt([&] { f.Label14.setText(hourMinute2(p.platform().clock.localTime())); });
  attempt([&] { f.Timer1.start(); });
  attempt([&] { f.Timer13.start(); });
  // Started either way; with an empty field it can never fire.
  if (holds([&] { return f.Combo1.text().empty(); })) attempt([&] { p.form<Form6>().show(); });
  if (holds([&] { return f.Combo2.text().empty(); })) attempt([&] { p.form<Form7>().show(); });
  saveText(p, f.Combo1);
  saveText(p, f.Combo2);
  saveText(p, f.Combo3);
  saveOption(p, f.Option1);
  saveOption(p, f.Option2);
  saveOption(p, f.Option4);
  saveOption(p, f.Option5);
}

// Compared as text to the minute: "9:05" against the armed "9" and "05".
void check(Form1& f) {
  Program& p = f.program();
  const DateTime now = p.platform().clock.localTime();
  attempt([&] { f.Label14.setText(hourMinute(now)); });
  if (holds([&] {
        return f.Label14.text() == f.Text1.text() + ":" + f.Text2.text() && f.Image4.visible();
      }) &&
      !p.state<FiredMinute1>().cameRoundAgain(now, p.platform().clock.monotonicMs()))
    attempt([&] { f.Command15.press(); });
}

// Starting a running timer leaves its schedule alone, so the presses of the
// rest of the minute arm nothing twice.
void fire(Form1& f) {
  for (const Choice& c : kChoices)
    if (holds([&] { return (f.*c.option).value(); })) attempt([&] { (f.*c.timer).start(); });
  for (const Choice& c : kChoices)
    if (holds([&] { return !(f.*c.option).value(); })) attempt([&] { (f.*c.timer).stop(); });
}

void status(Form1& f) {
  for (const Choice& c : kChoices)
    if (holds([&] { return (f.*c.option).value(); })) attempt([&] { f.Label19.setText(c.word); });
  attempt([&] {
    f.Label12.setText("定时动作时间：( " + f.Text1.text() + "：" + f.Text2.text() + " )" + " - " +
                      f.Label19.text());
  });
  if (holds([&] { return f.Text1.text().empty(); }))
    attempt([&] { f.Label12.setText("定时动作时间：( 未启动 )"); });
  if (holds([&] { return f.Text2.text().empty(); }))
    attempt([&] { f.Label12.setText("定时动作时间：( 未启动 )"); });
}

void stop(Form1& f) {
  Program& p = f.program();
  attempt([&] { f.Label14.setText("88888888888888 "); });
  // Applies (and saves) the settings window's options, and closes it.
  attempt([&] { p.form<Form5>().Command5.press(); });
  attempt([&] { f.Image5.show(); });
  attempt([&] { f.Image4.hide(); });
  for (Timer* t : {&f.Timer1, &f.Timer28, &f.Timer29, &f.Timer30, &f.Timer13, &f.Timer7})
    attempt([&] { t->stop(); });
  attempt([&] { f.Label15.setText("定时停止 "); });
  attempt([&] { f.Label13.setText(" "); });
  attempt([&] { f.Label12.setText("定时：( 已停止 )"); });
  if (Form9* w = p.existing<Form9>()) p.close(*w);
  if (Form10* w = p.existing<Form10>()) p.close(*w);
  if (Form11* w = p.existing<Form11>()) p.close(*w);
}

}  // namespace

void installTimedAction1(Program& program) {
  program.onCreate<Form1>([](Form1& f) {
    f.Command2.onClick = [&f] { start(f); };
    f.Label10.onClick = [&f] { f.Command2.press(); };
    f.Command14.onClick = [&f] { stop(f); };
    f.Label134.onClick = [&f] { f.Command14.press(); };
    f.Timer1.onTick = [&f] { check(f); };
    f.Command15.onClick = [&f] { fire(f); };
    f.Timer13.onTick = [&f] { status(f); };
    limitReminderText(f.Combo3);
  });
  // The message boxes close with their "确定".
  program.onCreate<Form6>([](Form6& w) { w.Command1.onClick = [&w] { w.program().close(w); }; });
  program.onCreate<Form7>([](Form7& w) { w.Command1.onClick = [&w] { w.program().close(w); }; });
}

}  // namespace qv
