#include "convert/dlgsaveoption.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

namespace tessaly {

CDlgSaveOption::CDlgSaveOption(Profile& profile, const ConversionOption& option, MessageBoxes& messages,
                               QWidget* parent)
    : QDialog(parent)
    , profile_(profile)
    , option_(option)
    , messages_(messages)
    , name_(new QLineEdit(QStringLiteral("MyOption"))) {
    setWindowTitle(tr("Custom Conversion Option"));
    name_->setObjectName(QStringLiteral("Name"));
    name_->selectAll();

    auto* group = new QGroupBox(tr("Custom option name"));
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(name_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgSaveOption::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDlgSaveOption::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
    setMinimumWidth(300);
}

void CDlgSaveOption::accept() {
    const std::string name = name_->text().toStdString();
    if (name.empty()) {
        messages_.Show("Please enter the name of your conversion option.", "", MessageButtons::Ok,
                       MessageIcon::Warning);
        name_->setFocus();
        return;
    }
    if (!SavePresetOption(profile_, name, option_)) {
        messages_.Show("The conversion option \"" + name + "\" could not be saved.", "", MessageButtons::Ok,
                       MessageIcon::Error);
        return;
    }
    QDialog::accept();
}

} // namespace tessaly
