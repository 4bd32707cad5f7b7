#pragma once

#include <QDialog>

namespace tessaly {

// The maker's web site, the target of the About box link when no maker host is configured.
inline constexpr const char* kMakerSite = "https://www.norvane.com/";

// The About box: program icon, name and version, and a link to the maker's web site.
class CAboutDlg final : public QDialog {
    Q_OBJECT
public:
    // `makerAddress` is the maker host of the settings; empty stands for kMakerSite.
    explicit CAboutDlg(QWidget* parent = nullptr, const QString& makerAddress = {});
};

} // namespace tessaly
