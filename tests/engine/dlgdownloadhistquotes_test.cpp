#include "engine/clock.h"
#include "engine/curlsession.h"
#include "engine/dlgdownloadhistquotes.h"
#include "engine/dlgreport.h"
#include "engine/downloadreport.h"
#include "engine/messagebox.h"
#include "engine/securitieslist.h"
#include "fakequoteserver.h"
#include "support/scriptedmessageboxes.h"
#include "support/tempfolder.h"
#include "ui/helpfile.h"
#include "ui/helpviewer.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>
#include <QThread>
#include <QTreeWidget>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace Qt::StringLiterals;
using namespace tessaly;
using tessaly::test::FakeQuoteServer;
using tessaly::test::TempFolder;

namespace {

constexpr std::string_view kHeader = "Date,Open,High,Low,Close,Volume,Adj. Close*";

// The list's refreshes in order; `onAdd` runs after each added row, on the window's thread.
struct RecordingList final : SecuritiesList {
    std::vector<std::string> calls;
    bool allOnWindowThread = true;
    std::function<void()> onAdd;
    void RemoveSecurityRows(std::string_view symbol) override { Note("remove " + std::string(symbol)); }
    void AddSecurityRow(std::string_view fileName, const std::filesystem::path&) override {
        Note("add " + std::string(fileName));
        if (onAdd)
            onAdd();
    }
    void Note(std::string call) {
        calls.push_back(std::move(call));
        allOnWindowThread = allOnWindowThread && QThread::currentThread() == qApp->thread();
    }
};

QString Artifact(const char* name) {
    QDir().mkpath(QStringLiteral(TESSALY_ARTIFACTS_DIR));
    return QStringLiteral(TESSALY_ARTIFACTS_DIR "/") + QString::fromUtf8(name);
}

// A download dialog over a data folder and the fake quote server, with the sound and the report
// recorded instead of played and shown.
class Harness {
public:
    Harness() {
        server.Start();
        setup.folder = data.Path();
        setup.programFolder = program.Path();
        setup.soundFile = program / "complete.wav";
        setup.endpoints.historicalHost = server.BaseUrl();
        setup.endpoints.quoteHost = server.BaseUrl();
        setup.endpoints.currencyHost = server.BaseUrl();
        setup.transport = &transport;
        setup.messages = &messages;
        messages.whileAsked = [this] {
            messagesOnWindowThread = messagesOnWindowThread && QThread::currentThread() == qApp->thread();
        };
        setup.list = &list;
        setup.playSound = [this](const std::filesystem::path& file) { sounds.push_back(file); };
        setup.showReport = [this](QWidget*, const std::filesystem::path& file) {
            CDlgReport report(file);
            reportRows.clear();
            for (int row = 0; row < report.List()->topLevelItemCount(); ++row) {
                const QTreeWidgetItem* item = report.List()->topLevelItem(row);
                reportRows.push_back(item->text(0) + u' ' + item->text(1) + u' ' + item->text(2));
            }
            ++reportsShown;
        };
    }

    std::unique_ptr<CDlgDownloadHistQuotes> Open(std::vector<std::string> symbols) {
        setup.selectedSymbols = std::move(symbols);
        return std::make_unique<CDlgDownloadHistQuotes>(setup, help);
    }
    // Sets both dates, starts the run and waits until the dialog has ended it.
    static bool RunOver(CDlgDownloadHistQuotes& dialog, QDate start, QDate end) {
        dialog.StartDateEdit()->setDate(start);
        dialog.EndDateEdit()->setDate(end);
        QSignalSpy finished(&dialog, &CDlgDownloadHistQuotes::RunFinished);
        QTest::mouseClick(dialog.GetQuotesButton(), Qt::LeftButton);
        return finished.wait(20000) || finished.count() == 1;
    }
    std::string Report() const { return test::ReadFile(program / std::string(kReportFileName)); }

    TempFolder data;
    TempFolder program;
    FakeQuoteServer server;
    CurlTransport transport;
    test::ScriptedMessageBoxes messages;
    bool messagesOnWindowThread = true;
    RecordingList list;
    HelpFile help{std::filesystem::path("help")};
    DownloadSetup setup;
    std::vector<std::filesystem::path> sounds;
    QStringList reportRows;
    int reportsShown = 0;
};

} // namespace

class DlgDownloadHistQuotesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void InitialValues_data() {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QStringList>("selected");
        QTest::addColumn<QDate>("start");
        QTest::addColumn<QString>("symbols");
        QTest::newRow("two rows") << QDate(2007, 1, 5) << QStringList{u"MSFT"_s, u"IBM"_s}
                                  << QDate(2005, 1, 5) << u" MSFT IBM"_s;
        QTest::newRow("leap day, nothing selected")
            << QDate(2008, 2, 29) << QStringList{} << QDate(2006, 3, 1) << QString();
    }
    void InitialValues() {
        QFETCH(QDate, today);
        QFETCH(QStringList, selected);
        ScopedClock clock(std::make_shared<FixedClock>(std::chrono::year_month_day{
            std::chrono::year(today.year()), std::chrono::month(unsigned(today.month())),
            std::chrono::day(unsigned(today.day()))}));
        Harness harness;
        std::vector<std::string> symbols;
        for (const QString& symbol : selected)
            symbols.push_back(symbol.toStdString());
        auto dialog = harness.Open(symbols);
        QCOMPARE(dialog->windowTitle(), u"Download Historical Quotes"_s);
        QTEST(dialog->Symbols(), "symbols");
        QTEST(dialog->StartDate(), "start");
        QCOMPARE(dialog->EndDate(), today);
        QCOMPARE(dialog->Periodicity(), 0);
        QVERIFY(!dialog->Overwrite());
        QVERIFY(!dialog->OverwriteBox()->isChecked());
        QVERIFY(dialog->CurrentSymbolLabel()->text().isEmpty());
        QVERIFY(dialog->ElapsedLabel()->text().isEmpty());
        QVERIFY(dialog->RemainingLabel()->text().isEmpty());
        QVERIFY(dialog->GetQuotesButton()->isDefault());
        QCOMPARE(dialog->GetQuotesButton()->text(), u"Get &quotes"_s);
        if (!selected.isEmpty()) {
            dialog->show();
            QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
            QVERIFY(dialog->grab().save(Artifact("download-dialog.png")));
        }
    }

    void HelpShowsTheDialogsTopic() {
        Harness harness;
        harness.help = HelpFile(std::filesystem::path(TESSALY_HELP_DIR));
        auto dialog = harness.Open({"MSFT"});
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        const auto help = dialog->findChildren<QPushButton*>();
        const auto button = std::find_if(help.begin(), help.end(),
                                         [](const QPushButton* b) { return b->text() == u"Help"_s; });
        QVERIFY(button != help.end());
        QTest::mouseClick(*button, Qt::LeftButton);
        auto* viewer = dialog->findChild<CHelpViewer*>();
        QVERIFY(viewer != nullptr);
        QTRY_VERIFY(viewer->isVisible());
        QVERIFY(viewer->Browser().source().toString().endsWith(u"downloaddlg.htm"_s));
        QCOMPARE(viewer->Browser().documentTitle(), u"Download Historical Quotes"_s);
        viewer->close();
    }

    void QueryDateNumbers() {
        QCOMPARE(CDlgDownloadHistQuotes::QueryDateNumber(QDate(2007, 1, 5)), 20070005);
        QCOMPARE(CDlgDownloadHistQuotes::QueryDateNumber(QDate(2006, 12, 31)), 20061131);
    }

    // Get quotes downloads the securities, refreshes their rows on the window's thread, closes the
    // dialog, then asks for the sound and shows the report, the last security first.
    void GetQuotesRunsAndReports() {
        Harness harness;
        harness.server.SetHistory("MSFT", {"2007-01-04,4,4,4,4,40,4", "2007-01-05,5,5,5,5,50,5"});
        harness.server.SetHistory("IBM", {"2007-01-05,9,9,9,9,90,9"});
        auto dialog = harness.Open({"MSFT", "XYZQ", "IBM"});
        QCOMPARE(dialog->Symbols(), u" MSFT XYZQ IBM"_s);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        QVERIFY(Harness::RunOver(*dialog, QDate(2007, 1, 4), QDate(2007, 1, 5)));
        QCOMPARE(harness.Report(), std::string("MSFT,2\r\nXYZQ,-1\r\nIBM,1\r\n"));
        QCOMPARE(harness.reportRows,
                 (QStringList{u"1 IBM Success"_s, u"0 XYZQ Invalid symbol"_s, u"2 MSFT Success"_s}));
        QCOMPARE(harness.list.calls,
                 (std::vector<std::string>{"remove MSFT", "add MSFT.csv", "remove IBM", "add IBM.csv"}));
        QVERIFY(harness.list.allOnWindowThread);
        QCOMPARE(harness.sounds, std::vector<std::filesystem::path>{harness.program / "complete.wav"});
        QCOMPARE(harness.reportsShown, 1);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QVERIFY(!dialog->IsRunning());
        // The last symbol is never shown as the current one; the bar ends at the list's length.
        QCOMPARE(dialog->CurrentSymbolLabel()->text(), u"XYZQ"_s);
        QCOMPARE(dialog->ProgressBar()->maximum(), 13);
        QCOMPARE(dialog->ProgressBar()->value(), 13);
        QCOMPARE(dialog->ElapsedLabel()->text().size(), 8);
        QVERIFY(std::filesystem::exists(harness.data / "MSFT.csv"));
        QVERIFY(!std::filesystem::exists(harness.data / "XYZQ.csv"));
    }

    void CancelBeforeGetQuotesDownloadsNothing() {
        Harness harness;
        harness.server.SetHistory("MSFT", {"2007-01-05,5,5,5,5,50,5"});
        test::WriteFile(harness.program / "report.txt", "OLD,3\r\n");
        auto dialog = harness.Open({"MSFT"});
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
        QTest::qWait(50);
        QCOMPARE(harness.Report(), std::string("OLD,3\r\n"));
        QVERIFY(harness.server.Requests().empty());
        QVERIFY(harness.sounds.empty());
        QCOMPARE(harness.reportsShown, 0);
        QVERIFY(!std::filesystem::exists(harness.data / "MSFT.csv"));
    }

    // Cancel clicked while the first of many securities is downloaded: the run finishes that one,
    // gives the next a line with 0 and stops; a second start meanwhile is refused. The window
    // answers throughout, and the sound and the report still follow.
    void CancelDuringARunStopsAtTheNextCheck() {
        Harness harness;
        std::string symbols;
        std::vector<std::string> selected;
        for (char c = 'A'; c <= 'L'; ++c) {
            harness.server.SetHistory(std::string(1, c), {"2007-01-05,5,5,5,5,50,5"});
            selected.emplace_back(1, c);
        }
        auto dialog = harness.Open(selected);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        bool refused = false;
        harness.list.onAdd = [&] {
            if (dialog->CancelButton()->isEnabled()) {
                refused = !dialog->GetQuotes();
                QCoreApplication::processEvents();
                QVERIFY(dialog->grab().save(Artifact("download-dialog-running.png")));
                QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
                // Still open: it closes once the run has returned.
                QVERIFY(dialog->isVisible());
            }
        };
        QVERIFY(Harness::RunOver(*dialog, QDate(2007, 1, 5), QDate(2007, 1, 5)));
        QVERIFY(refused);
        QCOMPARE(harness.Report(), std::string("A,1\r\nB,0\r\n"));
        QVERIFY(!std::filesystem::exists(harness.data / "B.csv"));
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
        QCOMPARE(harness.sounds.size(), std::size_t(1));
        QCOMPARE(harness.reportRows, (QStringList{u"0 B No new data available"_s, u"1 A Success"_s}));
    }

    void FatalErrorShowsOneMessageAndEndsTheRun() {
        Harness harness;
        harness.server.SetHistory("A", {"2007-01-05,5,5,5,5,50,5"});
        harness.server.SetTrouble(FakeQuoteServer::Request::Historical, "B",
                                  {FakeQuoteServer::Trouble::Kind::Status, 401, ""});
        harness.server.SetHistory("C", {"2007-01-05,5,5,5,5,50,5"});
        auto dialog = harness.Open({"A", "B", "C"});
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        QVERIFY(Harness::RunOver(*dialog, QDate(2007, 1, 5), QDate(2007, 1, 5)));
        QCOMPARE(harness.messages.asked.size(), std::size_t(1));
        QVERIFY(harness.messagesOnWindowThread);
        QCOMPARE(harness.Report(), std::string("A,1\r\nB,0\r\n"));
        QVERIFY(!std::filesystem::exists(harness.data / "C.csv"));
        QVERIFY(!dialog->isVisible());
        QCOMPARE(harness.reportsShown, 1);
    }

    // The overwrite choice is read anew for every security: ticked after the first, it rewrites the
    // second, whose file would otherwise be left alone as newer than the end date.
    void OverwriteTickedDuringARunAppliesToTheRest() {
        Harness harness;
        harness.server.SetHistory("A", {"2007-01-05,5,5,5,5,50,5"});
        harness.server.SetHistory("B", {"2007-01-04,4,4,4,4,40,4", "2007-01-05,5,5,5,5,50,5"});
        harness.data.Write(
            "B.csv", std::string(kHeader) +
                         "\r\n4-Jan-07,1,1,1,1,1,1\r\n5-Jan-07,1,1,1,1,1,1\r\n8-Jan-07,1,1,1,1,1,1\r\n");
        auto dialog = harness.Open({"A", "B"});
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        harness.list.onAdd = [&] {
            if (!dialog->OverwriteBox()->isChecked())
                QTest::mouseClick(dialog->OverwriteBox(), Qt::LeftButton, {},
                                  QPoint(8, dialog->OverwriteBox()->height() / 2));
        };
        QVERIFY(Harness::RunOver(*dialog, QDate(2007, 1, 4), QDate(2007, 1, 5)));
        QVERIFY(dialog->Overwrite());
        QCOMPARE(harness.Report(), std::string("A,1\r\nB,2\r\n"));
    }
};

QTEST_MAIN(DlgDownloadHistQuotesTest)
#include "dlgdownloadhistquotes_test.moc"
