#pragma once

#include "browser/dlgnewsecurity.h"

#include <QDialog>

class QLineEdit;

namespace tessaly {

// The Add New Folder dialog: creates one subfolder of the current folder, makes it the current
// folder and selects it in the folder tree.
class CDlgNewFolder final : public QDialog {
    Q_OBJECT
public:
    CDlgNewFolder(QWidget* parent, BrowserContext context);

    QLineEdit* NameEdit() const { return nameEdit_; }
    QLineEdit* ParentEdit() const { return parentEdit_; }
    // The "&Add " button.
    void Add();

    // One folder name: not empty, not "." or "..", no "/" and no NUL.
    static bool IsFolderName(const QString& name);

private:
    BrowserContext context_;
    QLineEdit* nameEdit_;
    QLineEdit* parentEdit_;
};

} // namespace tessaly
