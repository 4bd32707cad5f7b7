#pragma once

#include "browser/symboldatabase.h"
#include "engine/messagebox.h"

#include <QDialog>

#include <string>

class QComboBox;
class QPushButton;
class QTreeWidget;

namespace tessaly {

class HelpFile;

// The Listed Securities Dialog: the user picks a type (exchanges, currency pairs, a sector, index or
// ETF families) and a group of the symbol database, selects securities of that group and gets their
// symbols back, each followed by one blank, in list order.
class CDlgList final : public QDialog {
    Q_OBJECT
public:
    static constexpr int kNameWidth = 180;
    static constexpr int kSymbolWidth = 80;

    CDlgList(QWidget* parent, SymbolDatabase database, MessageBoxes& messages, const HelpFile& help);

    // The symbols of the rows selected when OK was pressed; empty before and after Cancel.
    const std::string& Result() const { return result_; }

    QComboBox* TypeBox() const { return types_; }
    QComboBox* GroupBox() const { return groups_; }
    QTreeWidget* List() const { return list_; }

    void SelectAll();
    void DeselectAll();
    // The sort of a click on a column header: the same column again reverses the direction.
    void SortByColumn(int column);

public Q_SLOTS:
    void accept() override;

private:
    void OnTypeSelected(int position);
    void OnGroupSelected(int position);
    void RemoveSortArrows();

    SymbolDatabase database_;
    MessageBoxes& messages_;
    const HelpFile& help_;
    QComboBox* types_;
    QComboBox* groups_;
    QTreeWidget* list_;
    std::string result_;
    int sortColumn_ = -1;
    bool ascending_ = true;
};

} // namespace tessaly
