#include "ui/draw.h"

#include <algorithm>
#include <cstdlib>

namespace tessaly {

namespace {

constexpr int kMax = 255;

// One component from the two lightness bounds p <= q and a hue offset on 0..254.
int HueToComponent(int p, int q, int hue) {
    if (hue * 6 < kMax)
        return p + (q - p) * hue * 6 / kMax;
    if (hue * 2 < kMax)
        return q;
    if (hue * 3 < 2 * kMax)
        return p + (q - p) * (2 * kMax / 3 - hue) * 6 / kMax;
    return p;
}

int WrapHue(int hue) {
    return ((hue % kMax) + kMax) % kMax;
}

int Adjust(int value, int percent) {
    if (percent > 0)
        return value + (kMax - value) * percent / 100;
    return value * (100 + percent) / 100;
}

} // namespace

Hls RgbToHls(ColorRef color) {
    const int red = RedOf(color);
    const int green = GreenOf(color);
    const int blue = BlueOf(color);
    const int high = std::max({red, green, blue});
    const int low = std::min({red, green, blue});
    Hls hls;
    hls.lightness = (high + low) / 2;
    if (high == low)
        return hls;
    const int delta = high - low;
    hls.saturation =
        hls.lightness <= kMax / 2 ? delta * kMax / (high + low) : delta * kMax / (2 * kMax - high - low);
    // The hue in sixths of a turn, scaled by delta: red 0, green 2, blue 4.
    int sixths = 0;
    if (red == high)
        sixths = green - blue;
    else if (green == high)
        sixths = 2 * delta + blue - red;
    else
        sixths = 4 * delta + red - green;
    if (sixths < 0)
        sixths += 6 * delta;
    hls.hue = WrapHue(sixths * kMax / (6 * delta));
    return hls;
}

ColorRef HlsToRgb(const Hls& hls) {
    const int lightness = std::clamp(hls.lightness, 0, kMax);
    const int saturation = std::clamp(hls.saturation, 0, kMax);
    if (saturation == 0)
        return MakeColorRef(lightness, lightness, lightness);
    const int q = lightness <= kMax / 2 ? lightness * (kMax + saturation) / kMax
                                        : lightness + saturation - lightness * saturation / kMax;
    const int p = 2 * lightness - q;
    const int hue = WrapHue(hls.hue);
    return MakeColorRef(HueToComponent(p, q, WrapHue(hue + kMax / 3)), HueToComponent(p, q, hue),
                        HueToComponent(p, q, WrapHue(hue - kMax / 3)));
}

ColorRef AdjustColor(ColorRef color, int lightnessPercent, int saturationPercent) {
    Hls hls = RgbToHls(color);
    hls.lightness = Adjust(hls.lightness, lightnessPercent);
    hls.saturation = Adjust(hls.saturation, saturationPercent);
    return HlsToRgb(hls);
}

std::vector<GradientBand> GradientBands(int left, int width, ColorRef from, ColorRef to) {
    if (width <= 0)
        return {};
    from &= 0xFFFFFF;
    to &= 0xFFFFFF;
    const int redStep = RedOf(to) - RedOf(from);
    const int greenStep = GreenOf(to) - GreenOf(from);
    const int blueStep = BlueOf(to) - BlueOf(from);
    const int steps = std::max({std::abs(redStep), std::abs(greenStep), std::abs(blueStep)});
    if (steps == 0)
        return {{left, left + width, from}};
    std::vector<GradientBand> bands;
    for (int i = 0; i < steps; ++i) {
        const int bandLeft = left + static_cast<int>(i * static_cast<double>(width) / steps);
        const int bandRight = i + 1 == steps
                                  ? left + width
                                  : left + static_cast<int>((i + 1) * static_cast<double>(width) / steps);
        if (bandRight <= bandLeft)
            continue;
        bands.push_back(
            {bandLeft, bandRight,
             MakeColorRef(RedOf(from) + i * redStep / steps, GreenOf(from) + i * greenStep / steps,
                          BlueOf(from) + i * blueStep / steps)});
    }
    return bands;
}

namespace {

// The right-hand strip; `bottomReserve` rows at its foot are left to the bottom strip.
void AddRightShadow(std::vector<ShadowPixel>& pixels, int width, int height, int bottomReserve) {
    for (int i = 0; i < 4; ++i) {
        const int x = width - 1 - i;
        const int end = height - (i == 0 ? 1 : 0) - i - bottomReserve;
        for (int j = i > 1 ? 0 : 2 - i; j < end; ++j) {
            const int depth = j == 0 ? 0 : j == 1 ? (i > 1 ? 1 : 0) : j == 2 ? (i > 1 ? 2 : i) : i;
            pixels.push_back({x, 4 + j, ShadowFactor(depth)});
        }
    }
}

void RemoveOutside(std::vector<ShadowPixel>& pixels, int width, int height) {
    std::erase_if(pixels, [&](const ShadowPixel& pixel) {
        return pixel.x < 0 || pixel.y < 0 || pixel.x >= width || pixel.y >= height;
    });
}

} // namespace

std::vector<ShadowPixel> MenuShadowPixels(int width, int height) {
    std::vector<ShadowPixel> pixels;
    AddRightShadow(pixels, width, height, 5);
    for (int i = 0; i <= width - 2; ++i) {
        const int x = i + 4;
        const int end = i > width - 8 ? width - i - 4 : 4;
        for (int j = i <= 1 ? 2 - i : i > width - 7 ? i - width + 7 : 0; j < end; ++j) {
            const int depth = i == 0 ? 0 : i == 1 ? (j > 1 ? 1 : 0) : i == 2 ? (j > 1 ? 2 : j) : j;
            pixels.push_back({x, height - 1 - j, ShadowFactor(depth)});
        }
    }
    RemoveOutside(pixels, width, height);
    return pixels;
}

std::vector<ShadowPixel> OpenItemShadowPixels(int width, int height) {
    std::vector<ShadowPixel> pixels;
    AddRightShadow(pixels, width, height, 1);
    RemoveOutside(pixels, width, height);
    return pixels;
}

ColorRef DarkenColor(ColorRef color, int factor) {
    return MakeColorRef(RedOf(color) * factor / 100, GreenOf(color) * factor / 100,
                        BlueOf(color) * factor / 100);
}

MenuColors MenuColorsFrom(ColorRef buttonFace, ColorRef highlight) {
    MenuColors colors;
    colors.background = AdjustColor(buttonFace, 75, 0);
    colors.strip = AdjustColor(buttonFace, 20, 0);
    colors.selection = AdjustColor(highlight, 70, -57);
    colors.checkSelected = AdjustColor(highlight, 50, -50);
    colors.disabledSelection = AdjustColor(buttonFace, 73, 0);
    colors.separator = AdjustColor(buttonFace, -18, 0);
    colors.disabledBullet = AdjustColor(buttonFace, -27, 0);
    return colors;
}

} // namespace tessaly
