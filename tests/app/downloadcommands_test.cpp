#include "app/mainframe.h"
#include "app/settings/qsettingsprofile.h"
#include "browser/lefttreeview.h"
#include "browser/rightlistview.h"
#include "engine/datenumber.h"
#include "engine/dlgdownloadhistquotes.h"
#include "engine/dlgreport.h"
#include "engine/folders.h"
#include "fakequoteserver.h"
#include "support/modaldialogs.h"
#include "support/scriptedmessageboxes.h"
#include "support/tempfolder.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

#include <filesystem>
#include <functional>
#include <string>

using namespace Qt::StringLiterals;
using namespace tessaly;
using tessaly::test::FakeQuoteServer;
using tessaly::test::TempFolder;
using tessaly::test::WhenModalOpens;

namespace {

QStringList ReportRows(const CDlgReport& report) {
    QStringList rows;
    for (int row = 0; row < report.List()->topLevelItemCount(); ++row)
        rows.push_back(report.List()->topLevelItem(row)->text(1) + u' ' +
                       report.List()->topLevelItem(row)->text(2));
    return rows;
}

QString Artifact(const char* name) {
    QDir().mkpath(QStringLiteral(TESSALY_ARTIFACTS_DIR));
    return QStringLiteral(TESSALY_ARTIFACTS_DIR "/") + QString::fromUtf8(name);
}

} // namespace

class DownloadCommandsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void ToolbarAndMenusCarryTheCommands() {
        TempFolder settings;
        QSettingsProfile profile(QString::fromStdString((settings / "Tessaly.conf").string()));
        test::ScriptedMessageBoxes messages;
        CMainFrame frame(profile, messages, false);
        QAction* download = frame.Action(CMainFrame::Command::Download);
        QAction* report = frame.Action(CMainFrame::Command::Report);
        QCOMPARE(download->text(), u"&Download "_s);
        QCOMPARE(download->statusTip(), u"Download historic security data"_s);
        QCOMPARE(download->iconText(), u"Download"_s);
        QCOMPARE(report->text(), u"Last Collection &Report"_s);
        QCOMPARE(report->statusTip(), u"View last download report"_s);
        QCOMPARE(report->iconText(), u"Report"_s);
        QVERIFY(!download->isEnabled());
        QVERIFY(report->isEnabled());
        const QList<QAction*> buttons = frame.findChild<QToolBar*>(u"toolBar"_s)->actions();
        QVERIFY(buttons.size() >= 3);
        QCOMPARE(buttons[buttons.size() - 1], download);
        QCOMPARE(buttons[buttons.size() - 2], report);
        QVERIFY(buttons[buttons.size() - 3]->isSeparator());
        QCOMPARE(buttons[buttons.size() - 4], frame.Action(CMainFrame::Command::Delete));
    }

    // Tools > Download over two selected rows: the dialog shows " MSFT IBM", Get quotes downloads
    // both from the quote server, the report opens with the last security first, the list rows show
    // the new last dates, and View > Last Collection Report shows the same report again.
    void DownloadFromTheMainFrame() {
        FakeQuoteServer server;
        QVERIFY(server.Start());
        const DateNumber today = TodayDateNumber();
        server.LoadBuiltInFixtures(today);
        TempFolder data;
        const std::string old = "Date,Open,High,Low,Close,Volume,Adj. Close*\n"
                                "2-Jan-07,1,1,1,1,1,1\n3-Jan-07,1,1,1,1,1,1\n4-Jan-07,1,1,1,1,1,1\n";
        data.Write("MSFT.csv", old);
        data.Write("IBM.csv", old);
        TempFolder settings;
        QSettingsProfile profile(QString::fromStdString((settings / "Tessaly.conf").string()));
        profile.WriteString("CurrentOption", "LastDirectory", data.Path().string() + "/");
        for (const char* host : {"HistoricalHost", "QuoteHost", "CurrencyHost"})
            profile.WriteString("Endpoints", host, server.BaseUrl());
        std::filesystem::remove(UserDataFolder() / "report.txt");

        test::ScriptedMessageBoxes messages;
        CMainFrame frame(profile, messages, true);
        frame.resize(900, 500);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QTRY_COMPARE(frame.List().Model().rowCount(), 2);
        // Symbol column descending: MSFT above IBM.
        Q_EMIT frame.List().header()->sectionClicked(0);
        Q_EMIT frame.List().header()->sectionClicked(0);
        QCOMPARE(frame.List().Model().Row(0).symbol, std::string("MSFT"));
        frame.Action(CMainFrame::Command::SelectAll)->trigger();
        QVERIFY(frame.Action(CMainFrame::Command::Download)->isEnabled());

        QString shownSymbols;
        QStringList rows;
        WhenModalOpens<CDlgDownloadHistQuotes>([&](CDlgDownloadHistQuotes& dialog) {
            shownSymbols = dialog.Symbols();
            QTest::mouseClick(dialog.GetQuotesButton(), Qt::LeftButton);
        });
        WhenModalOpens<CDlgReport>(
            [&](CDlgReport& report) {
                rows = ReportRows(report);
                report.grab().save(Artifact("report-after-download.png"));
                report.accept();
            },
            nullptr, 3000); // the report follows the whole download
        frame.Action(CMainFrame::Command::Download)->trigger();
        QCOMPARE(shownSymbols, u" MSFT IBM"_s);
        QVERIFY2(messages.asked.empty(), messages.asked.empty() ? "" : messages.asked.front().c_str());
        QCOMPARE(rows, (QStringList{u"IBM Success"_s, u"MSFT Success"_s}));
        QVERIFY(std::filesystem::exists(UserDataFolder() / "report.txt"));
        QCOMPARE(frame.List().Model().rowCount(), 2);
        for (int row = 0; row < 2; ++row)
            QVERIFY(frame.List().Model().Row(row).lastDate != "4-Jan-07");
        QVERIFY(frame.grab().save(Artifact("mainwindow-after-download.png")));

        QStringList again;
        WhenModalOpens<CDlgReport>([&](CDlgReport& report) {
            again = ReportRows(report);
            report.accept();
        });
        frame.Action(CMainFrame::Command::Report)->trigger();
        QCOMPARE(again, rows);
        QVERIFY(messages.asked.empty());
    }
};

QTEST_MAIN(DownloadCommandsTest)
#include "downloadcommands_test.moc"
