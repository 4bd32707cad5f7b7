#include "ui/draw.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>

using namespace tessaly;

namespace {

struct AdjustCase {
    ColorRef color;
    int lightness;
    int saturation;
    ColorRef expected;
};

class AdjustColorTest : public testing::TestWithParam<AdjustCase> {};

TEST_P(AdjustColorTest, WorkedOutByHand) {
    const AdjustCase& c = GetParam();
    EXPECT_EQ(AdjustColor(c.color, c.lightness, c.saturation), c.expected)
        << std::hex << c.color << " " << std::dec << c.lightness << " " << c.saturation;
}

// Grey 192: L 192; +20 -> 192 + 63*20/100 = 204; +75 -> 192 + 47 = 239; -18 -> 192*82/100 = 157.
// RGB(10,36,106): L 58, S 96*255/116 = 211, H (384+10-36)*255/576 = 158. With +70/-57: L 195, S 90;
// q = 195 + 90 - 195*90/255 = 217, p = 173; red hue 243 -> p, green hue 158 -> 173 + 44*72/255 = 185,
// blue hue 73 -> q.
// Grey with +50 saturation: S 127 at hue 0; q = 192 + 127 - 95 = 224, p = 160: a pale red.
// Pure red: L 127, S 255, q = 127*510/255 = 254, p 0; the truncation loses one step of red.
INSTANTIATE_TEST_SUITE_P(
    Colors, AdjustColorTest,
    testing::Values(AdjustCase{0xC0C0C0, 20, 0, 0xCCCCCC}, AdjustCase{0xC0C0C0, 75, 0, 0xEFEFEF},
                    AdjustCase{0xC0C0C0, -18, 0, 0x9D9D9D},
                    AdjustCase{0xC0C0C0, 0, 50, MakeColorRef(224, 160, 160)},
                    AdjustCase{MakeColorRef(10, 36, 106), 70, -57, MakeColorRef(173, 185, 217)},
                    AdjustCase{0x0000FF, 0, 0, 0x0000FE}, AdjustCase{0x0000FF, -50, 0, 0x00007E},
                    AdjustCase{0xFFFFFF, 75, 0, 0xFFFFFF}, AdjustCase{0x000000, -27, 0, 0x000000}));

TEST(HlsTest, ConvertsPrimariesAndGreys) {
    EXPECT_EQ(RgbToHls(0x808080), (Hls{0, 128, 0}));
    EXPECT_EQ(RgbToHls(0x0000FF), (Hls{0, 127, 255}));
    EXPECT_EQ(RgbToHls(0x00FF00), (Hls{85, 127, 255}));
    EXPECT_EQ(RgbToHls(0xFF0000), (Hls{170, 127, 255}));
    EXPECT_EQ(HlsToRgb({170, 127, 255}), 0xFE0000u);
    EXPECT_EQ(HlsToRgb({40, 90, 0}), 0x5A5A5Au);
}

TEST(GradientBandsTest, ThreeStepsGiveThreeBandsEndingAtTheRightEdge) {
    const std::vector<GradientBand> expected = {
        {10, 20, 0x000000}, {20, 30, MakeColorRef(1, 0, 0)}, {30, 40, MakeColorRef(2, 1, 0)}};
    EXPECT_EQ(GradientBands(10, 30, 0x000000, MakeColorRef(3, 2, 1)), expected);
}

TEST(GradientBandsTest, EqualColoursAreOnePlainFill) {
    EXPECT_EQ(GradientBands(5, 22, 0xABCDEF, 0xABCDEF), (std::vector<GradientBand>{{5, 27, 0xABCDEF}}));
    EXPECT_TRUE(GradientBands(5, 0, 0x000000, 0xFFFFFF).empty());
}

TEST(GradientBandsTest, MoreStepsThanPixelsCoverTheWidthOnce) {
    // The default strip: 75 steps of red over 30 pixels.
    const std::vector<GradientBand> bands = GradientBands(0, 30, 0xE4C4B4, 0xFFFFFF);
    ASSERT_EQ(bands.size(), 30u);
    // Bands 0 and 1 are narrower than a pixel: the first pixel shows step 2.
    EXPECT_EQ(bands.front(), (GradientBand{0, 1, MakeColorRef(182, 197, 228)}));
    for (std::size_t i = 1; i < bands.size(); ++i)
        EXPECT_EQ(bands[i].left, bands[i - 1].right);
    EXPECT_EQ(bands.back().right, 30);
    // Step 74 of 75: 180 + 74*75/75, 196 + 74*59/75, 228 + 74*27/75.
    EXPECT_EQ(bands.back().color, MakeColorRef(254, 254, 254));
}

TEST(GradientBandsTest, FallingComponentsAndStrayBitsAreHandled) {
    const std::vector<GradientBand> bands = GradientBands(0, 2, 0xFF000002, 0x00000000);
    EXPECT_EQ(bands, (std::vector<GradientBand>{{0, 1, 0x000002}, {1, 2, 0x000001}}));
}

TEST(ShadowTest, MenuShadowFadesAtTheCornersAndDarkensInward) {
    const int width = 40;
    const int height = 30;
    const std::vector<ShadowPixel> pixels = MenuShadowPixels(width, height);
    auto factorAt = [&](int x, int y) {
        const auto found = std::find_if(pixels.begin(), pixels.end(),
                                        [&](const ShadowPixel& p) { return p.x == x && p.y == y; });
        return found == pixels.end() ? 100 : found->factor;
    };
    // Right strip, mid-height: outer column 93 down to the inner column 78.
    EXPECT_EQ(factorAt(39, 15), 93);
    EXPECT_EQ(factorAt(38, 15), 88);
    EXPECT_EQ(factorAt(37, 15), 83);
    EXPECT_EQ(factorAt(36, 15), 78);
    // Bottom strip, mid-width: outer row 93 up to the inner row 78.
    EXPECT_EQ(factorAt(20, 29), 93);
    EXPECT_EQ(factorAt(20, 26), 78);
    // The strips start 4 pixels in and fade: the first rows of the right strip are light.
    EXPECT_EQ(factorAt(36, 4), 93);
    EXPECT_EQ(factorAt(36, 5), 88);
    EXPECT_EQ(factorAt(36, 6), 83);
    EXPECT_EQ(factorAt(37, 5), 88);
    EXPECT_EQ(factorAt(39, 5), 100);
    EXPECT_EQ(factorAt(39, 28), 100);
    EXPECT_EQ(factorAt(4, 27), 93);
    EXPECT_EQ(factorAt(4, 29), 100);
    // Nothing above the 4th row at the right or left of the 4th column at the bottom.
    for (const ShadowPixel& p : pixels) {
        EXPECT_GE(p.x, 4);
        EXPECT_GE(p.y, 4);
        EXPECT_TRUE(p.x >= width - 4 || p.y >= height - 4) << p.x << "," << p.y;
        EXPECT_TRUE(p.factor == 93 || p.factor == 88 || p.factor == 83 || p.factor == 78);
    }
    std::set<std::pair<int, int>> unique;
    for (const ShadowPixel& p : pixels)
        EXPECT_TRUE(unique.insert({p.x, p.y}).second) << p.x << "," << p.y;
}

TEST(ShadowTest, NothingIsWrittenOutsideTheRectangle) {
    for (const auto& [width, height] : {std::pair{1, 1}, {3, 50}, {50, 3}, {8, 8}, {12, 9}}) {
        for (const ShadowPixel& p : MenuShadowPixels(width, height)) {
            EXPECT_TRUE(p.x >= 0 && p.x < width && p.y >= 0 && p.y < height) << width << "x" << height;
        }
    }
    const std::vector<ShadowPixel> item = OpenItemShadowPixels(4, 20);
    ASSERT_FALSE(item.empty());
    int lowest = 0;
    for (const ShadowPixel& p : item) {
        EXPECT_TRUE(p.x >= 0 && p.x < 4 && p.y >= 4 && p.y < 20) << p.x << "," << p.y;
        lowest = std::max(lowest, p.y);
    }
    EXPECT_EQ(lowest, 19);
}

TEST(ShadowTest, DarkenKeepsThePercent) {
    EXPECT_EQ(DarkenColor(MakeColorRef(200, 100, 0), 78), MakeColorRef(156, 78, 0));
    EXPECT_EQ(DarkenColor(0xFFFFFF, 93), MakeColorRef(237, 237, 237));
}

TEST(MenuColorsTest, DerivedFromButtonFaceAndHighlight) {
    const MenuColors colors = MenuColorsFrom(0xC0C0C0, MakeColorRef(10, 36, 106));
    EXPECT_EQ(colors.background, 0xEFEFEFu);
    EXPECT_EQ(colors.strip, 0xCCCCCCu);
    EXPECT_EQ(colors.separator, 0x9D9D9Du);
    EXPECT_EQ(colors.selection, MakeColorRef(173, 185, 217));
    // 192 + 63*73/100 = 237; 192*73/100 = 140.
    EXPECT_EQ(colors.disabledSelection, MakeColorRef(237, 237, 237));
    EXPECT_EQ(colors.disabledBullet, MakeColorRef(140, 140, 140));
}

} // namespace
