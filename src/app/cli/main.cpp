#include "app/cli/commands.h"
#include "browser/symboldatabase.h"
#include "engine/folders.h"
#include "engine/version.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace tessaly::cli {

namespace {

constexpr std::array kCommands = {
    Command{"list", "list [--folder DIR]", RunList},
    Command{"show", "show SYMBOL [--folder DIR]", RunShow},
    Command{"download",
            "download [--folder DIR] [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--period daily|weekly|monthly]\n"
            "                       [--overwrite] [--historical-host URL] [--quote-host URL]\n"
            "                       [--currency-host URL] SYMBOL...",
            RunDownload},
    Command{"report", "report", RunReport},
    Command{"convert-ascii", "convert-ascii [--folder DIR] --out DIR [--preset NAME] SYMBOL...",
            RunConvertAscii},
    Command{"option", "option show", RunOption},
    Command{"option", "option set NAME=VALUE...", RunOption},
    Command{"convert-metastock", "convert-metastock [--folder DIR] --out DIR SYMBOL...", RunConvertMetaStock},
    Command{"metastock", "metastock list DIR | metastock dump DIR SYMBOL", RunMetaStock},
    Command{"config", "config get Endpoints/NAME | config set Endpoints/NAME VALUE", RunConfig},
};

void PrintUsage(std::ostream& out) {
    out << "Usage: tessaly-cli COMMAND [OPTIONS]\n"
           "Keeps and converts a library of end-of-day price histories (one SYMBOL.csv per security).\n"
           "\n"
           "Commands:\n";
    for (const Command& command : kCommands)
        out << "  tessaly-cli " << command.usage << "\n";
    out << "\n"
           "  --folder DIR   the folder of the security data files (default: the current directory)\n"
           "  --help         show this text\n"
           "  --version      show the version\n"
           "\n"
           "Exit status: 0 success, 1 failure, 2 download stopped by a transport error, 64 bad usage.\n";
}

// A program whose shipped files are not where it looks for them runs, but without its symbol lists;
// the version line is where an installation is checked, so it says so there.
void WarnWhenAssetsMissing() {
    const std::filesystem::path assets = tessaly::AssetFolder();
    std::error_code error;
    if (!std::filesystem::is_regular_file(assets / std::string(tessaly::SymbolDatabase::kFileName), error))
        std::cerr << "tessaly-cli: the shipped files are missing: no " << tessaly::SymbolDatabase::kFileName
                  << " in " << assets.string() << "\n";
}

} // namespace

int UsageError(std::string_view message) {
    if (!message.empty())
        std::cerr << "tessaly-cli: " << message << "\n";
    PrintUsage(std::cerr);
    return kExitUsage;
}

} // namespace tessaly::cli

int main(int argc, char** argv) {
    using namespace tessaly::cli;
    std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.empty())
        return UsageError("no command given");
    const std::string name = arguments.front();
    if (name == "--help" || name == "-h" || name == "help") {
        PrintUsage(std::cout);
        return kExitOk;
    }
    if (name == "--version") {
        std::cout << tessaly::kApplicationTitle << " " << tessaly::kVersionText << "\n";
        WarnWhenAssetsMissing();
        return kExitOk;
    }
    for (const Command& command : kCommands) {
        if (command.name == name) {
            Arguments rest(std::vector<std::string>(arguments.begin() + 1, arguments.end()));
            return command.run(rest);
        }
    }
    return UsageError("unknown command " + name);
}
