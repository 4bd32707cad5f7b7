#include "convert/dlgconvert2ms.h"

#include "convert/conversiondialogparts.h"
#include "convert/metastockconversion.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tessaly {

CDlgConvert2MS::CDlgConvert2MS(const QString& symbols, const std::filesystem::path& dataFolder,
                               MessageBoxes& messages, QWidget* parent)
    : QDialog(parent)
    , dataFolder_(dataFolder)
    , messages_(messages)
    , symbols_(new QLineEdit(symbols))
    , output_(new QLineEdit(QString::fromStdString(dataFolder.string())))
    , generateNames_(new QCheckBox(tr("Generate names automatically"))) {
    setWindowTitle(tr("Convert to Metastock"));
    symbols_->setObjectName(QStringLiteral("Symbols"));
    output_->setObjectName(QStringLiteral("OutputDirectory"));
    generateNames_->setObjectName(QStringLiteral("GenerateNames"));
    generateNames_->setChecked(true);

    auto* symbolsLabel = new QLabel(tr("Security symbol(s)"));
    auto* outputLabel = new QLabel(tr("Output directory"));
    auto* browse = new QPushButton(tr("Browes..."));
    browse->setObjectName(QStringLiteral("Browse"));
    browse->setAutoDefault(false);
    auto* convert = new QPushButton(tr("Convert"));
    convert->setObjectName(QStringLiteral("Convert"));
    convert->setDefault(true);
    auto* cancel = new QPushButton(tr("Cancel"));
    cancel->setObjectName(QStringLiteral("Cancel"));
    cancel->setAutoDefault(false);
    connect(browse, &QPushButton::clicked, this, &CDlgConvert2MS::Browse);
    connect(convert, &QPushButton::clicked, this, &CDlgConvert2MS::Convert);
    connect(cancel, &QPushButton::clicked, this, &CDlgConvert2MS::reject);

    auto* layout = new QGridLayout(this);
    AddSymbolAndOutputRows(*layout, symbolsLabel, symbols_, outputLabel, output_, browse);
    layout->addWidget(generateNames_, 4, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(convert);
    buttons->addWidget(cancel);
    layout->addLayout(buttons, 5, 0, 1, 2);
    setMinimumWidth(460);
}

bool CDlgConvert2MS::GenerateNames() const {
    return generateNames_->isChecked();
}

void CDlgConvert2MS::Browse() {
    BrowseOutputFolder(this, pickFolder_, *output_);
}

void CDlgConvert2MS::Convert() {
    RunConversion(messages_, [this] {
        return ConvertToMetaStock(symbols_->text().toStdString(), dataFolder_,
                                  OutputFolderFromText(output_->text(), dataFolder_), messages_);
    });
    accept();
}

} // namespace tessaly
