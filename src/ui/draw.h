#pragma once

#include <cstdint>
#include <vector>

namespace tessaly {

// A colour as the settings store it: 0x00BBGGRR (red in the low byte).
using ColorRef = std::uint32_t;

constexpr ColorRef MakeColorRef(int red, int green, int blue) {
    return static_cast<ColorRef>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr int RedOf(ColorRef color) {
    return static_cast<int>(color & 0xFF);
}
constexpr int GreenOf(ColorRef color) {
    return static_cast<int>((color >> 8) & 0xFF);
}
constexpr int BlueOf(ColorRef color) {
    return static_cast<int>((color >> 16) & 0xFF);
}

// Hue, lightness and saturation, each on 0..255.
struct Hls {
    int hue = 0;
    int lightness = 0;
    int saturation = 0;
    bool operator==(const Hls&) const = default;
};

Hls RgbToHls(ColorRef color);
ColorRef HlsToRgb(const Hls& hls);

// Moves the lightness and the saturation by a percent each: a positive percent moves the value
// that far toward 255, a negative one scales it toward 0. Integer arithmetic, truncating.
ColorRef AdjustColor(ColorRef color, int lightnessPercent, int saturationPercent);

// One solid run of a left-to-right gradient: pixels left <= x < right in one colour.
struct GradientBand {
    int left = 0;
    int right = 0;
    ColorRef color = 0;
    bool operator==(const GradientBand&) const = default;
};

// The bands that paint a gradient from `from` to `to` over `width` pixels starting at `left`:
// one band per step of the largest component difference, the last colour reaching the right edge.
// Equal colours (or a width of 0 or less) give one plain band.
std::vector<GradientBand> GradientBands(int left, int width, ColorRef from, ColorRef to);

// A pixel of a soft shadow: its colour components are kept at factor percent.
struct ShadowPixel {
    int x = 0;
    int y = 0;
    int factor = 100;
    bool operator==(const ShadowPixel&) const = default;
};

// Darkening factor 93 - 5 * a for a depth a from 0 (outer edge) to 3 (inner edge).
constexpr int ShadowFactor(int depth) {
    return 93 - 5 * depth;
}

// The shadow of a menu window W by H: the 4-pixel strips at its right and bottom edges.
// Only pixels inside the window are listed.
std::vector<ShadowPixel> MenuShadowPixels(int width, int height);

// The shadow of the open menu-bar item: the 4-pixel strip at its right, W by H.
std::vector<ShadowPixel> OpenItemShadowPixels(int width, int height);

// A colour with each component multiplied by factor / 100.
ColorRef DarkenColor(ColorRef color, int factor);

// The named colours of the menus, derived from the button-face colour B and the highlight colour H.
struct MenuColors {
    ColorRef background = 0;        // menu background, inner border lines
    ColorRef strip = 0;             // image strip without gradient, open menu-bar item, joining line
    ColorRef selection = 0;         // selection fill
    ColorRef checkSelected = 0;     // check box of a checked item while it is selected
    ColorRef disabledSelection = 0; // selection fill and check box of a disabled item
    ColorRef separator = 0;         // separator line, disabled text
    ColorRef disabledBullet = 0;    // disabled radio bullet
};

MenuColors MenuColorsFrom(ColorRef buttonFace, ColorRef highlight);

} // namespace tessaly
