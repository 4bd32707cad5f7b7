#pragma once

#include "engine/messagebox.h"
#include "engine/profile.h"

#include <QMainWindow>

class QSplitter;

namespace tessaly {

class CLeftTreeView;
class CRightListView;

// The main window: the folder tree and the securities list side by side in a splitter.
class CMainFrame final : public QMainWindow {
    Q_OBJECT
public:
    // `profile` holds the settings read at start and written at a confirmed exit; `writeSettings`
    // is false when the settings file could not be read, so it is never written over.
    CMainFrame(Profile& profile, MessageBoxes& messages, bool writeSettings, QWidget* parent = nullptr);

    CLeftTreeView& Tree() { return *tree_; }
    CRightListView& List() { return *list_; }
    // Asks "Are you sure you want to exit Tessaly?"; on Yes saves the settings and closes.
    void Exit();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void OnFolderSelected(const QString& folder);

    Profile& profile_;
    MessageBoxes& messages_;
    bool writeSettings_;
    bool exitConfirmed_ = false;
    QSplitter* splitter_;
    CLeftTreeView* tree_;
    CRightListView* list_;
    QString lastDirectory_;
};

} // namespace tessaly
