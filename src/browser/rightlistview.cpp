#include "browser/rightlistview.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QMimeData>

#include <algorithm>

#include <chrono>

namespace tessaly {

CRightListView::CRightListView(QWidget* parent)
    : QTreeView(parent) {
    setModel(&model_);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSortingEnabled(false);
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(false);
    header()->setDefaultSectionSize(100);
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
    batchTimer_.setInterval(0);
    connect(&batchTimer_, &QTimer::timeout, this, &CRightListView::ReadBatch);
}

void CRightListView::ShowFolder(const std::filesystem::path& folder) {
    batchTimer_.stop();
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

namespace {

std::vector<int> SelectedRows(const QItemSelectionModel* selection) {
    std::vector<int> rows;
    for (const QModelIndex& index : selection->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

} // namespace

bool CRightListView::HasSelection() const {
    return selectionModel()->hasSelection();
}

void CRightListView::DeleteSelectedSecurities(MessageBoxes& messages) {
    const std::vector<int> rows = SelectedRows(selectionModel());
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
    const std::vector<int> rows = SelectedRows(selectionModel());
    if (rows.empty())
        return;
    std::string text = cut ? "1\n" : "0\n";
    for (int row : rows)
        text += (folder_ / model_.Row(row).fileName).string() + "\n";
    auto* data = new QMimeData;
    data->setText(QString::fromStdString(text));
    data->setData(QString::fromLatin1(kTransferMimeType), QByteArray::fromStdString(text));
    QApplication::clipboard()->setMimeData(data);
}

} // namespace tessaly
