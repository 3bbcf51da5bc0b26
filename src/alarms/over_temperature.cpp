#include "alarms/over_temperature.h"

#include "alarms/alarm_sound.h"
#include "app/tray_icon.h"
#include "forms/countdowns.h"
#include "forms/form1.h"
#include "forms/form5.h"
#include "runtime/convert.h"
#include "runtime/program.h"
#include "sensing/cpu_sensor_status.h"
#include "sensing/disk_sensor_status.h"

namespace qv {
namespace {

struct ShutdownCheck {
  Timer Form1::*timer;
  ComboBox Form5::*period;
  ComboBox Form5::*limit;
  Label Form1::*reading;  // also the readout painted
  Label Form1::*sentence;
  const char* title;
  CheckBox Form5::*option;
  CountdownWindow& (*countdown)(Program&);
  bool (*answered)(Program&);  // the sensor has given a reading since start
};

constexpr ShutdownCheck kChecks[] = {
    {&Form1::Timer24, &Form5::Combo7, &Form5::Combo13, &Form1::Label16, &Form1::Label32,
     "警告(CPU温度)", &Form5::Check2,
     [](Program& p) -> CountdownWindow& { return p.form<Form2>(); }, cpuSensorHasAnswered},
    {&Form1::Timer25, &Form5::Combo10, &Form5::Combo14, &Form1::Label31, &Form1::Label35,
     "警告(硬盘温度)", &Form5::Check3,
     [](Program& p) -> CountdownWindow& { return p.form<Form4>(); }, diskSensorHasAnswered},
};

void hideMain(Program& p) {
  p.requestClose(p.form<Form1>());
}

// No latch: every run at or above the limit warns again, and an open
// countdown is shown again and keeps its count.
void runCheck(Form1& f, const ShutdownCheck& c) {
  Program& p = f.program();
  // A period that is not a number keeps the current one.
  attempt([&] { (f.*c.timer).setInterval(milliseconds((p.form<Form5>().*c.period).text())); });
  attempt([&] { (f.*c.reading).setForeColour(colours::readout); });
  // A reading equal to the limit is over it.
  if (holds([&] { return lead((p.form<Form5>().*c.limit).text()) > lead((f.*c.reading).text()); }))
    return;
  attempt([&] { hideMain(p); });
  attempt([&] { ShowTrayBalloon(p, f, (f.*c.sentence).text(), c.title, 2); });
  attempt([&] { hideMain(p); });
  attempt([&] { startDelayedRehide(p); });
  attempt([&] { playAlarmSound(p); });
  attempt([&] { (f.*c.reading).setForeColour(colours::warning); });
  // A limit that is not a number reads as 0: it still warns at every run,
  // but it must not shut the machine down (a damaged settings file would do
  // so at every run). Nor may a reading that no sensor gave: without one the
  // readout shows 0 plus the calibration. A sensor that answered once and
  // then went silent keeps its last reading, which still counts.
  if (holds([&] {
        return (p.form<Form5>().*c.option).value() == 1 &&
               isNumber((p.form<Form5>().*c.limit).text()) && c.answered(p);
      })) {
    attempt([&] { c.countdown(p).show(); });
    attempt([&] { c.countdown(p).Timer1.start(); });
  }
}

}  // namespace

void installOverTemperature(Program& program) {
  program.onCreate<Form1>([](Form1& f) {
    for (const ShutdownCheck& c : kChecks) (f.*c.timer).onTick = [&f, &c] { runCheck(f, c); };
  });
}

}  // namespace qv
