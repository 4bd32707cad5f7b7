#include "ui/menuxp.h"

#include "engine/memoryprofile.h"

#include <gtest/gtest.h>

using namespace tessaly;

namespace {

TEST(MenuSettingsTest, DefaultsWithoutStoredValues) {
    MemoryProfile profile;
    const MenuSettings settings = ReadMenuSettings(profile, 0xC0C0C0);
    EXPECT_TRUE(settings.showGradient);
    EXPECT_TRUE(settings.showGradientSel);
    EXPECT_EQ(settings.gradientStart, 0xE4C4B4u);
    EXPECT_EQ(settings.gradientEnd, 0xFFFFFFu);
    EXPECT_EQ(settings.gradientWidth, 30);
}

TEST(MenuSettingsTest, StoredValuesMinusOneMasksAndSections) {
    MemoryProfile profile;
    profile.WriteInt("MenuXP", "ShowGradient", 0);
    profile.WriteInt("MenuXP", "ShowGradientSel", 0); // belongs to MenuEx: ignored here
    profile.WriteInt("MenuXP", "GradientStart", -1);
    profile.WriteInt("MenuXP", "GradientEnd", 0x7F123456);
    profile.WriteInt("MenuXP", "GradientWidth", -5);
    const MenuSettings settings = ReadMenuSettings(profile, 0xC0C0C0);
    EXPECT_FALSE(settings.showGradient);
    EXPECT_TRUE(settings.showGradientSel);
    EXPECT_EQ(settings.gradientStart, AdjustColor(0xC0C0C0, 20, 0));
    EXPECT_EQ(settings.gradientEnd, 0x123456u);
    EXPECT_EQ(settings.gradientWidth, 0);

    profile.WriteInt("MenuEx", "ShowGradientSel", 0);
    profile.WriteInt("MenuXP", "GradientEnd", -1);
    const MenuSettings again = ReadMenuSettings(profile, 0xC0C0C0);
    EXPECT_FALSE(again.showGradientSel);
    EXPECT_EQ(again.gradientEnd, AdjustColor(0xC0C0C0, 75, 0));
}

TEST(MenuMetricsTest, ItemAndSeparatorHeights) {
    struct Case {
        int textHeight, item, separator;
    };
    for (const Case& c : {Case{13, 20, 8}, Case{14, 20, 9}, Case{16, 22, 10}, Case{21, 27, 12}}) {
        const MenuMetrics metrics = MenuMetricsFor(c.textHeight);
        EXPECT_EQ(metrics.itemHeight, c.item) << c.textHeight;
        EXPECT_EQ(metrics.separatorHeight, c.separator) << c.textHeight;
    }
}

TEST(MeasureMenuItemTest, SizesFromPackedData) {
    EXPECT_EQ(MeasureMenuItem(PackPopupItemData(20, 40, 100)), (ItemSize{182, 20}));
    EXPECT_EQ(MeasureMenuItem(PackSeparatorData(8)), (ItemSize{42, 8}));
    EXPECT_EQ(MeasureMenuItem(PackMenuBarItemData(30)), (ItemSize{34, 0}));
    EXPECT_TRUE(IsMenuBarItemData(PackMenuBarItemData(30)));
    EXPECT_FALSE(IsMenuBarItemData(PackSeparatorData(0)));
    // Values too wide for their bits are held at the largest that fits instead of wrapping.
    EXPECT_EQ(MeasureMenuItem(PackPopupItemData(300, 300, 100)), (ItemSize{100 + 255 + 42, 255}));
    EXPECT_EQ(PackPopupItemData(20, 40, 100), 20u | 40u << 8 | 100u << 16);
}

TEST(MenuTextTest, LabelShortcutAndAmpersand) {
    EXPECT_EQ(MenuLabel(U"&Copy\tCtrl+C"), U"&Copy");
    EXPECT_EQ(MenuShortcut(U"&Copy\tCtrl+C"), U"Ctrl+C");
    EXPECT_EQ(MenuShortcut(U"&Copy"), U"");
    EXPECT_EQ(MenuLabel(U"a\tb\tc"), U"a");
    EXPECT_EQ(MenuShortcut(U"a\tb\tc"), U"b\tc");
    EXPECT_EQ(WithoutFirstAmpersand(U"C&heck && go"), U"Check && go");
}

TEST(MatchMenuCharTest, FindsTheFirstItemWithTheMnemonic) {
    const std::vector<std::u32string> tools = {
        U"&Download ", U"&Convert to ASCII",       U"&Web data",
        U"",           U"&Update symbol database", U"C&heck for product updates"};
    struct Case {
        char32_t character;
        int expected;
    };
    for (const Case& c : {Case{U'c', 1}, Case{U'C', 1}, Case{U'd', 0}, Case{U'h', 4 + 1}, Case{U'u', 4},
                          Case{U'x', -1}, Case{U'&', -1}}) {
        EXPECT_EQ(MatchMenuChar(tools, c.character), c.expected) << static_cast<char>(c.character);
    }
}

TEST(MatchMenuCharTest, DoubledAmpersandIsNoMnemonic) {
    EXPECT_EQ(MatchMenuChar({U"Q&&A"}, U'a'), -1);
    EXPECT_EQ(MatchMenuChar({U"Q&&A", U"&Answer"}, U'A'), 1);
    EXPECT_EQ(MatchMenuChar({U"R&&D &Dept"}, U'd'), 0);
    EXPECT_EQ(MatchMenuChar({U"&", U"x&"}, U'x'), -1);
}

TEST(OsVersionTest, ThisPlatformDrawsItsOwnShadow) {
    EXPECT_EQ(GetOSVersionCode(), 5);
    EXPECT_TRUE(DrawsMenuShadow());
}

} // namespace
