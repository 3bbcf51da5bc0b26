#include "schedule/timed_action2.h"

#include <string>

#include "forms/countdowns.h"
#include "forms/form1.h"
#include "forms/form13.h"
#include "forms/popups.h"
#include "runtime/program.h"
#include "schedule/schedule_texts.h"
#include "settings/settings_store.h"

namespace qv {
namespace {

// The minute this timed action last fired in (schedule_texts.h).
struct FiredMinute2 : FiredMinute {};

// The action choices of Form13 with their words and timers.
struct Choice {
  OptionButton Form13::*option;
  const char* word;
  Timer Form1::*timer;
};
constexpr Choice kChoices[] = {
    {&Form13::Option1, "关机", &Form1::Timer32},
    {&Form13::Option2, "待机", &Form1::Timer33},
    {&Form13::Option3, "提醒", &Form1::Timer34},
};

void start(Form1& f) {
  Program& p = f.program();
  attempt([&] { f.Label110.setText(hourMinute2(p.platform().clock.localTime())); });
  attempt([&] { f.Timer31.start(); });
  attempt([&] { f.Timer35.start(); });
  attempt([&] { f.Image8.show(); });
  attempt([&] { f.Image7.hide(); });
  attempt([&] { f.Text8.setText(f.Combo10.text()); });
  attempt([&] { f.Text9.setText(f.Combo11.text()); });
  attempt([&] { f.Label101.setText("定时2运行 "); });
  attempt([&] { f.Label102.setText(" "); });
  if (holds([&] { return f.Combo10.text().empty(); })) attempt([&] { p.form<Form6>().show(); });
  if (holds([&] { return f.Combo11.text().empty(); })) attempt([&] { p.form<Form7>().show(); });
  saveText(p, f.Combo10);
  saveText(p, f.Combo11);
}

void check(Form1& f) {
  Program& p = f.program();
  const DateTime now = p.platform().clock.localTime();
  attempt([&] { f.Label110.setText(hourMinute(now)); });
  if (holds([&] {
        return f.Label110.text() == f.Text8.text() + ":" + f.Text9.text() && f.Image8.visible();
      }) &&
      !p.state<FiredMinute2>().cameRoundAgain(now, p.platform().clock.monotonicMs()))
    attempt([&] { f.Command27.press(); });
}

void fire(Form1& f) {
  Form13& s = f.program().form<Form13>();
  for (const Choice& c : kChoices)
    if (holds([&] { return (s.*c.option).value(); })) attempt([&] { (f.*c.timer).start(); });
  for (const Choice& c : kChoices)
    if (holds([&] { return !(s.*c.option).value(); })) attempt([&] { (f.*c.timer).stop(); });
}

void status(Form1& f) {
  Program& p = f.program();
  for (const Choice& c : kChoices)
    if (holds([&] { return (p.form<Form13>().*c.option).value(); }))
      attempt([&] { f.Label104.setText(c.word); });
  attempt([&] {
    f.Label103.setText("定时2动作时间：( " + f.Text8.text() + "：" + f.Text9.text() + " )" + " - " +
                       f.Label104.text());
  });
  if (holds([&] { return f.Text8.text().empty(); }))
    attempt([&] { f.Label103.setText("定时2动作时间：( 未启动 ) "); });
  if (holds([&] { return f.Text9.text().empty(); }))
    attempt([&] { f.Label103.setText("定时2动作时间：( 未启动 ) "); });
}

// Unlike timed action 1's stop, it leaves the settings window alone and
// closes the reminder popup at once.
void stop(Form1& f) {
  Program& p = f.program();
  attempt([&] { f.Label110.setText("77777777777777jjjj "); });
  attempt([&] { f.Image7.show(); });
  attempt([&] { f.Image8.hide(); });
  attempt([&] { f.Label102.setText("定时2停止 "); });
  attempt([&] { f.Label103.setText("定时2：( 已停止 )"); });
  attempt([&] { f.Label101.setText(" "); });
  for (Timer* t : {&f.Timer31, &f.Timer32, &f.Timer33, &f.Timer34, &f.Timer35})
    attempt([&] { t->stop(); });
  if (Form14* w = p.existing<Form14>()) p.close(*w);
  if (Form15* w = p.existing<Form15>()) p.close(*w);
  if (Form16* w = p.existing<Form16>()) p.close(*w);
}

void createSettings(Form13& w) {
  Program& p = w.program();
  attempt([&] { w.Combo2.setText("20"); });
  attempt([&] { w.Combo3.setText("停用"); });
  attempt([&] { w.Combo1.setText("请输入提醒内容!"); });
  restoreOption(p, w.Option1);
  restoreOption(p, w.Option2);
  restoreOption(p, w.Option3);
  restoreText(p, w.Combo2, "20");
  restoreText(p, w.Combo3, "停用");
  restoreText(p, w.Combo1, "请输入提醒内容!");
  restoreFlag(p, w.Check1, "y");
  restoreFlag(p, w.Check2, "s");
  for (const char* s : {"会议！", "约会！", "生日！", "聚会！"}) w.Combo1.addItem(s);
  w.Combo3.addItem("停用");
  w.Combo3.addRange(1, 31);
  for (int s : {3,  6,  10, 16, 20, 26,  30,  36,  40,  46,  50,  56,  60,  66, 70,
                76, 80, 86, 90, 96, 100, 200, 300, 400, 500, 600, 700, 800, 888})
    w.Combo2.addItem(std::to_string(s));
}

void saveSettings(Form13& w) {
  Program& p = w.program();
  saveOption(p, w.Option1);
  saveOption(p, w.Option2);
  saveOption(p, w.Option3);
  saveFlag(p, w.Check1, "y");
  saveFlag(p, w.Check2, "s");
  saveText(p, w.Combo1);
  saveText(p, w.Combo3);
  saveText(p, w.Combo2);
  p.close(w);
}

}  // namespace

void installTimedAction2(Program& program) {
  program.onCreate<Form1>([](Form1& f) {
    Program& p = f.program();
    f.Command24.onClick = [&f] { start(f); };
    f.Label138.onClick = [&f] { f.Command24.press(); };
    f.Command25.onClick = [&f] { stop(f); };
    f.Label139.onClick = [&f] { f.Command25.press(); };
    f.Timer31.onTick = [&f] { check(f); };
    f.Command27.onClick = [&f] { fire(f); };
    f.Timer35.onTick = [&f] { status(f); };
    // "定时2设置": the settings window, and the main window out of the way.
    f.Label137.onClick = [&f, &p] {
      attempt([&] { p.form<Form13>().show(); });
      attempt([&] { p.requestClose(f); });
    };
  });
  program.onCreate<Form13>([](Form13& w) {
    w.onLoad = [&w] { createSettings(w); };
    w.Command1.onClick = [&w] { saveSettings(w); };
    w.Command2.onClick = [&w] { w.program().close(w); };
    limitReminderText(w.Combo1);
    // The delay and the day come only from their lists.
    for (ComboBox* c : {&w.Combo2, &w.Combo3}) c->acceptKey = [](char32_t) { return false; };
  });
}

}  // namespace qv
