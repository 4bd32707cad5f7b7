#pragma once

#include "engine/lockkeys.h"

#include <QObject>
#include <QTimer>

#include <functional>

class QLabel;
class QStatusBar;

namespace tessaly {

// The "CAP", "NUM" and "SCRL" panes at the right of the status bar. A pane is drawn in the normal
// text colour while its lock is on and grayed while it is off or its state cannot be read here, so
// it never claims a lock that is not on.
class CKeyIndicators final : public QObject {
    Q_OBJECT
public:
    using Reader = std::function<LockKeyStates()>;

    // Adds the three panes to `statusBar`; `reader` gives the lock states (SystemLockKeys by default).
    explicit CKeyIndicators(QStatusBar& statusBar, Reader reader = {});

    QLabel* CapsLock() const { return caps_; }
    QLabel* NumLock() const { return num_; }
    QLabel* ScrollLock() const { return scroll_; }
    void SetReader(Reader reader) { reader_ = std::move(reader); }
    // Reads the states again; also run by a timer and by key presses.
    void Refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Reader reader_;
    QLabel* caps_;
    QLabel* num_;
    QLabel* scroll_;
    QTimer timer_;
};

// The lock states of this session: from the X server's keyboard indicators on X11, else from the
// keyboards' LEDs of the kernel; what neither gives stays unknown.
LockKeyStates SystemLockKeys();

} // namespace tessaly
