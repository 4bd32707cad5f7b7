#include "browser/securitydatamodel.h"

#include "engine/filefunctions.h"
#include "engine/numbers.h"
#include "engine/textfile.h"

namespace tessaly {

namespace {
constexpr int kDataColumns = 6;
}

bool SecurityDataModel::Load(const std::filesystem::path& file) {
    beginResetModel();
    records_.clear();
    TextFile text(file);
    std::string line;
    bool first = true;
    while (text.IsOpen() && text.ReadLine(line)) {
        // The header line and blank lines are no records.
        if (first && !StartsWithNumber(line)) {
            first = false;
            continue;
        }
        first = false;
        if (line.empty())
            continue;
        QStringList fields;
        for (int column = 0; column < kDataColumns; ++column) {
            const std::string_view field = Field(line, static_cast<std::size_t>(column));
            fields << QString::fromUtf8(field.data(), static_cast<qsizetype>(field.size()));
        }
        records_.push_back(std::move(fields));
    }
    endResetModel();
    return text.IsOpen();
}

void SecurityDataModel::Clear() {
    beginResetModel();
    records_.clear();
    endResetModel();
}

int SecurityDataModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(records_.size());
}

int SecurityDataModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kDataColumns;
}

QVariant SecurityDataModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole || index.row() >= rowCount() ||
        index.column() >= kDataColumns)
        return {};
    return records_[static_cast<std::size_t>(index.row())][index.column()];
}

QVariant SecurityDataModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const char* const headers[] = {"Date", "Open", "High", "Low", "Close", "Volume"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kDataColumns)
        return {};
    return QString::fromLatin1(headers[section]);
}

} // namespace tessaly
