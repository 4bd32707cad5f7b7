#include "support/tempfolder.h"
#include "ui/ooextoolbar.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMainWindow>
#include <QMenu>
#include <QPainter>
#include <QTest>
#include <QToolButton>
#include <QToolTip>

#include <memory>

using namespace tessaly;

namespace {

QColor Role(const QWidget& widget, QPalette::ColorRole role) {
    return QColor::fromRgba(widget.palette().color(role).rgba());
}

QIcon SolidIcon(const QColor& color) {
    QPixmap pixmap(34, 32);
    pixmap.fill(color);
    return QIcon(pixmap);
}

QString Artifact(const QString& name) {
    QDir().mkpath(QStringLiteral(TESSALY_ARTIFACTS_DIR));
    return QStringLiteral(TESSALY_ARTIFACTS_DIR "/") + name;
}

// The main window's six buttons, in order, with their command strings.
struct SixButtons {
    explicit SixButtons(QObject* owner) {
        const char* strings[] = {"Create a new security\nNew",
                                 "Display data for selected security\nOpen",
                                 "Display properties for the security\nProperties",
                                 "Delete selected security\nDelete",
                                 "View last download report\nReport",
                                 "Download historic security data\nDownload"};
        const QColor colors[] = {Qt::darkGreen, Qt::darkBlue,    Qt::darkCyan,
                                 Qt::darkRed,   Qt::darkMagenta, Qt::darkYellow};
        for (int i = 0; i < 6; ++i) {
            auto* action = new QAction(SolidIcon(colors[i]), QStringLiteral("&Item"), owner);
            actions.push_back(action);
            buttons.push_back({action, QString::fromUtf8(strings[i])});
            if (i == 2 || i == 3)
                buttons.push_back({nullptr, QString()});
        }
    }
    std::vector<QAction*> actions;
    std::vector<COOExToolBar::Button> buttons;
};

} // namespace

class OOExToolBarTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void LabelFromCommandString_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("label");
        QTest::newRow("prompt and short name")
            << QStringLiteral("Create a new security\nNew") << QStringLiteral("New");
        QTest::newRow("no line feed") << QStringLiteral("Download") << QStringLiteral("Download");
        QTest::newRow("two line feeds") << QStringLiteral("a\nb\nc") << QStringLiteral("c");
        QTest::newRow("empty short name") << QStringLiteral("Prompt only\n") << QString();
    }
    void LabelFromCommandString() {
        QFETCH(QString, command);
        QFETCH(QString, label);
        QCOMPARE(ToolBarLabel(command), label);
    }

    void MainWindowBarHasSixLabelledButtonsAndAGripper() {
        QMainWindow window;
        auto* bar = new COOBmpToolBar(QStringLiteral("Standard"), &window);
        window.addToolBar(Qt::TopToolBarArea, bar);
        SixButtons six(&window);
        bar->LoadToolBar(six.buttons);
        // An empty short name keeps the label the action had.
        auto* unnamed = new QAction(SolidIcon(Qt::gray), QStringLiteral("&Plain"), &window);
        bar->LoadToolBar({{unnamed, QStringLiteral("Prompt only\n")}});
        QCOMPARE(unnamed->iconText(), QStringLiteral("Plain"));
        bar->removeAction(unnamed);
        auto* newMenu = new QMenu(&window);
        newMenu->addAction(QStringLiteral("&Security"));
        newMenu->addAction(QStringLiteral("&Folder"));
        bar->AddDropDown(six.actions[0], newMenu);
        window.setCentralWidget(new QWidget(&window));
        window.resize(600, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        const QStringList labels = {QStringLiteral("New"),        QStringLiteral("Open"),
                                    QStringLiteral("Properties"), QStringLiteral("Delete"),
                                    QStringLiteral("Report"),     QStringLiteral("Download")};
        const QFontMetrics metrics = bar->fontMetrics();
        QCOMPARE(bar->TextHeight(), metrics.height());
        QVERIFY(bar->ButtonSize().width() >= 42);
        QCOMPARE(bar->ButtonSize().height(), 39 + bar->TextHeight());
        QCOMPARE(bar->WidestTextButton(),
                 std::max(34, metrics.horizontalAdvance(QStringLiteral("Properties"))) + 8);
        for (int i = 0; i < 6; ++i) {
            QToolButton* button = bar->ButtonFor(six.actions[i]);
            QVERIFY(button);
            QCOMPARE(button->text(), labels[i]);
            QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
            const int arrow = i == 0 ? bar->DropDownArrowWidth() : 0;
            QCOMPARE(button->size(), bar->ButtonSize() + QSize(arrow, 0));
        }
        QVERIFY(bar->DropDownArrowWidth() > 0);
        QCOMPARE(bar->ButtonFor(six.actions[0])->popupMode(), QToolButton::MenuButtonPopup);
        QCOMPARE(bar->ButtonFor(six.actions[0])->menu(), newMenu);

        // No tool tips: the status bar shows the prompts.
        QToolButton* open = bar->ButtonFor(six.actions[1]);
        QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), open->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(open, &help);
        QVERIFY(!QToolTip::isVisible());

        // Docked: two raised bars 3 pixels thick, 5 apart, 3 pixels in from the edges; the first
        // button starts after them.
        QVERIFY(bar->HasGripper());
        const QImage image = bar->grab().toImage();
        const int y = image.height() / 2;
        const QColor light = Role(*bar, QPalette::Light);
        const QColor dark = Role(*bar, QPalette::Dark);
        QCOMPARE(image.pixelColor(3, y), light);
        QCOMPARE(image.pixelColor(5, y), dark);
        QCOMPARE(image.pixelColor(8, y), light);
        QCOMPARE(image.pixelColor(10, y), dark);
        QCOMPARE(image.pixelColor(4, 3), light);
        QCOMPARE(image.pixelColor(4, image.height() - 4), dark);
        QCOMPARE(image.pixelColor(4, 2), Role(*bar, QPalette::Button));
        QVERIFY(bar->ButtonFor(six.actions[0])->x() >= 11);
        QVERIFY(image.save(Artifact(QStringLiteral("toolbar.png"))));

        // Disabled buttons show the disabled image; the hot image is the action's active one.
        six.actions[3]->setEnabled(false);
        const QIcon icon = bar->ButtonFor(six.actions[3])->icon();
        QVERIFY(!icon.pixmap(QSize(34, 32), QIcon::Disabled).isNull());
        QVERIFY(icon.pixmap(QSize(34, 32), QIcon::Disabled).toImage().pixelColor(10, 10) !=
                QColor(Qt::darkRed));
    }

    void VerticalBarHasHorizontalGripper() {
        QMainWindow window;
        auto* bar = new COOExToolBar(QStringLiteral("Standard"), &window);
        window.addToolBar(Qt::LeftToolBarArea, bar);
        SixButtons six(&window);
        bar->LoadToolBar(six.buttons);
        window.setCentralWidget(new QWidget(&window));
        window.resize(300, 500);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(bar->orientation(), Qt::Vertical);
        const QImage image = bar->grab().toImage();
        const int x = image.width() / 2;
        QCOMPARE(image.pixelColor(x, 3), Role(*bar, QPalette::Light));
        QCOMPARE(image.pixelColor(x, 10), Role(*bar, QPalette::Dark));
        QVERIFY(bar->ButtonFor(six.actions[0])->y() >= 11);
    }

    void FloatingBarHasNoGripper() {
        COOExToolBar bar(QStringLiteral("Standard"));
        SixButtons six(&bar);
        bar.LoadToolBar(six.buttons);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        QVERIFY(bar.isFloating());
        QVERIFY(!bar.HasGripper());
        QCOMPARE(bar.width(), 450);
        const QImage image = bar.grab().toImage();
        const QColor face = Role(bar, QPalette::Button);
        const int y = image.height() / 2;
        for (int x = 3; x <= 10; ++x) {
            if (bar.ButtonFor(six.actions[0])->geometry().contains(x, y))
                continue;
            QCOMPARE(image.pixelColor(x, y), face);
        }
        QVERIFY(bar.ButtonFor(six.actions[0])->x() < 11);
        QVERIFY(image.save(Artifact(QStringLiteral("toolbar-floating.png"))));
    }

    void ImageSetsFromBitmapStrips() {
        tessaly::test::TempFolder folder;
        // Two 34 by 32 cells on white: a red square in the first, a blue one in the second.
        QImage strip(68, 32, QImage::Format_RGB32);
        strip.fill(Qt::white);
        QPainter painter(&strip);
        painter.fillRect(QRect(5, 5, 20, 20), QColor(255, 0, 0));
        painter.fillRect(QRect(39, 5, 20, 20), QColor(0, 0, 255));
        painter.end();
        const QString normal = QString::fromStdString((folder / "normal.bmp").string());
        QVERIFY(strip.save(normal));
        QImage greys = strip.convertToFormat(QImage::Format_Grayscale8).convertToFormat(QImage::Format_RGB32);
        const QString disabled = QString::fromStdString((folder / "disabled.bmp").string());
        QVERIFY(greys.save(disabled));

        COOBmpToolBar bar(QStringLiteral("Standard"));
        SixButtons six(&bar);
        bar.LoadToolBar(six.buttons);
        bar.SetImageBitmap(normal, COOExToolBar::HotLarge, Qt::white);
        bar.SetImageBitmap(normal, COOExToolBar::NormalLarge, Qt::white);
        bar.SetImageBitmap(disabled, COOExToolBar::DisabledLarge, Qt::white);
        bar.BuildImageLists();
        const QIcon first = bar.ButtonFor(six.actions[0])->icon();
        const QImage normalImage = first.pixmap(QSize(34, 32), QIcon::Normal).toImage();
        QCOMPARE(normalImage.pixelColor(0, 0).alpha(), 0);
        QCOMPARE(normalImage.pixelColor(10, 10), QColor(255, 0, 0));
        const QImage second =
            bar.ButtonFor(six.actions[1])->icon().pixmap(QSize(34, 32), QIcon::Normal).toImage();
        QCOMPARE(second.pixelColor(10, 10), QColor(0, 0, 255));
        const QImage grey = first.pixmap(QSize(34, 32), QIcon::Disabled).toImage();
        QCOMPARE(grey.pixelColor(10, 10), QColor::fromRgb(greys.pixel(10, 10)));
        // Buttons beyond the strip keep their action's own image.
        const QImage third =
            bar.ButtonFor(six.actions[2])->icon().pixmap(QSize(34, 32), QIcon::Normal).toImage();
        QCOMPARE(third.pixelColor(10, 10), QColor(Qt::darkCyan));
        // The images survive a change of the action.
        six.actions[0]->setEnabled(false);
        six.actions[0]->setEnabled(true);
        QCOMPARE(bar.ButtonFor(six.actions[0])->icon().pixmap(QSize(34, 32)).toImage().pixelColor(10, 10),
                 QColor(255, 0, 0));

        // A strip that cannot be read leaves the actions' images in place.
        bar.SetImageBitmap(QString::fromStdString((folder / "missing.bmp").string()),
                           COOExToolBar::NormalLarge, Qt::white);
        bar.BuildImageLists();
        QCOMPARE(bar.ButtonFor(six.actions[0])->icon().pixmap(QSize(34, 32)).toImage().pixelColor(10, 10),
                 QColor(Qt::darkGreen));
    }
};

QTEST_MAIN(OOExToolBarTest)
#include "ooextoolbar_test.moc"
