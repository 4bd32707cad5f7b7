#include "convert/mbf.h"
#include "convert/metalib.h"
#include "convert/metastockconversion.h"
#include "metastock_support.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <map>

namespace tessaly {
namespace {

using test::U16At;

constexpr std::string_view kHeader = "Date,Open,High,Low,Close,Volume,Adj. Close*";

std::string Mbf(float value) {
    std::string bytes(4, '\0');
    metastock::WriteMbf(reinterpret_cast<std::uint8_t*>(bytes.data()), value);
    return bytes;
}

std::string DataFile(std::initializer_list<std::string_view> lines) {
    std::string text(kHeader);
    for (std::string_view line : lines)
        text += "\r\n" + std::string(line);
    return text;
}

class MetaStockConversionTest : public testing::Test {
protected:
    SkippedSymbols Convert(std::string_view symbols) {
        return ConvertToMetaStock(symbols, data.Path(), out, messages);
    }
    std::string Read(std::string_view name) const { return test::ReadFile(out / std::string(name)); }
    std::map<std::string, std::string> Snapshot() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(out))
            files[entry.path().filename().string()] = test::ReadFile(entry.path());
        return files;
    }

    ScopedClock clock{test::TestClock()};
    test::TempFolder data;
    test::TempFolder output;
    std::filesystem::path out = output / "metastock";
    test::ScriptedMessageBoxes messages;
};

TEST(MetaStockRecordTest, ConvertsOneLine) {
    ScopedClock clock(test::TestClock());
    const auto record = ConvertRecordLine("10-Dec-26,92.50,93.10,91.80,92.41,4821300,92.41");
    ASSERT_TRUE(record);
    EXPECT_EQ(record->date, 1261210);
    EXPECT_EQ(record->open, 92.5f);
    EXPECT_EQ(record->close, 92.41f);
    EXPECT_EQ(record->volume, 48213.0f);
    EXPECT_EQ(record->openInterest, 0.0f);

    const auto halved = ConvertRecordLine("3-Mar-05,20,22,18,20,100,10");
    ASSERT_TRUE(halved);
    EXPECT_EQ(halved->date, 1050303);
    EXPECT_EQ(halved->open, 10.0f);
    EXPECT_EQ(halved->high, 11.0f);
    EXPECT_EQ(halved->low, 9.0f);
    EXPECT_EQ(halved->close, 10.0f);
    EXPECT_EQ(halved->volume, 1.0f);

    EXPECT_EQ(ConvertRecordLine("31-Dec-99,1,1,1,1,0,1")->date, 991231);
    // Without an adjusted close the prices stay as read; a zero close takes the adjusted one.
    EXPECT_EQ(ConvertRecordLine("3-Mar-05,20,22,18,20,100")->open, 20.0f);
    const auto zeroClose = ConvertRecordLine("3-Mar-05,20,22,18,0,100,5");
    EXPECT_EQ(zeroClose->open, 20.0f);
    EXPECT_EQ(zeroClose->close, 5.0f);
    EXPECT_FALSE(ConvertRecordLine(""));
    EXPECT_FALSE(ConvertRecordLine("  "));
}

TEST_F(MetaStockConversionTest, NewFolderGetsOneDataFilePerSecurityInListOrder) {
    data.Write("BBB.csv", DataFile({"28-Feb-05,20,22,18,20,4821300,10", "1-Mar-05,1,1,1,1,100,1"}));
    data.Write("aaa.CSV", DataFile({"10-Dec-26,5,5,5,5,0,5"}));
    data.Write("EMPTY.csv", DataFile({}));
    data.Write("WEEK.csv",
               DataFile({"3-Jan-05,1,1,1,1,1,1", "10-Jan-05,1,1,1,1,1,1", "17-Jan-05,1,1,1,1,1,1"}));
    EXPECT_TRUE(Convert("  BBB AAA EMPTY WEEK ").empty());

    EXPECT_EQ(U16At(Read("MASTER"), 0), 4u);
    EXPECT_EQ(Read("MASTER").size(), 53u * 5);
    EXPECT_EQ(Read("EMASTER").size(), 192u * 5);
    const std::string bbb = Read("F1.DAT");
    ASSERT_EQ(bbb.size(), 84u);
    EXPECT_EQ(U16At(bbb, 2), 3u);
    EXPECT_EQ(test::Hex(bbb.substr(28, 28)), test::Hex(Mbf(1050228.0f) + Mbf(10.0f) + Mbf(11.0f) + Mbf(9.0f) +
                                                       Mbf(10.0f) + Mbf(48213.0f) + Mbf(0.0f)));
    EXPECT_EQ(Read("F2.DAT").substr(28, 4), Mbf(1261210.0f));
    EXPECT_EQ(Read("F3.DAT").size(), 28u);
    // Dates and the letter "D" in the master records, even for weekly data.
    const std::string master = Read("MASTER");
    EXPECT_EQ(master.substr(53 + 25, 9), Mbf(1050228.0f) + Mbf(1050301.0f) + "D");
    EXPECT_EQ(master.substr(53 + 7, 3), "BBB");
    EXPECT_EQ(master[53 * 4 + 33], 'D');
    EXPECT_EQ(Read("EMASTER")[192 * 4 + 60], 'D');

    MetaLib lib(messages);
    ASSERT_EQ(lib.OpenFolder(out), 0);
    const auto securities = lib.ListSecurities();
    ASSERT_EQ(securities.size(), 4u);
    EXPECT_EQ(securities[1].symbol, "AAA");
    EXPECT_EQ(securities[1].firstDate, 20261210);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MetaStockConversionTest, SecondConversionWithoutNewDataChangesNoByte) {
    data.Write("IBM.csv", DataFile({"28-Feb-05,1,2,0.5,1.5,100,1.5", "1-Mar-05,2,3,1,2,200,2"}));
    ASSERT_TRUE(Convert("IBM").empty());
    const auto before = Snapshot();
    EXPECT_TRUE(Convert("IBM ibm").empty());
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(MetaStockConversionTest, LaterConversionAppendsNewDaysAndRewritesTheLastOne) {
    data.Write("IBM.csv",
               DataFile({"28-Feb-05,1,1,1,1,100,1", "1-Mar-05,2,2,2,2,200,2", "2-Mar-05,3,3,3,3,300,3"}));
    ASSERT_TRUE(Convert("IBM").empty());
    const std::string first = Read("F1.DAT");
    data.Write("IBM.csv", DataFile({"28-Feb-05,1,1,1,1,100,1", "1-Mar-05,2,2,2,2,200,2",
                                    "2-Mar-05,3.5,3.5,3.5,3.5,350,3.5", "", "3-Mar-05,4,4,4,4,400,4",
                                    "4-Mar-05,5,5,5,5,500,5", "7-Mar-05,6,6,6,6,600,6"}));
    ASSERT_TRUE(Convert("IBM").empty());
    const std::string second = Read("F1.DAT");
    ASSERT_EQ(second.size(), 28u * 7);
    EXPECT_EQ(U16At(second, 2), 7u);
    EXPECT_EQ(second.substr(4, 28 * 3 - 4), first.substr(4, 28 * 3 - 4));
    EXPECT_EQ(second.substr(28 * 3, 8), Mbf(1050302.0f) + Mbf(3.5f));
    EXPECT_EQ(second.substr(28 * 6, 8), Mbf(1050307.0f) + Mbf(6.0f));
    EXPECT_EQ(Read("MASTER").substr(53 + 25, 8), Mbf(1050228.0f) + Mbf(1050307.0f));
    EXPECT_EQ(Read("EMASTER").substr(192 + 72, 4), std::string("\x18\x36\x80\x49", 4)); // 1050307.0f
}

TEST_F(MetaStockConversionTest, ReadjustedHistoryIsRewrittenNotExtended) {
    data.Write("IBM.csv", DataFile({"28-Feb-05,10,10,10,10,100,10", "1-Mar-05,20,20,20,20,200,20"}));
    ASSERT_TRUE(Convert("IBM").empty());
    // A 2:1 split: the new download holds halved prices for the old days.
    data.Write("IBM.csv", DataFile({"28-Feb-05,5,5,5,5,200,5", "1-Mar-05,10,10,10,10,400,10",
                                    "2-Mar-05,11,11,11,11,400,11"}));
    ASSERT_TRUE(Convert("IBM").empty());
    const std::string rewritten = Read("F1.DAT");
    ASSERT_EQ(rewritten.size(), 28u * 4);
    EXPECT_EQ(U16At(rewritten, 2), 4u);
    EXPECT_EQ(rewritten.substr(28, 8), Mbf(1050228.0f) + Mbf(5.0f));
    // A history that no longer starts at the stored first day is rewritten as well.
    data.Write("IBM.csv", DataFile({"1-Mar-05,10,10,10,10,400,10", "2-Mar-05,11,11,11,11,400,11"}));
    ASSERT_TRUE(Convert("IBM").empty());
    EXPECT_EQ(Read("F1.DAT").size(), 28u * 3);
    EXPECT_EQ(Read("MASTER").substr(53 + 25, 8), Mbf(1050301.0f) + Mbf(1050302.0f));
}

TEST_F(MetaStockConversionTest, UnusableSymbolsAreSkippedWithTheirReason) {
    data.Write("IBM.csv", DataFile({"28-Feb-05,1,1,1,1,100,1"}));
    data.Write("ABCDEFGHIJKLMNOP.csv", DataFile({"28-Feb-05,1,1,1,1,100,1"}));
    data.Write("ABCDEFGHIJKLMNXY.csv", DataFile({"28-Feb-05,2,2,2,2,100,2"}));
    const SkippedSymbols skipped = Convert("IBM  NONE ../IBM ABCDEFGHIJKLMNOP ABCDEFGHIJKLMNXY");
    const SkippedSymbols expected = {
        {"", "empty symbol"},
        {"NONE", "no data file"},
        {"../IBM", "no data file"},
        {"ABCDEFGHIJKLMNXY", "another security has the same first 14 characters"}};
    EXPECT_EQ(skipped, expected);
    // The long symbol is found by its stored form on a second run and not registered again.
    EXPECT_TRUE(Convert("ABCDEFGHIJKLMNOP").empty());
    EXPECT_EQ(U16At(Read("EMASTER"), 0), 2u);

    // Listed, but its data file is gone: reported, never registered a second time.
    std::filesystem::remove(out / "F1.DAT");
    const SkippedSymbols missing = Convert("IBM");
    ASSERT_EQ(missing.size(), 1u);
    EXPECT_EQ(missing[0].reason, "data file missing: " + (out / "F1.DAT").string());
    EXPECT_EQ(U16At(Read("EMASTER"), 0), 2u);
    EXPECT_EQ(U16At(Read("MASTER"), 0), 2u);
    EXPECT_TRUE(Convert("").size() == 1u);
}

TEST_F(MetaStockConversionTest, DamagedFolderIsNeverOverwritten) {
    data.Write("IBM.csv", DataFile({"28-Feb-05,1,1,1,1,100,1"}));
    std::filesystem::create_directories(out);
    test::WriteFile(out / "master", "short");
    const SkippedSymbols skipped = Convert("IBM");
    ASSERT_EQ(skipped.size(), 1u);
    EXPECT_EQ(skipped[0].reason, "cannot open MetaStock folder " + out.string());
    EXPECT_EQ(Read("master"), "short");
    EXPECT_FALSE(std::filesystem::exists(out / "MASTER"));
}

TEST_F(MetaStockConversionTest, TheTwoHundredFiftySixthSecurityGoesToXmaster) {
    std::string symbols;
    for (int i = 1; i <= 256; ++i) {
        const std::string symbol = "S" + std::to_string(i);
        data.Write(symbol + ".csv", DataFile({"28-Feb-05,1,1,1,1,100,1"}));
        symbols += symbol + " ";
    }
    EXPECT_TRUE(Convert(symbols).empty());
    EXPECT_EQ(Read("F256.MWD").size(), 56u);
    const std::string x = Read("XMASTER");
    ASSERT_EQ(x.size(), 300u);
    EXPECT_EQ(test::U32At(x, 150 + 80), 20050228u);
    EXPECT_EQ(test::U32At(x, 150 + 116), 20050228u);
    EXPECT_EQ(x[150 + 62], 'D');
}

} // namespace
} // namespace tessaly
