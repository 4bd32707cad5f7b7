#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly::cli {

// Exit statuses the scripts rely on.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
// A download stopped by a fatal transport error.
inline constexpr int kExitStopped = 2;
inline constexpr int kExitUsage = 64;

// A command's arguments: options are taken out by name, what is left are the operands.
// "--name value" and "--name=value" both work; "--" ends the options.
class Arguments {
public:
    explicit Arguments(std::vector<std::string> arguments);

    // The value of an option that takes one; nullopt when absent. A missing value is an error.
    std::optional<std::string> TakeValue(std::string_view name);
    // Every value of an option that may be repeated.
    std::vector<std::string> TakeValues(std::string_view name);
    // Whether a flag without value is present.
    bool TakeFlag(std::string_view name);
    // The operands; an unknown option left among them is an error.
    std::vector<std::string> TakeOperands();

    // Set when an option was malformed or unknown; the command then reports bad usage.
    const std::string& Error() const { return error_; }
    bool Ok() const { return error_.empty(); }

private:
    std::vector<std::string> arguments_;
    std::string error_;
};

} // namespace tessaly::cli
