#include "schedule/schedule_tick.h"

#include <string>

#include "forms/form1.h"
#include "forms/form13.h"
#include "forms/form3.h"
#include "forms/form5.h"
#include "runtime/program.h"
#include "schedule/schedule_texts.h"
#include "settings/settings_window.h"

namespace qv {
namespace {

constexpr const char* kWeekdayNames[] = {"星期日", "星期一", "星期二", "星期三",
                                         "星期四", "星期五", "星期六"};
constexpr const char* kWeekdayCharacters[] = {"日", "一", "二", "三", "四", "五", "六"};

// The weekly schedule's boxes, Monday first, with the main window's letters.
struct Weekday {
  CheckBox Form5::*box;
  Label Form1::*letter;
  const char* character;
};
constexpr Weekday kWeek[] = {
    {&Form5::Check7, &Form1::Label90, "一"},  {&Form5::Check8, &Form1::Label91, "二"},
    {&Form5::Check9, &Form1::Label92, "三"},  {&Form5::Check10, &Form1::Label93, "四"},
    {&Form5::Check11, &Form1::Label94, "五"}, {&Form5::Check12, &Form1::Label95, "六"},
    {&Form5::Check13, &Form1::Label96, "日"},
};

bool ticked(const CheckBox& box) {
  return box.value() == 1;
}

// Timed action 1's mode tag, each rule overwriting the one before.
void modeTag(Form5& f, Form1& m) {
  int days = 0;
  for (const Weekday& d : kWeek) days += holds([&] { return ticked(f.*d.box); });
  const bool monthly = holds([&] { return f.Combo17.text() != "停用"; });
  if (days == 0) attempt([&] { m.Label109.setText("(单次)"); });
  if (days == 0 && monthly) attempt([&] { m.Label109.setText("(单次/每月几号)"); });
  if (days > 0) attempt([&] { m.Label109.setText("(星期/单次)"); });
  if (days > 0 && monthly) attempt([&] { m.Label109.setText("(星期/每月几号/单次)"); });
  if (days == 7) {
    attempt([&] { m.Label109.setText("(每天)"); });
    attempt([&] { f.Combo17.setText("停用"); });
  }
}

// Every step reads the windows as they stand: unapplied boxes count, and a
// chosen day restarts its timed action at every tick all day long.
void tick(Form5& f) {
  Program& p = f.program();
  const DateTime now = p.platform().clock.localTime();
  const int day = now.weekday;
  auto main = [&p]() -> Form1& { return p.form<Form1>(); };
  auto timed2 = [&p]() -> Form13& { return p.form<Form13>(); };

  // 1-2. Today's weekday, for this window, the small window's title and the
  // tray's weekday picture.
  attempt([&] { f.Label42.setText(std::to_string(day)); });
  attempt([&] { f.Label43.setText(kWeekdayNames[day]); });
  attempt(
      [&] { p.form<Form3>().Label5.setText(std::string("(") + kWeekdayCharacters[day] + ")"); });
  attempt([&] { main().Label111.setText(kWeekdayCharacters[day]); });

  // 3. "取消报警声音" silences the alarm even before it is applied.
  attempt([&] { muteAlarm(f); });

  // 4. The weekday letters after "星期定时:".
  for (const Weekday& d : kWeek)
    if (holds([&] { return (f.*d.box).value() == 0; }))
      attempt([&] { (main().*d.letter).setText(""); });
  for (const Weekday& d : kWeek)
    if (holds([&] { return ticked(f.*d.box); }))
      attempt([&] { (main().*d.letter).setText(d.character); });

  // 5. A running date reminder is set again (and so resumed after a start).
  if (holds([&] { return ticked(f.Check6); })) attempt([&] { main().Command19.press(); });

  // 6-8. Timed action 1 on its weekdays and its day of the month, timed
  // action 2 on its day. The day-of-month mirror is the previous tick's.
  for (const Weekday& d : kWeek)
    if (holds([&] { return ticked(f.*d.box) && (f.*d.box).text() == f.Label43.text(); }))
      attempt([&] { main().Command2.press(); });
  if (holds([&] { return f.Label46.text() == f.Combo17.text(); }))
    attempt([&] { main().Command2.press(); });
  if (holds([&] { return f.Label46.text() == timed2().Combo3.text(); }))
    attempt([&] { main().Command24.press(); });

  // 9-10, 12. Timed action 2 every day, and its mode tag.
  if (holds([&] { return ticked(timed2().Check1); })) {
    attempt([&] { main().Command24.press(); });
    attempt([&] { timed2().Combo3.setText("停用"); });
    attempt([&] { main().Label108.setText("(每天)"); });
  }
  if (holds([&] { return timed2().Check1.value() == 0; }))
    attempt([&] { main().Label108.setText("(单次)"); });

  // 11. The reminder slots' check runs while "开启多段提醒" is ticked.
  if (holds([&] { return f.Check15.value() == 0; })) attempt([&] { main().Timer37.stop(); });
  if (holds([&] { return ticked(f.Check15); })) attempt([&] { main().Timer37.start(); });

  if (holds([&] { return timed2().Check1.value() == 0 && timed2().Combo3.text() != "停用"; }))
    attempt([&] { main().Label108.setText("(单次/每月几号)"); });

  // 13-15. The date line (2024年5月6日 9:05 星期一), today's day of the month,
  // timed action 2's day.
  attempt([&] {
    main().Label4.setText(std::to_string(now.year) + "年" + std::to_string(now.month) + "月" +
                          std::to_string(now.day) + "日 " + hourMinute(now) + " " +
                          f.Label43.text());
  });
  attempt([&] { f.Label46.setText(std::to_string(now.day)); });
  attempt([&] { main().Label107.setText(timed2().Combo3.text()); });

  // 16. The weekly status.
  bool none = true;
  for (const Weekday& d : kWeek) none = none && (main().*d.letter).text().empty();
  if (none) attempt([&] { main().Label39.setText("星期定时未启动"); });
  for (const Weekday& d : kWeek)
    if (!(main().*d.letter).text().empty()) attempt([&] { main().Label39.setText("星期定时:"); });

  // 17. Timed action 1's mode tag.
  modeTag(f, main());
}

}  // namespace

void installScheduleTick(Program& program) {
  program.onCreate<Form5>([](Form5& f) { f.Timer1.onTick = [&f] { tick(f); }; });
}

}  // namespace qv
