#include "app/aboutdlg.h"
#include "app/keyindicators.h"
#include "app/mainframe.h"
#include "app/settings/qsettingsprofile.h"
#include "app/webdatapages.h"
#include "browser/lefttreeview.h"
#include "browser/rightlistview.h"
#include "engine/folders.h"
#include "support/foldertext.h"
#include "support/scriptedmessageboxes.h"
#include "support/tempfolder.h"
#include "ui/hyperlink.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFocusEvent>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QMimeData>
#include <QStatusBar>
#include <QTest>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using namespace Qt::StringLiterals;

using namespace tessaly;
using tessaly::test::Folder;
using tessaly::test::ScriptedMessageBoxes;
using tessaly::test::TempFolder;

namespace {

// A main window on settings of its own, which remember `lastDirectory` unless it is empty.
struct WindowOnSettings {
    explicit WindowOnSettings(const std::filesystem::path& lastDirectory = {}, bool writeSettings = true)
        : profile(QString::fromStdString((settings / "Tessaly.conf").string())) {
        if (!lastDirectory.empty())
            profile.WriteString("CurrentOption", "LastDirectory", Folder(lastDirectory).toStdString());
        frame = std::make_unique<CMainFrame>(profile, messages, writeSettings);
    }
    CMainFrame& Frame() { return *frame; }

    TempFolder settings;
    QSettingsProfile profile;
    ScriptedMessageBoxes messages{MessageAnswer::Cancel};
    std::unique_ptr<CMainFrame> frame;
};

void SortBySymbol(CMainFrame& frame) {
    Q_EMIT frame.List().header()->sectionClicked(0);
}

} // namespace

class MainFrameTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void RestoresNestedFolderAndListsIt() {
        TempFolder data;
        std::filesystem::create_directories(data / "stocks/stocks");
        data.Write("stocks/IBM.csv",
                   "Date,Open,High,Low,Close,Volume,Adj. Close*\n5-Jan-05,1,2,0.5,1.5,100,1.5\n");
        data.Write("stocks/MSFT.csv",
                   "Date,Open,High,Low,Close,Volume,Adj. Close*\n28-Dec-04,1,2,0.5,1.5,100,1.5\n");
        WindowOnSettings window(data / "stocks");
        CMainFrame& frame = window.Frame();
        frame.resize(900, 500);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QCOMPARE(frame.Tree().CurrentFolder(), Folder(data / "stocks"));
        QCOMPARE(QDir::currentPath() + u"/"_s, Folder(data / "stocks"));
        QCOMPARE(frame.windowTitle(), u"Tessaly [stocks]"_s);
        const QModelIndex stocks = frame.Tree().IndexOfFolder(Folder(data / "stocks"));
        QVERIFY(frame.Tree().isExpanded(stocks));
        QCOMPARE(frame.Tree().currentIndex(), stocks);
        const QModelIndex inner = frame.Tree().IndexOfFolder(Folder(data / "stocks/stocks"));
        QVERIFY(inner.isValid());
        QVERIFY(!frame.Tree().isExpanded(inner));
        QVERIFY(!inner.data(FolderTreeModel::ReadRole).toBool());
        // The root file system comes first, labelled by its kind.
        QVERIFY(frame.Tree().Model().index(0, 0).data().toString().endsWith(u" (/)"_s));
        QTRY_COMPARE(frame.List().Model().rowCount(), 2);
        QDir().mkpath(QStringLiteral(TESSALY_ARTIFACTS_DIR));
        QVERIFY(frame.grab().save(QStringLiteral(TESSALY_ARTIFACTS_DIR "/mainwindow.png")));
    }

    void MissingFolderFallsBackToDeepestExisting() {
        TempFolder data;
        std::filesystem::create_directories(data / "a");
        WindowOnSettings window(data / "a/gone/deeper");
        QCOMPARE(window.Frame().Tree().CurrentFolder(), Folder(data / "a"));

        WindowOnSettings first;
        QCOMPARE(first.Frame().Tree().CurrentFolder(), QDir::homePath() + u"/"_s);
    }

    void CommandsFollowTheListRules() {
        TempFolder data;
        const std::string record =
            "Date,Open,High,Low,Close,Volume,Adj. Close*\n5-Jan-05,1,2,0.5,1.5,100,1.5\n";
        WindowOnSettings window(data.Path());
        CMainFrame& frame = window.Frame();
        ScriptedMessageBoxes& messages = window.messages;
        QVERIFY(!frame.Action(CMainFrame::Command::Delete)->isEnabled());
        QVERIFY(!frame.Action(CMainFrame::Command::Copy)->isEnabled());
        QVERIFY(!frame.Action(CMainFrame::Command::SelectAll)->isEnabled());
        QVERIFY(frame.Action(CMainFrame::Command::Exit)->isEnabled());

        for (const char* name : {"aa.csv", "BB.csv", "CC.csv", "DD.csv"}) {
            data.Write(name, record);
            frame.List().AddSecurityRow(name, data.Path());
        }
        QVERIFY(frame.Action(CMainFrame::Command::SelectAll)->isEnabled());
        QVERIFY(!frame.Action(CMainFrame::Command::Copy)->isEnabled());
        frame.Action(CMainFrame::Command::SelectAll)->trigger();
        QVERIFY(frame.Action(CMainFrame::Command::Copy)->isEnabled());
        frame.List().selectionModel()->select(frame.List().Model().index(3, 0),
                                              QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
        frame.Action(CMainFrame::Command::Copy)->trigger();
        const QString folder = Folder(data.Path());
        const QString expected =
            u"0\n"_s + folder + u"aa.csv\n"_s + folder + u"BB.csv\n"_s + folder + u"CC.csv\n"_s;
        QCOMPARE(QApplication::clipboard()->text(), expected);
        QVERIFY(QApplication::clipboard()->mimeData()->hasFormat(QString::fromLatin1(kTransferMimeType)));

        messages.answers = {MessageAnswer::Cancel};
        frame.Action(CMainFrame::Command::Delete)->trigger();
        QCOMPARE(frame.List().Model().rowCount(), 4);
        QVERIFY(std::filesystem::exists(data / "aa.csv"));
        QCOMPARE(messages.asked.back(), std::string("Are you sure you want to delete selected securities?"));

        messages.answers = {MessageAnswer::Ok};
        frame.Action(CMainFrame::Command::Delete)->trigger();
        QCOMPARE(messages.asked.size(), std::size_t{2});
        QCOMPARE(frame.List().Model().rowCount(), 1);
        QCOMPARE(frame.List().Model().Row(0).fileName, std::string("DD.csv"));
        QVERIFY(!std::filesystem::exists(data / "aa.csv"));
        QVERIFY(std::filesystem::exists(data / "DD.csv"));
    }

    void DataDisplayAndBackToTheSameViewType() {
        TempFolder data;
        data.Write("ibm.csv", "Date,Open,High,Low,Close,Volume,Adj. Close*\n3-Jan-05,1,2,0.5,1.5,100,1.5\n"
                              "4-Jan-05,2,3,1.5,2.5,200,2.5\n");
        WindowOnSettings window(data.Path());
        CMainFrame& frame = window.Frame();
        QTRY_COMPARE(frame.List().Model().rowCount(), 1);
        QAbstractItemModelTester tester(&frame.List().DataModel(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(frame.Action(CMainFrame::Command::Reports)->isChecked());
        frame.Action(CMainFrame::Command::SmallIcons)->trigger();
        QCOMPARE(frame.List().CurrentViewType(), CRightListView::ViewType::SmallIcons);
        QVERIFY(!frame.Action(CMainFrame::Command::Open)->isEnabled());
        frame.Action(CMainFrame::Command::SelectAll)->trigger();
        frame.Action(CMainFrame::Command::Open)->trigger();
        QVERIFY(frame.List().IsDataDisplayMode());
        QCOMPARE(frame.List().DataModel().rowCount(), 2);
        QCOMPARE(frame.List().DataModel().index(1, 5).data().toString(), u"200"_s);
        QCOMPARE(frame.List().DataModel().headerData(5, Qt::Horizontal, Qt::DisplayRole).toString(),
                 u"Volume"_s);
        for (auto command : {CMainFrame::Command::Delete, CMainFrame::Command::Copy,
                             CMainFrame::Command::SelectAll, CMainFrame::Command::Reports})
            QVERIFY(!frame.Action(command)->isEnabled());
        QVERIFY(!frame.Action(CMainFrame::Command::Open)->isEnabled());
        frame.Tree().RestoreLastFolder(Folder(data.Path()));
        QVERIFY(!frame.List().IsDataDisplayMode());
        QTRY_COMPARE(frame.List().Model().rowCount(), 1);
        QCOMPARE(frame.List().CurrentViewType(), CRightListView::ViewType::SmallIcons);
        QVERIFY(frame.Action(CMainFrame::Command::SelectAll)->isEnabled());
    }

    void CutAndPasteMovesAndOverwriteAsks() {
        const std::string record =
            "Date,Open,High,Low,Close,Volume,Adj. Close*\n5-Jan-05,1,2,0.5,1.5,100,1.5\n";
        TempFolder from;
        TempFolder to;
        from.Write("AA.csv", record);
        from.Write("BB.csv", record);
        from.Write("CC.csv", record);
        to.Write("BB.csv", "old");
        to.Write("CC.csv", "old");
        WindowOnSettings window(from.Path());
        CMainFrame& frame = window.Frame();
        ScriptedMessageBoxes& messages = window.messages;
        QApplication::clipboard()->clear();
        QVERIFY(!frame.Action(CMainFrame::Command::Paste)->isEnabled());
        QTRY_COMPARE(frame.List().Model().rowCount(), 3);
        SortBySymbol(frame);
        frame.Action(CMainFrame::Command::SelectAll)->trigger();
        frame.Action(CMainFrame::Command::Cut)->trigger();
        QVERIFY(frame.Action(CMainFrame::Command::Paste)->isEnabled());
        for (int row = 0; row < 3; ++row)
            QVERIFY(frame.List().Model().IsMarkedCut(row));
        QVERIFY(!frame.List().Model().index(0, 0).data(Qt::DecorationRole).value<QIcon>().isNull());

        frame.Tree().RestoreLastFolder(Folder(to.Path()));
        QTRY_COMPARE(frame.List().Model().rowCount(), 2);
        // BB: No keeps the old file and the source; CC: Cancel stops there.
        messages.answers = {MessageAnswer::No, MessageAnswer::Cancel};
        frame.Action(CMainFrame::Command::Paste)->trigger();
        QCOMPARE(messages.asked.size(), std::size_t{2});
        QCOMPARE(messages.asked[0], std::string("File BB.csv already exists. Do you want to overwrite it?"));
        QVERIFY(!std::filesystem::exists(from / "AA.csv"));
        QCOMPARE(to.Read("AA.csv"), record);
        QCOMPARE(to.Read("BB.csv"), std::string("old"));
        QVERIFY(std::filesystem::exists(from / "BB.csv"));
        QCOMPARE(to.Read("CC.csv"), std::string("old"));
        QCOMPARE(frame.List().Model().rowCount(), 3);
        // What was not yet dealt with stays on the clipboard, still as a cut.
        QCOMPARE(QApplication::clipboard()->text(),
                 u"1\n"_s + QString::fromStdString((from / "CC.csv").string()) + u"\n"_s);
        messages.answers = {MessageAnswer::Yes};
        frame.Action(CMainFrame::Command::Paste)->trigger();
        QCOMPARE(to.Read("CC.csv"), record);
        QVERIFY(!std::filesystem::exists(from / "CC.csv"));
        QCOMPARE(frame.List().Model().rowCount(), 3);
        QVERIFY(QApplication::clipboard()->text().isEmpty());
    }

    void ForeignTextNeverMovesAndSelfPasteKeepsTheFile() {
        const std::string record =
            "Date,Open,High,Low,Close,Volume,Adj. Close*\n5-Jan-05,1,2,0.5,1.5,100,1.5\n";
        TempFolder from;
        TempFolder to;
        from.Write("AA.csv", record);
        from.Write("notes.txt", "x");
        WindowOnSettings window(to.Path());
        CMainFrame& frame = window.Frame();
        ScriptedMessageBoxes& messages = window.messages;
        QApplication::clipboard()->setText(u"1\n"_s + QString::fromStdString((from / "AA.csv").string()) +
                                           u"\n"_s + QString::fromStdString((from / "notes.txt").string()) +
                                           u"\n"_s);
        frame.Action(CMainFrame::Command::Paste)->trigger();
        QVERIFY(std::filesystem::exists(from / "AA.csv"));
        QVERIFY(std::filesystem::exists(from / "notes.txt"));
        QVERIFY(!std::filesystem::exists(to / "notes.txt"));
        QCOMPARE(to.Read("AA.csv"), record);

        QApplication::clipboard()->setText(u"0\n"_s + QString::fromStdString((to / "AA.csv").string()) +
                                           u"\n"_s);
        frame.Action(CMainFrame::Command::Paste)->trigger();
        QCOMPARE(to.Read("AA.csv"), record);
        QVERIFY(messages.asked.empty());
    }

    void ClickSelectsAndAFolderThatCannotBeOpenedIsReported() {
        TempFolder data;
        std::filesystem::create_directories(data / "one");
        std::filesystem::create_directories(data / "two");
        data.Write("two/X.csv", "");
        WindowOnSettings window(data / "one");
        CMainFrame& frame = window.Frame();
        ScriptedMessageBoxes& messages = window.messages;
        frame.resize(900, 500);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        CLeftTreeView& tree = frame.Tree();
        const QModelIndex two = tree.IndexOfFolder(Folder(data / "two"));
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualRect(two).center());
        QCOMPARE(tree.CurrentFolder(), Folder(data / "two"));
        QCOMPARE(frame.windowTitle(), u"Tessaly [two]"_s);
        QTRY_COMPARE(frame.List().Model().rowCount(), 1);
        // Moving the highlight with the keyboard leaves the current folder as it is.
        tree.setFocus();
        QTest::keyClick(&tree, Qt::Key_Up);
        QVERIFY(tree.currentIndex() != two);
        QCOMPARE(tree.CurrentFolder(), Folder(data / "two"));

        const QModelIndex one = tree.IndexOfFolder(Folder(data / "one"));
        std::filesystem::remove(data / "one");
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualRect(one).center());
        QCOMPARE(tree.CurrentFolder(), Folder(data / "two"));
        QCOMPARE(tree.currentIndex(), two);
        QCOMPARE(QDir::currentPath() + u"/"_s, Folder(data / "two"));
        QCOMPARE(messages.asked.size(), std::size_t{1});
        QCOMPARE(frame.List().Model().rowCount(), 1);

        // A volume shows its mount point in the title.
        tree.SelectFolder(tree.Model().index(0, 0));
        QCOMPARE(tree.CurrentFolder(), u"/"_s);
        QCOMPARE(frame.windowTitle(), u"Tessaly [/]"_s);
    }

    void DoubleClickCollapsesDiscardsAndReadsAnew() {
        TempFolder data;
        std::filesystem::create_directories(data / "a");
        data.Write("S.csv", "");
        WindowOnSettings window(data.Path());
        CMainFrame& frame = window.Frame();
        frame.resize(900, 500);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        CLeftTreeView& tree = frame.Tree();
        const auto doubleClick = [&tree](const QModelIndex& index) {
            QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, tree.visualRect(index).center());
        };
        const QModelIndex folder = tree.IndexOfFolder(Folder(data.Path()));
        QVERIFY(tree.isExpanded(folder));
        const qint64 closedImage =
            tree.IndexOfFolder(Folder(data / "a")).data(Qt::DecorationRole).value<QIcon>().cacheKey();
        const auto image = [&folder] { return folder.data(Qt::DecorationRole).value<QIcon>().cacheKey(); };
        QVERIFY(image() != closedImage);

        doubleClick(folder);
        QVERIFY(!tree.isExpanded(folder));
        QCOMPARE(tree.Model().rowCount(folder), 0);
        QCOMPARE(image(), closedImage);

        std::filesystem::create_directories(data / "b");
        doubleClick(folder);
        QVERIFY(tree.isExpanded(folder));
        QCOMPARE(tree.Model().rowCount(folder), 2);
        QCOMPARE(tree.Model().index(1, 0, folder).data().toString(), u"b"_s);
        QVERIFY(image() != closedImage);
        QCOMPARE(tree.CurrentFolder(), Folder(data.Path()));
        QTRY_COMPARE(frame.List().Model().rowCount(), 1);

        // Closed with its expand button, it opens again as it was, without reading the disk.
        tree.collapse(folder);
        std::filesystem::create_directories(data / "c");
        doubleClick(folder);
        QVERIFY(tree.isExpanded(folder));
        QCOMPARE(tree.Model().rowCount(folder), 2);

        // A folder never opened is made current, listed and read by a double-click alone.
        data.Write("b/T.csv", "");
        tree.ExpandFolder(tree.IndexOfFolder(Folder(data / "b")));
        QCOMPARE(tree.CurrentFolder(), Folder(data / "b"));
        QCOMPARE(frame.windowTitle(), u"Tessaly [b]"_s);
        QTRY_COMPARE(frame.List().Model().rowCount(), 1);
        QCOMPARE(frame.List().Model().Row(0).fileName, std::string("T.csv"));
    }

    void NewFolderOnlyWhileTheTreeHasTheFocus() {
        TempFolder data;
        WindowOnSettings window(data.Path());
        CMainFrame& frame = window.Frame();
        frame.show();
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        frame.Tree().setFocus();
        QTRY_VERIFY(frame.Action(CMainFrame::Command::NewFolder)->isEnabled());
        // A menu opening takes the focus for a moment; the command stays with the tree.
        QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
        QApplication::sendEvent(&frame.Tree(), &popup);
        QVERIFY(frame.Tree().HasFocus());
        frame.List().setFocus();
        QTRY_VERIFY(!frame.Action(CMainFrame::Command::NewFolder)->isEnabled());
        QVERIFY(!frame.Tree().HasFocus());
    }

    void UnreadableSettingsAreNotWrittenAtExit() {
        TempFolder data;
        WindowOnSettings window({}, false);
        CMainFrame& frame = window.Frame();
        ScriptedMessageBoxes& messages = window.messages;
        QSettingsProfile& profile = window.profile;
        frame.show();
        messages.answers = {MessageAnswer::Yes};
        frame.Exit();
        QVERIFY(!frame.isVisible());
        QVERIFY(!profile.HasValue("CurrentOption", "LastDirectory"));
    }

    void AboutBoxTexts() {
        CAboutDlg about;
        QCOMPARE(about.windowTitle(), u"About Tessaly"_s);
        QCOMPARE(about.findChild<QLabel*>(u"versionText"_s)->text(), u"Tessaly,  version 1.07.600"_s);
        auto* link = about.findChild<CHyperLink*>(u"makerLink"_s);
        QVERIFY(link);
        QCOMPARE(link->LinkAddress(), QString::fromLatin1(kMakerSite));
        QCOMPARE(link->toolTip(), QString::fromLatin1(kMakerSite));
        QVERIFY(link->text().contains(u"Norvane"_s));
        QVERIFY(!link->font().underline());
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QDir().mkpath(QStringLiteral(TESSALY_ARTIFACTS_DIR));
        QVERIFY(about.grab().save(QStringLiteral(TESSALY_ARTIFACTS_DIR "/about.png")));

        CAboutDlg configured(nullptr, u"http://127.0.0.1:9/maker/"_s);
        QCOMPARE(configured.findChild<CHyperLink*>(u"makerLink"_s)->LinkAddress(),
                 u"http://127.0.0.1:9/maker/"_s);
    }

    void HelpAndUpdateCommandsAreInTheirMenus() {
        WindowOnSettings window({}, false);
        CMainFrame& frame = window.Frame();
        QCOMPARE(frame.Action(CMainFrame::Command::Contents)->text(), u"&Contents"_s);
        QCOMPARE(frame.Action(CMainFrame::Command::Contents)->statusTip(), u"Show help files"_s);
        QCOMPARE(frame.Action(CMainFrame::Command::CheckForUpdates)->text(), u"C&heck for product updates"_s);
        QVERIFY(frame.Action(CMainFrame::Command::CheckForUpdates)->isEnabled());
        QCOMPARE(frame.Help().Folder(), AssetFolder() / "help");
    }

    void WebPagesEncodeTheSymbol() {
        QCOMPARE(FundamentalsPageUrl(u"IBM"_s, u"http://127.0.0.1/"_s).toString(),
                 u"http://127.0.0.1/q/ks?s=IBM"_s);
        QCOMPARE(FundamentalsPageUrl(u"A&B #1"_s, u"http://127.0.0.1/"_s).toEncoded(),
                 QByteArray("http://127.0.0.1/q/ks?s=A%26B%20%231"));
        QCOMPARE(
            ChartsPageUrl(u"^DJI"_s, u"http://127.0.0.1/"_s).toEncoded(),
            QByteArray("http://127.0.0.1/q/ta?s=%5EDJI&t=6m&l=on&z=m&q=b&p=e20,m50,m200&a=m26-12-9,ss&c="));
    }

    void LockIndicatorsShowOnlyWhatIsOn() {
        WindowOnSettings window;
        CMainFrame& frame = window.Frame();
        CKeyIndicators& indicators = frame.KeyIndicators();
        QCOMPARE(indicators.CapsLock()->text(), u"CAP"_s);
        QCOMPARE(indicators.NumLock()->text(), u"NUM"_s);
        QCOMPARE(indicators.ScrollLock()->text(), u"SCRL"_s);
        for (QLabel* pane : {indicators.CapsLock(), indicators.NumLock(), indicators.ScrollLock()})
            QCOMPARE(pane->parentWidget(), static_cast<QWidget*>(frame.statusBar()));

        const LockKeyStates cases[] = {{true, false, std::nullopt}, {false, true, true}, {}};
        for (const LockKeyStates& states : cases) {
            indicators.SetReader([states] { return states; });
            indicators.Refresh();
            QCOMPARE(indicators.CapsLock()->isEnabled(), states.capsLock.value_or(false));
            QCOMPARE(indicators.NumLock()->isEnabled(), states.numLock.value_or(false));
            QCOMPARE(indicators.ScrollLock()->isEnabled(), states.scrollLock.value_or(false));
        }
        QVERIFY(indicators.ScrollLock()->toolTip().contains(u"cannot be read"_s));
    }

    void ExitAsksAndNoKeepsTheWindow() {
        TempFolder data;
        WindowOnSettings window(data.Path());
        CMainFrame& frame = window.Frame();
        ScriptedMessageBoxes& messages = window.messages;
        QSettingsProfile& profile = window.profile;
        frame.show();
        messages.answers = {MessageAnswer::No};
        frame.Exit();
        QVERIFY(frame.isVisible());
        QCOMPARE(messages.asked.back(), std::string("Are you sure you want to exit Tessaly?"));
        messages.answers = {MessageAnswer::Yes};
        frame.Exit();
        QVERIFY(!frame.isVisible());
        QCOMPARE(QString::fromStdString(profile.GetString("CurrentOption", "LastDirectory", "")),
                 Folder(data.Path()));
    }
};

QTEST_MAIN(MainFrameTest)
#include "mainframe_test.moc"
