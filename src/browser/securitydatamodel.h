#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include <filesystem>
#include <vector>

namespace tessaly {

// The records of one security data file, as the data display of the securities list shows them:
// date, open, high, low, close and volume.
class SecurityDataModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // Reads the records of `file` (opened for reading only); false when it cannot be opened.
    bool Load(const std::filesystem::path& file);
    void Clear();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<QStringList> records_;
};

} // namespace tessaly
