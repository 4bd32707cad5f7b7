#pragma once

#include <string_view>

namespace tessaly {

// The product version 1.07.600, and the same written as digits without the points.
inline constexpr std::string_view kVersionText = "1.07.600";
inline constexpr int kProductVersion = 107600;
inline constexpr std::string_view kApplicationTitle = "Tessaly";

} // namespace tessaly
