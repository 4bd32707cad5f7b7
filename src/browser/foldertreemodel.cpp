#include "browser/foldertreemodel.h"

#include <QFile>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace tessaly {

namespace {

std::filesystem::path ToPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QString FromName(const std::filesystem::path& name) {
    return QFile::decodeName(QByteArray::fromStdString(name.native()));
}

} // namespace

FolderTreeModel::FolderTreeModel(QObject* parent)
    : QStandardItemModel(parent)
    , openFolder_(QStringLiteral(":/icons/folder-open.svg"))
    , closedFolder_(QStringLiteral(":/icons/folder-closed.svg"))
    , drive_(QStringLiteral(":/icons/drive.svg"))
    , disc_(QStringLiteral(":/icons/drive-disc.svg")) {}

QStandardItem* FolderTreeModel::AddVolume(const VolumeRoot& volume) {
    auto* item = new QStandardItem(QString::fromStdString(volume.label));
    item->setData(PathOf(volume), PathRole);
    item->setData(static_cast<int>(volume.kind), KindRole);
    item->setData(false, ReadRole);
    item->setEditable(false);
    SetImage(item, false);
    appendRow(item);
    return item;
}

QString FolderTreeModel::PathOf(const VolumeRoot& volume) {
    const QString path = QString::fromStdString(volume.mountPoint);
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

QStandardItem* FolderTreeModel::AddItemToTreeView(const QString& name, QStandardItem* parent) {
    auto* item = new QStandardItem(name);
    item->setData(parent->data(PathRole).toString() + name + QLatin1Char('/'), PathRole);
    item->setData(kFolderKind, KindRole);
    item->setData(false, ReadRole);
    item->setEditable(false);
    item->setIcon(closedFolder_);
    parent->appendRow(item);
    return item;
}

QStandardItem* FolderTreeModel::ReadSubfolders(QStandardItem* item, const QString& keep) {
    if (item->data(ReadRole).toBool()) {
        for (int row = 0; row < item->rowCount(); ++row)
            if (item->child(row)->text() == keep)
                return item->child(row);
        return nullptr;
    }
    QStringList names;
    std::error_code error;
    std::filesystem::directory_iterator entries(ToPath(item->data(PathRole).toString()),
                                                std::filesystem::directory_options::skip_permission_denied,
                                                error);
    // A folder that cannot be listed (gone, no access, not ready) gets no children.
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        std::error_code typeError;
        if (!entries->is_directory(typeError))
            continue;
        const QString name = FromName(entries->path().filename());
        if (name.startsWith(QLatin1Char('.')) && name != keep)
            continue;
        names.push_back(name);
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int order = a.compare(b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
    item->setData(true, ReadRole);
    QStandardItem* kept = nullptr;
    for (const QString& name : names) {
        QStandardItem* child = AddItemToTreeView(name, item);
        if (name == keep)
            kept = child;
    }
    return kept;
}

void FolderTreeModel::DiscardSubfolders(QStandardItem* item) {
    if (item->rowCount() > 0)
        item->removeRows(0, item->rowCount());
    item->setData(false, ReadRole);
}

void FolderTreeModel::SetImage(QStandardItem* item, bool expanded) {
    const int kind = item->data(KindRole).toInt();
    if (kind != kFolderKind)
        item->setIcon(HasDiscImage(static_cast<VolumeKind>(kind)) ? disc_ : drive_);
    else
        item->setIcon(expanded ? openFolder_ : closedFolder_);
}

bool FolderTreeModel::hasChildren(const QModelIndex& parent) const {
    if (parent.isValid() && !parent.data(ReadRole).toBool())
        return true;
    return QStandardItemModel::hasChildren(parent);
}

bool FolderTreeModel::canFetchMore(const QModelIndex& parent) const {
    return parent.isValid() && !parent.data(ReadRole).toBool();
}

void FolderTreeModel::fetchMore(const QModelIndex& parent) {
    if (QStandardItem* item = itemFromIndex(parent); item && canFetchMore(parent))
        ReadSubfolders(item);
}

} // namespace tessaly
