#pragma once
// Calendar arithmetic on the proleptic Gregorian calendar.

#include <cstdint>

#include "base/date_time.h"

namespace qv {

// Days since 1970-01-01.
std::int64_t daysFromCivil(int year, int month, int day);
// The date and time `ms` milliseconds after 1970-01-01 00:00.
DateTime civilFromMs(std::int64_t ms);
std::int64_t msFromCivil(const DateTime& t);

}  // namespace qv
