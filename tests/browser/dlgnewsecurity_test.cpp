#include "browser/dlglist.h"
#include "browser/dlgnewfolder.h"
#include "browser/dlgnewsecurity.h"
#include "browser/lefttreeview.h"
#include "browser/rightlistview.h"
#include "engine/memoryprofile.h"
#include "support/foldertext.h"
#include "support/modaldialogs.h"
#include "support/scriptedmessageboxes.h"
#include "support/tempfolder.h"
#include "symbolfixture.h"
#include "ui/helpfile.h"
#include "ui/progresswnd.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

using namespace Qt::StringLiterals;
using namespace tessaly;
using tessaly::test::Folder;
using tessaly::test::TempFolder;

namespace {

constexpr std::string_view kRecord =
    "Date,Open,High,Low,Close,Volume,Adj. Close*\n5-Jan-05,1,2,0.5,1.5,100,1.5\n";

CProgressWnd* VisibleProgressWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* progress = qobject_cast<CProgressWnd*>(widget); progress && progress->isVisible())
            return progress;
    return nullptr;
}

QStringList Symbols(CRightListView& list) {
    QStringList symbols;
    for (int row = 0; row < list.Model().rowCount(); ++row)
        symbols << QString::fromStdString(list.Model().Row(row).symbol);
    symbols.sort();
    return symbols;
}

} // namespace

class DlgNewSecurityTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        data_ = std::make_unique<TempFolder>();
        tree_ = std::make_unique<CLeftTreeView>();
        list_ = std::make_unique<CRightListView>();
        connect(tree_.get(), &CLeftTreeView::FolderSelected, list_.get(),
                [this](const QString& folder) { list_->ShowFolder(folder.toStdString()); });
        tree_->RestoreLastFolder(Folder(data_->Path()));
        QTRY_VERIFY(!list_->IsListing());
        messages_ = test::ScriptedMessageBoxes();
        profile_ = MemoryProfile();
        databases_ = {data_->Write("lists.dta", test::SymbolDatabaseFixture())};
    }
    void cleanup() {
        list_.reset();
        tree_.reset();
        data_.reset();
    }

    void AddsEmptyFilesAndTheirRows() {
        CDlgNewSecurity dialog(nullptr, Context());
        QCOMPARE(dialog.windowTitle(), u"Add New Security"_s);
        QCOMPARE(dialog.FolderEdit()->text(), Folder(data_->Path()));
        QVERIFY(dialog.SymbolsEdit()->maxLength() > 100000); // room for a whole exchange's list
        dialog.SymbolsEdit()->setText(u"ibm msft "_s);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QDir().mkpath(QStringLiteral(TESSALY_ARTIFACTS_DIR));
        QVERIFY(dialog.grab().save(QStringLiteral(TESSALY_ARTIFACTS_DIR "/dlgnewsecurity.png")));
        dialog.Add();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(data_->Read("IBM.csv"), std::string());
        QCOMPARE(data_->Read("MSFT.csv"), std::string());
        QCOMPARE(Symbols(*list_), (QStringList{u"IBM"_s, u"MSFT"_s}));
        const SecurityRow& row = list_->Model().Row(0);
        QCOMPARE(row.periodicity, std::string("-"));
        QVERIFY(messages_.asked.empty());
    }

    void RefusesWhatCannotBeAdded_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("created");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("blanks only") << u"    "_s << u"Enter security symbol."_s << QStringList{} << false;
        QTest::newRow("nothing") << QString() << u"Enter security symbol."_s << QStringList{} << false;
        QTest::newRow("unsafe symbols")
            << u"a/b .. ok c\\d"_s
            << u"These symbols cannot be used as file names and are not added: A/B .. C\\D"_s
            << QStringList{u"OK.csv"_s} << true;
        QTest::newRow("only unsafe") << u"."_s
                                     << u"These symbols cannot be used as file names and are not added: ."_s
                                     << QStringList{} << false;
        QTest::newRow("a control character") << u"x\u0001y"_s
                                             << u"These symbols cannot be used as file names and are not "
                                                u"added: X\u0001Y"_s
                                             << QStringList{} << false;
    }
    void RefusesWhatCannotBeAdded() {
        QFETCH(QString, text);
        QFETCH(QString, message);
        QFETCH(QStringList, created);
        QFETCH(bool, accepted);
        CDlgNewSecurity dialog(nullptr, Context());
        dialog.SymbolsEdit()->setText(text);
        dialog.Add();
        QCOMPARE(messages_.asked, std::vector<std::string>{message.toStdString()});
        QCOMPARE(dialog.result(), accepted ? int(QDialog::Accepted) : int(QDialog::Rejected));
        QStringList files = QDir(Folder(data_->Path())).entryList({u"*.csv"_s}, QDir::Files);
        QCOMPARE(files, created);
        QVERIFY(std::filesystem::is_directory(data_->Path())); // ".." made nothing above it
    }

    void AsksBeforeEmptyingAnExistingFile_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<std::string>("ibm");
        QTest::addColumn<bool>("msftCreated");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("Yes empties it") << int(MessageAnswer::Yes) << std::string() << true << true;
        QTest::newRow("No keeps it and goes on")
            << int(MessageAnswer::No) << std::string(kRecord) << true << true;
        QTest::newRow("Cancel stops") << int(MessageAnswer::Cancel) << std::string(kRecord) << false << false;
    }
    void AsksBeforeEmptyingAnExistingFile() {
        QFETCH(int, answer);
        QFETCH(std::string, ibm);
        QFETCH(bool, msftCreated);
        QFETCH(bool, accepted);
        data_->Write("ibm.csv", kRecord); // the same security, named in another case
        list_->ShowFolder(data_->Path());
        QTRY_VERIFY(!list_->IsListing());
        messages_.answers = {static_cast<MessageAnswer>(answer)};
        CDlgNewSecurity dialog(nullptr, Context());
        dialog.SymbolsEdit()->setText(u"IBM msft"_s);
        dialog.Add();
        QCOMPARE(messages_.asked, std::vector<std::string>{"File " + (data_->Path() / "ibm.csv").string() +
                                                           " already exists. Do you want to overwrite it?"});
        QCOMPARE(data_->Read("ibm.csv"), ibm);
        QVERIFY(!std::filesystem::exists(data_->Path() / "IBM.csv") ||
                std::filesystem::equivalent(data_->Path() / "IBM.csv", data_->Path() / "ibm.csv"));
        QCOMPARE(std::filesystem::exists(data_->Path() / "MSFT.csv"), msftCreated);
        QCOMPARE(dialog.result(), accepted ? int(QDialog::Accepted) : int(QDialog::Rejected));
        QStringList expected{u"IBM"_s};
        if (msftCreated)
            expected << u"MSFT"_s;
        QCOMPARE(Symbols(*list_), expected);
        QCOMPARE(list_->Model().Row(0).fileName, std::string("ibm.csv")); // one row, the real name
    }

    void LongTextShowsTheProgressWindow_data() {
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("shown");
        QTest::newRow("200 characters") << 200 << false;
        QTest::newRow("201 characters") << 201 << true;
    }
    void LongTextShowsTheProgressWindow() {
        QFETCH(int, length);
        QFETCH(bool, shown);
        data_->Write("AAA.csv", kRecord);
        // Symbols of four letters and blanks, then a last symbol that fills up to the length; the
        // existing AAA comes first so its question shows what is on screen while the loop runs.
        QString text = u"AAA"_s;
        for (int n = 0; text.size() + 5 <= length - 5; ++n)
            text += u" S%1"_s.arg(n, 3, 10, QLatin1Char('0'));
        text += u" "_s + QString(length - text.size() - 1, QLatin1Char('Z'));
        QCOMPARE(text.size(), length);
        bool progressShown = false;
        bool ownerEnabled = true;
        QString progressTitle;
        messages_.whileAsked = [&] {
            CProgressWnd* progress = VisibleProgressWindow();
            progressShown = progress != nullptr;
            if (progress)
                progressTitle = progress->BaseTitle();
        };
        messages_.answers = {MessageAnswer::Yes};
        CDlgNewSecurity dialog(nullptr, Context());
        dialog.show();
        dialog.SymbolsEdit()->setText(text);
        ownerEnabled = dialog.isEnabled();
        dialog.Add();
        QCOMPARE(progressShown, shown);
        if (shown)
            QCOMPARE(progressTitle, u"Adding securities ..."_s);
        QVERIFY(ownerEnabled);
        QVERIFY(dialog.isEnabled()); // given back when the window went away
        QVERIFY(!VisibleProgressWindow());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(std::filesystem::exists(data_->Path() / "S000.csv"));
    }

    void CancelInTheProgressWindowStopsAdding() {
        data_->Write("AAA.csv", kRecord);
        QString text = u"AAA"_s;
        for (int n = 0; n < 60; ++n)
            text += u" S%1"_s.arg(n, 3, 10, QLatin1Char('0'));
        messages_.whileAsked = [this] {
            if (CProgressWnd* progress = VisibleProgressWindow())
                progress->Cancel();
            messages_.whileAsked = nullptr;
        };
        messages_.answers = {MessageAnswer::Yes};
        CDlgNewSecurity dialog(nullptr, Context());
        dialog.SymbolsEdit()->setText(text);
        dialog.Add();
        QCOMPARE(messages_.asked.back(), std::string("Update is cancelled"));
        QCOMPARE(data_->Read("AAA.csv"), std::string());
        QVERIFY(!std::filesystem::exists(data_->Path() / "S000.csv"));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void AnotherOutputFolderAddsNoRow() {
        std::filesystem::create_directory(data_->Path() / "other");
        CDlgNewSecurity dialog(nullptr, Context());
        dialog.SymbolsEdit()->setText(u"ibm"_s);
        dialog.FolderEdit()->setText(QString::fromStdString((data_->Path() / "other").string()));
        dialog.Add();
        QVERIFY(std::filesystem::exists(data_->Path() / "other" / "IBM.csv"));
        QVERIFY(!std::filesystem::exists(data_->Path() / "IBM.csv"));
        QCOMPARE(list_->Model().rowCount(), 0);

        // The current folder written without its closing "/" is still the folder the list shows.
        CDlgNewSecurity same(nullptr, Context());
        same.SymbolsEdit()->setText(u"msft"_s);
        same.FolderEdit()->setText(QString::fromStdString(data_->Path().string()));
        same.Add();
        QCOMPARE(Symbols(*list_), QStringList{u"MSFT"_s});

        // A folder that does not exist makes nothing, without a message.
        CDlgNewSecurity missing(nullptr, Context());
        missing.SymbolsEdit()->setText(u"ge"_s);
        missing.FolderEdit()->setText(QString::fromStdString((data_->Path() / "gone").string()));
        missing.Add();
        QVERIFY(!std::filesystem::exists(data_->Path() / "gone"));
        QVERIFY(messages_.asked.empty());
    }

    void ListsReplaceTheSymbolsAndBrowseTakesTheFields() {
        QString picked;
        QString pickerTitle;
        BrowserContext context = Context();
        context.pickFolder = [&](QWidget*, const QString& title, const QString&) {
            pickerTitle = title;
            return picked;
        };
        CDlgNewSecurity dialog(nullptr, context);
        dialog.show();
        dialog.SymbolsEdit()->setText(u"typed"_s);
        dialog.FolderEdit()->setText(u"/typed/folder"_s);
        bool listed = false;
        test::WhenModalOpens<CDlgList>(
            [](CDlgList& lists) {
                lists.TypeBox()->setCurrentIndex(3);
                lists.List()->topLevelItem(0)->setSelected(true);
                lists.List()->topLevelItem(2)->setSelected(true);
                lists.accept();
            },
            &listed);
        dialog.ShowLists();
        QVERIFY(listed);
        // The list's symbols replace the text, and the untaken folder text gives way to the stored one.
        QCOMPARE(dialog.SymbolsEdit()->text(), u"I1 I3 "_s);
        QCOMPARE(dialog.FolderEdit()->text(), Folder(data_->Path()));

        dialog.FolderEdit()->setText(u"/typed/folder"_s);
        dialog.Browse(); // given up: what was typed is taken and stays
        QCOMPARE(pickerTitle, u"Select a folder to add security to."_s);
        QCOMPARE(dialog.OutputFolder(), u"/typed/folder"_s);
        QCOMPARE(dialog.FolderEdit()->text(), u"/typed/folder"_s);
        picked = u"/picked"_s;
        dialog.Browse();
        QCOMPARE(dialog.FolderEdit()->text(), u"/picked"_s);

        // Cancel in the lists leaves the dialog as it was.
        bool cancelled = false;
        test::WhenModalOpens<CDlgList>([](CDlgList& lists) { lists.reject(); }, &cancelled);
        dialog.ShowLists();
        QVERIFY(cancelled);
        QCOMPARE(dialog.SymbolsEdit()->text(), u"I1 I3 "_s);
        QCOMPARE(dialog.FolderEdit()->text(), u"/picked"_s);
    }

    void NewFolderBecomesCurrentAndSelected() {
        data_->Write("IBM.csv", kRecord);
        list_->ShowFolder(data_->Path());
        QTRY_COMPARE(list_->Model().rowCount(), 1);
        CDlgNewFolder dialog(nullptr, Context());
        QCOMPARE(dialog.windowTitle(), u"Add New Folder"_s);
        QCOMPARE(dialog.ParentEdit()->text(), Folder(data_->Path()));
        QVERIFY(dialog.ParentEdit()->isReadOnly());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.NameEdit()->setText(u"Stocks"_s);
        QVERIFY(dialog.grab().save(QStringLiteral(TESSALY_ARTIFACTS_DIR "/dlgnewfolder.png")));
        dialog.Add();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(std::filesystem::is_directory(data_->Path() / "Stocks"));
        QCOMPARE(tree_->CurrentFolder(), Folder(data_->Path() / "Stocks"));
        QCOMPARE(QDir::currentPath(), QString::fromStdString((data_->Path() / "Stocks").string()));
        QCOMPARE(tree_->currentIndex().data().toString(), u"Stocks"_s);
        QCOMPARE(tree_->currentIndex().parent().data().toString(),
                 QString::fromStdString(data_->Path().filename().string()));
        QTRY_VERIFY(!list_->IsListing());
        QCOMPARE(list_->Model().rowCount(), 0);
        QVERIFY(messages_.asked.empty());
    }

    void NewFolderRefusesWhatIsNotOneNewName_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << QString() << u"Enter a new folder name."_s;
        QTest::newRow("blanks") << u"   "_s << u"Enter a new folder name."_s;
        QTest::newRow("a path") << u"a/b"_s << u"Folder was not created."_s;
        QTest::newRow("dot") << u"."_s << u"Folder was not created."_s;
        QTest::newRow("dot dot") << u".."_s << u"Folder was not created."_s;
        QTest::newRow("NUL") << u"a\u0000b"_s << u"Folder was not created."_s;
        QTest::newRow("existing") << u"held"_s << u"Folder was not created."_s;
    }
    void NewFolderRefusesWhatIsNotOneNewName() {
        QFETCH(QString, name);
        QFETCH(QString, message);
        std::filesystem::create_directory(data_->Path() / "held");
        CDlgNewFolder dialog(nullptr, Context());
        dialog.NameEdit()->setText(name);
        dialog.Add();
        QCOMPARE(messages_.asked, std::vector<std::string>{message.toStdString()});
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(tree_->CurrentFolder(), Folder(data_->Path()));
        QCOMPARE(std::distance(std::filesystem::directory_iterator(data_->Path()), {}), 2); // held, lists.dta
    }

private:
    BrowserContext Context() {
        return BrowserContext{*tree_, *list_, messages_, &profile_, help_, databases_, {}};
    }

    std::unique_ptr<TempFolder> data_;
    std::unique_ptr<CLeftTreeView> tree_;
    std::unique_ptr<CRightListView> list_;
    test::ScriptedMessageBoxes messages_;
    MemoryProfile profile_;
    TempFolder helpFolder_;
    HelpFile help_{helpFolder_.Path()};
    std::vector<std::filesystem::path> databases_;
};

QTEST_MAIN(DlgNewSecurityTest)
#include "dlgnewsecurity_test.moc"
