#pragma once

#include "engine/clock.h"
#include "support/scriptedmessageboxes.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace tessaly::test {

// Today is 11 Dec 2026 in these tests, so "10-Dec-26" is in this century.
inline std::shared_ptr<const Clock> TestClock() {
    using namespace std::chrono;
    return std::make_shared<FixedClock>(year_month_day{year{2026}, month{12}, day{11}});
}

inline std::vector<std::uint8_t> Bytes(const std::string& text) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

// A little-endian u16 or u32 at `offset` of a file's bytes.
inline std::uint32_t U16At(const std::string& bytes, std::size_t offset) {
    return static_cast<std::uint8_t>(bytes.at(offset)) | static_cast<std::uint8_t>(bytes.at(offset + 1)) << 8;
}
inline std::uint32_t U32At(const std::string& bytes, std::size_t offset) {
    return U16At(bytes, offset) | U16At(bytes, offset + 2) << 16;
}

// Bytes written out: "00 00 00 81".
inline std::string Hex(const std::string& bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        if (!out.empty())
            out += ' ';
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

} // namespace tessaly::test
