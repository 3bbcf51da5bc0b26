#include "schedule/schedule_tick.h"

#include <cstdio>
#include <string>

#include "forms/form1.h"
#include "forms/form3.h"
#include "runtime/program.h"
#include "forms/form5.h"
#include "settings/settings_window.h"

namespace qv {
namespace {

constexpr const char* kWeekdayNames[] = {"星期日", "星期一", "星期二", "星期三",
                                         "星期四", "星期五", "星期六"};
constexpr const char* kWeekdayCharacters[] = {"日", "一", "二", "三", "四", "五", "六"};

void tick(Form5& f) {
  Program& p = f.program();
  DateTime now = p.platform().clock.localTime();
  int day = now.weekday;

  // The weekday, for the settings window, the small window's title and the
  // tray's weekday picture.
  f.Label42.setText(std::to_string(day));
  f.Label43.setText(kWeekdayNames[day]);
  p.form<Form3>().Label5.setText(std::string("(") + kWeekdayCharacters[day] + ")");
  p.form<Form1>().Label111.setText(kWeekdayCharacters[day]);

  // "取消报警声音" silences the alarm even before it is applied.
  muteAlarm(f);

  // The date line, for example 2024年5月6日 9:05 星期一.
  char time[16];
  std::snprintf(time, sizeof time, "%d:%02d ", now.hour, now.minute);
  p.form<Form1>().Label4.setText(std::to_string(now.year) + "年" + std::to_string(now.month) +
                                 "月" + std::to_string(now.day) + "日 " + time + f.Label43.text());
  // Today's day of the month.
  f.Label46.setText(std::to_string(now.day));
}

}  // namespace

void installScheduleTick(Program& program) {
  program.onCreate<Form5>([](Form5& f) { f.Timer1.onTick = [&f] { tick(f); }; });
}

}  // namespace qv
