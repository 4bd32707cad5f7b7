#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tessaly::test {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / std::string(name); }

    // Writes `content` byte for byte to `name` and returns its path.
    std::filesystem::path Write(std::string_view name, std::string_view content) const;
    std::string Read(std::string_view name) const;

private:
    std::filesystem::path path_;
};

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, std::string_view content);

} // namespace tessaly::test
