#include "convert/skippedsymbol.h"

namespace tessaly {

std::string SkippedSymbolsMessage(const SkippedSymbols& skipped, std::size_t maxLines) {
    if (skipped.empty())
        return {};
    std::string message =
        skipped.size() == 1 ? "This security was not converted:\n" : "These securities were not converted:\n";
    std::size_t shown = 0;
    for (const SkippedSymbol& entry : skipped) {
        if (shown == maxLines)
            break;
        message += '\n';
        message += entry.symbol.empty() ? entry.reason : entry.symbol + ": " + entry.reason;
        ++shown;
    }
    if (shown < skipped.size())
        message += "\n... and " + std::to_string(skipped.size() - shown) + " more";
    return message;
}

} // namespace tessaly
