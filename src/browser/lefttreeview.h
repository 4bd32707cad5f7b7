#pragma once

#include <QFileSystemModel>
#include <QTreeView>

#include "engine/messagebox.h"

namespace tessaly {

class CRightListView;

// The folder tree, the left pane of the main window: the folders of the file system.
class CLeftTreeView final : public QTreeView {
    Q_OBJECT
public:
    explicit CLeftTreeView(QWidget* parent = nullptr);

    // Selects the deepest existing folder of `path` (the home folder when none exists) and makes it
    // current; returns the folder selected, ending with "/".
    QString RestoreLastFolder(const QString& path);
    QString CurrentFolder() const { return current_; }
    // Copies (or, for a cut of this program, moves) the security files named on the clipboard into
    // the current folder and adds their rows to `list`. A target is replaced only by a complete copy,
    // and a cut source is deleted only after that.
    void PasteSecurities(CRightListView& list, MessageBoxes& messages);

Q_SIGNALS:
    // A folder was selected; its path ends with "/".
    void FolderSelected(const QString& folder);
    // `folder` could not be made current; the previous folder stays current and selected.
    void FolderRefused(const QString& folder);

private:
    void SelectFolder(const QModelIndex& index);

    QFileSystemModel model_;
    QString current_;
};

} // namespace tessaly
