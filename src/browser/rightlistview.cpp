#include "browser/rightlistview.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QMimeData>

#include <algorithm>

#include <chrono>

namespace tessaly {

namespace {

std::vector<int> SelectedRows(const QItemSelectionModel* selection) {
    // The icon views select only the first column, the report view whole rows.
    std::vector<int> rows;
    for (const QModelIndex& index : selection->selectedIndexes())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

} // namespace

CRightListView::CRightListView(QWidget* parent)
    : QStackedWidget(parent)
    , selection_(new QItemSelectionModel(&model_, this))
    , report_(new QTreeView(this))
    , icons_(new QListView(this))
    , data_(new QTreeView)
    , dataSplitter_(new QSplitter(Qt::Vertical, this))
    , chart_(new CPriceChart) {
    report_->setModel(&model_);
    report_->setSelectionModel(selection_);
    report_->setRootIsDecorated(false);
    report_->setUniformRowHeights(true);
    report_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    report_->setSelectionBehavior(QAbstractItemView::SelectRows);
    report_->setAllColumnsShowFocus(true);
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(false);
    header()->setDefaultSectionSize(100);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(header(), &QHeaderView::sectionClicked, this, [this](int column) {
        const bool sameColumn =
            header()->isSortIndicatorShown() && header()->sortIndicatorSection() == column;
        const Qt::SortOrder order = sameColumn && header()->sortIndicatorOrder() == Qt::AscendingOrder
                                        ? Qt::DescendingOrder
                                        : Qt::AscendingOrder;
        header()->setSortIndicatorShown(true);
        header()->setSortIndicator(column, order);
        model_.sort(column, order);
    });

    icons_->setModel(&model_);
    icons_->setSelectionModel(selection_);
    icons_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    icons_->setResizeMode(QListView::Adjust);

    data_->setModel(&dataModel_);
    data_->setRootIsDecorated(false);
    data_->setUniformRowHeights(true);
    data_->header()->setDefaultSectionSize(80);
    data_->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    // The chart takes the larger part; the user drags the handle to taste.
    dataSplitter_->addWidget(data_);
    dataSplitter_->addWidget(chart_);
    dataSplitter_->setChildrenCollapsible(false);
    dataSplitter_->setStretchFactor(0, 2);
    dataSplitter_->setStretchFactor(1, 3);
    // A selected record marks its bar; the table's current row alone (set when it takes the focus)
    // does not.
    connect(data_->selectionModel(), &QItemSelectionModel::selectionChanged, chart_, [this] {
        const QModelIndexList rows = data_->selectionModel()->selectedRows();
        chart_->MarkRow(rows.isEmpty() ? -1 : rows.front().row());
    });
    connect(chart_, &CPriceChart::BarClicked, this, [this](int row) {
        const QModelIndex index = dataModel_.index(row, 0);
        data_->setCurrentIndex(index);
        data_->scrollTo(index);
    });

    addWidget(report_);
    addWidget(icons_);
    addWidget(dataSplitter_);
    // The keyboard focus given to the list goes to the view it shows.
    connect(this, &QStackedWidget::currentChanged, this, [this] {
        setFocusProxy(currentWidget() == dataSplitter_ ? static_cast<QWidget*>(data_) : currentWidget());
    });
    setCurrentWidget(report_);
    setFocusProxy(report_);

    connect(report_, &QAbstractItemView::doubleClicked, this, [this] { ShowSecurityData(); });
    connect(icons_, &QAbstractItemView::doubleClicked, this, [this] { ShowSecurityData(); });

    batchTimer_.setInterval(0);
    connect(&batchTimer_, &QTimer::timeout, this, &CRightListView::ReadBatch);
}

void CRightListView::SetViewType(ViewType type) {
    viewType_ = type;
    switch (type) {
    case ViewType::LargeIcons:
        icons_->setViewMode(QListView::IconMode);
        icons_->setFlow(QListView::LeftToRight);
        icons_->setWrapping(true);
        icons_->setIconSize(QSize(32, 32));
        break;
    case ViewType::SmallIcons:
        icons_->setViewMode(QListView::ListMode);
        icons_->setFlow(QListView::LeftToRight);
        icons_->setWrapping(true);
        icons_->setIconSize(QSize(16, 16));
        break;
    case ViewType::List:
        icons_->setViewMode(QListView::ListMode);
        icons_->setFlow(QListView::TopToBottom);
        icons_->setWrapping(true);
        icons_->setIconSize(QSize(16, 16));
        break;
    case ViewType::Report:
        break;
    }
    if (!dataMode_)
        setCurrentWidget(type == ViewType::Report ? static_cast<QWidget*>(report_) : icons_);
}

void CRightListView::SwitchDisplayMode() {
    dataMode_ = !dataMode_;
    if (dataMode_) {
        setCurrentWidget(dataSplitter_);
    } else {
        dataModel_.Clear();
        chart_->Clear();
        SetViewType(viewType_);
    }
    Q_EMIT DisplayModeChanged();
}

bool CRightListView::ShowSecurityData() {
    if (dataMode_)
        return false;
    const std::vector<int> rows = SelectedRows(selection_);
    if (rows.empty())
        return false;
    if (!dataModel_.Load(folder_ / model_.Row(rows.front()).fileName))
        return false;
    chart_->SetRecords(dataModel_);
    SwitchDisplayMode();
    return true;
}

std::string CRightListView::FirstSelectedFileName() const {
    const std::vector<int> rows = SelectedRows(selection_);
    return rows.empty() ? std::string() : model_.Row(rows.front()).fileName;
}

std::string CRightListView::SelectedSymbolsText() const {
    std::string text;
    for (const std::string& symbol : SelectedSymbols())
        text += ' ' + symbol;
    return text;
}

std::vector<std::string> CRightListView::SelectedSymbols() const {
    std::vector<std::string> symbols;
    for (int row : SelectedRows(selection_))
        symbols.push_back(model_.Row(row).symbol);
    return symbols;
}

void CRightListView::SelectAllSecurities() {
    if (!dataMode_ && model_.rowCount() > 0)
        selection_->select(
            QItemSelection(model_.index(0, 0),
                           model_.index(model_.rowCount() - 1, SecurityListModel::ColumnCount - 1)),
            QItemSelectionModel::ClearAndSelect);
}

void CRightListView::ShowFolder(const std::filesystem::path& folder) {
    batchTimer_.stop();
    if (dataMode_)
        SwitchDisplayMode();
    model_.Clear();
    header()->setSortIndicatorShown(false);
    folder_ = folder;
    pending_ = ListSecurityFileNames(folder);
    next_ = 0;
    ReadBatch();
}

void CRightListView::ReadBatch() {
    // About 30 ms of reading at a time keeps the window answering between batches.
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(30);
    std::vector<SecurityRow> rows;
    while (next_ < pending_.size() && std::chrono::steady_clock::now() < until) {
        if (auto row = ReadSecurityRow(folder_ / pending_[next_]))
            rows.push_back(std::move(*row));
        ++next_;
    }
    model_.AddRows(std::move(rows));
    if (IsListing()) {
        batchTimer_.start();
        return;
    }
    batchTimer_.stop();
    Q_EMIT ListingFinished();
}

void CRightListView::AddSecurityRow(const std::string& fileName, const std::filesystem::path& folder) {
    if (auto row = ReadSecurityRow(folder / fileName))
        model_.AddRows({std::move(*row)});
}

void CRightListView::RemoveSecurityRows(std::string_view symbol) {
    model_.RemoveSecurityRows(symbol);
}

bool CRightListView::HasSelection() const {
    return selection_->hasSelection();
}

void CRightListView::DeleteSelectedSecurities(MessageBoxes& messages) {
    const std::vector<int> rows = SelectedRows(selection_);
    if (rows.empty())
        return;
    if (messages.Show("Are you sure you want to delete selected securities?", "", MessageButtons::OkCancel,
                      MessageIcon::Question) != MessageAnswer::Ok)
        return;
    std::vector<std::string> deleted;
    std::string kept;
    for (int row : rows) {
        const std::string& fileName = model_.Row(row).fileName;
        std::error_code error;
        if (std::filesystem::remove(folder_ / fileName, error) ||
            !std::filesystem::exists(folder_ / fileName))
            deleted.push_back(fileName);
        else
            kept += "\n" + (folder_ / fileName).string();
    }
    for (const std::string& fileName : deleted)
        model_.RemoveFileRow(fileName);
    if (!kept.empty())
        messages.Show("These securities could not be deleted:" + kept, "", MessageButtons::Ok,
                      MessageIcon::Warning);
}

void CRightListView::CopySelectedSecurities(bool cut) {
    const std::vector<int> rows = SelectedRows(selection_);
    if (rows.empty())
        return;
    std::string text = cut ? "1\n" : "0\n";
    for (int row : rows)
        text += (folder_ / model_.Row(row).fileName).string() + "\n";
    auto* data = new QMimeData;
    data->setText(QString::fromStdString(text));
    data->setData(QString::fromLatin1(kTransferMimeType), QByteArray::fromStdString(text));
    QApplication::clipboard()->setMimeData(data);
    model_.MarkCut(cut ? rows : std::vector<int>{});
}

} // namespace tessaly
