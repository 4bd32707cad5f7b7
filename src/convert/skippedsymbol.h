#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tessaly {

// A symbol a conversion passed over, and why ("no data file", "cannot create <path>", ...), so the
// dialog and the command line can tell the user.
struct SkippedSymbol {
    std::string symbol;
    std::string reason;

    bool operator==(const SkippedSymbol&) const = default;
};

using SkippedSymbols = std::vector<SkippedSymbol>;

// The message that tells the user which symbols were not converted and why, one line each
// ("SYMBOL: reason", or the reason alone for an empty symbol). A long list shows its first
// `maxLines` entries and then how many more there are. Empty when nothing was skipped.
std::string SkippedSymbolsMessage(const SkippedSymbols& skipped, std::size_t maxLines = 20);

} // namespace tessaly
