#include "browser/lefttreeview.h"

#include "browser/rightlistview.h"
#include "engine/atomicfile.h"
#include "engine/securityfiles.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFocusEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QMouseEvent>
#include <QStorageInfo>
#include <QStringList>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace tessaly {

namespace {

std::string ReadMountTable() {
    std::ifstream in("/proc/self/mounts");
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

CLeftTreeView::CLeftTreeView(QWidget* parent)
    : CLeftTreeView(MountedVolumeRoots(), parent) {
    // The mount table is cheap to read; the volumes are asked again only when it has changed.
    mountTable_ = ReadMountTable();
    mountWatch_.setInterval(2000);
    connect(&mountWatch_, &QTimer::timeout, this, [this] {
        std::string table = ReadMountTable();
        if (table == mountTable_)
            return;
        mountTable_ = std::move(table);
        RefreshVolumes(MountedVolumeRoots());
    });
    mountWatch_.start();
}

CLeftTreeView::CLeftTreeView(const std::vector<VolumeRoot>& volumes, QWidget* parent)
    : QTreeView(parent) {
    setModel(&model_);
    setHeaderHidden(true);
    // Long folder names are shown whole, with a horizontal scroll bar when the pane is narrow.
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setExpandsOnDoubleClick(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    RefreshVolumes(volumes);
    connect(this, &QTreeView::expanded, this,
            [this](const QModelIndex& index) { model_.SetImage(model_.itemFromIndex(index), true); });
    connect(this, &QTreeView::collapsed, this,
            [this](const QModelIndex& index) { model_.SetImage(model_.itemFromIndex(index), false); });
}

std::vector<VolumeRoot> CLeftTreeView::MountedVolumeRoots() {
    std::vector<MountedVolume> mounted;
    for (const QStorageInfo& storage : QStorageInfo::mountedVolumes()) {
        MountedVolume volume;
        volume.mountPoint = QFile::encodeName(storage.rootPath()).toStdString();
        volume.fileSystemType = storage.fileSystemType().toStdString();
        volume.device = storage.device().toStdString();
        volume.removable = IsRemovableDevice(volume.device);
        volume.isDirectory = QFileInfo(storage.rootPath()).isDir();
        mounted.push_back(std::move(volume));
    }
    return VolumeRoots(mounted);
}

void CLeftTreeView::RefreshVolumes(const std::vector<VolumeRoot>& volumes) {
    volumes_ = volumes;
    QModelIndex currentRoot = currentItem_;
    while (currentRoot.parent().isValid())
        currentRoot = currentRoot.parent();
    for (int row = model_.rowCount() - 1; row >= 0; --row) {
        const QString path = FolderTreeModel::PathOf(model_.index(row, 0));
        const bool mounted = std::any_of(volumes.begin(), volumes.end(), [&](const VolumeRoot& volume) {
            return FolderTreeModel::PathOf(volume) == path;
        });
        if (!mounted && !(currentRoot.isValid() && currentRoot.row() == row))
            model_.removeRow(row);
    }
    for (const VolumeRoot& volume : volumes) {
        bool shown = false;
        for (int row = 0; row < model_.rowCount() && !shown; ++row)
            shown = FolderTreeModel::PathOf(model_.index(row, 0)) == FolderTreeModel::PathOf(volume);
        if (!shown)
            model_.AddVolume(volume);
    }
}

QString CLeftTreeView::RestoreLastFolder(const QString& path) {
    const QString wanted =
        path.isEmpty() || !QDir::isAbsolutePath(path) ? QDir::homePath() : QDir::cleanPath(path);
    std::vector<VolumeRoot> roots;
    for (int row = 0; row < model_.rowCount(); ++row) {
        const QModelIndex index = model_.index(row, 0);
        roots.push_back({QFile::encodeName(FolderTreeModel::PathOf(index)).toStdString(), {}, {}});
    }
    const int root = VolumeOf(roots, QFile::encodeName(wanted).toStdString());
    if (root < 0)
        return current_;
    // Walk down from the volume, reading each folder on the way, as far as the path still exists.
    QStandardItem* item = model_.item(root);
    const QString below = wanted.mid(FolderTreeModel::PathOf(item->index()).size());
    std::vector<QStandardItem*> walk{item};
    for (const QString& name : below.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        QStandardItem* child = model_.ReadSubfolders(item, name);
        expand(item->index());
        if (!child)
            break;
        item = child;
        walk.push_back(item);
    }
    model_.ReadSubfolders(item);
    expand(item->index());
    // The deepest folder that can be made current becomes the current folder.
    for (auto step = walk.rbegin(); step != walk.rend(); ++step) {
        if (MakeCurrent((*step)->index()))
            break;
    }
    return current_;
}

void CLeftTreeView::ShowItem(const QModelIndex& index) {
    setCurrentIndex(index);
    scrollTo(index);
}

bool CLeftTreeView::MakeCurrent(const QModelIndex& index) {
    const QString folder = FolderTreeModel::PathOf(index);
    if (!QDir::setCurrent(folder)) {
        if (currentItem_.isValid())
            ShowItem(currentItem_);
        Q_EMIT FolderRefused(folder);
        return false;
    }
    ShowItem(index);
    current_ = folder;
    currentItem_ = index;
    title_ = FolderTreeModel::IsVolume(index) ? QDir::cleanPath(folder) : index.data().toString();
    Q_EMIT FolderSelected(current_);
    // A volume kept while it held the current folder goes now.
    if (model_.rowCount() != static_cast<int>(volumes_.size()))
        RefreshVolumes(std::vector<VolumeRoot>(volumes_));
    return true;
}

void CLeftTreeView::SelectFolder(const QModelIndex& index) {
    if (index.isValid())
        MakeCurrent(index);
}

void CLeftTreeView::ExpandFolder(const QModelIndex& index) {
    if (!index.isValid())
        return;
    ShowItem(index);
    QStandardItem* item = model_.itemFromIndex(index);
    if (isExpanded(index)) {
        collapse(index);
        model_.DiscardSubfolders(item);
        return;
    }
    if (item->data(FolderTreeModel::ReadRole).toBool() && item->rowCount() > 0) {
        expand(index);
        return;
    }
    // The press of the double-click has normally made the folder current and listed it already.
    if (FolderTreeModel::PathOf(index) != current_ && !MakeCurrent(index))
        return;
    model_.ReadSubfolders(item);
    expand(index);
}

void CLeftTreeView::AddSubfolder(const QString& name) {
    const QModelIndex parent = currentItem_;
    if (!parent.isValid()) {
        RestoreLastFolder(current_ + name);
        return;
    }
    QStandardItem* item = model_.itemFromIndex(parent);
    QStandardItem* child = model_.ReadSubfolders(item, name);
    if (!child)
        child = model_.AddItemToTreeView(name, item);
    expand(parent);
    MakeCurrent(child->index());
}

QModelIndex CLeftTreeView::IndexOfFolder(const QString& folder) const {
    if (folder.isEmpty())
        return {};
    const QModelIndexList found =
        model_.match(model_.index(0, 0), FolderTreeModel::PathRole, folder, 1,
                     Qt::MatchExactly | Qt::MatchCaseSensitive | Qt::MatchRecursive | Qt::MatchWrap);
    return found.isEmpty() ? QModelIndex() : found.front();
}

void CLeftTreeView::mousePressEvent(QMouseEvent* event) {
    QTreeView::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid())
        SelectFolder(index);
}

void CLeftTreeView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid())
        ExpandFolder(index);
}

void CLeftTreeView::focusInEvent(QFocusEvent* event) {
    QTreeView::focusInEvent(event);
    hasFocus_ = true;
    Q_EMIT FocusChanged(true);
}

void CLeftTreeView::focusOutEvent(QFocusEvent* event) {
    QTreeView::focusOutEvent(event);
    // A menu opened from the keyboard or the menu bar leaves the commands with the tree.
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::MenuBarFocusReason)
        return;
    hasFocus_ = false;
    Q_EMIT FocusChanged(false);
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
