#include "app/cli/commands.h"
#include "engine/downloadreport.h"
#include "engine/folders.h"

namespace tessaly::cli {

// The rows of the last download's report, the last security first, as the report dialog shows them.
int RunReport(Arguments& arguments) {
    const auto operands = arguments.TakeOperands();
    if (!arguments.Ok())
        return UsageError(arguments.Error());
    if (!operands.empty())
        return UsageError("report takes no operands");
    PrintReportRows(UserDataFolder() / std::string(kReportFileName));
    return kExitOk;
}

} // namespace tessaly::cli
