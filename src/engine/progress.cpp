#include "engine/progress.h"

#include <algorithm>

namespace tessaly {

int ProgressPercent(std::int64_t position, int lower, int upper) {
    if (lower >= upper)
        return 0;
    // With 32-bit bounds the span and the clamped product stay far within 64 bits.
    const std::int64_t done = std::clamp<std::int64_t>(position, lower, upper) - lower;
    const std::int64_t span = static_cast<std::int64_t>(upper) - lower;
    return static_cast<int>(done * 100 / span);
}

} // namespace tessaly
