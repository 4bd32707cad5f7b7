#pragma once

#include <cstdint>

namespace tessaly::metastock {

// MetaStock files store every integer little-endian, whatever the host.
inline std::uint16_t ReadU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::uint32_t ReadU32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

inline void WriteU16(std::uint8_t* p, std::uint16_t value) {
    p[0] = static_cast<std::uint8_t>(value & 0xFF);
    p[1] = static_cast<std::uint8_t>(value >> 8);
}

inline void WriteU32(std::uint8_t* p, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF);
}

} // namespace tessaly::metastock
