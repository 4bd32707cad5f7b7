#include "browser/dlglist.h"
#include "support/scriptedmessageboxes.h"
#include "support/tempfolder.h"
#include "symbolfixture.h"
#include "ui/helpfile.h"

#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QTest>
#include <QTreeWidget>

#include <string>
#include <vector>

using namespace Qt::StringLiterals;
using namespace tessaly;

namespace {

QStringList Column(const CDlgList& dialog, int column) {
    QStringList texts;
    for (int row = 0; row < dialog.List()->topLevelItemCount(); ++row)
        texts << dialog.List()->topLevelItem(row)->text(column);
    return texts;
}

QStringList Industries(int first, int count) {
    QStringList symbols;
    for (int n = first; n < first + count; ++n)
        symbols << u"I%1"_s.arg(n);
    return symbols;
}

QStringList Entries(const QComboBox& box) {
    QStringList texts;
    for (int i = 0; i < box.count(); ++i)
        texts << box.itemText(i);
    return texts;
}

void Choose(CDlgList& dialog, int type, int group) {
    dialog.TypeBox()->setCurrentIndex(type);
    dialog.GroupBox()->setCurrentIndex(group);
}

} // namespace

class DlgListTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void OpensOnTheFirstMarket() {
        CDlgList dialog(nullptr, SymbolDatabase::FromText(test::SymbolDatabaseFixture()), messages_, help_);
        QCOMPARE(dialog.windowTitle(), u"Listed Securities Dialog"_s);
        QCOMPARE(dialog.TypeBox()->count(), 18);
        QCOMPARE(dialog.TypeBox()->itemText(3), u"  Sector 1"_s);
        QCOMPARE(dialog.TypeBox()->currentIndex(), 0);
        QCOMPARE(dialog.GroupBox()->currentText(), u"Market 1"_s);
        QCOMPARE(dialog.GroupBox()->count(), 11);
        QCOMPARE(Column(dialog, 0), (QStringList{u"One Corp"_s, u"Uno Corp"_s}));
        QCOMPARE(dialog.List()->headerItem()->text(0), u"Name"_s);
        QCOMPARE(dialog.List()->headerItem()->text(1), u"Symbol"_s);
        QCOMPARE(dialog.List()->columnWidth(0), 180);
        QCOMPARE(dialog.List()->columnWidth(1), 80);
        dialog.resize(480, 420);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        Choose(dialog, 3, 0);
        dialog.List()->topLevelItem(1)->setSelected(true);
        dialog.List()->topLevelItem(3)->setSelected(true);
        QDir().mkpath(QStringLiteral(TESSALY_ARTIFACTS_DIR));
        QVERIFY(dialog.grab().save(QStringLiteral(TESSALY_ARTIFACTS_DIR "/dlglist.png")));
    }

    void TypeAndGroupPositions_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("group");
        QTest::addColumn<QString>("firstGroup");
        QTest::addColumn<QStringList>("symbols");
        QTest::newRow("[Market1] is not [Market10]")
            << 0 << 0 << u"Market 1"_s << QStringList{u"ONE"_s, u"UNO"_s};
        QTest::newRow("Market 10") << 0 << 9 << u"Market 1"_s << QStringList{u"TEN"_s};
        QTest::newRow("FOREX") << 1 << 0 << u"All"_s << QStringList{u"$EURUSD"_s, u"$USDJPY"_s};
        QTest::newRow("Sectors heading") << 2 << 0 << u"Select sector ..."_s << QStringList{};
        QTest::newRow("sector 1 All") << 3 << 0 << u"All"_s << Industries(1, 17);
        QTest::newRow("sector 1 third entry") << 3 << 2 << u"All"_s << Industries(2, 1);
        QTest::newRow("sector 2 All") << 4 << 0 << u"All"_s << Industries(18, 1);
        QTest::newRow("sector 7 third entry") << 9 << 2 << u"All"_s << Industries(120, 1);
        QTest::newRow("sector 9 All") << 11 << 0 << u"All"_s << Industries(211, 5);
        QTest::newRow("Indices heading") << 12 << 0 << u"Select market ..."_s << QStringList{};
        QTest::newRow("US indices first") << 13 << 0 << u"[US-Indices] 1"_s << QStringList{u"X1"_s};
        QTest::newRow("world indices fourth") << 14 << 3 << u"[World-Indices] 1"_s << QStringList{u"X10"_s};
        QTest::newRow("ETFs heading") << 15 << 0 << u"Select market ..."_s << QStringList{};
        QTest::newRow("US ETFs third") << 16 << 2 << u"[US-ETF] 1"_s << QStringList{u"E3"_s};
        QTest::newRow("world ETFs first") << 17 << 0 << u"[World-ETF] 1"_s << QStringList{u"E4"_s};
    }
    void TypeAndGroupPositions() {
        QFETCH(int, type);
        QFETCH(int, group);
        QFETCH(QString, firstGroup);
        QFETCH(QStringList, symbols);
        CDlgList dialog(nullptr, SymbolDatabase::FromText(test::SymbolDatabaseFixture()), messages_, help_);
        Choose(dialog, type, group);
        QCOMPARE(dialog.GroupBox()->itemText(0), firstGroup);
        QCOMPARE(Column(dialog, 1), symbols);
    }

    void SortingReversesOnTheSameColumnAndKeepsSelections() {
        CDlgList dialog(nullptr, SymbolDatabase::FromText(test::SymbolDatabaseFixture()), messages_, help_);
        Choose(dialog, 3, 0);
        QHeaderView* header = dialog.List()->header();
        QVERIFY(!header->isSortIndicatorShown());
        dialog.List()->topLevelItem(1)->setSelected(true); // I2
        Q_EMIT header->sectionClicked(1);
        // Character-code order: "I10" comes before "I2".
        QCOMPARE(Column(dialog, 1).mid(0, 3), (QStringList{u"I1"_s, u"I10"_s, u"I11"_s}));
        QVERIFY(header->isSortIndicatorShown());
        QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
        QCOMPARE(dialog.List()->selectedItems().size(), 1);
        QCOMPARE(dialog.List()->selectedItems().front()->text(1), u"I2"_s);
        Q_EMIT header->sectionClicked(1);
        QCOMPARE(Column(dialog, 1).front(), u"I9"_s);
        QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
        Q_EMIT header->sectionClicked(0);
        QCOMPARE(Column(dialog, 0).mid(0, 2), (QStringList{u"Company 1"_s, u"Company 10"_s}));
        QCOMPARE(header->sortIndicatorSection(), 0);
        QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);

        // A refill takes the arrows away but the next click on the column reverses the last sort.
        Choose(dialog, 4, 0);
        Choose(dialog, 3, 0);
        QVERIFY(!header->isSortIndicatorShown());
        QCOMPARE(Column(dialog, 1), Industries(1, 17));
        Q_EMIT header->sectionClicked(0);
        QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
        QCOMPARE(Column(dialog, 0).front(), u"Company 9"_s);
    }

    void OkHandsBackTheSelectedSymbolsInListOrder() {
        CDlgList dialog(nullptr, SymbolDatabase::FromText(test::SymbolDatabaseFixture()), messages_, help_);
        Choose(dialog, 3, 0);
        dialog.List()->topLevelItem(2)->setSelected(true);
        dialog.List()->topLevelItem(0)->setSelected(true);
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Result(), std::string("I1 I3 "));
        QVERIFY(messages_.asked.empty());

        CDlgList all(nullptr, SymbolDatabase::FromText(test::SymbolDatabaseFixture()), messages_, help_);
        Choose(all, 1, 0);
        all.SelectAll();
        QCOMPARE(all.List()->selectedItems().size(), 2);
        all.DeselectAll();
        QVERIFY(all.List()->selectedItems().isEmpty());
        all.accept();
        QCOMPARE(messages_.asked, std::vector<std::string>{"No selection has been made."});
        QCOMPARE(all.result(), int(QDialog::Accepted));
        QVERIFY(all.Result().empty());
    }

    void MissingDatabaseGivesTheFixedTypesAndEmptyLists() {
        CDlgList dialog(nullptr, SymbolDatabase(folder_ / "missing.dta"), messages_, help_);
        QCOMPARE(Entries(*dialog.TypeBox()), (QStringList{u"Exchanges"_s, u"FOREX"_s}));
        QCOMPARE(dialog.GroupBox()->count(), 0);
        QCOMPARE(dialog.List()->topLevelItemCount(), 0);
        Choose(dialog, 1, 0);
        QCOMPARE(dialog.List()->topLevelItemCount(), 0);
    }

    void cleanup() { messages_.asked.clear(); }

private:
    test::TempFolder folder_;
    HelpFile help_{folder_.Path()};
    test::ScriptedMessageBoxes messages_;
};

QTEST_MAIN(DlgListTest)
#include "dlglist_test.moc"
