#include "app/mainframe.h"

#include "app/aboutdlg.h"
#include "app/dlgsettings.h"
#include "app/downloadcommands.h"
#include "app/webdatapages.h"
#include "browser/dlgproperties.h"
#include "browser/lefttreeview.h"
#include "browser/rightlistview.h"
#include "engine/securityfiles.h"
#include "engine/version.h"

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
constexpr std::string_view kLastDirectory = "LastDirectory";
} // namespace

CMainFrame::CMainFrame(Profile& profile, MessageBoxes& messages, bool writeSettings, QWidget* parent)
    : QMainWindow(parent)
    , profile_(profile)
    , messages_(messages)
    , writeSettings_(writeSettings)
    , splitter_(new QSplitter(this))
    , tree_(new CLeftTreeView(splitter_))
    , list_(new CRightListView(splitter_)) {
    setWindowTitle(QString::fromUtf8(kApplicationTitle.data(), kApplicationTitle.size()));
    setCentralWidget(splitter_);
    const int screenWidth = screen() ? screen()->availableGeometry().width() : 1024;
    splitter_->setSizes({screenWidth / 5, screenWidth - screenWidth / 5});
    statusBar()->showMessage(QString());

    QMenu* file = menuBar()->addMenu(tr("&File"));
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
    tools->addSeparator();
    connect(AddCommand(tools, Command::Settings, tr("&Settings..."),
                       tr("Set the servers Tessaly gets its quotes from")),
            &QAction::triggered, this, [this] {
                CDlgSettings settings(profile_, this);
                settings.exec();
            });

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    connect(AddCommand(help, Command::About, tr("&About"),
                       tr("Display program information, version number and copyright")),
            &QAction::triggered, this, [this] {
                CAboutDlg about(this);
                about.exec();
            });

    QToolBar* toolBar = addToolBar(tr("Standard"));
    toolBar->setObjectName(QStringLiteral("toolBar"));
    toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolBar->setIconSize(QSize(34, 32));
    open->setIcon(QIcon(QStringLiteral(":/icons/open.svg")));
    open->setIconText(tr("Open"));
    properties->setIcon(QIcon(QStringLiteral(":/icons/properties.svg")));
    properties->setIconText(tr("Properties"));
    remove->setIcon(QIcon(QStringLiteral(":/icons/delete.svg")));
    remove->setIconText(tr("Delete"));
    toolBar->addAction(open);
    toolBar->addAction(properties);
    toolBar->addSeparator();
    toolBar->addAction(remove);
    toolBar->addSeparator();
    report->setIcon(QIcon(QStringLiteral(":/icons/report.svg")));
    report->setIconText(tr("Report"));
    download->setIcon(QIcon(QStringLiteral(":/icons/download.svg")));
    download->setIconText(tr("Download"));
    toolBar->addAction(report);
    toolBar->addAction(download);
    QAction* toolBarAction = toolBar->toggleViewAction();
    toolBarAction->setText(tr("&Toolbar"));
    toolBarAction->setStatusTip(tr("Show or hide the toolbar"));
    view->insertAction(statusBarAction, toolBarAction);

    for (QMenu* menu : {file, edit, view, showAs, tools, webData, help})
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
    connect(tree_, &CLeftTreeView::FolderRefused, this, [this](const QString& folder) {
        messages_.Show("The folder " + folder.toStdString() + " cannot be opened.", "", MessageButtons::Ok,
                       MessageIcon::Warning);
    });
    const std::string last = profile_.GetString(kOptionSection, kLastDirectory, "");
    tree_->RestoreLastFolder(QString::fromStdString(last));
    UpdateCommands();
}

void CMainFrame::OnFolderSelected(const QString& folder) {
    lastDirectory_ = folder;
    const QString name = QDir(folder).dirName();
    setWindowTitle(
        QStringLiteral("%1 [%2]").arg(QString::fromUtf8(kApplicationTitle.data(), kApplicationTitle.size()),
                                      name.isEmpty() ? folder : name));
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
    Action(Command::Download)->setEnabled(listRule);
    const QMimeData* clipboard = QApplication::clipboard()->mimeData();
    Action(Command::Paste)
        ->setEnabled(!dataMode && clipboard && clipboard->hasText() && !clipboard->text().isEmpty());
    Action(Command::SelectAll)->setEnabled(hasRows);
    for (Command command : {Command::LargeIcons, Command::SmallIcons, Command::List, Command::Reports})
        Action(command)->setEnabled(hasRows);
}

void CMainFrame::OpenWebPage(bool charts) {
    const std::string fileName = list_->FirstSelectedFileName();
    if (fileName.empty())
        return;
    const QString symbol = QString::fromStdString(SymbolFromFileName(fileName));
    QDesktopServices::openUrl(charts ? ChartsPageUrl(symbol) : FundamentalsPageUrl(symbol));
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
    QMenu* webData = menu.addMenu(tr("Web Data"));
    webData->addAction(Action(Command::Charts));
    webData->addAction(Action(Command::Fundamentals));
    menu.exec(list_->mapToGlobal(position));
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
        if (writeSettings_)
            profile_.WriteString(kOptionSection, kLastDirectory, lastDirectory_.toStdString());
    }
    event->accept();
}

} // namespace tessaly
