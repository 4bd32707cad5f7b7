#pragma once

#include "convert/conversionoptionholder.h"
#include "engine/messagebox.h"
#include "engine/profile.h"
#include "ui/helpfile.h"

#include <QMainWindow>

#include <map>

class QAction;
class QMenu;
class QSplitter;

namespace tessaly {

class CKeyIndicators;
class CLeftTreeView;
class CRightListView;
class HelpFile;
struct BrowserContext;

// The main window: the folder tree and the securities list side by side in a splitter. It holds the
// current conversion option from start to a confirmed exit.
class CMainFrame final : public QMainWindow, public ConversionOptionHolder {
    Q_OBJECT
public:
    // `profile` holds the settings read at start and written at a confirmed exit; `writeSettings`
    // is false when the settings file could not be read, so it is never written over.
    CMainFrame(Profile& profile, MessageBoxes& messages, bool writeSettings, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CLeftTreeView& Tree() { return *tree_; }
    CRightListView& List() { return *list_; }
    // The "CAP", "NUM" and "SCRL" panes of the status bar.
    CKeyIndicators& KeyIndicators() { return *keyIndicators_; }
    // The program's help pages, for every dialog with a Help button.
    const HelpFile& Help() const { return help_; }
    // Asks "Are you sure you want to exit Tessaly?"; on Yes saves the settings and closes.
    void Exit();

    // Command ids of the menus, the toolbar and the context menu.
    enum class Command {
        Open = 32777,
        Properties = 32779,
        Exit = 57665,
        Delete = 32773,
        Cut = 57635,
        Copy = 57634,
        Paste = 57637,
        SelectAll = 32774,
        ToggleStatusBar = 59393,
        LargeIcons = 32785,
        SmallIcons = 32786,
        List = 32787,
        Reports = 32788,
        About = 57664,
        Charts = 32791,
        Fundamentals = 32790,
        Settings = 32800,
        NewSecurity = 57600,
        NewFolder = 32775,
        Report = 143,
        Download = 139,
        ConvertToAscii = 146,
        ConvertToMetastock = 156,
        UpdateSymbolDatabase = 32806,
        CheckForUpdates = 32809,
        Contents = 32804,
    };
    QAction* Action(Command command) const { return actions_.at(command); }
    // Enables every command by its rule; run whenever a menu opens and when the list changes.
    void UpdateCommands();

    ConversionOption CurrentOption() const override { return currentOption_; }
    void SetCurrentOption(const ConversionOption& option) override { currentOption_ = option; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void OnFolderSelected(const QString& folder);
    void OpenWebPage(bool charts);
    BrowserContext MakeBrowserContext();
    // File > New > Security and Folder, Tools > Update symbol database.
    void NewSecurity();
    void NewFolder();
    void UpdateSymbolDatabaseFile();
    void ShowListContextMenu(const QPoint& position);
    void ConvertToAscii();
    void ConvertToMetastock();
    QAction* AddCommand(QMenu* menu, Command command, const QString& text, const QString& prompt);

    Profile& profile_;
    MessageBoxes& messages_;
    bool writeSettings_;
    bool exitConfirmed_ = false;
    QSplitter* splitter_;
    CLeftTreeView* tree_;
    CRightListView* list_;
    CKeyIndicators* keyIndicators_ = nullptr;
    QString lastDirectory_;
    ConversionOption currentOption_;
    std::map<Command, QAction*> actions_;
    HelpFile help_;
};

} // namespace tessaly
