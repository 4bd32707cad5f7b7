#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tessaly {

// Numbers inside files and requests are read by their longest numeric prefix: leading blanks are
// skipped, then an optional sign, digits, an optional decimal point with digits and an optional
// exponent. Whatever follows is ignored; text that does not start with a number reads as 0.
double ReadDecimal(std::string_view text);
// The same rule for whole numbers (sign and digits only). Saturates instead of overflowing.
std::int64_t ReadInteger(std::string_view text);
// True when text starts (after blanks) with a number as ReadDecimal reads it.
bool StartsWithNumber(std::string_view text);

// Plain decimal, as "%d".
std::string FormatInteger(std::int64_t value);
// Exactly two decimals, as "%.2f".
std::string FormatPrice(double value);

} // namespace tessaly
