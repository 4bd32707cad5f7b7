#include "fakequoteserver.h"

#include <httplib.h>

#include <algorithm>
#include <array>
#include <condition_variable>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

namespace tessaly::test {

namespace {

constexpr std::string_view kHistoryHeader = "Date,Open,High,Low,Close,Volume,Adj Close";
constexpr std::string_view kCurrencyHeader =
    "<TICKER>,<PER>,<DTYYYYMMDD>,<TIME>,<OPEN>,<HIGH>,<LOW>,<CLOSE>,<VOL>";
constexpr std::string_view kUnknownChart =
    R"({"chart":{"result":null,"error":{"code":"Not Found","description":"No data found, symbol may be delisted"}}})";
constexpr std::string_view kNotFoundPage =
    "<html><head><title>404 Not Found</title></head>\n<body>The page was not found.</body></html>";

int Number(const httplib::Request& request, const char* key) {
    return request.has_param(key) ? std::atoi(request.get_param_value(key).c_str()) : 0;
}

DateNumber IsoToNumber(std::string_view line) {
    if (line.size() < 10 || line[4] != '-' || line[7] != '-')
        return 0;
    return std::atoi(std::string(line.substr(0, 4)).c_str()) * 10000 +
           std::atoi(std::string(line.substr(5, 2)).c_str()) * 100 +
           std::atoi(std::string(line.substr(8, 2)).c_str());
}

DateNumber CurrencyLineDate(std::string_view line) {
    std::size_t commas = 0;
    std::size_t at = 0;
    while (commas < 2 && at < line.size()) {
        if (line[at++] == ',')
            ++commas;
    }
    return commas == 2 ? std::atoi(std::string(line.substr(at, 8)).c_str()) : 0;
}

// The first trading day of each week (Monday-based) or month among daily records.
std::vector<std::string> Thinned(std::vector<std::string> records, char periodicity) {
    std::sort(records.begin(), records.end(),
              [](const std::string& a, const std::string& b) { return IsoToNumber(a) < IsoToNumber(b); });
    std::vector<std::string> thinned;
    std::int64_t lastGroup = -1;
    for (const std::string& record : records) {
        const DateNumber date = IsoToNumber(record);
        std::int64_t group = date / 100;
        if (periodicity == 'w') {
            const auto day = ToCalendarDate(date);
            if (!day)
                continue;
            const auto days = std::chrono::sys_days(*day).time_since_epoch().count();
            group = (days + 3) / 7; // 1 Jan 1970 was a Thursday
        }
        if (group != lastGroup)
            thinned.push_back(record);
        lastGroup = group;
    }
    return thinned;
}

std::string Price(double value) {
    std::array<char, 32> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%.2f", value);
    return buffer.data();
}

std::string ReadWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            lines.push_back(line);
    }
    return lines;
}

} // namespace

struct FakeQuoteServer::Impl {
    httplib::Server server;
    std::thread thread;
    mutable std::mutex mutex;
    std::condition_variable stopping;
    bool stopped = false;
    std::chrono::milliseconds timeOutDelay{3000};
    std::map<std::pair<std::string, char>, std::vector<std::string>> history;
    std::map<std::string, std::vector<std::string>> currency;
    std::map<std::string, std::string> quotes;
    std::map<std::string, std::string> pages;
    std::map<std::string, std::pair<int, std::string>> charts;
    std::map<std::pair<Request, std::string>, Trouble> troubles;
    std::vector<std::string> requests;
    std::string userAgent;

    // The trouble that applies to this request, counted down; nullopt when it is to be answered.
    std::optional<Trouble> TakeTrouble(Request request, const std::string& symbol) {
        for (const std::string& key : {symbol, std::string()}) {
            auto found = troubles.find({request, key});
            if (found == troubles.end() || found->second.times == 0)
                continue;
            if (found->second.times > 0)
                --found->second.times;
            return found->second;
        }
        return std::nullopt;
    }

    void Answer(Request kind, const std::string& symbol, const httplib::Request& request,
                httplib::Response& response) {
        std::unique_lock lock(mutex);
        requests.push_back(request.target);
        userAgent = request.get_header_value("User-Agent");
        if (const auto trouble = TakeTrouble(kind, symbol)) {
            switch (trouble->kind) {
            case Trouble::Kind::TimeOut:
                stopping.wait_for(lock, timeOutDelay, [this] { return stopped; });
                response.set_content("", "text/plain");
                return;
            case Trouble::Kind::Reset:
                response.set_chunked_content_provider("text/plain", [](std::size_t, httplib::DataSink& sink) {
                    sink.write("2007-01-05,1,2", 14);
                    return false;
                });
                return;
            case Trouble::Kind::Status:
                response.status = trouble->status;
                response.set_content(trouble->body, "text/html");
                return;
            case Trouble::Kind::Body:
                response.set_content(trouble->body, "text/html");
                return;
            }
        }
        switch (kind) {
        case Request::Historical:
            response.set_content(HistoryAnswer(symbol, request), "text/csv");
            return;
        case Request::Currency:
            response.set_content(CurrencyAnswer(symbol, request), "text/plain");
            return;
        case Request::RecentQuote: {
            const auto found = quotes.find(symbol);
            response.set_content(found != quotes.end()
                                     ? found->second
                                     : "\"" + symbol + "\",0.00,\"N/A\",N/A,N/A,N/A,N/A,N/A\r\n",
                                 "text/csv");
            return;
        }
        case Request::QuotePage: {
            const auto found = pages.find(symbol);
            response.set_content(found != pages.end() ? found->second
                                                      : "<html><body>No such quote</body></html>\n",
                                 "text/html");
            return;
        }
        case Request::Chart: {
            const auto found = charts.find(symbol);
            if (found == charts.end()) {
                response.status = 404;
                response.set_content(std::string(kUnknownChart), "application/json");
            } else {
                response.status = found->second.first;
                response.set_content(found->second.second, "application/json");
            }
            return;
        }
        }
    }

    std::string HistoryAnswer(const std::string& symbol, const httplib::Request& request) {
        const std::string g = request.has_param("g") ? request.get_param_value("g") : "d";
        const char periodicity = g.empty() ? 'd' : g.front();
        const DateNumber from =
            Number(request, "c") * 10000 + (Number(request, "a") + 1) * 100 + Number(request, "b");
        const DateNumber to =
            Number(request, "f") * 10000 + (Number(request, "d") + 1) * 100 + Number(request, "e");
        std::vector<std::string> records;
        if (const auto own = history.find({symbol, periodicity}); own != history.end()) {
            records = own->second;
        } else if (const auto daily = history.find({symbol, 'd'}); daily != history.end()) {
            records = Thinned(daily->second, periodicity);
        } else {
            return std::string(kNotFoundPage);
        }
        std::sort(records.begin(), records.end(),
                  [](const std::string& a, const std::string& b) { return IsoToNumber(a) > IsoToNumber(b); });
        std::string body(kHistoryHeader);
        body += "\n";
        for (const std::string& record : records) {
            const DateNumber date = IsoToNumber(record);
            if (date >= from && date <= to)
                body += record + "\n";
        }
        return body;
    }

    std::string CurrencyAnswer(const std::string& pair, const httplib::Request& request) {
        const DateNumber from =
            Number(request, "yf") * 10000 + (Number(request, "mf") + 1) * 100 + Number(request, "df");
        const DateNumber to =
            Number(request, "yt") * 10000 + (Number(request, "mt") + 1) * 100 + Number(request, "dt");
        const auto found = currency.find(pair);
        if (found == currency.end())
            return std::string(kNotFoundPage);
        std::string body(kCurrencyHeader);
        body += "\r\n";
        for (const std::string& line : found->second) {
            const DateNumber date = CurrencyLineDate(line);
            if (date >= from && date <= to)
                body += line + "\r\n";
        }
        return body;
    }
};

FakeQuoteServer::FakeQuoteServer()
    : impl_(std::make_unique<Impl>()) {
    const auto route = [this](const char* pattern, Request kind, const char* key) {
        impl_->server.Get(
            pattern, [this, kind, key](const httplib::Request& request, httplib::Response& response) {
                impl_->Answer(kind, request.has_param(key) ? request.get_param_value(key) : std::string(),
                              request, response);
            });
    };
    route("/table.csv", Request::Historical, "s");
    route("/FOREXQUOTE.txt", Request::Currency, "f");
    route("/d/quotes.csv", Request::RecentQuote, "s");
    route("/q", Request::QuotePage, "s");
    impl_->server.Get(R"(/v8/finance/chart/([^/]+))",
                      [this](const httplib::Request& request, httplib::Response& response) {
                          impl_->Answer(Request::Chart, request.matches[1].str(), request, response);
                      });
}

FakeQuoteServer::~FakeQuoteServer() {
    Stop();
}

bool FakeQuoteServer::Start(int port) {
    Stop();
    {
        std::lock_guard lock(impl_->mutex);
        impl_->stopped = false;
    }
    if (port == 0) {
        port_ = impl_->server.bind_to_any_port("127.0.0.1");
        if (port_ <= 0)
            return false;
    } else {
        if (!impl_->server.bind_to_port("127.0.0.1", port))
            return false;
        port_ = port;
    }
    impl_->thread = std::thread([this] { impl_->server.listen_after_bind(); });
    // The socket is bound already, so early clients wait in its backlog; this only waits for the loop.
    for (int i = 0; i < 2000 && !impl_->server.is_running(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return true;
}

void FakeQuoteServer::Stop() {
    {
        std::lock_guard lock(impl_->mutex);
        impl_->stopped = true;
    }
    impl_->stopping.notify_all();
    if (impl_->thread.joinable()) {
        impl_->server.stop();
        impl_->thread.join();
    }
}

std::string FakeQuoteServer::BaseUrl() const {
    return "http://127.0.0.1:" + std::to_string(port_) + "/";
}

void FakeQuoteServer::SetHistory(const std::string& symbol, std::vector<std::string> records,
                                 char periodicity) {
    std::lock_guard lock(impl_->mutex);
    impl_->history[{symbol, periodicity}] = std::move(records);
}

void FakeQuoteServer::SetCurrency(const std::string& pair, std::vector<std::string> lines) {
    std::lock_guard lock(impl_->mutex);
    impl_->currency[pair] = std::move(lines);
}

void FakeQuoteServer::SetRecentQuote(const std::string& symbol, std::string body) {
    std::lock_guard lock(impl_->mutex);
    impl_->quotes[symbol] = std::move(body);
}

void FakeQuoteServer::SetQuotePage(const std::string& symbol, std::string html) {
    std::lock_guard lock(impl_->mutex);
    impl_->pages[symbol] = std::move(html);
}

void FakeQuoteServer::SetChart(const std::string& symbol, std::string json, int status) {
    std::lock_guard lock(impl_->mutex);
    impl_->charts[symbol] = {status, std::move(json)};
}

int FakeQuoteServer::LoadChartFixtures(const std::filesystem::path& folder) {
    int count = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.path().extension() != ".json")
            continue;
        SetChart(entry.path().stem().string(), ReadWhole(entry.path()));
        ++count;
    }
    return count;
}

void FakeQuoteServer::SetTrouble(Request request, const std::string& symbol, Trouble trouble) {
    std::lock_guard lock(impl_->mutex);
    impl_->troubles[{request, symbol}] = std::move(trouble);
}

void FakeQuoteServer::ClearTroubles() {
    std::lock_guard lock(impl_->mutex);
    impl_->troubles.clear();
}

void FakeQuoteServer::SetTimeOutDelay(std::chrono::milliseconds delay) {
    std::lock_guard lock(impl_->mutex);
    impl_->timeOutDelay = delay;
}

std::vector<std::string> FakeQuoteServer::Requests() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->requests;
}

std::string FakeQuoteServer::LastUserAgent() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->userAgent;
}

void FakeQuoteServer::ClearRequests() {
    std::lock_guard lock(impl_->mutex);
    impl_->requests.clear();
}

int FakeQuoteServer::LoadFixtures(const std::filesystem::path& folder) {
    int read = 0;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::filesystem::path& path = it->path();
        const std::string name = path.stem().string();
        const std::string extension = path.extension().string();
        if (extension == ".csv") {
            std::vector<std::string> records;
            for (std::string& line : Lines(ReadWhole(path))) {
                if (IsoToNumber(line) != 0)
                    records.push_back(std::move(line));
            }
            SetHistory(name, std::move(records));
        } else if (extension == ".txt") {
            std::vector<std::string> lines;
            for (std::string& line : Lines(ReadWhole(path))) {
                if (!line.starts_with('<'))
                    lines.push_back(std::move(line));
            }
            SetCurrency(name, std::move(lines));
        } else if (extension == ".quote") {
            SetRecentQuote(name, ReadWhole(path));
        } else if (extension == ".html") {
            SetQuotePage(name, ReadWhole(path));
        } else {
            continue;
        }
        ++read;
    }
    return read;
}

void FakeQuoteServer::LoadBuiltInFixtures(DateNumber today) {
    DateNumber quoteDay = today;
    while (IsWeekend(quoteDay))
        quoteDay = PreviousDay(quoteDay);
    const DateNumber historyEnd = PreviousDay(quoteDay);
    const DateNumber historyStart = YearsEarlier(today, 10);

    struct Stock {
        const char* symbol;
        double price;
        std::uint32_t seed;
        double adjustment;
    };
    for (const Stock& stock :
         {Stock{"MSFT", 30.0, 1, 1.0}, Stock{"IBM", 90.0, 2, 0.98}, Stock{"^GSPC", 1400, 3, 1.0}}) {
        std::vector<std::string> records =
            SyntheticHistory(historyStart, historyEnd, stock.price, stock.seed, stock.adjustment);
        const std::string last = records.empty() ? std::string() : records.back();
        double close = stock.price;
        if (!last.empty()) {
            std::size_t at = 0;
            for (int comma = 0; comma < 4; ++comma)
                at = last.find(',', at) + 1;
            close = std::atof(last.c_str() + at) * stock.adjustment;
        }
        SetHistory(stock.symbol, std::move(records));
        if (std::string(stock.symbol) == "^GSPC") {
            SetRecentQuote(stock.symbol, "\"^GSPC\",N/A,\"N/A\",N/A,N/A,N/A,N/A,N/A\r\n");
            static constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                                    "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
            const std::string monthDay =
                std::string(kMonths[static_cast<std::size_t>(quoteDay / 100 % 100 - 1)]) + " " +
                std::to_string(quoteDay % 100);
            SetQuotePage(stock.symbol,
                         IndexQuotePage(monthDay, close * 1.004, close, close * 0.995, close * 1.01, "0"));
        } else {
            SetRecentQuote(stock.symbol, RecentQuoteLine(stock.symbol, quoteDay, close, close * 1.02,
                                                         close * 0.99, close * 1.01, 25000000));
        }
    }
    std::vector<std::string> lines;
    double rate = 1.10;
    for (DateNumber day = historyStart; day != 0 && day <= historyEnd; day = NextDay(day)) {
        if (WeekdayOf(day) == std::chrono::Sunday)
            continue;
        rate += ((day * 7919) % 200 - 100) / 100000.0;
        char line[128];
        std::snprintf(line, sizeof line, "EURUSD,D,%08d,000000,%.4f,%.4f,%.4f,%.4f,0", day, rate,
                      rate + 0.004, rate - 0.004, rate + 0.001);
        lines.emplace_back(line);
    }
    SetCurrency("EURUSD", std::move(lines));
}

std::vector<std::string> SyntheticHistory(DateNumber from, DateNumber to, double startPrice,
                                          std::uint32_t seed, double adjustment) {
    std::vector<std::string> records;
    std::uint32_t state = seed * 2654435761u + 1;
    double close = startPrice;
    for (DateNumber day = from; day != 0 && day <= to; day = NextDay(day)) {
        if (IsWeekend(day))
            continue;
        state = state * 1664525u + 1013904223u;
        const double change = (static_cast<double>(state >> 8) / 16777216.0 - 0.5) * 0.04;
        const double open = close;
        close = std::max(0.5, open * (1.0 + change));
        const double high = std::max(open, close) * 1.01;
        const double low = std::min(open, close) * 0.99;
        const std::int64_t volume = 1000000 + static_cast<std::int64_t>(state % 5000000);
        records.push_back(DateNumberToIso(day) + "," + Price(open) + "," + Price(high) + "," + Price(low) +
                          "," + Price(close) + "," + std::to_string(volume) + "," +
                          Price(close * adjustment));
    }
    return records;
}

std::string RecentQuoteLine(const std::string& symbol, DateNumber date, double open, double high, double low,
                            double last, std::int64_t volume) {
    return "\"" + symbol + "\"," + Price(last) + ",\"" + std::to_string(date / 100 % 100) + "/" +
           std::to_string(date % 100) + "/" + std::to_string(date / 10000) + "\"," + Price(last - open) +
           "," + Price(open) + "," + Price(high) + "," + Price(low) + "," + std::to_string(volume) + "\r\n";
}

std::string IndexQuotePage(const std::string& monthDay, double last, double open, double low, double high,
                           const std::string& volume) {
    // 1234.56 as "1,234.56".
    const auto grouped = [](double value) {
        const std::string text = Price(value);
        const std::size_t integerDigits = text.find('.');
        std::string result;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (i > 0 && i < integerDigits && (integerDigits - i) % 3 == 0 && text[i - 1] != '-')
                result += ',';
            result += text[i];
        }
        return result;
    };
    return "<html><head><title>Quote</title></head><body>\n"
           "<div class=\"market\">U.S. Markets close in 2 hours: " +
           monthDay +
           ", 2:00PM ET</div>\n"
           "<table><tr><th>Index Value:</th><td>" +
           grouped(last) +
           "</td></tr>\n"
           "<tr><th>Trade Time:</th><td>" +
           monthDay +
           "</td></tr>\n"
           "<tr><th>Open:</th><td>" +
           grouped(open) +
           "</td></tr>\n"
           "<tr><th>Day's Range:</th><td>" +
           grouped(low) + "</td><td> - </td><td>" + grouped(high) +
           "</td></tr>\n"
           "<tr><th>Volume:</th><td>" +
           volume + "</td></tr></table>\n</body></html>\n";
}

} // namespace tessaly::test
