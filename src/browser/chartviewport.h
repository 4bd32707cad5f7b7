#pragma once

#include "browser/chartseries.h"

namespace tessaly {

// A span of the chart's date axis, in days since 1 January 1970 (fractions allowed).
struct DayRange {
    double first = 0;
    double last = 0;
    double Span() const { return last - first; }
    bool operator==(const DayRange&) const = default;
};

// The date range a price chart shows and what the mouse does to it: the wheel zooms around the
// day under the pointer, dragging pans, a double-click fits the whole series. The range never
// leaves the series and never gets narrower than a few bars.
class ChartViewport {
public:
    // Takes the extent and bar spacing of `series` and fits it.
    void SetSeries(const ChartSeries& series);
    void Fit() { range_ = fit_; }
    // factor below 1 zooms in, above 1 zooms out; `anchorDay` stays where it is on the screen.
    void Zoom(double factor, double anchorDay);
    // Moves the range by `days` (positive: later dates).
    void Pan(double days);
    // Pans just enough to bring `day` into view, with a bar's margin.
    void Reveal(double day);

    DayRange Range() const { return range_; }
    DayRange FitRange() const { return fit_; }
    double MinimumSpan() const { return minimumSpan_; }
    bool IsFitted() const { return range_ == fit_; }

    // Screen arithmetic over a plot `width` pixels wide starting at x 0.
    double DayToX(double day, double width) const;
    double XToDay(double x, double width) const;

private:
    void Clamp();

    DayRange fit_{0, 1};
    DayRange range_{0, 1};
    double minimumSpan_ = 1;
    double spacing_ = 1;
};

} // namespace tessaly
