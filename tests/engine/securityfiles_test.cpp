#include "engine/securityfiles.h"
#include "engine/securityrow.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tessaly {
namespace {

TEST(SecurityFileNameTest, TheCsvTest) {
    EXPECT_TRUE(IsSecurityFileName("IBM.csv"));
    EXPECT_TRUE(IsSecurityFileName("ibm.csv"));
    EXPECT_TRUE(IsSecurityFileName("EURUSD$.csvx"));
    EXPECT_TRUE(IsSecurityFileName("BRK.B.csv"));
    EXPECT_FALSE(IsSecurityFileName("IBM.CSV"));
    EXPECT_FALSE(IsSecurityFileName("ibm.csv.bak"));
    EXPECT_FALSE(IsSecurityFileName("notes.txt"));
    EXPECT_FALSE(IsSecurityFileName("csv"));
    EXPECT_EQ(SymbolFromFileName("ibm.csv"), "IBM");
    EXPECT_EQ(SymbolFromFileName("brk.b.csv"), "BRK.B");
    EXPECT_EQ(SymbolFromFileName("averyverylongsymbol.csv"), "AVERYVERYLONGSYMBOL");
}

TEST(SecurityFileNameTest, SafeSymbols) {
    for (const char* symbol : {"IBM", "^GSPC", "M&M.NS", "$EURUSD", "BRK-B", "A B"})
        EXPECT_TRUE(IsSafeSymbol(symbol)) << symbol;
    for (const char* symbol : {"", ".", "..", "a/b", "a\\b", "a\tb", "a\nb", "\x7f"})
        EXPECT_FALSE(IsSafeSymbol(symbol)) << symbol;
    EXPECT_FALSE(IsSafeSymbol(std::string("a\0b", 3)));
}

TEST(SecurityFileNameTest, FindsDataFilesWhateverTheirCase) {
    test::TempFolder folder;
    folder.Write("ibm.CSV", "x");
    folder.Write("MSFT.csv", "x");
    EXPECT_EQ(FindSecurityFile(folder.Path(), "IBM")->filename(), "ibm.CSV");
    EXPECT_EQ(FindSecurityFile(folder.Path(), "msft")->filename(), "MSFT.csv");
    EXPECT_FALSE(FindSecurityFile(folder.Path(), "DELL"));
    EXPECT_FALSE(FindSecurityFile(folder.Path(), "../x"));
}

TEST(SecurityRowTest, ListsOnlyDataFilesWithTheirValues) {
    test::TempFolder folder;
    folder.Write(
        "ibm.csv",
        "Date,Open,High,Low,Close,Volume,Adj. Close*\r\n3-Jan-05,1,1,1,2,5,2\r\n4-Jan-05,2,2,2,1,5,1");
    folder.Write("msft.csv", "");
    folder.Write("notes.txt", "");
    folder.Write("IBM.CSV", "");
    std::filesystem::create_directory(folder / "dir.csv");
    auto names = ListSecurityFileNames(folder.Path());
    std::sort(names.begin(), names.end());
    ASSERT_EQ(names, (std::vector<std::string>{"ibm.csv", "msft.csv"}));

    const auto row = ReadSecurityRow(folder / "ibm.csv", true);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->symbol, "IBM");
    EXPECT_EQ(row->fileName, "ibm.csv");
    EXPECT_EQ(row->periodicity, "Daily");
    EXPECT_EQ(row->firstDate, "3-Jan-05");
    EXPECT_EQ(row->lastDate, "4-Jan-05");
    EXPECT_EQ(row->trend, "+-===");
    EXPECT_EQ(row->records, 2);
    EXPECT_FALSE(ReadSecurityRow(folder / "missing.csv"));
}

} // namespace
} // namespace tessaly
