#pragma once

#include "convert/conversionoption.h"
#include "engine/messagebox.h"
#include "engine/profile.h"
#include "ui/helpfile.h"

#include <QDialog>

#include <array>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;

namespace tessaly {

// "Conversion Options": edits one ASCII output layout. Clicking a field, a date layout, Include
// headers or Single output file rebuilds the header line; with the single output file every line
// carries its symbol, so Symbol is then checked and locked. Accept takes the controls' values into
// Option(); Cancel leaves it as it came. Load and Save reach the presets in `profile`.
class CDlgOptions final : public QDialog {
    Q_OBJECT
public:
    CDlgOptions(const ConversionOption& option, Profile& profile, MessageBoxes& messages,
                const HelpFile& help, QWidget* parent = nullptr);

    // The option as it came, or as accepted.
    const ConversionOption& Option() const { return option_; }
    // What the controls show now.
    ConversionOption ControlValues() const;
    void accept() override;

    void Load();
    void Save();
    void SetDefault();

private:
    enum Field { kSymbol, kPeriodicity, kDate, kOpen, kHigh, kLow, kClose, kVolume, kInterest, kFieldCount };

    void ShowOption(const ConversionOption& option);
    // The enabled state of the header box and of the Symbol and file-name controls.
    void ApplyRules();
    void ShowHeaderLine(const std::string& line);
    void RebuildHeaderLine();
    void OnHeadersClicked();
    void OnSingleClicked();
    std::optional<int> SelectedDateFormat() const;

    ConversionOption option_;
    Profile& profile_;
    MessageBoxes& messages_;
    const HelpFile& help_;
    std::array<QCheckBox*, kFieldCount> fields_{};
    QButtonGroup* dateFormats_;
    QButtonGroup* separators_;
    QCheckBox* single_;
    QLineEdit* fileName_;
    QLineEdit* extension_;
    QCheckBox* headers_;
    QLineEdit* headersLine_;
};

} // namespace tessaly
