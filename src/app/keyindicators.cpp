#include "app/keyindicators.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QStatusBar>

#ifdef TESSALY_HAVE_XKB
#include "app/xkblockkeys.h"
#endif

namespace tessaly {

namespace {

constexpr int kRefreshMs = 250;

QLabel* AddPane(QStatusBar& statusBar, const QString& text, const QString& key) {
    auto* pane = new QLabel(text, &statusBar);
    pane->setObjectName(text);
    pane->setAlignment(Qt::AlignCenter);
    pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 10);
    pane->setProperty("lockKey", key);
    statusBar.addPermanentWidget(pane);
    return pane;
}

void Show(QLabel* pane, const std::optional<bool>& state) {
    pane->setEnabled(state.value_or(false));
    const QString key = pane->property("lockKey").toString();
    pane->setToolTip(!state ? key + QStringLiteral(" state cannot be read on this system")
                            : key + (*state ? QStringLiteral(" is on") : QStringLiteral(" is off")));
}

} // namespace

LockKeyStates SystemLockKeys() {
#ifdef TESSALY_HAVE_XKB
    // The X server knows the locks of the session; the kernel's LEDs may belong to another seat.
    if (const auto states = XkbLockKeys())
        return *states;
#endif
    // Elsewhere (Wayland, the console) the kernel's keyboard LEDs are what can be read; an
    // offscreen or remote session has none and shows every pane grayed.
    return ReadLockLeds("/sys/class/leds");
}

CKeyIndicators::CKeyIndicators(QStatusBar& statusBar, Reader reader)
    : QObject(&statusBar)
    , reader_(reader ? std::move(reader) : Reader(SystemLockKeys))
    , caps_(AddPane(statusBar, QStringLiteral("CAP"), QStringLiteral("Caps Lock")))
    , num_(AddPane(statusBar, QStringLiteral("NUM"), QStringLiteral("Num Lock")))
    , scroll_(AddPane(statusBar, QStringLiteral("SCRL"), QStringLiteral("Scroll Lock"))) {
    // The locks can change in other windows too, so the panes are read again now and then as well
    // as after each key this program receives.
    connect(&timer_, &QTimer::timeout, this, &CKeyIndicators::Refresh);
    timer_.start(kRefreshMs);
    if (qApp)
        qApp->installEventFilter(this);
    Refresh();
}

void CKeyIndicators::Refresh() {
    const LockKeyStates states = reader_();
    Show(caps_, states.capsLock);
    Show(num_, states.numLock);
    Show(scroll_, states.scrollLock);
}

bool CKeyIndicators::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease)
        QTimer::singleShot(0, this, &CKeyIndicators::Refresh);
    return QObject::eventFilter(watched, event);
}

} // namespace tessaly
