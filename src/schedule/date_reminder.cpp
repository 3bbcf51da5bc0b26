#include "schedule/date_reminder.h"

#include <cstdint>
#include <optional>
#include <string>

#include "base/civil.h"
#include "forms/form1.h"
#include "forms/form5.h"
#include "runtime/convert.h"
#include "runtime/program.h"
#include "schedule/schedule_texts.h"
#include "settings/settings_store.h"

namespace qv {
namespace {

// A target minute passes unseen when the machine sleeps through it or the
// program is not running: the check compares the clock with the target only
// at its ticks. To remind the user anyway, the check remembers the minute of
// its previous tick, and the store keeps the minute the target was set at
// ("t", "t", "armed" = "<target>@<minute>"), written only when the target
// changes. A target that lies after that minute and is no later than now
// was missed.
struct Watch {
  std::optional<std::int64_t> previous;  // minute of the last check, this run
};

constexpr std::string_view kArmedKey = "armed";

// Minutes since 1970 of a local date and time; none for one that does not
// exist (the 30th of February).
std::optional<std::int64_t> minuteOf(std::int64_t y, std::int64_t mo, std::int64_t d,
                                     std::int64_t h, std::int64_t mi) {
  if (mo < 1 || mo > 12 || d < 1 || h < 0 || h > 23 || mi < 0 || mi > 59) return std::nullopt;
  if (y < 1 || y > 9999) return std::nullopt;
  const std::int64_t days =
      daysFromCivil(static_cast<int>(y), static_cast<int>(mo), static_cast<int>(d));
  // A day past the month's end rolls into the next month.
  if (civilFromMs(days * 86'400'000).day != d) return std::nullopt;
  return days * 1440 + h * 60 + mi;
}

std::int64_t minuteOf(const DateTime& t) {
  return daysFromCivil(t.year, t.month, t.day) * 1440 + t.hour * 60 + t.minute;
}

std::string stampOf(const DateTime& t) {
  return std::to_string(t.year) + ":" + std::to_string(t.month) + ":" + std::to_string(t.day) +
         ":" + hourMinute(t);
}

std::string target(const Form1& f) {
  return f.Text3.text() + ":" + f.Text4.text() + ":" + f.Text5.text() + ":" + f.Text6.text() + ":" +
         f.Text7.text();
}

std::optional<std::int64_t> targetMinute(const Form1& f) {
  try {
    return minuteOf(whole(value(f.Text3.text())), whole(value(f.Text4.text())),
                    whole(value(f.Text5.text())), whole(value(f.Text6.text())),
                    whole(value(f.Text7.text())));
  } catch (const Failed&) {
    return std::nullopt;
  }
}

// The minute the current target was set at, from the store.
std::optional<std::int64_t> armedAt(Program& p, const std::string& wanted) {
  const std::string armed = ReadSetting(p, "t", "t", kArmedKey);
  const std::size_t at = armed.rfind('@');
  if (at == std::string::npos || armed.substr(0, at) != wanted) return std::nullopt;
  try {
    return whole(value(armed.substr(at + 1)));
  } catch (const Failed&) {
    return std::nullopt;
  }
}

void set(Form1& f) {
  Program& p = f.program();
  attempt([&] { p.form<Form5>().Command20.press(); });
  attempt([&] { f.Image6.show(); });
  attempt([&] { f.Image1.hide(); });
  attempt([&] { f.Text3.setText(f.Combo4.text()); });
  attempt([&] { f.Text4.setText(f.Combo5.text()); });
  attempt([&] { f.Text5.setText(f.Combo6.text()); });
  attempt([&] { f.Text6.setText(f.Combo8.text()); });
  attempt([&] { f.Text7.setText(f.Combo9.text()); });
  attempt([&] { f.Label44.setText(" "); });
  attempt([&] { f.Label45.setText("日程提醒运行 "); });
  attempt([&] {
    f.Label46.setText("日程提醒动作时间：" + f.Text3.text() + "年" + f.Text4.text() + "月" +
                      f.Text5.text() + "日" + f.Text6.text() + "点" + f.Text7.text() + "分");
  });
  attempt([&] { f.Timer26.start(); });
  saveText(p, f.Combo9);
  saveText(p, f.Combo8);
  saveText(p, f.Combo4);
  saveText(p, f.Combo5);
  saveText(p, f.Combo6);
  saveText(p, f.Combo7);
  // A new target is armed now; the same one (set again every few seconds
  // while it runs, or after a restart) keeps the minute it was armed at.
  attempt([&] {
    const std::string wanted = target(f);
    if (armedAt(p, wanted)) return;
    const std::int64_t now = minuteOf(p.platform().clock.localTime());
    WriteSetting(p, "t", "t", kArmedKey, wanted + "@" + std::to_string(now));
    p.state<Watch>().previous = now;
  });
}

void stop(Form1& f) {
  Program& p = f.program();
  attempt([&] { p.form<Form5>().Command21.press(); });
  attempt([&] { f.Image1.show(); });
  attempt([&] { f.Image6.hide(); });
  attempt([&] { f.Timer27.stop(); });
  attempt([&] { f.Timer26.stop(); });
  attempt([&] { f.Label44.setText("日程提醒停止 "); });
  attempt([&] { f.Label45.setText(" "); });
  attempt([&] { f.Label46.setText("日程提醒：( 已停止 )"); });
  // Set again later, even to the same minute, it is armed afresh.
  p.state<Watch>().previous.reset();
  attempt([&] { WriteSetting(p, "t", "t", kArmedKey, ""); });
}

// Matches the clock, as text, against the target on every tick of the
// minute; the reminder timer, once started, keeps its schedule.
void check(Form1& f) {
  Program& p = f.program();
  const DateTime now = p.platform().clock.localTime();
  attempt([&] { f.Label43.setText(stampOf(now)); });
  if (holds([&] { return f.Label43.text() == target(f) && f.Image6.visible(); }))
    attempt([&] { f.Timer27.start(); });

  // A target minute that passed since the previous check (or, after a
  // start, since it was armed) without a tick in it reminds once.
  Watch& watch = p.state<Watch>();
  const std::int64_t current = minuteOf(now);
  std::optional<std::int64_t> since = watch.previous;
  if (!since) since = armedAt(p, target(f));
  watch.previous = current;
  const std::optional<std::int64_t> wanted = targetMinute(f);
  if (since && wanted && *since < *wanted && *wanted < current && f.Image6.visible())
    attempt([&] { f.Timer27.start(); });
}

}  // namespace

void installDateReminder(Program& program) {
  program.onCreate<Form1>([](Form1& f) {
    f.Command19.onClick = [&f] { set(f); };
    f.Label142.onClick = [&f] { f.Command19.press(); };
    f.Command20.onClick = [&f] { stop(f); };
    f.Label143.onClick = [&f] { f.Command20.press(); };
    f.Timer26.onTick = [&f] { check(f); };
    limitReminderText(f.Combo7);
  });
}

}  // namespace qv
