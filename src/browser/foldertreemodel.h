#pragma once

#include "browser/volumes.h"

#include <QIcon>
#include <QStandardItemModel>

namespace tessaly {

// The items of the folder tree: volumes at the root, folders below them, read from the disk only
// on demand. Every item carries its real path, so nothing is rebuilt from the texts shown.
class FolderTreeModel final : public QStandardItemModel {
    Q_OBJECT
public:
    enum Role {
        // The item's folder, ending with "/".
        PathRole = Qt::UserRole + 1,
        // The VolumeKind of a root item; kFolderKind for a folder.
        KindRole,
        // The item's subfolders have been read (and not discarded since).
        ReadRole,
    };
    static constexpr int kFolderKind = -1;

    explicit FolderTreeModel(QObject* parent = nullptr);

    QStandardItem* AddVolume(const VolumeRoot& volume);
    // Adds a folder item named `name` as the last child of `parent`, with the closed folder image.
    QStandardItem* AddItemToTreeView(const QString& name, QStandardItem* parent);
    // Reads the subfolders of `item` as its children, sorted by name; hidden folders are left out
    // unless named `keep`. Returns the child named exactly `keep`, or nullptr.
    QStandardItem* ReadSubfolders(QStandardItem* item, const QString& keep = QString());
    // Drops the children of `item`, so that they are read again at its next expansion.
    void DiscardSubfolders(QStandardItem* item);
    // Gives `item` its image: a volume its drive image, a folder the open or closed folder.
    void SetImage(QStandardItem* item, bool expanded);

    // The folder of a volume's root item, ending with "/".
    static QString PathOf(const VolumeRoot& volume);
    static QString PathOf(const QModelIndex& index) { return index.data(PathRole).toString(); }
    static bool IsVolume(const QModelIndex& index) { return index.data(KindRole).toInt() != kFolderKind; }

    // A folder not read yet may have subfolders: it shows an expand button, which reads them.
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    QIcon openFolder_;
    QIcon closedFolder_;
    QIcon drive_;
    QIcon disc_;
};

} // namespace tessaly
