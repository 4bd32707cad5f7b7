#pragma once

#include "engine/datenumber.h"
#include "engine/endpoints.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

class DownloadDialog;
class Folders;
class HttpTransport;
class MessageBoxes;
class SecuritiesList;

// The download engine: fetches the history of securities from the quote service (or the currency
// server), merges it into their data files in the current folder, adds the recent quote, and runs
// over a list of symbols writing the download report. Dates are query date numbers (YYYY, month
// minus one as two digits, DD); periodicity is 0 daily, 1 weekly, 2 monthly.
class CDownloader {
public:
    // The agent name every internet session carries.
    static constexpr std::string_view kUserAgent = "MySession";
    static constexpr std::string_view kErrorCaption = "Tessaly Error Message";
    static constexpr int kMaxAttempts = 5;
    static constexpr std::chrono::milliseconds kFirstRetryPause{200};

    CDownloader(HttpTransport& transport, Folders& folders, MessageBoxes& messages, Endpoints endpoints);

    // Optional partners; without them the engine does without a list to refresh or a dialog to show.
    void SetSecuritiesList(SecuritiesList* list) { list_ = list; }
    void SetDialog(DownloadDialog* dialog) { dialog_ = dialog; }
    // How the engine waits before a new attempt after a passing transport trouble.
    void SetRetryPause(std::function<void(std::chrono::milliseconds)> pause) { pause_ = std::move(pause); }

    // Fetches the history of one security from start to end and writes it into its data file: mode 2
    // writes a new file, mode 1 writes over the file's last record. Returns the records written
    // (including a recent-quote record), -1 for a symbol the service does not know, 0 after a
    // fatal transport error.
    int DownloadHistory(std::string_view symbol, int start, int end, int periodicity, int mode);
    // Writes a block of records (each preceded by a line break, oldest first) into the data file of
    // symbol in the current folder with the writer of mode. Reports whether it reached the disk.
    bool WriteSecurityFile(std::string_view symbol, std::string_view block, int mode);
    // Brings the last record of a daily file up to the recent quote; 1 when a record was written.
    int FetchRecentQuote(std::string_view symbol);
    // The quote page, read when the recent quote is unusable; gives a record for an index only.
    int FetchQuotePage(std::string_view symbol);

    // Runs over the symbols (separated by single blanks), writes the report file into the program
    // folder and shows progress in the dialog. Always returns 0.
    int RunDownload(std::string_view symbols, int start, int end, int periodicity);
    // What a run does for one security: a full download, an update from the file's last date, the
    // recent quote alone, or nothing. Returns the count for the report line.
    int DecideAndDownload(std::string_view symbol, int start, int end, int periodicity);

    // M/D/YYYY to a stored date: 1/5/2007 gives 5-Jan-07.
    static std::string SlashDateToStored(std::string_view text);
    // "Jan 5" to the date number of that day in the current year; 0 when it names no day.
    static DateNumber MonthDayToDateNumber(std::string_view text);
    // The dialog's time texts: the elapsed time as HH:MM:SS with the hours part of a day, and the
    // remaining time estimated from the part of the list done so far, with hours unlimited.
    static std::string ElapsedText(std::int64_t elapsedSeconds);
    static std::string RemainingText(std::int64_t elapsedSeconds, std::int64_t position, std::int64_t total);

    // Engine flags.
    bool Abort() const { return abort_; }
    void SetAbort() { abort_ = true; }
    bool Adjustment() const { return adjustment_; }
    bool Currency() const { return currency_; }
    bool Running() const { return running_; }
    // The text of the fatal error that stopped the engine; empty when there was none.
    const std::string& FatalError() const { return fatalError_; }
    // Set when the last run could not create its report file and so downloaded nothing.
    bool ReportFailed() const { return reportFailed_; }

    // The recent quote as last read.
    double RecentOpen() const { return recentOpen_; }
    double RecentLast() const { return recentLast_; }
    double RecentHigh() const { return recentHigh_; }
    double RecentLow() const { return recentLow_; }
    std::int64_t RecentVolume() const { return recentVolume_; }
    const std::string& RecentQuoteDate() const { return recentQuoteDate_; }

private:
    enum class Outcome { Read, NotFound, Unusable, Failed };
    struct Answer {
        Outcome outcome = Outcome::Failed;
        std::vector<std::string> lines;
    };

    Answer Fetch(const std::string& base, std::string_view hostName, const std::string& request,
                 bool retried);
    void Fatal(const std::string& text);
    void Pause(std::chrono::milliseconds pause);
    bool RecentValuesUsable() const;
    int WriteRecentQuoteRecord(std::string_view symbol);
    void RefreshRow(std::string_view symbol);
    void ShowTimes(std::int64_t startSeconds, std::int64_t position, std::int64_t total);

    HttpTransport& transport_;
    Folders& folders_;
    MessageBoxes& messages_;
    Endpoints endpoints_;
    SecuritiesList* list_ = nullptr;
    DownloadDialog* dialog_ = nullptr;
    std::function<void(std::chrono::milliseconds)> pause_;

    double recentOpen_ = 0;
    double recentLast_ = 0;
    double recentHigh_ = 0;
    double recentLow_ = 0;
    std::int64_t recentVolume_ = 0;
    std::string recentQuoteDate_;
    DateNumber recentQuoteNumber_ = 0;

    bool abort_ = false;
    bool adjustment_ = false;
    bool currency_ = false;
    bool running_ = false;
    bool reportFailed_ = false;
    std::string fatalError_;
};

} // namespace tessaly
