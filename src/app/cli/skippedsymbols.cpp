#include "app/cli/commands.h"

#include <iostream>

namespace tessaly::cli {

int ReportSkippedSymbols(const SkippedSymbols& skipped) {
    for (const SkippedSymbol& entry : skipped) {
        if (entry.symbol.empty())
            std::cerr << "tessaly-cli: " << entry.reason << "\n";
        else
            std::cerr << "tessaly-cli: " << entry.symbol << ": " << entry.reason << "\n";
    }
    return skipped.empty() ? kExitOk : kExitFailure;
}

} // namespace tessaly::cli
