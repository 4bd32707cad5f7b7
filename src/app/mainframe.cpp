#include "app/mainframe.h"

#include "app/aboutdlg.h"
#include "app/commandicons.h"
#include "app/dlgsettings.h"
#include "app/downloadcommands.h"
#include "app/keyindicators.h"
#include "app/symboldatabaseupdate.h"
#include "app/updates.h"
#include "app/webdatapages.h"
#include "browser/dlgnewfolder.h"
#include "browser/dlgnewsecurity.h"
#include "browser/dlgproperties.h"
#include "browser/lefttreeview.h"
#include "browser/rightlistview.h"
#include "browser/symboldatabase.h"
#include "convert/dlgconvert.h"
#include "convert/dlgconvert2ms.h"
#include "engine/curlsession.h"
#include "engine/endpoints.h"
#include "engine/folders.h"
#include "engine/securityfiles.h"
#include "engine/version.h"
#include "ui/helpfile.h"
#include "ui/menuxpstyle.h"
#include "ui/ooextoolbar.h"
#include "ui/progresswnd.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>

namespace tessaly {

namespace {
constexpr std::string_view kOptionSection = "CurrentOption";

// A box shown while a modal progress window disables the main window would be disabled with it:
// the progress window steps aside first.
class ProgressMessages final : public MessageBoxes {
public:
    ProgressMessages(CProgressWnd& progress, MessageBoxes& messages)
        : progress_(progress)
        , messages_(messages) {}
    MessageAnswer Show(std::string_view text, std::string_view caption, MessageButtons buttons,
                       MessageIcon icon) override {
        progress_.EndModal();
        return messages_.Show(text, caption, buttons, icon);
    }

private:
    CProgressWnd& progress_;
    MessageBoxes& messages_;
};

constexpr std::string_view kLastDirectory = "LastDirectory";
} // namespace

CMainFrame::CMainFrame(Profile& profile, MessageBoxes& messages, bool writeSettings, QWidget* parent)
    : QMainWindow(parent)
    , profile_(profile)
    , messages_(messages)
    , writeSettings_(writeSettings)
    , splitter_(new QSplitter(this))
    , tree_(new CLeftTreeView(splitter_))
    , list_(new CRightListView(splitter_))
    , currentOption_(LoadCurrentOption(profile))
    , help_(AssetFolder() / "help") {
    InstallMenuHook(profile_);
    EnableMenuLook(this);
    setWindowTitle(QString::fromUtf8(kApplicationTitle.data(), kApplicationTitle.size()));
    setCentralWidget(splitter_);
    const int screenWidth = screen() ? screen()->availableGeometry().width() : 1024;
    splitter_->setSizes({screenWidth / 5, screenWidth - screenWidth / 5});
    statusBar()->showMessage(QString());
    keyIndicators_ = new CKeyIndicators(*statusBar());

    QMenu* file = menuBar()->addMenu(tr("&File"));
    QMenu* fileNew = file->addMenu(tr("&New"));
    QAction* newSecurity =
        AddCommand(fileNew, Command::NewSecurity, tr("&Security"), tr("Create a new security"));
    newSecurity->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    connect(newSecurity, &QAction::triggered, this, &CMainFrame::NewSecurity);
    connect(AddCommand(fileNew, Command::NewFolder, tr("&Folder"), tr("Create a new folder")),
            &QAction::triggered, this, &CMainFrame::NewFolder);
    QAction* open = AddCommand(file, Command::Open, tr("&Open"), tr("Display data for selected security"));
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(open, &QAction::triggered, list_, &CRightListView::ShowSecurityData);
    QAction* properties =
        AddCommand(file, Command::Properties, tr("&Properties"), tr("Display properties for the security"));
    connect(properties, &QAction::triggered, this, [this] {
        CDlgProperties dialog(this, list_->Folder(), list_->FirstSelectedFileName());
        dialog.exec();
    });
    file->addSeparator();
    connect(
        AddCommand(file, Command::Exit, tr("E&xit"), tr("Quit the application; prompts to save documents")),
        &QAction::triggered, this, &CMainFrame::Exit);

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    QAction* remove = AddCommand(edit, Command::Delete, tr("&Delete"), tr("Delete selected security"));
    remove->setShortcut(QKeySequence::Delete);
    connect(remove, &QAction::triggered, this, [this] { list_->DeleteSelectedSecurities(messages_); });
    edit->addSeparator();
    QAction* cut =
        AddCommand(edit, Command::Cut, tr("C&ut"), tr("Cut the selection and put it on the Clipboard"));
    cut->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::SHIFT | Qt::Key_Delete)});
    connect(cut, &QAction::triggered, this, [this] { list_->CopySelectedSecurities(true); });
    QAction* copy =
        AddCommand(edit, Command::Copy, tr("&Copy"), tr("Copy the selection and put it on the Clipboard"));
    copy->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)});
    connect(copy, &QAction::triggered, this, [this] { list_->CopySelectedSecurities(false); });
    QAction* paste = AddCommand(edit, Command::Paste, tr("&Paste"), tr("Insert Clipboard contents"));
    paste->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)});
    connect(paste, &QAction::triggered, this, [this] { tree_->PasteSecurities(*list_, messages_); });
    edit->addSeparator();
    QAction* selectAll = AddCommand(edit, Command::SelectAll, tr("&Select All"), tr("Select all items"));
    selectAll->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    connect(selectAll, &QAction::triggered, list_, &CRightListView::SelectAllSecurities);

    QMenu* view = menuBar()->addMenu(tr("&View"));
    QAction* statusBarAction =
        AddCommand(view, Command::ToggleStatusBar, tr("&Status Bar"), tr("Show or hide the status bar"));
    statusBarAction->setCheckable(true);
    statusBarAction->setChecked(true);
    connect(statusBarAction, &QAction::toggled, statusBar(), &QWidget::setVisible);

    view->addSeparator();
    QAction* report =
        AddCommand(view, Command::Report, tr("Last Collection &Report"), tr("View last download report"));
    connect(report, &QAction::triggered, this, [this] { OpenLastDownloadReport(this); });
    QMenu* showAs = view->addMenu(tr("&Show As"));
    auto* viewTypes = new QActionGroup(this);
    const std::pair<Command, CRightListView::ViewType> types[] = {
        {Command::LargeIcons, CRightListView::ViewType::LargeIcons},
        {Command::SmallIcons, CRightListView::ViewType::SmallIcons},
        {Command::List, CRightListView::ViewType::List},
        {Command::Reports, CRightListView::ViewType::Report}};
    const QString names[] = {tr("Large Icons"), tr("Small Icons"), tr("List"), tr("Reports")};
    for (int i = 0; i < 4; ++i) {
        QAction* action = AddCommand(showAs, types[i].first, names[i], QString());
        action->setCheckable(true);
        viewTypes->addAction(action);
        const CRightListView::ViewType type = types[i].second;
        connect(action, &QAction::triggered, this, [this, type] { list_->SetViewType(type); });
    }
    Action(Command::Reports)->setChecked(true);

    QMenu* tools = menuBar()->addMenu(tr("&Tools"));
    QAction* download =
        AddCommand(tools, Command::Download, tr("&Download "), tr("Download historic security data"));
    connect(download, &QAction::triggered, this, [this] {
        if (Action(Command::Download)->isEnabled())
            OpenDownloadDialog(this, *list_, profile_, writeSettings_, messages_);
    });
    QMenu* webData = tools->addMenu(tr("&Web data"));
    connect(AddCommand(webData, Command::Charts, tr("Charts"), QString()), &QAction::triggered, this,
            [this] { OpenWebPage(true); });
    connect(AddCommand(webData, Command::Fundamentals, tr("Fundamentals"),
                       tr("View fundamental data for selected security")),
            &QAction::triggered, this, [this] { OpenWebPage(false); });
    // The conversions come before the Web data submenu.
    for (QAction* convert : {AddCommand(tools, Command::ConvertToAscii, tr("&Convert to ASCII"),
                                        tr("Convert files to ASCII format")),
                             AddCommand(tools, Command::ConvertToMetastock, tr("Convert to &Metastock"),
                                        tr("Convert files to MetaStock format"))})
        tools->insertAction(webData->menuAction(), convert);
    connect(Action(Command::ConvertToAscii), &QAction::triggered, this, &CMainFrame::ConvertToAscii);
    connect(Action(Command::ConvertToMetastock), &QAction::triggered, this, &CMainFrame::ConvertToMetastock);
    tools->addSeparator();
    connect(AddCommand(tools, Command::UpdateSymbolDatabase, tr("&Update symbol database"),
                       tr("Download and update symbol lists")),
            &QAction::triggered, this, &CMainFrame::UpdateSymbolDatabaseFile);
    connect(AddCommand(tools, Command::CheckForUpdates, tr("C&heck for product updates"), QString()),
            &QAction::triggered, this, [this] {
                // A silent server is given up after a while; the window keeps answering meanwhile.
                CurlLimits limits;
                limits.connectTimeout = std::chrono::seconds(10);
                limits.stallTimeout = std::chrono::seconds(15);
                limits.totalTimeout = std::chrono::seconds(20);
                CUpdates updates(LoadEndpoints(profile_).makerHost, messages_,
                                 std::make_shared<CurlTransport>(limits), this);
                updates.exec();
            });
    tools->addSeparator();
    connect(AddCommand(tools, Command::Settings, tr("&Settings..."),
                       tr("Set the servers Tessaly gets its quotes from")),
            &QAction::triggered, this, [this] {
                CDlgSettings settings(profile_, this);
                settings.exec();
            });

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    connect(AddCommand(help, Command::Contents, tr("&Contents"), tr("Show help files")), &QAction::triggered,
            this, [this] { help_.ShowTopic(this, QString::fromLatin1(HelpFile::kContentsTopic)); });
    help->addSeparator();
    connect(AddCommand(help, Command::About, tr("&About"),
                       tr("Display program information, version number and copyright")),
            &QAction::triggered, this, [this] {
                CAboutDlg about(this, QString::fromStdString(LoadEndpoints(profile_).makerHost));
                about.exec();
            });

    auto* toolBar = new COOBmpToolBar(tr("Standard"), this);
    addToolBar(Qt::TopToolBarArea, toolBar);
    toolBar->setObjectName(QStringLiteral("toolBar"));
    toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolBar->setIconSize(QSize(34, 32));
    open->setIconText(tr("Open"));
    properties->setIconText(tr("Properties"));
    remove->setIconText(tr("Delete"));
    newSecurity->setIconText(tr("New"));
    toolBar->addAction(newSecurity);
    // The arrow beside New offers both things New can make.
    auto* newMenu = new QMenu(this);
    newMenu->addAction(newSecurity);
    newMenu->addAction(Action(Command::NewFolder));
    connect(newMenu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommands);
    toolBar->AddDropDown(newSecurity, newMenu);
    toolBar->addAction(open);
    toolBar->addAction(properties);
    toolBar->addSeparator();
    toolBar->addAction(remove);
    toolBar->addSeparator();
    report->setIconText(tr("Report"));
    download->setIconText(tr("Download"));
    toolBar->addAction(report);
    toolBar->addAction(download);
    // Every command with an image shows it in the menus and, for the toolbar's, on its button.
    for (const auto& [command, action] : actions_)
        action->setIcon(CommandIcon(command));
    QAction* toolBarAction = toolBar->toggleViewAction();
    toolBarAction->setText(tr("&Toolbar"));
    toolBarAction->setStatusTip(tr("Show or hide the toolbar"));
    view->insertAction(statusBarAction, toolBarAction);

    for (QMenu* menu : {file, fileNew, edit, view, showAs, tools, webData, help})
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommands);
    connect(&list_->Model(), &QAbstractItemModel::rowsInserted, this, &CMainFrame::UpdateCommands);
    connect(&list_->Model(), &QAbstractItemModel::rowsRemoved, this, &CMainFrame::UpdateCommands);
    connect(&list_->Model(), &QAbstractItemModel::modelReset, this, &CMainFrame::UpdateCommands);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list_, &QWidget::customContextMenuRequested, this, &CMainFrame::ShowListContextMenu);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &CMainFrame::UpdateCommands);
    connect(list_, &CRightListView::DisplayModeChanged, this, &CMainFrame::UpdateCommands);
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CMainFrame::UpdateCommands);

    connect(tree_, &CLeftTreeView::FolderSelected, this, &CMainFrame::OnFolderSelected);
    connect(tree_, &CLeftTreeView::FocusChanged, this, &CMainFrame::UpdateCommands);
    connect(tree_, &CLeftTreeView::FolderRefused, this, [this](const QString& folder) {
        messages_.Show("The folder " + folder.toStdString() + " cannot be opened.", "", MessageButtons::Ok,
                       MessageIcon::Warning);
    });
    // F6 and Shift+F6 move the keyboard focus to the other pane.
    for (const QKeySequence& key : {QKeySequence(Qt::Key_F6), QKeySequence(Qt::SHIFT | Qt::Key_F6)}) {
        auto* nextPane = new QAction(this);
        nextPane->setShortcut(key);
        connect(nextPane, &QAction::triggered, this, [this] {
            if (tree_->hasFocus())
                list_->setFocus(Qt::ShortcutFocusReason);
            else
                tree_->setFocus(Qt::ShortcutFocusReason);
        });
        addAction(nextPane);
    }
    // The tree is the active pane at start.
    tree_->setFocus(Qt::OtherFocusReason);
    const std::string last = profile_.GetString(kOptionSection, kLastDirectory, "");
    tree_->RestoreLastFolder(QString::fromStdString(last));
    UpdateCommands();
}

CMainFrame::~CMainFrame() {
    // The panes are destroyed after this frame's members; their last signals (focus leaving the
    // tree, the list emptying) must not reach it.
    for (const QObject* sender : std::initializer_list<const QObject*>{
             tree_, list_, &list_->Model(), list_->selectionModel(), QApplication::clipboard()})
        disconnect(sender, nullptr, this, nullptr);
    RemoveMenuHook();
}

void CMainFrame::OnFolderSelected(const QString& folder) {
    lastDirectory_ = folder;
    setWindowTitle(QStringLiteral("%1 [%2]").arg(
        QString::fromUtf8(kApplicationTitle.data(), kApplicationTitle.size()), tree_->CurrentTitle()));
    list_->ShowFolder(folder.toStdString());
}

QAction* CMainFrame::AddCommand(QMenu* menu, Command command, const QString& text, const QString& prompt) {
    QAction* action = menu->addAction(text);
    action->setStatusTip(prompt);
    action->setShortcutContext(Qt::WindowShortcut);
    actions_[command] = action;
    return action;
}

void CMainFrame::UpdateCommands() {
    const bool dataMode = list_->IsDataDisplayMode();
    const bool hasRows = list_->Model().rowCount() > 0 && !dataMode;
    const bool listRule = hasRows && list_->HasSelection();
    Action(Command::Open)->setEnabled(listRule);
    Action(Command::Properties)->setEnabled(listRule);
    Action(Command::Delete)->setEnabled(listRule);
    Action(Command::Copy)->setEnabled(listRule);
    Action(Command::Cut)->setEnabled(listRule);
    Action(Command::Charts)->setEnabled(listRule);
    Action(Command::Fundamentals)->setEnabled(listRule);
    Action(Command::ConvertToAscii)->setEnabled(listRule);
    Action(Command::ConvertToMetastock)->setEnabled(listRule);
    Action(Command::Download)->setEnabled(listRule);
    const QMimeData* clipboard = QApplication::clipboard()->mimeData();
    Action(Command::Paste)
        ->setEnabled(!dataMode && clipboard && clipboard->hasText() && !clipboard->text().isEmpty());
    Action(Command::SelectAll)->setEnabled(hasRows);
    Action(Command::NewSecurity)->setEnabled(true);
    Action(Command::NewFolder)->setEnabled(tree_->HasFocus());
    Action(Command::UpdateSymbolDatabase)->setEnabled(true);
    for (Command command : {Command::LargeIcons, Command::SmallIcons, Command::List, Command::Reports})
        Action(command)->setEnabled(hasRows);
}

BrowserContext CMainFrame::MakeBrowserContext() {
    return BrowserContext{
        *tree_,    *list_,
        messages_, &profile_,
        help_,     {UserDataFolder() / SymbolDatabase::kFileName, AssetFolder() / SymbolDatabase::kFileName},
        {}};
}

void CMainFrame::NewSecurity() {
    // The pane that has the focus opens the dialog.
    QWidget* pane = tree_->HasFocus() ? static_cast<QWidget*>(tree_) : static_cast<QWidget*>(list_);
    CDlgNewSecurity dialog(pane, MakeBrowserContext());
    dialog.exec();
    UpdateCommands();
}

void CMainFrame::NewFolder() {
    CDlgNewFolder dialog(tree_, MakeBrowserContext());
    dialog.exec();
    UpdateCommands();
}

void CMainFrame::UpdateSymbolDatabaseFile() {
    const QString title = tr("Updating symbol database ...");
    CProgressWnd progress(this, title, true, &profile_);
    progress.BeginModal(title, true);
    progress.ResizeWindow(0, 250);
    CurlLimits limits;
    limits.maxBodyBytes = kMaxSymbolDatabaseBytes;
    CurlTransport transport(limits);
    ProgressMessages messages(progress, messages_);
    UpdateSymbolDatabase(transport, LoadEndpoints(profile_), UserDataFolder(), progress, messages);
}

void CMainFrame::OpenWebPage(bool charts) {
    const std::string fileName = list_->FirstSelectedFileName();
    if (fileName.empty())
        return;
    const QString symbol = QString::fromStdString(SymbolFromFileName(fileName));
    const QString base = QString::fromStdString(WebPagesBase(LoadEndpoints(profile_)));
    QDesktopServices::openUrl(charts ? ChartsPageUrl(symbol, base) : FundamentalsPageUrl(symbol, base));
}

void CMainFrame::ShowListContextMenu(const QPoint& position) {
    if (!list_->HasSelection())
        return;
    UpdateCommands();
    QMenu menu(this);
    menu.addAction(Action(Command::Open));
    menu.addAction(Action(Command::Properties));
    menu.addSeparator();
    menu.addAction(Action(Command::Delete));
    menu.addAction(Action(Command::Copy));
    menu.addAction(Action(Command::Cut));
    menu.addSeparator();
    menu.addAction(Action(Command::Download));
    menu.addAction(Action(Command::ConvertToAscii));
    menu.addAction(Action(Command::ConvertToMetastock));
    QMenu* webData = menu.addMenu(tr("Web Data"));
    webData->addAction(Action(Command::Charts));
    webData->addAction(Action(Command::Fundamentals));
    menu.exec(list_->mapToGlobal(position));
}

void CMainFrame::ConvertToAscii() {
    CDlgConvert dialog(QString::fromStdString(list_->SelectedSymbolsText()), list_->Folder(), *this, profile_,
                       messages_, help_, this);
    dialog.exec();
}

void CMainFrame::ConvertToMetastock() {
    CDlgConvert2MS dialog(QString::fromStdString(list_->SelectedSymbolsText()), list_->Folder(), messages_,
                          this);
    dialog.exec();
}

void CMainFrame::Exit() {
    close();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!exitConfirmed_) {
        if (messages_.Show("Are you sure you want to exit Tessaly?", "", MessageButtons::YesNo,
                           MessageIcon::Question) != MessageAnswer::Yes) {
            event->ignore();
            return;
        }
        exitConfirmed_ = true;
        if (writeSettings_) {
            SaveCurrentOption(profile_, currentOption_);
            profile_.WriteString(kOptionSection, kLastDirectory, lastDirectory_.toStdString());
        }
    }
    event->accept();
}

} // namespace tessaly
