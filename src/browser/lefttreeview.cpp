#include "browser/lefttreeview.h"

#include "browser/rightlistview.h"
#include "engine/atomicfile.h"
#include "engine/securityfiles.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QStringList>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <QDir>
#include <QFileInfo>

namespace tessaly {

CLeftTreeView::CLeftTreeView(QWidget* parent)
    : QTreeView(parent) {
    model_.setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    model_.setRootPath(QStringLiteral("/"));
    setModel(&model_);
    setHeaderHidden(true);
    for (int column = 1; column < model_.columnCount(); ++column)
        hideColumn(column);
    connect(this, &QTreeView::clicked, this, &CLeftTreeView::SelectFolder);
}

QString CLeftTreeView::RestoreLastFolder(const QString& path) {
    QString folder = QDir::cleanPath(path);
    while (!folder.isEmpty() && folder != QLatin1String("/") && !QFileInfo(folder).isDir())
        folder = QFileInfo(folder).path();
    if (path.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    const QModelIndex index = model_.index(folder);
    setCurrentIndex(index);
    scrollTo(index);
    SelectFolder(index);
    return current_;
}

void CLeftTreeView::SelectFolder(const QModelIndex& index) {
    if (!index.isValid())
        return;
    QString folder = model_.filePath(index);
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    if (!QDir::setCurrent(folder)) {
        if (!current_.isEmpty())
            setCurrentIndex(model_.index(current_));
        Q_EMIT FolderRefused(folder);
        return;
    }
    current_ = folder;
    Q_EMIT FolderSelected(current_);
}

namespace {

bool CopyWhole(const std::filesystem::path& source, const std::filesystem::path& target) {
    std::ifstream in(source, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad())
        return false;
    return AtomicFile::WriteWhole(target, content.str());
}

} // namespace

void CLeftTreeView::PasteSecurities(CRightListView& list, MessageBoxes& messages) {
    QClipboard* clipboard = QApplication::clipboard();
    const QMimeData* mime = clipboard->mimeData();
    if (!mime || !mime->hasText() || current_.isEmpty())
        return;
    const QString text = mime->text();
    // Only whole lines count; a last line without its line feed is not part of the transfer text.
    QStringList lines = text.split(QLatin1Char('\n'));
    lines.removeLast();
    if (lines.isEmpty())
        return;
    // A cut is honoured only when the text is this program's own, so no foreign text can move files.
    const bool cut = lines.front() == QLatin1String("1") &&
                     mime->data(QString::fromLatin1(kTransferMimeType)) == text.toUtf8();
    const std::filesystem::path folder = current_.toStdString();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool cancelled = false;
    qsizetype done = 1;
    for (; done < lines.size(); ++done) {
        const std::filesystem::path source = lines[done].toStdString();
        const std::string fileName = source.filename().string();
        std::error_code error;
        if (!IsSecurityFileName(fileName) || !std::filesystem::is_regular_file(source, error))
            continue;
        const std::filesystem::path target = folder / fileName;
        if (std::filesystem::exists(target, error)) {
            if (std::filesystem::equivalent(source, target, error))
                continue;
            const MessageAnswer answer =
                messages.Show("File " + fileName + " already exists. Do you want to overwrite it?", "",
                              MessageButtons::YesNoCancel, MessageIcon::Question);
            if (answer == MessageAnswer::Cancel) {
                cancelled = true;
                break;
            }
            if (answer == MessageAnswer::No)
                continue;
        }
        if (!CopyWhole(source, target))
            continue;
        if (cut)
            std::filesystem::remove(source, error);
        list.RemoveSecurityRows(SymbolFromFileName(fileName));
        list.AddSecurityRow(fileName, folder);
    }
    if (cancelled) {
        // The lines already dealt with come off the clipboard; the rest can still be pasted.
        QStringList rest{lines.front()};
        rest += lines.mid(done);
        const QString remaining = rest.join(QLatin1Char('\n')) + QLatin1Char('\n');
        auto* data = new QMimeData;
        data->setText(remaining);
        if (cut)
            data->setData(QString::fromLatin1(kTransferMimeType), remaining.toUtf8());
        clipboard->setMimeData(data);
    } else {
        clipboard->clear();
    }
    QApplication::restoreOverrideCursor();
}

} // namespace tessaly
