#pragma once

#include <QDialog>
#include <QStringList>

#include <filesystem>
#include <string>

class QLabel;

namespace tessaly {

// The Security Properties dialog: symbol, dates, periodicity and record count of one security.
class CDlgProperties final : public QDialog {
    Q_OBJECT
public:
    // `fileName` is the real name of the security's file in `folder`; empty when none is selected.
    CDlgProperties(QWidget* parent, const std::filesystem::path& folder, const std::string& fileName);

    // The six lines as the dialog shows them, a tab between name and value.
    QStringList Lines() const { return lines_; }

private:
    QStringList lines_;
};

} // namespace tessaly
