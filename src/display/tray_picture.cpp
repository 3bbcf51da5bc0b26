#include "display/tray_picture.h"

#include <array>
#include <string>

#include "app/tray_icon.h"
#include "forms/form1.h"
#include "forms/form3.h"
#include "forms/form5.h"
#include "platform/tray.h"
#include "runtime/convert.h"
#include "runtime/program.h"
#include "sensing/cpu_sensor_status.h"
#include "settings/settings_store.h"

namespace qv {
namespace {

// The colour tells which quantity the picture shows.
namespace shade {
inline constexpr Colour cpuTemperature = Colour::rgb(255, 0, 0);
inline constexpr Colour diskTemperature = Colour::rgb(255, 128, 0);
inline constexpr Colour memoryLoad = Colour::rgb(192, 192, 0);
inline constexpr Colour cpuLoad = Colour::rgb(0, 192, 0);  // and the weekday
}  // namespace shade

constexpr const char* kLegend = "红色:CPU温度\n绿色:CPU使用率/星期\n橙色:硬盘温度\n黄色:内存使用率";

// What a mode timer's tick shows: one holder's text on the mode's colour.
// The cycle's steps then hand over to the next; memory and the weekday are
// not in the cycle.
struct ModeStep {
  Timer Form1::*timer;
  Label Form1::*source;
  Colour back;
  Timer Form1::*next = nullptr;
};
constexpr ModeStep kModes[] = {
    {&Form1::Timer20, &Form1::Label16, shade::cpuTemperature},
    {&Form1::Timer21, &Form1::Label31, shade::diskTemperature},
    {&Form1::Timer22, &Form1::Label6, shade::memoryLoad},
    {&Form1::Timer23, &Form1::Label20, shade::cpuLoad},
    {&Form1::Timer36, &Form1::Label111, shade::cpuLoad},
    {&Form1::Timer15, &Form1::Label20, shade::cpuLoad, &Form1::Timer16},
    {&Form1::Timer16, &Form1::Label16, shade::cpuTemperature, &Form1::Timer17},
    // The raw disk holder, equal to the readout after every disk tick.
    {&Form1::Timer17, &Form1::Label27, shade::diskTemperature, &Form1::Timer15},
};

// The settings window's choice and the timer that carries it out.
struct Choice {
  OptionButton Form5::*option;
  Timer Form1::*timer;
};
constexpr Choice kChoices[] = {
    {&Form5::Option1, &Form1::Timer20}, {&Form5::Option2, &Form1::Timer21},
    {&Form5::Option3, &Form1::Timer22}, {&Form5::Option4, &Form1::Timer15},
    {&Form5::Option5, &Form1::Timer23}, {&Form5::Option6, &Form1::Timer36},
};

std::array<Timer*, 8> modeTimers(Form1& f) {
  return {&f.Timer20, &f.Timer21, &f.Timer22, &f.Timer23,
          &f.Timer15, &f.Timer16, &f.Timer17, &f.Timer36};
}

// Only one mode runs. Choosing the cycle also stops its later steps, so a
// second click while it runs cannot start a second pass beside the first; a
// timer already on keeps its schedule.
void switchTo(Form1& f, Timer& on) {
  for (Timer* t : modeTimers(f))
    if (t != &on) t->stop();
  on.start();
}

void drawPicture(Form1& f) {
  Program& p = f.program();
  TrayIconData& r = readoutIconRecord(p);

  f.Timer14.start();

  // Refused while the icon exists; after the tray host restarted it brings
  // the icon back. Results are not examined.
  r.id = 0;
  r.fields = trayfield::message | trayfield::icon | trayfield::tip;
  r.drawn = false;  // the application's icon until the picture arrives
  r.tip = kLegend;
  describeTrayIcon(p, r, "quorvane-readout", "Quorvane 读数");
  p.platform().tray.notify(TrayAction::Add, r);

  r.picture = TrayPicture{.background = f.Picture1.backColour(),
                          .text = f.Label26.text(),
                          .fontSize = f.Picture1.font().size,
                          .x = 2,
                          .y = 2,
                          .textColour = colours::white,
                          .fontName = f.Picture1.font().name};
  r.drawn = true;
  r.fields = trayfield::icon;
  p.platform().tray.notify(TrayAction::Modify, r);
}

// Every operand is read before the comparison, so a reading that is not a
// number leaves the whole test undecided, and an undecided test lets the
// font return to 8.8 even beside a reading of 100.
bool allBelow100(const Form1& f) {
  double cpuTemperature = value(f.Label16.text());
  double memoryLoad = value(f.Label6.text());
  double cpuLoad = value(f.Label20.text());
  return cpuTemperature < 100 && memoryLoad < 100 && cpuLoad < 100;
}

// One limit line: a caption, a settings field and its unit.
struct LimitLine {
  Label Form1::*line;
  const char* caption;
  ComboBox Form5::*field;
  const char* unit;
};
constexpr LimitLine kLimitLines[] = {
    {&Form1::Label22, "CPU使用率报警上限：", &Form5::Combo2, "%"},
    {&Form1::Label21, "CPU温度报警提示上限：", &Form5::Combo1, "℃"},
    {&Form1::Label30, "硬盘温度报警提示上限：", &Form5::Combo5, "℃"},
    {&Form1::Label24, "内存使用率报警上限：", &Form5::Combo3, "%"},
    {&Form1::Label37, "CPU温度报警自动关机上限：", &Form5::Combo13, "℃"},
    {&Form1::Label38, "硬盘温度报警自动关机上限：", &Form5::Combo14, "℃"},
};

void updateStatus(Form1& f) {
  Program& p = f.program();

  // The first readings are in; the scanning animation ends.
  f.Timer11.stop();
  f.Label3.setText("");

  // A reading of 100 needs the smaller font until all are below it again.
  if (holds([&] { return allBelow100(f); })) attempt([&] { f.Picture1.setFontSize(8.8); });

  // Each read of the settings window creates it again if it was closed.
  for (const LimitLine& l : kLimitLines)
    (f.*l.line).setText(l.caption + (p.form<Form5>().*l.field).text() + l.unit);
  f.Label98.setText(p.form<Form5>().Combo17.text());

  // Reading the small monitor window's lines creates it, hidden, if missing.
  // The last line names the CPU sensor and its last answer, so that a
  // reading it no longer updates does not pass for a live one.
  Form3& m = p.form<Form3>();
  SetTrayTip(p, f.Label46.text() + "\n" + m.Label2.text() + "\n" + m.Label1.text() + "\n" +
                    m.Label3.text() + "\n" + m.Label4.text() + "\n" + f.Label12.text() + "\n" +
                    cpuSensorLine(p));
}

void attachMain(Form1& f) {
  f.Timer14.onTick = [&f] { drawPicture(f); };
  f.Timer2.onTick = [&f] { updateStatus(f); };

  for (const ModeStep& m : kModes)
    (f.*m.timer).onTick = [&f, m] {
      f.Picture1.setBackColour(m.back);
      f.Label26.setText((f.*m.source).text());
      if (m.next) {
        (f.*m.timer).stop();
        (f.*m.next).start();
      }
    };
}

// Attached before the settings window's load step, whose restore of a stored
// mode selects the option and so runs its click.
void attachSettings(Form5& f) {
  Program& p = f.program();

  for (const Choice& c : kChoices)
    (f.*c.option).onClick = [&p, c] {
      Form1& window = p.form<Form1>();
      switchTo(window, window.*c.timer);
    };

  // Apply the display choice; "取消" only closes, so an unsaved choice lasts
  // until the window is next created from the store.
  f.Command8.onClick = [&f, &p] {
    for (OptionButton* o : {&f.Option1, &f.Option2, &f.Option3, &f.Option4, &f.Option5, &f.Option6})
      saveOption(p, *o, o->name());
    p.close(f);
  };
}

}  // namespace

void installTrayPicture(Program& program) {
  program.onCreate<Form1>(attachMain);
  program.onCreate<Form5>(attachSettings);
}

}  // namespace qv
