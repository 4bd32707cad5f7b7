#include "browser/chartseries.h"

#include "engine/filefunctions.h"
#include "engine/numbers.h"
#include "engine/trim.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace tessaly {

namespace {

constexpr std::array<std::string_view, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::size_t kChartFields = 6;
constexpr double kLargestValue = 1e15;

bool AllDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int ToInt(std::string_view digits) {
    int value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return value;
}

DateNumber CheckedDate(int year, int month, int day) {
    const DateNumber date = year * 10000 + month * 100 + day;
    return ToCalendarDate(date) ? date : 0;
}

DateNumber ParseStoredDate(std::string_view text) {
    // d-Mon-yy or dd-Mon-yy; the century follows the file format's two-digit-year rule.
    const auto first = text.find('-');
    if (first == std::string_view::npos || first == 0 || first > 2 || text.size() != first + 7 ||
        text[first + 4] != '-')
        return 0;
    const std::string_view day = text.substr(0, first);
    const std::string_view month = text.substr(first + 1, 3);
    const std::string_view year = text.substr(first + 5, 2);
    if (!AllDigits(day) || !AllDigits(year) ||
        std::find(kMonths.begin(), kMonths.end(), month) == kMonths.end())
        return 0;
    const DateNumber date = StoredDateToNumber(text);
    return ToCalendarDate(date) ? date : 0;
}

DateNumber ParseIsoDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return 0;
    const std::string_view year = text.substr(0, 4);
    const std::string_view month = text.substr(5, 2);
    const std::string_view day = text.substr(8, 2);
    if (!AllDigits(year) || !AllDigits(month) || !AllDigits(day))
        return 0;
    return CheckedDate(ToInt(year), ToInt(month), ToInt(day));
}

int DaysSinceEpoch(DateNumber date) {
    const auto calendar = ToCalendarDate(date);
    return static_cast<int>(std::chrono::sys_days(*calendar).time_since_epoch().count());
}

} // namespace

DateNumber ParseChartDate(std::string_view text) {
    text = TrimBlanks(text);
    return text.size() == 10 && text[4] == '-' ? ParseIsoDate(text) : ParseStoredDate(text);
}

std::optional<double> ParseChartNumber(std::string_view text) {
    text = TrimBlanks(text);
    if (text.empty())
        return std::nullopt;
    // from_chars takes no leading plus sign; the files' number rule does.
    if (text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool ChartSeries::AddRecord(int row, std::span<const std::string_view> fields) {
    PriceBar bar;
    bar.row = row;
    std::array<double, kChartFields - 1> values{};
    bool usable = fields.size() >= kChartFields && row >= 0;
    if (usable) {
        bar.date = ParseChartDate(fields[0]);
        usable = bar.date != 0;
    }
    for (std::size_t i = 1; usable && i < kChartFields; ++i) {
        const auto value = ParseChartNumber(fields[i]);
        // Beyond any real price or volume, and far enough from overflow to scale safely.
        usable = value.has_value() && std::fabs(*value) <= kLargestValue;
        if (usable)
            values[i - 1] = *value;
    }
    if (!usable) {
        ++skipped_;
        return false;
    }
    bar.day = DaysSinceEpoch(bar.date);
    bar.open = values[0];
    bar.high = values[1];
    bar.low = values[2];
    bar.close = values[3];
    bar.volume = values[4];
    bars_.push_back(bar);
    return true;
}

void ChartSeries::Finish() {
    std::stable_sort(bars_.begin(), bars_.end(),
                     [](const PriceBar& a, const PriceBar& b) { return a.day < b.day; });
    indexOfRow_.clear();
    int lastRow = -1;
    for (const PriceBar& bar : bars_)
        lastRow = std::max(lastRow, bar.row);
    indexOfRow_.assign(static_cast<std::size_t>(lastRow + 1), bars_.size());
    for (std::size_t i = 0; i < bars_.size(); ++i)
        indexOfRow_[static_cast<std::size_t>(bars_[i].row)] = i;
    // The median distance between neighbours tells daily from weekly or monthly data.
    std::vector<int> gaps;
    gaps.reserve(bars_.size());
    for (std::size_t i = 1; i < bars_.size(); ++i)
        if (bars_[i].day > bars_[i - 1].day)
            gaps.push_back(bars_[i].day - bars_[i - 1].day);
    spacing_ = 1;
    if (!gaps.empty()) {
        auto middle = gaps.begin() + static_cast<std::ptrdiff_t>(gaps.size() / 2);
        std::nth_element(gaps.begin(), middle, gaps.end());
        spacing_ = std::max(1, *middle);
    }
}

void ChartSeries::Clear() {
    bars_.clear();
    indexOfRow_.clear();
    skipped_ = 0;
    spacing_ = 1;
}

std::optional<std::size_t> ChartSeries::IndexOfRow(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= indexOfRow_.size() ||
        indexOfRow_[static_cast<std::size_t>(row)] >= bars_.size())
        return std::nullopt;
    return indexOfRow_[static_cast<std::size_t>(row)];
}

std::optional<std::size_t> ChartSeries::NearestBar(double day) const {
    if (bars_.empty())
        return std::nullopt;
    const auto after = std::lower_bound(bars_.begin(), bars_.end(), day,
                                        [](const PriceBar& bar, double d) { return bar.day < d; });
    if (after == bars_.begin())
        return 0;
    if (after == bars_.end())
        return bars_.size() - 1;
    const auto before = after - 1;
    const auto index = static_cast<std::size_t>(after - bars_.begin());
    return day - before->day <= after->day - day ? index - 1 : index;
}

std::pair<std::size_t, std::size_t> ChartSeries::BarsBetween(double firstDay, double lastDay) const {
    const auto first = std::lower_bound(bars_.begin(), bars_.end(), firstDay,
                                        [](const PriceBar& bar, double d) { return bar.day < d; });
    const auto last = std::upper_bound(first, bars_.end(), lastDay,
                                       [](double d, const PriceBar& bar) { return d < bar.day; });
    return {static_cast<std::size_t>(first - bars_.begin()), static_cast<std::size_t>(last - bars_.begin())};
}

std::string ShortNumber(double value) {
    if (value == std::trunc(value) && std::fabs(value) < 1e15)
        return FormatInteger(static_cast<std::int64_t>(value));
    std::array<char, 400> buffer{};
    const auto [end, error] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed);
    return error == std::errc() ? std::string(buffer.data(), end) : std::string();
}

std::string CrosshairText(const PriceBar& bar) {
    return DateNumberToStored(bar.date) + "  O " + ShortNumber(bar.open) + "  H " + ShortNumber(bar.high) +
           "  L " + ShortNumber(bar.low) + "  C " + ShortNumber(bar.close) + "  V " + ShortNumber(bar.volume);
}

} // namespace tessaly
