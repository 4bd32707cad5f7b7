#include "engine/progress.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

namespace tessaly {
namespace {

struct PercentCase {
    std::int64_t position;
    int lower;
    int upper;
    int percent;
};

class ProgressPercentTest : public testing::TestWithParam<PercentCase> {};

TEST_P(ProgressPercentTest, StaysWithinTheRange) {
    const PercentCase& c = GetParam();
    EXPECT_EQ(ProgressPercent(c.position, c.lower, c.upper), c.percent);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProgressPercentTest,
    testing::Values(PercentCase{2, 0, 250, 0}, PercentCase{3, 0, 250, 1}, PercentCase{250, 0, 250, 100},
                    PercentCase{5, 0, 0, 0},                     // an empty range never shows a percentage
                    PercentCase{5, 10, 3, 0},                    // nor does a reversed one
                    PercentCase{300, 0, 250, 100},               // beyond the end
                    PercentCase{-7, 0, 250, 0},                  // before the start
                    PercentCase{60, 50, 70, 50},                 // counted from the lower bound
                    PercentCase{INT_MAX, INT_MIN, INT_MAX, 100}, // no overflow in the span
                    PercentCase{0, INT_MIN, INT_MAX, 50}, PercentCase{INT64_MAX, 0, INT_MAX, 100},
                    PercentCase{21474836, 0, INT_MAX, 0}, PercentCase{21474837, 0, INT_MAX, 1}));

} // namespace
} // namespace tessaly
