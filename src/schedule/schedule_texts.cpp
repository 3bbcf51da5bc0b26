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

void limitReminderText(ComboBox& text) {
  text.onChange = [&text] {
    if (length(text.text()) >= kReminderLength)
      attempt([&] { text.setText(left(text.text(), kReminderLength)); });
  };
}

}  // namespace qv
