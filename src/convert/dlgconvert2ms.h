#pragma once

#include "convert/folderpicker.h"
#include "engine/messagebox.h"

#include <QDialog>

#include <filesystem>

class QCheckBox;
class QLineEdit;

namespace tessaly {

// "Convert to Metastock": copies the data files of a symbol list into a MetaStock folder, adding the
// securities it does not list yet and extending those it does. Convert runs the conversion, tells the
// user which symbols were skipped and why, and closes.
class CDlgConvert2MS final : public QDialog {
    Q_OBJECT
public:
    // `symbols` is the symbol list text of the selected securities, `dataFolder` the folder their
    // data files are in; the output folder starts there too.
    CDlgConvert2MS(const QString& symbols, const std::filesystem::path& dataFolder, MessageBoxes& messages,
                   QWidget* parent = nullptr);

    void SetFolderPicker(FolderPicker picker) { pickFolder_ = std::move(picker); }
    // Whether "Generate names automatically" is ticked. Securities are named after their symbols.
    bool GenerateNames() const;
    QLineEdit& SymbolsEdit() { return *symbols_; }
    QLineEdit& OutputEdit() { return *output_; }

    void Browse();
    void Convert();

private:
    std::filesystem::path dataFolder_;
    MessageBoxes& messages_;
    FolderPicker pickFolder_ = PickFolder;
    QLineEdit* symbols_;
    QLineEdit* output_;
    QCheckBox* generateNames_;
};

} // namespace tessaly
