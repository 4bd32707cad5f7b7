#include "browser/securitylistmodel.h"

#include "engine/filefunctions.h"
#include "engine/securityfiles.h"

#include <QIcon>

#include <algorithm>

namespace tessaly {

int SecurityListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int SecurityListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SecurityListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const SecurityRow& row = Row(index.row());
    if (role == Qt::DecorationRole && index.column() == SymbolColumn) {
        static const QIcon normal(QStringLiteral(":/icons/security.svg"));
        static const QIcon cut(QStringLiteral(":/icons/security-cut.svg"));
        return cutFiles_.contains(row.fileName) ? cut : normal;
    }
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case SymbolColumn:
        return QString::fromStdString(row.symbol);
    case PeriodicityColumn:
        return QString::fromStdString(row.periodicity);
    case FirstDateColumn:
        return QString::fromStdString(row.firstDate);
    case LastDateColumn:
        return QString::fromStdString(row.lastDate);
    case TrendColumn:
        return QString::fromStdString(row.trend);
    default:
        return {};
    }
}

QVariant SecurityListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const headers[] = {"Symbol", "Periodicity", "FirstDate", "LastDate", "Trend"};
    if (section < 0 || section >= ColumnCount)
        return {};
    return QString::fromLatin1(headers[section]);
}

void SecurityListModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= ColumnCount)
        return;
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<int> order_(rows_.size());
    for (std::size_t i = 0; i < order_.size(); ++i)
        order_[i] = static_cast<int>(i);
    const bool dates = column == FirstDateColumn || column == LastDateColumn;
    auto key = [&](const SecurityRow& row) -> const std::string& {
        switch (column) {
        case PeriodicityColumn:
            return row.periodicity;
        case FirstDateColumn:
            return row.firstDate;
        case LastDateColumn:
            return row.lastDate;
        case TrendColumn:
            return row.trend;
        default:
            return row.symbol;
        }
    };
    std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) {
        const SecurityRow& left = rows_[static_cast<std::size_t>(order == Qt::AscendingOrder ? a : b)];
        const SecurityRow& right = rows_[static_cast<std::size_t>(order == Qt::AscendingOrder ? b : a)];
        if (dates)
            return StoredDateToNumber(key(left)) < StoredDateToNumber(key(right));
        return key(left) < key(right);
    });
    std::vector<SecurityRow> sorted;
    std::vector<int> newPlace(rows_.size());
    sorted.reserve(rows_.size());
    for (std::size_t i = 0; i < order_.size(); ++i) {
        newPlace[static_cast<std::size_t>(order_[i])] = static_cast<int>(i);
        sorted.push_back(std::move(rows_[static_cast<std::size_t>(order_[i])]));
    }
    rows_ = std::move(sorted);
    QModelIndexList after;
    for (const QModelIndex& index : before)
        after.append(this->index(newPlace[static_cast<std::size_t>(index.row())], index.column()));
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void SecurityListModel::AddRows(std::vector<SecurityRow> rows) {
    if (rows.empty())
        return;
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
    for (SecurityRow& row : rows)
        rows_.push_back(std::move(row));
    endInsertRows();
}

void SecurityListModel::Clear() {
    beginResetModel();
    cutFiles_.clear();
    rows_.clear();
    endResetModel();
}

void SecurityListModel::RemoveSecurityRows(std::string_view symbol) {
    for (int row = rowCount() - 1; row >= 0; --row) {
        if (!EqualsIgnoringCase(Row(row).symbol, symbol))
            continue;
        beginRemoveRows({}, row, row);
        rows_.erase(rows_.begin() + row);
        endRemoveRows();
    }
}

void SecurityListModel::RemoveFileRow(const std::string& fileName) {
    for (int row = rowCount() - 1; row >= 0; --row) {
        if (Row(row).fileName != fileName)
            continue;
        beginRemoveRows({}, row, row);
        rows_.erase(rows_.begin() + row);
        endRemoveRows();
    }
}

void SecurityListModel::MarkCut(const std::vector<int>& rows) {
    cutFiles_.clear();
    for (int row : rows)
        cutFiles_.insert(Row(row).fileName);
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::DecorationRole});
}

bool SecurityListModel::IsMarkedCut(int row) const {
    return cutFiles_.contains(Row(row).fileName);
}

} // namespace tessaly
