#include "app/cli/commands.h"
#include "engine/securityrow.h"

#include <filesystem>
#include <iostream>

namespace tessaly::cli {

// One line per security data file of the folder, in the order the file system returns them.
int RunList(Arguments& arguments) {
    const std::string folder = arguments.TakeValue("--folder").value_or(".");
    const auto operands = arguments.TakeOperands();
    if (!arguments.Ok())
        return UsageError(arguments.Error());
    if (!operands.empty())
        return UsageError("list takes no operands");
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        std::cerr << "tessaly-cli: " << folder << " is not a folder\n";
        return kExitFailure;
    }
    for (const std::string& name : ListSecurityFileNames(folder)) {
        const auto row = ReadSecurityRow(std::filesystem::path(folder) / name, true);
        if (!row)
            continue;
        std::cout << row->symbol << '\t' << row->periodicity << '\t' << row->firstDate << '\t'
                  << row->lastDate << '\t' << row->trend << '\t' << row->records << '\n';
    }
    return kExitOk;
}

} // namespace tessaly::cli
