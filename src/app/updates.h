#pragma once

#include "engine/httpsession.h"
#include "engine/messagebox.h"
#include "engine/productupdates.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <string>

class QLabel;
class QProgressBar;
class QPushButton;

namespace tessaly {

// Tools > Check for product updates: asks the maker's server whether a newer version exists and
// offers its product page and setup program. The request runs beside the window, which keeps
// painting and shows that it is busy until the answer is in.
class CUpdates final : public QDialog {
    Q_OBJECT
public:
    // `makerHost` is the base address of the maker's server; errors go to `messages` with the
    // caption "Tessaly Error".
    CUpdates(std::string makerHost, MessageBoxes& messages, std::shared_ptr<HttpTransport> transport,
             QWidget* parent = nullptr);
    ~CUpdates() override;

    bool IsBusy() const { return busy_; }
    QString Text() const;
    QPushButton& DetailsButton() { return *details_; }
    QPushButton& DownloadButton() { return *download_; }
    // What hands an address to the browser; the hyperlink's opener unless a test sets another.
    void SetAddressOpener(std::function<void(const QString&)> opener) { opener_ = std::move(opener); }

Q_SIGNALS:
    void CheckFinished();

private:
    struct Worker;
    void StartCheck();
    void ShowResult(const UpdateCheckResult& result);
    void OpenAndClose(const std::string& address);

    std::string makerHost_;
    MessageBoxes& messages_;
    std::shared_ptr<HttpTransport> transport_;
    std::shared_ptr<Worker> worker_;
    std::function<void(const QString&)> opener_;
    std::string shortVersion_;
    bool busy_ = false;
    QLabel* text_;
    QProgressBar* busyBar_;
    QPushButton* details_;
    QPushButton* download_;
};

} // namespace tessaly
