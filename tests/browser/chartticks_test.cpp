#include "browser/chartticks.h"
#include "engine/datenumber.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

using tessaly::ChooseDateTicks;
using tessaly::ChoosePriceTicks;
using tessaly::DayRange;

namespace {

double Day(int year, unsigned month, unsigned day) {
    using namespace std::chrono;
    return static_cast<double>(sys_days(std::chrono::year(year) / month / day).time_since_epoch().count());
}

std::vector<std::string> Labels(const std::vector<tessaly::DateTick>& ticks) {
    std::vector<std::string> labels;
    for (const auto& tick : ticks)
        labels.push_back(tick.label);
    return labels;
}

struct PriceCase {
    double low;
    double high;
    int maxCount;
    std::vector<double> expected;
    int decimals;
};

class PriceTicksTest : public testing::TestWithParam<PriceCase> {};

TEST_P(PriceTicksTest, ChoosesRoundSteps) {
    const auto ticks = ChoosePriceTicks(GetParam().low, GetParam().high, GetParam().maxCount);
    ASSERT_EQ(ticks.values.size(), GetParam().expected.size());
    for (std::size_t i = 0; i < ticks.values.size(); ++i)
        EXPECT_NEAR(ticks.values[i], GetParam().expected[i], 1e-9);
    EXPECT_EQ(ticks.decimals, GetParam().decimals);
    EXPECT_LE(static_cast<int>(ticks.values.size()), GetParam().maxCount + 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, PriceTicksTest,
                         testing::Values(PriceCase{0, 100, 5, {0, 20, 40, 60, 80, 100}, 0},
                                         PriceCase{12.3, 13.1, 4, {12.4, 12.6, 12.8, 13.0}, 1},
                                         PriceCase{1.0712, 1.0791, 4, {1.0720, 1.0740, 1.0760, 1.0780}, 3},
                                         PriceCase{-3, 7, 2, {0, 5}, 0},
                                         PriceCase{95, 2100, 4, {1000, 2000}, 0}, PriceCase{5, 5, 4, {}, 0},
                                         PriceCase{7, 3, 4, {}, 0}, PriceCase{0, 1, 0, {}, 0}));

TEST(PriceTicksTest, EndsForHugeValuesWithATinyRange) {
    const auto ticks = ChoosePriceTicks(1e15, 1e15 + 0.125, 5);
    EXPECT_LE(ticks.values.size(), 7U);
    for (std::size_t i = 1; i < ticks.values.size(); ++i)
        EXPECT_GT(ticks.values[i], ticks.values[i - 1]);
}

TEST(PriceTicksTest, FormatsWithTheStepsDecimals) {
    EXPECT_EQ(tessaly::FormatTick(12.4, 1), "12.4");
    EXPECT_EQ(tessaly::FormatTick(1.072, 3), "1.072");
    EXPECT_EQ(tessaly::FormatTick(-1e-12, 2), "0.00");
    EXPECT_EQ(tessaly::FormatTick(1500, 0), "1500");
}

struct DateCase {
    const char* name;
    DayRange range;
    int maxCount;
    std::vector<std::string> expected;
};

class DateTicksTest : public testing::TestWithParam<DateCase> {};

TEST_P(DateTicksTest, AlignsToTheCalendar) {
    EXPECT_EQ(Labels(ChooseDateTicks(GetParam().range, GetParam().maxCount)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DateTicksTest,
    testing::Values(
        DateCase{"Days",
                 {Day(2005, 1, 3), Day(2005, 1, 7)},
                 10,
                 {"3-Jan-05", "4-Jan-05", "5-Jan-05", "6-Jan-05", "7-Jan-05"}},
        DateCase{"Mondays",
                 {Day(2005, 1, 1), Day(2005, 1, 31)},
                 6,
                 {"3-Jan-05", "10-Jan-05", "17-Jan-05", "24-Jan-05", "31-Jan-05"}},
        DateCase{"Months",
                 {Day(2004, 11, 15), Day(2005, 4, 15)},
                 6,
                 {"Dec-04", "Jan-05", "Feb-05", "Mar-05", "Apr-05"}},
        DateCase{
            "Quarters", {Day(2004, 12, 1), Day(2005, 12, 31)}, 5, {"Jan-05", "Apr-05", "Jul-05", "Oct-05"}},
        DateCase{"Years", {Day(2001, 6, 1), Day(2005, 6, 1)}, 6, {"2002", "2003", "2004", "2005"}},
        DateCase{"Decades", {Day(1976, 3, 1), Day(2026, 1, 1)}, 6, {"1980", "1990", "2000", "2010", "2020"}},
        DateCase{"Nothing", {Day(2005, 1, 3), Day(2005, 1, 3)}, 6, {}},
        DateCase{"NoRoom", {Day(2005, 1, 3), Day(2006, 1, 3)}, 0, {}}),
    [](const testing::TestParamInfo<DateCase>& info) { return info.param.name; });

TEST(DateTicksTest, NeverExceedsAboutTheCountAskedFor) {
    for (int maxCount : {1, 3, 8, 15})
        for (double span : {3.0, 40.0, 400.0, 4000.0, 18000.0}) {
            const auto ticks = ChooseDateTicks({Day(1980, 2, 10), Day(1980, 2, 10) + span}, maxCount);
            EXPECT_LE(static_cast<int>(ticks.size()), maxCount + 1) << maxCount << " " << span;
        }
}

} // namespace
