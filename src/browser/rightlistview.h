#pragma once

#include "browser/securitylistmodel.h"
#include "engine/messagebox.h"

#include <QTimer>
#include <QTreeView>

#include <filesystem>
#include <string>
#include <vector>

namespace tessaly {

// The clipboard format Copy and Cut put beside the text, so a cut is honoured only when it is ours.
inline constexpr const char* kTransferMimeType = "application/x-tessaly-securities";

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
    // Asks once, then deletes the file of every selected row; a file that cannot be deleted keeps
    // its row and is named in a message.
    void DeleteSelectedSecurities(MessageBoxes& messages);
    // Puts "0" (copy) or "1" (cut) and the full path of each selected row's file on the clipboard,
    // each line ended by a line feed, beside the program's own format that marks the text as ours.
    void CopySelectedSecurities(bool cut);
    void SelectAllSecurities() { selectAll(); }
    bool HasSelection() const;
    std::filesystem::path Folder() const { return folder_; }
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
