#include "convert/conversionoption.h"
#include "engine/memoryprofile.h"
#include "optioncolumns.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

// An option with every value changed from the defaults, so a value that is not stored or not read
// back shows.
ConversionOption Unusual() {
    ConversionOption option;
    option.Symbol = 1;
    option.Periodicity = 1;
    option.Date = 0;
    option.Open = 0;
    option.High = 0;
    option.Low = 0;
    option.Close = 0;
    option.Volume = 0;
    option.Interest = 1;
    option.Headers = 0;
    option.Separator = 3;
    option.DateFormat = 8;
    option.HeadersLine = "<TICKER>,<PER>,<OPENINT>";
    option.Extension = "prn";
    option.Single = 1;
    option.FileName = "all securities";
    return option;
}

TEST(ConversionOptionTest, FirstStartReadsEverythingOffAndDefaultsAreTheTable) {
    const MemoryProfile empty;
    const ConversionOption first = LoadCurrentOption(empty);
    for (const ConversionOptionField& field : kConversionOptionFields) {
        if (const auto* number = std::get_if<int ConversionOption::*>(&field.member))
            EXPECT_EQ(first.*(*number), 0) << field.name;
        else
            EXPECT_EQ(first.*std::get<std::string ConversionOption::*>(field.member), "") << field.name;
    }

    ConversionOption option = first;
    SetDefaults(option);
    EXPECT_EQ(option.Symbol, 0);
    EXPECT_EQ(option.Periodicity, 0);
    EXPECT_EQ(option.Date, 1);
    EXPECT_EQ(option.Open, 1);
    EXPECT_EQ(option.High, 1);
    EXPECT_EQ(option.Low, 1);
    EXPECT_EQ(option.Close, 1);
    EXPECT_EQ(option.Volume, 1);
    EXPECT_EQ(option.Interest, 0);
    EXPECT_EQ(option.Headers, 1);
    EXPECT_EQ(option.Separator, 1);
    EXPECT_EQ(option.DateFormat, 4);
    EXPECT_EQ(option.HeadersLine, "<DTYYYYMMDD>,<OPEN>,<HIGH>,<LOW>,<CLOSE>,<VOL>");
    EXPECT_EQ(option.Extension, ".txt");
    EXPECT_EQ(option.Single, 0);
    EXPECT_EQ(option.FileName, "ascii_file");
    EXPECT_EQ(option, ConversionOption{});
}

TEST(ConversionOptionTest, CurrentOptionRoundTripsUnderItsOwnNames) {
    MemoryProfile profile;
    profile.WriteString("CurrentOption", "LastDirectory", "/home/trader/data/");
    ASSERT_TRUE(SaveCurrentOption(profile, Unusual()));
    EXPECT_EQ(LoadCurrentOption(profile), Unusual());

    EXPECT_EQ(profile.GetInt("CurrentOption", "Separator", -1), 3);
    EXPECT_EQ(profile.GetInt("CurrentOption", "DateFormat", -1), 8);
    EXPECT_EQ(profile.GetInt("CurrentOption", "Interest", -1), 1);
    EXPECT_EQ(profile.GetInt("CurrentOption", "Single", -1), 1);
    EXPECT_EQ(profile.GetString("CurrentOption", "Extension", ""), "prn");
    EXPECT_EQ(profile.GetString("CurrentOption", "FileName", ""), "all securities");
    EXPECT_EQ(profile.GetString("CurrentOption", "HeadersLine", ""), "<TICKER>,<PER>,<OPENINT>");
    // The folder kept in the same section is not part of the option.
    EXPECT_EQ(profile.GetString("CurrentOption", "LastDirectory", ""), "/home/trader/data/");
}

TEST(ConversionOptionTest, AMissingValueReadsAsZeroOrEmptyNotAsItsDefault) {
    MemoryProfile profile;
    profile.WriteInt("CurrentOption", "Separator", 3);
    profile.WriteString("CurrentOption", "Extension", "csv");
    ConversionOption expected = LoadCurrentOption(MemoryProfile{});
    expected.Separator = 3;
    expected.Extension = "csv";
    EXPECT_EQ(LoadCurrentOption(profile), expected);
}

struct HeaderCase {
    const char* name;
    const char* flags; // letters of the columns that are on: S P D O H L C V I
    std::optional<int> selectedDateFormat;
    int separator;
    const char* expected;
};

void PrintTo(const HeaderCase& c, std::ostream* out) {
    *out << c.name;
}

class HeaderLineTest : public testing::TestWithParam<HeaderCase> {};

TEST_P(HeaderLineTest, JoinsTheTokensOfTheColumnsThatAreOn) {
    const HeaderCase& c = GetParam();
    ConversionOption option = LoadCurrentOption(MemoryProfile{});
    test::SetColumns(option, c.flags);
    option.Separator = c.separator;
    option.DateFormat = 2; // the builder follows the selected button, not the stored value
    option.HeadersLine = "typed by the user";
    EXPECT_EQ(BuildHeaderLine(option, c.selectedDateFormat), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HeaderLineTest,
    testing::Values(
        HeaderCase{"AllOff", "", 4, 1, ""}, HeaderCase{"OnlyInterest", "I", 4, 1, "<OPENINT>"},
        HeaderCase{"OnlySymbol", "S", 4, 1, "<TICKER>"},
        HeaderCase{"Example", "SDCV", 4, 1, "<TICKER>,<YYYYMMDD>,<CLOSE>,<VOL>"},
        HeaderCase{"TabSeparatorStillCommas", "SDCV", 4, 3, "<TICKER>,<YYYYMMDD>,<CLOSE>,<VOL>"},
        HeaderCase{"TickingClose", "DOHLCV", 4, 0, "<YYYYMMDD>,<OPEN>,<HIGH>,<LOW>,<CLOSE>,<VOL>"},
        HeaderCase{"Everything", "SPDOHLCVI", 8, 2,
                   "<TICKER>,<PER>,<DD-MMM-YY>,<OPEN>,<HIGH>,<LOW>,<CLOSE>,<VOL>,<OPENINT>"},
        HeaderCase{"NoDateButton", "DC", std::nullopt, 1, "<DATE>,<CLOSE>"},
        HeaderCase{"UnknownDateButton", "D", 9, 1, "<DATE>"},
        HeaderCase{"Format0", "D", 0, 1, "<MM/DD/YYYY>"}, HeaderCase{"Format1", "D", 1, 1, "<DD/MM/YYYY>"},
        HeaderCase{"Format2", "D", 2, 1, "<MM/DD/YY>"}, HeaderCase{"Format3", "D", 3, 1, "<DD/MM/YY>"},
        HeaderCase{"Format5", "D", 5, 1, "<YYYYDDMM>"}, HeaderCase{"Format6", "D", 6, 1, "<YYYY/MM/DD>"},
        HeaderCase{"Format7", "D", 7, 1, "<YYYY/DD/MM>"}),
    [](const testing::TestParamInfo<HeaderCase>& info) { return info.param.name; });

TEST(PresetOptionTest, NoPresetsUntilTheFirstSave) {
    MemoryProfile profile;
    EXPECT_TRUE(EnumPresetOptions(profile).empty());
    EXPECT_EQ(LoadPresetOption(profile, "MyOption"), std::nullopt);
    EXPECT_FALSE(profile.HasValue("Settings", "PresetOptions"));
    EXPECT_FALSE(profile.HasSection("Option1"));
}

TEST(PresetOptionTest, SavingAddsASectionAndLoadingFindsTheFirstOfAName) {
    MemoryProfile profile;
    ConversionOption second;
    second.Separator = 0;
    ASSERT_TRUE(SavePresetOption(profile, "MyOption", Unusual()));
    ASSERT_TRUE(SavePresetOption(profile, "Weekly closes", ConversionOption{}));
    ASSERT_TRUE(SavePresetOption(profile, "MyOption", second));

    EXPECT_EQ(profile.GetInt("Settings", "PresetOptions", 0), 3);
    EXPECT_EQ(profile.GetString("Option1", "Name", ""), "MyOption");
    EXPECT_EQ(profile.GetString("Option2", "Name", ""), "Weekly closes");
    EXPECT_EQ(profile.GetString("Option3", "Name", ""), "MyOption");
    EXPECT_EQ(profile.GetInt("Option3", "Separator", -1), 0);
    EXPECT_EQ(profile.GetString("Option1", "FileName", ""), "all securities");

    EXPECT_EQ(EnumPresetOptions(profile),
              (std::vector<std::string>{"MyOption", "Weekly closes", "MyOption"}));
    EXPECT_EQ(LoadPresetOption(profile, "MyOption"), Unusual());
    EXPECT_EQ(LoadPresetOption(profile, "Weekly closes"), ConversionOption{});
    EXPECT_EQ(LoadPresetOption(profile, "myoption"), std::nullopt); // names match exactly
}

TEST(PresetOptionTest, HandEditedPresetsReadMissingValuesAsZeroOrEmpty) {
    MemoryProfile profile;
    profile.WriteInt("Settings", "PresetOptions", 3);
    profile.WriteString("Option1", "Name", "Closes");
    profile.WriteInt("Option1", "Close", 1);
    // Option2 is missing altogether.
    profile.WriteString("Option3", "Name", "Later");

    EXPECT_EQ(EnumPresetOptions(profile), (std::vector<std::string>{"Closes", "", "Later"}));
    ConversionOption expected = LoadCurrentOption(MemoryProfile{});
    expected.Close = 1;
    EXPECT_EQ(LoadPresetOption(profile, "Closes"), expected);

    // A fourth save goes after the three.
    ASSERT_TRUE(SavePresetOption(profile, "New", ConversionOption{}));
    EXPECT_EQ(profile.GetString("Option4", "Name", ""), "New");
}

TEST(PresetOptionTest, ADamagedCountNeitherHangsNorOverflows) {
    MemoryProfile profile;
    profile.WriteInt("Settings", "PresetOptions", -4);
    EXPECT_TRUE(EnumPresetOptions(profile).empty());
    ASSERT_TRUE(SavePresetOption(profile, "First", ConversionOption{}));
    EXPECT_EQ(profile.GetInt("Settings", "PresetOptions", 0), 1);
    EXPECT_EQ(EnumPresetOptions(profile), std::vector<std::string>{"First"});

    profile.WriteInt("Settings", "PresetOptions", 2147483647);
    EXPECT_EQ(EnumPresetOptions(profile).size(), static_cast<std::size_t>(kMaxPresetOptions));
    EXPECT_EQ(LoadPresetOption(profile, "First"), ConversionOption{});
    EXPECT_FALSE(SavePresetOption(profile, "Too many", ConversionOption{}));
    EXPECT_EQ(profile.GetInt("Settings", "PresetOptions", 0), 2147483647);
}

TEST(ConversionOptionFieldTest, FindsTheSixteenNamesExactly) {
    EXPECT_EQ(kConversionOptionFields.size(), 16u);
    ASSERT_NE(FindConversionOptionField("DateFormat"), nullptr);
    EXPECT_EQ(FindConversionOptionField("DateFormat")->name, "DateFormat");
    EXPECT_EQ(FindConversionOptionField("dateformat"), nullptr);
    EXPECT_EQ(FindConversionOptionField("LastDirectory"), nullptr);
    EXPECT_EQ(FindConversionOptionField("Name"), nullptr);
}

} // namespace
} // namespace tessaly
