#include "engine/folders.h"

#include <cstdlib>
#include <string>
#include <system_error>

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

std::filesystem::path AssetFolderFor(const std::filesystem::path& executableFolder) {
    std::error_code error;
    const std::filesystem::path installed = executableFolder.parent_path() / "share" / "tessaly";
    if (std::filesystem::is_directory(installed, error))
        return installed;
    return executableFolder;
}

std::filesystem::path AssetFolder() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return std::filesystem::current_path(error);
    return AssetFolderFor(executable.parent_path());
}

} // namespace tessaly
