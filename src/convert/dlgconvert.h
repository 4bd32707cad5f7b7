#pragma once

#include "convert/conversionoptionholder.h"
#include "convert/folderpicker.h"
#include "engine/messagebox.h"
#include "engine/profile.h"
#include "ui/helpfile.h"

#include <QDialog>

#include <filesystem>

class QLineEdit;

namespace tessaly {

// "Convert to ASCII": which securities (a symbol list text), which folder the text files go to, and
// the layout (Options, on a copy of the program's current option). Convert writes the files, tells
// the user which symbols were skipped and why, and closes.
class CDlgConvert final : public QDialog {
    Q_OBJECT
public:
    // `symbols` is the symbol list text of the selected securities, `dataFolder` the folder their
    // data files are in; the output folder starts there too.
    CDlgConvert(const QString& symbols, const std::filesystem::path& dataFolder,
                ConversionOptionHolder& options, Profile& profile, MessageBoxes& messages,
                const HelpFile& help, QWidget* parent = nullptr);

    void SetFolderPicker(FolderPicker picker) { pickFolder_ = std::move(picker); }
    // This dialog's copy of the current option, the one Convert uses.
    const ConversionOption& Option() const { return option_; }
    QLineEdit& SymbolsEdit() { return *symbols_; }
    QLineEdit& OutputEdit() { return *output_; }

    void Browse();
    void EditOptions();
    void Convert();

private:
    std::filesystem::path dataFolder_;
    ConversionOptionHolder& options_;
    Profile& profile_;
    MessageBoxes& messages_;
    const HelpFile& help_;
    ConversionOption option_;
    FolderPicker pickFolder_ = PickFolder;
    QLineEdit* symbols_;
    QLineEdit* output_;
};

} // namespace tessaly
