#include "engine/datenumber.h"

#include "engine/clock.h"

#include <array>
#include <cstdio>

namespace tessaly {

using namespace std::chrono;

namespace {

constexpr std::array<const char*, 12> kMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::optional<sys_days> ToDays(DateNumber date) {
    const auto ymd = ToCalendarDate(date);
    if (!ymd)
        return std::nullopt;
    return sys_days{*ymd};
}

} // namespace

std::optional<year_month_day> ToCalendarDate(DateNumber date) {
    if (date <= 0)
        return std::nullopt;
    const year_month_day ymd{year{date / 10000}, month{static_cast<unsigned>(date / 100 % 100)},
                             day{static_cast<unsigned>(date % 100)}};
    if (!ymd.ok())
        return std::nullopt;
    return ymd;
}

DateNumber ToDateNumber(year_month_day date) {
    if (!date.ok())
        return 0;
    return static_cast<int>(date.year()) * 10000 +
           static_cast<int>(static_cast<unsigned>(date.month())) * 100 +
           static_cast<int>(static_cast<unsigned>(date.day()));
}

DateNumber TodayDateNumber() {
    return ToDateNumber(Clock::Instance().Today());
}

DateNumber AddDays(DateNumber date, int count) {
    const auto days = ToDays(date);
    if (!days)
        return 0;
    return ToDateNumber(year_month_day{*days + std::chrono::days{count}});
}

DateNumber PreviousDay(DateNumber date) {
    return AddDays(date, -1);
}

DateNumber NextDay(DateNumber date) {
    return AddDays(date, 1);
}

int DaysBetween(DateNumber from, DateNumber to) {
    const auto a = ToDays(from);
    const auto b = ToDays(to);
    if (!a || !b)
        return 0;
    return static_cast<int>((*b - *a).count());
}

std::optional<weekday> WeekdayOf(DateNumber date) {
    const auto days = ToDays(date);
    if (!days)
        return std::nullopt;
    return weekday{*days};
}

bool IsWeekend(DateNumber date) {
    const auto day = WeekdayOf(date);
    return day && (*day == Saturday || *day == Sunday);
}

DateNumber YearsEarlier(DateNumber date, int count) {
    const auto ymd = ToCalendarDate(date);
    if (!ymd)
        return 0;
    const year_month_day earlier = *ymd - years{count};
    if (earlier.ok())
        return ToDateNumber(earlier);
    // Only 29 February lands on no day: it becomes 1 March.
    return ToDateNumber(year_month_day{earlier.year(), March, day{1}});
}

std::string DateNumberToStored(DateNumber date) {
    const auto ymd = ToCalendarDate(date);
    if (!ymd)
        return {};
    char text[32];
    std::snprintf(text, sizeof text, "%u-%s-%02d", static_cast<unsigned>(ymd->day()),
                  kMonthNames[static_cast<unsigned>(ymd->month()) - 1], static_cast<int>(ymd->year()) % 100);
    return text;
}

std::string DateNumberToIso(DateNumber date) {
    const auto ymd = ToCalendarDate(date);
    if (!ymd)
        return {};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(ymd->year()),
                  static_cast<unsigned>(ymd->month()), static_cast<unsigned>(ymd->day()));
    return text;
}

} // namespace tessaly
