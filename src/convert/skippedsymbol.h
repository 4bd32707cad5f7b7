#pragma once

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

} // namespace tessaly
