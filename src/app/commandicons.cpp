#include "app/commandicons.h"

#include <QPixmap>

#include <array>

namespace tessaly {

namespace {

struct CommandImage {
    CMainFrame::Command command;
    const char* name;
    bool onToolbar;
};

using Command = CMainFrame::Command;

constexpr std::array<CommandImage, 17> kImages = {{
    {Command::NewSecurity, "new", true},
    {Command::Open, "open", true},
    {Command::Properties, "properties", true},
    {Command::Delete, "delete", true},
    {Command::Report, "report", true},
    {Command::Download, "download", true},
    {Command::Cut, "cut", false},
    {Command::Copy, "copy", false},
    {Command::Paste, "paste", false},
    {Command::Contents, "contents", false},
    {Command::ConvertToAscii, "convert-ascii", false},
    {Command::UpdateSymbolDatabase, "update-symbol-database", false},
    {Command::About, "about", false},
    {Command::NewFolder, "new-folder", false},
    {Command::CheckForUpdates, "check-updates", false},
    {Command::Fundamentals, "fundamentals", false},
    {Command::Charts, "charts", false},
}};

const CommandImage* Find(Command command) {
    for (const CommandImage& image : kImages)
        if (image.command == command)
            return &image;
    return nullptr;
}

// Drawn once at each size (and twice that for high-density screens), so the menus get the small
// drawing and the toolbar the large one from the same icon.
void AddSizes(QIcon& icon, const QString& file, QSize size) {
    const QIcon drawing(file);
    for (int scale : {1, 2})
        icon.addPixmap(drawing.pixmap(size * scale));
}

} // namespace

QString CommandIconName(Command command) {
    const CommandImage* image = Find(command);
    return image ? QString::fromLatin1(image->name) : QString();
}

QIcon CommandIcon(Command command) {
    const CommandImage* image = Find(command);
    if (!image)
        return {};
    const QString name = QString::fromLatin1(image->name);
    QIcon icon;
    AddSizes(icon, QStringLiteral(":/icons/") + name + QStringLiteral(".svg"), QSize(16, 16));
    if (image->onToolbar)
        AddSizes(icon, QStringLiteral(":/icons/toolbar/") + name + QStringLiteral(".svg"), QSize(34, 32));
    return icon;
}

} // namespace tessaly
