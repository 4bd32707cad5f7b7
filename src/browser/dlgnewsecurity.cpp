#include "browser/dlgnewsecurity.h"

#include "browser/dlglist.h"
#include "browser/lefttreeview.h"
#include "browser/rightlistview.h"
#include "engine/atomicfile.h"
#include "engine/securityfiles.h"
#include "ui/progresswnd.h"

#include <QApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <optional>
#include <string>
#include <system_error>

namespace tessaly {

namespace {

std::filesystem::path ToPath(const QString& folder) {
    return std::filesystem::path(folder.toStdString());
}

// Two spellings of one folder ("/data/" and "/data", or a link to it) are the same folder.
bool SameFolder(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    if (std::filesystem::equivalent(a, b, error))
        return true;
    const auto normal = [](const std::filesystem::path& path) {
        std::string text = path.lexically_normal().string();
        while (text.size() > 1 && text.back() == '/')
            text.pop_back();
        return text;
    };
    return normal(a) == normal(b);
}

QString DefaultPickFolder(QWidget* parent, const QString& title, const QString& start) {
    return QFileDialog::getExistingDirectory(parent, title, start);
}

} // namespace

CDlgNewSecurity::CDlgNewSecurity(QWidget* parent, BrowserContext context)
    : QDialog(parent)
    , context_(std::move(context))
    , symbolsEdit_(new QLineEdit(this))
    , folderEdit_(new QLineEdit(this)) {
    setWindowTitle(QStringLiteral("Add New Security"));
    if (!context_.pickFolder)
        context_.pickFolder = DefaultPickFolder;
    symbolsEdit_->setObjectName(QStringLiteral("symbolsEdit"));
    folderEdit_->setObjectName(QStringLiteral("folderEdit"));
    symbolsEdit_->setMinimumWidth(320);
    // A whole symbol list from the lists dialog must fit; a line edit holds 32767 characters by default.
    symbolsEdit_->setMaxLength(kMaxSymbolsText);

    auto* lists = new QPushButton(QStringLiteral("&Lists..."), this);
    auto* browse = new QPushButton(QStringLiteral("&Browse..."), this);
    auto* add = new QPushButton(QStringLiteral("&Add "), this);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    lists->setObjectName(QStringLiteral("listsButton"));
    browse->setObjectName(QStringLiteral("browseButton"));
    add->setObjectName(QStringLiteral("addButton"));
    add->setDefault(true);
    for (QPushButton* button : {lists, browse, cancel})
        button->setAutoDefault(false);
    connect(lists, &QPushButton::clicked, this, &CDlgNewSecurity::ShowLists);
    connect(browse, &QPushButton::clicked, this, &CDlgNewSecurity::Browse);
    connect(add, &QPushButton::clicked, this, &CDlgNewSecurity::Add);
    connect(cancel, &QPushButton::clicked, this, &CDlgNewSecurity::reject);

    auto* symbolsGroup = new QGroupBox(QStringLiteral("Security symbols"), this);
    auto* symbolsRow = new QHBoxLayout(symbolsGroup);
    symbolsRow->addWidget(symbolsEdit_, 1);
    symbolsRow->addWidget(lists);
    auto* folderGroup = new QGroupBox(QStringLiteral("Output directory"), this);
    auto* folderRow = new QHBoxLayout(folderGroup);
    folderRow->addWidget(folderEdit_, 1);
    folderRow->addWidget(browse);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(add);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(symbolsGroup);
    layout->addWidget(folderGroup);
    layout->addLayout(buttons);

    outputFolder_ = context_.tree.CurrentFolder();
    RefreshFields();
}

void CDlgNewSecurity::TakeFields() {
    symbols_ = symbolsEdit_->text();
    outputFolder_ = folderEdit_->text();
}

void CDlgNewSecurity::RefreshFields() {
    symbolsEdit_->setText(symbols_);
    folderEdit_->setText(outputFolder_);
}

void CDlgNewSecurity::ShowLists() {
    // The fields are not taken first: what the list hands back replaces the stored symbols, and
    // every field then shows what is stored.
    CDlgList lists(this, SymbolDatabase::LoadFirstUsable(context_.symbolDatabases), context_.messages,
                   context_.help);
    if (lists.exec() != QDialog::Accepted)
        return;
    symbols_ = QString::fromStdString(lists.Result());
    RefreshFields();
}

void CDlgNewSecurity::Browse() {
    TakeFields();
    const QString folder =
        context_.pickFolder(this, QStringLiteral("Select a folder to add security to."), outputFolder_);
    if (folder.isEmpty())
        return;
    outputFolder_ = folder;
    RefreshFields();
}

void CDlgNewSecurity::Add() {
    TakeFields();
    const QString text = symbols_.trimmed().toUpper();
    if (text.isEmpty()) {
        context_.messages.Show("Enter security symbol.", "", MessageButtons::Ok, MessageIcon::Warning);
        return;
    }
    // Blanks in a row separate symbols like one blank; a symbol that cannot name a file is refused.
    std::vector<std::string> symbols;
    std::string refused;
    for (const QString& part : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        std::string symbol = part.toStdString();
        if (IsSafeSymbol(symbol))
            symbols.push_back(std::move(symbol));
        else
            refused += (refused.empty() ? "" : " ") + symbol;
    }
    if (!refused.empty())
        context_.messages.Show("These symbols cannot be used as file names and are not added: " + refused, "",
                               MessageButtons::Ok, MessageIcon::Warning);
    if (symbols.empty())
        return;

    const std::filesystem::path folder = ToPath(outputFolder_);
    const bool listed = SameFolder(folder, context_.list.Folder());
    std::optional<CProgressWnd> progress;
    if (text.size() > kProgressThreshold) {
        progress.emplace(this, QStringLiteral("Adding securities ..."), true, context_.profile);
        progress->BeginModal(QStringLiteral("Adding securities ..."), true);
        progress->ResizeWindow(0, 250);
        progress->SetRange(0, static_cast<int>(text.size()), 1);
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool stopped = false;
    for (const std::string& symbol : symbols) {
        std::string fileName = symbol + ".csv";
        bool create = true;
        // A file of the symbol in another case is the same security; it keeps its name.
        if (const auto existing = FindSecurityFile(folder, symbol)) {
            fileName = existing->filename().string();
            QApplication::setOverrideCursor(Qt::ArrowCursor);
            const MessageAnswer answer = context_.messages.Show(
                "File " + existing->string() + " already exists. Do you want to overwrite it?", "",
                MessageButtons::YesNoCancel, MessageIcon::Question);
            QApplication::restoreOverrideCursor();
            if (answer == MessageAnswer::Cancel) {
                stopped = true;
                break;
            }
            create = answer == MessageAnswer::Yes;
            if (create && listed)
                context_.list.Model().RemoveFileRow(fileName);
        }
        if (create && AtomicFile::WriteWhole(folder / fileName, "") && listed)
            context_.list.AddSecurityRow(fileName, folder);
        if (progress) {
            progress->SetStep(static_cast<int>(symbol.size()) + 1);
            progress->StepIt();
            progress->PumpMessages(true);
            if (progress->IsCancelled()) {
                context_.messages.Show("Update is cancelled", "", MessageButtons::Ok,
                                       MessageIcon::Information);
                break;
            }
        }
    }
    QApplication::restoreOverrideCursor();
    if (stopped)
        return; // the dialog stays open; what was created stays
    accept();
}

} // namespace tessaly
