#include "ui/hyperlink.h"

#include "engine/messagebox.h"
#include "engine/version.h"

#include <QApplication>
#include <QDesktopServices>
#include <QEnterEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace tessaly {

namespace {

// Starts a program with its arguments, never through a shell.
int StartProgram(const QStringList& command) {
    if (command.isEmpty() || command.front().isEmpty())
        return kOpenErrorFileNotFound;
    const QString& program = command.front();
    const QString path =
        program.contains(QLatin1Char('/')) ? program : QStandardPaths::findExecutable(program);
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists() || info.isDir())
        return kOpenErrorFileNotFound;
    if (!info.isExecutable())
        return kOpenErrorAccessDenied;
    if (!QProcess::startDetached(info.absoluteFilePath(), command.mid(1)))
        return kOpenErrorBadProgram;
    return kOpenLinkSucceeded;
}

} // namespace

CHyperLink::CHyperLink(QWidget* parent)
    : CHyperLink(QString(), parent) {}

CHyperLink::CHyperLink(const QString& text, QWidget* parent)
    : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setText(text);
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    setToolTip(LinkAddress());
    ApplyFont();
    ApplyColour();
    FitToText();
}

void CHyperLink::SetLinkAddress(const QString& address) {
    address_ = address;
    if (text().isEmpty())
        setText(address);
    setToolTip(LinkAddress());
    FitToText();
}

QString CHyperLink::LinkAddress() const {
    return address_.isEmpty() ? text() : address_;
}

void CHyperLink::SetUnderlined(bool underlined) {
    underlined_ = underlined;
    ApplyFont();
    FitToText();
}

void CHyperLink::SetLinkColour(const QColor& colour) {
    linkColour_ = colour;
    ApplyColour();
}

void CHyperLink::SetVisitedColour(const QColor& colour) {
    visitedColour_ = colour;
    ApplyColour();
}

void CHyperLink::SetHoverColour(const QColor& colour) {
    hoverColour_ = colour;
    ApplyColour();
}

QColor CHyperLink::HoverColour() const {
    return hoverColour_.isValid() ? hoverColour_ : QApplication::palette().color(QPalette::Highlight);
}

void CHyperLink::SetVisited(bool visited) {
    visited_ = visited;
    ApplyColour();
}

void CHyperLink::SetLinkCursor(std::optional<QCursor> linkCursor) {
    if (!linkCursor || linkCursor->shape() == Qt::ArrowCursor)
        setCursor(Qt::PointingHandCursor);
    else
        setCursor(*linkCursor);
}

void CHyperLink::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    FitToText();
}

QColor CHyperLink::TextColour() const {
    if (hovered_)
        return HoverColour();
    return visited_ ? visitedColour_ : linkColour_;
}

void CHyperLink::ApplyFont() {
    QFont underlinedFont = font();
    underlinedFont.setUnderline(underlined_);
    applying_ = true;
    setFont(underlinedFont);
    applying_ = false;
}

void CHyperLink::ApplyColour() {
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, TextColour());
    colours.setColor(QPalette::Text, TextColour());
    applying_ = true;
    setPalette(colours);
    applying_ = false;
    update();
}

void CHyperLink::FitToText() {
    if (!autoSize_) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        return;
    }
    const QSize textSize = QLabel::sizeHint();
    const QRect old = geometry();
    QPoint topLeft = old.topLeft();
    if (alignment() & Qt::AlignVCenter)
        topLeft.ry() += (old.height() - textSize.height()) / 2;
    if (alignment() & Qt::AlignHCenter)
        topLeft.rx() += (old.width() - textSize.width()) / 2;
    else if (alignment() & Qt::AlignRight)
        topLeft.rx() = old.right() + 1 - textSize.width();
    setFixedSize(textSize);
    // In a layout the layout places the control; on its own it keeps the edge its alignment names.
    if (!parentWidget() || !parentWidget()->layout())
        move(topLeft);
}

void CHyperLink::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    ApplyColour();
    QLabel::enterEvent(event);
}

void CHyperLink::leaveEvent(QEvent* event) {
    hovered_ = false;
    ApplyColour();
    QLabel::leaveEvent(event);
}

void CHyperLink::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        FollowLink();
        event->accept();
        return;
    }
    QLabel::mouseReleaseEvent(event);
}

void CHyperLink::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        FollowLink();
        event->accept();
        return;
    }
    QLabel::keyPressEvent(event);
}

void CHyperLink::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange && !applying_ && font().underline() != underlined_) {
        ApplyFont();
        FitToText();
    }
}

void CHyperLink::FollowLink() {
    const QString address = LinkAddress();
    const int result = openers_ ? OpenLink(address, *openers_) : OpenLink(address);
    if (result > kOpenLinkSucceeded - 1) {
        SetVisited(true);
        Q_EMIT Opened(address);
        return;
    }
    QApplication::beep();
    ShowOpenError(result);
}

int CHyperLink::OpenLink(const QString& address) {
    return OpenLink(address, LinkOpeners{});
}

int CHyperLink::OpenLink(const QString& address, const LinkOpeners& openers) {
    const QUrl url = QUrl::fromUserInput(address);
    if (openers.desktop ? openers.desktop(url) : QDesktopServices::openUrl(url))
        return kOpenLinkSucceeded;
    int result = kOpenErrorNoAssociation;
    if (!openers.opener.isEmpty()) {
        const QString opener = QStandardPaths::findExecutable(openers.opener);
        if (!opener.isEmpty()) {
            result = StartProgram({opener, address});
            if (result == kOpenLinkSucceeded)
                return result;
        }
    }
    const QString browsers =
        openers.browserVariable ? *openers.browserVariable : qEnvironmentVariable("BROWSER");
    for (const QString& entry : browsers.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        const QStringList command = BrowserCommand(entry, address);
        if (command.isEmpty())
            continue;
        result = StartProgram(command);
        if (result == kOpenLinkSucceeded)
            return result;
    }
    return result;
}

QStringList CHyperLink::BrowserCommand(const QString& entry, const QString& address) {
    const QStringList words = QProcess::splitCommand(entry);
    QStringList command;
    for (const QString& word : words) {
        qsizetype placeholder = word.indexOf(QStringLiteral("%s"));
        if (placeholder < 0)
            placeholder = word.indexOf(QStringLiteral("%1"));
        if (placeholder < 0) {
            command.append(word);
            continue;
        }
        // The address takes the placeholder's place; what follows the placeholder is dropped.
        if (command.isEmpty())
            return {};
        command.append(word.left(placeholder) + address);
        return command;
    }
    if (!command.isEmpty())
        command.append(address);
    return command;
}

QString CHyperLink::OpenErrorMessage(int code) {
    QString text;
    switch (code) {
    case 0:
        text = QStringLiteral("The operating system is out\nof memory or resources.");
        break;
    case 2:
        text = QStringLiteral("The specified file was not found.");
        break;
    case 3:
        text = QStringLiteral("The specified path was not found.");
        break;
    case 5:
        text = QStringLiteral("The operating system denied\naccess to the specified file.");
        break;
    case 8:
        text = QStringLiteral("There was not enough memory to complete the operation.");
        break;
    case 11:
        text = QStringLiteral("The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).");
        break;
    case 26:
        text = QStringLiteral("A sharing violation occurred. ");
        break;
    case 27:
        text = QStringLiteral("The filename association is\nincomplete or invalid.");
        break;
    case 28:
        text = QStringLiteral("The DDE transaction could not\nbe completed because the request timed out.");
        break;
    case 29:
        text = QStringLiteral("The DDE transaction failed.");
        break;
    case 30:
        text =
            QStringLiteral("The DDE transaction could not\nbe completed because other DDE transactions\nwere "
                           "being processed.");
        break;
    case 31:
        text = QStringLiteral("There is no application associated\nwith the given filename extension.");
        break;
    case 32:
        text = QStringLiteral("The specified dynamic-link library was not found.");
        break;
    default:
        text = QStringLiteral("Unknown Error (%1) occurred.").arg(code);
        break;
    }
    return QStringLiteral("Unable to open hyperlink:\n\n") + text;
}

void CHyperLink::ShowOpenError(int code) {
    const QString message = OpenErrorMessage(code);
    if (messages_) {
        messages_->Show(message.toStdString(), "", MessageButtons::Ok, MessageIcon::Warning);
        return;
    }
    QMessageBox box(QMessageBox::Warning,
                    QString::fromUtf8(kApplicationTitle.data(), kApplicationTitle.size()), message,
                    QMessageBox::Ok, window());
    box.exec();
}

} // namespace tessaly
