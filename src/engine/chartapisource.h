#pragma once

#include "engine/httpsession.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// A base URL with this prefix (for example "yahoo-chart+https://query1.finance.yahoo.com/") names a
// service that speaks the chart API ("v8/finance/chart/SYMBOL") instead of the CSV requests.
inline constexpr std::string_view kChartApiPrefix = "yahoo-chart+";
// The service refuses agents it does not know.
inline constexpr std::string_view kBrowserUserAgent =
    "Mozilla/5.0 (X11; Linux x86_64) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/120.0 Safari/537.36";

bool IsChartApiUrl(std::string_view url);

// One request of the engine in the chart API's terms.
struct ChartApiCall {
    enum class Form { Historical, Currency, RecentQuote, QuotePage, Unknown };
    Form form = Form::Unknown;
    // The chart API URL to send; empty when there is nothing to send (the quote page, a range that
    // ends before it starts).
    std::string url;
    std::string symbol;       // the symbol as the answer lines carry it (the pair for a currency request)
    char periodCode = 'D';    // D, W or M
    std::int64_t period1 = 0; // Unix seconds: midnight UTC of the from date
    std::int64_t period2 = 0; // the end of the end date's day
};

// Takes an engine URL whose base starts with kChartApiPrefix apart. `now` (Unix seconds) bounds the
// recent quote's window.
ChartApiCall TranslateRequest(std::string_view url, std::int64_t now);

// Translates the chart API's JSON answer into the answer lines of each request form. `status` is
// the HTTP status of the chart answer. A historical or currency body that is not JSON throws
// HttpError (a passing trouble); a recent quote without a price is the "N/A" line.
std::vector<std::string> TranslateHistorical(const std::string& body, int status, std::int64_t period1,
                                             std::int64_t period2);
std::vector<std::string> TranslateCurrency(const std::string& body, int status, const std::string& pair,
                                           char periodCode, std::int64_t period1, std::int64_t period2);
std::vector<std::string> TranslateRecentQuote(const std::string& body, int status, const std::string& symbol);

// Answers the engine's requests: a URL whose base starts with kChartApiPrefix is translated into a
// chart API call on the real transport, sent with a browser-like agent and paced so that two calls
// are at least `minInterval` apart; any other URL goes to the real transport as it is.
class ChartApiTransport final : public HttpTransport {
public:
    using Sleep = std::function<void(std::chrono::milliseconds)>;

    ChartApiTransport(HttpTransport& real, std::chrono::milliseconds minInterval, Sleep sleep = {});
    std::unique_ptr<HttpSession> OpenSession(std::string_view userAgent) override;

    // Waits until the next chart API call may go out, and notes that it goes now.
    void Pace();
    HttpTransport& Real() { return real_; }

private:
    HttpTransport& real_;
    std::chrono::milliseconds minInterval_;
    Sleep sleep_;
    bool sent_ = false;
    std::chrono::steady_clock::time_point lastCall_{};
};

} // namespace tessaly
