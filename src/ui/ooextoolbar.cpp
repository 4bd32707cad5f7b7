#include "ui/ooextoolbar.h"

#include <QActionEvent>
#include <QApplication>
#include <QImage>
#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QToolButton>

#include <algorithm>

namespace tessaly {

namespace {

// Gives the toolbar's gripper its room while docked and none while floating; the toolbar paints
// the gripper itself.
class CExToolBarStyle final : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
        if (metric == PM_ToolBarHandleExtent) {
            if (const auto* bar = qobject_cast<const COOExToolBar*>(widget))
                return bar->HasGripper() ? COOExToolBar::kGripperInset + COOExToolBar::kGripperStep +
                                               COOExToolBar::kGripperBar
                                         : 0;
        }
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element == PE_IndicatorToolBarHandle && qobject_cast<const COOExToolBar*>(widget))
            return;
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
};

QStyle* BaseStyle() {
    QStyle* plain = QApplication::style();
    while (auto* proxy = qobject_cast<QProxyStyle*>(plain))
        plain = proxy->baseStyle();
    const QString name = plain ? plain->name() : QString();
    QStyle* style = name.isEmpty() ? nullptr : QStyleFactory::create(name);
    return style ? style : QStyleFactory::create(QStringLiteral("Fusion"));
}

// A raised frame one pixel wide: light at the top and left, shadow at the bottom and right.
void Draw3dRect(QPainter& painter, const QRect& rect, const QColor& light, const QColor& shadow) {
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), light);
    painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), light);
    painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), shadow);
    painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), shadow);
}

} // namespace

QString ToolBarLabel(const QString& commandString) {
    const qsizetype lineFeed = commandString.lastIndexOf(u'\n');
    return lineFeed < 0 ? commandString : commandString.mid(lineFeed + 1);
}

COOExToolBar::COOExToolBar(const QString& title, QWidget* parent)
    : QToolBar(title, parent) {
    auto* style = new CExToolBarStyle(BaseStyle());
    style->setParent(this);
    setStyle(style);
    setMovable(true);
    setFloatable(true);
    setAllowedAreas(Qt::AllToolBarAreas);
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setIconSize(ImageSize());
    connect(this, &QToolBar::topLevelChanged, this, [this] {
        // The gripper's room comes and goes with docking.
        if (layout())
            layout()->invalidate();
        updateGeometry();
        update();
    });
}

void COOExToolBar::LoadToolBar(const std::vector<Button>& buttons) {
    for (const Button& button : buttons) {
        if (!button.action) {
            addSeparator();
            continue;
        }
        const QString label = ToolBarLabel(button.commandString);
        if (!label.isEmpty())
            button.action->setIconText(label);
        addAction(button.action);
    }
    ResizeBar();
}

void COOExToolBar::SetImageList(ImageList list, std::vector<QPixmap> images) {
    images_[static_cast<std::size_t>(list)] = std::move(images);
    RefreshImages();
}

void COOExToolBar::AddDropDown(QAction* action, QMenu* menu) {
    QToolButton* button = ButtonFor(action);
    if (!button)
        return;
    button->setMenu(menu);
    button->setPopupMode(QToolButton::MenuButtonPopup);
    if (std::find(dropDowns_.begin(), dropDowns_.end(), action) == dropDowns_.end())
        dropDowns_.push_back(action);
    ApplySizes();
}

void COOExToolBar::SetSizeMode(int mode) {
    sizeMode_ = mode == 0 ? 0 : 1;
    setIconSize(ImageSize());
    RefreshImages();
    ResizeBar();
}

void COOExToolBar::SetShowText(bool show) {
    showText_ = show;
    setToolButtonStyle(show ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
    ResizeBar();
}

QSize COOExToolBar::ButtonSize() const {
    const QSize image = ImageSize();
    return QSize(std::max(image.width() + 8, widestTextButton_), image.height() + 7 + textHeight_);
}

bool COOExToolBar::HasGripper() const {
    return isMovable() && !isFloating() && qobject_cast<QMainWindow*>(parentWidget()) != nullptr;
}

QToolButton* COOExToolBar::ButtonFor(QAction* action) const {
    return action ? qobject_cast<QToolButton*>(widgetForAction(action)) : nullptr;
}

void COOExToolBar::ApplySizes() {
    const QFontMetrics metrics = fontMetrics();
    widestTextButton_ = 0;
    textHeight_ = 0;
    if (showText_) {
        for (QAction* action : actions()) {
            if (action->isSeparator() || !ButtonFor(action) || action->iconText().isEmpty())
                continue;
            const int textWidth = metrics.horizontalAdvance(action->iconText());
            widestTextButton_ = std::max(widestTextButton_, std::max(ImageSize().width(), textWidth) + 8);
            textHeight_ = metrics.height();
        }
    }
    const QSize size = ButtonSize();
    dropDownArrowWidth_ = 0;
    for (QAction* action : actions()) {
        QToolButton* button = ButtonFor(action);
        if (!button)
            continue;
        QSize buttonSize = size;
        if (button->popupMode() == QToolButton::MenuButtonPopup) {
            dropDownArrowWidth_ = style()->pixelMetric(QStyle::PM_MenuButtonIndicator, nullptr, button);
            buttonSize.rwidth() += dropDownArrowWidth_;
        }
        if (button->size() != buttonSize || button->minimumSize() != buttonSize)
            button->setFixedSize(buttonSize);
    }
}

void COOExToolBar::ResizeBar() {
    ApplySizes();
    if (isWindow())
        resize(450, ButtonSize().height() + 2 * style()->pixelMetric(QStyle::PM_ToolBarFrameWidth));
}

QIcon COOExToolBar::ButtonIcon(QAction* action, int index) const {
    const std::size_t first = sizeMode_ == 0 ? HotSmall : HotLarge;
    const std::pair<std::size_t, QIcon::Mode> sets[] = {
        {first + 1, QIcon::Normal}, {first, QIcon::Active}, {first + 2, QIcon::Disabled}};
    QIcon icon;
    for (const auto& [list, mode] : sets) {
        const std::vector<QPixmap>& images = images_[list];
        const QPixmap pixmap = static_cast<std::size_t>(index) < images.size() && !images[index].isNull()
                                   ? images[index]
                                   : action->icon().pixmap(ImageSize(), mode);
        if (!pixmap.isNull())
            icon.addPixmap(pixmap, mode);
    }
    return icon;
}

void COOExToolBar::RefreshImages() {
    int index = 0;
    for (QAction* action : actions()) {
        if (action->isSeparator())
            continue;
        if (QToolButton* button = ButtonFor(action))
            button->setIcon(ButtonIcon(action, index));
        ++index;
    }
}

void COOExToolBar::actionEvent(QActionEvent* event) {
    QToolBar::actionEvent(event);
    QAction* action = event->action();
    if (event->type() == QEvent::ActionAdded) {
        // The button takes the action's icon again whenever the action changes; give it its own
        // image set back afterwards.
        connect(action, &QAction::changed, this, [this] {
            RefreshImages();
            ApplySizes();
        });
        // The buttons carry no tool tips; the status bar shows the command's prompt instead.
        if (QToolButton* button = ButtonFor(action))
            button->installEventFilter(this);
    } else if (event->type() == QEvent::ActionRemoved) {
        disconnect(action, nullptr, this, nullptr);
        std::erase(dropDowns_, action);
    } else {
        return;
    }
    RefreshImages();
    ApplySizes();
}

bool COOExToolBar::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip && qobject_cast<QToolButton*>(watched))
        return true;
    return QToolBar::eventFilter(watched, event);
}

void COOExToolBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    if (isWindow())
        Draw3dRect(painter, rect(), palette().color(QPalette::Light), palette().color(QPalette::Shadow));
    if (HasGripper())
        DrawGripper(painter);
}

void COOExToolBar::DrawGripper(QPainter& painter) const {
    const QRect inside = rect().adjusted(kGripperInset, kGripperInset, -kGripperInset, -kGripperInset);
    const QColor light = palette().color(QPalette::Light);
    const QColor shadow = palette().color(QPalette::Dark);
    for (int bar = 0; bar < 2; ++bar) {
        const QRect rect =
            orientation() == Qt::Horizontal
                ? QRect(inside.left() + bar * kGripperStep, inside.top(), kGripperBar, inside.height())
                : QRect(inside.left(), inside.top() + bar * kGripperStep, inside.width(), kGripperBar);
        Draw3dRect(painter, rect, light, shadow);
    }
}

void COOExToolBar::mouseDoubleClickEvent(QMouseEvent* event) {
    auto* window = qobject_cast<QMainWindow*>(parentWidget());
    if (isFloating() && window) {
        // A floating bar has no gripper to drag it by: a double click docks it again.
        window->addToolBar(Qt::TopToolBarArea, this);
        show();
        return;
    }
    QToolBar::mouseDoubleClickEvent(event);
}

void COOBmpToolBar::SetImageBitmap(const QString& fileName, int list, const QColor& mask) {
    if (list < 0 || list > 2)
        return;
    bitmaps_[static_cast<std::size_t>(list)] = {fileName, mask};
}

void COOBmpToolBar::BuildImageLists() {
    const QSize cell = kLargeImageSize;
    for (std::size_t list = 0; list < bitmaps_.size(); ++list) {
        const Bitmap& bitmap = bitmaps_[list];
        if (bitmap.fileName.isEmpty())
            continue;
        QImage strip = QImage(bitmap.fileName).convertToFormat(QImage::Format_ARGB32);
        std::vector<QPixmap> images;
        if (!strip.isNull()) {
            const QRgb mask = bitmap.mask.rgb() & 0xFFFFFF;
            for (int y = 0; y < strip.height(); ++y) {
                auto* line = reinterpret_cast<QRgb*>(strip.scanLine(y));
                for (int x = 0; x < strip.width(); ++x) {
                    if ((line[x] & 0xFFFFFF) == mask)
                        line[x] = 0;
                }
            }
            for (int x = 0; x + cell.width() <= strip.width(); x += cell.width())
                images.push_back(QPixmap::fromImage(
                    strip.copy(x, 0, cell.width(), std::min(cell.height(), strip.height()))));
        }
        SetImageList(static_cast<ImageList>(list), std::move(images));
    }
}

} // namespace tessaly
