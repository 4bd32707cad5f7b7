#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace tessaly {

// A date as the decimal number YYYYMMDD (20050105 for 5-Jan-05); 0 means no date.
using DateNumber = std::int32_t;

// Calendar arithmetic on date numbers, done by std::chrono. Functions taking a date number that is
// not a real calendar date return 0 (or nullopt).
std::optional<std::chrono::year_month_day> ToCalendarDate(DateNumber date);
DateNumber ToDateNumber(std::chrono::year_month_day date);
DateNumber TodayDateNumber();

DateNumber PreviousDay(DateNumber date);
DateNumber NextDay(DateNumber date);
DateNumber AddDays(DateNumber date, int days);
// Days from `from` to `to` (negative when `to` is earlier); 0 when either is not a date.
int DaysBetween(DateNumber from, DateNumber to);
std::optional<std::chrono::weekday> WeekdayOf(DateNumber date);
bool IsWeekend(DateNumber date);
// The same day `years` years earlier; 29 February rolls to 1 March in a year without it.
DateNumber YearsEarlier(DateNumber date, int years);

// The stored form of a date number: 5-Jan-05. Empty for a date number that is not a date.
std::string DateNumberToStored(DateNumber date);
// The ISO form of a date number: 2005-01-05. Empty for a date number that is not a date.
std::string DateNumberToIso(DateNumber date);

} // namespace tessaly
