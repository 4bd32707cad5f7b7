#include "app/mainframe.h"
#include "app/settings/qsettingsprofile.h"
#include "browser/dlgnewfolder.h"
#include "browser/dlgnewsecurity.h"
#include "browser/lefttreeview.h"
#include "browser/rightlistview.h"
#include "engine/folders.h"
#include "fakemakerserver.h"
#include "support/foldertext.h"
#include "support/modaldialogs.h"
#include "support/scriptedmessageboxes.h"
#include "support/tempfolder.h"
#include "ui/progresswnd.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace Qt::StringLiterals;
using namespace tessaly;
using tessaly::test::Folder;
using tessaly::test::TempFolder;

namespace {

QStringList Texts(const QList<QAction*>& actions) {
    QStringList texts;
    for (const QAction* action : actions)
        texts << (action->isSeparator() ? u"-"_s : action->text());
    return texts;
}

QMenu* MenuNamed(const QList<QAction*>& actions, const QString& text) {
    for (QAction* action : actions)
        if (action->text() == text)
            return action->menu();
    return nullptr;
}

} // namespace

// The New commands and the symbol database update as the main window offers them.
class NewCommandsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        data_ = std::make_unique<TempFolder>();
        settings_ = std::make_unique<TempFolder>();
        profile_ = std::make_unique<QSettingsProfile>(
            QString::fromStdString((settings_->Path() / "Tessaly.conf").string()));
        profile_->WriteString("CurrentOption", "LastDirectory", Folder(data_->Path()).toStdString());
        messages_ = test::ScriptedMessageBoxes();
    }
    void cleanup() {
        profile_.reset();
        settings_.reset();
        data_.reset();
    }

    void MenusAndToolbarOfferTheCommands() {
        CMainFrame frame(*profile_, messages_, true);
        QMenu* file = MenuNamed(frame.menuBar()->actions(), u"&File"_s);
        QVERIFY(file);
        QCOMPARE(file->actions().front()->text(), u"&New"_s);
        QMenu* fileNew = file->actions().front()->menu();
        QVERIFY(fileNew);
        QCOMPARE(Texts(fileNew->actions()), (QStringList{u"&Security"_s, u"&Folder"_s}));
        QCOMPARE(frame.Action(CMainFrame::Command::NewSecurity)->shortcut(),
                 QKeySequence(Qt::CTRL | Qt::Key_N));
        QCOMPARE(frame.Action(CMainFrame::Command::NewSecurity)->statusTip(), u"Create a new security"_s);
        QCOMPARE(frame.Action(CMainFrame::Command::NewFolder)->statusTip(), u"Create a new folder"_s);

        QMenu* tools = MenuNamed(frame.menuBar()->actions(), u"&Tools"_s);
        QVERIFY(tools);
        const QStringList toolTexts = Texts(tools->actions());
        const qsizetype web = toolTexts.indexOf(u"&Web data"_s);
        QVERIFY(web >= 0);
        QCOMPARE(toolTexts.mid(web, 3), (QStringList{u"&Web data"_s, u"-"_s, u"&Update symbol database"_s}));
        QCOMPARE(frame.Action(CMainFrame::Command::UpdateSymbolDatabase)->statusTip(),
                 u"Download and update symbol lists"_s);

        auto* toolBar = frame.findChild<QToolBar*>(u"toolBar"_s);
        QVERIFY(toolBar);
        QCOMPARE(toolBar->actions().front(), frame.Action(CMainFrame::Command::NewSecurity));
        auto* newButton = qobject_cast<QToolButton*>(toolBar->widgetForAction(toolBar->actions().front()));
        QVERIFY(newButton);
        QCOMPARE(newButton->popupMode(), QToolButton::MenuButtonPopup);
        QVERIFY(newButton->menu());
        QCOMPARE(Texts(newButton->menu()->actions()), (QStringList{u"&Security"_s, u"&Folder"_s}));
    }

    void NewFolderNeedsTheTreeFocus() {
        CMainFrame frame(*profile_, messages_, true);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        frame.activateWindow();
        frame.List().setFocus();
        QTRY_VERIFY(!frame.Tree().hasFocus());
        frame.UpdateCommands();
        QVERIFY(!frame.Action(CMainFrame::Command::NewFolder)->isEnabled());
        QVERIFY(frame.Action(CMainFrame::Command::NewSecurity)->isEnabled());
        QVERIFY(frame.Action(CMainFrame::Command::UpdateSymbolDatabase)->isEnabled());
        frame.Tree().setFocus();
        QTRY_VERIFY(frame.Tree().hasFocus());
        frame.UpdateCommands();
        QVERIFY(frame.Action(CMainFrame::Command::NewFolder)->isEnabled());
    }

    void NewSecurityAndFolderFromTheFrame() {
        CMainFrame frame(*profile_, messages_, true);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        bool added = false;
        test::WhenModalOpens<CDlgNewSecurity>(
            [](CDlgNewSecurity& dialog) {
                dialog.SymbolsEdit()->setText(u"ibm msft"_s);
                dialog.Add();
            },
            &added);
        frame.Action(CMainFrame::Command::NewSecurity)->trigger();
        QVERIFY(added);
        QVERIFY(std::filesystem::exists(data_->Path() / "IBM.csv"));
        QTRY_COMPARE(frame.List().Model().rowCount(), 2);

        frame.activateWindow();
        frame.Tree().setFocus();
        QTRY_VERIFY(frame.Tree().hasFocus());
        frame.UpdateCommands();
        bool named = false;
        test::WhenModalOpens<CDlgNewFolder>(
            [](CDlgNewFolder& dialog) {
                dialog.NameEdit()->setText(u"Stocks"_s);
                dialog.Add();
            },
            &named);
        frame.Action(CMainFrame::Command::NewFolder)->trigger();
        QVERIFY(named);
        QCOMPARE(frame.Tree().CurrentFolder(), Folder(data_->Path() / "Stocks"));
        QTRY_COMPARE(frame.List().Model().rowCount(), 0);
        QVERIFY(messages_.asked.empty());
    }

    void UpdateSymbolDatabaseStoresTheCopies() {
        test::FakeMakerServer server;
        QVERIFY(server.Start());
        const std::string lists = "[Directory]\nLines=3\nMarketsNumber=1\nMarket1=NYSE\nSectorsNumber=0\n";
        server.SetSymbolDatabase(lists);
        profile_->WriteString("Endpoints", "MakerHost", server.BaseUrl());
        // The update writes into the per-user data folder: only the test's own one will do.
        const char* dataHome = std::getenv("XDG_DATA_HOME");
        const std::filesystem::path folder = UserDataFolder();
        if (dataHome == nullptr || !folder.string().starts_with(std::string(dataHome) + "/"))
            QSKIP("needs a data folder of its own (XDG_DATA_HOME), as CTest gives it");
        const auto removeCopies = [&folder] {
            std::filesystem::remove(folder / "SymbolDatabase.dta");
            std::filesystem::remove(folder / "SymbolDatabaseEx2.dta");
        };
        removeCopies();
        CMainFrame frame(*profile_, messages_, true);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        frame.Action(CMainFrame::Command::UpdateSymbolDatabase)->trigger();
        QVERIFY(messages_.asked.empty());
        QVERIFY(!frame.findChild<CProgressWnd*>()); // gone with the update
        QCOMPARE(test::ReadFile(folder / "SymbolDatabase.dta"), lists);
        QCOMPARE(test::ReadFile(folder / "SymbolDatabaseEx2.dta"), lists);
        QVERIFY(frame.isEnabled());
        QVERIFY(profile_->HasValue("Settings", "X")); // the progress window kept its place

        // Without a server nothing is asked of the network and the copies stay.
        profile_->WriteString("Endpoints", "MakerHost", "");
        // Whatever window asks, the main window must be usable to answer.
        std::vector<bool> frameEnabled;
        messages_.whileAsked = [&] { frameEnabled.push_back(frame.isEnabled()); };
        frame.Action(CMainFrame::Command::UpdateSymbolDatabase)->trigger();
        QCOMPARE(messages_.asked.size(), std::size_t(1));
        QVERIFY(messages_.asked[0].find("No update server") != std::string::npos);
        messages_.whileAsked = nullptr;
        QCOMPARE(frameEnabled, std::vector<bool>{true});
        QCOMPARE(test::ReadFile(folder / "SymbolDatabase.dta"), lists);
        QVERIFY(frame.isEnabled());
        removeCopies();
    }

private:
    std::unique_ptr<TempFolder> data_;
    std::unique_ptr<TempFolder> settings_;
    std::unique_ptr<QSettingsProfile> profile_;
    test::ScriptedMessageBoxes messages_;
};

QTEST_MAIN(NewCommandsTest)
#include "newcommands_test.moc"
