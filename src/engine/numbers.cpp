#include "engine/numbers.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace tessaly {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Length of the numeric prefix of text starting at `start`, 0 when there is none.
std::size_t NumericPrefixLength(std::string_view text, std::size_t start) {
    std::size_t i = start;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        std::size_t j = i + 1;
        std::size_t fraction = 0;
        while (j < text.size() && IsDigit(text[j])) {
            ++j;
            ++fraction;
        }
        if (digits + fraction > 0) {
            i = j;
            digits += fraction;
        }
    }
    if (digits == 0)
        return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j]))
                ++j;
            i = j;
        }
    }
    return i - start;
}

std::size_t SkipBlanks(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    return i;
}

} // namespace

double ReadDecimal(std::string_view text) {
    const std::size_t start = SkipBlanks(text);
    const std::size_t length = NumericPrefixLength(text, start);
    if (length == 0)
        return 0.0;
    std::string_view number = text.substr(start, length);
    if (number.front() == '+')
        number.remove_prefix(1);
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // from_chars leaves the value alone on overflow; the prefix rule of strtod gives +-HUGE_VAL or 0.
        std::string copy(number);
        return std::strtod(copy.c_str(), nullptr);
    }
    return value;
}

std::int64_t ReadInteger(std::string_view text) {
    std::size_t i = SkipBlanks(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    constexpr std::int64_t limit = std::numeric_limits<std::int64_t>::max();
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        const int digit = text[i] - '0';
        if (value > (limit - digit) / 10)
            return negative ? std::numeric_limits<std::int64_t>::min() : limit;
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

bool StartsWithNumber(std::string_view text) {
    return NumericPrefixLength(text, SkipBlanks(text)) > 0;
}

std::string FormatInteger(std::int64_t value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string FormatPrice(double value) {
    char buffer[64];
    const int length = std::snprintf(buffer, sizeof buffer, "%.2f", value);
    if (length < 0)
        return "0.00";
    if (static_cast<std::size_t>(length) < sizeof buffer)
        return std::string(buffer, static_cast<std::size_t>(length));
    std::string large(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(large.data(), large.size(), "%.2f", value);
    large.resize(static_cast<std::size_t>(length));
    return large;
}

} // namespace tessaly
