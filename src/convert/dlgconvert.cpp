#include "convert/dlgconvert.h"

#include "convert/asciiconverter.h"
#include "convert/conversiondialogparts.h"
#include "convert/dlgoptions.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tessaly {

CDlgConvert::CDlgConvert(const QString& symbols, const std::filesystem::path& dataFolder,
                         ConversionOptionHolder& options, Profile& profile, MessageBoxes& messages,
                         const HelpFile& help, QWidget* parent)
    : QDialog(parent)
    , dataFolder_(dataFolder)
    , options_(options)
    , profile_(profile)
    , messages_(messages)
    , help_(help)
    , option_(options.CurrentOption())
    , symbols_(new QLineEdit(symbols))
    , output_(new QLineEdit(QString::fromStdString(dataFolder.string()))) {
    setWindowTitle(tr("Convert to ASCII"));
    symbols_->setObjectName(QStringLiteral("Symbols"));
    output_->setObjectName(QStringLiteral("OutputDirectory"));

    auto* symbolsLabel = new QLabel(tr("Security Symbol"));
    auto* outputLabel = new QLabel(tr("Output Directory"));
    auto* browse = new QPushButton(tr("Browse..."));
    browse->setObjectName(QStringLiteral("Browse"));
    auto* optionsButton = new QPushButton(tr("Options"));
    optionsButton->setObjectName(QStringLiteral("Options"));
    auto* convert = new QPushButton(tr("Convert"));
    convert->setObjectName(QStringLiteral("Convert"));
    convert->setDefault(true);
    auto* close = new QPushButton(tr("Close"));
    close->setObjectName(QStringLiteral("Close"));
    for (QPushButton* button : {browse, optionsButton, close})
        button->setAutoDefault(false);
    connect(browse, &QPushButton::clicked, this, &CDlgConvert::Browse);
    connect(optionsButton, &QPushButton::clicked, this, &CDlgConvert::EditOptions);
    connect(convert, &QPushButton::clicked, this, &CDlgConvert::Convert);
    connect(close, &QPushButton::clicked, this, &CDlgConvert::reject);

    auto* layout = new QGridLayout(this);
    AddSymbolAndOutputRows(*layout, symbolsLabel, symbols_, outputLabel, output_, browse);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(optionsButton);
    buttons->addStretch();
    buttons->addWidget(convert);
    buttons->addWidget(close);
    layout->addLayout(buttons, 4, 0, 1, 2);
    setMinimumWidth(460);
}

void CDlgConvert::Browse() {
    BrowseOutputFolder(this, pickFolder_, *output_);
}

void CDlgConvert::EditOptions() {
    CDlgOptions dialog(options_.CurrentOption(), profile_, messages_, help_, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    options_.SetCurrentOption(dialog.Option());
    option_ = dialog.Option();
}

void CDlgConvert::Convert() {
    RunConversion(messages_, [this] {
        return ConvertSymbolList(symbols_->text().toStdString(), dataFolder_,
                                 OutputFolderFromText(output_->text(), dataFolder_), option_);
    });
    accept();
}

} // namespace tessaly
