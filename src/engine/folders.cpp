#include "engine/folders.h"

#include <cstdlib>
#include <string>

namespace tessaly {

std::filesystem::path UserDataFolder() {
    std::filesystem::path base;
    if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && data[0] == '/') {
        base = data;
    } else {
        const char* home = std::getenv("HOME");
        base = std::filesystem::path(home != nullptr && home[0] != '\0' ? home : "/tmp") / ".local" / "share";
    }
    return base / "Norvane" / "Tessaly";
}

} // namespace tessaly
