#include "enginefakes.h"

#include "engine/downloadreport.h"

namespace tessaly::test {
namespace {

using Trouble = FakeQuoteServer::Trouble;
using Request = FakeQuoteServer::Request;

// The date keys of the history requests the server received.
std::vector<std::string> HistoryRequests(const FakeQuoteServer& server) {
    std::vector<std::string> found;
    for (const std::string& request : server.Requests()) {
        if (request.starts_with("/table.csv"))
            found.push_back(request.substr(request.find("&a=")));
    }
    return found;
}

class DownloadRunTest : public EngineTest {};

TEST_F(DownloadRunTest, ReportHasOneLinePerSecurityAndProgressCountsCharacters) {
    server_.SetHistory("A", {"2007-01-05,5,5,5,5,5,5"});
    server_.SetHistory("C", {"2007-01-04,4,4,4,4,4,4", "2007-01-05,5,5,5,5,5,5"}, 'w');
    dialog_.onSymbol = [this](FakeDialog&) { clock_->Advance(3723); };
    EXPECT_EQ(engine_->RunDownload("A B C", Query(2007, 1, 4), Query(2007, 1, 5), 1), 0);
    EXPECT_EQ(ReportText(), "A,1\r\nB,-1\r\nC,2\r\n");
    EXPECT_EQ(dialog_.lower, 0);
    EXPECT_EQ(dialog_.upper, 5);
    EXPECT_EQ(dialog_.positions, (std::vector<int>{2, 4, 5}));
    // The last symbol keeps the text of the one before.
    EXPECT_EQ(dialog_.symbols, (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(dialog_.elapsed, (std::vector<std::string>{"01:02:03", "02:04:06"}));
    EXPECT_EQ(dialog_.remaining, (std::vector<std::string>{"01:33:04", "00:31:01"}));
    EXPECT_EQ(dialog_.pauses, 2);
    EXPECT_EQ(dialog_.restores, 1);
    EXPECT_EQ(ReadReportRows(program_ / "report.txt"),
              (std::vector<ReportRow>{
                  {"2", "C", "Success", 1}, {"0", "B", "Invalid symbol", 0}, {"1", "A", "Success", 1}}));
}

TEST_F(DownloadRunTest, BlanksSeparateEveryEmptySymbol) {
    EXPECT_EQ(engine_->RunDownload(" \tMSFT  IBM\r\n", Query(2007, 1, 4), Query(2007, 1, 5), 1), 0);
    EXPECT_EQ(ReportText(), "MSFT,-1\r\n,-1\r\nIBM,-1\r\n");
    EXPECT_EQ(dialog_.upper, 9);
    EXPECT_NE(server_.Requests()[1].find("table.csv?s=&a="), std::string::npos);

    EXPECT_EQ(engine_->RunDownload("   ", Query(2007, 1, 4), Query(2007, 1, 5), 1), 0);
    EXPECT_EQ(ReportText(), ",-1\r\n");
}

TEST_F(DownloadRunTest, DecisionsFollowTheFileAndTheRequest) {
    const std::vector<std::string> history = {"2007-01-02,2,2,2,2,2,2", "2007-01-03,3,3,3,3,3,3",
                                              "2007-01-04,4,4,4,4,4,4", "2007-01-05,5,5,5,5,5,5",
                                              "2007-01-08,8,8,8,8,8,8"};
    struct Case {
        const char* name;
        const char* records;
        int start;
        int end;
        int periodicity;
        bool overwrite;
        const char* requested; // the history requests' dates, "" for none
        const char* report;
    };
    const Case cases[] = {
        {"update from the last date", "\r\n3-Jan-07,3,3,3,3,3,3\r\n4-Jan-07,1,1,1,1,1,1", Query(2007, 1, 3),
         Query(2007, 1, 8), 0, false, "&a=00&b=03&c=2007&d=00&e=08&f=2007&g=d", "X,3\r\n"},
        {"overwrite", "\r\n2-Jan-07,2,2,2,2,2,2\r\n4-Jan-07,1,1,1,1,1,1", Query(2007, 1, 4),
         Query(2007, 1, 8), 0, true, "&a=00&b=03&c=2007&d=00&e=08&f=2007&g=d", "X,3\r\n"},
        {"earlier start", "\r\n3-Jan-07,3,3,3,3,3,3\r\n4-Jan-07,4,4,4,4,4,4", Query(2007, 1, 2),
         Query(2007, 1, 8), 0, false, "&a=00&b=01&c=2007&d=00&e=08&f=2007&g=d", "X,5\r\n"},
        {"weekly file, daily run, from the file's first date",
         "\r\n3-Jan-07,3,3,3,3,3,3\r\n10-Jan-07,1,1,1,1,1,1\r\n17-Jan-07,1,1,1,1,1,1", Query(2007, 1, 5),
         Query(2007, 1, 8), 0, false, "&a=00&b=02&c=2007&d=00&e=08&f=2007&g=d", "X,4\r\n"},
        {"single record", "\r\n4-Jan-07,4,4,4,4,4,4", Query(2007, 1, 5), Query(2007, 1, 8), 0, false,
         "&a=00&b=03&c=2007&d=00&e=08&f=2007&g=d", "X,3\r\n"},
        {"new file", "", Query(2007, 1, 5), Query(2007, 1, 8), 0, false,
         "&a=00&b=04&c=2007&d=00&e=08&f=2007&g=d", "X,2\r\n"},
        {"beyond the end", "\r\n4-Jan-07,4,4,4,4,4,4\r\n5-Jan-07,5,5,5,5,5,5\r\n8-Jan-07,8,8,8,8,8,8",
         Query(2007, 1, 4), Query(2007, 1, 5), 0, false, "", "X,0\r\n"},
        {"up to date, daily", "\r\n4-Jan-07,4,4,4,4,4,4\r\n5-Jan-07,8,8,8,8,8,8", Query(2007, 1, 4),
         Query(2007, 1, 5), 0, false, "", "X,1\r\n"},
    };
    for (const Case& c : cases) {
        server_.ClearRequests();
        server_.SetHistory("X", history);
        server_.SetRecentQuote("X", RecentQuoteLine("X", 20070105, 5, 6, 4, 5.5, 10));
        if (*c.records == '\0')
            std::filesystem::remove(data_ / "X.csv");
        else
            WriteData("X.csv", c.records);
        dialog_.overwrite = c.overwrite;
        engine_->RunDownload("X", c.start, c.end, c.periodicity);
        const auto requested = HistoryRequests(server_);
        if (*c.requested == '\0')
            EXPECT_TRUE(requested.empty()) << c.name;
        else
            EXPECT_EQ(requested, (std::vector<std::string>{std::string(c.requested) + "&ignore=.csv"}))
                << c.name;
        EXPECT_EQ(ReportText(), c.report) << c.name;
    }
    EXPECT_EQ(ReadData("X.csv"), File("\r\n4-Jan-07,4,4,4,4,4,4\r\n5-Jan-07,5.00,6.00,4.00,5.50,10,5.50"));
}

TEST_F(DownloadRunTest, WeeklyAndMonthlyFilesNeverGetADailyBar) {
    WriteData("W.csv", "\r\n1-Jan-07,1,1,1,1,1,1\r\n8-Jan-07,8,8,8,8,8,8\r\n15-Jan-07,5,5,5,5,5,5");
    server_.SetRecentQuote("W", RecentQuoteLine("W", 20070115, 5, 6, 4, 5.5, 10));
    engine_->RunDownload("W", Query(2007, 1, 1), Query(2007, 1, 15), 1);
    EXPECT_EQ(ReportText(), "W,0\r\n");
    EXPECT_TRUE(server_.Requests().empty());
}

TEST_F(DownloadRunTest, SplitInAnUpdateRewritesTheFileFromItsFirstDate) {
    WriteData("S.csv", "\r\n3-Jan-07,20,20,20,20,1,20\r\n4-Jan-07,22,22,22,22,1,22");
    server_.SetHistory(
        "S", {"2007-01-03,20,20,20,20,1,10", "2007-01-04,22,22,22,22,1,11", "2007-01-05,12,12,12,12,1,12"});
    engine_->RunDownload("S", Query(2007, 1, 3), Query(2007, 1, 5), 0);
    EXPECT_EQ(HistoryRequests(server_),
              (std::vector<std::string>{"&a=00&b=03&c=2007&d=00&e=05&f=2007&g=d&ignore=.csv",
                                        "&a=00&b=02&c=2007&d=00&e=05&f=2007&g=d&ignore=.csv"}));
    EXPECT_EQ(ReadData("S.csv"),
              File("\r\n3-Jan-07,10.00,10.00,10.00,10.00,1,10\r\n4-Jan-07,11.00,11.00,11.00,11.00,1,11"
                   "\r\n5-Jan-07,12,12,12,12,1,12"));
    EXPECT_EQ(ReportText(), "S,3\r\n");
    EXPECT_FALSE(engine_->Adjustment());
}

TEST_F(DownloadRunTest, CancelStopsAtTheNextCheck) {
    for (const char* symbol : {"A", "B", "C"})
        server_.SetHistory(symbol, {"2007-01-05,5,5,5,5,5,5"});
    dialog_.onPause = [this](FakeDialog&) { engine_->SetAbort(); };
    engine_->RunDownload("A B C", Query(2007, 1, 5), Query(2007, 1, 5), 1);
    EXPECT_EQ(ReportText(), "A,1\r\nB,0\r\n");
    EXPECT_FALSE(std::filesystem::exists(data_ / "B.csv"));
    EXPECT_EQ(dialog_.positions.back(), 5);
    EXPECT_TRUE(engine_->FatalError().empty());

    // An engine whose abort flag is set downloads nothing at all.
    engine_->RunDownload("C", Query(2007, 1, 5), Query(2007, 1, 5), 1);
    EXPECT_EQ(ReportText(), "C,0\r\n");
    EXPECT_FALSE(std::filesystem::exists(data_ / "C.csv"));
}

TEST_F(DownloadRunTest, FatalErrorStopsTheRun) {
    server_.SetHistory("A", {"2007-01-05,5,5,5,5,5,5"});
    server_.SetTrouble(Request::Historical, "B", {Trouble::Kind::Status, 401, ""});
    server_.SetHistory("C", {"2007-01-05,5,5,5,5,5,5"});
    engine_->RunDownload("A B C", Query(2007, 1, 5), Query(2007, 1, 5), 1);
    EXPECT_EQ(ReportText(), "A,1\r\nB,0\r\n");
    EXPECT_EQ(messages_.shown.size(), 1u);
    EXPECT_FALSE(engine_->FatalError().empty());
    EXPECT_FALSE(std::filesystem::exists(data_ / "C.csv"));
}

TEST_F(DownloadRunTest, ARunIsNeverReentered) {
    server_.SetHistory("A", {"2007-01-05,5,5,5,5,5,5"});
    server_.SetHistory("B", {"2007-01-05,5,5,5,5,5,5"});
    int inner = -1;
    dialog_.onPause = [&](FakeDialog&) {
        inner = engine_->RunDownload("Z", Query(2007, 1, 5), Query(2007, 1, 5), 1);
        EXPECT_TRUE(engine_->Running());
    };
    engine_->RunDownload("A B", Query(2007, 1, 5), Query(2007, 1, 5), 1);
    EXPECT_EQ(inner, 0);
    EXPECT_EQ(ReportText(), "A,1\r\nB,1\r\n");
    EXPECT_FALSE(engine_->Running());
}

TEST_F(DownloadRunTest, ReportThatCannotBeCreatedStopsTheRunBeforeAnyDownload) {
    program_.Write("report.txt", "MSFT,250\r\n");
    FixedFolders folders(data_.Path(), program_.Path() / "report.txt" / "below");
    CDownloader engine(transport_, folders, messages_,
                       Endpoints{server_.BaseUrl(), server_.BaseUrl(), "", ""});
    server_.SetHistory("A", {"2007-01-05,5,5,5,5,5,5"});
    EXPECT_EQ(engine.RunDownload("A", Query(2007, 1, 5), Query(2007, 1, 5), 1), 0);
    EXPECT_TRUE(engine.ReportFailed());
    EXPECT_EQ(messages_.shown.size(), 1u);
    EXPECT_TRUE(server_.Requests().empty());
    EXPECT_FALSE(std::filesystem::exists(data_ / "A.csv"));
}

// A file ending yesterday brought up to today: the service lags a day, the recent quote has today.
class CurrentDatesTest : public EngineTest {
protected:
    CurrentDatesTest()
        : EngineTest(std::chrono::year{2026} / 12 / 11) {}
};

TEST_F(CurrentDatesTest, FileEndingYesterdayIsUpdatedToToday) {
    WriteData(
        "MSFT.csv",
        "\r\n11-Dec-24,400,401,399,400,1,400\r\n9-Dec-26,401,402,400,401,1,401\r\n10-Dec-26,1,1,1,1,1,1");
    server_.SetHistory("MSFT",
                       {"2026-12-09,401,402,400,401,1,401", "2026-12-10,402,403,401,402.5,21000000,402.5"});
    server_.SetRecentQuote("MSFT", RecentQuoteLine("MSFT", 20261211, 403, 406, 402, 405.25, 18000000));
    engine_->RunDownload("MSFT", Query(2024, 12, 11), Query(2026, 12, 11), 0);
    EXPECT_EQ(ReportText(), "MSFT,2\r\n");
    EXPECT_EQ(HistoryRequests(server_),
              (std::vector<std::string>{"&a=11&b=09&c=2026&d=11&e=11&f=2026&g=d&ignore=.csv"}));
    EXPECT_EQ(ReadData("MSFT.csv"),
              File("\r\n11-Dec-24,400,401,399,400,1,400\r\n9-Dec-26,401,402,400,401,1,401"
                   "\r\n10-Dec-26,402,403,401,402.5,21000000,402.5"
                   "\r\n11-Dec-26,403.00,406.00,402.00,405.25,18000000,405.25"));

    // The next run of the same day only refreshes today's bar.
    server_.SetRecentQuote("MSFT", RecentQuoteLine("MSFT", 20261211, 403, 407, 402, 406.5, 19000000));
    server_.ClearRequests();
    engine_->RunDownload("MSFT", Query(2024, 12, 11), Query(2026, 12, 11), 0);
    EXPECT_EQ(ReportText(), "MSFT,1\r\n");
    EXPECT_TRUE(HistoryRequests(server_).empty());
    const std::string text = ReadData("MSFT.csv");
    EXPECT_EQ(text.substr(text.rfind('\n') + 1), "11-Dec-26,403.00,407.00,402.00,406.50,19000000,406.50");
}

} // namespace
} // namespace tessaly::test
