#include "schedule/executors.h"

#include "app/commands.h"
#include "forms/countdowns.h"
#include "forms/form1.h"
#include "forms/form13.h"
#include "forms/form5.h"
#include "runtime/program.h"
#include "schedule/countdown_windows.h"

namespace qv {
namespace {

// One executor: the action choice it serves, the option that skips the
// countdown, what it does then, and the countdown it opens otherwise.
struct Executor {
  Timer Form1::*timer;
  bool (*chosen)(Program&);
  int (*noPrompt)(Program&);
  void (*now)(Program&);
  CountdownWindow& (*countdown)(Program&);
};

int timedNoPrompt(Program& p) {
  return p.form<Form5>().Check14.value();
}
int timed2NoPrompt(Program& p) {
  return p.form<Form13>().Check2.value();
}

// What the cancel of the executor's countdown does to the timed action: its
// stop, and the executor itself stopped.
void standDown(Program& p, CommandButton Form1::*stop, Timer Form1::*executor) {
  attempt([&] { (p.form<Form1>().*stop).press(); });
  attempt([&] { (p.form<Form1>().*executor).stop(); });
}

// Timed action 1's shutdown and restart end the program. A refused one
// leaves the timed action as a cancel of its countdown would.
void endAfter(Program& p, Command command, Timer Form1::*executor) {
  if (runPower(p, command) == Answer::refused) {
    standDown(p, &Form1::Command14, executor);
    return;
  }
  endProcess(p);
}

constexpr Executor kExecutors[] = {
    {&Form1::Timer28, [](Program& p) { return p.form<Form1>().Option1.value(); }, timedNoPrompt,
     [](Program& p) { endAfter(p, Command::ShutdownNow, &Form1::Timer28); },
     [](Program& p) -> CountdownWindow& { return p.form<Form9>(); }},
    {&Form1::Timer29, [](Program& p) { return p.form<Form1>().Option2.value(); }, timedNoPrompt,
     [](Program& p) { endAfter(p, Command::Restart, &Form1::Timer29); },
     [](Program& p) -> CountdownWindow& { return p.form<Form10>(); }},
    {&Form1::Timer30, [](Program& p) { return p.form<Form1>().Option4.value(); }, timedNoPrompt,
     [](Program& p) {
       standby(p);
       attempt([&] { p.form<Form1>().Command14.press(); });
     },
     [](Program& p) -> CountdownWindow& { return p.form<Form11>(); }},
    {&Form1::Timer32, [](Program& p) { return p.form<Form13>().Option1.value(); }, timed2NoPrompt,
     // Timed action 2's shutdown leaves the program running, so a machine
     // still up a minute later is asked again; a refused one is not.
     [](Program& p) {
       const Answer answer = runPower(p, Command::ShutdownNow);
       attempt([&] { p.form<Form13>().Command2.press(); });
       if (answer == Answer::refused) standDown(p, &Form1::Command25, &Form1::Timer32);
     },
     [](Program& p) -> CountdownWindow& { return p.form<Form14>(); }},
    {&Form1::Timer33, [](Program& p) { return p.form<Form13>().Option2.value(); }, timed2NoPrompt,
     [](Program& p) {
       standby(p);
       attempt([&] { p.form<Form13>().Command2.press(); });
       attempt([&] { p.form<Form1>().Command25.press(); });
     },
     [](Program& p) -> CountdownWindow& { return p.form<Form15>(); }},
};

// A started executor keeps running, so a countdown still open is shown
// again every minute with its count going on, and the main window is hidden
// again; an executor whose choice is no longer selected does nothing.
void tick(Program& p, const Executor& e) {
  if (holds([&] { return e.chosen(p) && e.noPrompt(p) == 1; })) e.now(p);
  if (holds([&] { return e.chosen(p) && e.noPrompt(p) == 0; }))
    openCountdown(p, e.countdown(p), true);
}

}  // namespace

void installExecutors(Program& program) {
  program.onCreate<Form1>([](Form1& f) {
    Program& p = f.program();
    for (const Executor& e : kExecutors) (f.*e.timer).onTick = [&p, &e] { tick(p, e); };
    // Standby, and after the resume timed action 1 stops. A refused standby
    // leaves it to the caller, whose cancel-like steps follow: timed action
    // 2's countdown must not stop timed action 1 then.
    f.Command23.onClick = [&p, &f] {
      if (standby(p) == Answer::refused) return;
      attempt([&] { f.Command14.press(); });
    };
  });
}

}  // namespace qv
