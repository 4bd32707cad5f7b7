#include "app/mainframe.h"
#include "engine/memoryprofile.h"
#include "support/scriptedmessageboxes.h"
#include "ui/menuxpstyle.h"
#include "ui/ooextoolbar.h"

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTest>

#include <string>
#include <string_view>

using namespace tessaly;

namespace {

QMenu* TopMenu(CMainFrame& frame, const QString& title) {
    for (QAction* action : frame.menuBar()->actions()) {
        if (action->text() == title)
            return action->menu();
    }
    return nullptr;
}

} // namespace

class MainFrameLookTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void MenusAndToolbarCarryTheLook() {
        MemoryProfile profile;
        test::ScriptedMessageBoxes messages{MessageAnswer::No};
        {
            CMainFrame frame(profile, messages, false);
            QVERIFY(HasMenuLook(&frame));
            QVERIFY(qobject_cast<CMenuXPStyle*>(QApplication::style()));
            auto* toolBar = frame.findChild<COOBmpToolBar*>();
            QVERIFY(toolBar);
            QCOMPARE(frame.toolBarArea(toolBar), Qt::TopToolBarArea);
            QVERIFY(toolBar->HasGripper());
            frame.resize(900, 500);
            frame.show();
            QVERIFY(QTest::qWaitForWindowExposed(&frame));

            QMenu* tools = TopMenu(frame, QStringLiteral("&Tools"));
            QVERIFY(tools);
            frame.menuBar()->setActiveAction(tools->menuAction());
            QTRY_VERIFY(tools->isVisible());
            QVERIFY(QTest::qWaitForWindowExposed(tools));
            QVERIFY(tools->testAttribute(Qt::WA_TranslucentBackground));

            // The frame with its open Tools menu, as the user sees them together.
            QImage picture = frame.grab().toImage().convertToFormat(QImage::Format_ARGB32);
            QPainter painter(&picture);
            painter.drawPixmap(frame.mapFromGlobal(tools->geometry().topLeft()), tools->grab());
            painter.end();
            QDir().mkpath(QStringLiteral(TESSALY_ARTIFACTS_DIR));
            QVERIFY(picture.save(QStringLiteral(TESSALY_ARTIFACTS_DIR "/tools-menu.png")));
            const QRect item = frame.menuBar()->actionGeometry(tools->menuAction());
            const QImage corner = picture.copy(QRect(item.left() - 10, 0, 120, 60));
            QVERIFY(corner.scaled(corner.size() * 5)
                        .save(QStringLiteral(TESSALY_ARTIFACTS_DIR "/tools-menu-zoom.png")));
            QVERIFY(toolBar->grab().save(QStringLiteral(TESSALY_ARTIFACTS_DIR "/mainframe-toolbar.png")));
            tools->hide();
        }
        // The last frame gone, the application has its plain style back.
        QVERIFY(!qobject_cast<CMenuXPStyle*>(QApplication::style()));
    }
};

QTEST_MAIN(MainFrameLookTest)
#include "mainframe_look_test.moc"
