#pragma once

#include "engine/datenumber.h"
#include "engine/textfile.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tessaly {

// The security data file: a header line, then one record per line (date, open, high, low, close,
// volume, adjusted close), oldest first, CR LF between lines and none after the last one.
// Every operation starts from the beginning of the file; none of them closes it.

inline constexpr std::string_view kSecurityFileHeader = "Date,Open,High,Low,Close,Volume,Adj. Close*";

// The date field of the first record; "0" for a file with no line, empty for a header-only file.
std::string GetFirstDate(TextFile& file);
// The text before the first comma of the last line; "0" for a file with no line.
std::string GetLastDate(TextFile& file);
// "Daily", "Weekly", "Monthly" or "-", told from the first three records.
std::string GetPeriodicity(TextFile& file);
// The number of lines after the header.
std::int64_t GetRecordCount(TextFile& file);
// One of "+", "-", "=" per record among the last five ("=" for each missing record).
std::string GetTrend(TextFile& file);

// The writers take a block of records, each preceded by a line break, in ascending date order.
// They replace the file crash-safe and report whether the new content reached the disk.
bool ReplaceLastRecord(TextFile& file, std::string_view text);
bool AppendRecords(TextFile& file, std::string_view text);
bool CreateWithHeader(TextFile& file, std::string_view text);

// The date number of a stored date (5-Jan-05 gives 20050105); 0 for "0" and for text without a
// hyphen. A two-digit year not above the current year's last two digits is in this century, any
// other in the last one.
DateNumber StoredDateToNumber(std::string_view text);
// True exactly when the first hyphen of text is at position 4, as in 2005-01-05.
bool IsIsoDate(std::string_view text);
// 2005-01-05 gives 5-Jan-05.
std::string IsoDateToStored(std::string_view text);

// The text before the first comma (the whole text when it has none).
std::string_view FirstField(std::string_view line);
// Field `index` (0-based) of a comma-separated line; empty when the line has fewer fields.
std::string_view Field(std::string_view line, std::size_t index);

} // namespace tessaly
