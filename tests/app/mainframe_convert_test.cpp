#include "app/mainframe.h"
#include "app/qtmessageboxes.h"
#include "app/settings/qsettingsprofile.h"
#include "browser/rightlistview.h"
#include "convert/dlgconvert.h"
#include "convert/dlgconvert2ms.h"
#include "convert/dlgoptions.h"
#include "support/modaldialogs.h"
#include "support/scriptedmessageboxes.h"
#include "support/tempfolder.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <deque>
#include <functional>

using namespace Qt::StringLiterals;
using namespace tessaly;
using tessaly::test::TempFolder;
using tessaly::test::WhenModalOpens;

namespace {

constexpr std::string_view kRecords =
    "Date,Open,High,Low,Close,Volume,Adj. Close*\n5-Jan-05,1,2,0.5,1.5,100,1.5\n";

// A main frame over a folder with the securities AAA, BBB and CCC, sorted by symbol.
struct Fixture {
    Fixture() {
        for (const char* name : {"BBB.csv", "AAA.csv", "CCC.csv"})
            data.Write(name, kRecords);
        profile.WriteString("CurrentOption", "LastDirectory", data.Path().string() + "/");
        frame = std::make_unique<CMainFrame>(profile, messages, true);
        frame->resize(800, 400);
        frame->show();
    }
    void SortBySymbol() { Q_EMIT frame->List().header()->sectionClicked(0); }
    void Select(std::initializer_list<int> rows) {
        for (int row : rows)
            frame->List().selectionModel()->select(frame->List().Model().index(row, 0),
                                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    TempFolder data;
    TempFolder settings;
    QSettingsProfile profile{QString::fromStdString((settings / "Tessaly.conf").string())};
    test::ScriptedMessageBoxes messages{MessageAnswer::Cancel};
    std::unique_ptr<CMainFrame> frame;
};

QMenu* MenuNamed(CMainFrame& frame, const QString& title) {
    for (QAction* action : frame.menuBar()->actions())
        if (action->text() == title)
            return action->menu();
    return nullptr;
}

} // namespace

class MainFrameConvertTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Tools: Convert to ASCII, then Convert to Metastock, right before Web data; both follow the
    // list rule.
    void ToolsMenuOffersBothConversionsByTheListRule() {
        Fixture fixture;
        CMainFrame& frame = *fixture.frame;
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QTRY_COMPARE(frame.List().Model().rowCount(), 3);
        QAction* ascii = frame.Action(CMainFrame::Command::ConvertToAscii);
        QAction* metastock = frame.Action(CMainFrame::Command::ConvertToMetastock);
        QCOMPARE(ascii->text(), u"&Convert to ASCII"_s);
        QCOMPARE(ascii->statusTip(), u"Convert files to ASCII format"_s);
        QCOMPARE(metastock->text(), u"Convert to &Metastock"_s);
        QCOMPARE(metastock->statusTip(), u"Convert files to MetaStock format"_s);
        QMenu* tools = MenuNamed(frame, u"&Tools"_s);
        QVERIFY(tools);
        const QList<QAction*> items = tools->actions();
        const qsizetype at = items.indexOf(ascii);
        QVERIFY(at >= 0);
        QCOMPARE(items.value(at + 1), metastock);
        QVERIFY(items.value(at + 2)->menu());
        QCOMPARE(items.value(at + 2)->text(), u"&Web data"_s);

        frame.UpdateCommands();
        QVERIFY(!ascii->isEnabled());
        QVERIFY(!metastock->isEnabled());
        fixture.Select({1});
        QVERIFY(ascii->isEnabled());
        QVERIFY(metastock->isEnabled());
        frame.List().ShowSecurityData();
        QVERIFY(frame.List().IsDataDisplayMode());
        QVERIFY(!ascii->isEnabled());
        QVERIFY(!metastock->isEnabled());
    }

    void ContextMenuOffersBothConversions() {
        Fixture fixture;
        CMainFrame& frame = *fixture.frame;
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QTRY_COMPARE(frame.List().Model().rowCount(), 3);
        fixture.Select({0});
        // The menu lives only while shown: note what it offers, by text, before it closes.
        QStringList items;
        QTimer::singleShot(50, [&items] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                for (QAction* action : menu->actions())
                    items << action->text();
                menu->close();
            }
        });
        Q_EMIT frame.List().customContextMenuRequested(QPoint(10, 10));
        const qsizetype at = items.indexOf(u"&Convert to ASCII"_s);
        QVERIFY2(at > 0, qPrintable(items.join(u'|')));
        QCOMPARE(items.value(at + 1), u"Convert to &Metastock"_s);
        QCOMPARE(items.value(at + 2), u"Web Data"_s);
    }

    // The dialogs open with the selected symbols in list order, each after a blank, and the
    // current folder.
    void ConversionDialogsOpenWithTheSelection() {
        Fixture fixture;
        CMainFrame& frame = *fixture.frame;
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QTRY_COMPARE(frame.List().Model().rowCount(), 3);
        fixture.SortBySymbol();
        fixture.Select({2, 0});
        const QString folder = QString::fromStdString(frame.List().Folder().string());
        QString symbols;
        QString output;
        bool opened = false;
        WhenModalOpens<CDlgConvert>(
            [&](CDlgConvert& dialog) {
                symbols = dialog.SymbolsEdit().text();
                output = dialog.OutputEdit().text();
                dialog.reject();
            },
            &opened);
        frame.Action(CMainFrame::Command::ConvertToAscii)->trigger();
        QVERIFY(opened);
        QCOMPARE(symbols, u" AAA CCC"_s);
        QCOMPARE(output, folder);

        opened = false;
        WhenModalOpens<CDlgConvert2MS>(
            [&](CDlgConvert2MS& dialog) {
                symbols = dialog.SymbolsEdit().text();
                output = dialog.OutputEdit().text();
                dialog.reject();
            },
            &opened);
        frame.Action(CMainFrame::Command::ConvertToMetastock)->trigger();
        QVERIFY(opened);
        QCOMPARE(symbols, u" AAA CCC"_s);
        QCOMPARE(output, folder);
    }

    // The option is read at start, replaced by an accepted Conversion Options dialog and written
    // at a confirmed exit.
    void CurrentOptionLivesFromStartToExit() {
        Fixture fixture;
        CMainFrame& frame = *fixture.frame;
        // Nothing stored: every flag and index is 0, every text empty.
        QCOMPARE(frame.CurrentOption().Close, 0);
        QCOMPARE(frame.CurrentOption().DateFormat, 0);
        QCOMPARE(frame.CurrentOption().Extension, std::string());
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QTRY_COMPARE(frame.List().Model().rowCount(), 3);
        fixture.Select({0});

        bool opened = false;
        bool optionsOpened = false;
        WhenModalOpens<CDlgConvert>(
            [&](CDlgConvert& dialog) {
                WhenModalOpens<CDlgOptions>(
                    [](CDlgOptions& options) {
                        options.findChild<QPushButton*>(u"Default"_s)->click();
                        options.findChild<QAbstractButton*>(u"Separator3"_s)->click();
                        options.findChild<QPushButton*>(u"Accept"_s)->click();
                    },
                    &optionsOpened);
                dialog.findChild<QPushButton*>(u"Options"_s)->click();
                dialog.reject();
            },
            &opened);
        frame.Action(CMainFrame::Command::ConvertToAscii)->trigger();
        QVERIFY(opened);
        QVERIFY(optionsOpened);
        ConversionOption expected;
        expected.Separator = 3;
        QCOMPARE(frame.CurrentOption(), expected);
        // Not stored before the exit.
        QVERIFY(!fixture.profile.HasValue("CurrentOption", "Separator"));

        fixture.messages.answers = {MessageAnswer::Yes};
        frame.close();
        QCOMPARE(LoadCurrentOption(fixture.profile), expected);
        QVERIFY(fixture.profile.HasValue("CurrentOption", "LastDirectory"));

        CMainFrame again(fixture.profile, fixture.messages, true);
        QCOMPARE(again.CurrentOption(), expected);
    }

    // A message asked for while a dialog is open (the empty preset name, the skipped symbols)
    // shows over that dialog, with the program's title.
    void MessagesFromADialogShowOverIt() {
        QWidget frame;
        QtMessageBoxes messages(&frame);
        QDialog dialog(&frame);
        QWidget* owner = nullptr;
        QString title;
        bool shown = false;
        QTimer::singleShot(0, [&] {
            WhenModalOpens<QMessageBox>(
                [&](QMessageBox& box) {
                    owner = box.parentWidget();
                    title = box.windowTitle();
                    box.accept();
                },
                &shown);
            messages.Show("Please enter the name of your conversion option.", "", MessageButtons::Ok,
                          MessageIcon::Warning);
            dialog.reject();
        });
        dialog.exec();
        QVERIFY(shown);
        QCOMPARE(owner, &dialog);
        QCOMPARE(title, u"Tessaly"_s);
    }
};

QTEST_MAIN(MainFrameConvertTest)
#include "mainframe_convert_test.moc"
