#include "engine/downloadreport.h"

#include "engine/atomicfile.h"
#include "engine/numbers.h"
#include "engine/textfile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tessaly {

ReportWriter::~ReportWriter() {
    Close();
}

bool ReportWriter::Create(const std::filesystem::path& path) {
    Close();
    error_.clear();
    std::string why;
    if (!AtomicFile::WriteWhole(path, {}, &why)) {
        error_ = why.empty() ? "cannot write " + path.string() : why;
        return false;
    }
    file_ = std::fopen(path.c_str(), "ab");
    if (file_ == nullptr) {
        error_ = path.string() + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

bool ReportWriter::WriteLine(std::string_view symbol, std::int64_t count) {
    if (file_ == nullptr)
        return false;
    std::string line(symbol);
    line += ',';
    line += FormatInteger(count);
    line += "\r\n";
    const bool written = std::fwrite(line.data(), 1, line.size(), file_) == line.size();
    return std::fflush(file_) == 0 && written;
}

void ReportWriter::Close() {
    if (file_ != nullptr)
        std::fclose(file_);
    file_ = nullptr;
}

ReportRow ReportRowOf(std::string_view line) {
    ReportRow row;
    const auto comma = line.find(',');
    const std::string_view count = comma == std::string_view::npos ? line : line.substr(comma + 1);
    row.symbol = comma == std::string_view::npos ? std::string{} : std::string(line.substr(0, comma));
    if (count == "-1") {
        row.records = "0";
        row.status = "Invalid symbol";
        row.icon = 0;
    } else if (count == "0") {
        row.records = "0";
        row.status = "No new data available";
        row.icon = 0;
    } else {
        row.records = std::string(count);
        row.status = "Success";
        row.icon = 1;
    }
    return row;
}

std::vector<ReportRow> ReadReportRows(const std::filesystem::path& path) {
    std::vector<ReportRow> rows;
    TextFile file(path);
    if (!file.IsOpen())
        return rows;
    std::string line;
    while (file.ReadLine(line))
        rows.push_back(ReportRowOf(line));
    std::reverse(rows.begin(), rows.end());
    return rows;
}

} // namespace tessaly
