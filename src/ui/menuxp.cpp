#include "ui/menuxp.h"

#include "engine/profile.h"

#include <algorithm>

namespace tessaly {

namespace {

constexpr std::string_view kMenuXP = "MenuXP";
constexpr std::string_view kMenuEx = "MenuEx";

ColorRef ReadColor(const Profile& profile, std::string_view name, ColorRef defaultColor, ColorRef adjusted) {
    const int value = profile.GetInt(kMenuXP, name, static_cast<int>(defaultColor));
    if (value == -1)
        return adjusted;
    return static_cast<ColorRef>(value) & 0xFFFFFF;
}

char32_t UpperAscii(char32_t c) {
    return c >= U'a' && c <= U'z' ? c - U'a' + U'A' : c;
}

} // namespace

MenuSettings ReadMenuSettings(const Profile& profile, ColorRef buttonFace) {
    MenuSettings settings;
    settings.showGradient = profile.GetInt(kMenuXP, "ShowGradient", 1) != 0;
    settings.showGradientSel = profile.GetInt(kMenuEx, "ShowGradientSel", 1) != 0;
    settings.gradientStart =
        ReadColor(profile, "GradientStart", settings.gradientStart, AdjustColor(buttonFace, 20, 0));
    settings.gradientEnd =
        ReadColor(profile, "GradientEnd", settings.gradientEnd, AdjustColor(buttonFace, 75, 0));
    settings.gradientWidth = std::max(0, profile.GetInt(kMenuXP, "GradientWidth", settings.gradientWidth));
    return settings;
}

MenuMetrics MenuMetricsFor(int textHeight) {
    return {std::max(textHeight + 2, 16) + 4, textHeight / 2 + 2};
}

std::uint32_t PackMenuBarItemData(int textWidth) {
    return static_cast<std::uint32_t>(std::clamp(textWidth, 0, 0xFFFF)) << 16;
}

std::uint32_t PackPopupItemData(int itemHeight, int shortcutWidth, int labelWidth) {
    return static_cast<std::uint32_t>(std::clamp(itemHeight, 1, 0xFF)) |
           static_cast<std::uint32_t>(std::clamp(shortcutWidth, 0, 0xFF)) << 8 |
           static_cast<std::uint32_t>(std::clamp(labelWidth, 0, 0xFFFF)) << 16;
}

std::uint32_t PackSeparatorData(int separatorHeight) {
    return static_cast<std::uint32_t>(std::clamp(separatorHeight, 1, 0xFF));
}

ItemSize MeasureMenuItem(std::uint32_t data) {
    const int label = static_cast<int>(data >> 16);
    if (IsMenuBarItemData(data))
        return {label + 4, 0};
    return {label + static_cast<int>((data >> 8) & 0xFF) + 42, static_cast<int>(data & 0xFF)};
}

std::u32string MenuLabel(std::u32string_view text) {
    return std::u32string(text.substr(0, text.find(U'\t')));
}

std::u32string MenuShortcut(std::u32string_view text) {
    const std::size_t tab = text.find(U'\t');
    return tab == std::u32string_view::npos ? std::u32string() : std::u32string(text.substr(tab + 1));
}

std::u32string WithoutFirstAmpersand(std::u32string_view label) {
    std::u32string result(label);
    if (const std::size_t ampersand = result.find(U'&'); ampersand != std::u32string::npos)
        result.erase(ampersand, 1);
    return result;
}

int MatchMenuChar(const std::vector<std::u32string>& labels, char32_t character) {
    const char32_t wanted = UpperAscii(character);
    for (std::size_t item = 0; item < labels.size(); ++item) {
        const std::u32string& label = labels[item];
        for (std::size_t pos = label.size() < 2 ? 0 : label.size() - 1; pos-- > 0;) {
            if (label[pos] == U'&' && UpperAscii(label[pos + 1]) == wanted &&
                (pos == 0 || label[pos - 1] != U'&'))
                return static_cast<int>(item);
        }
    }
    return -1;
}

int GetOSVersionCode() {
    return 5;
}

bool DrawsMenuShadow() {
    return GetOSVersionCode() < 8;
}

} // namespace tessaly
