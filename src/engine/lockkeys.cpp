#include "engine/lockkeys.h"

#include <fstream>
#include <string>
#include <system_error>

namespace tessaly {

namespace {

void Merge(std::optional<bool>& state, bool lit) {
    state = state.value_or(false) || lit;
}

} // namespace

LockKeyStates ReadLockLeds(const std::filesystem::path& ledsFolder) {
    LockKeyStates states;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(ledsFolder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        const auto separator = name.rfind("::");
        if (separator == std::string::npos)
            continue;
        const std::string function = name.substr(separator + 2);
        std::optional<bool>* state = function == "capslock"     ? &states.capsLock
                                     : function == "numlock"    ? &states.numLock
                                     : function == "scrolllock" ? &states.scrollLock
                                                                : nullptr;
        if (!state)
            continue;
        std::ifstream brightness(entry->path() / "brightness");
        int value = 0;
        if (!(brightness >> value))
            continue;
        Merge(*state, value > 0);
    }
    return states;
}

} // namespace tessaly
