#include "ui/menuxpstyle.h"

#include "engine/profile.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>

#include <algorithm>

namespace tessaly {

namespace {

// Marks a window that carries the menu look.
constexpr char kMenuLookProperty[] = "XPWndProp_MenuXP";
// The joining line of a drop-down opened from the menu bar, in the menu's coordinates.
constexpr char kJoinLineProperty[] = "tessalyJoinLine";
// Set on a menu polished with the look: its margins and translucency are made for it.
constexpr char kLookMenuProperty[] = "tessalyMenuLook";

// Left edge of the label, width of the plain image strip, right inset of the shortcut.
constexpr int kLabelLeft = 30;
constexpr int kStripWidth = 22;
constexpr int kShortcutInset = 12;
constexpr int kMenuFrameWidth = 3;
constexpr int kMenuBarShadow = 4;
constexpr int kImageSize = 16;
// Room the system adds around each menu-bar item on top of its measured width; the toolkit adds
// none, so the style does.
constexpr int kMenuBarItemPadding = 12;

QColor ToQColor(ColorRef color) {
    return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

ColorRef FromQColor(const QColor& color) {
    return MakeColorRef(color.red(), color.green(), color.blue());
}

void FillBands(QPainter* painter, const QRect& rect, ColorRef from, ColorRef to) {
    for (const GradientBand& band : GradientBands(rect.left(), rect.width(), from, to))
        painter->fillRect(QRect(band.left, rect.top(), band.right - band.left, rect.height()),
                          ToQColor(band.color));
}

// A one-pixel frame just inside `rect`, like a framed rectangle of the system.
void FrameRect(QPainter* painter, const QRect& rect, const QColor& color) {
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    painter->fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), color);
    painter->fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), color);
    painter->fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), color);
    painter->fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), color);
}

QString LabelOf(const QString& text) {
    const qsizetype tab = text.indexOf(u'\t');
    return tab < 0 ? text : text.left(tab);
}

QString ShortcutOf(const QString& text) {
    const qsizetype tab = text.indexOf(u'\t');
    return tab < 0 ? QString() : text.mid(tab + 1);
}

// The shortcut text the menu shows after the label, as the toolkit derives it.
QString ShortcutText(const QAction& action) {
    const QString fromText = ShortcutOf(action.text());
    if (!fromText.isEmpty() || action.shortcut().isEmpty())
        return fromText;
    return action.shortcut().toString(QKeySequence::NativeText);
}

QString WithoutFirstAmpersand(QString label) {
    if (const qsizetype ampersand = label.indexOf(u'&'); ampersand >= 0)
        label.remove(ampersand, 1);
    return label;
}

} // namespace

std::uint32_t PopupItemData(const QMenu& menu) {
    const QFontMetrics metrics(menu.font());
    QFont bold = menu.font();
    bold.setBold(true);
    const QFontMetrics boldMetrics(bold);
    int widestLabel = 0;
    int widestShortcut = 0;
    for (const QAction* action : menu.actions()) {
        if (action->isSeparator() || !action->isVisible())
            continue;
        const QFontMetrics& used = action == menu.defaultAction() ? boldMetrics : metrics;
        widestLabel =
            std::max(widestLabel, used.horizontalAdvance(WithoutFirstAmpersand(LabelOf(action->text()))));
        widestShortcut = std::max(widestShortcut, used.horizontalAdvance(ShortcutText(*action)));
    }
    return PackPopupItemData(MenuMetricsFor(metrics.height()).itemHeight, widestShortcut, widestLabel);
}

std::uint32_t SeparatorItemData(const QMenu& menu) {
    return PackSeparatorData(MenuMetricsFor(QFontMetrics(menu.font()).height()).separatorHeight);
}

namespace {

// The name of the style under any proxies.
QString StyleName(QStyle* style) {
    while (auto* proxy = qobject_cast<QProxyStyle*>(style))
        style = proxy->baseStyle();
    return style ? style->name() : QString();
}

// A fresh copy of the application's plain style to draw everything the look leaves alone.
QStyle* PlainStyle(const QString& name) {
    QStyle* style = name.isEmpty() ? nullptr : QStyleFactory::create(name);
    return style ? style : QStyleFactory::create(QStringLiteral("Fusion"));
}

} // namespace

CMenuXPStyle::CMenuXPStyle(const Profile& profile, QStyle* base)
    : QProxyStyle(base ? base : PlainStyle(StyleName(QApplication::style())))
    , settings_(ReadMenuSettings(profile, ButtonFace())) {}

const MenuSettings& CMenuXPStyle::Settings() const {
    return settings_;
}

ColorRef CMenuXPStyle::ButtonFace() const {
    return FromQColor(QApplication::palette().color(QPalette::Button));
}

ColorRef CMenuXPStyle::Highlight() const {
    return FromQColor(QApplication::palette().color(QPalette::Highlight));
}

MenuColors CMenuXPStyle::Colors() const {
    return MenuColorsFrom(ButtonFace(), Highlight());
}

bool CMenuXPStyle::UsesLook(const QWidget* widget) const {
    if (!widget)
        return false;
    if (qobject_cast<const QMenu*>(widget))
        return widget->property(kLookMenuProperty).toBool();
    return HasMenuLook(widget->window());
}

bool CMenuXPStyle::OwnerHasLook(const QMenu* menu) {
    // A menu is a window of its own: the look comes from the window it was opened for.
    const QWidget* owner = menu->parentWidget();
    while (qobject_cast<const QMenu*>(owner))
        owner = owner->parentWidget();
    return HasMenuLook(owner ? owner->window() : QApplication::activeWindow());
}

void CMenuXPStyle::polish(QWidget* widget) {
    QProxyStyle::polish(widget);
    if (auto* menu = qobject_cast<QMenu*>(widget); menu && OwnerHasLook(menu)) {
        menu->setProperty(kLookMenuProperty, true);
        if (DrawsMenuShadow()) {
            // The shadow strips are drawn over whatever lies behind the menu.
            menu->setAttribute(Qt::WA_TranslucentBackground);
            menu->setContentsMargins(0, 0, kMenuShadowSize, kMenuShadowSize);
        }
        menu->installEventFilter(this);
    } else if (auto* bar = qobject_cast<QMenuBar*>(widget)) {
        bar->setAttribute(Qt::WA_Hover);
    }
}

void CMenuXPStyle::unpolish(QWidget* widget) {
    if (auto* menu = qobject_cast<QMenu*>(widget); menu && UsesLook(menu)) {
        menu->setProperty(kLookMenuProperty, QVariant());
        menu->removeEventFilter(this);
        if (DrawsMenuShadow()) {
            menu->setContentsMargins(0, 0, 0, 0);
            menu->setAttribute(Qt::WA_TranslucentBackground, false);
        }
    }
    QProxyStyle::unpolish(widget);
}

int CMenuXPStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
    if (!UsesLook(widget))
        return QProxyStyle::pixelMetric(metric, option, widget);
    switch (metric) {
    case PM_MenuPanelWidth:
        return kMenuFrameWidth;
    case PM_MenuHMargin:
    case PM_MenuVMargin:
    case PM_MenuBarItemSpacing:
    case PM_MenuBarPanelWidth:
    case PM_MenuBarHMargin:
        return 0;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

int CMenuXPStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                            QStyleHintReturn* returnData) const {
    if (!UsesLook(widget))
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    switch (hint) {
    case SH_Menu_AllowActiveAndDisabled:
    case SH_MenuBar_MouseTracking:
    case SH_Menu_MouseTracking:
        return 1;
    case SH_Menu_FlashTriggeredItem:
    case SH_Menu_Mask:
        return 0;
    default:
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
}

QSize CMenuXPStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                     const QWidget* widget) const {
    if (!UsesLook(widget))
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (type == CT_MenuItem && item) {
        const auto* menu = qobject_cast<const QMenu*>(widget);
        if (!menu)
            return QProxyStyle::sizeFromContents(type, option, size, widget);
        if (item->menuItemType == QStyleOptionMenuItem::Separator) {
            const ItemSize separator = MeasureMenuItem(SeparatorItemData(*menu));
            return QSize(separator.width, separator.height);
        }
        // The menu adds the widest shortcut to the widest item on its own; take it out again so the
        // menu comes out label + shortcut + 42 wide.
        const QFontMetrics metrics(menu->font());
        int toolkitShortcut = 0;
        for (const QAction* action : menu->actions()) {
            if (!action->isSeparator() && action->isVisible())
                toolkitShortcut = std::max(toolkitShortcut, metrics.horizontalAdvance(ShortcutText(*action)));
        }
        const ItemSize measured = MeasureMenuItem(PopupItemData(*menu));
        return QSize(measured.width - toolkitShortcut, measured.height);
    }
    if (type == CT_MenuBarItem && item) {
        const QSize base = QProxyStyle::sizeFromContents(type, option, size, widget);
        const int textWidth =
            item->fontMetrics.size(Qt::TextShowMnemonic | Qt::TextSingleLine, item->text).width();
        return QSize(MeasureMenuItem(PackMenuBarItemData(textWidth)).width + kMenuBarItemPadding,
                     base.height());
    }
    return QProxyStyle::sizeFromContents(type, option, size, widget);
}

void CMenuXPStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                 const QWidget* widget) const {
    if (!UsesLook(widget)) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    const bool menu = qobject_cast<const QMenu*>(widget) != nullptr;
    if (element == PE_PanelMenu && menu) {
        DrawMenuFrame(option, painter, widget);
        return;
    }
    if (element == PE_FrameMenu && menu)
        return; // drawn with the panel, which knows where the shadow goes
    if (element == PE_PanelMenuBar) {
        painter->fillRect(option->rect, ToQColor(ButtonFace()));
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void CMenuXPStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                               const QWidget* widget) const {
    if (!UsesLook(widget)) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    const bool menu = qobject_cast<const QMenu*>(widget) != nullptr;
    switch (element) {
    case CE_MenuItem:
        if (menu && qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
            DrawPopupItem(option, painter, widget);
            return;
        }
        break;
    case CE_MenuEmptyArea:
        if (menu)
            return; // the panel already holds the background
        break;
    case CE_MenuBarItem:
        if (qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
            DrawMenuBarItem(option, painter, widget);
            return;
        }
        break;
    case CE_MenuBarEmptyArea:
        painter->fillRect(option->rect, ToQColor(ButtonFace()));
        return;
    default:
        break;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void CMenuXPStyle::DrawMenuFrame(const QStyleOption* option, QPainter* painter, const QWidget* widget) const {
    const QRect all = option->rect;
    const int shadow = DrawsMenuShadow() ? kMenuShadowSize : 0;
    const QRect frame(all.left(), all.top(), all.width() - shadow, all.height() - shadow);
    const MenuColors colors = Colors();
    painter->save();
    if (shadow > 0) {
        // Each shadow pixel darkens what lies behind the menu to factor percent: black with the
        // rest as its opacity.
        painter->setCompositionMode(QPainter::CompositionMode_Source);
        painter->fillRect(QRect(frame.right() + 1, all.top(), shadow, all.height()), Qt::transparent);
        painter->fillRect(QRect(all.left(), frame.bottom() + 1, all.width(), shadow), Qt::transparent);
        for (const ShadowPixel& pixel : MenuShadowPixels(all.width(), all.height())) {
            painter->fillRect(QRect(all.left() + pixel.x, all.top() + pixel.y, 1, 1),
                              QColor(0, 0, 0, 255 * (100 - pixel.factor) / 100));
        }
        painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    FrameRect(painter, frame, option->palette.color(QPalette::Shadow));
    FrameRect(painter, frame.adjusted(1, 1, -1, -1), ToQColor(colors.background));
    FrameRect(painter, frame.adjusted(2, 2, -2, -2), ToQColor(colors.background));
    painter->fillRect(frame.adjusted(3, 3, -3, -3), ToQColor(colors.background));
    const QRect join = widget ? widget->property(kJoinLineProperty).toRect() : QRect();
    if (join.isValid())
        painter->fillRect(join, ToQColor(colors.strip));
    painter->restore();
}

void CMenuXPStyle::DrawPopupItem(const QStyleOption* option, QPainter* painter, const QWidget* widget) const {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    const QRect r = item->rect;
    const bool selected = (item->state & State_Selected) != 0;
    const bool disabled = (item->state & State_Enabled) == 0;
    const bool separator = item->menuItemType == QStyleOptionMenuItem::Separator;
    const bool checked = item->checkType != QStyleOptionMenuItem::NotCheckable && item->checked;
    const bool radio = item->checkType == QStyleOptionMenuItem::Exclusive;
    const MenuColors colors = Colors();
    const MenuSettings& settings = Settings();
    const bool deep = painter->device()->depth() > 8;
    const QColor highlight = ToQColor(Highlight());

    painter->save();
    if (selected && !separator) {
        if (settings.showGradient && settings.showGradientSel && deep) {
            FillBands(painter, r, disabled ? colors.disabledSelection : settings.gradientStart,
                      settings.gradientEnd);
        } else {
            painter->fillRect(r, ToQColor(disabled ? colors.disabledSelection : colors.selection));
        }
        FrameRect(painter, r, highlight);
    } else if (settings.showGradient && deep) {
        const int stripWidth = std::min(settings.gradientWidth, r.width());
        FillBands(painter, QRect(r.left(), r.top(), stripWidth, r.height()), settings.gradientStart,
                  settings.gradientEnd);
        painter->fillRect(QRect(r.left() + stripWidth, r.top(), r.width() - stripWidth, r.height()),
                          ToQColor(settings.gradientEnd));
    } else {
        const int stripWidth = std::min(kStripWidth, r.width());
        painter->fillRect(QRect(r.left(), r.top(), stripWidth, r.height()), ToQColor(colors.strip));
        painter->fillRect(QRect(r.left() + stripWidth, r.top(), r.width() - stripWidth, r.height()),
                          ToQColor(colors.background));
    }

    if (separator) {
        const int y = r.top() + r.height() / 2;
        if (r.right() - 1 >= r.left() + kLabelLeft)
            painter->fillRect(QRect(r.left() + kLabelLeft, y, r.right() - 1 - r.left() - kLabelLeft, 1),
                              ToQColor(colors.separator));
        painter->restore();
        return;
    }

    const QColor text = disabled ? ToQColor(colors.separator) : item->palette.color(QPalette::WindowText);
    if (checked) {
        const QRect box(r.left() + 1, r.top() + 1, 19, r.height() - 2);
        painter->fillRect(box, ToQColor(disabled   ? colors.disabledSelection
                                        : selected ? colors.checkSelected
                                                   : colors.selection));
        FrameRect(painter, box, highlight);
    }
    if (!item->icon.isNull()) {
        const int d = selected && !checked ? 2 : 3;
        const QPoint at(r.left() + d, r.top() + d);
        const QSize size(kImageSize, kImageSize);
        const qreal ratio = painter->device()->devicePixelRatio();
        if (disabled || (selected && !checked))
            painter->drawPixmap(at, item->icon.pixmap(size, ratio, QIcon::Disabled));
        if (!disabled)
            painter->drawPixmap(at, item->icon.pixmap(size, ratio, QIcon::Normal));
    } else if (checked && radio) {
        const QPoint centre(r.left() + 12, r.top() + r.height() / 2);
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(disabled ? ToQColor(colors.disabledBullet)
                                   : item->palette.color(QPalette::WindowText));
        painter->drawEllipse(QRect(centre.x() - 4, centre.y() - 3, 6, 6));
        painter->setRenderHint(QPainter::Antialiasing, false);
    } else if (checked) {
        // The check mark: a tick three pixels thick in a 13-pixel cell.
        const QPoint at(r.left() + 5, r.top() + 3);
        for (int row = 0; row < 3; ++row) {
            for (int x = 0; x < 7; ++x) {
                const int y = x <= 2 ? x + 2 : 6 - x;
                painter->fillRect(QRect(at.x() + 3 + x, at.y() + 3 + y + row, 1, 1), text);
            }
        }
    }

    QFont font = item->font;
    if (item->menuItemType == QStyleOptionMenuItem::DefaultItem)
        font.setBold(true);
    painter->setFont(font);
    painter->setPen(text);
    const int mnemonic =
        styleHint(SH_UnderlineShortcut, item, widget) ? Qt::TextShowMnemonic : Qt::TextHideMnemonic;
    const QString label = LabelOf(item->text);
    const QString shortcut = ShortcutOf(item->text);
    if (!label.isEmpty()) {
        painter->drawText(QRect(r.left() + kLabelLeft, r.top(), r.width() - kLabelLeft, r.height()),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | mnemonic, label);
    }
    if (!shortcut.isEmpty()) {
        painter->drawText(QRect(r.left(), r.top(), r.width() - kShortcutInset, r.height()),
                          Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic,
                          shortcut);
    }
    if (item->menuItemType == QStyleOptionMenuItem::SubMenu) {
        // A small arrow in the space right of the shortcut.
        const int x = r.right() - 8;
        const int y = r.top() + r.height() / 2;
        for (int column = 0; column < 4; ++column)
            painter->fillRect(QRect(x + column, y - 3 + column, 1, 7 - 2 * column), text);
    }
    painter->restore();
}

void CMenuXPStyle::DrawMenuBarItem(const QStyleOption* option, QPainter* painter,
                                   const QWidget* widget) const {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    const QRect r = item->rect;
    const bool open = (item->state & State_Sunken) != 0;
    const bool hot = (item->state & State_Selected) != 0;
    const bool disabled = (item->state & State_Enabled) == 0;
    const bool inactive = widget && !widget->isActiveWindow();
    const MenuColors colors = Colors();
    const ColorRef buttonFace = ButtonFace();
    const QRect inner(r.left(), r.top(), std::max(0, r.width() - kMenuBarShadow), r.height());
    const QRect strip(inner.right() + 1, r.top(), r.width() - inner.width(), r.height());

    painter->save();
    if (open) {
        painter->fillRect(inner, ToQColor(colors.strip));
        FrameRect(painter, inner, item->palette.color(QPalette::Shadow));
        painter->fillRect(strip, ToQColor(buttonFace));
        for (const ShadowPixel& pixel : OpenItemShadowPixels(strip.width(), strip.height())) {
            painter->fillRect(QRect(strip.left() + pixel.x, strip.top() + pixel.y, 1, 1),
                              ToQColor(DarkenColor(buttonFace, pixel.factor)));
        }
    } else if (hot && !inactive) {
        painter->fillRect(inner, ToQColor(disabled ? colors.disabledSelection : colors.selection));
        FrameRect(painter, inner, ToQColor(Highlight()));
        painter->fillRect(strip, ToQColor(buttonFace));
    } else {
        painter->fillRect(r, ToQColor(buttonFace));
    }
    const QColor text = inactive   ? item->palette.color(QPalette::Dark)
                        : disabled ? ToQColor(colors.separator)
                                   : item->palette.color(QPalette::WindowText);
    painter->setPen(text);
    painter->setFont(item->font);
    const int mnemonic =
        styleHint(SH_UnderlineShortcut, item, widget) ? Qt::TextShowMnemonic : Qt::TextHideMnemonic;
    painter->drawText(inner, Qt::AlignCenter | Qt::TextSingleLine | mnemonic, item->text);
    painter->restore();
}

bool CMenuXPStyle::eventFilter(QObject* watched, QEvent* event) {
    if (auto* menu = qobject_cast<QMenu*>(watched)) {
        switch (event->type()) {
        case QEvent::Show:
            OnMenuShown(menu);
            break;
        case QEvent::Hide:
            menu->setProperty(kJoinLineProperty, QVariant());
            break;
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if ((key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) == 0 &&
                key->text().size() == 1 && key->text().at(0).isPrint() && !key->text().at(0).isSpace())
                return OnMenuKey(menu, key->text());
            break;
        }
        default:
            break;
        }
    }
    return QProxyStyle::eventFilter(watched, event);
}

void CMenuXPStyle::OnMenuShown(QMenu* menu) {
    menu->setProperty(kJoinLineProperty, QVariant());
    // A drop-down of the menu bar sits one pixel higher, so that its top line and the bottom line
    // of the open menu-bar item are one.
    for (QObject* owner : menu->menuAction()->associatedObjects()) {
        auto* bar = qobject_cast<QMenuBar*>(owner);
        if (!bar || bar->activeAction() != menu->menuAction())
            continue;
        const QRect local = bar->actionGeometry(menu->menuAction());
        const QRect item(bar->mapToGlobal(local.topLeft()), local.size());
        const QRect shown = menu->geometry();
        if (shown.top() != item.bottom() + 1)
            continue;
        menu->move(shown.left(), shown.top() - 1);
        // The line runs inside the open item's frame, on the menu's top row.
        const int left = item.left() + 1 - shown.left();
        const int right = item.left() + item.width() - kMenuBarShadow - 2 - shown.left();
        if (right >= left)
            menu->setProperty(kJoinLineProperty, QRect(left, 0, right - left + 1, 1));
        return;
    }
}

bool CMenuXPStyle::OnMenuKey(QMenu* menu, const QString& text) {
    std::vector<std::u32string> labels;
    std::vector<QAction*> items;
    for (QAction* action : menu->actions()) {
        if (!action->isVisible())
            continue;
        items.push_back(action);
        labels.push_back(action->isSeparator() ? std::u32string()
                                               : LabelOf(action->text()).toUpper().toStdU32String());
    }
    const std::u32string wanted = text.toUpper().toStdU32String();
    const int found = wanted.size() == 1 ? MatchMenuChar(labels, wanted.front()) : -1;
    if (found < 0)
        return true; // not a mnemonic of this menu: the menu stays open as it is
    QAction* action = items[static_cast<std::size_t>(found)];
    menu->setActiveAction(action);
    if (action->isEnabled()) {
        // Enter carries out the item (or opens its submenu) the way the menu does for a click.
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(menu, &enter);
    }
    return true;
}

namespace {
int hookCount = 0;
QString plainStyleName;
} // namespace

void InstallMenuHook(const Profile& profile) {
    if (hookCount++ > 0)
        return;
    plainStyleName = StyleName(QApplication::style());
    QApplication::setStyle(new CMenuXPStyle(profile));
}

void RemoveMenuHook() {
    if (hookCount == 0 || --hookCount > 0)
        return;
    QApplication::setStyle(PlainStyle(plainStyleName));
}

void EnableMenuLook(QWidget* window, bool on) {
    if (window)
        window->setProperty(kMenuLookProperty, on ? 1 : QVariant());
}

bool HasMenuLook(const QWidget* window) {
    return window && window->property(kMenuLookProperty).toInt() == 1;
}

} // namespace tessaly
