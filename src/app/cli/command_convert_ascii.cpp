#include "app/cli/commands.h"
#include "app/settings/qsettingsprofile.h"
#include "convert/asciiconverter.h"
#include "convert/conversionoption.h"

#include <filesystem>
#include <iostream>

namespace tessaly::cli {

// Converts the securities with the current option of the settings, or with a preset, into the
// output folder; every symbol that had to be skipped is named on standard error with its reason.
int RunConvertAscii(Arguments& arguments) {
    const std::string folder = arguments.TakeValue("--folder").value_or(".");
    const auto out = arguments.TakeValue("--out");
    const auto preset = arguments.TakeValue("--preset");
    const auto symbols = arguments.TakeOperands();
    if (!arguments.Ok())
        return UsageError(arguments.Error());
    if (!out)
        return UsageError("convert-ascii needs --out DIR");
    if (symbols.empty())
        return UsageError("convert-ascii needs at least one SYMBOL");

    std::error_code error;
    for (const std::string& where : {folder, *out}) {
        if (!std::filesystem::is_directory(where, error)) {
            std::cerr << "tessaly-cli: " << where << " is not a folder\n";
            return kExitFailure;
        }
    }
    const QSettingsProfile profile;
    if (!profile.IsReadable()) {
        std::cerr << "tessaly-cli: cannot read the settings " << profile.FilePath().toStdString() << "\n";
        return kExitFailure;
    }
    ConversionOption option;
    if (preset) {
        const auto stored = LoadPresetOption(profile, *preset);
        if (!stored) {
            std::cerr << "tessaly-cli: no conversion option named " << *preset << "\n";
            return kExitFailure;
        }
        option = *stored;
    } else {
        option = LoadCurrentOption(profile);
    }

    const SkippedSymbols skipped = ConvertSymbols(symbols, folder, *out, option);
    return ReportSkippedSymbols(skipped);
}

} // namespace tessaly::cli
