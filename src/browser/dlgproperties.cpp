#include "browser/dlgproperties.h"

#include "engine/securityfiles.h"
#include "engine/securityrow.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tessaly {

CDlgProperties::CDlgProperties(QWidget* parent, const std::filesystem::path& folder,
                               const std::string& fileName)
    : QDialog(parent) {
    setWindowTitle(tr("Security Properties"));
    lines_ = {QStringLiteral("Symbol:"),    QStringLiteral("First Date:"),
              QStringLiteral("Last Date:"), QStringLiteral("Periodicity:"),
              QStringLiteral("Records:"),   QStringLiteral("Format:\t\tCSV")};
    if (!fileName.empty()) {
        // A file that cannot be read shows its symbol with empty values.
        SecurityRow row;
        const auto read = ReadSecurityRow(folder / fileName, true);
        if (read)
            row = *read;
        else
            row.symbol = SymbolFromFileName(fileName);
        lines_[0] = QStringLiteral("Symbol:\t\t") + QString::fromStdString(row.symbol);
        lines_[1] = QStringLiteral("FirstDate:\t") + QString::fromStdString(row.firstDate);
        lines_[2] = QStringLiteral("LastDate:\t") + QString::fromStdString(row.lastDate);
        lines_[3] = QStringLiteral("Periodicity:\t") + QString::fromStdString(row.periodicity);
        lines_[4] = QStringLiteral("Records:\t") + (read ? QString::number(row.records) : QString());
    }

    auto* group = new QGroupBox(tr("Security Info"), this);
    auto* grid = new QGridLayout(group);
    for (int i = 0; i < lines_.size(); ++i) {
        const qsizetype tab = lines_[i].indexOf(QLatin1Char('\t'));
        const QString name = tab < 0 ? lines_[i] : lines_[i].left(tab);
        const QString value = tab < 0 ? QString() : lines_[i].mid(tab).remove(QLatin1Char('\t'));
        auto* nameLabel = new QLabel(name, group);
        auto* valueLabel = new QLabel(value, group);
        valueLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(nameLabel, i, 0);
        grid->addWidget(valueLabel, i, 1);
    }
    grid->setColumnStretch(1, 1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close = buttons->addButton(tr("Close"), QDialogButtonBox::RejectRole);
    close->setDefault(true);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
}

} // namespace tessaly
