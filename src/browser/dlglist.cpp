#include "browser/dlglist.h"

#include "ui/helpfile.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tessaly {

namespace {

QString ToQString(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Shows the wait cursor while a scope of work lasts.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

CDlgList::CDlgList(QWidget* parent, SymbolDatabase database, MessageBoxes& messages, const HelpFile& help)
    : QDialog(parent)
    , database_(std::move(database))
    , messages_(messages)
    , help_(help)
    , types_(new QComboBox(this))
    , groups_(new QComboBox(this))
    , list_(new QTreeWidget(this)) {
    setWindowTitle(QStringLiteral("Listed Securities Dialog"));
    types_->setObjectName(QStringLiteral("typeBox"));
    groups_->setObjectName(QStringLiteral("groupBox"));
    list_->setObjectName(QStringLiteral("symbolList"));
    types_->setMaxVisibleItems(20);
    groups_->setMaxVisibleItems(20);
    groups_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    groups_->setMinimumContentsLength(28);

    list_->setColumnCount(2);
    list_->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Symbol")});
    list_->setColumnWidth(0, kNameWidth);
    list_->setColumnWidth(1, kSymbolWidth);
    list_->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list_->header()->setSectionsClickable(true);
    list_->header()->setSortIndicatorShown(false);
    list_->header()->setStretchLastSection(false);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setAllColumnsShowFocus(true);
    list_->setMinimumSize(kNameWidth + kSymbolWidth + 24, 300);
    connect(list_->header(), &QHeaderView::sectionClicked, this, &CDlgList::SortByColumn);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    auto* selectAll = new QPushButton(QStringLiteral("Select All"), this);
    auto* deselectAll = new QPushButton(QStringLiteral("Deselect All"), this);
    auto* helpButton = new QPushButton(QStringLiteral("Help"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CDlgList::accept);
    connect(cancel, &QPushButton::clicked, this, &CDlgList::reject);
    connect(selectAll, &QPushButton::clicked, this, &CDlgList::SelectAll);
    connect(deselectAll, &QPushButton::clicked, this, &CDlgList::DeselectAll);
    connect(helpButton, &QPushButton::clicked, this,
            [this] { help_.ShowTopic(this, QStringLiteral("lists.htm")); });

    auto* choices = new QGridLayout;
    auto* typeLabel = new QLabel(QStringLiteral("Type:"), this);
    auto* groupLabel = new QLabel(QStringLiteral("Group:"), this);
    typeLabel->setBuddy(types_);
    groupLabel->setBuddy(groups_);
    choices->addWidget(typeLabel, 0, 0);
    choices->addWidget(types_, 0, 1);
    choices->addWidget(groupLabel, 1, 0);
    choices->addWidget(groups_, 1, 1);
    choices->setColumnStretch(1, 1);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {ok, cancel, selectAll, deselectAll, helpButton})
        buttons->addWidget(button);
    buttons->addStretch(1);

    auto* left = new QVBoxLayout;
    left->addLayout(choices);
    left->addWidget(new QLabel(QStringLiteral("Symbols:"), this));
    left->addWidget(list_, 1);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);

    for (const std::string& entry : database_.TypeEntries())
        types_->addItem(ToQString(entry));
    connect(types_, &QComboBox::currentIndexChanged, this, &CDlgList::OnTypeSelected);
    connect(groups_, &QComboBox::currentIndexChanged, this, &CDlgList::OnGroupSelected);
    types_->setCurrentIndex(0);
    OnTypeSelected(0);
}

void CDlgList::OnTypeSelected(int position) {
    {
        const QSignalBlocker blocker(groups_);
        groups_->clear();
        if (position >= 0) {
            for (const std::string& group : database_.Groups(position))
                groups_->addItem(ToQString(group));
        }
        groups_->setCurrentIndex(groups_->count() > 0 ? 0 : -1);
    }
    OnGroupSelected(groups_->currentIndex());
    RemoveSortArrows();
}

void CDlgList::OnGroupSelected(int position) {
    const WaitCursor wait;
    list_->clear();
    const int type = types_->currentIndex();
    if (type >= 0 && position >= 0) {
        QList<QTreeWidgetItem*> rows;
        for (const SymbolEntry& entry : database_.Entries(type, position))
            rows.append(new QTreeWidgetItem({ToQString(entry.name), ToQString(entry.symbol)}));
        list_->addTopLevelItems(rows);
    }
    RemoveSortArrows();
}

void CDlgList::RemoveSortArrows() {
    list_->header()->setSortIndicatorShown(false);
}

void CDlgList::SortByColumn(int column) {
    ascending_ = column == sortColumn_ ? !ascending_ : true;
    sortColumn_ = column;
    const WaitCursor wait;
    // Texts compare by character code, case-sensitive; selected rows keep their selection.
    const Qt::SortOrder order = ascending_ ? Qt::AscendingOrder : Qt::DescendingOrder;
    list_->sortItems(column, order);
    list_->header()->setSortIndicator(column, order);
    list_->header()->setSortIndicatorShown(true);
}

void CDlgList::SelectAll() {
    list_->selectAll();
}

void CDlgList::DeselectAll() {
    list_->clearSelection();
}

void CDlgList::accept() {
    result_.clear();
    for (int row = 0; row < list_->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = list_->topLevelItem(row);
        if (item->isSelected())
            result_ += item->text(1).toStdString() + " ";
    }
    if (result_.empty())
        messages_.Show("No selection has been made.", "", MessageButtons::Ok, MessageIcon::Information);
    QDialog::accept();
}

} // namespace tessaly
