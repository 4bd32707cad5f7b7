#pragma once

#include <QDialog>
#include <QUrl>

class QTextBrowser;

namespace tessaly {

// A plain window that shows one help page at a time, follows links between the pages, goes back
// and forward through the pages shown, returns to the contents, and opens links to other sites in
// the user's browser.
class CHelpViewer final : public QDialog {
    Q_OBJECT
public:
    explicit CHelpViewer(QWidget* parent = nullptr);

    void ShowPage(const QUrl& page);
    QTextBrowser& Browser() { return *browser_; }

private:
    QTextBrowser* browser_;
    QUrl contents_;
};

} // namespace tessaly
