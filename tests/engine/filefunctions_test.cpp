#include "engine/clock.h"
#include "engine/filefunctions.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <string>

namespace tessaly {
namespace {

using namespace std::chrono;

// The readers' results for one file content.
struct ReaderCase {
    const char* name;
    std::string content;
    std::string firstDate;
    std::string lastDate;
    std::string periodicity;
    std::int64_t records;
    std::string trend;
};

void PrintTo(const ReaderCase& c, std::ostream* out) {
    *out << c.name;
}

std::string Records(std::initializer_list<const char*> lines, const char* lineBreak = "\r\n") {
    std::string content = "Date,Open,High,Low,Close,Volume,Adj. Close*";
    for (const char* line : lines)
        content += std::string(lineBreak) + line;
    return content;
}

class ReaderTest : public testing::TestWithParam<ReaderCase> {
protected:
    test::TempFolder folder;
};

TEST_P(ReaderTest, ReadsTheFileAsTheFormatSays) {
    const ReaderCase& c = GetParam();
    TextFile file(folder.Write("S.csv", c.content));
    ASSERT_TRUE(file.IsOpen());
    // Every operation rewinds, so the order of the calls does not matter.
    EXPECT_EQ(GetLastDate(file), c.lastDate);
    EXPECT_EQ(GetFirstDate(file), c.firstDate);
    EXPECT_EQ(GetTrend(file), c.trend);
    EXPECT_EQ(GetPeriodicity(file), c.periodicity);
    EXPECT_EQ(GetRecordCount(file), c.records);
    EXPECT_EQ(GetFirstDate(file), c.firstDate);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReaderTest,
    testing::Values(
        ReaderCase{"Empty", "", "0", "0", "-", 0, "====="},
        ReaderCase{"HeaderOnly", Records({}), "", "Date", "-", 0, "====="},
        ReaderCase{"HeaderWithLineBreak", Records({}) + "\r\n", "", "Date", "-", 0, "====="},
        ReaderCase{"OneRecord", Records({"5-Jan-05,1,2,0.5,1.5,100,1.5"}), "5-Jan-05", "5-Jan-05", "Weekly",
                   1, "+===="},
        ReaderCase{"DailyFirstPair",
                   Records({"3-Jan-05,1,1,1,1,0,1", "4-Jan-05,2,2,2,1,0,1", "5-Jan-05,1,1,1,2,0,2"}),
                   "3-Jan-05", "5-Jan-05", "Daily", 3, "=-+=="},
        ReaderCase{"DailySecondPair", Records({"7-Jan-05,1,1,1,1", "10-Jan-05,1,1,1,1", "11-Jan-05,1,1,1,1"}),
                   "7-Jan-05", "11-Jan-05", "Daily", 3, "====="},
        ReaderCase{"Weekly", Records({"3-Jan-05,1,1,1,1", "10-Jan-05,1,1,1,1", "17-Jan-05,1,1,1,1"}),
                   "3-Jan-05", "17-Jan-05", "Weekly", 3, "====="},
        ReaderCase{"Monthly", Records({"1-Feb-05,1,1,1,1", "1-Mar-05,1,1,1,1", "1-Apr-05,1,1,1,1"}),
                   "1-Feb-05", "1-Apr-05", "Monthly", 3, "====="},
        ReaderCase{"MonthTestComesFirst", Records({"31-Jan-05,1", "1-Feb-05,1", "1-Mar-05,1"}), "31-Jan-05",
                   "1-Mar-05", "Monthly", 3, "---=="},
        ReaderCase{"WeekendAtMonthEnd", Records({"28-Jan-05,1", "31-Jan-05,1", "1-Feb-05,1"}), "28-Jan-05",
                   "1-Feb-05", "Weekly", 3, "---=="},
        ReaderCase{"LoneLineFeeds", Records({"3-Jan-05,1,1,1,2", "4-Jan-05,2,2,2,1"}, "\n"), "3-Jan-05",
                   "4-Jan-05", "Daily", 2, "+-==="},
        ReaderCase{"TrailingLineBreak", Records({"3-Jan-05,1,1,1,2", "4-Jan-05,2,2,2,1"}) + "\r\n",
                   "3-Jan-05", "4-Jan-05", "Daily", 2, "+-==="},
        ReaderCase{"LastFiveOfSeven",
                   Records({"3-Jan-05,1,,,9", "4-Jan-05,9,,,1", "5-Jan-05,1,,,2", "6-Jan-05,2,,,1",
                            "7-Jan-05,1,,,1", "10-Jan-05,1,,,2", "11-Jan-05,2,,,1"}),
                   "3-Jan-05", "11-Jan-05", "Daily", 7, "+-=+-"},
        ReaderCase{"ExactlyFiveRecords",
                   Records({"3-Jan-05,1,,,2", "4-Jan-05,2,,,1", "5-Jan-05,1,,,1", "6-Jan-05,1,,,2",
                            "7-Jan-05,2,,,1"}),
                   "3-Jan-05", "7-Jan-05", "Daily", 5, "+-=+-"},
        ReaderCase{"MissingCloseReadsZero", Records({"3-Jan-05,1.5"}), "3-Jan-05", "3-Jan-05", "Weekly", 1,
                   "-===="},
        ReaderCase{"LineWithoutComma", Records({"garbage"}), "", "", "-", 1, "====="}),
    [](const testing::TestParamInfo<ReaderCase>& info) { return std::string(info.param.name); });

TEST(ReaderTest, LargeFileIsReadFromItsTail) {
    // Far larger than the tail's first read, so the tail must be found by seeking, and still exactly.
    test::TempFolder folder;
    std::string content = "Date,Open,High,Low,Close,Volume,Adj. Close*";
    for (int i = 0; i < 5000; ++i)
        content += "\r\n" + std::to_string(i % 28 + 1) + "-Mar-05,10.00,11.00,9.00," +
                   (i % 2 ? "10.50" : "9.50") + ",123456,10.00";
    content += "\r\n28-Mar-05,1,1,1,1,1,1";
    TextFile file(folder.Write("BIG.csv", content));
    EXPECT_EQ(GetLastDate(file), "28-Mar-05");
    EXPECT_EQ(GetTrend(file), "-+-+=");
    EXPECT_EQ(GetRecordCount(file), 5001);
    EXPECT_EQ(GetFirstDate(file), "1-Mar-05");
}

struct WriterCase {
    const char* name;
    std::string before;
    std::string block;
    std::string after;
};

void PrintTo(const WriterCase& c, std::ostream* out) {
    *out << c.name;
}

class ReplaceLastRecordTest : public testing::TestWithParam<WriterCase> {};

TEST_P(ReplaceLastRecordTest, ReplacesEverythingFromTheLastRecordOn) {
    const WriterCase& c = GetParam();
    test::TempFolder folder;
    TextFile file(folder.Write("S.csv", c.before));
    ASSERT_TRUE(ReplaceLastRecord(file, c.block));
    EXPECT_EQ(folder.Read("S.csv"), c.after);
    EXPECT_EQ(GetLastDate(file), std::string(FirstField(c.after.substr(c.after.rfind('\n') + 1))));
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReplaceLastRecordTest,
    testing::Values(WriterCase{"ShorterRecordLeavesNoTrace",
                               "H\r\n3-Jan-05,1\r\n4-Jan-05,1.23456789,2,3,4,5,6",
                               "\r\n4-Jan-05,2\r\n5-Jan-05,3", "H\r\n3-Jan-05,1\r\n4-Jan-05,2\r\n5-Jan-05,3"},
                    WriterCase{"OneRecord", "H\r\n3-Jan-05,1", "\r\n3-Jan-05,2", "H\r\n3-Jan-05,2"},
                    WriterCase{"HeaderOnly", "H", "\r\n3-Jan-05,2", "H\r\n3-Jan-05,2"},
                    WriterCase{"HeaderWithLineBreak", "H\r\n", "\r\n3-Jan-05,2", "H\r\n3-Jan-05,2"},
                    WriterCase{"TrailingLineBreak", "H\r\n3-Jan-05,1\r\n4-Jan-05,1\r\n", "\r\n4-Jan-05,2\r\n",
                               "H\r\n3-Jan-05,1\r\n4-Jan-05,2"},
                    WriterCase{"LoneLineFeeds", "H\n3-Jan-05,1\n4-Jan-05,1", "\r\n4-Jan-05,2",
                               "H\n3-Jan-05,1\n4-Jan-05,2"},
                    WriterCase{"EmptyFileGetsAHeader", "", "\r\n3-Jan-05,2",
                               "Date,Open,High,Low,Close,Volume,Adj. Close*\r\n3-Jan-05,2"}),
    [](const testing::TestParamInfo<WriterCase>& info) { return std::string(info.param.name); });

class AppendRecordsTest : public testing::TestWithParam<WriterCase> {};

TEST_P(AppendRecordsTest, AddsTheBlockAtTheEnd) {
    const WriterCase& c = GetParam();
    test::TempFolder folder;
    TextFile file(folder.Write("S.csv", c.before));
    ASSERT_TRUE(AppendRecords(file, c.block));
    EXPECT_EQ(folder.Read("S.csv"), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Files, AppendRecordsTest,
    testing::Values(WriterCase{"TwoRecords", "H\r\n3-Jan-05,1", "\r\n4-Jan-05,2\r\n5-Jan-05,3\r\n",
                               "H\r\n3-Jan-05,1\r\n4-Jan-05,2\r\n5-Jan-05,3"},
                    WriterCase{"EmptyBlockChangesNothing", "H\r\n3-Jan-05,1", "", "H\r\n3-Jan-05,1"},
                    WriterCase{"FileEndingWithLineBreakGetsNoEmptyRecord", "H\r\n3-Jan-05,1\r\n",
                               "\r\n4-Jan-05,2", "H\r\n3-Jan-05,1\r\n4-Jan-05,2"},
                    WriterCase{"FileEndingWithLoneLineFeed", "H\n3-Jan-05,1\n", "\r\n4-Jan-05,2",
                               "H\n3-Jan-05,1\n4-Jan-05,2"}),
    [](const testing::TestParamInfo<WriterCase>& info) { return std::string(info.param.name); });

TEST(CreateWithHeaderTest, WritesTheHeaderAndTheBlock) {
    test::TempFolder folder;
    TextFile file(folder / "NEW.csv");
    EXPECT_FALSE(file.IsOpen());
    ASSERT_TRUE(CreateWithHeader(file, "\r\n3-Jan-05,1,2,3,4,5,6\r\n"));
    EXPECT_EQ(folder.Read("NEW.csv"), "Date,Open,High,Low,Close,Volume,Adj. Close*\r\n3-Jan-05,1,2,3,4,5,6");
    EXPECT_EQ(GetRecordCount(file), 1);

    TextFile empty(folder / "EMPTY.csv");
    ASSERT_TRUE(CreateWithHeader(empty, ""));
    EXPECT_EQ(folder.Read("EMPTY.csv"), "Date,Open,High,Low,Close,Volume,Adj. Close*");
}

TEST(WriterTest, FailedWriteLeavesTheFileAsItWas) {
    // The folder disappears between opening and writing: no temporary file can be made there.
    test::TempFolder folder;
    std::filesystem::create_directory(folder / "sub");
    const auto path = folder.Write("sub/S.csv", "H\r\n3-Jan-05,1");
    TextFile file(path);
    std::filesystem::rename(folder / "sub", folder / "away");
    EXPECT_FALSE(AppendRecords(file, "\r\n4-Jan-05,2"));
    EXPECT_FALSE(ReplaceLastRecord(file, "\r\n4-Jan-05,2"));
    std::filesystem::rename(folder / "away", folder / "sub");
    EXPECT_EQ(folder.Read("sub/S.csv"), "H\r\n3-Jan-05,1");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder / "sub"), {}), 1);
}

struct StoredDateCase {
    const char* text;
    DateNumber number;
};

void PrintTo(const StoredDateCase& c, std::ostream* out) {
    *out << c.text;
}

class StoredDateToNumberTest : public testing::TestWithParam<StoredDateCase> {
protected:
    ScopedClock clock{std::make_shared<FixedClock>(2026y / December / 11d)};
};

TEST_P(StoredDateToNumberTest, ReadsTheDate) {
    EXPECT_EQ(StoredDateToNumber(GetParam().text), GetParam().number) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Dates, StoredDateToNumberTest,
    testing::Values(StoredDateCase{"5-Jan-05", 20050105}, StoredDateCase{"28-Feb-99", 19990228},
                    StoredDateCase{"5-Dec-05", 20051205}, StoredDateCase{"5-Xyz-05", 20051205},
                    StoredDateCase{"1-Jan-20", 20200101}, StoredDateCase{"31-Dec-26", 20261231},
                    StoredDateCase{"30-Dec-27", 19271230}, StoredDateCase{"1-Jan-00", 20000101},
                    StoredDateCase{"31-Dec-99", 19991231}, StoredDateCase{"10-Dec-26", 20261210},
                    StoredDateCase{"0", 0}, StoredDateCase{"Date", 0}, StoredDateCase{"", 0}));

TEST(StoredDateToNumberTest, CenturyFollowsTheClock) {
    ScopedClock clock{std::make_shared<FixedClock>(2019y / June / 1d)};
    EXPECT_EQ(StoredDateToNumber("1-Jan-20"), 19200101);
    EXPECT_EQ(StoredDateToNumber("1-Jan-19"), 20190101);
}

TEST(IsoDateTest, ConvertsAndRecognises) {
    EXPECT_EQ(IsoDateToStored("2005-01-05"), "5-Jan-05");
    EXPECT_EQ(IsoDateToStored("2007-11-23"), "23-Nov-07");
    EXPECT_EQ(IsoDateToStored("2026-12-10"), "10-Dec-26");
    EXPECT_EQ(IsoDateToStored("2005-13-05"), "5-13-05");
    EXPECT_TRUE(IsIsoDate("2005-01-05"));
    EXPECT_FALSE(IsIsoDate("5-Jan-05"));
    EXPECT_FALSE(IsIsoDate("20050105"));
}

TEST(FieldTest, SplitsAtCommas) {
    EXPECT_EQ(Field("a,b,,d", 0), "a");
    EXPECT_EQ(Field("a,b,,d", 2), "");
    EXPECT_EQ(Field("a,b,,d", 3), "d");
    EXPECT_EQ(Field("a,b,,d", 4), "");
    EXPECT_EQ(FirstField("abc"), "abc");
}

} // namespace
} // namespace tessaly
