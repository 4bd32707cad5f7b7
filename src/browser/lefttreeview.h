#pragma once

#include "browser/foldertreemodel.h"
#include "browser/volumes.h"
#include "engine/messagebox.h"

#include <QPersistentModelIndex>
#include <QTimer>
#include <QTreeView>

#include <string>

#include <vector>

namespace tessaly {

class CRightListView;

// The folder tree, the left pane of the main window: the machine's volumes and, read on demand,
// their folders. A click makes a folder current, a double-click reads it anew.
class CLeftTreeView final : public QTreeView {
    Q_OBJECT
public:
    // The volumes of the mount table, followed as volumes come and go.
    explicit CLeftTreeView(QWidget* parent = nullptr);
    explicit CLeftTreeView(const std::vector<VolumeRoot>& volumes, QWidget* parent = nullptr);

    // The volumes a user would see in a file manager, from the system's mount table.
    static std::vector<VolumeRoot> MountedVolumeRoots();

    // Adds the volumes the tree lacks at the end and drops the roots no longer among `volumes`,
    // except the one that holds the current folder, which goes once another folder is current.
    void RefreshVolumes(const std::vector<VolumeRoot>& volumes);

    // Opens the tree down to the deepest existing folder of `path` (the home folder when `path` is
    // empty), selects it and makes it current; returns the current folder, ending with "/".
    QString RestoreLastFolder(const QString& path);
    QString CurrentFolder() const { return current_; }
    // What the window title shows of the current folder: its name, or a volume's mount point.
    QString CurrentTitle() const { return title_; }
    // Makes the folder of `index` current and has its securities listed.
    void SelectFolder(const QModelIndex& index);
    // A double-click: collapses an expanded item and discards its subfolders; expands one that
    // still holds them; otherwise selects it, reads its subfolders and expands it.
    void ExpandFolder(const QModelIndex& index);
    // Shows the folder `name` just created in the current folder as the last child of its item,
    // and makes it current.
    void AddSubfolder(const QString& name);
    // The item of `folder` among the items read so far; invalid when there is none.
    QModelIndex IndexOfFolder(const QString& folder) const;
    FolderTreeModel& Model() { return model_; }
    // Set while the tree has the keyboard focus; a menu or popup opening does not clear it.
    bool HasFocus() const { return hasFocus_; }

    // Copies (or, for a cut of this program, moves) the security files named on the clipboard into
    // the current folder and adds their rows to `list`. A target is replaced only by a complete copy,
    // and a cut source is deleted only after that.
    void PasteSecurities(CRightListView& list, MessageBoxes& messages);

Q_SIGNALS:
    // A folder was made current; its path ends with "/".
    void FolderSelected(const QString& folder);
    // `folder` could not be made current; the previous folder stays current and selected.
    void FolderRefused(const QString& folder);
    // The keyboard focus came or went.
    void FocusChanged(bool hasFocus);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void ShowItem(const QModelIndex& index);
    bool MakeCurrent(const QModelIndex& index);

    FolderTreeModel model_;
    // The volumes last known to be mounted.
    std::vector<VolumeRoot> volumes_;
    QTimer mountWatch_;
    std::string mountTable_;
    QString current_;
    // The item of the current folder; invalid once it has been discarded.
    QPersistentModelIndex currentItem_;
    QString title_;
    bool hasFocus_ = false;
};

} // namespace tessaly
