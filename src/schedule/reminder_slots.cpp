#include "schedule/reminder_slots.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <string>

#include "alarms/alarm_sound.h"
#include "app/tray_icon.h"
#include "forms/form1.h"
#include "forms/form17.h"
#include "forms/form18.h"
#include "runtime/convert.h"
#include "runtime/program.h"
#include "settings/settings_store.h"

namespace qv {
namespace {

constexpr std::size_t kMessageLength = 28;

// Creation of the slots window: the stored slots, then the balloon option.
// The stored texts are set while the hour lists hold only "停用", so a text
// off the lists (a hand-edited "08") is kept as it is; it never matches.
void load(Form17& f) {
  Program& p = f.program();
  for (ComboBox& c : f.Combo) attempt([&] { c.setText(""); });
  for (int k = 0; k < Form17::kSlots; ++k) {
    attempt([&] { f.hour(k).addItem("停用"); });
    for (int m = 0; m <= 9; ++m) attempt([&] { f.minute(k).addItem("0" + std::to_string(m)); });
  }
  for (ComboBox& c : f.Combo) restoreText(p, c);
  restoreFlag(p, f.Check1, "f");
  for (int k = 0; k < Form17::kSlots; ++k) {
    attempt([&] { f.hour(k).addRange(0, 23); });
    attempt([&] { f.minute(k).addRange(10, 59); });
  }
}

void apply(Form17& f) {
  Program& p = f.program();
  saveFlag(p, f.Check1, "f");
  for (const ComboBox& c : f.Combo) saveText(p, c);
  attempt([&] { p.close(f); });
}

// The clock as the slots are compared with it: 8:05, 23:59.
std::string clockText(const DateTime& t) {
  char text[16];
  std::snprintf(text, sizeof text, "%d:%02d", t.hour, t.minute);
  return text;
}

// The reminders waiting for their delivery, one per matched minute, in
// order. A single pending message would let slots a minute apart overwrite
// each other: 8:06 matches before 8:05 is delivered, so 8:05's message would
// never show and 8:06's would show twice. Each minute's reminder keeps its
// own message and comes 62 s after its own first match.
struct Pending {
  std::string minute;  // the clock text it matched
  std::string message;
  std::int64_t due;  // monotonic ms
};
struct PendingReminders {
  std::deque<Pending> queue;
};

constexpr std::int64_t kDeliveryDelay = 62000;

// Every slot whose time is the clock's feeds its minute's reminder; the last
// of them supplies the message. A delivery already counting keeps its
// countdown.
void note(Form1& f, const std::string& minute, const std::string& message) {
  Program& p = f.program();
  auto& queue = p.state<PendingReminders>().queue;
  if (!f.Timer39.enabled()) {
    queue.clear();
    attempt([&] { f.Timer39.setInterval(kDeliveryDelay); });
  }
  if (!queue.empty() && queue.back().minute == minute) {
    queue.back().message = message;
  } else {
    queue.push_back({minute, message, p.platform().clock.monotonicMs() + kDeliveryDelay});
  }
  attempt([&] { f.Timer39.start(); });
}

void match(Form1& f) {
  Program& p = f.program();
  attempt([&] { f.Label112.setText(clockText(p.platform().clock.localTime())); });
  for (int k = 0; k < Form17::kSlots; ++k) {
    if (holds([&] {
          Form17& s = p.form<Form17>();
          return s.hour(k).text() + ":" + s.minute(k).text() == f.Label112.text();
        }))
      attempt([&] { note(f, f.Label112.text(), p.form<Form17>().message(k).text()); });
  }
}

// The earliest pending reminder, as a balloon or in the popup; the next one,
// if any, counts on to its own time.
void deliver(Form1& f) {
  Program& p = f.program();
  auto& queue = p.state<PendingReminders>().queue;
  if (!queue.empty()) {
    const std::string message = queue.front().message;
    queue.pop_front();
    attempt([&] { p.form<Form18>().Label1.setText(message); });
  }
  if (holds([&] { return p.form<Form17>().Check1.value() == 1; })) {
    attempt([&] {
      ShowTrayBalloon(p, f, "温馨提醒, " + p.form<Form18>().Label1.text(), "温馨提醒", 1);
    });
    attempt([&] { startDelayedRehide(p); });
    attempt([&] { f.Timer39.stop(); });
    attempt([&] { p.requestClose(f); });
    attempt([&] {
      if (Form18* popup = p.existing<Form18>()) p.close(*popup);
    });
  }
  if (holds([&] { return p.form<Form17>().Check1.value() == 0; })) {
    attempt([&] { p.requestClose(f); });
    attempt([&] { p.form<Form18>().show(); });
    attempt([&] { startDelayedRehide(p); });
    attempt([&] { f.Timer39.stop(); });
  }
  attempt([&] { startDelayedRehide(p); });
  attempt([&] { f.Timer39.stop(); });
  if (!queue.empty()) {
    const std::int64_t left = queue.front().due - p.platform().clock.monotonicMs();
    attempt([&] { f.Timer39.setInterval(std::max<std::int64_t>(1, left)); });
    attempt([&] { f.Timer39.start(); });
  }
}

}  // namespace

void installReminderSlots(Program& program) {
  program.onCreate<Form17>([](Form17& f) {
    Program& p = f.program();
    f.onLoad = [&f] { load(f); };

    // Hours and minutes change only by picking from their lists; a message
    // is cut to its first 28 characters.
    for (int k = 0; k < Form17::kSlots; ++k) {
      f.hour(k).acceptKey = [](char32_t) { return false; };
      f.minute(k).acceptKey = [](char32_t) { return false; };
      ComboBox& message = f.message(k);
      message.onChange = [&message] {
        if (holds([&] { return length(message.text()) >= kMessageLength; }))
          attempt([&] { message.setText(left(message.text(), kMessageLength)); });
      };
    }

    f.Command1.onClick = [&f] { apply(f); };
    f.Command2.onClick = [&f, &p] { attempt([&] { p.close(f); }); };
    // Every slot empty, saved with the balloon option as it stands.
    f.Command3.onClick = [&f, &p] {
      for (ComboBox& c : f.Combo) attempt([&] { c.setText(""); });
      attempt([&] { f.Command1.press(); });
      attempt([&] { p.close(f); });
    };
  });

  program.onCreate<Form1>([](Form1& f) {
    Program& p = f.program();
    f.Timer37.onTick = [&f] { match(f); };
    f.Timer39.onTick = [&f] { deliver(f); };
    // "多段提醒设置": the slots window takes the main window's place.
    f.Label113.onClick = [&f, &p] {
      attempt([&] { p.form<Form17>().show(); });
      attempt([&] { p.requestClose(f); });
    };
  });
}

}  // namespace qv
