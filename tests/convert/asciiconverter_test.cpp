#include "convert/asciiconverter.h"
#include "engine/clock.h"
#include "optioncolumns.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono;

constexpr const char* kHeader = "Date,Open,High,Low,Close,Volume,Adj. Close*";

std::string DataFile(std::initializer_list<const char*> records) {
    std::string content = kHeader;
    for (const char* record : records)
        content += std::string("\r\n") + record;
    return content;
}

// An option with only the columns named by letters (S P D O H L C V I) on, no header.
ConversionOption Only(std::string_view flags, int dateFormat = 4, int separator = 1) {
    ConversionOption option;
    test::SetColumns(option, flags);
    option.DateFormat = dateFormat;
    option.Separator = separator;
    option.Headers = 0;
    return option;
}

std::vector<std::string> FileNames(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class ConverterTest : public testing::Test {
protected:
    ConverterTest() {
        fs::create_directory(data);
        fs::create_directory(out);
    }

    void WriteData(const std::string& symbol, const std::string& content) {
        test::WriteFile(data / (symbol + ".csv"), content);
    }
    SkippedSymbols Convert(std::string_view list, const ConversionOption& option) {
        return ConvertSymbolList(list, data, out, option);
    }
    std::string Output(const std::string& name) { return test::ReadFile(out / name); }

    test::TempFolder folder;
    fs::path data = folder / "data";
    fs::path out = folder / "out";
    // Two-digit years up to 26 are this century.
    ScopedClock clock{std::make_shared<FixedClock>(year{2026} / December / 11)};
};

// One record through one option.
struct LineCase {
    const char* name;
    ConversionOption option;
    const char* record;
    std::string expected; // the output line without its line break
};

void PrintTo(const LineCase& c, std::ostream* out) {
    *out << c.name;
}

class LineTest : public ConverterTest, public testing::WithParamInterface<LineCase> {};

TEST_P(LineTest, WritesTheColumnsInTheirFixedOrder) {
    const LineCase& c = GetParam();
    WriteData("AAA", DataFile({c.record}));
    EXPECT_EQ(Convert("AAA", c.option), SkippedSymbols{});
    EXPECT_EQ(Output("AAA.txt"), c.expected + "\r\n");
}

constexpr const char* kRecord = "3-Mar-05,92.50,93.10,91.80,92.41,4821300,92.41";

INSTANTIATE_TEST_SUITE_P(
    Columns, LineTest,
    testing::Values(
        LineCase{"TabExample", Only("SDCV", 1, 3), kRecord, "AAA\t03/03/2005\t92.41\t4821300"},
        LineCase{"EveryColumn", Only("IVCLHODPS", 4, 1), kRecord,
                 "AAA,W,20050303,92.50,93.10,91.80,92.41,4821300,0.0"},
        LineCase{"Space", Only("DCV", 4, 0), kRecord, "20050303 92.41 4821300"},
        LineCase{"Slash", Only("DCV", 6, 2), kRecord, "2005/03/03/92.41/4821300"},
        LineCase{"NoSeparatorForAnUnknownValue", Only("DCV", 4, 7), kRecord, "2005030392.414821300"},
        LineCase{"AllColumnsOff", Only("", 4, 1), kRecord, ""},
        LineCase{"VolumeOnButOnlyFiveCommas", Only("DOHLCV"), "3-Mar-05,1,2,3,4,5", "20050303,1,2,3,4"},
        LineCase{"EmptyTrailingColumnsAreTrimmed", Only("DOHLCV"), "3-Mar-05,1,,3", "20050303,1"},
        LineCase{"EmptyColumnsInsideStay", Only("DOHLCV"), "3-Mar-05,1,,,4,5,6", "20050303,1,,,4,5"},
        LineCase{"LeadingEmptyColumnStays", Only("VI", 4, 3), "3-Mar-05,1,2,3,4", "\t0.0"},
        LineCase{"SpaceTrimsTheValuesOwnBlanks", Only("DC", 4, 0), "3-Mar-05,1,2,3,4  ,5,6", "20050303 4"},
        LineCase{"CommaKeepsThem", Only("DC", 4, 1), "3-Mar-05,1,2,3,4  ,5,6", "20050303,4  "},
        LineCase{"NumbersAreCopiedAsText", Only("OHV"), "3-Mar-05,092.500,-0,x,1,1e3,2", "092.500,-0,1e3"},
        LineCase{"CommasAtWordEdges", Only("OHLCV"), "1234567,9,12345678,,x,\xe9-\xe9,-1,",
                 "9,12345678,,x,\xe9-\xe9"},
        LineCase{"ShortRecord", Only("O"), "a,b,", "b"},
        LineCase{"OnlyCommas", Only("SOHLCV", 4, 3), ",,,,,,,,,,,", "AAA"},
        LineCase{"DateWithoutComma", Only("DC"), "3-Mar-05", ""},
        LineCase{"TextThatIsNoDate", Only("DC", 8), "yesterday,1,2,3,4,5,6", ",4"}),
    [](const testing::TestParamInfo<LineCase>& info) { return info.param.name; });

// One date in every layout.
struct DateCase {
    int dateFormat;
    const char* february2005;
    const char* december2026;
};

class DateLayoutTest : public ConverterTest, public testing::WithParamInterface<DateCase> {};

TEST_P(DateLayoutTest, WritesTheDateInItsLayout) {
    const DateCase& c = GetParam();
    WriteData("AAA", DataFile({"28-Feb-05,1,1,1,1,1,1", "10-Dec-26,1,1,1,1,1,1"}));
    EXPECT_EQ(Convert("AAA", Only("D", c.dateFormat, 1)), SkippedSymbols{});
    EXPECT_EQ(Output("AAA.txt"), std::string(c.february2005) + "\r\n" + c.december2026 + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, DateLayoutTest,
    testing::Values(DateCase{0, "02/28/2005", "12/10/2026"}, DateCase{1, "28/02/2005", "10/12/2026"},
                    DateCase{2, "02/28/05", "12/10/26"}, DateCase{3, "28/02/05", "10/12/26"},
                    DateCase{4, "20050228", "20261210"}, DateCase{5, "20052802", "20261012"},
                    DateCase{6, "2005/02/28", "2026/12/10"}, DateCase{7, "2005/28/02", "2026/10/12"},
                    DateCase{8, "28-Feb-05", "10-Dec-26"}, DateCase{9, "20050228", "20261210"},
                    DateCase{-1, "20050228", "20261210"}));

TEST_F(ConverterTest, PeriodicityColumnFollowsTheFile) {
    WriteData("DAY", DataFile({"3-Jan-05,1,", "4-Jan-05,2,"}));
    WriteData("WEEK", DataFile({"3-Jan-05,1,", "10-Jan-05,2,"}));
    WriteData("MONTH", DataFile({"3-Jan-05,1,", "1-Feb-05,2,", "1-Mar-05,3,"}));
    WriteData("NONE", DataFile({"x,1,", "y,2,"}));
    EXPECT_EQ(Convert("DAY WEEK MONTH NONE", Only("PO")), SkippedSymbols{});
    EXPECT_EQ(Output("DAY.txt"), "D,1\r\nD,2\r\n");
    EXPECT_EQ(Output("WEEK.txt"), "W,1\r\nW,2\r\n");
    EXPECT_EQ(Output("MONTH.txt"), "M,1\r\nM,2\r\nM,3\r\n");
    EXPECT_EQ(Output("NONE.txt"), "M,1\r\nM,2\r\n");
}

TEST_F(ConverterTest, OneFilePerSecurityEachWithItsHeader) {
    WriteData("AAA", DataFile({"3-Mar-05,1,2,0.5,1.5,100,1.5", "4-Mar-05,2,3,1,2.5,200,2.5"}));
    WriteData("BBB", DataFile({"7-Mar-05,10,11,9,10.5,5,10.5"}) + "\r\n\r\n");
    EXPECT_EQ(Convert(" AAA BBB ", ConversionOption{}), SkippedSymbols{});
    EXPECT_EQ(FileNames(out), (std::vector<std::string>{"AAA.txt", "BBB.txt"}));
    EXPECT_EQ(Output("AAA.txt"), "<DTYYYYMMDD>,<OPEN>,<HIGH>,<LOW>,<CLOSE>,<VOL>\r\n"
                                 "20050303,1,2,0.5,1.5,100\r\n"
                                 "20050304,2,3,1,2.5,200\r\n");
    EXPECT_EQ(Output("BBB.txt"), "<DTYYYYMMDD>,<OPEN>,<HIGH>,<LOW>,<CLOSE>,<VOL>\r\n"
                                 "20050307,10,11,9,10.5,5\r\n");
}

TEST_F(ConverterTest, EmptyLinesAreNoRecords) {
    WriteData("AAA", "Date,Open\r\n\r\n3-Mar-05,1,\r\n\r\n\n4-Mar-05,2,\r\n\r\n");
    EXPECT_EQ(Convert("AAA", Only("DO")), SkippedSymbols{});
    EXPECT_EQ(Output("AAA.txt"), "20050303,1\r\n20050304,2\r\n");
}

TEST_F(ConverterTest, HeaderIsWrittenAsStored) {
    WriteData("AAA", DataFile({kRecord}));
    ConversionOption option = Only("C");
    option.Headers = 1;
    option.HeadersLine = "";
    Convert("AAA", option);
    EXPECT_EQ(Output("AAA.txt"), "\r\n92.41\r\n");
    option.HeadersLine = "my own header; not rebuilt";
    Convert("AAA", option);
    EXPECT_EQ(Output("AAA.txt"), "my own header; not rebuilt\r\n92.41\r\n");
}

TEST_F(ConverterTest, SingleFileHoldsOneHeaderThenEverySecurityInListOrder) {
    WriteData("BBB", DataFile({"7-Mar-05,10,11,9,10.5,5,10.5", "8-Mar-05,11,12,10,11.5,6,11.5"}));
    WriteData("AAA", DataFile({"3-Mar-05,1,2,0.5,1.5,100,1.5"}));
    test::WriteFile(data / "ccc.csv", DataFile({"9-Mar-05,7,7,7,7,7,7"}));
    ConversionOption option = Only("SDC");
    option.Single = 1;
    option.Headers = 1;
    option.HeadersLine = "<TICKER>,<YYYYMMDD>,<CLOSE>";
    option.FileName = "";
    EXPECT_EQ(Convert("BBB AAA Ccc", option), SkippedSymbols{});
    EXPECT_EQ(FileNames(out), std::vector<std::string>{"ascii_file.txt"});
    EXPECT_EQ(Output("ascii_file.txt"), "<TICKER>,<YYYYMMDD>,<CLOSE>\r\n"
                                        "BBB,20050307,10.5\r\n"
                                        "BBB,20050308,11.5\r\n"
                                        "AAA,20050303,1.5\r\n"
                                        "Ccc,20050309,7\r\n");
}

TEST_F(ConverterTest, SingleFileSurvivesSkippedFirstAndLastSymbols) {
    WriteData("AAA", DataFile({kRecord}));
    ConversionOption option = Only("SC");
    option.Single = 1;
    option.Headers = 1;
    option.HeadersLine = "H";
    option.FileName = "  all days  ";
    option.Extension = "prn";
    const SkippedSymbols skipped = Convert("NOPE AAA GONE", option);
    EXPECT_EQ(skipped, (SkippedSymbols{{"NOPE", "no data file"}, {"GONE", "no data file"}}));
    EXPECT_EQ(FileNames(out), std::vector<std::string>{"all days.prn"});
    EXPECT_EQ(Output("all days.prn"), "H\r\nAAA,92.41\r\n");
}

TEST_F(ConverterTest, ASymbolTwice) {
    WriteData("AAA", DataFile({kRecord}));
    test::WriteFile(out / "AAA.txt", "an older conversion that is much longer than the new one\r\n");
    EXPECT_EQ(Convert("AAA AAA", Only("C")), SkippedSymbols{});
    EXPECT_EQ(Output("AAA.txt"), "92.41\r\n");

    ConversionOption single = Only("SC");
    single.Single = 1;
    EXPECT_EQ(Convert("AAA AAA", single), SkippedSymbols{});
    EXPECT_EQ(Output("ascii_file.txt"), "AAA,92.41\r\nAAA,92.41\r\n");
}

struct ExtensionCase {
    const char* extension;
    const char* fileName;
};

class ExtensionTest : public ConverterTest, public testing::WithParamInterface<ExtensionCase> {};

TEST_P(ExtensionTest, GetsALeadingDotUnlessEmpty) {
    WriteData("AAA", DataFile({kRecord}));
    ConversionOption option = Only("C");
    option.Extension = GetParam().extension;
    EXPECT_EQ(Convert("AAA", option), SkippedSymbols{});
    EXPECT_EQ(FileNames(out), std::vector<std::string>{GetParam().fileName});
}

INSTANTIATE_TEST_SUITE_P(Extensions, ExtensionTest,
                         testing::Values(ExtensionCase{"csv", "AAA.csv"}, ExtensionCase{".csv", "AAA.csv"},
                                         ExtensionCase{"", "AAA"}, ExtensionCase{".", "AAA."},
                                         ExtensionCase{"tar.gz", "AAA.tar.gz"}));

TEST_F(ConverterTest, SymbolsThatCannotBeConvertedAreSkippedWithTheirReason) {
    WriteData("AAA", DataFile({kRecord}));
    WriteData("BBB", DataFile({kRecord}));
    const SkippedSymbols skipped = Convert("AAA  NOPE ../data/AAA BBB", Only("C"));
    EXPECT_EQ(skipped,
              (SkippedSymbols{
                  {"", "empty symbol"}, {"NOPE", "no data file"}, {"../data/AAA", "not a valid symbol"}}));
    EXPECT_EQ(FileNames(out), (std::vector<std::string>{"AAA.txt", "BBB.txt"}));
    EXPECT_EQ(Convert("", Only("C")), (SkippedSymbols{{"", "empty symbol"}}));
    EXPECT_EQ(Convert(" \t ", Only("C")), (SkippedSymbols{{"", "empty symbol"}}));

    ConversionOption escaping = Only("C");
    escaping.Extension = "/../../escaped";
    EXPECT_EQ(Convert("AAA", escaping),
              (SkippedSymbols{{"AAA", "not a valid file name AAA./../../escaped"}}));
    EXPECT_FALSE(fs::exists(folder / "escaped"));
}

TEST_F(ConverterTest, AnOutputThatCannotBeCreatedLeavesNothingBehind) {
    WriteData("AAA", DataFile({kRecord}));
    WriteData("BBB", DataFile({kRecord}));
    const fs::path missing = folder / "missing";
    EXPECT_EQ(ConvertSymbolList("AAA", data, missing, Only("C")),
              (SkippedSymbols{{"AAA", "cannot create " + (missing / "AAA.txt").string()}}));
    EXPECT_FALSE(fs::exists(missing));

    // A folder in the way of one output: the other is written, no temporary file stays.
    fs::create_directory(out / "AAA.txt");
    EXPECT_EQ(Convert("AAA BBB", Only("C")),
              (SkippedSymbols{{"AAA", "cannot create " + (out / "AAA.txt").string()}}));
    EXPECT_EQ(FileNames(out), (std::vector<std::string>{"AAA.txt", "BBB.txt"}));
    EXPECT_TRUE(fs::is_directory(out / "AAA.txt"));

    ConversionOption single = Only("SC");
    single.Single = 1;
    single.FileName = "AAA";
    single.Extension = "txt";
    EXPECT_EQ(Convert("AAA BBB", single),
              (SkippedSymbols{{"AAA", "cannot create " + (out / "AAA.txt").string()},
                              {"BBB", "cannot create " + (out / "AAA.txt").string()}}));
    EXPECT_EQ(FileNames(out), (std::vector<std::string>{"AAA.txt", "BBB.txt"}));
}

TEST_F(ConverterTest, NeverWritesOverADataFile) {
    const std::string aaa = DataFile({kRecord});
    const std::string bbb = DataFile({"7-Mar-05,10,11,9,10.5,5,10.5"});
    WriteData("AAA", aaa);
    WriteData("BBB", bbb);
    const SkippedSymbols overwrite = {{"AAA", "output would overwrite its data file"}};

    ConversionOption csv = Only("C");
    csv.Extension = "csv";
    EXPECT_EQ(ConvertSymbolList("AAA", data, data, csv), overwrite);
    // The same folder by another spelling and through a link.
    EXPECT_EQ(ConvertSymbolList("AAA", data, data / "." / "", csv), overwrite);
    fs::create_directory_symlink(data, folder / "link");
    EXPECT_EQ(ConvertSymbolList("AAA", data, folder / "link", csv), overwrite);
    // The single file named after another security of the folder.
    ConversionOption single = Only("SC");
    single.Single = 1;
    single.FileName = "BBB";
    single.Extension = ".csv";
    EXPECT_EQ(ConvertSymbolList("AAA", data, data, single), overwrite);
    single.FileName = "NEW";
    EXPECT_EQ(ConvertSymbolList("AAA", data, folder / "link", single), overwrite);
    EXPECT_EQ(test::ReadFile(data / "AAA.csv"), aaa);
    EXPECT_EQ(test::ReadFile(data / "BBB.csv"), bbb);
    EXPECT_EQ(FileNames(data), (std::vector<std::string>{"AAA.csv", "BBB.csv"}));

    // Another extension in the data folder is fine.
    ConversionOption text = Only("C");
    EXPECT_EQ(ConvertSymbolList("AAA", data, data, text), SkippedSymbols{});
    EXPECT_EQ(test::ReadFile(data / "AAA.txt"), "92.41\r\n");
    EXPECT_EQ(test::ReadFile(data / "AAA.csv"), aaa);
}

TEST(SymbolListTest, EverySingleBlankEndsASymbol) {
    EXPECT_EQ(SplitSymbolList(" AAA BBB CCC"), (std::vector<std::string>{"AAA", "BBB", "CCC"}));
    EXPECT_EQ(SplitSymbolList("\tAAA\r\n"), (std::vector<std::string>{"AAA"}));
    EXPECT_EQ(SplitSymbolList("AAA  BBB"), (std::vector<std::string>{"AAA", "", "BBB"}));
    EXPECT_EQ(SplitSymbolList("AAA\tBBB"), (std::vector<std::string>{"AAA\tBBB"}));
    EXPECT_EQ(SplitSymbolList(""), (std::vector<std::string>{""}));
}

} // namespace
} // namespace tessaly
