#include "app/dlgsettings.h"
#include "engine/datenumber.h"
#include "engine/endpoints.h"
#include "engine/memoryprofile.h"
#include "fakequoteserver.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

using namespace Qt::StringLiterals;

namespace tessaly {

class DlgSettingsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void showsTheEndpointsAndWritesThemOnOk() {
        MemoryProfile profile;
        CDlgSettings dialog(profile);
        auto* historical = dialog.findChild<QLineEdit*>(u"HistoricalHost"_s);
        QCOMPARE(historical->text().toStdString(), DefaultEndpoints().historicalHost);
        QCOMPARE(dialog.findChild<QSpinBox*>(u"MinRequestIntervalMs"_s)->value(), 500);
        QDir().mkpath(QStringLiteral(TESSALY_ARTIFACTS_DIR));
        dialog.show();
        QVERIFY(dialog.grab().save(QStringLiteral(TESSALY_ARTIFACTS_DIR "/settingsdialog.png")));

        historical->setText(u"  http://127.0.0.1:9/  "_s);
        dialog.findChild<QLineEdit*>(u"MakerHost"_s)->setText(u"http://maker.example/"_s);
        dialog.findChild<QSpinBox*>(u"MinRequestIntervalMs"_s)->setValue(1200);
        dialog.accept();
        QCOMPARE(profile.GetString(kEndpointsSection, kHistoricalHostName, ""), "http://127.0.0.1:9/");
        QCOMPARE(profile.GetString(kEndpointsSection, kMakerHostName, ""), "http://maker.example/");
        QCOMPARE(profile.GetInt(kEndpointsSection, kMinRequestIntervalName, 0), 1200);
    }

    void cancelChangesNothing() {
        MemoryProfile profile;
        profile.WriteString(kEndpointsSection, kQuoteHostName, "http://mine/");
        CDlgSettings dialog(profile);
        dialog.findChild<QLineEdit*>(u"QuoteHost"_s)->setText(u"http://other/"_s);
        dialog.reject();
        QCOMPARE(profile.GetString(kEndpointsSection, kQuoteHostName, ""), "http://mine/");
    }

    void testButtonsShowTheFirstAnswerLineOrTheError() {
        test::FakeQuoteServer server;
        QVERIFY(server.Start());
        server.LoadBuiltInFixtures(TodayDateNumber());
        MemoryProfile profile;
        CDlgSettings dialog(profile);
        const QString base = QString::fromStdString(server.BaseUrl());
        for (const char* name : {"HistoricalHost", "QuoteHost", "CurrencyHost"})
            dialog.findChild<QLineEdit*>(QString::fromLatin1(name))->setText(base);
        auto* result = dialog.findChild<QLabel*>(u"TestResult"_s);

        QTest::mouseClick(dialog.findChild<QPushButton*>(u"HistoricalHostTest"_s), Qt::LeftButton);
        QVERIFY2(result->text().startsWith(u"Date"_s), qPrintable(result->text()));
        QTest::mouseClick(dialog.findChild<QPushButton*>(u"QuoteHostTest"_s), Qt::LeftButton);
        QVERIFY2(result->text().startsWith(u"\"MSFT\","_s), qPrintable(result->text()));

        dialog.findChild<QLineEdit*>(u"TestSymbol"_s)->setText(u"XYZQ"_s);
        QTest::mouseClick(dialog.findChild<QPushButton*>(u"HistoricalHostTest"_s), Qt::LeftButton);
        QVERIFY2(!result->text().startsWith(u"Date"_s), qPrintable(result->text()));

        dialog.findChild<QLineEdit*>(u"HistoricalHost"_s)->clear();
        QTest::mouseClick(dialog.findChild<QPushButton*>(u"HistoricalHostTest"_s), Qt::LeftButton);
        QCOMPARE(result->text(),
                 u"No server is configured for this request (Endpoints/HistoricalHost in the settings)."_s);

        server.Stop();
        dialog.findChild<QLineEdit*>(u"QuoteHost"_s)->setText(base);
        QTest::mouseClick(dialog.findChild<QPushButton*>(u"QuoteHostTest"_s), Qt::LeftButton);
        QVERIFY2(!result->text().isEmpty() && !result->text().startsWith(u"\""_s),
                 qPrintable(result->text()));
    }
};

} // namespace tessaly

QTEST_MAIN(tessaly::DlgSettingsTest)
#include "dlgsettings_test.moc"
