#include "engine/memoryprofile.h"
#include "ui/progresswnd.h"

#include <QDir>
#include <QKeyEvent>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessaly;

namespace {

QString Artifact(const QString& name) {
    QDir().mkpath(QStringLiteral(TESSALY_ARTIFACTS_DIR));
    return QStringLiteral(TESSALY_ARTIFACTS_DIR "/") + name;
}

// The centre of the owner, where a window without a usable saved place opens.
bool IsCentredOn(const QWidget& window, const QWidget& owner) {
    const QPoint centre = window.pos() + QPoint(window.width() / 2, window.height() / 2);
    return (centre - owner.frameGeometry().center()).manhattanLength() <= 2;
}

} // namespace

class ProgressWndTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        owner_ = std::make_unique<QMainWindow>();
        owner_->setGeometry(100, 100, 800, 500);
        owner_->show();
        QVERIFY(QTest::qWaitForWindowExposed(owner_.get()));
        profile_ = MemoryProfile();
    }
    void cleanup() { owner_.reset(); }

    void TitleShowsThePercentageOnceItChanges() {
        CProgressWnd progress(owner_.get(), u"Updating symbol database ..."_s, true, &profile_);
        QVERIFY(progress.BeginModal(u"Updating symbol database ..."_s, true));
        progress.ResizeWindow(0, 250);
        QCOMPARE(progress.size(), QSize(270, 71));
        QCOMPARE(progress.CancelButton()->geometry(), QRect(200, 44, 60, 20));
        QCOMPARE(progress.CancelButton()->text(), u" Cancel "_s);
        progress.SetRange(0, 250, 1);
        progress.StepIt();
        progress.StepIt();
        QCOMPARE(progress.windowTitle(), u"Updating symbol database ..."_s);
        progress.StepIt();
        QCOMPARE(progress.windowTitle(), u"Updating symbol database ... [1%]"_s);
        for (int step = 3; step < 105; ++step)
            progress.StepIt();
        QCOMPARE(progress.windowTitle(), u"Updating symbol database ... [42%]"_s);
        QCOMPARE(progress.Bar()->value(), 105);
        progress.PumpMessages(true);
        QVERIFY(progress.Bar()->isVisible());
        QVERIFY(progress.grab().save(Artifact(u"progresswindow.png"_s)));
        for (int step = 105; step < 250; ++step)
            progress.StepIt();
        QCOMPARE(progress.windowTitle(), u"Updating symbol database ... [100%]"_s);
        QCOMPARE(progress.SetStep(7), 1);
        progress.StepIt();
        QCOMPARE(progress.Position(), 257);
        QCOMPARE(progress.Bar()->value(), 250);
    }

    void EmptyRangeNeverShowsAPercentage() {
        CProgressWnd progress(owner_.get(), u"Adding securities ..."_s, true, &profile_);
        progress.SetRange(0, 0, 1);
        for (int step = 0; step < 20; ++step)
            progress.StepIt();
        QCOMPARE(progress.windowTitle(), u"Adding securities ..."_s);
        QCOMPARE(progress.Bar()->value(), progress.Bar()->minimum());
        QVERIFY(progress.Bar()->maximum() > progress.Bar()->minimum()); // no busy indicator
    }

    void ModalUseDisablesTheOwnerUntilTheWindowGoes() {
        {
            CProgressWnd progress(owner_.get(), u"Work"_s, true, &profile_);
            QVERIFY(owner_->isEnabled());
            QVERIFY(progress.BeginModal(u"Work"_s, true));
            QVERIFY(!owner_->isEnabled());
            QVERIFY(progress.isEnabled());
            QVERIFY(progress.CancelButton()->isEnabled());
        }
        QVERIFY(owner_->isEnabled());
        CProgressWnd progress(owner_.get(), u"Work"_s, true, &profile_);
        progress.BeginModal(u"Work"_s, true);
        progress.EndModal(); // before a message of the loop
        QVERIFY(owner_->isEnabled());
        QVERIFY(!progress.isVisible());
        QVERIFY(!progress.IsCancelled());
    }

    void EscapeAndCancelStopTheLoopOtherKeysDoNot_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("button");
        QTest::addColumn<bool>("cancelled");
        QTest::newRow("Escape") << int(Qt::Key_Escape) << false << true;
        QTest::newRow("a letter") << int(Qt::Key_A) << false << false;
        QTest::newRow("Enter") << int(Qt::Key_Return) << false << false;
        QTest::newRow("Cancel button") << 0 << true << true;
    }
    void EscapeAndCancelStopTheLoopOtherKeysDoNot() {
        QFETCH(int, key);
        QFETCH(bool, button);
        QFETCH(bool, cancelled);
        CProgressWnd progress(owner_.get(), u"Work"_s, true, &profile_);
        progress.BeginModal(u"Work"_s, true);
        progress.SetRange(0, 10, 1);
        progress.StepIt();
        if (button) {
            QTest::mouseClick(progress.CancelButton(), Qt::LeftButton);
        } else {
            // The key waits in the queue, as one typed during the loop's work does.
            QWidget* target = progress.focusWidget() ? progress.focusWidget() : &progress;
            QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
        }
        progress.PumpMessages(true);
        QCOMPARE(progress.IsCancelled(), cancelled);
        QCOMPARE(progress.isVisible(), !cancelled);
        // A modal cancel gives the owner back at once.
        QCOMPARE(owner_->isEnabled(), cancelled);
    }

    void PlaceIsRememberedWhenTheWindowEndsNormally() {
        {
            CProgressWnd first(owner_.get(), u"Work"_s, true, &profile_);
            QVERIFY(IsCentredOn(first, *owner_)); // no saved place yet
            first.move(40, 50);
        }
        QCOMPARE(profile_.GetInt("Settings", "X", -1), 40);
        QCOMPARE(profile_.GetInt("Settings", "Y", -1), 50);
        {
            CProgressWnd second(owner_.get(), u"Work"_s, true, &profile_);
            QCOMPARE(second.pos(), QPoint(40, 50));
            second.BeginModal(u"Work"_s, true);
            second.move(300, 200);
            second.Cancel(); // a modal cancel keeps the place saved before
        }
        QCOMPARE(profile_.GetInt("Settings", "X", -1), 40);
        CProgressWnd third(owner_.get(), u"Work"_s, true, &profile_);
        QCOMPARE(third.pos(), QPoint(40, 50));
    }

    void SavedPlaceOffTheScreenGivesACentredWindow_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        const QRect desktop = QGuiApplication::primaryScreen()->virtualGeometry();
        QTest::newRow("beyond the right edge") << desktop.right() + 10 << 20;
        QTest::newRow("below the bottom") << 20 << desktop.bottom() + 10;
        QTest::newRow("negative") << -5 << 20;
    }
    void SavedPlaceOffTheScreenGivesACentredWindow() {
        QFETCH(int, x);
        QFETCH(int, y);
        profile_.WriteInt("Settings", "X", x);
        profile_.WriteInt("Settings", "Y", y);
        CProgressWnd progress(owner_.get(), u"Work"_s, true, &profile_);
        QVERIFY(IsCentredOn(progress, *owner_));
    }

private:
    std::unique_ptr<QMainWindow> owner_;
    MemoryProfile profile_;
};

QTEST_MAIN(ProgressWndTest)
#include "progresswnd_test.moc"
