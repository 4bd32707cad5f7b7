#pragma once

#include <QColor>
#include <QPixmap>
#include <QToolBar>

#include <array>
#include <vector>

class QMenu;
class QToolButton;

namespace tessaly {

// A button's label from its command string: the part after the last line feed ("Create a new
// security\nNew" gives "New"), the whole string when it has none.
QString ToolBarLabel(const QString& commandString);

// The program's dockable toolbar: flat buttons with labels under large images, separate normal,
// hot and disabled images, drop-down arrows, and a double-bar gripper while it is docked.
class COOExToolBar : public QToolBar {
    Q_OBJECT
public:
    enum ImageList { HotLarge = 0, NormalLarge, DisabledLarge, HotSmall, NormalSmall, DisabledSmall };
    static constexpr QSize kSmallImageSize{16, 16};
    static constexpr QSize kLargeImageSize{34, 32};
    // Distance of the gripper from the bar's edges, thickness of a bar, distance between the bars.
    static constexpr int kGripperInset = 3;
    static constexpr int kGripperBar = 3;
    static constexpr int kGripperStep = 5;

    explicit COOExToolBar(const QString& title, QWidget* parent = nullptr);

    // One button: its action and command string, or a separator when the action is null.
    struct Button {
        QAction* action = nullptr;
        QString commandString;
    };
    // Adds the buttons in order, each labelled from its command string (empty labels are not set).
    void LoadToolBar(const std::vector<Button>& buttons);
    // Images for the buttons in order (separators not counted) for one of the six lists.
    void SetImageList(ImageList list, std::vector<QPixmap> images);
    // Gives the button of `action` a drop-down arrow that opens `menu` below it.
    void AddDropDown(QAction* action, QMenu* menu);

    void SetSizeMode(int mode); // 0 small images, 1 large images
    int SizeMode() const { return sizeMode_; }
    void SetShowText(bool show);
    bool ShowText() const { return showText_; }

    QSize ImageSize() const { return sizeMode_ == 0 ? kSmallImageSize : kLargeImageSize; }
    // The size of a button without a drop-down arrow.
    QSize ButtonSize() const;
    int WidestTextButton() const { return widestTextButton_; }
    int TextHeight() const { return textHeight_; }
    int DropDownArrowWidth() const { return dropDownArrowWidth_; }
    // Whether the gripper is shown: only while the bar is docked.
    bool HasGripper() const;
    QToolButton* ButtonFor(QAction* action) const;

    // Measures the labels and sets every button's size.
    void ApplySizes();
    // ApplySizes, and a floating bar is made 450 pixels wide and one button high.
    void ResizeBar();

protected:
    void actionEvent(QActionEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void RefreshImages();
    QIcon ButtonIcon(QAction* action, int index) const;
    void DrawGripper(QPainter& painter) const;

    int sizeMode_ = 1;
    bool showText_ = true;
    int widestTextButton_ = 0;
    int textHeight_ = 0;
    int dropDownArrowWidth_ = 0;
    std::array<std::vector<QPixmap>, 6> images_;
    std::vector<QAction*> dropDowns_;
};

// The toolbar with its image lists built from bitmap strips: one image per button side by side,
// the mask colour transparent. Lists without a strip take the images of the actions' icons.
class COOBmpToolBar : public COOExToolBar {
    Q_OBJECT
public:
    using COOExToolBar::COOExToolBar;

    // Remembers the strip for the large hot (0), normal (1) or disabled (2) list.
    void SetImageBitmap(const QString& fileName, int list, const QColor& mask);
    // Loads each remembered strip into its list; a strip that cannot be read leaves its list empty.
    void BuildImageLists();

private:
    struct Bitmap {
        QString fileName;
        QColor mask;
    };
    std::array<Bitmap, 3> bitmaps_;
};

} // namespace tessaly
