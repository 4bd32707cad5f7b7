#pragma once

#include <QDialog>

namespace tessaly {

// The maker's web site, the target of the About box link.
inline constexpr const char* kMakerSite = "https://www.norvane.com/";

// The About box: program icon, name and version, and a link to the maker's web site.
class CAboutDlg final : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

} // namespace tessaly
