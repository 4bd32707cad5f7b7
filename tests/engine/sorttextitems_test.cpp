#include "engine/sorttextitems.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace tessaly;

namespace {

struct Row {
    std::string key;
    std::string tag; // tells rows with equal keys apart
};

std::vector<Row> Sorted(std::vector<Row> rows, bool ascending) {
    SortTextItems([&](int i) { return rows[static_cast<std::size_t>(i)].key; },
                  [&](int a, int b) {
                      std::swap(rows[static_cast<std::size_t>(a)], rows[static_cast<std::size_t>(b)]);
                  },
                  ascending, 0, static_cast<int>(rows.size()) - 1);
    return rows;
}

std::string Keys(const std::vector<Row>& rows) {
    std::string keys;
    for (const Row& row : rows)
        keys += row.key + "|";
    return keys;
}

std::string Tags(const std::vector<Row>& rows) {
    std::string tags;
    for (const Row& row : rows)
        tags += row.tag;
    return tags;
}

} // namespace

struct SortCase {
    std::vector<std::string> keys;
    bool ascending;
    std::string expected;
};

class SortTextItemsTest : public testing::TestWithParam<SortCase> {};

TEST_P(SortTextItemsTest, OrdersByPlainText) {
    std::vector<Row> rows;
    for (const std::string& key : GetParam().keys)
        rows.push_back({key, ""});
    EXPECT_EQ(Keys(Sorted(rows, GetParam().ascending)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SortTextItemsTest,
    testing::Values(SortCase{{}, true, ""}, SortCase{{"A"}, false, "A|"},
                    // Numbers compare as text and capitals before small letters.
                    SortCase{{"9", "10", "250", "0"}, true, "0|10|250|9|"},
                    SortCase{{"9", "10", "250", "0"}, false, "9|250|10|0|"},
                    SortCase{{"b", "B", "a", "A"}, true, "A|B|a|b|"},
                    SortCase{{"0", "0", "250"}, false, "250|0|0|"},
                    SortCase{{"e", "d", "c", "b", "a", "c", "f", "a"}, true, "a|a|b|c|c|d|e|f|"},
                    SortCase{{"", "x", ""}, true, "||x|"}));

TEST(SortTextItems, LeavesRowsWithEqualTextsWhereTheSortPutsThem) {
    // Already in order: nothing is exchanged, equal rows keep their places.
    EXPECT_EQ(Tags(Sorted({{"0", "a"}, {"0", "b"}, {"250", "c"}}, true)), "abc");
    // The report's rows after two clicks on Records: the descending pass exchanges the first "0"
    // with "250" and never the two "0" rows with each other.
    EXPECT_EQ(Tags(Sorted(Sorted({{"0", "I"}, {"0", "X"}, {"250", "M"}}, true), false)), "MXI");
}
