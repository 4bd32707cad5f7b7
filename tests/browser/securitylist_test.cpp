#include "browser/rightlistview.h"
#include "browser/securitylistmodel.h"
#include "support/tempfolder.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

using tessaly::CRightListView;
using tessaly::SecurityListModel;
using tessaly::test::TempFolder;

namespace {

std::string File(const std::string& date) {
    return "Date,Open,High,Low,Close,Volume,Adj. Close*\n" + date + ",1,2,0.5,1.5,100,1.5\n";
}

QStringList Column(const SecurityListModel& model, int column) {
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row)
        texts << model.index(row, column).data().toString();
    return texts;
}

} // namespace

class SecurityListTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void ListsOnlyCsvFilesWithAllColumns() {
        TempFolder folder;
        folder.Write("ibm.csv", File("5-Jan-05"));
        folder.Write("IBM.CSV", File("5-Jan-05"));
        folder.Write("ibm.csv.bak", File("5-Jan-05"));
        folder.Write("LONGSYMBOLNAME.csv", File("28-Dec-04"));
        CRightListView view;
        QAbstractItemModelTester tester(&view.Model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy finished(&view, &CRightListView::ListingFinished);
        view.ShowFolder(folder.Path());
        QVERIFY(!view.IsListing() || finished.wait());
        QStringList symbols = Column(view.Model(), SecurityListModel::SymbolColumn);
        symbols.sort();
        QCOMPARE(symbols, (QStringList{u"IBM"_s, u"LONGSYMBOLNAME"_s}));
        QCOMPARE(view.Model().headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), u"LastDate"_s);
        for (int row = 0; row < view.Model().rowCount(); ++row)
            if (view.Model().Row(row).symbol == "IBM")
                QCOMPARE(view.Model().Row(row).fileName, std::string("ibm.csv"));
    }

    void SortsByDateTwiceAndRemovesIgnoringCase() {
        TempFolder folder;
        folder.Write("A.csv", File("5-Jan-05"));
        folder.Write("B.csv", File("28-Dec-04"));
        folder.Write("C.csv", "");
        CRightListView view;
        QAbstractItemModelTester tester(&view.Model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        view.ShowFolder(folder.Path());
        QTRY_VERIFY(!view.IsListing());
        QCOMPARE(view.Model().rowCount(), 3);
        Q_EMIT view.header()->sectionClicked(SecurityListModel::LastDateColumn);
        QCOMPARE(Column(view.Model(), SecurityListModel::LastDateColumn),
                 (QStringList{u"0"_s, u"28-Dec-04"_s, u"5-Jan-05"_s}));
        QVERIFY(view.header()->isSortIndicatorShown());
        Q_EMIT view.header()->sectionClicked(SecurityListModel::LastDateColumn);
        QCOMPARE(Column(view.Model(), SecurityListModel::LastDateColumn),
                 (QStringList{u"5-Jan-05"_s, u"28-Dec-04"_s, u"0"_s}));
        QCOMPARE(view.header()->sortIndicatorOrder(), Qt::DescendingOrder);
        view.RemoveSecurityRows("b");
        QCOMPARE(Column(view.Model(), SecurityListModel::SymbolColumn), (QStringList{u"A"_s, u"C"_s}));
    }

    void AddRowSkipsMissingFile() {
        TempFolder folder;
        folder.Write("X.csv", File("5-Jan-05"));
        CRightListView view;
        view.AddSecurityRow("X.csv", folder.Path());
        view.AddSecurityRow("missing.csv", folder.Path());
        QCOMPARE(view.Model().rowCount(), 1);
    }
};

QTEST_MAIN(SecurityListTest)
#include "securitylist_test.moc"
