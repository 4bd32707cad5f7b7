#pragma once

#include <cstdint>

namespace tessaly::metastock {

// MetaStock dates: the long form YYYYMMDD, the short form YYYMMDD (the long one minus 19000000).
// Values below 10000000 are taken as short already.
std::int32_t ShortDate(std::int64_t date);
// Adds 19000000 to values up to 10000000 and leaves larger ones alone.
std::int32_t LongDate(std::int64_t date);
// A date held as a float, truncated to an integer; 0 for values no integer date can have.
std::int32_t DateFromFloat(float value);

} // namespace tessaly::metastock
