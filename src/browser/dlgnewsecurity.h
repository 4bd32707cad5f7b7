#pragma once

#include "engine/messagebox.h"
#include "engine/profile.h"

#include <QDialog>
#include <QString>

#include <filesystem>
#include <functional>
#include <vector>

class QLineEdit;
class QPushButton;

namespace tessaly {

class CLeftTreeView;
class CRightListView;
class HelpFile;

// What the dialogs that add securities and folders need of the main window.
struct BrowserContext {
    CLeftTreeView& tree;
    CRightListView& list;
    MessageBoxes& messages;
    // Where the progress window keeps its place; null to keep it nowhere.
    Profile* profile = nullptr;
    const HelpFile& help;
    // The symbol database files the lists are read from, the first usable one winning.
    std::vector<std::filesystem::path> symbolDatabases;
    // Asks for a folder (title, starting folder); empty when the user gives none.
    std::function<QString(QWidget*, const QString&, const QString&)> pickFolder;
};

// The Add New Security dialog: creates an empty data file for each typed or listed symbol in the
// output folder, asking before it empties a file that exists, and lists the new securities when
// the output folder is the one the list shows.
class CDlgNewSecurity final : public QDialog {
    Q_OBJECT
public:
    // Beyond this many characters of symbols the progress window shows how far the adding has come.
    static constexpr int kProgressThreshold = 200;
    static constexpr int kMaxSymbolsText = 1 << 22;

    CDlgNewSecurity(QWidget* parent, BrowserContext context);

    QLineEdit* SymbolsEdit() const { return symbolsEdit_; }
    QLineEdit* FolderEdit() const { return folderEdit_; }
    QString Symbols() const { return symbols_; }
    QString OutputFolder() const { return outputFolder_; }

    // The "&Lists...", "&Browse..." and "&Add " buttons.
    void ShowLists();
    void Browse();
    void Add();

private:
    // Stores what the fields hold, and shows what is stored.
    void TakeFields();
    void RefreshFields();

    BrowserContext context_;
    QLineEdit* symbolsEdit_;
    QLineEdit* folderEdit_;
    QString symbols_;
    QString outputFolder_;
};

} // namespace tessaly
