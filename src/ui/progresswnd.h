#pragma once

#include "engine/profile.h"
#include "engine/progress.h"

#include <QPointer>
#include <QWidget>

#include <string_view>

class QLabel;
class QProgressBar;
class QPushButton;

namespace tessaly {

// A small topmost window with a progress bar and a Cancel button for long loops on the
// user-interface thread. The loop steps the bar and lets events through PumpMessages, which also
// notices Escape and Cancel; in modal use the owner window is disabled until the window goes away.
// The percentage shows in the title ("Updating ... [42%]"); the window's place on the screen is
// kept in the settings (`Settings`/`X`,`Y`) when it goes away normally.
class CProgressWnd final : public QWidget, public Progress {
    Q_OBJECT
public:
    static constexpr std::string_view kSettingsSection = "Settings";
    static constexpr std::string_view kXName = "X";
    static constexpr std::string_view kYName = "Y";
    static constexpr int kMargin = 10;
    static constexpr int kButtonWidth = 60;
    static constexpr int kButtonHeight = 20;

    // Creates and shows the window at once, without activating it, owned by the window of `parent`
    // (the active window when null). Without a profile the window is centred and nothing is saved.
    CProgressWnd(QWidget* parent, const QString& title, bool smooth = false, Profile* profile = nullptr);
    // Saves the position (unless a modal cancel closed the window) and enables the owner again.
    ~CProgressWnd() override;

    // Disables the owner window and keeps this one usable. Reports success.
    bool BeginModal(const QString& title, bool smooth = false);
    // Hides the window and gives the owner back, for a message the loop must show before it ends.
    void EndModal();
    // Lays the window out for a width of `width` pixels, keeping its top-left corner. The text
    // strip stays one pixel high whatever the number of text lines.
    void ResizeWindow(int textLines, int width);

    void SetRange(int lower, int upper, int step) override;
    int SetStep(int step) override;
    void StepIt() override;
    void SetPos(int position);
    // Lets pending events run; a typed Escape cancels when `escapeCancels`, a click on Cancel always.
    void PumpMessages(bool escapeCancels = true) override;
    bool IsCancelled() const override { return cancelled_; }
    void Cancel();

    bool IsModal() const { return modal_; }
    int Position() const { return position_; }
    int Percent() const { return percent_; }
    QString BaseTitle() const { return title_; }
    QProgressBar* Bar() const { return bar_; }
    QPushButton* CancelButton() const { return cancel_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RestorePosition();
    void CentreOnOwner();
    void ApplyRange();

    QPointer<QWidget> owner_;
    Profile* profile_;
    QLabel* text_;
    QProgressBar* bar_;
    QPushButton* cancel_;
    QString title_;
    bool cancelled_ = false;
    bool modal_ = false;
    bool rememberPosition_ = true;
    bool closed_ = false;
    bool escapeCancels_ = false;
    int position_ = 0;
    int percent_ = 0;
    int step_ = 1;
    int upper_ = 100;
    int lower_ = 0;
};

} // namespace tessaly
