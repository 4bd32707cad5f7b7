#include "convert/folderpicker.h"

#include <QFileDialog>

namespace tessaly {

QString PickFolder(QWidget* parent, const QString& title, const QString& start) {
    return QFileDialog::getExistingDirectory(parent, title, start, QFileDialog::ShowDirsOnly);
}

std::filesystem::path OutputFolderFromText(const QString& text, const std::filesystem::path& dataFolder) {
    const std::filesystem::path folder(text.trimmed().toStdString());
    return folder.is_absolute() ? folder : dataFolder / folder;
}

} // namespace tessaly
