#include "convert/littleendian.h"
#include "convert/mbf.h"
#include "convert/metastockdates.h"
#include "metastock_support.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

namespace tessaly {
namespace {

using namespace metastock;

std::string MbfBytes(float value) {
    std::string bytes(4, '\0');
    WriteMbf(reinterpret_cast<std::uint8_t*>(bytes.data()), value);
    return test::Hex(bytes);
}

struct MbfCase {
    float value;
    const char* bytes;
};

class MbfBytesTest : public testing::TestWithParam<MbfCase> {};

TEST_P(MbfBytesTest, WritesTheFileBytesAndReadsThemBack) {
    const MbfCase& c = GetParam();
    EXPECT_EQ(MbfBytes(c.value), c.bytes);
    EXPECT_EQ(MbfToIeee(IeeeToMbf(c.value)), c.value);
}

INSTANTIATE_TEST_SUITE_P(Values, MbfBytesTest,
                         testing::Values(MbfCase{1.0f, "00 00 00 81"}, MbfCase{0.0f, "00 00 00 00"},
                                         MbfCase{1050228.0f, "A0 33 00 95"},
                                         MbfCase{991231.0f, "F0 FF 71 94"},
                                         MbfCase{1261210.0f, "D0 F4 19 95"}, MbfCase{48213.0f, "00 55 3C 90"},
                                         MbfCase{10.0f, "00 00 20 84"}, MbfCase{-1.0f, "00 00 80 81"}));

TEST(MbfTest, NeverWraps) {
    EXPECT_EQ(IeeeToMbf(std::numeric_limits<float>::quiet_NaN()), 0u);
    EXPECT_EQ(IeeeToMbf(std::numeric_limits<float>::infinity()), 0u);
    EXPECT_EQ(IeeeToMbf(-std::numeric_limits<float>::infinity()), 0u);
    EXPECT_EQ(IeeeToMbf(-0.0f), 0u);
    EXPECT_EQ(IeeeToMbf(std::numeric_limits<float>::denorm_min()), 0u);
    // Beyond the MBF range: the largest value, sign kept.
    EXPECT_EQ(IeeeToMbf(FLT_MAX), 0xFF7FFFFFu);
    EXPECT_EQ(IeeeToMbf(-FLT_MAX), 0xFFFFFFFFu);
    EXPECT_TRUE(std::isfinite(MbfToIeee(0xFF7FFFFFu)));
    EXPECT_GT(MbfToIeee(0xFF7FFFFFu), 1e38f);
    // Exponent bytes 0 to 2 read as 0, whatever the mantissa.
    for (std::uint32_t exponent : {0u, 1u, 2u})
        EXPECT_EQ(MbfToIeee(exponent << 24 | 0x7FFFFF), 0.0f) << exponent;
    EXPECT_EQ(MbfToIeee(3u << 24), std::ldexp(1.0f, -126));
}

TEST(MetaStockDatesTest, ShortAndLongForms) {
    EXPECT_EQ(ShortDate(20050228), 1050228);
    EXPECT_EQ(ShortDate(19991231), 991231);
    EXPECT_EQ(ShortDate(991231), 991231);
    EXPECT_EQ(LongDate(1050228), 20050228);
    EXPECT_EQ(LongDate(991231), 19991231);
    EXPECT_EQ(LongDate(20050228), 20050228);
    EXPECT_EQ(DateFromFloat(1050228.9f), 1050228);
    EXPECT_EQ(DateFromFloat(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(DateFromFloat(1e30f), 0);
    EXPECT_EQ(DateFromFloat(-1e30f), 0);
}

TEST(LittleEndianTest, WritesLowByteFirst) {
    std::uint8_t bytes[4];
    WriteU32(bytes, 0x01020304);
    EXPECT_EQ(bytes[0], 4);
    EXPECT_EQ(bytes[3], 1);
    EXPECT_EQ(ReadU32(bytes), 0x01020304u);
    WriteU16(bytes, 0xABCD);
    EXPECT_EQ(bytes[0], 0xCD);
    EXPECT_EQ(ReadU16(bytes), 0xABCD);
}

} // namespace
} // namespace tessaly
