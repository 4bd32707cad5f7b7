#include "enginefakes.h"

namespace tessaly::test {
namespace {

using Trouble = FakeQuoteServer::Trouble;
using Request = FakeQuoteServer::Request;

class RecentQuoteTest : public EngineTest {
protected:
    int CountRequests(std::string_view path) const {
        int count = 0;
        for (const std::string& request : server_.Requests())
            count += request.starts_with(path) ? 1 : 0;
        return count;
    }
};

TEST_F(RecentQuoteTest, QuoteIsAppendedOrReplacesTheSameDay) {
    struct Case {
        const char* lastRecord;
        DateNumber quoteDate;
        int result;
        const char* expected; // records after the first one
    };
    const Case cases[] = {
        {"4-Jan-07,1,1,1,1,1,1", 20070105, 1,
         "\r\n4-Jan-07,1,1,1,1,1,1\r\n5-Jan-07,29.91,30.25,29.53,29.64,44607200,29.64"},
        {"5-Jan-07,1,1,1,1,1,1", 20070105, 1, "\r\n5-Jan-07,29.91,30.25,29.53,29.64,44607200,29.64"},
        // Friday to Monday: only the weekend lies between.
        {"5-Jan-07,1,1,1,1,1,1", 20070108, 1,
         "\r\n5-Jan-07,1,1,1,1,1,1\r\n8-Jan-07,29.91,30.25,29.53,29.64,44607200,29.64"},
        // Thursday to Monday would leave Friday out; seven days later is more than five.
        {"4-Jan-07,1,1,1,1,1,1", 20070108, 0, "\r\n4-Jan-07,1,1,1,1,1,1"},
        {"29-Dec-06,1,1,1,1,1,1", 20070105, 0, "\r\n29-Dec-06,1,1,1,1,1,1"},
        // An older quote is never written.
        {"8-Jan-07,1,1,1,1,1,1", 20070105, 0, "\r\n8-Jan-07,1,1,1,1,1,1"},
    };
    for (const Case& c : cases) {
        WriteData("MSFT.csv", std::string("\r\n2-Jan-06,1,1,1,1,1,1\r\n") + c.lastRecord);
        server_.SetRecentQuote("MSFT",
                               RecentQuoteLine("MSFT", c.quoteDate, 29.91, 30.25, 29.53, 29.64, 44607200));
        EXPECT_EQ(engine_->FetchRecentQuote("MSFT"), c.result) << c.lastRecord << " " << c.quoteDate;
        EXPECT_EQ(ReadData("MSFT.csv"), File(std::string("\r\n2-Jan-06,1,1,1,1,1,1") + c.expected))
            << c.lastRecord;
    }
    EXPECT_DOUBLE_EQ(engine_->RecentLast(), 29.64);
    EXPECT_EQ(engine_->RecentVolume(), 44607200);
    EXPECT_EQ(engine_->RecentQuoteDate(), "5-Jan-07");
    EXPECT_EQ(server_.Requests().back(), "/d/quotes.csv?s=MSFT&f=sl1d1c1ohgv");
    EXPECT_EQ(CountRequests("/q?"), 0);
}

TEST_F(RecentQuoteTest, VolumesAreSixtyFourBit) {
    WriteData("^DJI.csv", "\r\n4-Jan-07,1,1,1,1,1,1");
    server_.SetRecentQuote("^DJI",
                           RecentQuoteLine("^DJI", 20070105, 12000, 12100, 11900, 12050, 9876543210LL));
    EXPECT_EQ(engine_->FetchRecentQuote("^DJI"), 1);
    EXPECT_EQ(
        ReadData("^DJI.csv"),
        File("\r\n4-Jan-07,1,1,1,1,1,1\r\n5-Jan-07,12000.00,12100.00,11900.00,12050.00,9876543210,12050.00"));
}

TEST_F(RecentQuoteTest, UnusableAnswersFallBackToThePageAndWriteNothingForAStock) {
    const char* answers[] = {
        "\"MSFT\",N/A,\"1/5/2007\",N/A,N/A,N/A,N/A,N/A\r\n",
        "\"MSFT\",29.64,\"1/5/2007\",0.00,N/A,N/A,N/A,0\r\n",         // before the opening
        "\"MSFT\",31.00,\"1/5/2007\",0.10,29.91,30.25,29.53,100\r\n", // last above the high
        "\"MSFT\",29.64,\"N/A\",0.10,29.91,30.25,29.53,100\r\n",      // no date
        "Missing Symbols List.\r\n",
    };
    const std::string before = "\r\n4-Jan-07,1,1,1,1,1,1";
    for (const char* answer : answers) {
        server_.ClearRequests();
        WriteData("MSFT.csv", before);
        server_.SetRecentQuote("MSFT", answer);
        server_.SetQuotePage("MSFT", IndexQuotePage("Jan 5", 29.64, 29.91, 29.53, 30.25, "100"));
        EXPECT_EQ(engine_->FetchRecentQuote("MSFT"), 0) << answer;
        EXPECT_EQ(CountRequests("/q?s=MSFT"), 1) << answer;
        EXPECT_EQ(ReadData("MSFT.csv"), File(before)) << answer;
    }
}

TEST_F(RecentQuoteTest, IndexPageGivesTheRecordWithTheCurrentYear) {
    WriteData("^GSPC.csv", "\r\n4-Jan-07,1,1,1,1,1,1");
    server_.SetQuotePage("^GSPC", IndexQuotePage("Jan 5", 1234.56, 1230, 1220.5, 1240.25, "12,345,678"));
    EXPECT_EQ(engine_->FetchRecentQuote("^GSPC"), 1);
    EXPECT_EQ(ReadData("^GSPC.csv"),
              File("\r\n4-Jan-07,1,1,1,1,1,1\r\n5-Jan-07,1230.00,1240.25,1220.50,1234.56,12345678,1234.56"));
    EXPECT_EQ(server_.Requests().back(), "/q?s=%5EGSPC");

    // A status of 400 or more makes the recent quote unusable at once: the page is asked, no retry.
    WriteData("^GSPC.csv", "\r\n4-Jan-07,1,1,1,1,1,1");
    server_.ClearRequests();
    server_.SetTrouble(Request::RecentQuote, "^GSPC",
                       {Trouble::Kind::Status, 500, "\"^GSPC\",1,\"1/5/2007\",1,1,1,1,1"});
    EXPECT_EQ(engine_->FetchRecentQuote("^GSPC"), 1);
    EXPECT_EQ(server_.Requests().size(), 2u);
    EXPECT_TRUE(pauses_.empty());
    EXPECT_EQ(ReadData("^GSPC.csv").substr(ReadData("^GSPC.csv").rfind('\n') + 1),
              "5-Jan-07,1230.00,1240.25,1220.50,1234.56,12345678,1234.56");
}

TEST_F(RecentQuoteTest, PageValuesThatAreNoNumbersAreNotFound) {
    WriteData("^GSPC.csv", "\r\n4-Jan-07,1,1,1,1,1,1");
    std::string page = IndexQuotePage("Jan 5", 1234.56, 1230, 1220.5, 1240.25, "0");
    const std::string value = "<th>Index Value:</th><td>1,234.56</td>";
    page.replace(page.find(value), value.size(), "<th>Index Value:</th><td>N/A</td><td>Prev. close</td>");
    server_.SetQuotePage("^GSPC", page);
    EXPECT_EQ(engine_->FetchQuotePage("^GSPC"), 0);
    EXPECT_EQ(ReadData("^GSPC.csv"), File("\r\n4-Jan-07,1,1,1,1,1,1"));

    // A page without a date, or a page for a symbol that is no index, gives no record either.
    server_.SetQuotePage("^GSPC", "<th>Index Value:</th><td>1,234.56</td><th>Open:</th><td>1,230.00</td>");
    EXPECT_EQ(engine_->FetchQuotePage("^GSPC"), 0);
    WriteData("IBM.csv", "\r\n4-Jan-07,1,1,1,1,1,1");
    server_.SetQuotePage("IBM", IndexQuotePage("Jan 5", 99, 98, 97, 100, "0"));
    EXPECT_EQ(engine_->FetchQuotePage("IBM"), 0);
    EXPECT_EQ(ReadData("IBM.csv"), File("\r\n4-Jan-07,1,1,1,1,1,1"));
}

TEST_F(RecentQuoteTest, CurrencyAndAmpersandSymbolsSkipRequests) {
    WriteData("$EURUSD.csv", "\r\n4-Jan-07,1,1,1,1,0,1");
    EXPECT_EQ(engine_->FetchRecentQuote("$EURUSD"), 0);
    EXPECT_TRUE(server_.Requests().empty());
    WriteData("M&M.csv", "\r\n4-Jan-07,1,1,1,1,0,1");
    EXPECT_EQ(engine_->FetchRecentQuote("M&M"), 0);
    EXPECT_EQ(server_.Requests(), (std::vector<std::string>{"/d/quotes.csv?s=M%26M&f=sl1d1c1ohgv"}));
}

TEST_F(RecentQuoteTest, FilesWithoutRecordsOrMissingFilesGetNoQuote) {
    server_.SetRecentQuote("NEW", RecentQuoteLine("NEW", 20070105, 2, 3, 1, 2, 5));
    EXPECT_EQ(engine_->FetchRecentQuote("NEW"), 0);
    EXPECT_FALSE(std::filesystem::exists(data_ / "NEW.csv"));
    data_.Write("NEW.csv", std::string(kHeader));
    EXPECT_EQ(engine_->FetchRecentQuote("NEW"), 0);
    EXPECT_EQ(ReadData("NEW.csv"), kHeader);
}

TEST_F(RecentQuoteTest, TransportErrorIsFatalWithoutRetry) {
    WriteData("MSFT.csv", "\r\n4-Jan-07,1,1,1,1,1,1");
    server_.SetTrouble(Request::RecentQuote, "MSFT", {Trouble::Kind::Reset, 0, "", -1});
    EXPECT_EQ(engine_->FetchRecentQuote("MSFT"), 0);
    EXPECT_EQ(server_.Requests().size(), 1u);
    EXPECT_TRUE(pauses_.empty());
    EXPECT_TRUE(engine_->Abort());
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].caption, "Tessaly Error Message");
}

} // namespace
} // namespace tessaly::test
