#pragma once

#include "engine/datenumber.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// One record of a security data file as the price chart draws it.
struct PriceBar {
    DateNumber date = 0;
    // Days since 1 January 1970: the position of the bar on the chart's date axis.
    int day = 0;
    double open = 0;
    double high = 0;
    double low = 0;
    double close = 0;
    double volume = 0;
    // The record's row in the data display, so a bar and its row find each other.
    int row = 0;
};

// The date number of a record's date field, strictly read: a stored date (5-Jan-05) or an ISO date
// (2005-01-05) of a real calendar day; 0 for anything else.
DateNumber ParseChartDate(std::string_view text);
// A whole field that is a finite decimal number (blanks around it allowed); nullopt otherwise.
std::optional<double> ParseChartNumber(std::string_view text);

// The bars of one security, oldest first. A record the chart cannot use (too few fields, a field
// that is not a number, a date that does not parse) is left out and counted, never drawn as 0.
class ChartSeries {
public:
    // Adds the record shown in `row`, given by its fields (date, open, high, low, close, volume).
    // False when the record was left out.
    bool AddRecord(int row, std::span<const std::string_view> fields);
    // Puts the bars in date order; call once after the last AddRecord.
    void Finish();
    void Clear();

    const std::vector<PriceBar>& Bars() const { return bars_; }
    bool Empty() const { return bars_.empty(); }
    std::size_t Size() const { return bars_.size(); }
    int SkippedCount() const { return skipped_; }

    // The index of the bar of data display row `row`; nullopt when that row was left out.
    std::optional<std::size_t> IndexOfRow(int row) const;
    // The index of the bar nearest to `day`; nullopt for an empty series.
    std::optional<std::size_t> NearestBar(double day) const;
    // The bars whose day lies in [firstDay, lastDay], as a half-open index range.
    std::pair<std::size_t, std::size_t> BarsBetween(double firstDay, double lastDay) const;
    // The usual number of days from one bar to the next (1 for daily data, 7 for weekly...).
    int TypicalSpacing() const { return spacing_; }

private:
    std::vector<PriceBar> bars_;
    std::vector<std::size_t> indexOfRow_;
    int skipped_ = 0;
    int spacing_ = 1;
};

// What the crosshair shows of a bar: "5-Jan-05  O 1.25  H 2  L 0.5  C 1.5  V 100".
std::string CrosshairText(const PriceBar& bar);
// A number in the shortest form that reads back as the same value (1.5, 12.25, 100).
std::string ShortNumber(double value);

} // namespace tessaly
