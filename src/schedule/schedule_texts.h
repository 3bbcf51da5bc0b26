#pragma once
// Texts the scheduled features share: the clock as the time checks compare
// it, and the length limit of a reminder text.

#include <string>

#include "base/date_time.h"

namespace qv {

class ComboBox;

// "9:05": the hour without a leading zero, as the hour choosers list it.
std::string hourMinute(const DateTime& t);
// "09:05".
std::string hourMinute2(const DateTime& t);

// A reminder text is at most 28 characters: a longer one (typed or pasted)
// is cut to its first 28 at once.
inline constexpr std::size_t kReminderLength = 28;
void limitReminderText(ComboBox& text);

}  // namespace qv
