#include "engine/filefunctions.h"

#include "engine/clock.h"
#include "engine/numbers.h"

#include <array>

namespace tessaly {

namespace {

constexpr std::array<std::string_view, 11> kMonthsJanToNov = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                              "Jul", "Aug", "Sep", "Oct", "Nov"};
constexpr std::array<std::string_view, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

bool IsLineBreak(char c) {
    return c == '\r' || c == '\n';
}

std::string_view TrimLineBreaksAtEnd(std::string_view text) {
    while (!text.empty() && IsLineBreak(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string_view TrimLineBreaksAtStart(std::string_view text) {
    while (!text.empty() && IsLineBreak(text.front()))
        text.remove_prefix(1);
    return text;
}

// The text between the first and the second hyphen (to the end when there is no second one).
std::string_view MonthPart(std::string_view text) {
    const auto first = text.find('-');
    if (first == std::string_view::npos)
        return {};
    const auto rest = text.substr(first + 1);
    return rest.substr(0, rest.find('-'));
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::string_view FirstField(std::string_view line) {
    return line.substr(0, line.find(','));
}

std::string_view Field(std::string_view line, std::size_t index) {
    for (std::size_t i = 0; i < index; ++i) {
        const auto comma = line.find(',');
        if (comma == std::string_view::npos)
            return {};
        line.remove_prefix(comma + 1);
    }
    return FirstField(line);
}

std::string GetFirstDate(TextFile& file) {
    file.Rewind();
    std::string line;
    if (!file.ReadLine(line))
        return "0";
    if (!file.ReadLine(line))
        return {};
    const auto comma = line.find(',');
    return comma == std::string::npos ? std::string{} : line.substr(0, comma);
}

std::string GetLastDate(TextFile& file) {
    const TextFile::Tail tail = file.ReadTail(1);
    if (tail.lines.empty())
        return "0";
    const std::string& last = tail.lines.back().text;
    const auto comma = last.find(',');
    return comma == std::string::npos ? std::string{} : last.substr(0, comma);
}

std::int64_t GetRecordCount(TextFile& file) {
    const std::uint64_t lines = file.CountLines();
    return lines == 0 ? 0 : static_cast<std::int64_t>(lines - 1);
}

std::string GetPeriodicity(TextFile& file) {
    file.Rewind();
    std::array<std::string, 3> lines;
    std::string header;
    if (file.ReadLine(header)) {
        for (auto& line : lines) {
            if (!file.ReadLine(line))
                break;
        }
    }
    std::array<std::int64_t, 3> day{};
    std::array<std::string_view, 3> month;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        day[i] = ReadInteger(lines[i].substr(0, lines[i].find('-')));
        month[i] = MonthPart(lines[i]);
    }
    if (month[0] != month[1] && month[1] != month[2])
        return "Monthly";
    if (day[1] - day[0] == 1 || day[2] - day[1] == 1)
        return "Daily";
    if (day[0] == 0 && day[1] == 0)
        return "-";
    return "Weekly";
}

std::string GetTrend(TextFile& file) {
    TextFile::Tail tail = file.ReadTail(6);
    auto first = tail.lines.begin();
    if (tail.reachesStart && first != tail.lines.end())
        ++first; // the header
    if (tail.lines.end() - first > 5)
        first = tail.lines.end() - 5;
    std::string trend;
    for (auto line = first; line != tail.lines.end(); ++line) {
        const double open = ReadDecimal(Field(line->text, 1));
        const double close = ReadDecimal(Field(line->text, 4));
        const double change = close - open;
        trend += change > 0 ? '+' : (change < 0 ? '-' : '=');
    }
    trend.resize(5, '=');
    return trend;
}

bool ReplaceLastRecord(TextFile& file, std::string_view text) {
    text = TrimLineBreaksAtEnd(TrimLineBreaksAtStart(text));
    const TextFile::Tail tail = file.ReadTail(2);
    if (tail.lines.empty()) {
        // A file without even a header: give the record one, so it is not read as the header.
        return file.Rewrite(0, std::string(kSecurityFileHeader) + std::string(TextFile::kLineBreak) +
                                   std::string(text));
    }
    if (tail.reachesStart && tail.lines.size() == 1) {
        // Header only: the record goes on its own line after it.
        const std::uint64_t size = file.Size();
        const bool breakAfterHeader = file.EndsWithLineBreak();
        std::string block = breakAfterHeader ? std::string{} : std::string(TextFile::kLineBreak);
        block += text;
        return file.Rewrite(size, block);
    }
    return file.Rewrite(tail.lines.back().offset, text);
}

bool AppendRecords(TextFile& file, std::string_view text) {
    text = TrimLineBreaksAtEnd(text);
    if (text.empty())
        return true;
    if (file.EndsWithLineBreak())
        text = TrimLineBreaksAtStart(text); // the file's own line break already ends its last line
    return file.Rewrite(file.Size(), text);
}

bool CreateWithHeader(TextFile& file, std::string_view text) {
    text = TrimLineBreaksAtEnd(text);
    std::string content(kSecurityFileHeader);
    content += text;
    return file.Rewrite(0, content);
}

DateNumber StoredDateToNumber(std::string_view text) {
    const auto firstHyphen = text.find('-');
    if (text == "0" || firstHyphen == std::string_view::npos)
        return 0;
    std::string digits;
    const std::string_view day = text.substr(0, firstHyphen);
    std::string dayText = day.size() == 1 ? "0" + std::string(day) : std::string(day);

    const std::string_view monthName = MonthPart(text);
    std::string monthText = "12";
    for (std::size_t i = 0; i < kMonthsJanToNov.size(); ++i) {
        if (monthName == kMonthsJanToNov[i]) {
            monthText = (i + 1 < 10 ? "0" : "") + std::to_string(i + 1);
            break;
        }
    }

    const std::string_view year = text.size() >= 2 ? text.substr(text.size() - 2) : text;
    std::string century = "19";
    if (year.size() == 2 && IsDigit(year[0]) && IsDigit(year[1])) {
        const int twoDigits = (year[0] - '0') * 10 + (year[1] - '0');
        const int currentTwoDigits = static_cast<int>(Clock::Instance().Today().year()) % 100;
        if (twoDigits <= currentTwoDigits)
            century = "20";
    }
    digits = century + std::string(year) + monthText + dayText;
    return static_cast<DateNumber>(ReadInteger(digits));
}

bool IsIsoDate(std::string_view text) {
    return text.find('-') == 4;
}

std::string IsoDateToStored(std::string_view text) {
    const auto firstHyphen = text.find('-');
    if (firstHyphen == std::string_view::npos)
        return std::string(text);
    const std::string_view rest = text.substr(firstHyphen + 1);
    const auto secondHyphen = rest.find('-');
    std::string_view month = rest.substr(0, std::min<std::size_t>(2, rest.size()));
    std::string_view day =
        secondHyphen == std::string_view::npos ? std::string_view{} : rest.substr(secondHyphen + 1);
    const std::string_view year = text.substr(std::min<std::size_t>(2, text.size()), 2);

    std::string monthText(month);
    if (month.size() == 2 && IsDigit(month[0]) && IsDigit(month[1])) {
        const int number = (month[0] - '0') * 10 + (month[1] - '0');
        if (number >= 1 && number <= 12)
            monthText = kMonths[static_cast<std::size_t>(number - 1)];
    }
    if (!day.empty() && day.front() == '0')
        day.remove_prefix(1);
    return std::string(day) + "-" + monthText + "-" + std::string(year);
}

} // namespace tessaly
