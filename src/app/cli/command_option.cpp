#include "app/cli/commands.h"
#include "app/settings/qsettingsprofile.h"
#include "convert/conversionoption.h"

#include <charconv>
#include <iostream>
#include <set>

namespace tessaly::cli {

namespace {

int Show(const ConversionOption& option) {
    for (const ConversionOptionField& field : kConversionOptionFields) {
        std::cout << field.name << '=';
        if (const auto* number = std::get_if<int ConversionOption::*>(&field.member))
            std::cout << option.*(*number);
        else
            std::cout << option.*std::get<std::string ConversionOption::*>(field.member);
        std::cout << '\n';
    }
    return kExitOk;
}

// The highest value the options dialog can give a number: 1 for the column and file flags.
int HighestValue(std::string_view name) {
    if (name == "Separator")
        return kSeparatorCount - 1;
    if (name == "DateFormat")
        return kDateFormatCount - 1;
    return 1;
}

// Applies NAME=VALUE assignments; an error message for the first one that is not valid.
std::string Assign(ConversionOption& option, const std::vector<std::string>& assignments,
                   std::set<std::string, std::less<>>& named) {
    for (const std::string& assignment : assignments) {
        const auto equals = assignment.find('=');
        if (equals == std::string::npos)
            return "expected NAME=VALUE, got " + assignment;
        const std::string_view name = std::string_view(assignment).substr(0, equals);
        const std::string_view value = std::string_view(assignment).substr(equals + 1);
        const ConversionOptionField* field = FindConversionOptionField(name);
        if (!field)
            return "unknown option value " + std::string(name);
        named.emplace(name);
        if (const auto* text = std::get_if<std::string ConversionOption::*>(&field->member)) {
            option.*(*text) = value;
            continue;
        }
        int number = 0;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
        const int highest = HighestValue(name);
        if (value.empty() || error != std::errc{} || end != value.data() + value.size() || number < 0 ||
            number > highest)
            return std::string(name) + " takes a number from 0 to " + std::to_string(highest) + ", got " +
                   std::string(value);
        option.*std::get<int ConversionOption::*>(field->member) = number;
    }
    return {};
}

} // namespace

// Shows or changes the current conversion option, the one the Conversion Options dialog edits.
int RunOption(Arguments& arguments) {
    auto operands = arguments.TakeOperands();
    if (!arguments.Ok())
        return UsageError(arguments.Error());
    if (operands.empty())
        return UsageError("option needs show or set");
    const std::string action = operands.front();
    operands.erase(operands.begin());
    if (action != "show" && action != "set")
        return UsageError("unknown option action " + action);
    if (action == "show" && !operands.empty())
        return UsageError("option show takes no operands");
    if (action == "set" && operands.empty())
        return UsageError("option set needs NAME=VALUE");

    QSettingsProfile profile;
    if (!profile.IsReadable()) {
        std::cerr << "tessaly-cli: cannot read the settings " << profile.FilePath().toStdString() << "\n";
        return kExitFailure;
    }
    ConversionOption option = LoadCurrentOption(profile);
    if (action == "show")
        return Show(option);

    std::set<std::string, std::less<>> named;
    if (const std::string error = Assign(option, operands, named); !error.empty())
        return UsageError(error);
    // One file for all securities needs the symbol on every line, as the dialog keeps it.
    if (option.Single && !option.Symbol) {
        if (named.contains("Symbol"))
            return UsageError("Symbol stays 1 while Single is 1");
        option.Symbol = 1;
    }
    if (!SaveCurrentOption(profile, option) || !profile.Sync()) {
        std::cerr << "tessaly-cli: cannot write the settings " << profile.FilePath().toStdString() << "\n";
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace tessaly::cli
