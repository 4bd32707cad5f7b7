#include "app/mainframe.h"

#include "browser/lefttreeview.h"
#include "browser/rightlistview.h"
#include "engine/version.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>

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
    QAction* exit = file->addAction(tr("E&xit"));
    exit->setStatusTip(tr("Quit the application; prompts to save documents"));
    connect(exit, &QAction::triggered, this, &CMainFrame::Exit);

    connect(tree_, &CLeftTreeView::FolderSelected, this, &CMainFrame::OnFolderSelected);
    const std::string last = profile_.GetString(kOptionSection, kLastDirectory, "");
    tree_->RestoreLastFolder(QString::fromStdString(last));
}

void CMainFrame::OnFolderSelected(const QString& folder) {
    lastDirectory_ = folder;
    const QString name = QDir(folder).dirName();
    setWindowTitle(
        QStringLiteral("%1 [%2]").arg(QString::fromUtf8(kApplicationTitle.data(), kApplicationTitle.size()),
                                      name.isEmpty() ? folder : name));
    list_->ShowFolder(folder.toStdString());
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
