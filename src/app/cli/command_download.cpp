#include "app/cli/commands.h"
#include "app/settings/qsettingsprofile.h"
#include "engine/chartapisource.h"
#include "engine/curlsession.h"
#include "engine/datenumber.h"
#include "engine/downloaddialog.h"
#include "engine/downloader.h"
#include "engine/downloadreport.h"
#include "engine/endpoints.h"
#include "engine/folders.h"
#include "engine/memoryprofile.h"
#include "engine/messagebox.h"
#include "engine/securitieslist.h"

#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

namespace tessaly::cli {

namespace {

// Where a run stands, shown as one line on a terminal's standard error.
class ProgressLine final : public DownloadDialog {
public:
    explicit ProgressLine(bool overwrite)
        : overwrite_(overwrite)
        , shown_(isatty(STDERR_FILENO) == 1) {}

    bool OverwriteAllRecords() const override { return overwrite_; }
    void SetCurrentSymbol(std::string_view symbol) override {
        symbol_ = symbol;
        Draw();
    }
    void SetElapsedTime(std::string_view text) override { elapsed_ = text; }
    void SetRemainingTime(std::string_view text) override {
        remaining_ = text;
        Draw();
    }
    void SetProgressRange(int, int upper) override { total_ = upper; }
    void SetProgressPosition(int position) override { position_ = position; }
    void PauseBetweenSecurities() override {}
    void RestoreCursor() override { Clear(); }

    // Takes the line away so that a message starts at the left margin.
    void Clear() {
        if (shown_ && drawn_)
            std::cerr << "\r\033[K" << std::flush;
        drawn_ = false;
    }

private:
    void Draw() {
        if (!shown_)
            return;
        std::cerr << "\r\033[K" << symbol_ << "  " << position_ << "/" << total_ << "  elapsed " << elapsed_
                  << "  remaining " << remaining_ << std::flush;
        drawn_ = true;
    }

    bool overwrite_;
    bool shown_;
    bool drawn_ = false;
    std::string symbol_;
    std::string elapsed_ = "00:00:00";
    std::string remaining_ = "00:00:00";
    int total_ = 0;
    int position_ = 0;
};

// Messages go to standard error; a question gets the answer that changes nothing.
class ErrorStreamMessages final : public MessageBoxes {
public:
    explicit ErrorStreamMessages(ProgressLine& progress)
        : progress_(progress) {}

    MessageAnswer Show(std::string_view text, std::string_view, MessageButtons buttons,
                       MessageIcon) override {
        progress_.Clear();
        std::cerr << "tessaly-cli: " << text << "\n";
        switch (buttons) {
        case MessageButtons::Ok:
            return MessageAnswer::Ok;
        case MessageButtons::YesNo:
            return MessageAnswer::No;
        case MessageButtons::OkCancel:
        case MessageButtons::YesNoCancel:
            break;
        }
        return MessageAnswer::Cancel;
    }

private:
    ProgressLine& progress_;
};

// The query date number (year, month minus one, day) of a YYYY-MM-DD text.
std::optional<int> QueryDateOf(const std::string& text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    for (std::size_t i : {0u, 1u, 2u, 3u, 5u, 6u, 8u, 9u}) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
    }
    const int year = std::stoi(text.substr(0, 4));
    const int month = std::stoi(text.substr(5, 2));
    const int day = std::stoi(text.substr(8, 2));
    const DateNumber date = year * 10000 + month * 100 + day;
    if (!ToCalendarDate(date))
        return std::nullopt;
    return date - 100;
}

} // namespace

void PrintReportRows(const std::filesystem::path& report) {
    for (const ReportRow& row : ReadReportRows(report))
        std::cout << row.records << '\t' << row.symbol << '\t' << row.status << '\n';
}

// Brings the data files of the symbols in a folder up to date, as the download dialog does, and
// prints the report.
int RunDownload(Arguments& arguments) {
    const std::string folder = arguments.TakeValue("--folder").value_or(".");
    const auto from = arguments.TakeValue("--from");
    const auto to = arguments.TakeValue("--to");
    const std::string period = arguments.TakeValue("--period").value_or("daily");
    const bool overwrite = arguments.TakeFlag("--overwrite");
    const auto historicalHost = arguments.TakeValue("--historical-host");
    const auto quoteHost = arguments.TakeValue("--quote-host");
    const auto currencyHost = arguments.TakeValue("--currency-host");
    const auto symbols = arguments.TakeOperands();
    if (!arguments.Ok())
        return UsageError(arguments.Error());
    if (symbols.empty())
        return UsageError("download takes at least one SYMBOL");
    const int periodicity = period == "daily" ? 0 : (period == "weekly" ? 1 : (period == "monthly" ? 2 : -1));
    if (periodicity < 0)
        return UsageError("--period is daily, weekly or monthly");
    const DateNumber today = TodayDateNumber();
    const auto start = from ? QueryDateOf(*from) : std::optional<int>(YearsEarlier(today, 2) - 100);
    const auto end = to ? QueryDateOf(*to) : std::optional<int>(today - 100);
    if (!start || !end)
        return UsageError("dates are written YYYY-MM-DD");
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        std::cerr << "tessaly-cli: " << folder << " is not a folder\n";
        return kExitFailure;
    }

    // The endpoints of the user's settings, written there with their defaults on first use; a
    // settings file that cannot be read is left alone.
    QSettingsProfile settings;
    Endpoints endpoints;
    if (settings.IsReadable()) {
        endpoints = LoadEndpoints(settings);
        settings.Sync();
    } else {
        std::cerr << "tessaly-cli: cannot read " << settings.FilePath().toStdString()
                  << "; using the default servers\n";
        MemoryProfile defaults;
        endpoints = LoadEndpoints(defaults);
    }
    if (historicalHost)
        endpoints.historicalHost = *historicalHost;
    if (quoteHost)
        endpoints.quoteHost = *quoteHost;
    if (currencyHost)
        endpoints.currencyHost = *currencyHost;

    std::string list;
    for (const std::string& symbol : symbols)
        list += (list.empty() ? "" : " ") + symbol;

    FixedFolders folders(std::filesystem::absolute(folder, error), UserDataFolder());
    ProgressLine progress(overwrite);
    ErrorStreamMessages messages(progress);
    CurlTransport curl;
    ChartApiTransport transport(curl, std::chrono::milliseconds(endpoints.minRequestIntervalMs));
    CDownloader engine(transport, folders, messages, endpoints);
    engine.SetDialog(&progress);
    engine.RunDownload(list, *start, *end, periodicity);
    progress.Clear();
    if (engine.ReportFailed())
        return kExitFailure;
    PrintReportRows(folders.ProgramFolder() / std::string(kReportFileName));
    return engine.FatalError().empty() ? kExitOk : kExitStopped;
}

} // namespace tessaly::cli
