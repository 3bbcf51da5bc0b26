#pragma once
// What the scheduled features share: the clock as the time checks compare
// it, the minute a timed action fired in, and the length limit of a reminder
// text.

#include <cstdint>
#include <string>

#include "base/date_time.h"

namespace qv {

class ComboBox;

// "9:05": the hour without a leading zero, as the hour choosers list it.
std::string hourMinute(const DateTime& t);
// "09:05".
std::string hourMinute2(const DateTime& t);

// The wall-clock minute a timed action's time check last matched in. When
// the clock goes back an hour in autumn, the same minute of the same day
// comes round again; a timed action started again in between (by the
// schedule tick, after a cancel, a standby or "关闭提醒") must not fire a
// second time. Within the minute itself every tick still matches, as a start
// during the set minute relies on.
class FiredMinute {
 public:
  // True when `now` falls in the minute last matched but more than a minute
  // after its first match: the minute come round again. Otherwise notes
  // `now` as matched and is false.
  bool cameRoundAgain(const DateTime& now, std::int64_t monotonicMs);

 private:
  bool any_ = false;
  DateTime minute_;
  std::int64_t firstMatch_ = 0;
};

// A reminder text is at most 28 characters: a longer one (typed or pasted)
// is cut to its first 28 at once.
inline constexpr std::size_t kReminderLength = 28;
void limitReminderText(ComboBox& text);

}  // namespace qv
