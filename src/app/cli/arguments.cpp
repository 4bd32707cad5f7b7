#include "app/cli/arguments.h"

namespace tessaly::cli {

Arguments::Arguments(std::vector<std::string> arguments)
    : arguments_(std::move(arguments)) {}

std::optional<std::string> Arguments::TakeValue(std::string_view name) {
    std::optional<std::string> value;
    for (std::size_t i = 0; i < arguments_.size();) {
        const std::string& argument = arguments_[i];
        if (argument == "--")
            break;
        if (argument == name) {
            if (i + 1 >= arguments_.size()) {
                error_ = "option " + std::string(name) + " needs a value";
                arguments_.erase(arguments_.begin() + static_cast<std::ptrdiff_t>(i));
                return std::nullopt;
            }
            value = arguments_[i + 1];
            arguments_.erase(arguments_.begin() + static_cast<std::ptrdiff_t>(i),
                             arguments_.begin() + static_cast<std::ptrdiff_t>(i) + 2);
            continue;
        }
        if (argument.size() > name.size() && argument.starts_with(name) && argument[name.size()] == '=') {
            value = argument.substr(name.size() + 1);
            arguments_.erase(arguments_.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        ++i;
    }
    return value;
}

std::vector<std::string> Arguments::TakeValues(std::string_view name) {
    std::vector<std::string> values;
    while (auto value = TakeValue(name))
        values.push_back(std::move(*value));
    return values;
}

bool Arguments::TakeFlag(std::string_view name) {
    bool found = false;
    for (std::size_t i = 0; i < arguments_.size();) {
        if (arguments_[i] == "--")
            break;
        if (arguments_[i] == name) {
            found = true;
            arguments_.erase(arguments_.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        ++i;
    }
    return found;
}

std::vector<std::string> Arguments::TakeOperands() {
    std::vector<std::string> operands;
    bool optionsEnded = false;
    for (std::string& argument : arguments_) {
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && argument.size() > 1 && argument.starts_with("--")) {
            if (error_.empty())
                error_ = "unknown option " + argument;
            continue;
        }
        operands.push_back(std::move(argument));
    }
    arguments_.clear();
    return operands;
}

} // namespace tessaly::cli
