#include "convert/skippedsymbol.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

TEST(SkippedSymbolsMessage, NamesEachSymbolWithItsReason) {
    EXPECT_EQ(SkippedSymbolsMessage({}), "");
    EXPECT_EQ(SkippedSymbolsMessage({{"ZZZ", "no data file"}}),
              "This security was not converted:\n\nZZZ: no data file");
    EXPECT_EQ(SkippedSymbolsMessage({{"", "empty symbol"}, {"AAA", "cannot create /x/AAA.txt"}}),
              "These securities were not converted:\n\nempty symbol\nAAA: cannot create /x/AAA.txt");
}

TEST(SkippedSymbolsMessage, LongListShowsItsStartAndTheCountOfTheRest) {
    SkippedSymbols skipped;
    for (int i = 0; i < 25; ++i)
        skipped.push_back({"S" + std::to_string(i), "no data file"});
    const std::string message = SkippedSymbolsMessage(skipped, 3);
    EXPECT_EQ(message,
              "These securities were not converted:\n\nS0: no data file\nS1: no data file\nS2: no data "
              "file\n... and 22 more");
}

} // namespace
} // namespace tessaly
