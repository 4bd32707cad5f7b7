#include "browser/chartviewport.h"
#include "engine/datenumber.h"

#include <gtest/gtest.h>

#include <string>

using tessaly::ChartSeries;
using tessaly::ChartViewport;
using tessaly::DayRange;

namespace {

// `count` daily bars from 3-Jan-05 on, weekends left out.
ChartSeries Daily(int count) {
    ChartSeries series;
    tessaly::DateNumber date = 20050103;
    for (int row = 0; row < count; date = tessaly::NextDay(date)) {
        if (tessaly::IsWeekend(date))
            continue;
        const std::string stored = tessaly::DateNumberToStored(date);
        const std::string_view fields[] = {stored, "1", "2", "0.5", "1.5", "100"};
        series.AddRecord(row++, fields);
    }
    series.Finish();
    return series;
}

TEST(ChartViewportTest, FitsTheSeriesWithHalfABarEachSide) {
    const ChartSeries series = Daily(100);
    ChartViewport viewport;
    viewport.SetSeries(series);
    const DayRange range = viewport.Range();
    EXPECT_DOUBLE_EQ(range.first, series.Bars().front().day - 0.5);
    EXPECT_DOUBLE_EQ(range.last, series.Bars().back().day + 0.5);
    EXPECT_TRUE(viewport.IsFitted());
}

TEST(ChartViewportTest, ShortOrEmptySeriesGetTheNarrowestView) {
    ChartViewport viewport;
    viewport.SetSeries(Daily(1));
    EXPECT_DOUBLE_EQ(viewport.Range().Span(), viewport.MinimumSpan());
    EXPECT_DOUBLE_EQ((viewport.Range().first + viewport.Range().last) / 2, Daily(1).Bars()[0].day);
    viewport.SetSeries(ChartSeries());
    EXPECT_GT(viewport.Range().Span(), 0);
}

struct ZoomCase {
    const char* name;
    double factor;
    double anchorShare; // where the anchor day lies in the fitted range, 0 to 1
    double expectedSpanShare;
};

class ChartZoomTest : public testing::TestWithParam<ZoomCase> {};

TEST_P(ChartZoomTest, KeepsTheAnchorAndTheLimits) {
    const ChartSeries series = Daily(1000);
    ChartViewport viewport;
    viewport.SetSeries(series);
    const DayRange fit = viewport.Range();
    const double anchor = fit.first + GetParam().anchorShare * fit.Span();
    viewport.Zoom(GetParam().factor, anchor);
    const DayRange range = viewport.Range();
    EXPECT_NEAR(range.Span(), std::max(GetParam().expectedSpanShare * fit.Span(), viewport.MinimumSpan()),
                1e-6);
    EXPECT_GE(range.first, fit.first - 1e-9);
    EXPECT_LE(range.last, fit.last + 1e-9);
    if (GetParam().factor < 1 && range.Span() > viewport.MinimumSpan()) {
        EXPECT_NEAR((anchor - range.first) / range.Span(), GetParam().anchorShare, 1e-9);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ChartZoomTest,
                         testing::Values(ZoomCase{"InAtMiddle", 0.5, 0.5, 0.5},
                                         ZoomCase{"InAtLeftEdge", 0.5, 0.0, 0.5},
                                         ZoomCase{"InNearRight", 0.25, 0.9, 0.25},
                                         ZoomCase{"OutStopsAtFit", 4.0, 0.3, 1.0},
                                         ZoomCase{"InStopsAtTenBars", 1e-6, 0.5, 0.0},
                                         ZoomCase{"BadFactorIgnored", -1.0, 0.5, 1.0}),
                         [](const testing::TestParamInfo<ZoomCase>& info) { return info.param.name; });

TEST(ChartViewportTest, PanStaysInsideTheSeriesAndFitRestores) {
    ChartViewport viewport;
    viewport.SetSeries(Daily(500));
    const DayRange fit = viewport.Range();
    viewport.Pan(100); // nothing to pan while everything is shown
    EXPECT_EQ(viewport.Range(), fit);
    viewport.Zoom(0.1, fit.first);
    const double span = viewport.Range().Span();
    viewport.Pan(30);
    EXPECT_DOUBLE_EQ(viewport.Range().first, fit.first + 30);
    viewport.Pan(1e6);
    EXPECT_DOUBLE_EQ(viewport.Range().last, fit.last);
    EXPECT_NEAR(viewport.Range().Span(), span, 1e-6);
    viewport.Pan(-1e6);
    EXPECT_DOUBLE_EQ(viewport.Range().first, fit.first);
    EXPECT_FALSE(viewport.IsFitted());
    viewport.Fit();
    EXPECT_TRUE(viewport.IsFitted());
}

TEST(ChartViewportTest, RevealBringsADayIntoView) {
    const ChartSeries series = Daily(500);
    ChartViewport viewport;
    viewport.SetSeries(series);
    viewport.Zoom(0.1, viewport.Range().first);
    const double late = series.Bars()[400].day;
    viewport.Reveal(late);
    EXPECT_LE(viewport.Range().first, late);
    EXPECT_GE(viewport.Range().last, late + 1);
    const DayRange shown = viewport.Range();
    viewport.Reveal(late - 5); // already visible: nothing moves
    EXPECT_EQ(viewport.Range(), shown);
}

TEST(ChartViewportTest, MapsDaysToPixelsAndBack) {
    ChartViewport viewport;
    viewport.SetSeries(Daily(100));
    const DayRange range = viewport.Range();
    EXPECT_DOUBLE_EQ(viewport.DayToX(range.first, 800), 0);
    EXPECT_DOUBLE_EQ(viewport.DayToX(range.last, 800), 800);
    EXPECT_NEAR(viewport.XToDay(viewport.DayToX(range.first + 17.25, 800), 800), range.first + 17.25, 1e-9);
}

} // namespace
