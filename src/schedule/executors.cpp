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

// The shutdown ends the program; timed action 2's leaves it running, so a
// machine still up a minute later is asked again.
void shutDownAndEnd(Program& p) {
  attempt([&] { run(p, Command::ShutdownNow); });
  endProcess(p);
}
void restartAndEnd(Program& p) {
  attempt([&] { run(p, Command::Restart); });
  endProcess(p);
}

constexpr Executor kExecutors[] = {
    {&Form1::Timer28, [](Program& p) { return p.form<Form1>().Option1.value(); }, timedNoPrompt,
     shutDownAndEnd, [](Program& p) -> CountdownWindow& { return p.form<Form9>(); }},
    {&Form1::Timer29, [](Program& p) { return p.form<Form1>().Option2.value(); }, timedNoPrompt,
     restartAndEnd, [](Program& p) -> CountdownWindow& { return p.form<Form10>(); }},
    {&Form1::Timer30, [](Program& p) { return p.form<Form1>().Option4.value(); }, timedNoPrompt,
     [](Program& p) {
       attempt([&] { standby(p); });
       attempt([&] { p.form<Form1>().Command14.press(); });
     },
     [](Program& p) -> CountdownWindow& { return p.form<Form11>(); }},
    {&Form1::Timer32, [](Program& p) { return p.form<Form13>().Option1.value(); }, timed2NoPrompt,
     [](Program& p) {
       attempt([&] { run(p, Command::ShutdownNow); });
       attempt([&] { p.form<Form13>().Command2.press(); });
     },
     [](Program& p) -> CountdownWindow& { return p.form<Form14>(); }},
    {&Form1::Timer33, [](Program& p) { return p.form<Form13>().Option2.value(); }, timed2NoPrompt,
     [](Program& p) {
       attempt([&] { standby(p); });
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
    // Standby, and after the resume timed action 1 stops.
    f.Command23.onClick = [&p, &f] {
      attempt([&] { standby(p); });
      attempt([&] { f.Command14.press(); });
    };
  });
}

}  // namespace qv
