#include "app/cli/commands.h"
#include "app/cli/messageboxes.h"
#include "convert/metastockconversion.h"

#include <iostream>

namespace tessaly::cli {

// Converts the security data files of the symbols into a MetaStock folder.
int RunConvertMetaStock(Arguments& arguments) {
    const std::string folder = arguments.TakeValue("--folder").value_or(".");
    const auto out = arguments.TakeValue("--out");
    const auto symbols = arguments.TakeOperands();
    if (!arguments.Ok())
        return UsageError(arguments.Error());
    if (!out || out->empty())
        return UsageError("convert-metastock needs --out DIR");
    if (symbols.empty())
        return UsageError("convert-metastock needs at least one SYMBOL");
    StandardErrorMessages messages;
    const SkippedSymbols skipped = ConvertToMetaStock(symbols, folder, *out, messages);
    return ReportSkippedSymbols(skipped);
}

} // namespace tessaly::cli
