#pragma once

#include "browser/symboldatabase.h"

#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace tessaly::test {

// A complete small database: every directory block, the 215 industry sections (industry n lists
// the single symbol In), twelve index families (Xn), six ETF families (En), eleven markets of which
// [Market10] stands before [Market1], and the currency pairs.
inline std::string SymbolDatabaseFixture(std::string_view lineBreak = "\n") {
    std::vector<std::string> lines{"[Markets]", "MarketsNumber=11"};
    for (int i = 1; i <= 11; ++i)
        lines.push_back("Market" + std::to_string(i) + "=Market " + std::to_string(i));
    lines.insert(lines.end(), {"", "[Market10]", "Ten Corp,TEN,NYSE", "", "[Market1]", "One Corp,ONE,NYSE",
                               "Uno Corp,UNO,NYSE", ""});
    for (int i = 2; i <= 11; ++i)
        if (i != 10)
            lines.insert(lines.end(), {"[Market" + std::to_string(i) + "]",
                                       "M" + std::to_string(i) + ",M" + std::to_string(i) + ",X", ""});
    lines.insert(lines.end(), {"[Sectors]", "SectorsNumber=9"});
    for (int k = 1; k <= 9; ++k)
        lines.push_back("Sector" + std::to_string(k) + "=Sector " + std::to_string(k));
    lines.push_back("");
    for (int k = 1; k <= 9; ++k) {
        const int count = SymbolDatabase::IndustryCount(k);
        lines.insert(lines.end(),
                     {"[Sector" + std::to_string(k) + "]", "IndustryNumber=" + std::to_string(count)});
        for (int i = 0; i < count; ++i)
            lines.push_back("Industry=Industry " + std::to_string(SymbolDatabase::FirstIndustry(k) + i));
        lines.push_back("");
    }
    for (int n = 1; n <= 215; ++n)
        lines.insert(lines.end(), {"[Industry" + std::to_string(n) + "]",
                                   "Company " + std::to_string(n) + ",I" + std::to_string(n) + ",NYSE", ""});
    for (const auto& [block, key, count] :
         {std::tuple{"[US-Indices]", "IndexNumber", 6}, std::tuple{"[World-Indices]", "IndexNumber", 6},
          std::tuple{"[US-ETF]", "ETFNumber", 3}, std::tuple{"[World-ETF]", "ETFNumber", 3}}) {
        lines.insert(lines.end(), {block, std::string(key) + "=" + std::to_string(count)});
        for (int i = 1; i <= count; ++i)
            lines.push_back(std::string("Family=") + block + " " + std::to_string(i));
        lines.push_back("");
    }
    for (int n = 1; n <= 12; ++n)
        lines.insert(lines.end(), {"[Index" + std::to_string(n) + "]",
                                   "Index " + std::to_string(n) + ",X" + std::to_string(n) + ",Index", ""});
    for (int n = 1; n <= 6; ++n)
        lines.insert(lines.end(), {"[ETF" + std::to_string(n) + "]",
                                   "Fund " + std::to_string(n) + ",E" + std::to_string(n) + ",ETF", ""});
    lines.insert(lines.end(), {"[FOREX]", "Euro/US Dollar,$EURUSD,FOREX", "US Dollar/Yen,$USDJPY,FOREX"});
    std::string text;
    for (const auto& line : lines)
        text += line + std::string(lineBreak);
    return text;
}

} // namespace tessaly::test
