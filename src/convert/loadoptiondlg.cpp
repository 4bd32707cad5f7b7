#include "convert/loadoptiondlg.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace tessaly {

LoadOptionDlg::LoadOptionDlg(const Profile& profile, QWidget* parent)
    : QDialog(parent)
    , profile_(profile)
    , list_(new QListWidget) {
    setWindowTitle(tr("Preset Conversion Options"));
    list_->setObjectName(QStringLiteral("Presets"));

    QStringList names;
    for (const std::string& name : EnumPresetOptions(profile_))
        names.append(QString::fromStdString(name));
    // Alphabetical as a reader expects it: case only decides between names that are otherwise equal.
    std::stable_sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    list_->addItems(names);
    if (list_->count() > 0)
        list_->setCurrentRow(0);
    connect(list_, &QListWidget::itemDoubleClicked, this, &LoadOptionDlg::accept);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &LoadOptionDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &LoadOptionDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
}

void LoadOptionDlg::accept() {
    if (const QListWidgetItem* item = list_->currentItem())
        option_ = LoadPresetOption(profile_, item->text().toStdString());
    QDialog::accept();
}

} // namespace tessaly
