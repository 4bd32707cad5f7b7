#include "convert/dlgoptions.h"

#include "convert/dlgsaveoption.h"
#include "convert/loadoptiondlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tessaly {

namespace {

constexpr const char* kDefaultFileName = "ascii_file";

// The option flag of each field check box, in the order the boxes are shown.
constexpr std::array<int ConversionOption::*, 9> kFieldMembers = {
    &ConversionOption::Symbol, &ConversionOption::Periodicity, &ConversionOption::Date,
    &ConversionOption::Open,   &ConversionOption::High,        &ConversionOption::Low,
    &ConversionOption::Close,  &ConversionOption::Volume,      &ConversionOption::Interest};

// The date layouts by the sample date each shows, in `DateFormat` order.
constexpr std::array<const char*, kDateFormatCount> kDateFormatLabels = {
    "02/29/2005", "29/02/2005", "02/29/05",   "29/02/05", "20050229",
    "20052902",   "2005/02/29", "2005/29/02", "29-Feb-05"};

// Checks the button of `id`, or none when no button has that id.
void CheckButton(QButtonGroup* group, int id) {
    if (QAbstractButton* button = group->button(id)) {
        button->setChecked(true);
        return;
    }
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons())
        button->setChecked(false);
    group->setExclusive(true);
}

QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

CDlgOptions::CDlgOptions(const ConversionOption& option, Profile& profile, MessageBoxes& messages,
                         const HelpFile& help, QWidget* parent)
    : QDialog(parent)
    , option_(option)
    , profile_(profile)
    , messages_(messages)
    , help_(help)
    , dateFormats_(new QButtonGroup(this))
    , separators_(new QButtonGroup(this))
    , single_(new QCheckBox(tr("Single output file")))
    , fileName_(new QLineEdit)
    , extension_(new QLineEdit)
    , headers_(new QCheckBox(tr("Include headers")))
    , headersLine_(new QLineEdit) {
    setWindowTitle(tr("Conversion Options"));

    auto* fieldsGroup = new QGroupBox(tr("Fields"));
    auto* fieldsLayout = new QVBoxLayout(fieldsGroup);
    const std::array<QString, kFieldCount> fieldLabels = {
        tr("Symbol"), tr("Periodicity"), tr("Date"),   tr("Open"),         tr("High"),
        tr("Low"),    tr("Close"),       tr("Volume"), tr("Open Interest")};
    const std::array<const char*, kFieldCount> fieldNames = {
        "Symbol", "Periodicity", "Date", "Open", "High", "Low", "Close", "Volume", "Interest"};
    for (int i = 0; i < kFieldCount; ++i) {
        auto* box = new QCheckBox(fieldLabels[static_cast<std::size_t>(i)]);
        box->setObjectName(QString::fromLatin1(fieldNames[static_cast<std::size_t>(i)]));
        connect(box, &QCheckBox::clicked, this, &CDlgOptions::RebuildHeaderLine);
        fieldsLayout->addWidget(box);
        fields_[static_cast<std::size_t>(i)] = box;
    }
    fieldsLayout->addStretch();

    auto* datesGroup = new QGroupBox(tr("Date Format"));
    auto* datesLayout = new QVBoxLayout(datesGroup);
    for (int i = 0; i < kDateFormatCount; ++i) {
        auto* button = new QRadioButton(QString::fromLatin1(kDateFormatLabels[static_cast<std::size_t>(i)]));
        button->setObjectName(QStringLiteral("DateFormat%1").arg(i));
        dateFormats_->addButton(button, i);
        datesLayout->addWidget(button);
    }
    datesLayout->addStretch();
    connect(dateFormats_, &QButtonGroup::idClicked, this, &CDlgOptions::RebuildHeaderLine);

    auto* separatorsGroup = new QGroupBox(tr("Separator"));
    auto* separatorsLayout = new QVBoxLayout(separatorsGroup);
    const std::array<QString, kSeparatorCount> separatorLabels = {tr("Space"), tr("Comma"), tr("Slash"),
                                                                  tr("Tab")};
    for (int i = 0; i < kSeparatorCount; ++i) {
        auto* button = new QRadioButton(separatorLabels[static_cast<std::size_t>(i)]);
        button->setObjectName(QStringLiteral("Separator%1").arg(i));
        separators_->addButton(button, i);
        separatorsLayout->addWidget(button);
    }

    auto* outputGroup = new QGroupBox(tr("Output File"));
    auto* outputLayout = new QGridLayout(outputGroup);
    single_->setObjectName(QStringLiteral("Single"));
    fileName_->setObjectName(QStringLiteral("FileName"));
    extension_->setObjectName(QStringLiteral("Extension"));
    fileName_->setMinimumWidth(140);
    extension_->setMinimumWidth(140);
    auto* fileNameLabel = new QLabel(tr("File name:"));
    fileNameLabel->setBuddy(fileName_);
    auto* extensionLabel = new QLabel(tr("File extension:"));
    extensionLabel->setBuddy(extension_);
    outputLayout->addWidget(single_, 0, 0, 1, 2);
    outputLayout->addWidget(fileNameLabel, 1, 0);
    outputLayout->addWidget(fileName_, 1, 1);
    outputLayout->addWidget(extensionLabel, 2, 0);
    outputLayout->addWidget(extension_, 2, 1);
    connect(single_, &QCheckBox::clicked, this, &CDlgOptions::OnSingleClicked);

    headers_->setObjectName(QStringLiteral("Headers"));
    headersLine_->setObjectName(QStringLiteral("HeadersLine"));
    connect(headers_, &QCheckBox::clicked, this, &CDlgOptions::OnHeadersClicked);

    auto* buttons = new QVBoxLayout;
    const auto addButton = [this, buttons](const QString& text, const char* name, auto handler) {
        auto* button = new QPushButton(text);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, handler);
        buttons->addWidget(button);
        return button;
    };
    addButton(tr("Load"), "Load", &CDlgOptions::Load);
    addButton(tr("Save"), "Save", &CDlgOptions::Save);
    addButton(tr("Default"), "Default", &CDlgOptions::SetDefault);
    addButton(tr("Accept"), "Accept", &CDlgOptions::accept)->setDefault(true);
    addButton(tr("Cancel"), "Cancel", &CDlgOptions::reject);
    addButton(tr("Help"), "Help", [this] { help_.ShowTopic(this, QStringLiteral("convertopt.htm")); });
    buttons->addStretch();

    auto* right = new QVBoxLayout;
    right->addWidget(separatorsGroup);
    right->addWidget(outputGroup);
    right->addStretch();
    auto* groups = new QHBoxLayout;
    groups->addWidget(fieldsGroup);
    groups->addWidget(datesGroup);
    groups->addLayout(right);

    auto* left = new QVBoxLayout;
    left->addLayout(groups);
    left->addWidget(headers_);
    left->addWidget(headersLine_);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);

    ShowOption(option_);
    ApplyRules();
}

ConversionOption CDlgOptions::ControlValues() const {
    ConversionOption values = option_;
    for (std::size_t i = 0; i < fields_.size(); ++i)
        values.*kFieldMembers[i] = fields_[i]->isChecked() ? 1 : 0;
    // With no button checked (a stored value out of range) the stored value stays.
    if (dateFormats_->checkedId() >= 0)
        values.DateFormat = dateFormats_->checkedId();
    if (separators_->checkedId() >= 0)
        values.Separator = separators_->checkedId();
    values.Single = single_->isChecked() ? 1 : 0;
    values.FileName = fileName_->text().toStdString();
    values.Extension = extension_->text().toStdString();
    values.Headers = headers_->isChecked() ? 1 : 0;
    values.HeadersLine = headersLine_->text().toStdString();
    return values;
}

void CDlgOptions::accept() {
    option_ = ControlValues();
    QDialog::accept();
}

void CDlgOptions::ShowOption(const ConversionOption& option) {
    for (std::size_t i = 0; i < fields_.size(); ++i)
        fields_[i]->setChecked(option.*kFieldMembers[i] != 0);
    CheckButton(dateFormats_, option.DateFormat);
    CheckButton(separators_, option.Separator);
    single_->setChecked(option.Single != 0);
    fileName_->setText(FromStd(option.FileName));
    extension_->setText(FromStd(option.Extension));
    headers_->setChecked(option.Headers != 0);
    ShowHeaderLine(option.HeadersLine);
}

void CDlgOptions::ApplyRules() {
    headersLine_->setEnabled(headers_->isChecked());
    const bool single = single_->isChecked();
    QCheckBox* symbol = fields_[kSymbol];
    if (single)
        symbol->setChecked(true);
    symbol->setEnabled(!single);
    fileName_->setEnabled(single);
}

std::optional<int> CDlgOptions::SelectedDateFormat() const {
    const int id = dateFormats_->checkedId();
    return id >= 0 ? std::optional<int>(id) : std::nullopt;
}

void CDlgOptions::ShowHeaderLine(const std::string& line) {
    headersLine_->setText(FromStd(line));
    // A long line shows its beginning.
    headersLine_->setCursorPosition(0);
}

void CDlgOptions::RebuildHeaderLine() {
    ShowHeaderLine(BuildHeaderLine(ControlValues(), SelectedDateFormat()));
}

void CDlgOptions::OnHeadersClicked() {
    headersLine_->setEnabled(headers_->isChecked());
    RebuildHeaderLine();
}

void CDlgOptions::OnSingleClicked() {
    ApplyRules();
    RebuildHeaderLine();
    if (single_->isChecked() && fileName_->text().isEmpty())
        fileName_->setText(QString::fromLatin1(kDefaultFileName));
}

void CDlgOptions::SetDefault() {
    ConversionOption defaults;
    SetDefaults(defaults);
    ShowOption(defaults);
    ApplyRules();
}

void CDlgOptions::Load() {
    LoadOptionDlg dialog(profile_, this);
    if (dialog.exec() != QDialog::Accepted || !dialog.Option())
        return;
    // The file name is the user's choice for this run, not the preset's.
    QString fileName = fileName_->text();
    if (fileName.isEmpty())
        fileName = QString::fromLatin1(kDefaultFileName);
    ShowOption(*dialog.Option());
    fileName_->setText(fileName);
    ApplyRules();
}

void CDlgOptions::Save() {
    CDlgSaveOption dialog(profile_, ControlValues(), messages_, this);
    dialog.exec();
}

} // namespace tessaly
