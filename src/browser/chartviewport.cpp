#include "browser/chartviewport.h"

#include <algorithm>

namespace tessaly {

namespace {
// The narrowest view shows this many bars.
constexpr double kMinimumBars = 10;
} // namespace

void ChartViewport::SetSeries(const ChartSeries& series) {
    spacing_ = series.TypicalSpacing();
    minimumSpan_ = kMinimumBars * spacing_;
    if (series.Empty()) {
        fit_ = {0, minimumSpan_};
    } else {
        // Half a bar of room on either side keeps the first and last candles whole.
        fit_ = {series.Bars().front().day - spacing_ / 2, series.Bars().back().day + spacing_ / 2};
        if (fit_.Span() < minimumSpan_) {
            const double middle = (fit_.first + fit_.last) / 2;
            fit_ = {middle - minimumSpan_ / 2, middle + minimumSpan_ / 2};
        }
    }
    range_ = fit_;
}

void ChartViewport::Zoom(double factor, double anchorDay) {
    if (!(factor > 0))
        return;
    const double span = std::clamp(range_.Span() * factor, minimumSpan_, fit_.Span());
    const double share = range_.Span() > 0 ? (anchorDay - range_.first) / range_.Span() : 0.5;
    range_.first = anchorDay - share * span;
    range_.last = range_.first + span;
    Clamp();
}

void ChartViewport::Pan(double days) {
    range_.first += days;
    range_.last += days;
    Clamp();
}

void ChartViewport::Reveal(double day) {
    if (day - spacing_ < range_.first)
        Pan(day - spacing_ - range_.first);
    else if (day + spacing_ > range_.last)
        Pan(day + spacing_ - range_.last);
}

void ChartViewport::Clamp() {
    const double span = std::min(range_.Span(), fit_.Span());
    if (range_.first < fit_.first)
        range_.first = fit_.first;
    if (range_.first + span > fit_.last)
        range_.first = fit_.last - span;
    range_.last = range_.first + span;
}

double ChartViewport::DayToX(double day, double width) const {
    return (day - range_.first) / range_.Span() * width;
}

double ChartViewport::XToDay(double x, double width) const {
    return width > 0 ? range_.first + x / width * range_.Span() : range_.first;
}

} // namespace tessaly
