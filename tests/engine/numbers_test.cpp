#include "engine/numbers.h"

#include <gtest/gtest.h>

#include <limits>

namespace tessaly {
namespace {

struct DecimalCase {
    const char* text;
    double value;
};

void PrintTo(const DecimalCase& c, std::ostream* out) {
    *out << c.text;
}

class ReadDecimalTest : public testing::TestWithParam<DecimalCase> {};

TEST_P(ReadDecimalTest, TakesTheLongestNumericPrefix) {
    EXPECT_DOUBLE_EQ(ReadDecimal(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Texts, ReadDecimalTest,
                         testing::Values(DecimalCase{"12.50", 12.5}, DecimalCase{"  -3.25abc", -3.25},
                                         DecimalCase{"+7", 7}, DecimalCase{".5", 0.5}, DecimalCase{"5.", 5},
                                         DecimalCase{"1e3", 1000}, DecimalCase{"1e", 1},
                                         DecimalCase{"1.5E-1x", 0.15}, DecimalCase{"abc", 0},
                                         DecimalCase{"", 0}, DecimalCase{"-", 0}, DecimalCase{".", 0},
                                         DecimalCase{"N/A", 0}, DecimalCase{"nan", 0}, DecimalCase{"inf", 0},
                                         DecimalCase{"0x10", 0}, DecimalCase{"712345.67", 712345.67}));

TEST(ReadIntegerTest, TakesSignAndDigits) {
    EXPECT_EQ(ReadInteger("4821300"), 4821300);
    EXPECT_EQ(ReadInteger(" -12.9"), -12);
    EXPECT_EQ(ReadInteger("12,000"), 12);
    EXPECT_EQ(ReadInteger("x1"), 0);
    EXPECT_EQ(ReadInteger("12345678901"), 12345678901);
    EXPECT_EQ(ReadInteger("99999999999999999999999"), std::numeric_limits<std::int64_t>::max());
}

TEST(FormatTest, WritesAsPrintfWould) {
    EXPECT_EQ(FormatInteger(0), "0");
    EXPECT_EQ(FormatInteger(-42), "-42");
    EXPECT_EQ(FormatInteger(12345678901), "12345678901");
    EXPECT_EQ(FormatPrice(12.5), "12.50");
    EXPECT_EQ(FormatPrice(0.005), "0.01");
    EXPECT_EQ(FormatPrice(712345.67), "712345.67");
    EXPECT_EQ(FormatPrice(-1.234), "-1.23");
}

TEST(StartsWithNumberTest, TellsNumbersFromText) {
    EXPECT_TRUE(StartsWithNumber(" 1"));
    EXPECT_TRUE(StartsWithNumber("-.5"));
    EXPECT_FALSE(StartsWithNumber("N/A"));
    EXPECT_FALSE(StartsWithNumber("-"));
}

} // namespace
} // namespace tessaly
