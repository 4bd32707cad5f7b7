#pragma once

#include "ui/draw.h"
#include "ui/menuxp.h"

#include <QProxyStyle>

#include <cstdint>
#include <optional>

class QMenu;

namespace tessaly {

class Profile;

// Draws the menu bar, its drop-down menus, context menus and the toolbar's gripper the program's
// flat way: a shaded image strip, framed highlight boxes, a three-line border and a soft shadow.
// The settings are read from the profile the first time a menu needs them and kept.
class CMenuXPStyle final : public QProxyStyle {
    Q_OBJECT
public:
    // `profile` must outlive the style.
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
    bool HasGradients() const;
    void OnMenuShown(QMenu* menu);
    bool OnMenuKey(QMenu* menu, const QString& text);

    const Profile& profile_;
    mutable std::optional<MenuSettings> settings_;
};

// The packed data of a popup menu's items, measured with the menu's font: the item height and the
// menu's widest shortcut and label (the default item's in bold).
std::uint32_t PopupItemData(const QMenu& menu);
std::uint32_t SeparatorItemData(const QMenu& menu);

// Gives a window (and so its menu bar, menus and toolbars) the menu look, or takes it away.
void EnableMenuLook(QWidget* window, const Profile& profile, bool on = true);
bool HasMenuLook(const QWidget* window);

} // namespace tessaly
