#include "schedule/reminder_popups.h"

#include "alarms/alarm_sound.h"
#include "forms/form1.h"
#include "forms/form13.h"
#include "forms/popups.h"
#include "runtime/program.h"

namespace qv {
namespace {

// One popup's owner: where its text comes from, the reminder timer that
// opens it, the owner's running mark, the action choice "提醒" it needs (none
// for the date reminder), and the stop that "关闭提醒" presses.
struct PopupRow {
  int number;
  const Control& (*text)(Program&);
  Timer Form1::*reminder;
  Image Form1::*running;
  const OptionButton* (*reminding)(Program&);
  CommandButton Form1::*stop;
};

constexpr PopupRow kRows[] = {
    {8, [](Program& p) -> const Control& { return p.form<Form1>().Combo3; }, &Form1::Timer7,
     &Form1::Image4, [](Program& p) -> const OptionButton* { return &p.form<Form1>().Option5; },
     &Form1::Command14},
    {16, [](Program& p) -> const Control& { return p.form<Form13>().Combo1; }, &Form1::Timer34,
     &Form1::Image8, [](Program& p) -> const OptionButton* { return &p.form<Form13>().Option3; },
     &Form1::Command25},
    {12, [](Program& p) -> const Control& { return p.form<Form1>().Combo7; }, &Form1::Timer27,
     &Form1::Image6, [](Program&) -> const OptionButton* { return nullptr; }, &Form1::Command20},
};

constexpr const PopupRow& rowOf(int number) {
  for (const PopupRow& row : kRows)
    if (row.number == number) return row;
  throw "no popup of that number";
}

void load(PopupWindow& w, const PopupRow& row) {
  Program& p = w.program();
  Form1& f = p.form<Form1>();
  attempt([&] { w.Timer1.stop(); });
  attempt([&] { w.Timer1.setInterval(6000); });
  attempt([&] { w.setTopmost(true); });
  // The text is taken once, and only while the reminder is on.
  if (holds([&] { return (f.*row.reminder).enabled(); }))
    attempt([&] { w.Label1.setText(row.text(p).text()); });
  // The action was changed since the minute came: no popup, and no more.
  if (holds([&] { return row.reminding(p) && !row.reminding(p)->value(); })) {
    p.close(w);
    attempt([&] { (f.*row.reminder).stop(); });
  }
}

void refresh(PopupWindow& w, const PopupRow& row) {
  Form1& f = w.program().form<Form1>();
  attempt([&] { w.Label3.setText(f.Label4.text()); });
  // Stopped elsewhere (the main window, say): the popup goes.
  if (holds([&] { return !(f.*row.running).visible(); })) w.program().close(w);
}

void closeReminder(PopupWindow& w, const PopupRow& row) {
  Program& p = w.program();
  attempt([&] { w.Timer1.stop(); });
  attempt([&] { (p.form<Form1>().*row.reminder).stop(); });
  attempt([&] { (p.form<Form1>().*row.stop).press(); });
  p.close(w);
}

// Every 62 s while the reminder runs: the alarm, the popup (created if it is
// not open; an open one keeps its text), the main window out of the way now
// and a second later, and the popup's refresh.
template <int N>
void remind(Program& p) {
  attempt([&] { playAlarmSound(p); });
  attempt([&] { p.form<Popup<N>>().show(); });
  attempt([&] { p.requestClose(p.form<Form1>()); });
  attempt([&] { startDelayedRehide(p); });
  attempt([&] { p.form<Popup<N>>().Timer1.start(); });
}

template <int N>
void attach(Program& program) {
  static constexpr const PopupRow& row = rowOf(N);
  program.onCreate<Popup<N>>([](Popup<N>& w) {
    w.onLoad = [&w] { load(w, row); };
    w.Timer1.onTick = [&w] { refresh(w, row); };
    w.Command1.onClick = [&w] { closeReminder(w, row); };
  });
  program.onCreate<Form1>([](Form1& f) {
    Program& p = f.program();
    (f.*row.reminder).onTick = [&p] { remind<N>(p); };
  });
}

}  // namespace

void installReminderPopups(Program& program) {
  attach<8>(program);
  attach<16>(program);
  attach<12>(program);
}

}  // namespace qv
