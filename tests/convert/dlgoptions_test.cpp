#include "conversiondialogs_support.h"
#include "convert/dlgoptions.h"
#include "convert/dlgsaveoption.h"
#include "convert/loadoptiondlg.h"
#include "engine/memoryprofile.h"
#include "support/tempfolder.h"
#include "ui/helpviewer.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextBrowser>

using namespace Qt::StringLiterals;
using namespace tessaly;
using namespace tessaly::test;

namespace {

template <typename T = QAbstractButton>
T* Child(QWidget& dialog, const QString& name) {
    T* child = dialog.findChild<T*>(name);
    if (!child)
        qFatal("no control %s", qPrintable(name));
    return child;
}

QString HeaderText(QWidget& dialog) {
    return Child<QLineEdit>(dialog, u"HeadersLine"_s)->text();
}

// Date (as 20050229), Open, High, Low and Volume on, Close off, a header typed by hand.
ConversionOption WithoutClose() {
    ConversionOption option;
    option.Close = 0;
    option.HeadersLine = "typed by hand";
    return option;
}

} // namespace

class DlgOptionsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { help_ = std::make_unique<HelpFile>(folder_.Path()); }

    // Each click on a field, a date layout, Include headers or Single output file builds the header
    // line anew from what the boxes show; a separator does not.
    void HeaderLineRebuild_data() {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QString>("header");
        QTest::addColumn<bool>("headerBoxEnabled");
        QTest::newRow("ticking Close")
            << QStringList{u"Close"_s} << u"<YYYYMMDD>,<OPEN>,<HIGH>,<LOW>,<CLOSE>,<VOL>"_s << true;
        QTest::newRow("unticking Open")
            << QStringList{u"Open"_s} << u"<YYYYMMDD>,<HIGH>,<LOW>,<VOL>"_s << true;
        QTest::newRow("date layout") << QStringList{u"DateFormat8"_s}
                                     << u"<DD-MMM-YY>,<OPEN>,<HIGH>,<LOW>,<VOL>"_s << true;
        QTest::newRow("every other column")
            << QStringList{u"Symbol"_s, u"Periodicity"_s, u"Interest"_s}
            << u"<TICKER>,<PER>,<YYYYMMDD>,<OPEN>,<HIGH>,<LOW>,<VOL>,<OPENINT>"_s << true;
        QTest::newRow("separator keeps the typed line")
            << QStringList{u"Separator3"_s} << u"typed by hand"_s << true;
        QTest::newRow("tab separator, then a field: still commas")
            << QStringList{u"Separator3"_s, u"Close"_s} << u"<YYYYMMDD>,<OPEN>,<HIGH>,<LOW>,<CLOSE>,<VOL>"_s
            << true;
        QTest::newRow("headers off") << QStringList{u"Headers"_s} << u"<YYYYMMDD>,<OPEN>,<HIGH>,<LOW>,<VOL>"_s
                                     << false;
        QTest::newRow("single file") << QStringList{u"Single"_s}
                                     << u"<TICKER>,<YYYYMMDD>,<OPEN>,<HIGH>,<LOW>,<VOL>"_s << true;
    }
    void HeaderLineRebuild() {
        QFETCH(QStringList, clicks);
        QFETCH(QString, header);
        QFETCH(bool, headerBoxEnabled);
        MemoryProfile profile;
        ScriptedMessageBoxes messages;
        CDlgOptions dialog(WithoutClose(), profile, messages, *help_);
        QCOMPARE(HeaderText(dialog), u"typed by hand"_s);
        for (const QString& name : clicks)
            Child(dialog, name)->click();
        QCOMPARE(HeaderText(dialog), header);
        QCOMPARE(Child<QLineEdit>(dialog, u"HeadersLine"_s)->isEnabled(), headerBoxEnabled);
    }

    void TypedHeaderIsLostOnATickAndKeptWhenTypedLast() {
        MemoryProfile profile;
        ScriptedMessageBoxes messages;
        CDlgOptions dialog(WithoutClose(), profile, messages, *help_);
        QLineEdit* header = Child<QLineEdit>(dialog, u"HeadersLine"_s);
        header->setText(u"Date;Close"_s);
        Child(dialog, u"Close"_s)->click();
        QCOMPARE(header->text(), u"<YYYYMMDD>,<OPEN>,<HIGH>,<LOW>,<CLOSE>,<VOL>"_s);
        header->setText(u"Date;Close"_s);
        Child(dialog, u"Accept"_s)->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Option().HeadersLine, std::string("Date;Close"));
        QCOMPARE(dialog.Option().Close, 1);
    }

    void SingleFileFillsTheNameAndLocksSymbol() {
        MemoryProfile profile;
        ScriptedMessageBoxes messages;
        ConversionOption option;
        option.FileName.clear();
        CDlgOptions dialog(option, profile, messages, *help_);
        QAbstractButton* symbol = Child(dialog, u"Symbol"_s);
        QLineEdit* fileName = Child<QLineEdit>(dialog, u"FileName"_s);
        QVERIFY(symbol->isEnabled());
        QVERIFY(!symbol->isChecked());
        QVERIFY(!fileName->isEnabled());

        Child(dialog, u"Single"_s)->click();
        QCOMPARE(fileName->text(), u"ascii_file"_s);
        QVERIFY(fileName->isEnabled());
        QVERIFY(symbol->isChecked());
        QVERIFY(!symbol->isEnabled());
        QVERIFY(HeaderText(dialog).startsWith(u"<TICKER>,"_s));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        SaveScreenshot(dialog, u"conversion-options.png"_s);

        // Off again: the name box locks, Symbol is free and keeps its tick.
        Child(dialog, u"Single"_s)->click();
        QVERIFY(!fileName->isEnabled());
        QVERIFY(symbol->isEnabled());
        QVERIFY(symbol->isChecked());
        QCOMPARE(fileName->text(), u"ascii_file"_s);
    }

    void OpeningWithSingleOnChecksSymbol() {
        MemoryProfile profile;
        ScriptedMessageBoxes messages;
        ConversionOption option;
        option.Single = 1;
        option.Symbol = 0;
        option.Headers = 0;
        CDlgOptions dialog(option, profile, messages, *help_);
        QVERIFY(Child(dialog, u"Symbol"_s)->isChecked());
        QVERIFY(!Child(dialog, u"Symbol"_s)->isEnabled());
        QVERIFY(Child<QLineEdit>(dialog, u"FileName"_s)->isEnabled());
        QVERIFY(!Child<QLineEdit>(dialog, u"HeadersLine"_s)->isEnabled());
        // Opening does not rebuild the header line.
        QCOMPARE(HeaderText(dialog).toStdString(), option.HeadersLine);
        QCOMPARE(dialog.ControlValues().Symbol, 1);
    }

    // A first start stores nothing, so every flag is off; Default brings the standard layout.
    void DefaultShowsTheDefaults() {
        MemoryProfile profile;
        ScriptedMessageBoxes messages;
        const ConversionOption empty = LoadCurrentOption(profile);
        CDlgOptions dialog(empty, profile, messages, *help_);
        QVERIFY(!Child<QLineEdit>(dialog, u"HeadersLine"_s)->isEnabled());
        Child(dialog, u"Default"_s)->click();
        QCOMPARE(dialog.ControlValues(), ConversionOption{});
        QVERIFY(Child<QLineEdit>(dialog, u"HeadersLine"_s)->isEnabled());
        QVERIFY(!Child<QLineEdit>(dialog, u"FileName"_s)->isEnabled());
        QVERIFY(Child(dialog, u"Symbol"_s)->isEnabled());
        QVERIFY(Child<QRadioButton>(dialog, u"DateFormat4"_s)->isChecked());
        QVERIFY(Child<QRadioButton>(dialog, u"Separator1"_s)->isChecked());
        // Nothing is taken until Accept.
        QCOMPARE(dialog.Option(), empty);
    }

    void CancelKeepsTheOption() {
        MemoryProfile profile;
        ScriptedMessageBoxes messages;
        const ConversionOption option = WithoutClose();
        CDlgOptions dialog(option, profile, messages, *help_);
        for (const QString& name : {u"Close"_s, u"Single"_s, u"Separator0"_s, u"DateFormat2"_s, u"Default"_s})
            Child(dialog, name)->click();
        Child<QLineEdit>(dialog, u"Extension"_s)->setText(u"csv"_s);
        Child(dialog, u"Cancel"_s)->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(dialog.Option(), option);
    }

    // The loaded preset's values are shown and the rules applied, but the file name stays the
    // one the box had ("ascii_file" when it was empty).
    void LoadKeepsTheFileName_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("typed name") << u"my_export"_s << u"my_export"_s;
        QTest::newRow("empty box") << QString() << u"ascii_file"_s;
    }
    void LoadKeepsTheFileName() {
        QFETCH(QString, before);
        QFETCH(QString, after);
        MemoryProfile profile;
        ConversionOption preset;
        preset.Single = 1;
        preset.Symbol = 0;
        preset.Separator = 3;
        preset.DateFormat = 8;
        preset.Headers = 0;
        preset.HeadersLine = "preset header";
        preset.FileName = "preset_file";
        QVERIFY(SavePresetOption(profile, "Weekly", preset));
        ScriptedMessageBoxes messages;
        CDlgOptions dialog(ConversionOption{}, profile, messages, *help_);
        Child<QLineEdit>(dialog, u"FileName"_s)->setText(before);

        bool loaded = false;
        WhenModalOpens<LoadOptionDlg>(
            [](LoadOptionDlg& presets) {
                QCOMPARE(presets.List().currentItem()->text(), u"Weekly"_s);
                presets.accept();
            },
            &loaded);
        Child(dialog, u"Load"_s)->click();
        QVERIFY(loaded);

        ConversionOption expected = preset;
        expected.Symbol = 1;
        expected.FileName = after.toStdString();
        QCOMPARE(dialog.ControlValues(), expected);
        QVERIFY(!Child(dialog, u"Symbol"_s)->isEnabled());
        QVERIFY(Child<QLineEdit>(dialog, u"FileName"_s)->isEnabled());
        QVERIFY(!Child<QLineEdit>(dialog, u"HeadersLine"_s)->isEnabled());
    }

    void PresetListIsSortedAndLoadsTheFirstOfAName() {
        MemoryProfile profile;
        ConversionOption first;
        first.Separator = 0;
        ConversionOption second;
        second.Separator = 2;
        for (const auto& [name, option] : std::vector<std::pair<std::string, ConversionOption>>{
                 {"beta", {}}, {"MyOption", first}, {"alpha", {}}, {"MyOption", second}, {"Gamma", {}}})
            QVERIFY(SavePresetOption(profile, name, option));
        LoadOptionDlg presets(profile);
        QStringList names;
        for (int i = 0; i < presets.List().count(); ++i)
            names << presets.List().item(i)->text();
        QCOMPARE(names, (QStringList{u"alpha"_s, u"beta"_s, u"Gamma"_s, u"MyOption"_s, u"MyOption"_s}));
        QCOMPARE(presets.List().currentRow(), 0);
        presets.show();
        QVERIFY(QTest::qWaitForWindowExposed(&presets));
        SaveScreenshot(presets, u"preset-conversion-options.png"_s);
        presets.List().setCurrentRow(3);
        presets.accept();
        QVERIFY(presets.Option().has_value());
        QCOMPARE(*presets.Option(), first);
    }

    void LoadWithoutPresetsLoadsNothing() {
        MemoryProfile profile;
        LoadOptionDlg presets(profile);
        QCOMPARE(presets.List().count(), 0);
        presets.accept();
        QCOMPARE(presets.result(), int(QDialog::Accepted));
        QVERIFY(!presets.Option().has_value());
        QVERIFY(!profile.HasValue("Settings", "PresetOptions"));
    }

    void SaveRefusesAnEmptyName() {
        MemoryProfile profile;
        ScriptedMessageBoxes messages;
        CDlgSaveOption save(profile, ConversionOption{}, messages);
        QCOMPARE(save.NameEdit().text(), u"MyOption"_s);
        save.show();
        QVERIFY(QTest::qWaitForWindowExposed(&save));
        SaveScreenshot(save, u"custom-conversion-option.png"_s);
        save.NameEdit().clear();
        save.accept();
        QCOMPARE(messages.asked,
                 std::vector<std::string>{"Please enter the name of your conversion option."});
        QVERIFY(save.isVisible());
        QVERIFY(EnumPresetOptions(profile).empty());
        QVERIFY(!profile.HasValue("Settings", "PresetOptions"));
    }

    // Save stores what the boxes show at that moment, not the option the dialog came with.
    void SaveStoresTheShownValues() {
        MemoryProfile profile;
        ScriptedMessageBoxes messages;
        CDlgOptions dialog(ConversionOption{}, profile, messages, *help_);
        Child(dialog, u"Separator3"_s)->click();
        Child<QLineEdit>(dialog, u"Extension"_s)->setText(u"prn"_s);
        bool saved = false;
        WhenModalOpens<CDlgSaveOption>(
            [](CDlgSaveOption& save) {
                save.NameEdit().setText(u"Tabs"_s);
                save.accept();
            },
            &saved);
        Child(dialog, u"Save"_s)->click();
        QVERIFY(saved);
        QVERIFY(messages.asked.empty());
        QCOMPARE(EnumPresetOptions(profile), std::vector<std::string>{"Tabs"});
        const std::optional<ConversionOption> stored = LoadPresetOption(profile, "Tabs");
        QVERIFY(stored.has_value());
        QCOMPARE(*stored, dialog.ControlValues());
        QCOMPARE(stored->Separator, 3);
        QCOMPARE(stored->Extension, std::string("prn"));
    }

    // Help shows the shipped page of the options in the program's help viewer.
    void HelpShowsTheOptionsPage() {
        MemoryProfile profile;
        ScriptedMessageBoxes messages;
        const HelpFile shipped(TESSALY_HELP_DIR);
        CDlgOptions dialog(ConversionOption{}, profile, messages, shipped);
        dialog.show();
        Child(dialog, u"Help"_s)->click();
        auto* viewer = dialog.findChild<CHelpViewer*>();
        QVERIFY(viewer);
        QVERIFY(viewer->isVisible());
        QVERIFY(viewer->Browser().source().toLocalFile().endsWith(u"/convertopt.htm"_s));
        QVERIFY(viewer->Browser().toPlainText().contains(u"Single output file"_s));
        QVERIFY(QTest::qWaitForWindowExposed(viewer));
        SaveScreenshot(*viewer, u"help-convertopt.png"_s);
    }

private:
    TempFolder folder_;
    std::unique_ptr<HelpFile> help_;
};

QTEST_MAIN(DlgOptionsTest)
#include "dlgoptions_test.moc"
