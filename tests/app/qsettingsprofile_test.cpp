#include "app/settings/qsettingsprofile.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

QString PathOf(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

TEST(QSettingsProfileTest, ValuesSurviveAndMissingOnesReadAsDefault) {
    test::TempFolder folder;
    const QString file = PathOf(folder / "Tessaly.conf");
    {
        QSettingsProfile profile(file);
        EXPECT_EQ(profile.GetInt("Settings", "X", -7), -7);
        EXPECT_EQ(profile.GetString("CurrentOption", "HeadersLine", "none"), "none");
        EXPECT_FALSE(profile.HasValue("Settings", "X"));
        EXPECT_TRUE(profile.WriteInt("Settings", "X", 120));
        EXPECT_TRUE(profile.WriteString("CurrentOption", "HeadersLine", "<DATE>,<OPEN>"));
        EXPECT_TRUE(profile.WriteString("Settings", "LastDirectory", "/home/trader/data/"));
        EXPECT_TRUE(profile.Sync());
    }
    QSettingsProfile profile(file);
    EXPECT_TRUE(profile.IsReadable());
    EXPECT_EQ(profile.GetInt("Settings", "X", 0), 120);
    EXPECT_EQ(profile.GetString("CurrentOption", "HeadersLine", ""), "<DATE>,<OPEN>");
    EXPECT_EQ(profile.GetString("Settings", "LastDirectory", ""), "/home/trader/data/");
    // A text that is no number reads as the default.
    EXPECT_EQ(profile.GetInt("Settings", "LastDirectory", 5), 5);

    const std::string ini = test::ReadFile(folder / "Tessaly.conf");
    EXPECT_NE(ini.find("[Settings]"), std::string::npos) << ini;
    EXPECT_NE(ini.find("[CurrentOption]"), std::string::npos) << ini;
}

TEST(QSettingsProfileTest, HandEditedValuesWithCommasReadWhole) {
    test::TempFolder folder;
    folder.Write("Tessaly.conf", "[CurrentOption]\nHeadersLine=<DATE>,<OPEN>,<CLOSE>\nSeparator= 2\n");
    QSettingsProfile profile(PathOf(folder / "Tessaly.conf"));
    EXPECT_EQ(profile.GetString("CurrentOption", "HeadersLine", ""), "<DATE>,<OPEN>,<CLOSE>");
    EXPECT_EQ(profile.GetInt("CurrentOption", "Separator", 0), 2);
}

} // namespace
} // namespace tessaly
