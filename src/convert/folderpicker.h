#pragma once

#include <QString>

#include <filesystem>
#include <functional>

class QWidget;

namespace tessaly {

// Asks the user for a folder: the parent window, the title and the folder to start in; returns the
// folder picked, or an empty text when the user cancels.
using FolderPicker = std::function<QString(QWidget* parent, const QString& title, const QString& start)>;

// The desktop's folder dialog, showing folders only.
QString PickFolder(QWidget* parent, const QString& title, const QString& start);
// The folder a typed output folder text means: a relative one is taken inside the data folder,
// an empty one is the data folder itself.
std::filesystem::path OutputFolderFromText(const QString& text, const std::filesystem::path& dataFolder);

} // namespace tessaly
