#include "browser/chartseries.h"
#include "engine/clock.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using tessaly::ChartSeries;
using tessaly::DateNumber;

namespace {

std::vector<std::string_view> Split(std::string_view line) {
    std::vector<std::string_view> fields;
    while (true) {
        const auto comma = line.find(',');
        fields.push_back(line.substr(0, comma));
        if (comma == std::string_view::npos)
            return fields;
        line.remove_prefix(comma + 1);
    }
}

ChartSeries SeriesOf(const std::vector<std::string>& lines) {
    ChartSeries series;
    for (std::size_t row = 0; row < lines.size(); ++row)
        series.AddRecord(static_cast<int>(row), Split(lines[row]));
    series.Finish();
    return series;
}

struct DateCase {
    const char* text;
    DateNumber expected;
};

class ChartDateTest : public testing::TestWithParam<DateCase> {};

TEST_P(ChartDateTest, ReadsOnlyRealDates) {
    using namespace std::chrono;
    tessaly::ScopedClock clock(std::make_shared<tessaly::FixedClock>(year(2026) / January / 15));
    EXPECT_EQ(tessaly::ParseChartDate(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Dates, ChartDateTest,
                         testing::Values(DateCase{"5-Jan-05", 20050105}, DateCase{"28-Feb-99", 19990228},
                                         DateCase{"31-Dec-26", 20261231}, DateCase{"1-Jan-27", 19270101},
                                         DateCase{" 5-Jan-05\r", 20050105}, DateCase{"2005-01-05", 20050105},
                                         DateCase{"29-Feb-04", 20040229}, DateCase{"29-Feb-05", 0},
                                         DateCase{"31-Apr-05", 0}, DateCase{"5-jan-05", 0},
                                         DateCase{"5-Foo-05", 0}, DateCase{"5-Jan-2005", 0}, DateCase{"0", 0},
                                         DateCase{"", 0}, DateCase{"x-Jan-05", 0}, DateCase{"2005-13-01", 0},
                                         DateCase{"2005-1-05", 0}, DateCase{"Date", 0}));

TEST(ChartNumberTest, TakesWholeNumericFieldsOnly) {
    EXPECT_EQ(tessaly::ParseChartNumber("12.5"), 12.5);
    EXPECT_EQ(tessaly::ParseChartNumber(" +3 "), 3.0);
    EXPECT_EQ(tessaly::ParseChartNumber("-0.25"), -0.25);
    EXPECT_EQ(tessaly::ParseChartNumber("1e3"), 1000.0);
    for (const char* bad : {"", " ", "12abc", "abc", "N/A", "1,5", "nan", "inf", "1e999", "--1"})
        EXPECT_FALSE(tessaly::ParseChartNumber(bad).has_value()) << bad;
}

TEST(ChartSeriesTest, LeavesOutRecordsItCannotDrawAndCountsThem) {
    const ChartSeries series = SeriesOf({
        "3-Jan-05,1,2,0.5,1.5,100,1.5", // row 0: drawn
        "4-Jan-05,1,2,0.5,,100,1.5",    // missing close
        "5-Jan-05,1,2,0.5,null,100",    // non-numeric close
        "6-Jan-05,1,2,0.5",             // too few fields
        "Jan 7 2005,1,2,0.5,1.5,100",   // date that does not parse
        "",                             // empty line
        "8-Jan-05,1,1e300,0.5,1.5,100", // beyond any price
        "10-Jan-05,2,3,1.5,2.5,0,2.5",  // row 7: drawn, volume 0 is a real value
    });
    ASSERT_EQ(series.Size(), 2U);
    EXPECT_EQ(series.SkippedCount(), 6);
    EXPECT_EQ(series.Bars()[0].close, 1.5);
    EXPECT_EQ(series.Bars()[1].row, 7);
    EXPECT_EQ(series.Bars()[1].volume, 0.0);
    EXPECT_EQ(series.IndexOfRow(7), 1U);
    for (int row : {-1, 1, 2, 5, 6, 8, 1000})
        EXPECT_FALSE(series.IndexOfRow(row).has_value()) << row;
    EXPECT_EQ(series.Bars()[1].day - series.Bars()[0].day, 7);
}

TEST(ChartSeriesTest, OrdersBarsByDateAndKeepsTheirRows) {
    const ChartSeries series = SeriesOf({"5-Jan-05,1,1,1,3,0", "3-Jan-05,1,1,1,1,0", "4-Jan-05,1,1,1,2,0"});
    ASSERT_EQ(series.Size(), 3U);
    EXPECT_EQ(series.Bars()[0].date, 20050103);
    EXPECT_EQ(series.Bars()[0].row, 1);
    EXPECT_EQ(series.Bars()[2].row, 0);
    EXPECT_EQ(series.IndexOfRow(0), 2U);
}

TEST(ChartSeriesTest, FindsNearestBarsAndRanges) {
    // Monday, Tuesday, then the next Monday.
    const ChartSeries series = SeriesOf({"3-Jan-05,1,1,1,1,0", "4-Jan-05,1,1,1,1,0", "10-Jan-05,1,1,1,1,0"});
    const int monday = series.Bars()[0].day;
    EXPECT_EQ(series.NearestBar(monday - 100), 0U);
    EXPECT_EQ(series.NearestBar(monday + 1.4), 1U);
    EXPECT_EQ(series.NearestBar(monday + 4), 1U);
    EXPECT_EQ(series.NearestBar(monday + 4.6), 2U);
    EXPECT_EQ(series.NearestBar(monday + 100), 2U);
    EXPECT_EQ(series.BarsBetween(monday + 0.5, monday + 7), (std::pair<std::size_t, std::size_t>{1, 3}));
    EXPECT_EQ(series.BarsBetween(monday + 2, monday + 6), (std::pair<std::size_t, std::size_t>{2, 2}));
    EXPECT_FALSE(ChartSeries().NearestBar(0).has_value());
}

TEST(ChartSeriesTest, TellsTheUsualSpacing) {
    EXPECT_EQ(
        SeriesOf({"3-Jan-05,1,1,1,1,0", "4-Jan-05,1,1,1,1,0", "5-Jan-05,1,1,1,1,0", "10-Jan-05,1,1,1,1,0"})
            .TypicalSpacing(),
        1);
    EXPECT_EQ(SeriesOf({"3-Jan-05,1,1,1,1,0", "10-Jan-05,1,1,1,1,0", "17-Jan-05,1,1,1,1,0"}).TypicalSpacing(),
              7);
    EXPECT_EQ(SeriesOf({"3-Jan-05,1,1,1,1,0"}).TypicalSpacing(), 1);
}

TEST(ChartSeriesTest, CrosshairTextShowsTheRecordsValues) {
    const ChartSeries series = SeriesOf({"5-Jan-05,1.25,2,0.5,1.5,123456789,1.5"});
    EXPECT_EQ(tessaly::CrosshairText(series.Bars()[0]), "5-Jan-05  O 1.25  H 2  L 0.5  C 1.5  V 123456789");
    EXPECT_EQ(tessaly::ShortNumber(1.2345), "1.2345");
    EXPECT_EQ(tessaly::ShortNumber(0.0001), "0.0001");
    EXPECT_EQ(tessaly::ShortNumber(-3), "-3");
}

} // namespace
