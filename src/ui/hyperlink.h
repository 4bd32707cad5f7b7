#pragma once

#include <QColor>
#include <QCursor>
#include <QLabel>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QUrl;

namespace tessaly {

class MessageBoxes;

// Result codes of OpenLink: above kOpenLinkSucceeded-1 the address was handed to a browser, the
// others name what failed, with the texts ShowOpenError gives them.
inline constexpr int kOpenLinkSucceeded = 33;
inline constexpr int kOpenErrorOutOfResources = 0;
inline constexpr int kOpenErrorFileNotFound = 2;
inline constexpr int kOpenErrorAccessDenied = 5;
inline constexpr int kOpenErrorBadProgram = 11;
inline constexpr int kOpenErrorNoAssociation = 31;

// How OpenLink reaches a browser: the desktop's own way of opening addresses, then the desktop's
// opener program, then the commands of the BROWSER variable (separated by ':'; "%s" or "%1" marks
// where the address goes, else it is added at the end).
struct LinkOpeners {
    std::function<bool(const QUrl&)> desktop;
    QString opener = QStringLiteral("xdg-open");
    std::optional<QString> browserVariable; // none: read BROWSER from the environment
};

// A label that works as a web link: link, visited and hover colours, a pointing-hand cursor, the
// address as tool tip, and a click that opens the address in the user's browser.
class CHyperLink : public QLabel {
    Q_OBJECT
public:
    explicit CHyperLink(QWidget* parent = nullptr);
    CHyperLink(const QString& text, QWidget* parent = nullptr);

    // The address; an empty one stands for the label's text, and an empty text shows the address.
    void SetLinkAddress(const QString& address);
    QString LinkAddress() const;
    void SetUnderlined(bool underlined);
    bool Underlined() const { return underlined_; }
    void SetLinkColour(const QColor& colour);
    QColor LinkColour() const { return linkColour_; }
    void SetVisitedColour(const QColor& colour);
    QColor VisitedColour() const { return visitedColour_; }
    // An invalid colour stands for the system highlight colour.
    void SetHoverColour(const QColor& colour);
    QColor HoverColour() const;
    void SetVisited(bool visited);
    bool Visited() const { return visited_; }
    // A cursor of shape Qt::ArrowCursor or none (std::nullopt) gives the pointing hand.
    void SetLinkCursor(std::optional<QCursor> cursor);
    QCursor LinkCursor() const { return cursor(); }
    void SetAutoSize(bool autoSize);
    bool AutoSize() const { return autoSize_; }
    bool IsHovered() const { return hovered_; }
    // The colour the text is drawn in now.
    QColor TextColour() const;
    // Where ShowOpenError sends its message; none shows a message box of its own.
    void SetMessageBoxes(MessageBoxes* messages) { messages_ = messages; }

    // Opens the address in the user's browser; returns kOpenLinkSucceeded or an error code.
    static int OpenLink(const QString& address);
    static int OpenLink(const QString& address, const LinkOpeners& openers);
    // The browser command line of one BROWSER entry for the address, program first.
    static QStringList BrowserCommand(const QString& entry, const QString& address);
    // "Unable to open hyperlink:\n\n" and the text of the code.
    static QString OpenErrorMessage(int code);
    void ShowOpenError(int code);

    void SetOpeners(LinkOpeners openers) { openers_ = std::move(openers); }

Q_SIGNALS:
    void Opened(const QString& address);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void FollowLink();
    void ApplyFont();
    void ApplyColour();
    void FitToText();

    QString address_;
    QColor linkColour_{0, 0, 250};
    QColor visitedColour_{0, 0, 250};
    QColor hoverColour_; // invalid: the system highlight colour
    bool hovered_ = false;
    bool visited_ = false;
    bool underlined_ = true;
    bool autoSize_ = true;
    bool applying_ = false;
    MessageBoxes* messages_ = nullptr;
    std::optional<LinkOpeners> openers_;
};

} // namespace tessaly
