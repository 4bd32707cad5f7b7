#include "browser/chartticks.h"

#include "engine/datenumber.h"

#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>

namespace tessaly {

namespace {

enum class Unit { Day, Week, Month, Year };

struct Step {
    Unit unit;
    int count;
    double days;
};

constexpr std::array<Step, 15> kSteps = {{{Unit::Day, 1, 1},
                                          {Unit::Day, 2, 2},
                                          {Unit::Week, 1, 7},
                                          {Unit::Week, 2, 14},
                                          {Unit::Month, 1, 30.44},
                                          {Unit::Month, 3, 91.3},
                                          {Unit::Month, 6, 182.6},
                                          {Unit::Year, 1, 365.25},
                                          {Unit::Year, 2, 730.5},
                                          {Unit::Year, 5, 1826},
                                          {Unit::Year, 10, 3652},
                                          {Unit::Year, 20, 7305},
                                          {Unit::Year, 50, 18262},
                                          {Unit::Year, 100, 36525},
                                          {Unit::Year, 500, 182621}}};

constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// 5 January 1970, the first Monday of the axis' day count.
constexpr long kFirstMonday = 4;

std::chrono::year_month_day CalendarOf(long day) {
    return std::chrono::year_month_day(std::chrono::sys_days(std::chrono::days(day)));
}

long DayOf(std::chrono::year_month_day date) {
    return std::chrono::sys_days(date).time_since_epoch().count();
}

std::string DayLabel(long day) {
    return DateNumberToStored(ToDateNumber(CalendarOf(day)));
}

std::string MonthLabel(std::chrono::year_month_day date) {
    char text[16];
    std::snprintf(text, sizeof text, "%s-%02d", kMonths[static_cast<unsigned>(date.month()) - 1],
                  (static_cast<int>(date.year()) % 100 + 100) % 100);
    return text;
}

long FloorDiv(long a, long b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

} // namespace

PriceTicks ChoosePriceTicks(double low, double high, int maxCount) {
    PriceTicks ticks;
    if (!std::isfinite(low) || !std::isfinite(high) || high <= low || maxCount < 1)
        return ticks;
    const double raw = (high - low) / maxCount;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    // The tolerance keeps 0.2 / 0.1 a step of 2, not 5.
    const double norm = raw / magnitude * (1 - 1e-9);
    const double step = (norm <= 1 ? 1 : norm <= 2 ? 2 : norm <= 5 ? 5 : 10) * magnitude;
    ticks.decimals = std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
    // Counted, not stepped by adding: near 1e16 adding 1 to a double changes nothing.
    const double first = std::ceil(low / step - 1e-9);
    for (int k = 0; k <= maxCount + 1; ++k) {
        const double value = (first + k) * step;
        if (value > high + step * 1e-9)
            break;
        if (ticks.values.empty() || value > ticks.values.back())
            ticks.values.push_back(value);
    }
    return ticks;
}

std::string FormatTick(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    // A tick just below zero would otherwise read "-0.00".
    std::string result = text;
    if (result.find_first_not_of("-0.") == std::string::npos && result.front() == '-')
        result.erase(0, 1);
    return result;
}

std::vector<DateTick> ChooseDateTicks(DayRange range, int maxCount) {
    std::vector<DateTick> ticks;
    if (maxCount < 1 || !(range.Span() > 0) || !std::isfinite(range.first) || !std::isfinite(range.last))
        return ticks;
    Step step = kSteps.back();
    for (const Step& candidate : kSteps) {
        if (range.Span() / candidate.days <= maxCount) {
            step = candidate;
            break;
        }
    }
    const long first = static_cast<long>(std::ceil(range.first));
    const long last = static_cast<long>(std::floor(range.last));
    if (first > last)
        return ticks;
    switch (step.unit) {
    case Unit::Day:
    case Unit::Week: {
        const long stride = step.unit == Unit::Day ? step.count : 7L * step.count;
        const long origin = step.unit == Unit::Day ? 0 : kFirstMonday;
        for (long day = origin + FloorDiv(first - origin + stride - 1, stride) * stride; day <= last;
             day += stride)
            ticks.push_back({static_cast<double>(day), DayLabel(day)});
        break;
    }
    case Unit::Month: {
        const auto start = CalendarOf(first);
        auto month = std::chrono::year_month(start.year(), start.month());
        for (;; month += std::chrono::months(1)) {
            const long day = DayOf(month / std::chrono::day(1));
            if (day > last)
                break;
            if (day >= first && (static_cast<unsigned>(month.month()) - 1) % step.count == 0)
                ticks.push_back({static_cast<double>(day), MonthLabel(month / std::chrono::day(1))});
        }
        break;
    }
    case Unit::Year: {
        const int firstYear = static_cast<int>(CalendarOf(first).year());
        for (int year = firstYear;; ++year) {
            const long day = DayOf(std::chrono::year(year) / std::chrono::January / 1);
            if (day > last)
                break;
            if (day >= first && ((year % step.count) + step.count) % step.count == 0)
                ticks.push_back({static_cast<double>(day), std::to_string(year)});
        }
        break;
    }
    }
    return ticks;
}

} // namespace tessaly
