#pragma once

#include "convert/conversionoption.h"
#include "engine/messagebox.h"
#include "engine/profile.h"

#include <QDialog>

class QLineEdit;

namespace tessaly {

// "Custom Conversion Option": asks for a name and stores the option as a new preset under it.
class CDlgSaveOption final : public QDialog {
    Q_OBJECT
public:
    CDlgSaveOption(Profile& profile, const ConversionOption& option, MessageBoxes& messages,
                   QWidget* parent = nullptr);

    // Refuses an empty name with a message and stays open; otherwise saves the preset and closes.
    void accept() override;
    QLineEdit& NameEdit() { return *name_; }

private:
    Profile& profile_;
    ConversionOption option_;
    MessageBoxes& messages_;
    QLineEdit* name_;
};

} // namespace tessaly
