#pragma once

#include "engine/datenumber.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace tessaly::test {

// A stand-in for the quote service and the currency server on 127.0.0.1: it answers the historical
// ("table.csv"), currency ("FOREXQUOTE.txt"), recent-quote ("d/quotes.csv"), quote-page ("q") and
// chart API ("v8/finance/chart/SYMBOL") requests from the data it is given, and can be told to
// misbehave. One base URL serves them all.
class FakeQuoteServer {
public:
    enum class Request { Historical, Currency, RecentQuote, QuotePage, Chart };

    // A way to misbehave, for the first `times` matching requests (all of them when negative).
    struct Trouble {
        enum class Kind { TimeOut, Reset, Status, Body };
        Kind kind = Kind::Status;
        int status = 500; // for Status
        std::string body; // for Status and Body
        int times = -1;
    };

    FakeQuoteServer();
    ~FakeQuoteServer();
    FakeQuoteServer(const FakeQuoteServer&) = delete;
    FakeQuoteServer& operator=(const FakeQuoteServer&) = delete;

    // Starts listening on 127.0.0.1, on a free port when port is 0. Reports success.
    bool Start(int port = 0);
    void Stop();
    int Port() const { return port_; }
    // "http://127.0.0.1:PORT/".
    std::string BaseUrl() const;

    // Daily records of a symbol, "YYYY-MM-DD,open,high,low,close,volume,adjusted close", in any order.
    // They are served newest first within the requested range; weekly and monthly requests get the
    // first trading day of each week or month unless records of their own are set.
    void SetHistory(const std::string& symbol, std::vector<std::string> records, char periodicity = 'd');
    // Currency server lines of a pair ("EURUSD,D,20070103,000000,open,high,low,close,volume").
    void SetCurrency(const std::string& pair, std::vector<std::string> lines);
    void SetRecentQuote(const std::string& symbol, std::string body);
    void SetQuotePage(const std::string& symbol, std::string html);
    // The chart API answer ("v8/finance/chart/SYMBOL") of a symbol, served as it is whatever the
    // query; a symbol without one gets the service's 404 answer for an unknown symbol.
    void SetChart(const std::string& symbol, std::string json, int status = 200);
    // Reads every SYMBOL.json of a folder as chart answers. Returns the number of files read.
    int LoadChartFixtures(const std::filesystem::path& folder);
    // Trouble for one kind of request and one symbol (pair for currency requests); "" for every one.
    void SetTrouble(Request request, const std::string& symbol, Trouble trouble);
    void ClearTroubles();
    // How long a time-out trouble keeps the client waiting (bounded by Stop()).
    void SetTimeOutDelay(std::chrono::milliseconds delay);

    // Reads a fixture folder: SYMBOL.csv (history), PAIR.txt (currency lines), SYMBOL.quote (recent
    // quote answer), SYMBOL.html (quote page). Returns the number of files read.
    int LoadFixtures(const std::filesystem::path& folder);
    // A few securities up to `today`: MSFT and IBM (history to the trading day before the recent
    // quote), ^GSPC (an index whose recent quote is N/A, so the page has it), $EURUSD.
    void LoadBuiltInFixtures(DateNumber today);

    // The request targets received (path and query as sent), oldest first.
    std::vector<std::string> Requests() const;
    std::string LastUserAgent() const;
    void ClearRequests();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    int port_ = 0;
};

// Deterministic weekday records from `from` to `to` (date numbers), newest last, as SetHistory takes
// them. With an adjustment factor other than 1 the adjusted close differs from the close.
std::vector<std::string> SyntheticHistory(DateNumber from, DateNumber to, double startPrice,
                                          std::uint32_t seed, double adjustment = 1.0);
// A recent-quote answer line: "SYM",last,"M/D/YYYY",change,open,high,low,volume.
std::string RecentQuoteLine(const std::string& symbol, DateNumber date, double open, double high, double low,
                            double last, std::int64_t volume);
// A quote page of an index with every label the page reader looks for.
std::string IndexQuotePage(const std::string& monthDay, double last, double open, double low, double high,
                           const std::string& volume);

} // namespace tessaly::test
