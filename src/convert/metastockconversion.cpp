#include "convert/metastockconversion.h"

#include "convert/masterrecords.h"
#include "convert/metalib.h"
#include "convert/metastockdates.h"
#include "engine/filefunctions.h"
#include "engine/numbers.h"
#include "engine/securityfiles.h"
#include "engine/textfile.h"
#include "engine/trim.h"

#include <algorithm>
#include <cmath>

namespace tessaly {

namespace {

constexpr char kPeriodicity = 'D';

// The text after the sixth comma; nullopt when the line has no sixth comma.
std::optional<std::string_view> AfterSixthComma(std::string_view line) {
    std::size_t position = 0;
    for (int comma = 0; comma < 6; ++comma) {
        position = line.find(',', position);
        if (position == std::string_view::npos)
            return std::nullopt;
        ++position;
    }
    return line.substr(position);
}

// Equal within single-precision rounding.
bool SameClose(float a, float b) {
    return std::fabs(a - b) <= 1e-6f * std::max(std::fabs(a), std::fabs(b));
}

bool ReadRecords(const std::filesystem::path& path, std::vector<DataRecord>& records) {
    TextFile file;
    if (!file.Open(path))
        return false;
    std::string line;
    file.ReadLine(line); // the header
    while (file.ReadLine(line))
        if (auto record = ConvertRecordLine(line))
            records.push_back(*record);
    return true;
}

class Session {
public:
    Session(MetaLib& library, const std::filesystem::path& folder)
        : library_(library) {
        if (library_.OpenFolder(folder) != 0 && library_.CreateFolder(folder) == 0)
            library_.OpenFolder(folder);
    }
    ~Session() { library_.CloseFolder(); }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

private:
    MetaLib& library_;
};

} // namespace

std::optional<DataRecord> ConvertRecordLine(std::string_view line) {
    if (TrimBlanks(line).empty())
        return std::nullopt;
    DataRecord record;
    record.date = metastock::ShortDate(StoredDateToNumber(Field(line, 0)));
    record.open = static_cast<float>(ReadDecimal(Field(line, 1)));
    record.high = static_cast<float>(ReadDecimal(Field(line, 2)));
    record.low = static_cast<float>(ReadDecimal(Field(line, 3)));
    record.close = static_cast<float>(ReadDecimal(Field(line, 4)));
    record.volume = static_cast<float>(ReadDecimal(Field(line, 5)) * 0.01);
    // A line without an adjusted close keeps its prices as read.
    const auto adjustedText = AfterSixthComma(line);
    const float adjusted = adjustedText ? static_cast<float>(ReadDecimal(*adjustedText)) : record.close;
    if (adjusted != record.close) {
        if (record.close != 0.0f) {
            const float ratio = adjusted / record.close;
            record.open *= ratio;
            record.high *= ratio;
            record.low *= ratio;
        }
        record.close = adjusted;
    }
    return record;
}

std::optional<std::string> ConvertSecurityToMetaStock(MetaLib& library, std::string_view symbol,
                                                      const std::filesystem::path& dataFolder,
                                                      const std::filesystem::path& outputFolder) {
    if (symbol.empty())
        return "empty symbol";
    const auto dataPath = FindSecurityFile(dataFolder, symbol);
    std::vector<DataRecord> records;
    if (!dataPath || !ReadRecords(*dataPath, records))
        return "no data file";

    Session session(library, outputFolder);
    if (!library.IsFolderOpen())
        return "cannot open MetaStock folder " + outputFolder.string();

    const auto listed = library.LookupSecurity(symbol);
    if (listed && symbol.size() > metastock::kSymbolWidth) {
        // Only the first 14 characters are stored; the name (the symbol, cut to the name's width)
        // tells whether the stored security is this one.
        const std::size_t width =
            listed->inXmaster ? metastock::kXmasterNameWidth : metastock::kMasterNameWidth;
        if (!EqualsIgnoringCase(listed->name, symbol.substr(0, width)))
            return "another security has the same first 14 characters";
    }

    if (!listed) {
        if (library.AddSecurity(symbol, symbol, kPeriodicity) != 0 || library.FindSecurity(symbol) != 0)
            return "cannot add to MetaStock folder " + outputFolder.string();
        if (library.AppendRecords(records) != 0)
            return "cannot write the records of " + std::string(symbol);
    } else {
        if (library.FindSecurity(symbol) != 0) {
            const auto path = library.DataFilePath(listed->fileNumber);
            return std::filesystem::exists(path) ? "data file damaged: " + path.string()
                                                 : "data file missing: " + path.string();
        }
        std::int32_t first = 0;
        std::int32_t last = 0;
        library.GetFirstRecordDate(first);
        library.GetLastRecordDate(last);
        std::vector<DataRecord> stored;
        library.ReadRecords(stored);

        // A history re-adjusted after a split or dividend, or downloaded anew, no longer holds the
        // stored first record: extending it would show a false jump, so its records are rewritten.
        bool rewrite = false;
        if (!stored.empty()) {
            const auto match = std::find_if(records.begin(), records.end(), [&](const DataRecord& r) {
                return r.date == stored.front().date;
            });
            rewrite = match == records.end() || !SameClose(match->close, stored.front().close);
        }
        const std::int32_t newest = records.empty() ? 0 : records.back().date;
        if (rewrite) {
            if (library.ClearRecords() != 0 || library.AppendRecords(records) != 0)
                return "cannot write the records of " + std::string(symbol);
        } else if (newest <= last) {
            return std::nullopt;
        } else {
            std::vector<DataRecord> appended;
            for (const DataRecord& record : records) {
                if (record.date == last) {
                    if (!appended.empty() && library.AppendRecords(appended) != 0)
                        return "cannot write the records of " + std::string(symbol);
                    appended.clear();
                    library.UpdateLastRecord(record.date, record.open, record.high, record.low, record.close,
                                             record.volume, record.openInterest);
                } else if (record.date > last) {
                    appended.push_back(record);
                }
            }
            if (!appended.empty() && library.AppendRecords(appended) != 0)
                return "cannot write the records of " + std::string(symbol);
        }
    }

    library.CloseSecurity();
    std::int32_t first = 0;
    std::int32_t last = 0;
    if (library.FindSecurity(symbol) == 0) {
        library.GetFirstRecordDate(first);
        library.GetLastRecordDate(last);
        library.CloseSecurity();
    }
    library.UpdateSecurityDates(symbol, first, last, kPeriodicity);
    return std::nullopt;
}

SkippedSymbols ConvertToMetaStock(const std::vector<std::string>& symbols,
                                  const std::filesystem::path& dataFolder,
                                  const std::filesystem::path& outputFolder, MessageBoxes& messages) {
    MetaLib library(messages);
    SkippedSymbols skipped;
    for (const std::string& symbol : symbols)
        if (auto reason = ConvertSecurityToMetaStock(library, symbol, dataFolder, outputFolder))
            skipped.push_back({symbol, std::move(*reason)});
    return skipped;
}

SkippedSymbols ConvertToMetaStock(std::string_view symbolList, const std::filesystem::path& dataFolder,
                                  const std::filesystem::path& outputFolder, MessageBoxes& messages) {
    const std::string_view list = TrimBlanks(symbolList);
    std::vector<std::string> symbols;
    std::size_t start = 0;
    while (true) {
        const std::size_t blank = list.find(' ', start);
        symbols.emplace_back(list.substr(start, blank == std::string_view::npos ? blank : blank - start));
        if (blank == std::string_view::npos)
            break;
        start = blank + 1;
    }
    return ConvertToMetaStock(symbols, dataFolder, outputFolder, messages);
}

} // namespace tessaly
