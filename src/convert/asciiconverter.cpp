#include "convert/asciiconverter.h"

#include "engine/filefunctions.h"
#include "engine/securityfiles.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>

namespace tessaly {

namespace {

constexpr std::string_view kWhiteSpace = " \t\r\n\f\v";
constexpr std::string_view kLineBreak = "\r\n";
// Bounds the date cache for files full of distinct damaged dates.
constexpr std::size_t kMaxCachedDates = 1 << 16;

constexpr std::array<std::string_view, 12> kMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(kWhiteSpace);
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(kWhiteSpace);
    return text.substr(first, last - first + 1);
}

char PeriodicityLetter(const std::string& periodicity) {
    if (periodicity == "Daily")
        return 'D';
    if (periodicity == "Weekly")
        return 'W';
    return 'M';
}

// The positions of the commas in the eight bytes at `data`, one high bit per comma byte (exact: no
// carries run between the bytes).
std::uint64_t CommaBits(const char* data) {
    constexpr std::uint64_t kCommas = 0x2c2c2c2c2c2c2c2cULL;
    constexpr std::uint64_t kLow7 = 0x7f7f7f7f7f7f7f7fULL;
    std::uint64_t word = 0;
    std::memcpy(&word, data, sizeof word);
    const std::uint64_t zeroWhereComma = word ^ kCommas;
    return ~(((zeroWhereComma & kLow7) + kLow7) | zeroWhereComma | kLow7);
}

// The first six fields of a record. Field i is the text between comma i - 1 and comma i; a field
// whose closing comma is missing is empty.
std::array<std::string_view, 6> SplitRecord(std::string_view line) {
    std::array<std::string_view, 6> fields;
    std::size_t field = 0;
    std::size_t start = 0;
    const auto comma = [&](std::size_t at) {
        fields[field++] = line.substr(start, at - start);
        start = at + 1;
    };
    std::size_t i = 0;
    // Eight bytes at a time where the byte order allows it: records are read by the million.
    if constexpr (std::endian::native == std::endian::little) {
        for (; i + 8 <= line.size() && field < fields.size(); i += 8) {
            for (std::uint64_t bits = CommaBits(line.data() + i); bits != 0 && field < fields.size();
                 bits &= bits - 1)
                comma(i + static_cast<std::size_t>(std::countr_zero(bits)) / 8);
        }
    }
    for (; i < line.size() && field < fields.size(); ++i) {
        if (line[i] == ',')
            comma(i);
    }
    return fields;
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

} // namespace

std::string_view SeparatorText(int separator) {
    switch (separator) {
    case 0:
        return " ";
    case 1:
        return ",";
    case 2:
        return "/";
    case 3:
        return "\t";
    default:
        return {};
    }
}

std::string FormatDateNumber(DateNumber date, int dateFormat) {
    if (date == 0)
        return {}; // no date: the column stays empty, as for any missing field
    const std::string digits = std::to_string(date);
    const std::string_view text = digits;
    const std::string_view yyyy = text.substr(0, 4);
    const std::string_view mm = text.size() > 4 ? text.substr(4, 2) : std::string_view{};
    const std::string_view dd = text.size() >= 2 ? text.substr(text.size() - 2) : text;
    const std::string_view yy = yyyy.size() >= 2 ? yyyy.substr(yyyy.size() - 2) : yyyy;
    const auto join = [](std::initializer_list<std::string_view> parts) {
        std::string joined;
        for (const std::string_view part : parts)
            joined += part;
        return joined;
    };
    switch (dateFormat) {
    case 0:
        return join({mm, "/", dd, "/", yyyy});
    case 1:
        return join({dd, "/", mm, "/", yyyy});
    case 2:
        return join({mm, "/", dd, "/", yy});
    case 3:
        return join({dd, "/", mm, "/", yy});
    case 4:
        return join({yyyy, mm, dd});
    case 5:
        return join({yyyy, dd, mm});
    case 6:
        return join({yyyy, "/", mm, "/", dd});
    case 7:
        return join({yyyy, "/", dd, "/", mm});
    case 8: {
        std::string_view month;
        if (mm.size() == 2 && mm[0] >= '0' && mm[0] <= '1' && mm[1] >= '0' && mm[1] <= '9') {
            const int number = (mm[0] - '0') * 10 + (mm[1] - '0');
            if (number >= 1 && number <= 12)
                month = kMonthNames[static_cast<std::size_t>(number - 1)];
        }
        return join({dd, "-", month, "-", yy});
    }
    default:
        return digits;
    }
}

std::string NormalizedExtension(std::string_view extension) {
    if (extension.empty() || extension.front() == '.')
        return std::string(extension);
    return "." + std::string(extension);
}

AsciiConverter::AsciiConverter(std::filesystem::path inputFolder, std::filesystem::path outputFolder,
                               ConversionOption option)
    : inputFolder_(std::move(inputFolder))
    , outputFolder_(std::move(outputFolder))
    , option_(std::move(option))
    , separator_(SeparatorText(option_.Separator))
    , outputIsInputFolder_(SameFile(inputFolder_, outputFolder_)) {}

AsciiConverter::~AsciiConverter() = default;

std::string AsciiConverter::OutputFileName(std::string_view symbol) const {
    std::string name;
    if (option_.Single) {
        name = Trim(option_.FileName);
        if (name.empty())
            name = "ascii_file";
    } else {
        name = symbol;
    }
    return name + NormalizedExtension(option_.Extension);
}

void AsciiConverter::Skip(std::string_view symbol, std::string reason) {
    skipped_.push_back({std::string(symbol), std::move(reason)});
}

// An output in the data folder that carries a data file's name would destroy a history the run
// reads; so would one that the file system takes for the data file itself (another spelling of
// the folder, a folder that ignores case, a link).
bool AsciiConverter::WouldOverwriteDataFile(const std::filesystem::path& target,
                                            const std::filesystem::path& dataFile) const {
    if (SameFile(target, dataFile))
        return true;
    if (!outputIsInputFolder_)
        return false;
    const std::string name = target.filename().string();
    if (IsSecurityFileName(name))
        return true;
    const std::string asDataFile = name.substr(0, name.rfind('.')) + ".csv";
    return SameFile(target, inputFolder_ / asDataFile);
}

void AsciiConverter::ConvertSecurity(std::string_view symbol, std::size_t position, bool isLast) {
    // A new run: the single file of an earlier one is complete.
    if (position == 0)
        FinishSingle();
    const auto finishIfLast = [&] {
        if (isLast)
            FinishSingle();
    };
    if (symbol.empty()) {
        Skip(symbol, "empty symbol");
        return finishIfLast();
    }
    if (!IsSafeSymbol(symbol)) {
        Skip(symbol, "not a valid symbol");
        return finishIfLast();
    }
    const auto dataFile = FindSecurityFile(inputFolder_, symbol);
    TextFile input;
    if (!dataFile || !input.Open(*dataFile)) {
        Skip(symbol, "no data file");
        return finishIfLast();
    }
    const std::string fileName = OutputFileName(symbol);
    if (!IsSafeSymbol(fileName)) {
        Skip(symbol, "not a valid file name " + fileName);
        return finishIfLast();
    }
    const std::filesystem::path target = outputFolder_ / fileName;
    if (WouldOverwriteDataFile(target, *dataFile)) {
        Skip(symbol, "output would overwrite its data file");
        return finishIfLast();
    }
    const char periodicity = option_.Periodicity ? PeriodicityLetter(GetPeriodicity(input)) : 'M';

    if (option_.Single) {
        if (!single_) {
            single_ = std::make_unique<AtomicFile>(target);
            if (!single_->IsOpen()) {
                single_.reset();
                Skip(symbol, "cannot create " + target.string());
                return finishIfLast();
            }
            if (option_.Headers) {
                single_->Write(option_.HeadersLine);
                single_->Write(kLineBreak);
            }
        }
        WriteRecords(input, *single_, symbol, periodicity);
        singleSymbols_.emplace_back(symbol);
        return finishIfLast();
    }

    AtomicFile output(target);
    if (!output.IsOpen()) {
        Skip(symbol, "cannot create " + target.string());
        return finishIfLast();
    }
    if (option_.Headers) {
        output.Write(option_.HeadersLine);
        output.Write(kLineBreak);
    }
    WriteRecords(input, output, symbol, periodicity);
    if (!output.Commit())
        Skip(symbol, "cannot create " + target.string());
    finishIfLast();
}

const std::string& AsciiConverter::DateText(std::string_view storedDate, std::size_t record) {
    // Securities mostly share their trading days: the previous security's date at the same place
    // is the first guess.
    if (record < previousDates_.size() && previousDates_[record].first == storedDate) {
        currentDates_.push_back(previousDates_[record]);
        return currentDates_.back().second;
    }
    dateKey_.assign(storedDate);
    auto found = dateTexts_.find(dateKey_);
    if (found == dateTexts_.end()) {
        if (dateTexts_.size() >= kMaxCachedDates)
            dateTexts_.clear();
        found =
            dateTexts_.emplace(dateKey_, FormatDateNumber(StoredDateToNumber(storedDate), option_.DateFormat))
                .first;
    }
    if (record >= kMaxCachedDates)
        return found->second;
    currentDates_.emplace_back(found->first, found->second);
    return currentDates_.back().second;
}

void AsciiConverter::WriteRecords(TextFile& input, AtomicFile& output, std::string_view symbol,
                                  char periodicity) {
    input.Rewind();
    if (!input.ReadLine(line_)) // the column header
        return;
    const std::string_view separator = separator_;
    std::swap(previousDates_, currentDates_);
    currentDates_.clear();
    std::size_t record = 0;
    while (input.ReadLine(line_)) {
        if (line_.empty())
            continue; // not a record
        const auto fields = SplitRecord(line_);
        output_.clear();
        const auto column = [&](std::string_view value) {
            output_ += value;
            output_ += separator;
        };
        if (option_.Symbol)
            column(symbol);
        if (option_.Periodicity)
            column(std::string_view(&periodicity, 1));
        if (option_.Date)
            column(DateText(fields[0], record));
        if (option_.Open)
            column(fields[1]);
        if (option_.High)
            column(fields[2]);
        if (option_.Low)
            column(fields[3]);
        if (option_.Close)
            column(fields[4]);
        if (option_.Volume)
            column(fields[5]);
        if (option_.Interest)
            column("0.0");
        while (!output_.empty() && separator.find(output_.back()) != std::string_view::npos)
            output_.pop_back();
        output_ += kLineBreak;
        output.Write(output_);
        ++record;
    }
}

void AsciiConverter::FinishSingle() {
    if (!single_)
        return;
    const std::string target = single_->Target().string();
    if (!single_->Commit()) {
        for (const std::string& symbol : singleSymbols_)
            Skip(symbol, "cannot create " + target);
    }
    single_.reset();
    singleSymbols_.clear();
}

void AsciiConverter::Finish() {
    FinishSingle();
}

std::vector<std::string> SplitSymbolList(std::string_view symbolList) {
    const std::string_view list = Trim(symbolList);
    std::vector<std::string> symbols;
    std::size_t start = 0;
    for (;;) {
        const auto blank = list.find(' ', start);
        if (blank == std::string_view::npos) {
            symbols.emplace_back(list.substr(start));
            return symbols;
        }
        symbols.emplace_back(list.substr(start, blank - start));
        start = blank + 1;
    }
}

SkippedSymbols ConvertSymbols(const std::vector<std::string>& symbols,
                              const std::filesystem::path& inputFolder,
                              const std::filesystem::path& outputFolder, const ConversionOption& option) {
    AsciiConverter converter(inputFolder, outputFolder, option);
    for (std::size_t i = 0; i < symbols.size(); ++i)
        converter.ConvertSecurity(symbols[i], i, i + 1 == symbols.size());
    converter.Finish();
    return converter.Skipped();
}

SkippedSymbols ConvertSymbolList(std::string_view symbolList, const std::filesystem::path& inputFolder,
                                 const std::filesystem::path& outputFolder, const ConversionOption& option) {
    return ConvertSymbols(SplitSymbolList(symbolList), inputFolder, outputFolder, option);
}

} // namespace tessaly
