#include "conversiondialogs_support.h"
#include "convert/dlgconvert.h"
#include "convert/dlgconvert2ms.h"
#include "convert/dlgoptions.h"
#include "engine/memoryprofile.h"
#include "support/runcommand.h"
#include "support/tempfolder.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

#include <filesystem>

using namespace Qt::StringLiterals;
using namespace tessaly;
using namespace tessaly::test;

namespace {

constexpr std::string_view kHeader = "Date,Open,High,Low,Close,Volume,Adj. Close*\n";

QAbstractButton* Button(QWidget& dialog, const QString& name) {
    auto* button = dialog.findChild<QAbstractButton*>(name);
    if (!button)
        qFatal("no button %s", qPrintable(name));
    return button;
}

QString Text(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

} // namespace

class DlgConvertTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        data_ = std::make_unique<TempFolder>();
        data_->Write("AAA.csv", std::string(kHeader) + "3-Mar-05,92.50,93.10,91.80,92.41,4821300,92.41\n" +
                                    "4-Mar-05,92.40,94.00,92.00,93.00,5000000,93.00\n");
        data_->Write("BBB.csv", std::string(kHeader) + "3-Mar-05,10,11,9,20,100,10\n");
        help_ = std::make_unique<HelpFile>(data_->Path());
    }

    void OpensWithTheSelectionAndTheFolder() {
        HeldOption current;
        MemoryProfile profile;
        ScriptedMessageBoxes messages;
        CDlgConvert dialog(u" AAA BBB CCC"_s, data_->Path(), current, profile, messages, *help_);
        QCOMPARE(dialog.SymbolsEdit().text(), u" AAA BBB CCC"_s);
        QCOMPARE(dialog.OutputEdit().text(), Text(data_->Path()));
        QCOMPARE(dialog.windowTitle(), u"Convert to ASCII"_s);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        SaveScreenshot(dialog, u"convert-to-ascii.png"_s);
    }

    // Browse asks with its own title; a picked folder replaces the box, cancelling keeps it.
    void BrowseReplacesTheFolderOnlyWhenOnePicked() {
        HeldOption current;
        MemoryProfile profile;
        ScriptedMessageBoxes messages;
        CDlgConvert ascii(u" AAA"_s, data_->Path(), current, profile, messages, *help_);
        CDlgConvert2MS metastock(u" AAA"_s, data_->Path(), messages);
        std::vector<QString> titles;
        QString answer = u"/somewhere/else"_s;
        const FolderPicker picker = [&](QWidget*, const QString& title, const QString& start) {
            titles.push_back(title);
            [&] { QCOMPARE(start, Text(data_->Path())); }();
            return answer;
        };
        ascii.SetFolderPicker(picker);
        metastock.SetFolderPicker(picker);
        answer.clear();
        Button(ascii, u"Browse"_s)->click();
        Button(metastock, u"Browse"_s)->click();
        QCOMPARE(ascii.OutputEdit().text(), Text(data_->Path()));
        QCOMPARE(metastock.OutputEdit().text(), Text(data_->Path()));
        answer = u"/somewhere/else"_s;
        Button(ascii, u"Browse"_s)->click();
        Button(metastock, u"Browse"_s)->click();
        QCOMPARE(ascii.OutputEdit().text(), answer);
        QCOMPARE(metastock.OutputEdit().text(), answer);
        QCOMPARE(titles, std::vector<QString>(4, u"Select a directory for converted files."_s));
        QCOMPARE(Button(metastock, u"Browse"_s)->text(), u"Browes..."_s);
    }

    // Options works on a copy: Cancel changes nothing, Accept replaces the program's option and
    // the one this dialog converts with.
    void OptionsAcceptReplacesCancelKeeps() {
        ConversionOption start;
        start.Separator = 0;
        HeldOption current(start);
        MemoryProfile profile;
        ScriptedMessageBoxes messages;
        CDlgConvert dialog(u" AAA"_s, data_->Path(), current, profile, messages, *help_);

        bool opened = false;
        WhenModalOpens<CDlgOptions>(
            [](CDlgOptions& options) {
                for (const QString& name : {u"Symbol"_s, u"Separator3"_s, u"Single"_s})
                    Button(options, name)->click();
                Button(options, u"Cancel"_s)->click();
            },
            &opened);
        Button(dialog, u"Options"_s)->click();
        QVERIFY(opened);
        QCOMPARE(current.CurrentOption(), start);
        QCOMPARE(dialog.Option(), start);

        opened = false;
        WhenModalOpens<CDlgOptions>(
            [](CDlgOptions& options) {
                Button(options, u"Separator3"_s)->click();
                Button(options, u"Accept"_s)->click();
            },
            &opened);
        Button(dialog, u"Options"_s)->click();
        QVERIFY(opened);
        ConversionOption accepted = start;
        accepted.Separator = 3;
        QCOMPARE(current.CurrentOption(), accepted);
        QCOMPARE(dialog.Option(), accepted);
    }

    // Convert writes with the dialog's option, names the symbols it skipped, and closes.
    void ConvertWritesTheFilesAndNamesTheSkipped() {
        ConversionOption option;
        option.Symbol = 1;
        option.Separator = 3;
        option.DateFormat = 1;
        option.Open = option.High = option.Low = 0;
        option.Headers = 0;
        HeldOption current(option);
        MemoryProfile profile;
        ScriptedMessageBoxes messages;
        CDlgConvert dialog(u" AAA NONE BBB"_s, data_->Path(), current, profile, messages, *help_);
        dialog.OutputEdit().setText(u"out"_s);
        std::filesystem::create_directory(*data_ / "out");
        Button(dialog, u"Convert"_s)->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(data_->Read("out/AAA.txt"), std::string("AAA\t03/03/2005\t92.41\t4821300\r\n"
                                                         "AAA\t04/03/2005\t93.00\t5000000\r\n"));
        QCOMPARE(data_->Read("out/BBB.txt"), std::string("BBB\t03/03/2005\t20\t100\r\n"));
        QCOMPARE(messages.asked.size(), std::size_t(1));
        QVERIFY2(messages.asked[0].find("NONE: no data file") != std::string::npos,
                 messages.asked[0].c_str());
        QVERIFY(messages.asked[0].find("AAA") == std::string::npos);
    }

    void ConvertWithEverythingFineSaysNothing() {
        HeldOption current;
        MemoryProfile profile;
        ScriptedMessageBoxes messages;
        TempFolder out;
        CDlgConvert dialog(u" AAA BBB"_s, data_->Path(), current, profile, messages, *help_);
        dialog.OutputEdit().setText(Text(out.Path()));
        Button(dialog, u"Convert"_s)->click();
        QVERIFY(messages.asked.empty());
        QVERIFY(std::filesystem::exists(out / "AAA.txt"));
        QVERIFY(std::filesystem::exists(out / "BBB.txt"));
    }

    void CloseConvertsNothing() {
        HeldOption current;
        MemoryProfile profile;
        ScriptedMessageBoxes messages;
        TempFolder out;
        CDlgConvert dialog(u" AAA"_s, data_->Path(), current, profile, messages, *help_);
        dialog.OutputEdit().setText(Text(out.Path()));
        Button(dialog, u"Close"_s)->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(std::filesystem::is_empty(out.Path()));
    }

    // The folder the dialog fills is one the command line's MetaStock reader lists in full; the
    // symbol without a data file is named to the user and not registered.
    void MetaStockConversionMakesAFolderTheReaderLists() {
        ScriptedMessageBoxes messages;
        const std::filesystem::path out = *data_ / "ms" / "db";
        std::filesystem::create_directory(*data_ / "ms");
        CDlgConvert2MS dialog(u" AAA NONE BBB"_s, data_->Path(), messages);
        QCOMPARE(dialog.windowTitle(), u"Convert to Metastock"_s);
        QVERIFY(dialog.GenerateNames());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        SaveScreenshot(dialog, u"convert-to-metastock.png"_s);
        dialog.OutputEdit().setText(Text(out));
        Button(dialog, u"Convert"_s)->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(messages.asked.size(), std::size_t(1));
        QVERIFY2(messages.asked[0].find("NONE: no data file") != std::string::npos,
                 messages.asked[0].c_str());

        const CommandRun list = RunCli(TESSALY_CLI, "metastock list '" + out.string() + "'", true);
        QCOMPARE(list.status, 0);
        QCOMPARE(
            QString::fromStdString(list.out),
            u"F1.DAT\tAAA\tAAA\tD\t20050303\t20050304\t2\nF2.DAT\tBBB\tBBB\tD\t20050303\t20050303\t1\n"_s);
        const CommandRun dump = RunCli(TESSALY_CLI, "metastock dump '" + out.string() + "' BBB", true);
        QCOMPARE(dump.status, 0);
        QCOMPARE(QString::fromStdString(dump.out), u"20050303\t5\t5.5\t4.5\t10\t1\t0\n"_s);
    }

    void MetaStockCancelConvertsNothing() {
        ScriptedMessageBoxes messages;
        const std::filesystem::path out = *data_ / "none";
        CDlgConvert2MS dialog(u" AAA"_s, data_->Path(), messages);
        dialog.OutputEdit().setText(Text(out));
        Button(dialog, u"GenerateNames"_s)->click();
        QVERIFY(!dialog.GenerateNames());
        Button(dialog, u"Cancel"_s)->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!std::filesystem::exists(out));
    }

private:
    std::unique_ptr<TempFolder> data_;
    std::unique_ptr<HelpFile> help_;
};

QTEST_MAIN(DlgConvertTest)
#include "dlgconvert_test.moc"
