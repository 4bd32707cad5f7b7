#pragma once

#include <filesystem>

namespace tessaly {

// The two folders the engine works in: the current folder (where the data files of the securities
// are listed, downloaded and created) and the program folder (where the program keeps the files it
// writes for itself, such as the download report).
class Folders {
public:
    virtual ~Folders() = default;
    virtual std::filesystem::path CurrentFolder() const = 0;
    virtual std::filesystem::path ProgramFolder() const = 0;
};

// Folders given once and for all.
class FixedFolders final : public Folders {
public:
    FixedFolders(std::filesystem::path current, std::filesystem::path program)
        : current_(std::move(current))
        , program_(std::move(program)) {}

    std::filesystem::path CurrentFolder() const override { return current_; }
    std::filesystem::path ProgramFolder() const override { return program_; }
    void SetCurrentFolder(std::filesystem::path folder) { current_ = std::move(folder); }

private:
    std::filesystem::path current_;
    std::filesystem::path program_;
};

// The per-user folder for the files the program writes: $XDG_DATA_HOME/Norvane/Tessaly, or
// ~/.local/share/Norvane/Tessaly when XDG_DATA_HOME is not set to an absolute path. Not created here.
std::filesystem::path UserDataFolder();

// The folder of the read-only files shipped with the program (symbol database, help pages, sound):
// "../share/tessaly" from the executable's folder when that exists (an installed program), else the
// executable's own folder (a build tree, where the files are copied beside the executables).
std::filesystem::path AssetFolderFor(const std::filesystem::path& executableFolder);
// AssetFolderFor the folder of the running executable.
std::filesystem::path AssetFolder();

} // namespace tessaly
