#pragma once

#include "browser/chartviewport.h"

#include <string>
#include <vector>

namespace tessaly {

// Round values for the price axis: multiples of 1, 2 or 5 times a power of ten.
struct PriceTicks {
    std::vector<double> values;
    // Decimals that write every value exactly (0 for a step of 10, 2 for a step of 0.05).
    int decimals = 0;
};

// At most `maxCount` round values inside [low, high], evenly spaced; none for an empty or
// non-finite interval.
PriceTicks ChoosePriceTicks(double low, double high, int maxCount);
// A tick value written with `decimals` decimals.
std::string FormatTick(double value, int decimals);

struct DateTick {
    double day = 0;
    std::string label;
};

// Calendar-aligned ticks for the date axis of `range`: days, Mondays, months, quarters, years or
// decades, the finest kind that leaves about `maxCount` labels. Days and weeks read "5-Jan-05",
// months "Jan-05", years "2005".
std::vector<DateTick> ChooseDateTicks(DayRange range, int maxCount);

} // namespace tessaly
