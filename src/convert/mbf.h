#pragma once

#include <cstdint>

namespace tessaly::metastock {

// Microsoft Binary Format single precision, as MASTER and the data files hold prices and dates: as a
// little-endian 32-bit word, the mantissa in bits 0 to 22, the sign in bit 23 and the exponent in
// bits 24 to 31 (two above the IEEE exponent). The conversion never wraps: NaN and infinities give 0,
// magnitudes beyond the format's range its largest value, numbers below it 0; exponent bytes 0 to 2
// read as 0.
std::uint32_t IeeeToMbf(float value);
float MbfToIeee(std::uint32_t mbf);

void WriteMbf(std::uint8_t* out, float value);
float ReadMbf(const std::uint8_t* in);
// EMASTER holds its dates as plain IEEE singles.
void WriteIeee(std::uint8_t* out, float value);
float ReadIeee(const std::uint8_t* in);

} // namespace tessaly::metastock
