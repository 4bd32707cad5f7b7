#include "app/cli/commands.h"
#include "engine/filefunctions.h"
#include "engine/securityfiles.h"

#include <iostream>

namespace tessaly::cli {

// The records of one security: date, open, high, low, close and volume, separated by tabs.
int RunShow(Arguments& arguments) {
    const std::string folder = arguments.TakeValue("--folder").value_or(".");
    const auto operands = arguments.TakeOperands();
    if (!arguments.Ok())
        return UsageError(arguments.Error());
    if (operands.size() != 1)
        return UsageError("show takes one SYMBOL");
    const std::string& symbol = operands.front();
    const auto path = FindSecurityFile(folder, symbol);
    TextFile file;
    if (!path || !file.Open(*path)) {
        std::cerr << "tessaly-cli: no data file for " << symbol << " in " << folder << "\n";
        return kExitFailure;
    }
    std::string line;
    file.ReadLine(line); // the header
    std::string out;
    while (file.ReadLine(line)) {
        if (line.empty())
            continue;
        out.clear();
        for (std::size_t field = 0; field < 6; ++field) {
            if (field > 0)
                out += '\t';
            out += Field(line, field);
        }
        out += '\n';
        std::cout << out;
    }
    return kExitOk;
}

} // namespace tessaly::cli
