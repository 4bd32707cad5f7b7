#include "browser/symboldatabase.h"
#include "support/tempfolder.h"
#include "symbolfixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessaly {
namespace {

using Symbols = std::vector<std::string>;

std::string Number(int n) {
    return std::to_string(n);
}

std::string Fixture(std::string_view lineBreak = "\n") {
    return test::SymbolDatabaseFixture(lineBreak);
}

Symbols SymbolsOf(const std::vector<SymbolEntry>& entries) {
    Symbols symbols;
    for (const auto& entry : entries)
        symbols.push_back(entry.symbol);
    return symbols;
}

Symbols IndustrySymbols(int first, int count) {
    Symbols symbols;
    for (int n = first; n < first + count; ++n)
        symbols.push_back("I" + Number(n));
    return symbols;
}

class SymbolDatabaseFixtureTest : public testing::TestWithParam<std::string_view> {
protected:
    SymbolDatabase database_ = SymbolDatabase::FromText(Fixture(GetParam()));
};

TEST_P(SymbolDatabaseFixtureTest, TypeListHoldsTheFixedPositions) {
    const Symbols expected{"Exchanges",  "FOREX",        "Sectors:",       "  Sector 1",   "  Sector 2",
                           "  Sector 3", "  Sector 4",   "  Sector 5",     "  Sector 6",   "  Sector 7",
                           "  Sector 8", "  Sector 9",   "Indices:",       "  US Markets", "  World Markets",
                           "ETFs:",      "  US Markets", "  World Markets"};
    EXPECT_EQ(database_.TypeEntries(), expected);
    const auto types = database_.Types();
    EXPECT_EQ(types[9].kind, SymbolListKind::Sector);
    EXPECT_EQ(types[9].sector, 7);
    EXPECT_EQ(types[17].kind, SymbolListKind::WorldEtfs);
}

TEST_P(SymbolDatabaseFixtureTest, GroupLists) {
    const auto groups0 = database_.Groups(0);
    ASSERT_EQ(groups0.size(), 11u);
    EXPECT_EQ(groups0.front(), "Market 1");
    EXPECT_EQ(database_.Groups(1), Symbols{"All"});
    EXPECT_EQ(database_.Groups(2), Symbols{"Select sector ..."});
    EXPECT_EQ(database_.Groups(12), Symbols{"Select market ..."});
    EXPECT_EQ(database_.Groups(15), Symbols{"Select market ..."});
    EXPECT_EQ(database_.Groups(4), (Symbols{"All", "Industry 18"}));
    const auto sector1 = database_.Groups(3);
    ASSERT_EQ(sector1.size(), 18u);
    EXPECT_EQ(sector1[1], "Industry 1");
    EXPECT_EQ(sector1[17], "Industry 17");
    EXPECT_EQ(database_.Groups(9).size(), 61u);
    EXPECT_EQ(database_.Groups(13).size(), 6u);
    EXPECT_EQ(database_.Groups(17), (Symbols{"[World-ETF] 1", "[World-ETF] 2", "[World-ETF] 3"}));
    EXPECT_TRUE(database_.Groups(18).empty());
    EXPECT_TRUE(database_.Groups(-1).empty());
}

struct EntriesCase {
    int type;
    int group;
    Symbols symbols;
};

TEST_P(SymbolDatabaseFixtureTest, EntriesOfEveryKindOfGroup) {
    const std::vector<EntriesCase> cases{
        {0, 0, {"ONE", "UNO"}}, // [Market1] does not stop at the [Market10] before it
        {0, 9, {"TEN"}},
        {0, 10, {"M11"}},
        {1, 0, {"$EURUSD", "$USDJPY"}},
        {2, 0, {}},
        {12, 0, {}},
        {15, 0, {}},
        {3, 0, IndustrySymbols(1, 17)}, // "All" of sector 1 in one sweep
        {3, 2, {"I2"}},
        {3, 17, {"I17"}},
        {4, 0, {"I18"}},
        {4, 1, {"I18"}},
        {9, 2, {"I120"}},
        {9, 0, IndustrySymbols(119, 60)},
        {11, 0, IndustrySymbols(211, 5)},
        {11, 5, {"I215"}},
        {13, 0, {"X1"}},
        {13, 5, {"X6"}},
        {14, 3, {"X10"}},
        {16, 2, {"E3"}},
        {17, 0, {"E4"}},
        {17, 2, {"E6"}},
        {3, 18, {}}, // beyond the group list
        {0, -1, {}},
        {18, 0, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SymbolsOf(database_.Entries(c.type, c.group)), c.symbols)
            << "type " << c.type << " group " << c.group;
}

INSTANTIATE_TEST_SUITE_P(LineBreaks, SymbolDatabaseFixtureTest, testing::Values("\n", "\r\n"));

TEST(SymbolDatabaseTest, EntryLinesAreTrimmedAndUnusableOnesDropped) {
    const auto database = SymbolDatabase::FromText("MarketsNumber=1\nMarket1=NYSE\n[Market1]\n"
                                                   "Acme Corp,ACME,NYSE\n"
                                                   "  Padded Inc ,\t PAD  ,NYSE\n"
                                                   "Two Fields,TWO\n"
                                                   "No Commas\n"
                                                   "Blank Symbol, ,NYSE\n"
                                                   "Inner Blank,BR K,NYSE\n"
                                                   "Tab Inside,A\tB,NYSE\n"
                                                   ",NONAME,NYSE\n"
                                                   "Currency,$EURUSD,FOREX,extra,fields\n"
                                                   "   \n"
                                                   "Last,LAST,NYSE\n");
    const std::vector<SymbolEntry> expected{{"Acme Corp", "ACME"},
                                            {"Padded Inc", "PAD"},
                                            {"", "NONAME"},
                                            {"Currency", "$EURUSD"},
                                            {"Last", "LAST"}};
    EXPECT_EQ(database.Entries(0, 0), expected);
}

TEST(SymbolDatabaseTest, CountsLargerThanTheFileStopAtItsEnd) {
    const auto database = SymbolDatabase::FromText("MarketsNumber=1000000\nM=NYSE\nM=NASDAQ\n\n"
                                                   "[Sector1]\nIndustryNumber=99999\nI=Oil\nI=Gas\n\n"
                                                   "SectorsNumber=4000000000\nS=Energy\nUtilities");
    // Two sector names before the end of the file; the index and ETF entries follow them.
    EXPECT_EQ(database.TypeEntries(), (Symbols{"Exchanges", "FOREX", "Sectors:", "  Energy", "  Utilities",
                                               "Indices:", "  US Markets", "  World Markets",
                                               "ETFs:", "  US Markets", "  World Markets"}));
    EXPECT_EQ(database.Types()[5].kind, SymbolListKind::IndicesHeading);
    const auto markets = database.Groups(0);
    ASSERT_EQ(markets.size(), 11u);
    EXPECT_EQ(markets.front(), "NYSE");
    EXPECT_EQ(markets.back(), "Utilities");
    // "All" and the lines up to the end of the file, never more than the sector's 17 industries.
    EXPECT_EQ(database.Groups(3).size(), 7u);
}

TEST(SymbolDatabaseTest, SweepStopsAtTheEndOfTheFile) {
    const auto database =
        SymbolDatabase::FromText("SectorsNumber=9\n1\n2\n3\n4\n5\n6\n7\n8\n9\n"
                                 "[Sector1]\nIndustryNumber=17\nOne\n"
                                 "[Industry1]\nA,A,X\n\n[Industry2]\nB,B,X\n\n[Industry3]\nC,C,X");
    EXPECT_EQ(SymbolsOf(database.Entries(3, 0)), (Symbols{"A", "B", "C"}));
    EXPECT_EQ(SymbolsOf(database.Entries(3, 1)), Symbols{"A"});
}

TEST(SymbolDatabaseTest, MissingBlocksGiveEmptyGroupLists) {
    // No "SectorsNumber": only the two fixed entries.
    const auto noSectors = SymbolDatabase::FromText("MarketsNumber=1\nNYSE\n[Market1]\nA,A,X\n");
    EXPECT_EQ(noSectors.TypeEntries(), (Symbols{"Exchanges", "FOREX"}));
    EXPECT_EQ(SymbolsOf(noSectors.Entries(0, 0)), Symbols{"A"});
    EXPECT_TRUE(noSectors.Entries(1, 0).empty());

    // A sector whose count line does not follow its header, a missing market directory and a
    // missing index block.
    const auto partial = SymbolDatabase::FromText("SectorsNumber=9\n1\n2\n3\n4\n5\n6\n7\n8\n9\n"
                                                  "[Sector1]\n\nIndustryNumber=17\nOne\n"
                                                  "[Sector2]\nIndustryNumber=0\n"
                                                  "[Industry1]\nA,A,X\n\n[Industry18]\nB,B,X\n");
    EXPECT_TRUE(partial.Groups(0).empty());
    EXPECT_TRUE(partial.Groups(3).empty());
    EXPECT_TRUE(partial.Entries(3, 0).empty());
    EXPECT_EQ(partial.Groups(4), Symbols{"All"});
    EXPECT_EQ(SymbolsOf(partial.Entries(4, 0)), Symbols{"B"});
    EXPECT_TRUE(partial.Groups(5).empty());
    EXPECT_TRUE(partial.Groups(13).empty());
    EXPECT_TRUE(partial.Entries(13, 0).empty());
}

TEST(SymbolDatabaseTest, MissingOrUnreadableFileGivesTheFixedEntries) {
    test::TempFolder folder;
    for (const auto& path : {folder / "SymbolDatabaseEx2.dta", folder.Path()}) {
        const SymbolDatabase database(path);
        EXPECT_FALSE(database.IsLoaded());
        EXPECT_EQ(database.TypeEntries(), (Symbols{"Exchanges", "FOREX"}));
        EXPECT_TRUE(database.Groups(0).empty());
        EXPECT_EQ(database.Groups(1), Symbols{"All"});
        EXPECT_TRUE(database.Entries(0, 0).empty());
        EXPECT_TRUE(database.Entries(1, 0).empty());
    }
    EXPECT_EQ(SymbolDatabase().TypeEntries().size(), 2u);
}

TEST(SymbolDatabaseTest, LoadFirstUsablePrefersACopyWithTheListLayout) {
    test::TempFolder folder;
    const auto plain = folder.Write("SymbolDatabase.dta", "Symbols\nCount=1\nIBM\n");
    const auto user = folder.Write("user.dta", Fixture());
    const auto shipped = folder.Write("shipped.dta", "SectorsNumber=0\n");

    EXPECT_EQ(SymbolDatabase::LoadFirstUsable({folder / "missing.dta", plain, user, shipped}).Path(), user);
    EXPECT_EQ(SymbolDatabase::LoadFirstUsable({plain, shipped}).Path(), shipped);
    const auto onlyPlain = SymbolDatabase::LoadFirstUsable({folder / "missing.dta", plain});
    EXPECT_TRUE(onlyPlain.IsLoaded());
    EXPECT_EQ(onlyPlain.Path(), plain);
    EXPECT_FALSE(SymbolDatabase::LoadFirstUsable({folder / "missing.dta"}).IsLoaded());

    EXPECT_TRUE(SymbolDatabase::HasListLayout(Fixture()));
    EXPECT_FALSE(SymbolDatabase::HasListLayout("Symbols\nCount=1\n"));
}

TEST(SymbolDatabaseTest, IndustryTableCoversAllIndustriesOnce) {
    int next = 1;
    for (int k = 1; k <= SymbolDatabase::kSectorCount; ++k) {
        EXPECT_EQ(SymbolDatabase::FirstIndustry(k), next);
        next += SymbolDatabase::IndustryCount(k);
    }
    EXPECT_EQ(next, SymbolDatabase::kIndustryCount + 1);
    EXPECT_EQ(SymbolDatabase::IndustryCount(0), 0);
    EXPECT_EQ(SymbolDatabase::IndustryCount(10), 0);
}

} // namespace
} // namespace tessaly
