#pragma once

#include "browser/securitylistmodel.h"

#include <QTimer>
#include <QTreeView>

#include <filesystem>
#include <string>
#include <vector>

namespace tessaly {

// The securities list, the right pane of the main window. A folder's rows are read in small batches
// between events, so the window answers while a large folder is listed.
class CRightListView final : public QTreeView {
    Q_OBJECT
public:
    explicit CRightListView(QWidget* parent = nullptr);

    // Empties the list and starts listing the security data files of `folder`.
    void ShowFolder(const std::filesystem::path& folder);
    // Adds the row of one data file of `folder` (nothing when it cannot be read).
    void AddSecurityRow(const std::string& fileName, const std::filesystem::path& folder);
    void RemoveSecurityRows(std::string_view symbol);
    bool IsListing() const { return next_ < pending_.size(); }

    SecurityListModel& Model() { return model_; }

Q_SIGNALS:
    void ListingFinished();

private:
    void ReadBatch();

    SecurityListModel model_;
    QTimer batchTimer_;
    std::filesystem::path folder_;
    std::vector<std::string> pending_;
    std::size_t next_ = 0;
};

} // namespace tessaly
