#include "browser/rightlistview.h"

#include <QHeaderView>

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

} // namespace tessaly
