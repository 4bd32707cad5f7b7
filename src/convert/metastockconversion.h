#pragma once

#include "convert/datafile.h"
#include "convert/skippedsymbol.h"
#include "engine/messagebox.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

class MetaLib;

// One line of a security data file as a MetaStock record: short date, prices adjusted to the
// adjusted close, volume in hundreds, open interest 0. Nullopt for an empty line.
std::optional<DataRecord> ConvertRecordLine(std::string_view line);

// Converts one security's data file `dataFolder`/SYMBOL.csv into the MetaStock folder `outputFolder`
// (created when it has no master files): adds the security or extends its records. Returns why it
// was skipped, or nullopt when converted.
std::optional<std::string> ConvertSecurityToMetaStock(MetaLib& library, std::string_view symbol,
                                                      const std::filesystem::path& dataFolder,
                                                      const std::filesystem::path& outputFolder);

// The run over a symbol list text (symbols separated by single blanks) or a list of symbols.
SkippedSymbols ConvertToMetaStock(std::string_view symbolList, const std::filesystem::path& dataFolder,
                                  const std::filesystem::path& outputFolder, MessageBoxes& messages);
SkippedSymbols ConvertToMetaStock(const std::vector<std::string>& symbols,
                                  const std::filesystem::path& dataFolder,
                                  const std::filesystem::path& outputFolder, MessageBoxes& messages);

} // namespace tessaly
