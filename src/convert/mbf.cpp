#include "convert/mbf.h"

#include "convert/littleendian.h"

#include <bit>
#include <cmath>

namespace tessaly::metastock {

std::uint32_t IeeeToMbf(float value) {
    if (!std::isfinite(value) || value == 0.0f)
        return 0;
    const auto bits = std::bit_cast<std::uint32_t>(value);
    const std::uint32_t sign = bits >> 31;
    const std::uint32_t exponent = (bits >> 23) & 0xFF;
    std::uint32_t mantissa = bits & 0x7FFFFF;
    if (exponent == 0)
        return 0; // subnormal: below the smallest MBF value
    std::uint32_t mbfExponent = exponent + 2;
    if (mbfExponent > 0xFF) {
        mbfExponent = 0xFF;
        mantissa = 0x7FFFFF;
    }
    return mbfExponent << 24 | sign << 23 | mantissa;
}

float MbfToIeee(std::uint32_t mbf) {
    const std::uint32_t exponent = mbf >> 24;
    if (exponent <= 2)
        return 0.0f;
    const std::uint32_t sign = (mbf >> 23) & 1;
    const std::uint32_t mantissa = mbf & 0x7FFFFF;
    return std::bit_cast<float>(sign << 31 | (exponent - 2) << 23 | mantissa);
}

void WriteMbf(std::uint8_t* out, float value) {
    WriteU32(out, IeeeToMbf(value));
}

float ReadMbf(const std::uint8_t* in) {
    return MbfToIeee(ReadU32(in));
}

void WriteIeee(std::uint8_t* out, float value) {
    WriteU32(out, std::bit_cast<std::uint32_t>(value));
}

float ReadIeee(const std::uint8_t* in) {
    return std::bit_cast<float>(ReadU32(in));
}

} // namespace tessaly::metastock
