#include "schedule/countdown_windows.h"

#include <string>

#include "alarms/countdown.h"
#include "app/commands.h"
#include "forms/countdowns.h"
#include "forms/form1.h"
#include "forms/form13.h"
#include "forms/form5.h"
#include "runtime/convert.h"
#include "runtime/program.h"

namespace qv {
namespace {

// One member's behaviour; its look is its row in forms/countdowns.h.
struct CountdownRow {
  int number;
  // The field its count is taken from when it opens, and the field's default.
  std::string (*delay)(Program&);
  const char* fallback;
  // When the count reaches 1, and on "取消…".
  void (*act)(Program&, CountdownWindow&);
  void (*cancel)(Program&, CountdownWindow&);
};

std::string alarmDelay(Program& p) {
  return p.form<Form5>().Combo6.text();
}
std::string timedDelay(Program& p) {
  return p.form<Form5>().Combo18.text();
}
std::string timed2Delay(Program& p) {
  return p.form<Form13>().Combo2.text();
}

// Shut down or restart, and end the program whether or not the command
// could be started. Where the system refuses, the machine stays up and the
// program with it: the window goes as its cancel would take it.
void finish(Program& p, CountdownWindow& w, Command command) {
  if (runPower(p, command) == Answer::refused) {
    w.Command1.press();
    return;
  }
  attempt([&] { w.Timer1.stop(); });
  endProcess(p);
}
void shutDown(Program& p, CountdownWindow& w) {
  finish(p, w, Command::Shutdown);
}
void restart(Program& p, CountdownWindow& w) {
  finish(p, w, Command::Restart);
}
// Standby, after which the timed action (both, for timed action 2's member)
// is stopped and the window goes.
void standBy(Program& p, CountdownWindow& w, CommandButton Form1::*stop) {
  attempt([&] { p.form<Form1>().Command23.press(); });
  attempt([&] { (p.form<Form1>().*stop).press(); });
  attempt([&] { w.Timer1.stop(); });
  p.close(w);
}

// A cancel stops the ticker, stops the timed action that opened the window
// and its executor, and closes the window; the main window stays hidden.
void cancelAlarm(Program& p, CountdownWindow& w) {
  attempt([&] { w.Timer1.stop(); });
  p.close(w);
}
void cancelTimed(Program& p, CountdownWindow& w, CommandButton Form1::*stop,
                 Timer Form1::*executor) {
  attempt([&] { w.Timer1.stop(); });
  attempt([&] { (p.form<Form1>().*stop).press(); });
  attempt([&] { (p.form<Form1>().*executor).stop(); });
  p.close(w);
}

constexpr CountdownRow kRows[] = {
    {2, alarmDelay, "12", shutDown, cancelAlarm},
    {4, alarmDelay, "12", shutDown, cancelAlarm},
    {9, timedDelay, "20", shutDown,
     [](Program& p, CountdownWindow& w) { cancelTimed(p, w, &Form1::Command14, &Form1::Timer28); }},
    {10, timedDelay, "20", restart,
     [](Program& p, CountdownWindow& w) { cancelTimed(p, w, &Form1::Command14, &Form1::Timer29); }},
    {11, timedDelay, "20", [](Program& p, CountdownWindow& w) { standBy(p, w, &Form1::Command14); },
     [](Program& p, CountdownWindow& w) { cancelTimed(p, w, &Form1::Command14, &Form1::Timer30); }},
    {14, timed2Delay, "20", shutDown,
     [](Program& p, CountdownWindow& w) { cancelTimed(p, w, &Form1::Command25, &Form1::Timer32); }},
    {15, timed2Delay, "20",
     [](Program& p, CountdownWindow& w) { standBy(p, w, &Form1::Command25); },
     [](Program& p, CountdownWindow& w) { cancelTimed(p, w, &Form1::Command25, &Form1::Timer33); }},
};

void load(CountdownWindow& w, const CountdownRow& row) {
  Program& p = w.program();
  // The second timed action's shutdown sits in the screen's bottom-right
  // corner, a little above its bottom edge.
  if (row.number == 14)
    attempt([&] { w.moveTo(p.screen().width - w.width(), p.screen().height - w.height() - 430); });
  attempt([&] { w.Timer1.stop(); });
  attempt([&] { w.Label2.setText("0"); });
  attempt([&] { w.setTopmost(true); });
  // A delay that is not a number (a damaged settings file) would act on the
  // first tick and shut the machine down at once: count from the field's
  // default instead.
  attempt([&] {
    std::string delay = row.delay(p);
    w.Label2.setText(isNumber(delay) ? delay : row.fallback);
  });
  attempt([&] { w.Timer1.setInterval(1000); });
}

constexpr const CountdownRow& rowOf(int number) {
  for (const CountdownRow& row : kRows)
    if (row.number == number) return row;
  throw "no countdown window of that number";
}

template <int N>
void attach(Program& program) {
  static constexpr const CountdownRow& row = rowOf(N);
  program.onCreate<Countdown<N>>([](Countdown<N>& w) {
    w.onLoad = [&w] { load(w, row); };
    w.Timer1.onTick = [&w] { tickCountdown(w, [&w] { row.act(w.program(), w); }); };
    w.Command1.onClick = [&w] { row.cancel(w.program(), w); };
  });
}

}  // namespace

void openCountdown(Program& program, CountdownWindow& window, bool hideMain) {
  attempt([&] { window.show(); });
  if (hideMain) attempt([&] { program.requestClose(program.form<Form1>()); });
  attempt([&] { window.Timer1.start(); });
}

void installCountdownWindows(Program& program) {
  attach<2>(program);
  attach<4>(program);
  attach<9>(program);
  attach<10>(program);
  attach<11>(program);
  attach<14>(program);
  attach<15>(program);
}

}  // namespace qv
