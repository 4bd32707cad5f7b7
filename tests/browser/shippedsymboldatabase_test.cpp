// The symbol database shipped with the program: its structure, checked line by line, and what the
// reader makes of it.
#include "browser/symboldatabase.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace tessaly {
namespace {

class ShippedSymbolDatabaseTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        text_ = test::ReadFile(TESSALY_SHIPPED_SYMBOL_DATABASE);
        std::istringstream in(text_);
        for (std::string line; std::getline(in, line);)
            lines_.push_back(line);
    }

    // The position of the only line containing `text`, the line a search from the top finds; fails
    // when there is none or more than one.
    static std::size_t UniqueLine(const std::string& text) {
        const auto contains = [&](const std::string& line) { return line.find(text) != std::string::npos; };
        EXPECT_EQ(std::count_if(lines_.begin(), lines_.end(), contains), 1) << text;
        const auto found = std::find_if(lines_.begin(), lines_.end(), contains);
        EXPECT_NE(found, lines_.end()) << text;
        return static_cast<std::size_t>(found - lines_.begin());
    }

    static int Count(const std::string& line, const std::string& key) {
        EXPECT_EQ(line.rfind(key + "=", 0), 0u) << line;
        return std::stoi(line.substr(key.size() + 1));
    }

    // A directory block: the count line at `at`, then exactly `count` "key=value" lines and an
    // empty line. Returns the count.
    static int CheckDirectory(std::size_t at, const std::string& key) {
        const int count = Count(lines_.at(at), key);
        EXPECT_GT(count, 0) << key;
        for (int i = 1; i <= count; ++i) {
            const auto& line = lines_.at(at + static_cast<std::size_t>(i));
            EXPECT_NE(line.find('='), std::string::npos) << line;
            EXPECT_FALSE(line.empty() || line.back() == '=') << key << " line " << i;
        }
        EXPECT_EQ(lines_.at(at + static_cast<std::size_t>(count) + 1), "") << key << " count " << count;
        return count;
    }

    // A symbol section: its unique header, entries with at least two commas and a usable symbol,
    // no symbol twice, ended by an empty line. Returns the symbols.
    static std::vector<std::string> CheckSection(const std::string& marker) {
        std::vector<std::string> symbols;
        std::size_t i = UniqueLine(marker) + 1;
        for (; i < lines_.size() && !lines_[i].empty(); ++i) {
            const auto& line = lines_[i];
            const auto first = line.find(',');
            const auto second = first == std::string::npos ? first : line.find(',', first + 1);
            EXPECT_NE(second, std::string::npos) << marker << ": " << line;
            if (second == std::string::npos)
                continue;
            const auto symbol = line.substr(first + 1, second - first - 1);
            EXPECT_FALSE(symbol.empty() || symbol.find_first_of(" \t") != std::string::npos) << line;
            EXPECT_FALSE(line.substr(0, first).empty()) << line;
            symbols.push_back(symbol);
        }
        EXPECT_TRUE(i == lines_.size() || lines_[i].empty()) << marker;
        EXPECT_FALSE(symbols.empty()) << marker << " is empty";
        const std::set<std::string> unique(symbols.begin(), symbols.end());
        EXPECT_EQ(unique.size(), symbols.size()) << marker << " lists a symbol twice";
        return symbols;
    }

    static std::string text_;
    static std::vector<std::string> lines_;
};

std::string ShippedSymbolDatabaseTest::text_;
std::vector<std::string> ShippedSymbolDatabaseTest::lines_;

TEST_F(ShippedSymbolDatabaseTest, DirectoriesAndSectionsAreComplete) {
    ASSERT_FALSE(lines_.empty());
    EXPECT_EQ(text_.find('\r'), std::string::npos);
    EXPECT_EQ(text_.back(), '\n');

    const int markets = CheckDirectory(UniqueLine("MarketsNumber"), "MarketsNumber");
    EXPECT_GE(markets, 10);
    std::size_t entries = 0;
    for (int i = 1; i <= markets; ++i)
        entries += CheckSection("[Market" + std::to_string(i) + "]").size();

    EXPECT_EQ(CheckDirectory(UniqueLine("SectorsNumber"), "SectorsNumber"), SymbolDatabase::kSectorCount);
    for (int k = 1; k <= SymbolDatabase::kSectorCount; ++k) {
        const auto header = UniqueLine("[Sector" + std::to_string(k) + "]");
        EXPECT_EQ(CheckDirectory(header + 1, "IndustryNumber"), SymbolDatabase::IndustryCount(k)) << k;
    }

    // The industries stand in increasing number, each header right after the previous empty line.
    const auto firstIndustry = UniqueLine("[Industry1]");
    for (int n = 1; n <= SymbolDatabase::kIndustryCount; ++n) {
        const auto marker = "[Industry" + std::to_string(n) + "]";
        const auto header = UniqueLine(marker);
        const auto symbols = CheckSection(marker);
        entries += symbols.size();
        if (n > 1) {
            EXPECT_EQ(lines_.at(header - 1), "") << marker;
        }
        EXPECT_GE(header, firstIndustry);
        if (n < SymbolDatabase::kIndustryCount) {
            EXPECT_EQ(lines_.at(header + symbols.size() + 2), "[Industry" + std::to_string(n + 1) + "]")
                << marker;
        }
    }

    const std::vector<std::tuple<std::string, std::string, std::string, int>> families{
        {"[US-Indices]", "IndexNumber", "[Index", 1},
        {"[World-Indices]", "IndexNumber", "[Index", 1 + SymbolDatabase::kUsIndexFamilies},
        {"[US-ETF]", "ETFNumber", "[ETF", 1},
        {"[World-ETF]", "ETFNumber", "[ETF", 1 + SymbolDatabase::kUsEtfFamilies},
    };
    for (const auto& [block, key, prefix, first] : families) {
        const int count = CheckDirectory(UniqueLine(block) + 1, key);
        if (block == "[US-Indices]") {
            EXPECT_EQ(count, SymbolDatabase::kUsIndexFamilies);
        }
        if (block == "[US-ETF]") {
            EXPECT_EQ(count, SymbolDatabase::kUsEtfFamilies);
        }
        for (int n = first; n < first + count; ++n)
            entries += CheckSection(prefix + std::to_string(n) + "]").size();
    }

    const auto forex = CheckSection("[FOREX]");
    EXPECT_EQ(forex, (std::vector<std::string>{"$EURCHF", "$EURGBP", "$EURJPY", "$EURUSD", "$GBPUSD",
                                               "$USDCHF", "$USDJPY"}));
    entries += forex.size();
    EXPECT_GE(entries, 2000u);
}

TEST_F(ShippedSymbolDatabaseTest, ReaderSeesEveryList) {
    const SymbolDatabase database(TESSALY_SHIPPED_SYMBOL_DATABASE);
    ASSERT_TRUE(database.IsLoaded());
    const auto types = database.Types();
    ASSERT_EQ(types.size(), 18u);
    for (int type = 0; type < static_cast<int>(types.size()); ++type) {
        const auto groups = database.Groups(type);
        ASSERT_FALSE(groups.empty()) << types[static_cast<std::size_t>(type)].text;
        const bool heading = type == 2 || type == 12 || type == 15;
        for (int group = 0; group < static_cast<int>(groups.size()); ++group)
            EXPECT_EQ(database.Entries(type, group).empty(), heading)
                << types[static_cast<std::size_t>(type)].text << " / "
                << groups[static_cast<std::size_t>(group)];
    }
    // "All" of a sector is exactly its industries one after the other.
    for (int type = 3; type <= 11; ++type) {
        std::vector<SymbolEntry> industries;
        const auto groups = database.Groups(type);
        for (int group = 1; group < static_cast<int>(groups.size()); ++group) {
            const auto entries = database.Entries(type, group);
            industries.insert(industries.end(), entries.begin(), entries.end());
        }
        EXPECT_EQ(database.Entries(type, 0), industries) << types[static_cast<std::size_t>(type)].text;
    }
}

TEST(ShippedSymbolDatabaseCopyTest, BuildTreeHoldsTheFileBesideTheExecutables) {
    for (const char* path : {TESSALY_BUILD_DATA_COPIES})
        EXPECT_EQ(test::ReadFile(path), test::ReadFile(TESSALY_SHIPPED_SYMBOL_DATABASE)) << path;
}

} // namespace
} // namespace tessaly
