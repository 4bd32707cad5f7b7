#pragma once

#include "engine/securityrow.h"

#include <QAbstractTableModel>

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// The rows of the securities list: one a security data file of the current folder.
class SecurityListModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        SymbolColumn,
        PeriodicityColumn,
        FirstDateColumn,
        LastDateColumn,
        TrendColumn,
        ColumnCount
    };

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Text columns sort by text, the date columns by the dates they stand for ("0" first).
    void sort(int column, Qt::SortOrder order) override;

    void AddRows(std::vector<SecurityRow> rows);
    void Clear();
    // Removes every row of `symbol`, whatever the case of either.
    void RemoveSecurityRows(std::string_view symbol);
    // Removes the row of the file named exactly `fileName`.
    void RemoveFileRow(const std::string& fileName);
    // Draws the rows of `rows` with the cut image (and no others).
    void MarkCut(const std::vector<int>& rows);
    bool IsMarkedCut(int row) const;
    const SecurityRow& Row(int row) const { return rows_[static_cast<std::size_t>(row)]; }

private:
    std::vector<SecurityRow> rows_;
    std::set<std::string> cutFiles_;
};

} // namespace tessaly
