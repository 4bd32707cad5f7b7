#include "engine/chartapisource.h"

#include "engine/clock.h"
#include "engine/datenumber.h"
#include "engine/quoterequests.h"

#include <nlohmann/json.hpp>

#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <thread>

namespace tessaly {

namespace {

using nlohmann::json;

constexpr std::int64_t kDaySeconds = 86400;
// The recent quote is the latest bar of this many days back from now.
constexpr std::int64_t kRecentQuoteWindow = 10 * kDaySeconds;
constexpr std::string_view kHistoryHeader = "Date,Open,High,Low,Close,Volume,Adj Close";
constexpr std::string_view kCurrencyHeader =
    "<TICKER>,<PER>,<DTYYYYMMDD>,<TIME>,<OPEN>,<HIGH>,<LOW>,<CLOSE>,<VOL>";
constexpr std::string_view kNotFound = "Not Found";

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::string PercentDecode(std::string_view text) {
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            const int high = HexValue(text[i + 1]);
            const int low = HexValue(text[i + 2]);
            if (high >= 0 && low >= 0) {
                decoded += static_cast<char>(high * 16 + low);
                i += 2;
                continue;
            }
        }
        decoded += text[i];
    }
    return decoded;
}

std::map<std::string, std::string> QueryKeys(std::string_view query) {
    std::map<std::string, std::string> keys;
    while (!query.empty()) {
        const auto amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        const auto equals = pair.find('=');
        if (equals != std::string_view::npos)
            keys.emplace(std::string(pair.substr(0, equals)), PercentDecode(pair.substr(equals + 1)));
        if (amp == std::string_view::npos)
            break;
        query.remove_prefix(amp + 1);
    }
    return keys;
}

int KeyNumber(const std::map<std::string, std::string>& keys, const std::string& name) {
    const auto found = keys.find(name);
    if (found == keys.end())
        return 0;
    try {
        return std::stoi(found->second);
    } catch (...) {
        return 0;
    }
}

// Midnight UTC of a calendar date given as year, month offset (0 for January) and day.
std::int64_t UnixDay(int year, int monthOffset, int day) {
    const std::chrono::year_month_day date{std::chrono::year(year),
                                           std::chrono::month(static_cast<unsigned>(monthOffset + 1)),
                                           std::chrono::day(static_cast<unsigned>(day))};
    if (!date.ok())
        throw std::invalid_argument("not a calendar date");
    return static_cast<std::int64_t>(std::chrono::sys_days(date).time_since_epoch().count()) * kDaySeconds;
}

// The calendar day of a moment in Unix seconds, as a date number.
DateNumber DayOf(std::int64_t seconds) {
    const auto days =
        static_cast<int>(seconds >= 0 ? seconds / kDaySeconds : (seconds - kDaySeconds + 1) / kDaySeconds);
    return ToDateNumber(std::chrono::year_month_day(std::chrono::sys_days(std::chrono::days(days))));
}

std::string ChartUrl(std::string_view base, std::string_view symbol, std::int64_t period1,
                     std::int64_t period2, std::string_view interval) {
    std::string url(base);
    url += "v8/finance/chart/" + PercentEncode(symbol);
    url += "?period1=" + std::to_string(period1) + "&period2=" + std::to_string(period2);
    url += "&interval=" + std::string(interval) + "&events=div,splits";
    return url;
}

// A price as the old CSV answers gave it: at least two decimals, at most four.
std::string Price(double value) {
    std::array<char, 64> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%.4f", value);
    std::string text = buffer.data();
    const auto point = text.find('.');
    while (point != std::string::npos && text.size() > point + 3 && text.back() == '0')
        text.pop_back();
    return text;
}

const json* Member(const json& object, const char* name) {
    if (!object.is_object())
        return nullptr;
    const auto found = object.find(name);
    return found == object.end() ? nullptr : &*found;
}

const json* FirstOf(const json* array) {
    return array != nullptr && array->is_array() && !array->empty() ? &array->front() : nullptr;
}

std::optional<double> NumberAt(const json* array, std::size_t index) {
    if (array == nullptr || !array->is_array() || index >= array->size() || !(*array)[index].is_number())
        return std::nullopt;
    const double value = (*array)[index].get<double>();
    return std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

std::optional<double> NumberOf(const json* value) {
    if (value == nullptr || !value->is_number())
        return std::nullopt;
    const double number = value->get<double>();
    return std::isfinite(number) ? std::optional<double>(number) : std::nullopt;
}

// Whole numbers of the answer within what a date or a volume can be; nullopt beyond.
std::optional<std::int64_t> WholeNumber(std::optional<double> value, double limit) {
    if (!value || *value < -limit || *value > limit)
        return std::nullopt;
    return static_cast<std::int64_t>(*value);
}

constexpr double kTimeLimit = 1e11;   // Unix seconds, some thousand years either way
constexpr double kVolumeLimit = 9e15; // exact in a double
constexpr double kOffsetLimit = 86400;

struct Bar {
    std::int64_t time = 0; // Unix seconds
    DateNumber date = 0;   // in the exchange's time
    double open = 0, high = 0, low = 0, close = 0, adjustedClose = 0;
    std::int64_t volume = 0;
};

// The chart answer read into bars, oldest first, with what it says of the security.
struct Chart {
    std::vector<Bar> bars;
    const json* meta = nullptr;
    std::int64_t gmtOffset = 0;
};

json ParseBody(const std::string& body, int status) {
    json document = json::parse(body, nullptr, false);
    if (document.is_discarded() && status != 404)
        throw HttpError(HttpErrorKind::InvalidAnswer, "The chart service sent an answer that is not JSON");
    return document;
}

// Whether the answer says that the service does not know the symbol.
bool IsUnknownSymbol(const json& document, int status) {
    if (status == 404)
        return true;
    const json* chart = Member(document, "chart");
    const json* error = chart != nullptr ? Member(*chart, "error") : nullptr;
    if (error == nullptr || error->is_null())
        return false;
    const json* code = Member(*error, "code");
    return code == nullptr || !code->is_string() || code->get<std::string>() == kNotFound;
}

// The bars of the answer in the exchange's time; bars without prices and bars at or after `period2`
// are left out, as are bars of a day outside [firstDay, lastDay] when those are given.
Chart ReadChart(const json& document, std::int64_t period2, DateNumber firstDay, DateNumber lastDay) {
    Chart chart;
    const json* root = Member(document, "chart");
    const json* result = root != nullptr ? FirstOf(Member(*root, "result")) : nullptr;
    if (result == nullptr || !result->is_object())
        return chart;
    chart.meta = Member(*result, "meta");
    if (chart.meta != nullptr) {
        chart.gmtOffset = WholeNumber(NumberOf(Member(*chart.meta, "gmtoffset")), kOffsetLimit).value_or(0);
    }
    const json* times = Member(*result, "timestamp");
    const json* indicators = Member(*result, "indicators");
    if (times == nullptr || !times->is_array() || indicators == nullptr)
        return chart;
    const json* quote = FirstOf(Member(*indicators, "quote"));
    const json* adjusted = FirstOf(Member(*indicators, "adjclose"));
    if (quote == nullptr)
        return chart;
    const json* opens = Member(*quote, "open");
    const json* highs = Member(*quote, "high");
    const json* lows = Member(*quote, "low");
    const json* closes = Member(*quote, "close");
    const json* volumes = Member(*quote, "volume");
    const json* adjustedCloses = adjusted != nullptr ? Member(*adjusted, "adjclose") : nullptr;
    for (std::size_t i = 0; i < times->size(); ++i) {
        const auto time = WholeNumber(NumberAt(times, i), kTimeLimit);
        const auto close = NumberAt(closes, i);
        if (!time || !close)
            continue;
        Bar bar;
        bar.time = *time;
        if (period2 > 0 && bar.time >= period2)
            continue;
        bar.date = DayOf(bar.time + chart.gmtOffset);
        if ((firstDay != 0 && bar.date < firstDay) || (lastDay != 0 && bar.date > lastDay))
            continue;
        bar.close = *close;
        bar.open = NumberAt(opens, i).value_or(bar.close);
        bar.high = NumberAt(highs, i).value_or(bar.close);
        bar.low = NumberAt(lows, i).value_or(bar.close);
        bar.volume = std::max<std::int64_t>(0, WholeNumber(NumberAt(volumes, i), kVolumeLimit).value_or(0));
        bar.adjustedClose = NumberAt(adjustedCloses, i).value_or(bar.close);
        // Two bars of one day (the day's bar and a live one): the later holds the newer prices.
        if (!chart.bars.empty() && chart.bars.back().date == bar.date)
            chart.bars.back() = bar;
        else if (chart.bars.empty() || chart.bars.back().date < bar.date)
            chart.bars.push_back(bar);
    }
    return chart;
}

class LinesAnswer final : public HttpAnswer {
public:
    LinesAnswer(int status, std::vector<std::string> lines)
        : status_(status)
        , lines_(std::move(lines)) {}
    int Status() const override { return status_; }
    bool ReadLine(std::string& line) override {
        if (next_ >= lines_.size())
            return false;
        line = lines_[next_++];
        return true;
    }

private:
    int status_;
    std::vector<std::string> lines_;
    std::size_t next_ = 0;
};

class ChartApiSession final : public HttpSession {
public:
    ChartApiSession(ChartApiTransport& owner, std::string_view userAgent)
        : owner_(owner)
        , userAgent_(userAgent) {}
    ~ChartApiSession() override { Close(); }

    std::unique_ptr<HttpAnswer> OpenUrl(const std::string& url) override {
        if (!IsChartApiUrl(url)) {
            if (!plain_)
                plain_ = owner_.Real().OpenSession(userAgent_);
            return plain_->OpenUrl(url);
        }
        const ChartApiCall call = TranslateRequest(url, Clock::Instance().NowSeconds());
        if (call.form == ChartApiCall::Form::QuotePage ||
            (call.form != ChartApiCall::Form::Unknown && call.url.empty()))
            return std::make_unique<LinesAnswer>(200, std::vector<std::string>());
        if (call.form == ChartApiCall::Form::Unknown)
            throw HttpError(HttpErrorKind::Other, "The chart service does not answer this request: " + url);
        if (!chart_)
            chart_ = owner_.Real().OpenSession(kBrowserUserAgent);
        owner_.Pace();
        std::unique_ptr<HttpAnswer> reply = chart_->OpenUrl(call.url);
        const int status = reply->Status();
        std::string body;
        std::string line;
        while (reply->ReadLine(line))
            body += line + "\n";
        // Passing troubles (too many requests, a busy server) and refusals keep their status, so the
        // engine retries or reports them as it does for any server.
        if (status != 0 && status != 200 && status != 400 && status != 404)
            return std::make_unique<LinesAnswer>(status, std::vector<std::string>());
        switch (call.form) {
        case ChartApiCall::Form::Historical:
            return std::make_unique<LinesAnswer>(
                200, TranslateHistorical(body, status, call.period1, call.period2));
        case ChartApiCall::Form::Currency:
            return std::make_unique<LinesAnswer>(
                200,
                TranslateCurrency(body, status, call.symbol, call.periodCode, call.period1, call.period2));
        default:
            return std::make_unique<LinesAnswer>(200, TranslateRecentQuote(body, status, call.symbol));
        }
    }

    void Close() override {
        if (plain_)
            plain_->Close();
        if (chart_)
            chart_->Close();
        plain_.reset();
        chart_.reset();
    }

private:
    ChartApiTransport& owner_;
    std::string userAgent_;
    std::unique_ptr<HttpSession> plain_;
    std::unique_ptr<HttpSession> chart_;
};

} // namespace

bool IsChartApiUrl(std::string_view url) {
    return url.starts_with(kChartApiPrefix);
}

ChartApiCall TranslateRequest(std::string_view url, std::int64_t now) {
    ChartApiCall call;
    if (!IsChartApiUrl(url))
        return call;
    url.remove_prefix(kChartApiPrefix.size());
    const auto question = url.find('?');
    const std::string_view path = url.substr(0, question);
    const std::string_view query =
        question == std::string_view::npos ? std::string_view() : url.substr(question + 1);
    const auto keys = QueryKeys(query);
    const auto base = [&](std::string_view name) { return path.substr(0, path.size() - name.size()); };
    const auto value = [&](const char* name) {
        const auto found = keys.find(name);
        return found == keys.end() ? std::string() : found->second;
    };
    try {
        if (path.ends_with("table.csv")) {
            call.form = ChartApiCall::Form::Historical;
            call.symbol = value("s");
            call.period1 = UnixDay(KeyNumber(keys, "c"), KeyNumber(keys, "a"), KeyNumber(keys, "b"));
            call.period2 =
                UnixDay(KeyNumber(keys, "f"), KeyNumber(keys, "d"), KeyNumber(keys, "e")) + kDaySeconds;
            const std::string g = value("g");
            call.periodCode = g == "d" ? 'D' : (g == "w" ? 'W' : 'M');
            call.url = ChartUrl(base("table.csv"), call.symbol, call.period1, call.period2,
                                g == "d" ? "1d" : (g == "w" ? "1wk" : "1mo"));
        } else if (path.ends_with("FOREXQUOTE.txt")) {
            call.form = ChartApiCall::Form::Currency;
            call.symbol = value("f");
            call.period1 = UnixDay(KeyNumber(keys, "yf"), KeyNumber(keys, "mf"), KeyNumber(keys, "df"));
            call.period2 =
                UnixDay(KeyNumber(keys, "yt"), KeyNumber(keys, "mt"), KeyNumber(keys, "dt")) + kDaySeconds;
            const int p = KeyNumber(keys, "p");
            call.periodCode = p == 8 ? 'D' : (p == 9 ? 'W' : 'M');
            call.url = ChartUrl(base("FOREXQUOTE.txt"), call.symbol + "=X", call.period1, call.period2,
                                p == 8 ? "1d" : (p == 9 ? "1wk" : "1mo"));
        } else if (path.ends_with("d/quotes.csv")) {
            call.form = ChartApiCall::Form::RecentQuote;
            call.symbol = value("s");
            call.period1 = now - kRecentQuoteWindow;
            call.period2 = now;
            call.url = ChartUrl(base("d/quotes.csv"), call.symbol, call.period1, call.period2, "1d");
        } else if (path.ends_with("/q") || path == "q") {
            call.form = ChartApiCall::Form::QuotePage;
            call.symbol = value("s");
        }
    } catch (const std::exception&) {
        // A date that is no calendar date: the request cannot be translated.
        call = ChartApiCall();
    }
    // A range that ends before it starts, or no symbol: nothing to ask for, no data lines.
    if (call.form != ChartApiCall::Form::QuotePage && call.form != ChartApiCall::Form::Unknown &&
        (call.symbol.empty() || call.period1 >= call.period2))
        call.url.clear();
    return call;
}

std::vector<std::string> TranslateHistorical(const std::string& body, int status, std::int64_t period1,
                                             std::int64_t period2) {
    const json document = ParseBody(body, status);
    if (IsUnknownSymbol(document, status))
        return {std::string(kNotFound)};
    const Chart chart = ReadChart(document, period2, DayOf(period1), DayOf(period2 - 1));
    std::vector<std::string> lines{std::string(kHistoryHeader)};
    for (auto bar = chart.bars.rbegin(); bar != chart.bars.rend(); ++bar) {
        lines.push_back(DateNumberToIso(bar->date) + "," + Price(bar->open) + "," + Price(bar->high) + "," +
                        Price(bar->low) + "," + Price(bar->close) + "," + std::to_string(bar->volume) + "," +
                        Price(bar->adjustedClose));
    }
    return lines;
}

std::vector<std::string> TranslateCurrency(const std::string& body, int status, const std::string& pair,
                                           char periodCode, std::int64_t period1, std::int64_t period2) {
    const json document = ParseBody(body, status);
    if (IsUnknownSymbol(document, status))
        return {std::string(kNotFound)};
    const Chart chart = ReadChart(document, period2, DayOf(period1), DayOf(period2 - 1));
    std::vector<std::string> lines{std::string(kCurrencyHeader)};
    for (const Bar& bar : chart.bars) {
        lines.push_back(pair + "," + std::string(1, periodCode) + "," + std::to_string(bar.date) +
                        ",000000," + Price(bar.open) + "," + Price(bar.high) + "," + Price(bar.low) + "," +
                        Price(bar.close) + ",0");
    }
    return lines;
}

std::vector<std::string> TranslateRecentQuote(const std::string& body, int status,
                                              const std::string& symbol) {
    const std::string unusable = "\"" + symbol + "\",N/A,\"N/A\",N/A,N/A,N/A,N/A,N/A";
    const json document = json::parse(body, nullptr, false);
    if (document.is_discarded() || IsUnknownSymbol(document, status))
        return {unusable};
    const Chart chart = ReadChart(document, 0, 0, 0);
    if (chart.meta == nullptr)
        return {unusable};
    const auto price = NumberOf(Member(*chart.meta, "regularMarketPrice"));
    const auto time = WholeNumber(NumberOf(Member(*chart.meta, "regularMarketTime")), kTimeLimit);
    if (!price || *price <= 0 || !time)
        return {unusable};
    const DateNumber date = DayOf(*time + chart.gmtOffset);
    double open = *price;
    double high = NumberOf(Member(*chart.meta, "regularMarketDayHigh")).value_or(*price);
    double low = NumberOf(Member(*chart.meta, "regularMarketDayLow")).value_or(*price);
    std::int64_t volume = std::max<std::int64_t>(
        0, WholeNumber(NumberOf(Member(*chart.meta, "regularMarketVolume")), kVolumeLimit).value_or(0));
    std::optional<double> previous = NumberOf(Member(*chart.meta, "previousClose"));
    for (const Bar& bar : chart.bars) {
        if (bar.date == date) {
            open = bar.open;
            high = std::max(high, bar.high);
            low = std::min(low, bar.low);
            volume = std::max(volume, bar.volume);
        } else if (bar.date < date) {
            previous = bar.close;
        }
    }
    if (!previous)
        previous = NumberOf(Member(*chart.meta, "chartPreviousClose"));
    const double change = previous ? *price - *previous : 0.0;
    const auto day = ToCalendarDate(date);
    std::string slashDate = "N/A";
    if (day) {
        slashDate = std::to_string(static_cast<unsigned>(day->month())) + "/" +
                    std::to_string(static_cast<unsigned>(day->day())) + "/" +
                    std::to_string(static_cast<int>(day->year()));
    }
    return {"\"" + symbol + "\"," + Price(*price) + ",\"" + slashDate + "\"," + Price(change) + "," +
            Price(open) + "," + Price(high) + "," + Price(low) + "," + std::to_string(volume)};
}

ChartApiTransport::ChartApiTransport(HttpTransport& real, std::chrono::milliseconds minInterval, Sleep sleep)
    : real_(real)
    , minInterval_(minInterval)
    , sleep_(std::move(sleep)) {}

std::unique_ptr<HttpSession> ChartApiTransport::OpenSession(std::string_view userAgent) {
    return std::make_unique<ChartApiSession>(*this, userAgent);
}

void ChartApiTransport::Pace() {
    const auto now = std::chrono::steady_clock::now();
    auto next = now;
    if (sent_ && minInterval_.count() > 0) {
        const auto due = lastCall_ + minInterval_;
        if (due > now) {
            const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(due - now) +
                              std::chrono::milliseconds(1);
            if (sleep_)
                sleep_(wait);
            else
                std::this_thread::sleep_for(wait);
            next = now + wait;
        }
    }
    sent_ = true;
    lastCall_ = std::max(next, std::chrono::steady_clock::now());
}

} // namespace tessaly
