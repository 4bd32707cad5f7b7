#include "engine/dlgreport.h"
#include "support/tempfolder.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using namespace tessaly;
using tessaly::test::TempFolder;

namespace {

// Each row as "records symbol status icon".
QStringList Rows(const CDlgReport& dialog) {
    QStringList rows;
    for (int row = 0; row < dialog.List()->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = dialog.List()->topLevelItem(row);
        rows.push_back(item->text(0) + u' ' + item->text(1) + u' ' + item->text(2) + u' ' +
                       QString::number(item->data(0, Qt::UserRole).toInt()));
    }
    return rows;
}

void ClickHeading(CDlgReport& dialog, int column) {
    QHeaderView* header = dialog.List()->header();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class DlgReportTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void ShowsTheLastSecurityFirst() {
        TempFolder folder;
        const auto file = folder.Write("report.txt", "MSFT,250\r\nXYZQ,-1\r\nIBM,0\r\nNOCOMMA\r\n");
        CDlgReport dialog(file);
        QCOMPARE(dialog.windowTitle(), u"Last Download Report"_s);
        QCOMPARE(Rows(dialog), (QStringList{u"NOCOMMA  Success 1"_s, u"0 IBM No new data available 0"_s,
                                            u"0 XYZQ Invalid symbol 0"_s, u"250 MSFT Success 1"_s}));
        const QTreeWidgetItem* heading = dialog.List()->headerItem();
        QCOMPARE(heading->text(0), u"Records"_s);
        QCOMPARE(heading->text(1), u"Symbol"_s);
        QCOMPARE(heading->text(2), u"Status"_s);
        QCOMPARE(dialog.List()->columnWidth(0), 80);
        QCOMPARE(dialog.List()->columnWidth(1), 80);
        QVERIFY(dialog.List()->columnWidth(2) >= 120);
        QCOMPARE(dialog.List()->selectionBehavior(), QAbstractItemView::SelectRows);
        QVERIFY(!dialog.List()->topLevelItem(0)->icon(0).isNull());
        QVERIFY(!dialog.List()->header()->isSortIndicatorShown());
    }

    void MissingReportGivesAnEmptyList() {
        TempFolder folder;
        CDlgReport dialog(folder / "report.txt");
        QCOMPARE(dialog.List()->topLevelItemCount(), 0);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const auto buttons = dialog.findChildren<QPushButton*>();
        QCOMPARE(buttons.size(), 1);
        QCOMPARE(buttons.front()->text(), u"Close"_s);
        QTest::mouseClick(buttons.front(), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
    }

    // A heading click sorts by its text; the same heading again reverses, another starts ascending.
    void HeadingClicksSortByText() {
        TempFolder folder;
        const auto file = folder.Write("report.txt", "MSFT,250\r\nXYZQ,-1\r\nIBM,0\r\nAAPL,9\r\n");
        CDlgReport dialog(file);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QHeaderView* header = dialog.List()->header();

        ClickHeading(dialog, 0);
        QCOMPARE(Rows(dialog).join(u'|'), u"0 XYZQ Invalid symbol 0|0 IBM No new data available 0|"
                                          u"250 MSFT Success 1|9 AAPL Success 1"_s);
        QVERIFY(header->isSortIndicatorShown());
        QCOMPARE(header->sortIndicatorSection(), 0);
        QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);

        ClickHeading(dialog, 0);
        QCOMPARE(Rows(dialog).join(u'|'), u"9 AAPL Success 1|250 MSFT Success 1|"
                                          u"0 IBM No new data available 0|0 XYZQ Invalid symbol 0"_s);
        QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);

        ClickHeading(dialog, 1);
        QCOMPARE(Rows(dialog).join(u'|'), u"9 AAPL Success 1|0 IBM No new data available 0|"
                                          u"250 MSFT Success 1|0 XYZQ Invalid symbol 0"_s);
        QCOMPARE(header->sortIndicatorSection(), 1);
        QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
        QDir().mkpath(QStringLiteral(TESSALY_ARTIFACTS_DIR));
        QVERIFY(dialog.grab().save(QStringLiteral(TESSALY_ARTIFACTS_DIR "/report-dialog.png")));
    }

    void RecordsTwiceSortsDescending() {
        TempFolder folder;
        const auto file = folder.Write("report.txt", "MSFT,250\r\nXYZQ,-1\r\nIBM,0\r\n");
        CDlgReport dialog(file);
        dialog.SortByColumn(0);
        dialog.SortByColumn(0);
        QCOMPARE(Rows(dialog), (QStringList{u"250 MSFT Success 1"_s, u"0 XYZQ Invalid symbol 0"_s,
                                            u"0 IBM No new data available 0"_s}));
        QVERIFY(!dialog.SortedAscending());
    }
};

QTEST_MAIN(DlgReportTest)
#include "dlgreport_test.moc"
