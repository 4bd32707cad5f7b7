#pragma once

#include "convert/conversionoption.h"
#include "convert/skippedsymbol.h"
#include "engine/atomicfile.h"
#include "engine/datenumber.h"
#include "engine/textfile.h"

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tessaly {

// One run of the ASCII conversion: rewrites security data files of the input folder into text files
// of the output folder laid out by a conversion option. Every output file is written under a
// temporary name and renamed into place when complete, so a failed run never leaves half a file
// over a good one. A symbol that cannot be converted is skipped and listed with the reason; nothing
// is read from or written to a file that failed to open.
class AsciiConverter {
public:
    AsciiConverter(std::filesystem::path inputFolder, std::filesystem::path outputFolder,
                   ConversionOption option);
    // Throws away an unfinished single output file.
    ~AsciiConverter();
    AsciiConverter(const AsciiConverter&) = delete;
    AsciiConverter& operator=(const AsciiConverter&) = delete;

    // Converts one security. `position` counts from 0 in list order; with the single output file on,
    // the file gets its header once, at the top, and is completed after the security marked
    // `isLast`.
    void ConvertSecurity(std::string_view symbol, std::size_t position, bool isLast);
    // Completes the single output file if it is still open.
    void Finish();

    const SkippedSymbols& Skipped() const { return skipped_; }

    // The output file name of a symbol: the symbol, or the trimmed `FileName` ("ascii_file" when
    // empty) for the single file, followed by the extension with its leading dot.
    std::string OutputFileName(std::string_view symbol) const;

private:
    void Skip(std::string_view symbol, std::string reason);
    bool WouldOverwriteDataFile(const std::filesystem::path& target,
                                const std::filesystem::path& dataFile) const;
    void WriteRecords(TextFile& input, AtomicFile& output, std::string_view symbol, char periodicity);
    const std::string& DateText(std::string_view storedDate, std::size_t record);
    void FinishSingle();

    std::filesystem::path inputFolder_;
    std::filesystem::path outputFolder_;
    ConversionOption option_;
    std::string separator_;
    bool outputIsInputFolder_ = false;
    SkippedSymbols skipped_;

    std::unique_ptr<AtomicFile> single_;
    std::vector<std::string> singleSymbols_; // the symbols written into the open single file

    // The date column of each stored date met so far: securities share their trading days, and the
    // stored form does not change during a run.
    std::unordered_map<std::string, std::string> dateTexts_;
    std::vector<std::pair<std::string, std::string>> previousDates_; // by record, of the last security
    std::vector<std::pair<std::string, std::string>> currentDates_;
    std::string dateKey_;
    std::string line_;
    std::string output_;
};

// Converts the symbols in order; the last one is marked is-last. Returns the skipped ones.
SkippedSymbols ConvertSymbols(const std::vector<std::string>& symbols,
                              const std::filesystem::path& inputFolder,
                              const std::filesystem::path& outputFolder, const ConversionOption& option);
// Converts a symbol list text: white space around it is removed, then every single blank ends a
// symbol (so two blanks in a row give an empty symbol, which is skipped).
SkippedSymbols ConvertSymbolList(std::string_view symbolList, const std::filesystem::path& inputFolder,
                                 const std::filesystem::path& outputFolder, const ConversionOption& option);
std::vector<std::string> SplitSymbolList(std::string_view symbolList);

// The column separator of a `Separator` value; empty for any value but 0 to 3.
std::string_view SeparatorText(int separator);
// A date number in the layout of a `DateFormat` value (the number itself for an unknown value);
// empty for 0, the number of text that is no date.
std::string FormatDateNumber(DateNumber date, int dateFormat);
// The extension with a leading dot; empty stays empty.
std::string NormalizedExtension(std::string_view extension);

} // namespace tessaly
