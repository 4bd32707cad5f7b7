#include "enginefakes.h"

#include "engine/filefunctions.h"

namespace tessaly::test {
namespace {

using Trouble = FakeQuoteServer::Trouble;
using Request = FakeQuoteServer::Request;

class DownloadHistoryTest : public EngineTest {};

TEST_F(DownloadHistoryTest, FullDownloadStoresTheAnswerOldestFirstFromStartOn) {
    server_.SetHistory("MSFT", {"2007-01-02,29.91,30.25,29.53,29.86,76935100,29.86",
                                "2007-01-03,29.86,29.97,29.44,29.81,45774500,29.81",
                                "2007-01-04,29.70,29.97,29.44,29.64,44607200,29.64"});
    EXPECT_EQ(engine_->DownloadHistory("MSFT", Query(2007, 1, 3), Query(2007, 12, 31), 0, 2), 2);
    EXPECT_EQ(ReadData("MSFT.csv"), File("\r\n3-Jan-07,29.86,29.97,29.44,29.81,45774500,29.81"
                                         "\r\n4-Jan-07,29.70,29.97,29.44,29.64,44607200,29.64"));
    const auto requests = server_.Requests();
    ASSERT_GE(requests.size(), 1u);
    EXPECT_EQ(requests[0], "/table.csv?s=MSFT&a=00&b=02&c=2007&d=11&e=31&f=2007&g=d&ignore=.csv");
    EXPECT_EQ(server_.LastUserAgent(), "MySession");
    EXPECT_FALSE(engine_->Adjustment());
    EXPECT_EQ(list_.calls, (std::vector<std::string>{"remove MSFT", "add MSFT.csv"}));
}

TEST_F(DownloadHistoryTest, UpdateWritesOverTheLastRecord) {
    const std::string old = "\r\n3-Jan-07,1,1,1,1,1,1\r\n5-Jan-07,9,9,9,9,9,9";
    server_.SetHistory("IBM", {"2007-01-04,4,4,4,4,4,4", "2007-01-05,5,5,5,5,5,5", "2007-01-08,8,8,8,8,8,8"});
    WriteData("IBM.csv", old);
    EXPECT_EQ(engine_->DownloadHistory("IBM", Query(2007, 1, 5), Query(2007, 1, 8), 0, 1), 2);
    EXPECT_EQ(ReadData("IBM.csv"),
              File("\r\n3-Jan-07,1,1,1,1,1,1\r\n5-Jan-07,5,5,5,5,5,5\r\n8-Jan-07,8,8,8,8,8,8"));
    EXPECT_EQ(server_.Requests()[0].find("&a=00&b=04&c=2007&d=00&e=08&f=2007&g=d"), 16u);

    // Without a record for the last date the first new record takes its place.
    server_.SetHistory("IBM", {"2007-01-04,4,4,4,4,4,4", "2007-01-08,8,8,8,8,8,8"});
    WriteData("IBM.csv", old);
    EXPECT_EQ(engine_->DownloadHistory("IBM", Query(2007, 1, 5), Query(2007, 1, 8), 0, 1), 1);
    EXPECT_EQ(ReadData("IBM.csv"), File("\r\n3-Jan-07,1,1,1,1,1,1\r\n8-Jan-07,8,8,8,8,8,8"));
}

TEST_F(DownloadHistoryTest, PricesAreRescaledToTheAdjustedClose) {
    server_.SetHistory("SPL",
                       {"2007-01-05,100,110,90,100,5000,50",
                        "2007-01-08,712345.66,712345.66,712345.66,1,7,0.5", "2007-01-09,2,3,1,2,8,null",
                        "2007-01-10,2,3,1,2,9", "2007-01-11,1,2,0.4,1,10,0.0149",
                        "2007-01-12,7,8,6,7.00,11,7"},
                       'w');
    EXPECT_EQ(engine_->DownloadHistory("SPL", Query(2007, 1, 5), Query(2007, 1, 12), 1, 2), 6);
    EXPECT_TRUE(engine_->Adjustment());
    EXPECT_EQ(ReadData("SPL.csv"), File("\r\n5-Jan-07,50.00,55.00,45.00,50.00,5000,50"
                                        "\r\n8-Jan-07,356172.83,356172.83,356172.83,0.50,7,0.5"
                                        "\r\n9-Jan-07,2,3,1,2,8,null"
                                        "\r\n10-Jan-07,2,3,1,2,9"
                                        "\r\n11-Jan-07,0.0149,0.0298,0.0060,0.0149,10,0.0149"
                                        "\r\n12-Jan-07,7,8,6,7.00,11,7"));
    // A weekly download never asks for the recent quote.
    for (const std::string& request : server_.Requests())
        EXPECT_EQ(request.find("quotes.csv"), std::string::npos) << request;
}

TEST_F(DownloadHistoryTest, CurrencyLinesAreReshapedAndKeptInOrder) {
    server_.SetCurrency("EURUSD", {"EURUSD,D,20070103,000000,1.3270,1.3280,1.3150,1.3180,0",
                                   "EURUSD,D,20070104,000000,1.3180,1.3200,1.3100,1.3110,1250",
                                   "EURUSD,D,20070106,000000,1.3100,1.3100,1.3100,1.3100,0",
                                   "EURUSD,D,20070108,000000,1.3050,1.3120,1.3000,1.3070,0"});
    EXPECT_EQ(engine_->DownloadHistory("$eurusd", Query(2007, 1, 3), Query(2007, 1, 8), 0, 2), 3);
    EXPECT_TRUE(engine_->Currency());
    EXPECT_EQ(ReadData("$eurusd.csv"), File("\r\n3-Jan-07,1.3270,1.3280,1.3150,1.3180,0,1.3180"
                                            "\r\n4-Jan-07,1.3180,1.3200,1.3100,1.3110,0,1.3110"
                                            "\r\n8-Jan-07,1.3050,1.3120,1.3000,1.3070,0,1.3070"));
    EXPECT_FALSE(engine_->Adjustment());
    const auto requests = server_.Requests();
    ASSERT_EQ(requests.size(), 1u); // no recent quote for a currency pair
    EXPECT_EQ(requests[0],
              "/FOREXQUOTE.txt?d=d&m=5&em=83&p=8&df=02&mf=00&yf=2007&dt=08&mt=00&yt=2007&f=EURUSD"
              "&e=.txt&dtf=1&tmf=1&MSOR=0&cn=EURUSD&sep=1&sep2=1&datf=1&at=0&fsp=1");
    EXPECT_EQ(engine_->DownloadHistory("MSFT", Query(2007, 1, 3), Query(2007, 1, 8), 2, 2), -1);
    EXPECT_FALSE(engine_->Currency());
}

TEST_F(DownloadHistoryTest, UnknownSymbolsAreInvalidAndTouchNothing) {
    struct Case {
        const char* name;
        Trouble trouble;
    };
    const Case cases[] = {
        {"not-found page",
         {Trouble::Kind::Body, 0, "<html>\n<p>Sorry, the symbol was not found.</p>\n</html>"}},
        {"Not Found line", {Trouble::Kind::Body, 0, "Date,Open\n2007-01-05,1,1,1,1,1,1\nNot Found\n"}},
        {"status 404", {Trouble::Kind::Status, 404, "2007-01-05,1,1,1,1,1,1"}},
    };
    for (const Case& c : cases) {
        server_.SetTrouble(Request::Historical, "XYZQ", c.trouble);
        EXPECT_EQ(engine_->DownloadHistory("XYZQ", Query(2007, 1, 3), Query(2007, 1, 8), 0, 2), -1) << c.name;
        EXPECT_FALSE(std::filesystem::exists(data_ / "XYZQ.csv")) << c.name;
    }
    server_.SetTrouble(Request::Currency, "", {Trouble::Kind::Status, 404, ""});
    EXPECT_EQ(engine_->DownloadHistory("$EURUSD", Query(2007, 1, 3), Query(2007, 1, 8), 0, 2), -1);
    EXPECT_TRUE(list_.calls.empty());
    EXPECT_FALSE(engine_->Abort());
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(DownloadHistoryTest, AnswerWithoutRecordsNeverReplacesStoredRecords) {
    const std::string stored = "\r\n3-Jan-07,1,1,1,1,1,1";
    WriteData("KEEP.csv", stored);
    server_.SetTrouble(Request::Historical, "KEEP",
                       {Trouble::Kind::Body, 0, "<html><body>Service busy</body></html>"});
    EXPECT_EQ(engine_->DownloadHistory("KEEP", Query(2007, 1, 3), Query(2007, 1, 8), 0, 2), 0);
    EXPECT_EQ(ReadData("KEEP.csv"), File(stored));

    data_.Write("EMPTY.csv", "");
    server_.SetHistory("EMPTY", {});
    EXPECT_EQ(engine_->DownloadHistory("EMPTY", Query(2007, 1, 3), Query(2007, 1, 8), 0, 2), 0);
    EXPECT_EQ(ReadData("EMPTY.csv"), kHeader);
}

TEST_F(DownloadHistoryTest, PassingTroublesAreRetriedWithGrowingPauses) {
    struct Case {
        const char* name;
        Trouble trouble;
    };
    const Case cases[] = {
        {"status 500", {Trouble::Kind::Status, 500, "2007-01-05,6,6,6,6,6,6", 2}},
        {"status 429", {Trouble::Kind::Status, 429, "", 1}},
        {"status 408", {Trouble::Kind::Status, 408, "", 1}},
        {"reset", {Trouble::Kind::Reset, 0, "", 2}},
        {"time-out", {Trouble::Kind::TimeOut, 0, "", 1}},
    };
    for (const Case& c : cases) {
        pauses_.clear();
        server_.SetHistory("RTY", {"2007-01-05,5,5,5,5,5,5"});
        server_.SetTrouble(Request::Historical, "RTY", c.trouble);
        EXPECT_EQ(engine_->DownloadHistory("RTY", Query(2007, 1, 5), Query(2007, 1, 5), 1, 2), 1) << c.name;
        EXPECT_EQ(ReadData("RTY.csv"), File("\r\n5-Jan-07,5,5,5,5,5,5")) << c.name;
        EXPECT_EQ(pauses_.size(), static_cast<std::size_t>(c.trouble.times)) << c.name;
        if (pauses_.size() == 2) {
            EXPECT_EQ(pauses_, (std::vector<long long>{200, 400})) << c.name;
        }
    }
    EXPECT_FALSE(engine_->Abort());
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(DownloadHistoryTest, PersistentTroubleBecomesFatalAfterFiveAttempts) {
    WriteData("DEAD.csv", "\r\n3-Jan-07,1,1,1,1,1,1");
    server_.SetTrouble(Request::Historical, "DEAD", {Trouble::Kind::Status, 503, "<html>down</html>"});
    EXPECT_EQ(engine_->DownloadHistory("DEAD", Query(2007, 1, 3), Query(2007, 1, 8), 0, 2), 0);
    EXPECT_EQ(pauses_, (std::vector<long long>{200, 400, 800, 1600}));
    EXPECT_EQ(server_.Requests().size(), 5u);
    EXPECT_TRUE(engine_->Abort());
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].caption, "Tessaly Error Message");
    EXPECT_NE(messages_.shown[0].text.find("503"), std::string::npos);
    EXPECT_EQ(engine_->FatalError(), messages_.shown[0].text);
    EXPECT_EQ(ReadData("DEAD.csv"), File("\r\n3-Jan-07,1,1,1,1,1,1"));
}

TEST_F(DownloadHistoryTest, RefusedConnectionIsRetriedThenFatal) {
    FakeQuoteServer gone;
    ASSERT_TRUE(gone.Start());
    const std::string base = gone.BaseUrl();
    gone.Stop();
    MakeEngine(Endpoints{base, base, base, ""});
    EXPECT_EQ(engine_->DownloadHistory("MSFT", Query(2007, 1, 3), Query(2007, 1, 8), 0, 2), 0);
    EXPECT_EQ(pauses_.size(), 4u);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_NE(messages_.shown[0].text.find("could not be established"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(data_ / "MSFT.csv"));
}

TEST_F(DownloadHistoryTest, OtherStatusIsFatalAtOnceAndItsBodyIsNeverStored) {
    server_.SetTrouble(Request::Historical, "FORB", {Trouble::Kind::Status, 403, "2007-01-05,1,1,1,1,1,1"});
    EXPECT_EQ(engine_->DownloadHistory("FORB", Query(2007, 1, 3), Query(2007, 1, 8), 0, 2), 0);
    EXPECT_TRUE(pauses_.empty());
    EXPECT_EQ(server_.Requests().size(), 1u);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, "The server answered with HTTP status 403.");
    EXPECT_FALSE(std::filesystem::exists(data_ / "FORB.csv"));
    EXPECT_TRUE(engine_->Abort());
}

TEST_F(DownloadHistoryTest, MissingServerIsFatalAndNothingIsSent) {
    MakeEngine(Endpoints{server_.BaseUrl(), server_.BaseUrl(), "", ""});
    EXPECT_EQ(engine_->DownloadHistory("$EURUSD", Query(2007, 1, 3), Query(2007, 1, 8), 0, 2), 0);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text,
              "No server is configured for this request (Endpoints/CurrencyHost in the settings).");
    EXPECT_TRUE(server_.Requests().empty());
    EXPECT_TRUE(engine_->Abort());
}

TEST_F(DownloadHistoryTest, UnsafeSymbolsNameNoFileAndNoRequest) {
    for (const char* symbol : {"../evil", "a/b", "a\\b", ".", "..", "A\tB"}) {
        EXPECT_EQ(engine_->DownloadHistory(symbol, Query(2007, 1, 3), Query(2007, 1, 8), 0, 2), -1) << symbol;
        EXPECT_FALSE(engine_->WriteSecurityFile(symbol, "\r\n3-Jan-07,1,1,1,1,1,1", 2)) << symbol;
        EXPECT_EQ(engine_->FetchRecentQuote(symbol), 0) << symbol;
    }
    EXPECT_EQ(engine_->DownloadHistory(std::string("A\0B", 3), Query(2007, 1, 3), Query(2007, 1, 8), 0, 2),
              -1);
    EXPECT_TRUE(server_.Requests().empty());
    EXPECT_TRUE(std::filesystem::is_empty(data_.Path()));
    EXPECT_FALSE(std::filesystem::exists(data_.Path().parent_path() / "evil.csv"));
}

TEST_F(DownloadHistoryTest, SymbolIsEncodedInTheRequestAndKeptInTheFileName) {
    server_.SetHistory("M&M.NS", {"2007-01-05,5,5,5,5,5,5"});
    EXPECT_EQ(engine_->DownloadHistory("M&M.NS", Query(2007, 1, 5), Query(2007, 1, 5), 0, 2), 1);
    EXPECT_EQ(server_.Requests()[0].substr(0, 24), "/table.csv?s=M%26M.NS&a=");
    EXPECT_EQ(ReadData("M&M.NS.csv"), File("\r\n5-Jan-07,5,5,5,5,5,5"));
}

TEST_F(DownloadHistoryTest, ExistingFileIsFoundWhateverTheCaseOfItsName) {
    WriteData("msft.csv", "\r\n3-Jan-07,1,1,1,1,1,1");
    server_.SetHistory("MSFT", {"2007-01-03,3,3,3,3,3,3", "2007-01-04,4,4,4,4,4,4"});
    EXPECT_EQ(engine_->DownloadHistory("MSFT", Query(2007, 1, 3), Query(2007, 1, 4), 0, 1), 2);
    EXPECT_EQ(ReadData("msft.csv"), File("\r\n3-Jan-07,3,3,3,3,3,3\r\n4-Jan-07,4,4,4,4,4,4"));
    EXPECT_FALSE(std::filesystem::exists(data_ / "MSFT.csv"));
    EXPECT_EQ(list_.calls.back(), "add msft.csv");
}

} // namespace
} // namespace tessaly::test
