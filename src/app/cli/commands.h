#pragma once

#include "app/cli/arguments.h"
#include "convert/skippedsymbol.h"

#include <filesystem>
#include <string_view>

namespace tessaly::cli {

// One subcommand of tessaly-cli: its name, its line in the usage text, and what runs it.
struct Command {
    std::string_view name;
    std::string_view usage;
    int (*run)(Arguments& arguments);
};

int RunList(Arguments& arguments);
int RunShow(Arguments& arguments);
int RunDownload(Arguments& arguments);
int RunReport(Arguments& arguments);
int RunConfig(Arguments& arguments);

// Prints the rows of a download report (Records, Symbol, Status, tab-separated) on standard output.
void PrintReportRows(const std::filesystem::path& report);
int RunConvertAscii(Arguments& arguments);
int RunOption(Arguments& arguments);
int RunConvertMetaStock(Arguments& arguments);
int RunMetaStock(Arguments& arguments);

// Names every skipped symbol with its reason on standard error; the exit status of a conversion.
int ReportSkippedSymbols(const SkippedSymbols& skipped);

// Prints the usage on standard error and returns the bad-usage status.
int UsageError(std::string_view message);

} // namespace tessaly::cli
