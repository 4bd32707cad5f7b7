#pragma once

#include <QDialog>

#include <filesystem>

class QTreeWidget;

namespace tessaly {

// The Last Download Report: one row per security of the last download run, the last security
// first, with the records written, the symbol and a status with a red cross or a green tick.
// A click on a column heading sorts the rows by that column's text.
class CDlgReport final : public QDialog {
    Q_OBJECT
public:
    // Reads the report file; a missing or unreadable one gives an empty list.
    explicit CDlgReport(const std::filesystem::path& reportFile, QWidget* parent = nullptr);

    QTreeWidget* List() const { return list_; }
    // Sorts by a column as a click on its heading does: the sorted column again reverses the
    // direction, another column sorts ascending.
    void SortByColumn(int column);
    int SortedColumn() const { return sortedColumn_; }
    bool SortedAscending() const { return ascending_; }

private:
    void Fill(const std::filesystem::path& reportFile);

    QTreeWidget* list_;
    int sortedColumn_ = -1;
    bool ascending_ = true;
};

} // namespace tessaly
