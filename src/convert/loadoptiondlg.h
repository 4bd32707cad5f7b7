#pragma once

#include "convert/conversionoption.h"
#include "engine/profile.h"

#include <QDialog>

#include <optional>

class QListWidget;

namespace tessaly {

// "Preset Conversion Options": the names of the saved presets in alphabetical order, the first one
// selected; OK loads the selected preset.
class LoadOptionDlg final : public QDialog {
    Q_OBJECT
public:
    explicit LoadOptionDlg(const Profile& profile, QWidget* parent = nullptr);

    // Loads the selected preset (nothing when the list is empty) and closes.
    void accept() override;
    // The preset loaded by OK; nullopt when nothing was loaded.
    const std::optional<ConversionOption>& Option() const { return option_; }
    QListWidget& List() { return *list_; }

private:
    const Profile& profile_;
    QListWidget* list_;
    std::optional<ConversionOption> option_;
};

} // namespace tessaly
