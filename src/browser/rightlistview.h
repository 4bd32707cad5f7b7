#pragma once

#include "browser/pricechart.h"
#include "browser/securitydatamodel.h"
#include "browser/securitylistmodel.h"
#include "engine/messagebox.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QListView>
#include <QSplitter>
#include <QStackedWidget>
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
class CRightListView final : public QStackedWidget {
    Q_OBJECT
public:
    // How the securities are shown: the View > Show As types.
    enum class ViewType { LargeIcons = 0, Report = 1, SmallIcons = 2, List = 3 };

    explicit CRightListView(QWidget* parent = nullptr);

    void SetViewType(ViewType type);
    ViewType CurrentViewType() const { return viewType_; }
    // Switches between the securities and the records of the first selected security; a folder
    // shown by the tree switches back.
    void SwitchDisplayMode();
    // Shows the records of the first selected security; false when there is none or it cannot be read.
    bool ShowSecurityData();
    bool IsDataDisplayMode() const { return dataMode_; }
    QHeaderView* header() const { return report_->header(); }
    QItemSelectionModel* selectionModel() const { return selection_; }
    SecurityDataModel& DataModel() { return dataModel_; }
    // The records' table of the data display and the chart below it, in a splitter of their own.
    QTreeView* DataView() const { return data_; }
    CPriceChart* Chart() const { return chart_; }
    QSplitter* DataSplitter() const { return dataSplitter_; }

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
    void SelectAllSecurities();
    bool HasSelection() const;
    // The real file name of the topmost selected row; empty when none is selected.
    std::string FirstSelectedFileName() const;
    // The symbols of the selected rows in list order, each preceded by one blank (" MSFT IBM").
    std::string SelectedSymbolsText() const;
    // The symbols of the selected rows, top to bottom.
    std::vector<std::string> SelectedSymbols() const;
    std::filesystem::path Folder() const { return folder_; }
    bool IsListing() const { return next_ < pending_.size(); }

    SecurityListModel& Model() { return model_; }

Q_SIGNALS:
    void ListingFinished();
    void DisplayModeChanged();

private:
    void ReadBatch();

    SecurityListModel model_;
    SecurityDataModel dataModel_;
    QItemSelectionModel* selection_;
    QTreeView* report_;
    QListView* icons_;
    QTreeView* data_;
    QSplitter* dataSplitter_;
    CPriceChart* chart_;
    ViewType viewType_ = ViewType::Report;
    bool dataMode_ = false;
    QTimer batchTimer_;
    std::filesystem::path folder_;
    std::vector<std::string> pending_;
    std::size_t next_ = 0;
};

} // namespace tessaly
