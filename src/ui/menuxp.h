#pragma once

#include "ui/draw.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

class Profile;

// The menu look's settings, read once from sections "MenuXP" and "MenuEx".
struct MenuSettings {
    bool showGradient = true;    // the image strip is a gradient
    bool showGradientSel = true; // selected items are a gradient too
    ColorRef gradientStart = 0xE4C4B4;
    ColorRef gradientEnd = 0xFFFFFF;
    int gradientWidth = 30;
};

// Reads the settings; a stored colour of -1 stands for the strip and the background colours
// derived from the button face, any other is masked to its 24 colour bits.
MenuSettings ReadMenuSettings(const Profile& profile, ColorRef buttonFace);

// Heights of a popup menu's items for a font whose text height is `textHeight`.
struct MenuMetrics {
    int itemHeight = 0;
    int separatorHeight = 0;
};
MenuMetrics MenuMetricsFor(int textHeight);

// Each item's 32-bit data: bits 0-7 the item height (0 for a menu-bar item), bits 8-15 the widest
// shortcut of the menu, bits 16-31 the widest label (a menu-bar item: its text width). Values too
// large for their bits are held at the largest that fits.
std::uint32_t PackMenuBarItemData(int textWidth);
std::uint32_t PackPopupItemData(int itemHeight, int shortcutWidth, int labelWidth);
std::uint32_t PackSeparatorData(int separatorHeight);
constexpr bool IsMenuBarItemData(std::uint32_t data) {
    return (data & 0xFF) == 0;
}

struct ItemSize {
    int width = 0;
    int height = 0; // 0 for a menu-bar item: the toolkit's own height
    bool operator==(const ItemSize&) const = default;
};
// The size of an item from its data: a popup item label + shortcut + 42 wide, a menu-bar item
// its text + 4.
ItemSize MeasureMenuItem(std::uint32_t data);

// An item text's label (before the first tab) and shortcut (after it, empty if none).
std::u32string MenuLabel(std::u32string_view text);
std::u32string MenuShortcut(std::u32string_view text);
// The label as it is measured and shown: without its first "&".
std::u32string WithoutFirstAmpersand(std::u32string_view label);

// The index of the first label holding "&" + character (compared in upper case), where that "&" is
// not itself preceded by "&", searched from the label's end; -1 when no label has it.
int MatchMenuChar(const std::vector<std::u32string>& labels, char32_t character);

// The running system as a code: 5 for this platform, which draws no menu shadows of its own.
int GetOSVersionCode();
// Whether the program draws the menus' shadows and makes them 4 pixels larger for it.
bool DrawsMenuShadow();
// Width of the shadow strips at the right and bottom of a menu.
constexpr int kMenuShadowSize = 4;

} // namespace tessaly
