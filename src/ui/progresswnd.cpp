#include "ui/progresswnd.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <utility>

namespace tessaly {

namespace {

constexpr int kInitialTextLines = 4;
constexpr int kInitialWidth = 390;

QWidget* OwnerFor(QWidget* parent) {
    if (parent != nullptr)
        return parent->window();
    return QApplication::activeWindow();
}

} // namespace

CProgressWnd::CProgressWnd(QWidget* parent, const QString& title, bool smooth, Profile* profile)
    : QWidget(OwnerFor(parent),
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
    , owner_(OwnerFor(parent))
    , profile_(profile)
    , text_(new QLabel(this))
    , bar_(new QProgressBar(this))
    , cancel_(new QPushButton(QStringLiteral(" Cancel "), this))
    , title_(title.isEmpty() ? QStringLiteral("Progress") : title) {
    setObjectName(QStringLiteral("progressWindow"));
    setWindowTitle(title_);
    setCursor(Qt::BusyCursor);
    QPalette background = palette();
    background.setColor(QPalette::Window, background.color(QPalette::Button));
    setPalette(background);
    setAutoFillBackground(true);
    setAttribute(Qt::WA_ShowWithoutActivating);

    text_->setTextFormat(Qt::PlainText);
    text_->setWordWrap(false);
    text_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    bar_->setTextVisible(false);
    bar_->setProperty("smooth", smooth);
    cancel_->setObjectName(QStringLiteral("cancelButton"));
    cancel_->setFocusPolicy(Qt::StrongFocus);
    cancel_->setAutoDefault(false);
    connect(cancel_, &QPushButton::clicked, this, &CProgressWnd::Cancel);
    ApplyRange();

    ResizeWindow(kInitialTextLines, kInitialWidth);
    if (rememberPosition_)
        RestorePosition();
    else
        CentreOnOwner();
    show();
}

CProgressWnd::~CProgressWnd() {
    if (!closed_ && rememberPosition_ && profile_ != nullptr) {
        profile_->WriteInt(kSettingsSection, kXName, pos().x());
        profile_->WriteInt(kSettingsSection, kYName, pos().y());
    }
    if (modal_) {
        modal_ = false;
        if (owner_)
            owner_->setEnabled(true);
    }
}

bool CProgressWnd::BeginModal(const QString& title, bool smooth) {
    if (closed_)
        return false;
    if (!title.isEmpty()) {
        title_ = title;
        setWindowTitle(title_);
    }
    bar_->setProperty("smooth", smooth);
    if (owner_)
        owner_->setEnabled(false);
    // A window may be enabled while its owner is not.
    setEnabled(true);
    modal_ = true;
    return true;
}

void CProgressWnd::EndModal() {
    hide();
    if (!modal_)
        return;
    modal_ = false;
    if (owner_)
        owner_->setEnabled(true);
}

void CProgressWnd::ResizeWindow(int textLines, int width) {
    Q_UNUSED(textLines);
    width = std::max(width, kButtonWidth);
    text_->setGeometry(kMargin, kMargin, width, 1);
    bar_->setGeometry(kMargin, 21, width, 13);
    cancel_->setGeometry(width - 50, 44, kButtonWidth, kButtonHeight);
    const QPoint corner = pos();
    setFixedSize(width + 2 * kMargin, 1 + 3 * kMargin + 2 * kButtonHeight);
    move(corner);
}

void CProgressWnd::SetRange(int lower, int upper, int step) {
    lower_ = lower;
    upper_ = upper;
    step_ = step;
    ApplyRange();
}

int CProgressWnd::SetStep(int step) {
    return std::exchange(step_, step);
}

void CProgressWnd::StepIt() {
    SetPos(position_ + step_);
}

void CProgressWnd::SetPos(int position) {
    if (closed_)
        return;
    if (isHidden() && !cancelled_)
        show();
    position_ = position;
    const int percent = ProgressPercent(position, lower_, upper_);
    if (percent != percent_) {
        percent_ = percent;
        setWindowTitle(QStringLiteral("%1 [%2%]").arg(title_).arg(percent_));
    }
    if (lower_ < upper_)
        bar_->setValue(std::clamp(position, lower_, upper_));
}

void CProgressWnd::ApplyRange() {
    // An empty range would make the bar a busy indicator; it stays still instead.
    if (lower_ < upper_) {
        bar_->setRange(lower_, upper_);
        bar_->setValue(std::clamp(position_, lower_, upper_));
    } else {
        bar_->setRange(0, 1);
        bar_->setValue(0);
    }
}

void CProgressWnd::PumpMessages(bool escapeCancels) {
    if (cancelled_)
        return;
    if (modal_ && !closed_ && !isActiveWindow()) {
        activateWindow();
        setFocus(Qt::OtherFocusReason);
    }
    escapeCancels_ = escapeCancels;
    qApp->installEventFilter(this);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    qApp->removeEventFilter(this);
}

bool CProgressWnd::eventFilter(QObject* watched, QEvent* event) {
    // While the loop lets events through, an Escape typed anywhere stops it.
    if (event->type() == QEvent::KeyPress && escapeCancels_ && !cancelled_) {
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            Cancel();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CProgressWnd::Cancel() {
    if (cancelled_)
        return;
    cancelled_ = true;
    hide();
    if (modal_) {
        // The window is gone for good and keeps the place saved before; the owner answers again
        // at once, so the caller's message about the cancel can be read and closed.
        closed_ = true;
        modal_ = false;
        if (owner_)
            owner_->setEnabled(true);
    }
    if (owner_) {
        owner_->raise();
        owner_->activateWindow();
    }
}

void CProgressWnd::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        Cancel();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CProgressWnd::closeEvent(QCloseEvent* event) {
    // Only the loop that owns the window ends it; the user stops it with Cancel.
    event->ignore();
}

void CProgressWnd::RestorePosition() {
    const int x = profile_ != nullptr ? profile_->GetInt(kSettingsSection, kXName, -1) : -1;
    const int y = profile_ != nullptr ? profile_->GetInt(kSettingsSection, kYName, -1) : -1;
    const QScreen* screen = owner_ ? owner_->screen() : QGuiApplication::primaryScreen();
    const QRect desktop = screen != nullptr ? screen->virtualGeometry() : QRect();
    if (x < 0 || y < 0 || !desktop.contains(QPoint(x, y))) {
        CentreOnOwner();
        return;
    }
    move(x, y);
}

void CProgressWnd::CentreOnOwner() {
    QRect area;
    if (owner_ && owner_->isVisible())
        area = owner_->frameGeometry();
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
}

} // namespace tessaly
