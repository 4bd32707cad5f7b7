#include "app/cli/commands.h"
#include "app/settings/qsettingsprofile.h"
#include "engine/endpoints.h"

#include <array>
#include <iostream>
#include <string>

namespace tessaly::cli {

namespace {

constexpr std::array kTextNames = {kHistoricalHostName, kQuoteHostName, kCurrencyHostName, kMakerHostName};

bool IsTextName(std::string_view name) {
    for (std::string_view known : kTextNames) {
        if (known == name)
            return true;
    }
    return false;
}

// A whole number of milliseconds, nothing else.
bool ReadInterval(const std::string& text, int& value) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    value = std::stoi(text);
    return true;
}

} // namespace

int RunConfig(Arguments& arguments) {
    const std::vector<std::string> operands = arguments.TakeOperands();
    if (!arguments.Ok())
        return UsageError(arguments.Error());
    if (operands.empty() || (operands[0] != "get" && operands[0] != "set"))
        return UsageError("config takes get or set");
    const bool set = operands[0] == "set";
    if (operands.size() != (set ? 3U : 2U))
        return UsageError(set ? "config set takes Endpoints/NAME and a value"
                              : "config get takes Endpoints/NAME");
    const std::string& key = operands[1];
    const std::string prefix = std::string(kEndpointsSection) + "/";
    const std::string name = key.starts_with(prefix) ? key.substr(prefix.size()) : std::string();
    const bool isInterval = name == kMinRequestIntervalName;
    if (!IsTextName(name) && !isInterval) {
        return UsageError("unknown setting " + key +
                          "; known: Endpoints/HistoricalHost, Endpoints/QuoteHost, "
                          "Endpoints/CurrencyHost, Endpoints/MakerHost, Endpoints/MinRequestIntervalMs");
    }

    QSettingsProfile settings;
    if (!settings.IsReadable()) {
        std::cerr << "tessaly-cli: cannot read " << settings.FilePath().toStdString() << "\n";
        return kExitFailure;
    }
    // Every endpoint is in the file with its default before one is read or changed.
    const Endpoints endpoints = LoadEndpoints(settings);
    if (!set) {
        settings.Sync();
        if (isInterval) {
            std::cout << endpoints.minRequestIntervalMs << "\n";
        } else {
            std::cout << settings.GetString(kEndpointsSection, name, "") << "\n";
        }
        return kExitOk;
    }
    const std::string& value = operands[2];
    bool written = false;
    if (isInterval) {
        int interval = 0;
        if (!ReadInterval(value, interval))
            return UsageError("Endpoints/MinRequestIntervalMs takes a whole number of milliseconds");
        written = settings.WriteInt(kEndpointsSection, name, interval);
    } else {
        written = settings.WriteString(kEndpointsSection, name, value);
    }
    if (!written || !settings.Sync()) {
        std::cerr << "tessaly-cli: cannot write " << settings.FilePath().toStdString() << "\n";
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace tessaly::cli
