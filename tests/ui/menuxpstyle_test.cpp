#include "engine/memoryprofile.h"
#include "ui/draw.h"
#include "ui/menuxpstyle.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace tessaly;

namespace {

QColor ToQColor(ColorRef color) {
    return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

// A palette colour as an image pixel reads back.
QColor Role(QPalette::ColorRole role) {
    return QColor::fromRgba(QApplication::palette().color(role).rgba());
}

QIcon SolidIcon(const QColor& color) {
    QPixmap pixmap(16, 16);
    pixmap.fill(color);
    return QIcon(pixmap);
}

// A menu with the look, opened at a fixed place, and its picture.
struct OpenMenu {
    explicit OpenMenu(const Profile& profile)
        : style(std::make_unique<CMenuXPStyle>(profile))
        , menu(&owner) {
        EnableMenuLook(&owner);
        menu.setStyle(style.get());
    }
    ~OpenMenu() {
        menu.hide();
        menu.setStyle(nullptr);
    }
    QImage Show() {
        menu.popup(QPoint(20, 20));
        if (!QTest::qWaitForWindowExposed(&menu))
            return {};
        return menu.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    }
    std::unique_ptr<CMenuXPStyle> style;
    QWidget owner;
    QMenu menu;
};

QString Artifact(const QString& name) {
    QDir().mkpath(QStringLiteral(TESSALY_ARTIFACTS_DIR));
    return QStringLiteral(TESSALY_ARTIFACTS_DIR "/") + name;
}

} // namespace

class MenuXPStyleTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void StripFollowsTheSettings_data() {
        QTest::addColumn<int>("showGradient");
        QTest::addColumn<int>("gradientStart");
        QTest::addColumn<bool>("gradient");
        QTest::newRow("no settings") << -2 << -2 << true;
        QTest::newRow("ShowGradient 0") << 0 << -2 << false;
        QTest::newRow("GradientStart -1") << -2 << -1 << true;
    }
    void StripFollowsTheSettings() {
        QFETCH(int, showGradient);
        QFETCH(int, gradientStart);
        QFETCH(bool, gradient);
        MemoryProfile profile;
        if (showGradient != -2)
            profile.WriteInt("MenuXP", "ShowGradient", showGradient);
        if (gradientStart != -2)
            profile.WriteInt("MenuXP", "GradientStart", gradientStart);
        OpenMenu open(profile);
        QAction* first = open.menu.addAction(QStringLiteral("&Download "));
        open.menu.addAction(QStringLiteral("&Convert to ASCII"));
        const QImage image = open.Show();
        QVERIFY(!image.isNull());
        const ColorRef face = open.style->ButtonFace();
        const QRect r = open.menu.actionGeometry(first);
        const int y = r.center().y();
        if (gradient) {
            const ColorRef start = gradientStart == -1 ? AdjustColor(face, 20, 0) : 0xE4C4B4;
            const std::vector<GradientBand> bands = GradientBands(r.left(), 30, start, 0xFFFFFF);
            QVERIFY(!bands.empty());
            for (const GradientBand& band : bands) {
                for (int x = band.left; x < band.right; ++x)
                    QCOMPARE(image.pixelColor(x, y), ToQColor(band.color));
            }
            // The strip starts within a few steps of its first colour and ends near white.
            const QColor left = image.pixelColor(r.left(), y);
            const QColor wanted = ToQColor(start);
            QVERIFY(std::abs(left.red() - wanted.red()) <= 3 && std::abs(left.blue() - wanted.blue()) <= 3);
            QCOMPARE(image.pixelColor(r.left() + 30, y), QColor(Qt::white));
            QCOMPARE(image.pixelColor(r.right(), y), QColor(Qt::white));
        } else {
            QCOMPARE(image.pixelColor(r.left(), y), ToQColor(AdjustColor(face, 20, 0)));
            QCOMPARE(image.pixelColor(r.left() + 21, y), ToQColor(AdjustColor(face, 20, 0)));
            QCOMPARE(image.pixelColor(r.left() + 22, y), ToQColor(AdjustColor(face, 75, 0)));
            QCOMPARE(image.pixelColor(r.right(), y), ToQColor(AdjustColor(face, 75, 0)));
        }
    }

    void SelectedItemIsAFramedBoxWithoutGradient() {
        MemoryProfile profile;
        profile.WriteInt("MenuXP", "ShowGradient", 0);
        OpenMenu open(profile);
        open.menu.addAction(QStringLiteral("&One"));
        QAction* second = open.menu.addAction(QStringLiteral("&Two"));
        open.menu.setActiveAction(second);
        const QImage image = open.Show();
        const QRect r = open.menu.actionGeometry(second);
        const QColor highlight = Role(QPalette::Highlight);
        QCOMPARE(image.pixelColor(r.left(), r.center().y()), highlight);
        QCOMPARE(image.pixelColor(r.center().x(), r.top()), highlight);
        QCOMPARE(image.pixelColor(r.left() + 5, r.top() + 3),
                 ToQColor(AdjustColor(open.style->Highlight(), 70, -57)));
    }

    void FrameShadowAndWidth() {
        MemoryProfile profile;
        OpenMenu open(profile);
        open.menu.addAction(QStringLiteral("&Open"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
        open.menu.addSeparator();
        open.menu.addAction(QStringLiteral("&Properties of the security"));
        const QImage image = open.Show();
        const int width = image.width();
        const int height = image.height();
        const QFontMetrics metrics(open.menu.font());
        const int label = metrics.horizontalAdvance(QStringLiteral("Properties of the security"));
        const int shortcut =
            metrics.horizontalAdvance(QKeySequence(Qt::CTRL | Qt::Key_O).toString(QKeySequence::NativeText));
        // Label + shortcut + 42, the three-line border on each side and the shadow.
        QCOMPARE(width, label + shortcut + 42 + 2 * 3 + kMenuShadowSize);
        QCOMPARE(open.menu.actionGeometry(open.menu.actions().at(0)).height(),
                 MenuMetricsFor(metrics.height()).itemHeight);
        QCOMPARE(open.menu.actionGeometry(open.menu.actions().at(1)).height(),
                 MenuMetricsFor(metrics.height()).separatorHeight);
        const QColor outer = Role(QPalette::Shadow);
        QCOMPARE(image.pixelColor(0, 0), outer);
        QCOMPARE(image.pixelColor(width - 5, height / 2), outer);
        QCOMPARE(image.pixelColor(1, height / 2), ToQColor(AdjustColor(open.style->ButtonFace(), 75, 0)));
        // The shadow: black at 7 % on the outer column, 22 % on the inner one, nothing at the corners.
        QCOMPARE(image.pixelColor(width - 1, height / 2).alpha(), 255 * 7 / 100);
        QCOMPARE(image.pixelColor(width - 4, height / 2).alpha(), 255 * 22 / 100);
        QCOMPARE(image.pixelColor(width / 2, height - 4).alpha(), 255 * 22 / 100);
        for (const QPoint corner : {QPoint(width - 1, 0), QPoint(width - 1, 3), QPoint(width - 1, height - 1),
                                    QPoint(0, height - 1), QPoint(3, height - 1)})
            QCOMPARE(image.pixelColor(corner).alpha(), 0);
        QVERIFY(image.save(Artifact(QStringLiteral("menu-shadow.png"))));
    }

    void DefaultItemIsMeasuredAndDrawnInBold() {
        MemoryProfile profile;
        OpenMenu open(profile);
        QAction* chosen = open.menu.addAction(QStringLiteral("&Wide default item"));
        open.menu.addAction(QStringLiteral("&Other"));
        open.menu.setDefaultAction(chosen);
        const QImage image = open.Show();
        QFont bold = open.menu.font();
        bold.setBold(true);
        const int label = QFontMetrics(bold).horizontalAdvance(QStringLiteral("Wide default item"));
        QVERIFY(label >
                QFontMetrics(open.menu.font()).horizontalAdvance(QStringLiteral("Wide default item")));
        QCOMPARE(image.width(), label + 42 + 2 * 3 + kMenuShadowSize);
    }

    void DisabledItemShowsTheSecondImage() {
        MemoryProfile profile;
        OpenMenu open(profile);
        const QIcon icon = SolidIcon(QColor(200, 0, 0));
        QAction* enabled = open.menu.addAction(icon, QStringLiteral("&Enabled"));
        QAction* disabled = open.menu.addAction(icon, QStringLiteral("&Disabled"));
        disabled->setEnabled(false);
        const QImage image = open.Show();
        const QRect on = open.menu.actionGeometry(enabled);
        const QRect off = open.menu.actionGeometry(disabled);
        QCOMPARE(image.pixelColor(on.left() + 3 + 8, on.top() + 3 + 8), QColor(200, 0, 0));
        const QImage second = icon.pixmap(QSize(16, 16), QIcon::Disabled).toImage();
        QCOMPARE(image.pixelColor(off.left() + 3 + 8, off.top() + 3 + 8).rgb(),
                 second.pixelColor(8, 8).rgb());
        QVERIFY(second.pixelColor(8, 8) != QColor(200, 0, 0));
        // The disabled label is drawn in the separator colour.
        const QColor separator = ToQColor(AdjustColor(open.style->ButtonFace(), -18, 0));
        bool found = false;
        for (int x = off.left() + 30; x < off.right() && !found; ++x)
            for (int y = off.top(); y <= off.bottom() && !found; ++y)
                found = image.pixelColor(x, y) == separator;
        QVERIFY(found);
    }

    void CheckMarksAndRadioBullets() {
        MemoryProfile profile;
        OpenMenu open(profile);
        QAction* check = open.menu.addAction(QStringLiteral("&Status Bar"));
        check->setCheckable(true);
        check->setChecked(true);
        auto* group = new QActionGroup(&open.menu);
        QAction* radio = open.menu.addAction(QStringLiteral("&Reports"));
        radio->setCheckable(true);
        radio->setChecked(true);
        group->addAction(radio);
        open.menu.addAction(SolidIcon(QColor(0, 120, 0)), QStringLiteral("&Image\tCtrl+I"));
        QAction* off = open.menu.addAction(SolidIcon(QColor(0, 120, 0)), QStringLiteral("&Disabled image"));
        off->setEnabled(false);
        open.menu.setActiveAction(off);
        const QImage image = open.Show();
        QVERIFY(image.scaled(image.size() * 3).save(Artifact(QStringLiteral("menu-marks.png"))));
        const QColor highlight = Role(QPalette::Highlight);
        const QColor selection = ToQColor(AdjustColor(open.style->Highlight(), 70, -57));
        const QColor text = open.menu.palette().color(QPalette::WindowText);
        for (QAction* action : {check, radio}) {
            const QRect r = open.menu.actionGeometry(action);
            QCOMPARE(image.pixelColor(r.left() + 1, r.top() + 1), highlight);
            QCOMPARE(image.pixelColor(r.left() + 19, r.bottom() - 1), highlight);
            QCOMPARE(image.pixelColor(r.left() + 2, r.top() + 2), selection);
        }
        const QRect r = open.menu.actionGeometry(radio);
        QCOMPARE(image.pixelColor(r.left() + 11, r.top() + r.height() / 2), text);
        const QRect c = open.menu.actionGeometry(check);
        QCOMPARE(image.pixelColor(c.left() + 5 + 3 + 2, c.top() + 3 + 3 + 4 + 1), text);
    }

    void MnemonicRunsTheFirstItemAndSkipsDoubledAmpersands() {
        MemoryProfile profile;
        OpenMenu open(profile);
        QAction* download = open.menu.addAction(QStringLiteral("&Download "));
        QAction* convert = open.menu.addAction(QStringLiteral("&Convert to ASCII"));
        QAction* qa = open.menu.addAction(QStringLiteral("Q&&A"));
        QSignalSpy downloads(download, &QAction::triggered);
        QSignalSpy converts(convert, &QAction::triggered);
        QSignalSpy answers(qa, &QAction::triggered);
        open.Show();
        QTest::keyClick(&open.menu, Qt::Key_A);
        QVERIFY(open.menu.isVisible());
        QCOMPARE(answers.count(), 0);
        QTest::keyClick(&open.menu, Qt::Key_C);
        QCOMPARE(converts.count(), 1);
        QCOMPARE(downloads.count(), 0);
        QTRY_VERIFY(!open.menu.isVisible());

        // The mnemonic of a submenu item opens the submenu.
        QMenu* web = open.menu.addMenu(QStringLiteral("&Web data"));
        web->addAction(QStringLiteral("Charts"));
        open.Show();
        QTest::keyClick(&open.menu, Qt::Key_W);
        QTRY_VERIFY(web->isVisible());
        QVERIFY(open.menu.isVisible());
        web->hide();
    }

    void DropDownJoinsTheOpenMenuBarItem() {
        MemoryProfile profile;
        InstallMenuHook(profile);
        QMainWindow window;
        EnableMenuLook(&window);
        QVERIFY(HasMenuLook(&window));
        QMenu* file = window.menuBar()->addMenu(QStringLiteral("&File"));
        file->addAction(QStringLiteral("&Open"));
        QMenu* tools = window.menuBar()->addMenu(QStringLiteral("&Tools"));
        tools->addAction(QStringLiteral("&Download "));
        tools->addAction(QStringLiteral("&Convert to ASCII"));
        window.resize(400, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(qobject_cast<CMenuXPStyle*>(tools->style()));
        window.menuBar()->setActiveAction(tools->menuAction());
        QTRY_VERIFY(tools->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(tools));
        const QRect local = window.menuBar()->actionGeometry(tools->menuAction());
        const QRect item(window.menuBar()->mapToGlobal(local.topLeft()), local.size());
        QCOMPARE(tools->geometry().top(), item.bottom());
        const QImage menu = tools->grab().toImage();
        const auto* style = qobject_cast<CMenuXPStyle*>(tools->style());
        const QColor strip = ToQColor(AdjustColor(style->ButtonFace(), 20, 0));
        const int offset = item.left() - tools->geometry().left();
        QCOMPARE(menu.pixelColor(offset + 1, 0), strip);
        QCOMPARE(menu.pixelColor(offset + local.width() - 6, 0), strip);
        QCOMPARE(menu.pixelColor(offset + local.width() - 4, 0), Role(QPalette::Shadow));
        const QImage bar = window.menuBar()->grab().toImage();
        QCOMPARE(bar.pixelColor(local.left() + 1, local.top() + 1), strip);
        QCOMPARE(bar.pixelColor(local.left(), local.center().y()), Role(QPalette::Shadow));
        tools->hide();

        // A window without the look keeps the plain menus.
        QWidget plain;
        QMenu other(&plain);
        other.addAction(QStringLiteral("&Open"));
        other.popup(QPoint(10, 10));
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        QVERIFY(!other.testAttribute(Qt::WA_TranslucentBackground));
        other.hide();
        RemoveMenuHook();
        QVERIFY(!qobject_cast<CMenuXPStyle*>(QApplication::style()));
    }
};

QTEST_MAIN(MenuXPStyleTest)
#include "menuxpstyle_test.moc"
