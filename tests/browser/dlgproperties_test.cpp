#include "browser/dlgproperties.h"
#include "engine/datenumber.h"
#include "support/tempfolder.h"

#include <QTest>

using namespace Qt::StringLiterals;
using tessaly::CDlgProperties;
using tessaly::test::TempFolder;

class DlgPropertiesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void DailyFileOf250Records() {
        TempFolder folder;
        std::string text = "Date,Open,High,Low,Close,Volume,Adj. Close*\n";
        int records = 0;
        for (tessaly::DateNumber date = 20050103; records < 250; date = tessaly::AddDays(date, 1)) {
            if (tessaly::IsWeekend(date))
                continue;
            text += tessaly::DateNumberToStored(date) + ",1,2,0.5,1.5,100,1.5\n";
            ++records;
        }
        folder.Write("ibm.csv", text);
        CDlgProperties dialog(nullptr, folder.Path(), "ibm.csv");
        QCOMPARE(dialog.windowTitle(), u"Security Properties"_s);
        QCOMPARE(dialog.Lines(),
                 (QStringList{u"Symbol:\t\tIBM"_s, u"FirstDate:\t3-Jan-05"_s, u"LastDate:\t16-Dec-05"_s,
                              u"Periodicity:\tDaily"_s, u"Records:\t250"_s, u"Format:\t\tCSV"_s}));
    }

    void EmptyMissingAndNoSelection() {
        TempFolder folder;
        folder.Write("NEW.csv", "");
        QCOMPARE(CDlgProperties(nullptr, folder.Path(), "NEW.csv").Lines(),
                 (QStringList{u"Symbol:\t\tNEW"_s, u"FirstDate:\t0"_s, u"LastDate:\t0"_s,
                              u"Periodicity:\t-"_s, u"Records:\t0"_s, u"Format:\t\tCSV"_s}));
        QCOMPARE(CDlgProperties(nullptr, folder.Path(), "GONE.csv").Lines().at(0), u"Symbol:\t\tGONE"_s);
        QCOMPARE(CDlgProperties(nullptr, folder.Path(), "GONE.csv").Lines().at(4), u"Records:\t"_s);
        QCOMPARE(CDlgProperties(nullptr, folder.Path(), "").Lines().at(1), u"First Date:"_s);
    }
};

QTEST_MAIN(DlgPropertiesTest)
#include "dlgproperties_test.moc"
