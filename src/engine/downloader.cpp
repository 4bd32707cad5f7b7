#include "engine/downloader.h"

#include "engine/clock.h"
#include "engine/downloaddialog.h"
#include "engine/downloadreport.h"
#include "engine/filefunctions.h"
#include "engine/folders.h"
#include "engine/httpsession.h"
#include "engine/messagebox.h"
#include "engine/numbers.h"
#include "engine/quoterequests.h"
#include "engine/securitieslist.h"
#include "engine/securityfiles.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <thread>

namespace tessaly {

namespace {

constexpr std::array<std::string_view, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::string_view kCsv = ".csv";

// The empty symbol names the file ".csv" as any other does; a symbol that could leave the folder or
// carries control characters names no file at all.
bool IsUsableSymbol(std::string_view symbol) {
    return symbol.empty() || IsSafeSymbol(symbol);
}

std::optional<std::filesystem::path> ExistingSecurityFile(const std::filesystem::path& folder,
                                                          std::string_view symbol) {
    if (symbol.empty())
        return FindFileIgnoringCase(folder, kCsv);
    return FindSecurityFile(folder, symbol);
}

// The data file of symbol: the existing one whatever the case of its name, else a new one named
// after the symbol exactly as given.
std::filesystem::path SecurityFilePath(const std::filesystem::path& folder, std::string_view symbol) {
    if (auto existing = ExistingSecurityFile(folder, symbol))
        return *existing;
    return folder / (std::string(symbol) + std::string(kCsv));
}

bool ContainsNotFound(std::string_view line) {
    return line.find("Not Found") != std::string_view::npos ||
           line.find("not found") != std::string_view::npos;
}

// A query date number as a date number (month 1 to 12) and back.
DateNumber DateOfQuery(int query) {
    return static_cast<DateNumber>(query + 100);
}
int QueryOfDate(DateNumber date) {
    return static_cast<int>(date) - 100;
}

// The day before start, where a request begins. A start that is no calendar date asks for all.
DateNumber FromDateOf(int start) {
    const DateNumber previous = PreviousDay(DateOfQuery(start));
    return previous != 0 ? previous : 19000101;
}

// The date number of YYYYMMDD digits; 0 when they name no day.
DateNumber DateOfDigits(std::string_view digits) {
    if (digits.size() != 8 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    const auto date = static_cast<DateNumber>(ReadInteger(digits));
    return ToCalendarDate(date) ? date : 0;
}

// A currency server line (pair, period, YYYYMMDD, time, open, high, low, close, volume) in the form of
// a historical line: ISO date, open, high, low, close, "0", close. Nothing for a Saturday or a
// line whose date is not a day.
std::optional<std::string> ReshapeCurrencyLine(std::string_view line) {
    const DateNumber date = DateOfDigits(Field(line, 2).substr(0, 8));
    if (date == 0 || WeekdayOf(date) == std::chrono::Saturday)
        return std::nullopt;
    const std::string_view close = Field(line, 7);
    std::string reshaped = DateNumberToIso(date);
    for (std::size_t field = 4; field <= 7; ++field) {
        reshaped += ',';
        reshaped += Field(line, field);
    }
    reshaped += ",0,";
    reshaped += close;
    return reshaped;
}

// The text after comma `commas` of line (empty when it has fewer commas).
std::string_view AfterComma(std::string_view line, std::size_t commas) {
    for (std::size_t i = 0; i < commas; ++i) {
        const auto comma = line.find(',');
        if (comma == std::string_view::npos)
            return {};
        line.remove_prefix(comma + 1);
    }
    return line;
}

// The digits after the decimal point of a number's text.
int DecimalsOf(std::string_view text) {
    const auto point = text.find('.');
    if (point == std::string_view::npos)
        return 0;
    int digits = 0;
    for (std::size_t i = point + 1; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        ++digits;
    return digits;
}

// A price with a fixed number of decimals, as "%.*f" writes it.
void AppendFixed(std::string& text, double value, int decimals) {
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, decimals);
    if (result.ec == std::errc())
        text.append(buffer.data(), result.ptr);
}

bool IsPositive(double value) {
    return std::isfinite(value) && value > 0;
}

// Rescales a record to adjusted prices when its close and adjusted close are both prices and differ.
// The stored close is then the adjusted close, with as many decimals as that carries (at least two).
bool Rescale(std::string& record) {
    // date, open, high, low, close, volume, and the adjusted close as the rest of the line.
    std::array<std::string_view, 7> fields{};
    std::string_view rest = record;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const auto comma = i + 1 < fields.size() ? rest.find(',') : std::string_view::npos;
        fields[i] = rest.substr(0, comma);
        if (comma == std::string_view::npos) {
            rest = {};
            if (i + 1 < fields.size())
                return false; // no adjusted close
            break;
        }
        rest.remove_prefix(comma + 1);
    }
    const double close = ReadDecimal(fields[4]);
    const double adjusted = ReadDecimal(fields[6]);
    if (!IsPositive(close) || !IsPositive(adjusted) || close == adjusted)
        return false;
    const double factor = adjusted / close;
    const int decimals = std::max(2, DecimalsOf(fields[6]));
    std::string rebuilt;
    rebuilt.reserve(record.size() + 16);
    rebuilt += fields[0];
    for (std::size_t field = 1; field <= 3; ++field) {
        rebuilt += ',';
        AppendFixed(rebuilt, ReadDecimal(fields[field]) * factor, decimals);
    }
    rebuilt += ',';
    AppendFixed(rebuilt, adjusted, decimals);
    rebuilt += ',';
    rebuilt += fields[5];
    rebuilt += ',';
    rebuilt += fields[6];
    record = std::move(rebuilt);
    return true;
}

bool HasRecords(const std::filesystem::path& path) {
    TextFile file(path);
    return file.IsOpen() && GetRecordCount(file) > 0;
}

// True when no Monday to Friday lies strictly between the two dates.
bool NoWeekdayBetween(DateNumber earlier, DateNumber later) {
    for (DateNumber day = NextDay(earlier); day != 0 && day < later; day = NextDay(day)) {
        if (!IsWeekend(day))
            return false;
    }
    return true;
}

std::string TwoDigits(std::int64_t value) {
    std::string text = FormatInteger(value);
    return text.size() < 2 ? "0" + text : text;
}

// A page value: the text from the nearest ">" at or before p up to the first "<" at or after p.
std::string_view ValueAt(std::string_view line, std::size_t p) {
    const auto open = line.rfind('>', p);
    const std::size_t begin = open == std::string_view::npos ? 0 : open + 1;
    const auto close = line.find('<', p);
    const std::size_t end = close == std::string_view::npos ? line.size() : close;
    return end > begin ? line.substr(begin, end - begin) : std::string_view{};
}

// A page number without its thousands separators; nothing when the text is not a number.
std::optional<std::string> PageNumber(std::string_view text) {
    std::string digits;
    for (const char c : text) {
        if (c != ',')
            digits += c;
    }
    if (!StartsWithNumber(digits))
        return std::nullopt;
    return digits;
}

// The first of "Jan " to "Dec ", in calendar order, that occurs in line from `from` on.
std::size_t FindFirstMonth(std::string_view line, std::size_t from) {
    for (const std::string_view month : kMonths) {
        const auto at = line.find(std::string(month) + " ", from);
        if (at != std::string_view::npos)
            return at;
    }
    return std::string_view::npos;
}

} // namespace

CDownloader::CDownloader(HttpTransport& transport, Folders& folders, MessageBoxes& messages,
                         Endpoints endpoints)
    : transport_(transport)
    , folders_(folders)
    , messages_(messages)
    , endpoints_(std::move(endpoints)) {}

void CDownloader::Fatal(const std::string& text) {
    messages_.Show(text, kErrorCaption, MessageButtons::Ok, MessageIcon::Error);
    abort_ = true;
    if (fatalError_.empty())
        fatalError_ = text;
}

void CDownloader::Pause(std::chrono::milliseconds pause) {
    if (pause_)
        pause_(pause);
    else
        std::this_thread::sleep_for(pause);
}

CDownloader::Answer CDownloader::Fetch(const std::string& base, std::string_view hostName,
                                       const std::string& request, bool retried) {
    Answer answer;
    if (base.empty()) {
        Fatal("No server is configured for this request (" + std::string(kEndpointsSection) + "/" +
              std::string(hostName) + " in the settings).");
        return answer;
    }
    const std::string url = JoinUrl(base, request);
    std::unique_ptr<HttpSession> session = transport_.OpenSession(kUserAgent);
    std::chrono::milliseconds pause = kFirstRetryPause;
    for (int attempt = 1;; ++attempt) {
        std::string transient;
        answer.lines.clear();
        try {
            std::unique_ptr<HttpAnswer> reply = session->OpenUrl(url);
            const int status = reply->Status();
            const std::string statusText =
                "The server answered with HTTP status " + std::to_string(status) + ".";
            if (status >= 400 && !retried) {
                answer.outcome = Outcome::Unusable;
            } else if (status == 404) {
                answer.outcome = Outcome::NotFound;
            } else if (status == 408 || status == 429 || status >= 500) {
                transient = statusText;
            } else if (status >= 400) {
                session->Close();
                Fatal(statusText);
                return answer;
            } else {
                std::string line;
                while (reply->ReadLine(line))
                    answer.lines.push_back(line);
                answer.outcome = Outcome::Read;
            }
        } catch (const HttpError& error) {
            if (!retried || !IsTransientHttpError(error)) {
                session->Close();
                answer.lines.clear();
                answer.outcome = Outcome::Failed;
                Fatal(error.what());
                return answer;
            }
            transient = error.what();
        }
        if (transient.empty()) {
            session->Close();
            return answer;
        }
        if (attempt >= kMaxAttempts) {
            session->Close();
            answer.lines.clear();
            answer.outcome = Outcome::Failed;
            Fatal(transient);
            return answer;
        }
        Pause(pause);
        pause *= 2;
    }
}

int CDownloader::DownloadHistory(std::string_view symbol, int start, int end, int periodicity, int mode) {
    currency_ = IsCurrencyPair(symbol);
    if (!IsUsableSymbol(symbol))
        return -1;
    const std::filesystem::path folder = folders_.CurrentFolder();
    const DateNumber skipDate = FromDateOf(start);
    const int from = QueryOfDate(skipDate);

    const Answer answer = currency_ ? Fetch(endpoints_.currencyHost, kCurrencyHostName,
                                            CurrencyRequest(symbol, from, end, periodicity), true)
                                    : Fetch(endpoints_.historicalHost, kHistoricalHostName,
                                            HistoricalRequest(symbol, from, end, periodicity), true);
    if (answer.outcome == Outcome::NotFound)
        return -1;
    if (answer.outcome != Outcome::Read)
        return 0;

    std::vector<std::string> kept;
    for (const std::string& line : answer.lines) {
        if (ContainsNotFound(line))
            return -1;
        if (line.empty() || line.front() == '<' || line.front() == 'D')
            continue;
        std::string record = line;
        if (currency_) {
            std::optional<std::string> reshaped = ReshapeCurrencyLine(line);
            if (!reshaped)
                continue;
            record = std::move(*reshaped);
        }
        const std::string_view date = FirstField(record);
        if (IsIsoDate(date))
            record = IsoDateToStored(date) + record.substr(date.size());
        const DateNumber dateNumber = StoredDateToNumber(FirstField(record));
        if (Rescale(record))
            adjustment_ = true;
        if (dateNumber == skipDate)
            continue;
        kept.push_back(std::move(record));
    }
    if (!currency_)
        std::reverse(kept.begin(), kept.end());

    // An answer without records never takes the place of records already stored.
    if (mode == 2 && kept.empty()) {
        if (auto existing = ExistingSecurityFile(folder, symbol); existing && HasRecords(*existing))
            return 0;
    }
    std::string block;
    for (const std::string& record : kept) {
        block += TextFile::kLineBreak;
        block += record;
    }
    if (!WriteSecurityFile(symbol, block, mode))
        return 0;
    int count = static_cast<int>(kept.size());

    if (periodicity == 0 && !abort_) {
        TextFile file(SecurityFilePath(folder, symbol));
        const int last = StoredDateToNumber(GetLastDate(file)) - 100;
        file.Close();
        if (end > last)
            count += FetchRecentQuote(symbol);
    }
    RefreshRow(symbol);
    return count;
}

bool CDownloader::WriteSecurityFile(std::string_view symbol, std::string_view block, int mode) {
    if (!IsUsableSymbol(symbol))
        return false;
    TextFile file(SecurityFilePath(folders_.CurrentFolder(), symbol));
    if (mode == 2)
        return CreateWithHeader(file, block);
    if (block.find_first_not_of("\r\n") == std::string_view::npos)
        return true;
    return ReplaceLastRecord(file, block);
}

void CDownloader::RefreshRow(std::string_view symbol) {
    if (list_ == nullptr)
        return;
    const std::filesystem::path folder = folders_.CurrentFolder();
    list_->RemoveSecurityRows(symbol);
    list_->AddSecurityRow(SecurityFilePath(folder, symbol).filename().string(), folder);
}

bool CDownloader::RecentValuesUsable() const {
    return IsPositive(recentOpen_) && IsPositive(recentHigh_) && IsPositive(recentLow_) &&
           std::isfinite(recentLast_) && recentLast_ >= recentLow_ && recentLast_ <= recentHigh_ &&
           ToCalendarDate(recentQuoteNumber_).has_value();
}

int CDownloader::FetchRecentQuote(std::string_view symbol) {
    if (IsCurrencyPair(symbol) || !IsUsableSymbol(symbol))
        return 0;
    const Answer answer = Fetch(endpoints_.quoteHost, kQuoteHostName, RecentQuoteRequest(symbol), false);
    if (answer.outcome == Outcome::Failed)
        return 0;
    bool unusable = answer.outcome != Outcome::Read;
    bool anyLine = false;
    for (const std::string& line : answer.lines) {
        if (unusable)
            break;
        anyLine = true;
        if (line.find(',') == std::string::npos) {
            unusable = true;
            break;
        }
        recentLast_ = ReadDecimal(Field(line, 1));
        if (recentLast_ == 0) {
            unusable = true;
            break;
        }
        std::string_view date = Field(line, 2);
        if (date.starts_with('"')) {
            date.remove_prefix(1);
            if (date.ends_with('"'))
                date.remove_suffix(1);
        }
        recentQuoteDate_ = SlashDateToStored(date);
        recentQuoteNumber_ = StoredDateToNumber(recentQuoteDate_);
        recentOpen_ = ReadDecimal(Field(line, 4));
        recentHigh_ = ReadDecimal(Field(line, 5));
        recentLow_ = ReadDecimal(Field(line, 6));
        recentVolume_ = ReadInteger(AfterComma(line, 7));
        // A quote before the opening ("N/A" prices) or with a date that names no day is no bar.
        const std::string_view stored = recentQuoteDate_;
        const auto hyphen = stored.find('-');
        std::string_view month =
            hyphen == std::string_view::npos ? std::string_view{} : stored.substr(hyphen + 1);
        month = month.substr(0, month.find('-'));
        const bool knownMonth = std::find(kMonths.begin(), kMonths.end(), month) != kMonths.end();
        if (!knownMonth || !RecentValuesUsable()) {
            unusable = true;
            break;
        }
    }
    if (unusable)
        return FetchQuotePage(symbol);
    if (!anyLine)
        return 0;
    return WriteRecentQuoteRecord(symbol);
}

int CDownloader::FetchQuotePage(std::string_view symbol) {
    if (symbol.find('$') != std::string_view::npos || symbol.find('&') != std::string_view::npos ||
        !IsUsableSymbol(symbol))
        return 0;
    const bool index = symbol.find('^') != std::string_view::npos;
    recentVolume_ = 0;
    const Answer answer = Fetch(endpoints_.quoteHost, kQuoteHostName, QuotePageRequest(symbol), false);
    if (answer.outcome != Outcome::Read)
        return 0;

    bool haveLast = false;
    bool haveDate = false;
    bool haveOpen = false;
    bool haveLow = false;
    bool haveHigh = false;
    const auto decimalAt = [](std::string_view line, std::size_t p, double& value) {
        if (p == std::string_view::npos)
            return false;
        const auto number = PageNumber(ValueAt(line, p));
        if (!number)
            return false;
        value = ReadDecimal(*number);
        return true;
    };
    const auto dateFrom = [this](std::string_view text, bool& have) {
        if (const DateNumber date = MonthDayToDateNumber(text); date != 0) {
            recentQuoteNumber_ = date;
            recentQuoteDate_ = DateNumberToStored(date);
            have = true;
        }
    };
    for (const std::string& text : answer.lines) {
        const std::string_view line = text;
        if (const auto at = line.find("U.S. Markets"); at != std::string_view::npos) {
            const auto open = line.rfind('>', at);
            const auto month = FindFirstMonth(line, open == std::string_view::npos ? 0 : open);
            if (month != std::string_view::npos) {
                const auto comma = line.find(',', month);
                dateFrom(line.substr(month, comma == std::string_view::npos ? std::string_view::npos
                                                                            : comma - month),
                         haveDate);
            }
        }
        if (const auto at = line.find("Index Value:"); at != std::string_view::npos)
            haveLast = decimalAt(line, line.find('.', at), recentLast_) || haveLast;
        if (const auto at = line.find("Trade Time:"); at != std::string_view::npos) {
            const auto month = FindFirstMonth(line, at);
            if (month != std::string_view::npos)
                dateFrom(ValueAt(line, month), haveDate);
        }
        if (const auto at = line.find("Open:"); at != std::string_view::npos)
            haveOpen = decimalAt(line, line.find('.', at), recentOpen_) || haveOpen;
        if (const auto at = line.find("Day's Range:"); at != std::string_view::npos) {
            const auto low = line.find('.', at);
            if (decimalAt(line, low, recentLow_)) {
                haveLow = true;
                const auto ended = line.find('<', low);
                if (ended != std::string_view::npos)
                    haveHigh = decimalAt(line, line.find('.', ended), recentHigh_) || haveHigh;
            }
        }
        if (const auto at = line.find("Volume:"); at != std::string_view::npos) {
            const auto p = line.find(',', at);
            if (p != std::string_view::npos) {
                if (const auto number = PageNumber(ValueAt(line, p)))
                    recentVolume_ = ReadInteger(*number);
            }
        }
    }
    if (!index || !haveLast || !haveOpen || !haveLow || !haveHigh || !haveDate || !RecentValuesUsable())
        return 0;
    return WriteRecentQuoteRecord(symbol);
}

int CDownloader::WriteRecentQuoteRecord(std::string_view symbol) {
    const auto path = ExistingSecurityFile(folders_.CurrentFolder(), symbol);
    if (!path)
        return 0;
    TextFile file(*path);
    if (!file.IsOpen())
        return 0;
    const DateNumber fileLast = StoredDateToNumber(GetLastDate(file));
    if (fileLast == 0)
        return 0;
    std::string record(TextFile::kLineBreak);
    record += recentQuoteDate_;
    for (const double price : {recentOpen_, recentHigh_, recentLow_, recentLast_})
        record += "," + FormatPrice(price);
    record += "," + FormatInteger(recentVolume_);
    record += "," + FormatPrice(recentLast_);
    if (recentQuoteNumber_ == fileLast)
        return ReplaceLastRecord(file, record) ? 1 : 0;
    // A quote that leaves a trading day out would leave a gap the next update never fills.
    if (recentQuoteNumber_ > fileLast && NoWeekdayBetween(fileLast, recentQuoteNumber_))
        return AppendRecords(file, record) ? 1 : 0;
    return 0;
}

std::string CDownloader::SlashDateToStored(std::string_view text) {
    const auto firstSlash = text.find('/');
    const std::string_view monthText = text.substr(0, firstSlash);
    std::string_view day;
    if (firstSlash != std::string_view::npos) {
        const std::string_view rest = text.substr(firstSlash + 1);
        day = rest.substr(0, rest.find('/'));
    }
    const std::string_view year = text.size() >= 2 ? text.substr(text.size() - 2) : text;
    std::string month(monthText);
    for (std::size_t i = 0; i < kMonths.size(); ++i) {
        if (monthText == std::to_string(i + 1))
            month = kMonths[i];
    }
    return std::string(day) + "-" + month + "-" + std::string(year);
}

DateNumber CDownloader::MonthDayToDateNumber(std::string_view text) {
    const std::string_view monthName = text.substr(0, 3);
    const auto month = std::find(kMonths.begin(), kMonths.end(), monthName);
    const auto blank = text.find(' ');
    if (month == kMonths.end() || blank == std::string_view::npos)
        return 0;
    const std::string_view day = text.substr(blank + 1);
    if (day.empty() || day.size() > 2 ||
        !std::all_of(day.begin(), day.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    const int year = static_cast<int>(Clock::Instance().Today().year());
    const auto date =
        static_cast<DateNumber>(year * 10000 + static_cast<int>(month - kMonths.begin() + 1) * 100 +
                                static_cast<int>(ReadInteger(day)));
    return ToCalendarDate(date) ? date : 0;
}

std::string CDownloader::ElapsedText(std::int64_t elapsedSeconds) {
    const std::int64_t seconds = std::max<std::int64_t>(0, elapsedSeconds);
    return TwoDigits(seconds / 3600 % 24) + ":" + TwoDigits(seconds / 60 % 60) + ":" +
           TwoDigits(seconds % 60);
}

std::string CDownloader::RemainingText(std::int64_t elapsedSeconds, std::int64_t position,
                                       std::int64_t total) {
    const std::int64_t elapsed = std::max<std::int64_t>(0, elapsedSeconds);
    // The whole run's estimate in whole seconds: elapsed divided by the part done.
    const std::int64_t estimate = position > 0 ? elapsed * total / position : elapsed;
    const std::int64_t remaining = std::max<std::int64_t>(0, estimate - elapsed);
    return TwoDigits(remaining / 3600) + ":" + TwoDigits(remaining % 3600 / 60) + ":" +
           TwoDigits(remaining % 60);
}

void CDownloader::ShowTimes(std::int64_t startSeconds, std::int64_t position, std::int64_t total) {
    const std::int64_t elapsed = Clock::Instance().NowSeconds() - startSeconds;
    dialog_->SetElapsedTime(ElapsedText(elapsed));
    dialog_->SetRemainingTime(RemainingText(elapsed, position, total));
}

int CDownloader::DecideAndDownload(std::string_view symbol, int start, int end, int periodicity) {
    if (!IsUsableSymbol(symbol))
        return -1;
    int first = 0;
    int last = 0;
    char letter = '-';
    if (const auto path = ExistingSecurityFile(folders_.CurrentFolder(), symbol)) {
        TextFile file(*path);
        if (file.IsOpen()) {
            first = StoredDateToNumber(GetFirstDate(file));
            last = StoredDateToNumber(GetLastDate(file));
            const std::string name = GetPeriodicity(file);
            letter = name.empty() ? '-' : name.front();
        }
    }
    if (first > 0)
        first -= 100;
    if (last > 0)
        last -= 100;
    const int fileIndex = letter == 'D' ? 0 : (letter == 'W' ? 1 : 2);

    if (dialog_ != nullptr && dialog_->OverwriteAllRecords())
        return DownloadHistory(symbol, start, end, periodicity, 2);
    if (first >= last || fileIndex != periodicity || start < first) {
        // A download the run chooses itself never drops history the file holds.
        const int from = first > 0 ? std::min(start, first) : start;
        return DownloadHistory(symbol, from, end, periodicity, 2);
    }
    if (end > last) {
        int count = DownloadHistory(symbol, last, end, periodicity, 1);
        if (adjustment_ && !abort_ && count >= 0) {
            count = DownloadHistory(symbol, first, end, periodicity, 2);
            adjustment_ = false;
        }
        return count;
    }
    if (end == last && periodicity == 0) {
        const int count = FetchRecentQuote(symbol);
        if (count > 0)
            RefreshRow(symbol);
        return count;
    }
    return 0;
}

int CDownloader::RunDownload(std::string_view symbols, int start, int end, int periodicity) {
    if (running_)
        return 0;
    running_ = true;
    reportFailed_ = false;
    struct NoDialog final : DownloadDialog {
        bool OverwriteAllRecords() const override { return false; }
        void SetCurrentSymbol(std::string_view) override {}
        void SetElapsedTime(std::string_view) override {}
        void SetRemainingTime(std::string_view) override {}
        void SetProgressRange(int, int) override {}
        void SetProgressPosition(int) override {}
        void PauseBetweenSecurities() override {}
    } noDialog;
    DownloadDialog* const given = dialog_;
    if (dialog_ == nullptr)
        dialog_ = &noDialog;

    const auto first = symbols.find_first_not_of(" \t\r\n");
    symbols = first == std::string_view::npos ? std::string_view{} : symbols.substr(first);
    symbols = symbols.substr(0, symbols.find_last_not_of(" \t\r\n") + 1);
    const auto total = static_cast<std::int64_t>(symbols.size());
    std::size_t pos = 0;
    std::size_t next = symbols.find(' ');
    dialog_->SetProgressRange(0, static_cast<int>(total));
    const std::int64_t startSeconds = Clock::Instance().NowSeconds();

    ReportWriter report;
    std::error_code ignored;
    std::filesystem::create_directories(folders_.ProgramFolder(), ignored);
    if (!report.Create(folders_.ProgramFolder() / std::string(kReportFileName))) {
        reportFailed_ = true;
        messages_.Show("The download report could not be created, so nothing was downloaded: " +
                           report.Error(),
                       kErrorCaption, MessageButtons::Ok, MessageIcon::Error);
        dialog_ = given;
        running_ = false;
        return 0;
    }
    dialog_->ShowWaitCursor();

    std::string_view symbol;
    int count = 0;
    bool stopped = false;
    while (next != std::string_view::npos) {
        symbol = symbols.substr(pos, next - pos);
        count = 0;
        dialog_->SetCurrentSymbol(symbol);
        if (abort_) {
            stopped = true;
            break;
        }
        count = DecideAndDownload(symbol, start, end, periodicity);
        if (abort_) {
            stopped = true;
            break;
        }
        report.WriteLine(symbol, count);
        pos = next + 1;
        next = symbols.find(' ', pos);
        dialog_->SetProgressPosition(static_cast<int>(pos));
        ShowTimes(startSeconds, static_cast<std::int64_t>(pos), total);
        dialog_->PauseBetweenSecurities();
        dialog_->ShowWaitCursor();
    }
    if (!stopped) {
        symbol = symbols.substr(pos);
        count = 0;
        if (!abort_)
            count = DecideAndDownload(symbol, start, end, periodicity);
    }
    report.WriteLine(symbol, count);
    dialog_->SetProgressPosition(static_cast<int>(total));
    dialog_->RestoreCursor();
    report.Close();
    dialog_ = given;
    running_ = false;
    return 0;
}

} // namespace tessaly
