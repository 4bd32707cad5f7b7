#include "enginefakes.h"

#include "engine/chartapisource.h"
#include "engine/quoterequests.h"

#include <fstream>
#include <sstream>

namespace tessaly::test {
namespace {

using Trouble = FakeQuoteServer::Trouble;
using Request = FakeQuoteServer::Request;

std::string Fixture(const std::string& name) {
    std::ifstream in(std::filesystem::path(TESSALY_CHART_FIXTURES) / name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The engine over the chart source, the source over libcurl, the service on the fake server.
class ChartApiTest : public EngineTest {
protected:
    ChartApiTest()
        : EngineTest(std::chrono::year{2024} / 1 / 8) {}

    void SetUp() override {
        EngineTest::SetUp();
        for (const char* symbol : {"AAPL", "^GSPC", "EURUSD=X", "GOOG", "FPH.NZ"})
            server_.SetChart(symbol, Fixture(std::string(symbol) + ".json"));
        base_ = "yahoo-chart+" + server_.BaseUrl();
        engine_ =
            std::make_unique<CDownloader>(chart_, folders_, messages_, Endpoints{base_, base_, base_, ""});
        engine_->SetSecuritiesList(&list_);
        engine_->SetDialog(&dialog_);
        engine_->SetRetryPause([this](std::chrono::milliseconds pause) { pauses_.push_back(pause.count()); });
    }

    // The answer lines the engine reads for one request.
    std::vector<std::string> Lines(const std::string& request) {
        std::unique_ptr<HttpSession> session = chart_.OpenSession(CDownloader::kUserAgent);
        std::unique_ptr<HttpAnswer> answer = session->OpenUrl(JoinUrl(base_, request));
        EXPECT_EQ(answer->Status(), 200);
        std::vector<std::string> lines;
        std::string line;
        while (answer->ReadLine(line))
            lines.push_back(line);
        return lines;
    }

    std::vector<long long> sleeps_;
    ChartApiTransport chart_{transport_, std::chrono::milliseconds(500),
                             [this](std::chrono::milliseconds wait) { sleeps_.push_back(wait.count()); }};
    std::string base_;
};

TEST_F(ChartApiTest, HistoricalAnswerIsTheOldCsvNewestFirst) {
    EXPECT_EQ(Lines(HistoricalRequest("AAPL", Query(2020, 8, 27), Query(2020, 9, 1), 0)),
              (std::vector<std::string>{"Date,Open,High,Low,Close,Volume,Adj Close",
                                        "2020-09-01,132.76,134.80,130.53,134.18,151948100,132.3826",
                                        "2020-08-31,127.58,131.00,126.00,129.04,225702700,127.3115",
                                        "2020-08-28,126.0125,126.4425,124.5775,124.8075,187630000,123.1348",
                                        "2020-08-27,127.1425,127.485,123.8325,125.01,155552400,123.3346"}));
    ASSERT_EQ(server_.Requests().size(), 1u);
    EXPECT_EQ(server_.Requests()[0],
              "/v8/finance/chart/AAPL?period1=1598486400&period2=1599004800&interval=1d&events=div,splits");
    EXPECT_EQ(server_.LastUserAgent(), kBrowserUserAgent);

    // The null bar is dropped; weekly and monthly requests ask for weekly and monthly bars.
    EXPECT_EQ(Lines(HistoricalRequest("^GSPC", Query(2024, 1, 2), Query(2024, 1, 5), 1)),
              (std::vector<std::string>{"Date,Open,High,Low,Close,Volume,Adj Close",
                                        "2024-01-05,4690.57,4721.49,4682.11,4697.24,3844370000,4697.24",
                                        "2024-01-03,4725.07,4729.29,4699.71,4704.81,3950760000,4704.81",
                                        "2024-01-02,4745.20,4754.33,4722.67,4742.83,3743050000,4742.83"}));
    EXPECT_EQ(
        server_.Requests()[1],
        "/v8/finance/chart/%5EGSPC?period1=1704153600&period2=1704499200&interval=1wk&events=div,splits");
    Lines(HistoricalRequest("^GSPC", Query(2024, 1, 2), Query(2024, 1, 5), 2));
    EXPECT_NE(server_.Requests()[2].find("&interval=1mo&"), std::string::npos);

    // The live bar of 8 January lies after the end of the request.
    EXPECT_EQ(Lines(HistoricalRequest("GOOG", Query(2024, 1, 4), Query(2024, 1, 5), 0)),
              (std::vector<std::string>{"Date,Open,High,Low,Close,Volume,Adj Close",
                                        "2024-01-05,137.38,138.13,135.72,136.99,23034400,136.99",
                                        "2024-01-04,139.40,139.72,136.80,137.39,25024800,137.39"}));

    // Thirteen hours ahead of UTC: each bar is dated on its exchange's day, not on the UTC day before.
    EXPECT_EQ(Lines(HistoricalRequest("FPH.NZ", Query(2024, 1, 7), Query(2024, 1, 9), 0)),
              (std::vector<std::string>{"Date,Open,High,Low,Close,Volume,Adj Close",
                                        "2024-01-09,23.00,23.35,22.95,23.30,388201,22.9076",
                                        "2024-01-08,22.90,23.10,22.75,23.00,412380,22.6127"}));

    EXPECT_EQ(Lines(HistoricalRequest("XYZQ", Query(2024, 1, 2), Query(2024, 1, 5), 0)),
              (std::vector<std::string>{"Not Found"}));
    const std::size_t sent = server_.Requests().size();
    EXPECT_TRUE(Lines(HistoricalRequest("GOOG", Query(2024, 1, 6), Query(2024, 1, 4), 0)).empty());
    EXPECT_EQ(server_.Requests().size(), sent);
}

TEST_F(ChartApiTest, CurrencyAnswerIsTheCurrencyServersLines) {
    EXPECT_EQ(
        Lines(CurrencyRequest("$eurusd", Query(2024, 1, 2), Query(2024, 1, 4), 0)),
        (std::vector<std::string>{"<TICKER>,<PER>,<DTYYYYMMDD>,<TIME>,<OPEN>,<HIGH>,<LOW>,<CLOSE>,<VOL>",
                                  "EURUSD,D,20240102,000000,1.1039,1.1043,1.094,1.1039,0",
                                  "EURUSD,D,20240103,000000,1.0942,1.0953,1.0893,1.0942,0",
                                  "EURUSD,D,20240104,000000,1.0922,1.0973,1.0918,1.0922,0"}));
    EXPECT_EQ(
        server_.Requests()[0],
        "/v8/finance/chart/EURUSD%3DX?period1=1704153600&period2=1704412800&interval=1d&events=div,splits");
    Lines(CurrencyRequest("$EURUSD", Query(2024, 1, 2), Query(2024, 1, 4), 1));
    EXPECT_NE(server_.Requests()[1].find("&interval=1wk&"), std::string::npos);
    EXPECT_EQ(Lines(CurrencyRequest("$XAUXAG", Query(2024, 1, 2), Query(2024, 1, 4), 0)),
              (std::vector<std::string>{"Not Found"}));
}

TEST_F(ChartApiTest, RecentQuoteIsTheLatestBarAndTheMarketPrice) {
    clock_->SetNowSeconds(1599004800);
    EXPECT_EQ(Lines(RecentQuoteRequest("AAPL")),
              (std::vector<std::string>{"\"AAPL\",134.18,\"9/1/2020\",5.14,132.76,134.80,130.53,151948100"}));
    EXPECT_EQ(server_.Requests()[0],
              "/v8/finance/chart/AAPL?period1=1598140800&period2=1599004800&interval=1d&events=div,splits");
    EXPECT_EQ(Lines(RecentQuoteRequest("FPH.NZ")),
              (std::vector<std::string>{"\"FPH.NZ\",23.52,\"1/15/2024\",0.17,23.40,23.60,23.30,220118"}));
    EXPECT_EQ(Lines(RecentQuoteRequest("XYZQ")),
              (std::vector<std::string>{"\"XYZQ\",N/A,\"N/A\",N/A,N/A,N/A,N/A,N/A"}));
    // The quote page is not part of the chart API: it is answered empty without a request.
    EXPECT_TRUE(Lines(QuotePageRequest("^GSPC")).empty());
    EXPECT_EQ(server_.Requests().size(), 3u);
}

TEST(ChartApiTranslationTest, OddAnswersGiveNoRecordOrAnError) {
    const std::string header = "Date,Open,High,Low,Close,Volume,Adj Close";
    const std::int64_t p1 = 1704153600;
    const std::int64_t p2 = 1704499200;
    struct Case {
        std::string body;
        int status;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"{}", 200, {header}},
        {"[]", 200, {header}},
        {"null", 200, {header}},
        {R"({"chart":{"result":[]}})", 200, {header}},
        {R"({"chart":{"result":[{"meta":"x","timestamp":"x","indicators":{}}]}})", 200, {header}},
        {R"({"chart":{"result":[{"timestamp":[1704240000,"x",1704326400],"indicators":{"quote":[{"close":[1.5]}]}}]}})",
         200,
         {header, "2024-01-03,1.50,1.50,1.50,1.50,0,1.50"}},
        {R"({"chart":{"result":[{"timestamp":[1e300],"indicators":{"quote":[{"close":[1]}]}}]}})",
         200,
         {header}},
        {R"({"chart":{"result":null,"error":{"code":"Bad Request","description":"Data doesn't exist"}}})",
         400,
         {header}},
        {Fixture("unknown.json"), 404, {"Not Found"}},
        {"<html>404</html>", 404, {"Not Found"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TranslateHistorical(c.body, c.status, p1, p2), c.lines) << c.body;
    EXPECT_THROW(TranslateHistorical("<html>busy</html>", 200, p1, p2), HttpError);
    EXPECT_THROW(TranslateCurrency(R"({"chart":)", 200, "EURUSD", 'D', p1, p2), HttpError);
    for (const std::string body :
         {"<html>", "{}", R"({"chart":{"result":[{"meta":{"regularMarketPrice":null}}]}})"})
        EXPECT_EQ(TranslateRecentQuote(body, 200, "X"),
                  (std::vector<std::string>{"\"X\",N/A,\"N/A\",N/A,N/A,N/A,N/A,N/A"}));
}

TEST(ChartApiTranslationTest, RequestsBecomeChartCalls) {
    const std::string base = "yahoo-chart+https://host/api/";
    const ChartApiCall historical = TranslateRequest(
        JoinUrl(base, HistoricalRequest("BRK B&x", Query(2007, 1, 2), Query(2007, 12, 31), 0)), 0);
    EXPECT_EQ(historical.form, ChartApiCall::Form::Historical);
    EXPECT_EQ(historical.symbol, "BRK B&x");
    EXPECT_EQ(historical.url,
              "https://host/api/v8/finance/chart/BRK%20B%26x?period1=1167696000&period2=1199145600"
              "&interval=1d&events=div,splits");
    const ChartApiCall currency = TranslateRequest(
        JoinUrl(base, CurrencyRequest("$usdjpy", Query(2007, 1, 2), Query(2007, 1, 3), 2)), 0);
    EXPECT_EQ(currency.symbol, "USDJPY");
    EXPECT_EQ(currency.periodCode, 'M');
    EXPECT_EQ(currency.url.substr(0, 44), "https://host/api/v8/finance/chart/USDJPY%3DX");
    // Dates that are no calendar dates and unknown paths are not translated.
    EXPECT_EQ(TranslateRequest(base + "table.csv?s=A&a=13&b=40&c=2007&d=00&e=01&f=2008&g=d", 0).form,
              ChartApiCall::Form::Unknown);
    EXPECT_EQ(TranslateRequest(base + "SymbolDatabase.dta", 0).form, ChartApiCall::Form::Unknown);
    // A range that ends before it starts asks for nothing.
    const ChartApiCall empty =
        TranslateRequest(JoinUrl(base, HistoricalRequest("A", Query(2007, 1, 5), Query(2007, 1, 3), 0)), 0);
    EXPECT_EQ(empty.form, ChartApiCall::Form::Historical);
    EXPECT_TRUE(empty.url.empty());
    EXPECT_FALSE(IsChartApiUrl("http://host/table.csv"));
}

TEST_F(ChartApiTest, CallsArePacedAndPlainUrlsPassThrough) {
    Lines(RecentQuoteRequest("AAPL"));
    EXPECT_TRUE(sleeps_.empty());
    Lines(RecentQuoteRequest("AAPL"));
    ASSERT_EQ(sleeps_.size(), 1u);
    EXPECT_GT(sleeps_[0], 400);
    EXPECT_LE(sleeps_[0], 501);

    // A plain base URL keeps the engine's own agent and is not paced.
    server_.SetRecentQuote("MSFT", "\"MSFT\",29.64,\"1/5/2007\",0,29.91,30.25,29.53,44607200\r\n");
    std::unique_ptr<HttpSession> session = chart_.OpenSession(CDownloader::kUserAgent);
    std::string line;
    ASSERT_TRUE(session->OpenUrl(JoinUrl(server_.BaseUrl(), RecentQuoteRequest("MSFT")))->ReadLine(line));
    EXPECT_EQ(line, "\"MSFT\",29.64,\"1/5/2007\",0,29.91,30.25,29.53,44607200");
    EXPECT_EQ(server_.LastUserAgent(), "MySession");
    EXPECT_EQ(sleeps_.size(), 1u);

    ChartApiTransport unpaced(transport_, std::chrono::milliseconds(0),
                              [this](std::chrono::milliseconds wait) { sleeps_.push_back(wait.count()); });
    for (int i = 0; i < 2; ++i)
        unpaced.OpenSession("x")->OpenUrl(JoinUrl(base_, RecentQuoteRequest("AAPL")));
    EXPECT_EQ(sleeps_.size(), 1u);
}

TEST_F(ChartApiTest, EngineDownloadsAdjustedAscendingRecordsOnTheRightDays) {
    // Split-adjusted prices from the service, rescaled by the engine for the dividend as well.
    EXPECT_EQ(engine_->DownloadHistory("AAPL", Query(2020, 8, 28), Query(2020, 9, 1), 0, 2), 3);
    EXPECT_EQ(ReadData("AAPL.csv"),
              File("\r\n28-Aug-20,124.3237,124.7479,122.9079,123.1348,187630000,123.1348"
                   "\r\n31-Aug-20,125.8711,129.2452,124.3122,127.3115,225702700,127.3115"
                   "\r\n1-Sep-20,130.9816,132.9943,128.7815,132.3826,151948100,132.3826"));
    EXPECT_TRUE(engine_->Adjustment());

    // An index without the null bar of 4 January.
    EXPECT_EQ(engine_->DownloadHistory("^GSPC", Query(2024, 1, 3), Query(2024, 1, 5), 0, 2), 2);
    EXPECT_EQ(ReadData("^GSPC.csv"), File("\r\n3-Jan-24,4725.07,4729.29,4699.71,4704.81,3950760000,4704.81"
                                          "\r\n5-Jan-24,4690.57,4721.49,4682.11,4697.24,3844370000,4697.24"));

    EXPECT_EQ(engine_->DownloadHistory("$EURUSD", Query(2024, 1, 2), Query(2024, 1, 5), 0, 2), 4);
    EXPECT_EQ(ReadData("$EURUSD.csv"), File("\r\n2-Jan-24,1.1039,1.1043,1.094,1.1039,0,1.1039"
                                            "\r\n3-Jan-24,1.0942,1.0953,1.0893,1.0942,0,1.0942"
                                            "\r\n4-Jan-24,1.0922,1.0973,1.0918,1.0922,0,1.0922"
                                            "\r\n5-Jan-24,1.0946,1.0998,1.0879,1.0946,0,1.0946"));

    // No live bar of a day after the end.
    EXPECT_EQ(engine_->DownloadHistory("GOOG", Query(2024, 1, 4), Query(2024, 1, 5), 0, 2), 2);
    EXPECT_EQ(ReadData("GOOG.csv"), File("\r\n4-Jan-24,139.40,139.72,136.80,137.39,25024800,137.39"
                                         "\r\n5-Jan-24,137.38,138.13,135.72,136.99,23034400,136.99"));

    // Monday to Friday of the exchange's week, though Monday's bar is on a Sunday in UTC.
    EXPECT_EQ(engine_->DownloadHistory("FPH.NZ", Query(2024, 1, 8), Query(2024, 1, 12), 0, 2), 5);
    EXPECT_EQ(ReadData("FPH.NZ.csv"), File("\r\n8-Jan-24,22.5144,22.7110,22.3669,22.6127,412380,22.6127"
                                           "\r\n9-Jan-24,22.6127,22.9568,22.5635,22.9076,388201,22.9076"
                                           "\r\n10-Jan-24,22.908,23.006,22.632,22.711,297644,22.711"
                                           "\r\n11-Jan-24,22.6618,22.8093,22.4259,22.5635,334915,22.5635"
                                           "\r\n12-Jan-24,22.5635,22.9863,22.5144,22.9568,501276,22.9568"));

    EXPECT_EQ(engine_->DownloadHistory("XYZQ", Query(2024, 1, 2), Query(2024, 1, 5), 0, 2), -1);
    EXPECT_FALSE(std::filesystem::exists(data_.Path() / "XYZQ.csv"));
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(ChartApiTest, EngineAddsTheRecentQuoteOfTheChart) {
    WriteData("GOOG.csv", "\r\n5-Jan-24,137.38,138.13,135.72,136.99,23034400,136.99");
    EXPECT_EQ(engine_->FetchRecentQuote("GOOG"), 1);
    EXPECT_EQ(ReadData("GOOG.csv"), File("\r\n5-Jan-24,137.38,138.13,135.72,136.99,23034400,136.99"
                                         "\r\n8-Jan-24,137.16,140.55,136.95,140.51,18876021,140.51"));
    // An unknown symbol has no price; the quote page is not asked of the service.
    WriteData("XYZQ.csv", "\r\n5-Jan-24,1,1,1,1,1,1");
    EXPECT_EQ(engine_->FetchRecentQuote("XYZQ"), 0);
    EXPECT_EQ(server_.Requests().size(), 2u);
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(ChartApiTest, TooManyRequestsIsRetriedAndBrokenJsonStopsTheRun) {
    server_.SetTrouble(Request::Chart, "GOOG", Trouble{Trouble::Kind::Status, 429, "Too Many Requests", 1});
    EXPECT_EQ(engine_->DownloadHistory("GOOG", Query(2024, 1, 4), Query(2024, 1, 5), 0, 2), 2);
    EXPECT_EQ(pauses_.size(), 1u);
    EXPECT_TRUE(messages_.shown.empty());

    server_.SetChart("BAD", "<html><body>Will be right back</body></html>");
    EXPECT_EQ(engine_->DownloadHistory("BAD", Query(2024, 1, 4), Query(2024, 1, 5), 0, 2), 0);
    EXPECT_FALSE(std::filesystem::exists(data_.Path() / "BAD.csv"));
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, "The chart service sent an answer that is not JSON");
    EXPECT_TRUE(engine_->Abort());
}

} // namespace
} // namespace tessaly::test
