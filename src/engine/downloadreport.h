#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// The report of the last download run: "report.txt" in the program folder, one line per security
// (symbol, ",", records written; -1 for a symbol the quote service does not know), each ending in
// CR LF, in the order the run processed them.
inline constexpr std::string_view kReportFileName = "report.txt";

// Writes the report while a run goes on. Every line reaches the file as soon as it is written, so
// what a run has done survives a crash or a full disk.
class ReportWriter {
public:
    ReportWriter() = default;
    ~ReportWriter();
    ReportWriter(const ReportWriter&) = delete;
    ReportWriter& operator=(const ReportWriter&) = delete;

    // Replaces any earlier report with an empty file; false (with Error()) when that fails.
    bool Create(const std::filesystem::path& path);
    bool WriteLine(std::string_view symbol, std::int64_t count);
    void Close();
    bool IsOpen() const { return file_ != nullptr; }
    const std::string& Error() const { return error_; }

private:
    std::FILE* file_ = nullptr;
    std::string error_;
};

// One row of the Last Download Report: the Records, Symbol and Status columns and the icon (0 the
// red cross, 1 the green tick).
struct ReportRow {
    std::string records;
    std::string symbol;
    std::string status;
    int icon = 0;

    bool operator==(const ReportRow&) const = default;
};

ReportRow ReportRowOf(std::string_view line);
// The rows of a report file in the dialog's order, the last security first; none when the file
// cannot be read.
std::vector<ReportRow> ReadReportRows(const std::filesystem::path& path);

} // namespace tessaly
