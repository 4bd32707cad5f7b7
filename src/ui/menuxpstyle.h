#pragma once

#include "ui/draw.h"
#include "ui/menuxp.h"

#include <QProxyStyle>

#include <cstdint>

class QMenu;

namespace tessaly {

class Profile;

// Draws the menu bar, its drop-down menus and context menus of windows that carry the menu look
// the program's flat way: a shaded image strip, framed highlight boxes, a three-line border and a
// soft shadow. Other widgets, and menus of windows without the look, are drawn by the base style.
// The settings are read from the profile once, when the style is made, and kept.
class CMenuXPStyle final : public QProxyStyle {
    Q_OBJECT
public:
    explicit CMenuXPStyle(const Profile& profile, QStyle* base = nullptr);

    const MenuSettings& Settings() const;
    MenuColors Colors() const;
    ColorRef ButtonFace() const;
    ColorRef Highlight() const;

    void polish(QWidget* widget) override;
    void unpolish(QWidget* widget) override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void DrawMenuFrame(const QStyleOption* option, QPainter* painter, const QWidget* widget) const;
    void DrawPopupItem(const QStyleOption* option, QPainter* painter, const QWidget* widget) const;
    void DrawMenuBarItem(const QStyleOption* option, QPainter* painter, const QWidget* widget) const;
    // Whether `widget` (a menu, the menu bar or a toolbar) belongs to a window with the look.
    bool UsesLook(const QWidget* widget) const;
    static bool OwnerHasLook(const QMenu* menu);
    void OnMenuShown(QMenu* menu);
    bool OnMenuKey(QMenu* menu, const QString& text);

    MenuSettings settings_;
};

// The packed data of a popup menu's items, measured with the menu's font: the item height and the
// menu's widest shortcut and label (the default item's in bold).
std::uint32_t PopupItemData(const QMenu& menu);
std::uint32_t SeparatorItemData(const QMenu& menu);

// Installs the menu style for the whole application (counted: each call needs a RemoveMenuHook).
// The settings are read from `profile` by the first call.
void InstallMenuHook(const Profile& profile);
// Undoes one InstallMenuHook; the last one gives the application its plain style back.
void RemoveMenuHook();

// Marks a window as using the menu look (its menu bar, drop-downs and context menus), or not.
void EnableMenuLook(QWidget* window, bool on = true);
bool HasMenuLook(const QWidget* window);

} // namespace tessaly
