#pragma once

#include <QString>

#include <filesystem>

namespace tessaly::test {

// A folder as the window shows and remembers it: its path ending with "/".
inline QString Folder(const std::filesystem::path& path) {
    return QString::fromStdString(path.string()) + QStringLiteral("/");
}

} // namespace tessaly::test
