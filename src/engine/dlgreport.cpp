#include "engine/dlgreport.h"

#include "engine/downloadreport.h"
#include "engine/sorttextitems.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QIcon>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tessaly {

namespace {

constexpr int kColumnCount = 3;
constexpr int kColumnWidths[kColumnCount] = {80, 80, 120};

QIcon ReportIcon(int image) {
    return QIcon(image == 1 ? QStringLiteral(":/icons/report-success.svg")
                            : QStringLiteral(":/icons/report-failure.svg"));
}

} // namespace

CDlgReport::CDlgReport(const std::filesystem::path& reportFile, QWidget* parent)
    : QDialog(parent)
    , list_(new QTreeWidget(this)) {
    setWindowTitle(tr("Last Download Report"));
    list_->setColumnCount(kColumnCount);
    list_->setHeaderLabels({tr("Records"), tr("Symbol"), tr("Status")});
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setIconSize(QSize(16, 15));
    list_->setSortingEnabled(false);
    QHeaderView* header = list_->header();
    // The Status column takes what the dialog has to spare, so a long status is read whole.
    header->setStretchLastSection(true);
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int column = 0; column < kColumnCount; ++column)
        list_->setColumnWidth(column, kColumnWidths[column]);
    connect(header, &QHeaderView::sectionClicked, this, &CDlgReport::SortByColumn);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close = buttons->addButton(tr("Close"), QDialogButtonBox::AcceptRole);
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
    resize(kColumnWidths[0] + kColumnWidths[1] + kColumnWidths[2] + 60, 300);

    Fill(reportFile);
}

void CDlgReport::Fill(const std::filesystem::path& reportFile) {
    // ReadReportRows gives the rows already in the dialog's order, the last security first.
    for (const ReportRow& row : ReadReportRows(reportFile)) {
        auto* item = new QTreeWidgetItem(list_);
        item->setText(0, QString::fromStdString(row.records));
        item->setIcon(0, ReportIcon(row.icon));
        item->setData(0, Qt::UserRole, row.icon);
        item->setText(1, QString::fromStdString(row.symbol));
        item->setText(2, QString::fromStdString(row.status));
    }
}

void CDlgReport::SortByColumn(int column) {
    if (column < 0 || column >= kColumnCount)
        return;
    ascending_ = column == sortedColumn_ ? !ascending_ : true;
    sortedColumn_ = column;

    QApplication::setOverrideCursor(Qt::WaitCursor);
    // The texts are compared as bytes, as the file holds them.
    const auto text = [&](int row) { return list_->topLevelItem(row)->text(column).toStdString(); };
    const auto swap = [&](int a, int b) {
        QTreeWidgetItem* first = list_->topLevelItem(a);
        QTreeWidgetItem* second = list_->topLevelItem(b);
        for (int c = 0; c < kColumnCount; ++c) {
            const QString firstText = first->text(c);
            first->setText(c, second->text(c));
            second->setText(c, firstText);
        }
        const QVariant firstImage = first->data(0, Qt::UserRole);
        first->setData(0, Qt::UserRole, second->data(0, Qt::UserRole));
        second->setData(0, Qt::UserRole, firstImage);
        first->setIcon(0, ReportIcon(first->data(0, Qt::UserRole).toInt()));
        second->setIcon(0, ReportIcon(second->data(0, Qt::UserRole).toInt()));
        const bool firstSelected = first->isSelected();
        first->setSelected(second->isSelected());
        second->setSelected(firstSelected);
    };
    SortTextItems(text, swap, ascending_, 0, list_->topLevelItemCount() - 1);
    QApplication::restoreOverrideCursor();

    QHeaderView* header = list_->header();
    header->setSortIndicatorShown(true);
    header->setSortIndicator(column, ascending_ ? Qt::AscendingOrder : Qt::DescendingOrder);
}

} // namespace tessaly
