#include "convert/metastockdates.h"

#include <cmath>

namespace tessaly::metastock {

namespace {

std::int32_t Clamp(std::int64_t value) {
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<std::int32_t>(value);
}

} // namespace

std::int32_t ShortDate(std::int64_t date) {
    return Clamp(date >= 10000000 ? date - 19000000 : date);
}

std::int32_t LongDate(std::int64_t date) {
    return Clamp(date <= 10000000 ? date + 19000000 : date);
}

std::int32_t DateFromFloat(float value) {
    if (!std::isfinite(value) || value >= 2147483648.0f || value <= -2147483648.0f)
        return 0;
    return static_cast<std::int32_t>(value);
}

} // namespace tessaly::metastock
