#include "schedule/schedule_texts.h"

#include <cstdio>

#include "runtime/control.h"
#include "runtime/convert.h"
#include "runtime/failure.h"

namespace qv {

std::string hourMinute(const DateTime& t) {
  char out[16];
  std::snprintf(out, sizeof out, "%d:%02d", t.hour, t.minute);
  return out;
}

std::string hourMinute2(const DateTime& t) {
  char out[16];
  std::snprintf(out, sizeof out, "%02d:%02d", t.hour, t.minute);
  return out;
}

bool FiredMinute::cameRoundAgain(const DateTime& now, std::int64_t monotonicMs) {
  DateTime minute = now;
  minute.second = 0;
  if (any_ && minute == minute_) return monotonicMs - firstMatch_ >= 60'000;
  any_ = true;
  minute_ = minute;
  firstMatch_ = monotonicMs;
  return false;
}

void limitReminderText(ComboBox& text) {
  text.onChange = [&text] {
    if (length(text.text()) >= kReminderLength)
      attempt([&] { text.setText(left(text.text(), kReminderLength)); });
  };
}

}  // namespace qv
