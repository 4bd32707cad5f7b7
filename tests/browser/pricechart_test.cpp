#include "browser/pricechart.h"
#include "browser/rightlistview.h"
#include "engine/datenumber.h"
#include "engine/filefunctions.h"
#include "engine/numbers.h"
#include "support/tempfolder.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QStyleFactory>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

#include <cmath>
#include <memory>
#include <random>
#include <string>

using namespace Qt::StringLiterals;

using tessaly::CPriceChart;
using tessaly::CRightListView;
using tessaly::test::TempFolder;

namespace {

const std::string kFixture = std::string(tessaly::kSecurityFileHeader) +
                             "\n3-Jan-05,10,12,9,11,1000,11"
                             "\n4-Jan-05,11,11.5,10,10.25,800,10.25"
                             "\n5-Jan-05,10.25,13,10,12.75,1500,12.75"
                             "\n6-Jan-05,12.75,13,12,,900,12"
                             "\n7-Jan-05,12.5,12.5,11,11.5,700,11.5\n";

// A daily random walk of `years` years up to 10-Dec-26, with two months missing and a price that
// halves overnight, as an unadjusted split leaves it.
std::string RealShapedHistory(int years) {
    std::mt19937 random(20261211);
    std::normal_distribution<double> move(0.0003, 0.014);
    std::string text(tessaly::kSecurityFileHeader);
    const tessaly::DateNumber last = 20261210;
    tessaly::DateNumber date = tessaly::YearsEarlier(last, years);
    const tessaly::DateNumber gapFrom = tessaly::YearsEarlier(last, years * 2 / 3);
    const tessaly::DateNumber gapTo = tessaly::AddDays(gapFrom, 60);
    const tessaly::DateNumber split = tessaly::YearsEarlier(last, years / 3);
    double close = 40;
    bool halved = false;
    for (; date <= last; date = tessaly::NextDay(date)) {
        if (tessaly::IsWeekend(date) || (date >= gapFrom && date < gapTo))
            continue;
        if (!halved && date >= split) {
            close /= 2;
            halved = true;
        }
        const double open = close * (1 + move(random) / 3);
        close *= std::exp(move(random));
        const double high = std::max(open, close) * (1 + std::abs(move(random)) / 2);
        const double low = std::min(open, close) * (1 - std::abs(move(random)) / 2);
        const auto volume = static_cast<long>(200000 * std::exp(std::abs(move(random)) * 40));
        const std::string closeText = tessaly::FormatPrice(close);
        text += "\n" + tessaly::DateNumberToStored(date) + "," + tessaly::FormatPrice(open) + "," +
                tessaly::FormatPrice(high) + "," + tessaly::FormatPrice(low) + "," + closeText + "," +
                std::to_string(volume) + "," + closeText;
    }
    return text;
}

void SendMouse(QWidget* widget, QEvent::Type type, QPoint position, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(position), QPointF(widget->mapToGlobal(position)), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void SendWheel(QWidget* widget, QPoint position, int delta) {
    QWheelEvent event(QPointF(position), QPointF(widget->mapToGlobal(position)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

void SaveScreenshot(QWidget* widget, const QString& name) {
    QDir().mkpath(QStringLiteral(TESSALY_ARTIFACTS_DIR));
    QVERIFY(widget->grab().save(QStringLiteral(TESSALY_ARTIFACTS_DIR) + u'/' + name));
}

QPalette DarkPalette() {
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(37, 37, 38));
    palette.setColor(QPalette::WindowText, QColor(220, 220, 220));
    palette.setColor(QPalette::Base, QColor(30, 30, 30));
    palette.setColor(QPalette::Text, QColor(220, 220, 220));
    palette.setColor(QPalette::Button, QColor(45, 45, 48));
    palette.setColor(QPalette::ButtonText, QColor(220, 220, 220));
    palette.setColor(QPalette::Highlight, QColor(38, 79, 120));
    palette.setColor(QPalette::HighlightedText, QColor(255, 255, 255));
    palette.setColor(QPalette::PlaceholderText, QColor(150, 150, 150));
    return palette;
}

// The list showing one security's records, the way a double-click leaves it.
struct DataDisplay {
    TempFolder folder;
    std::unique_ptr<CRightListView> view;

    explicit DataDisplay(const std::string& content, QSize size = {900, 640}) {
        folder.Write("TEST.csv", content);
        view = std::make_unique<CRightListView>();
        view->resize(size);
        view->show();
        view->ShowFolder(folder.Path());
        while (view->IsListing())
            QApplication::processEvents();
        view->selectionModel()->select(view->Model().index(0, 0),
                                       QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        view->ShowSecurityData();
        QApplication::processEvents();
    }

    CPriceChart* Chart() const { return view->Chart(); }
};

} // namespace

class PriceChartTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QApplication::setStyle(QStyleFactory::create(u"Fusion"_s)); }

    void ShowsTheChartOnlyInTheDataDisplay() {
        DataDisplay display(kFixture);
        QVERIFY(display.view->IsDataDisplayMode());
        QVERIFY(display.view->DataSplitter()->isVisible());
        QVERIFY(display.Chart()->isVisible());
        QCOMPARE(display.Chart()->Series().Size(), std::size_t(4));
        QCOMPARE(display.view->DataModel().rowCount(), 5);
        // The table's current row without a selection marks no bar.
        display.view->DataView()->selectionModel()->setCurrentIndex(display.view->DataModel().index(1, 0),
                                                                    QItemSelectionModel::NoUpdate);
        QCOMPARE(display.Chart()->MarkedRow(), -1);
        display.view->SwitchDisplayMode();
        QVERIFY(!display.view->DataSplitter()->isVisible());
        QVERIFY(display.Chart()->Series().Empty());
    }

    void RecordWithoutCloseIsCountedNotDrawn() {
        DataDisplay display(kFixture);
        CPriceChart* chart = display.Chart();
        QCOMPARE(chart->NoteText(), u"1 record not drawn"_s);
        QVERIFY(!chart->Series().IndexOfRow(3));
        // Nothing is drawn at 6-Jan-05: the pointer there finds no bar.
        const QPoint between = (chart->PointOfBar(2) + chart->PointOfBar(3)) / 2;
        QCOMPARE(chart->CrosshairTextAt(between), QString());
        // The price axis is not stretched down to 0 by the missing value.
        const QImage image = chart->grab().toImage();
        SaveScreenshot(chart, u"pricechart-fixture.png"_s);
        const QRect plot = chart->PlotRect();
        const QColor base = chart->palette().color(QPalette::Base);
        int drawn = 0;
        for (int x = plot.left() + 2; x < plot.right() - 2; ++x)
            if (image.pixelColor(x, chart->PointOfBar(0).y()) != base)
                ++drawn;
        QVERIFY2(drawn > 0, "nothing drawn across the plot");
        QVERIFY(chart->DrawsCandles());

        DataDisplay two(kFixture + "8-Jan-05,1,2,3\nnot a date,1,2,3,4,5,6\n");
        QCOMPARE(two.Chart()->NoteText(), u"3 records not drawn"_s);
        DataDisplay none(std::string(tessaly::kSecurityFileHeader) + "\n3-Jan-05,1,2,0.5,1.5,100,1.5\n");
        QCOMPARE(none.Chart()->NoteText(), QString());
    }

    void CrosshairShowsTheBarUnderThePointer_data() {
        QTest::addColumn<int>("bar");
        QTest::addColumn<QString>("expected");
        QTest::newRow("first") << 0 << u"3-Jan-05  O 10  H 12  L 9  C 11  V 1000"_s;
        QTest::newRow("middle") << 1 << u"4-Jan-05  O 11  H 11.5  L 10  C 10.25  V 800"_s;
        QTest::newRow("last") << 3 << u"7-Jan-05  O 12.5  H 12.5  L 11  C 11.5  V 700"_s;
    }

    void CrosshairShowsTheBarUnderThePointer() {
        QFETCH(int, bar);
        QFETCH(QString, expected);
        DataDisplay display(kFixture);
        CPriceChart* chart = display.Chart();
        const QPoint point = chart->PointOfBar(static_cast<std::size_t>(bar)) + QPoint(1, 0);
        QCOMPARE(chart->CrosshairTextAt(point), expected);
        SendMouse(chart, QEvent::MouseMove, point, Qt::NoButton, Qt::NoButton);
        QCOMPARE(chart->CrosshairText(), expected);
        QCOMPARE(chart->CrosshairTextAt(QPoint(1, 1)), QString());
        if (bar == 1)
            SaveScreenshot(chart, u"pricechart-crosshair.png"_s);
    }

    void RowsAndBarsSelectEachOther() {
        DataDisplay display(kFixture);
        CPriceChart* chart = display.Chart();
        QTreeView* table = display.view->DataView();
        table->setCurrentIndex(display.view->DataModel().index(2, 0));
        QCOMPARE(chart->MarkedRow(), 2);
        table->setCurrentIndex(display.view->DataModel().index(3, 0)); // the record not drawn
        QCOMPARE(chart->MarkedRow(), -1);
        QSignalSpy clicked(chart, &CPriceChart::BarClicked);
        const QPoint last = chart->PointOfBar(3);
        SendMouse(chart, QEvent::MouseButtonPress, last, Qt::LeftButton, Qt::LeftButton);
        SendMouse(chart, QEvent::MouseButtonRelease, last, Qt::LeftButton, Qt::NoButton);
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(table->currentIndex().row(), 4);
        QVERIFY(table->selectionModel()->isRowSelected(4, {}));
        QCOMPARE(chart->MarkedRow(), 4);
    }

    void WheelZoomsDragPansDoubleClickFits() {
        DataDisplay display(RealShapedHistory(3));
        CPriceChart* chart = display.Chart();
        const tessaly::DayRange fit = chart->VisibleRange();
        QVERIFY(chart->IsFitted());
        const QRect plot = chart->PlotRect();
        const QPoint middle = plot.center();
        SendWheel(chart, middle, 120);
        const tessaly::DayRange zoomed = chart->VisibleRange();
        QVERIFY(std::abs(zoomed.Span() - fit.Span() * 0.8) < 1e-6);
        SendWheel(chart, middle, 120 * 10);
        QVERIFY(chart->VisibleRange().Span() < zoomed.Span() * 0.2);
        const tessaly::DayRange narrow = chart->VisibleRange();
        // Dragging to the right shows earlier dates.
        SendMouse(chart, QEvent::MouseButtonPress, middle, Qt::LeftButton, Qt::LeftButton);
        SendMouse(chart, QEvent::MouseMove, middle + QPoint(plot.width() / 4, 0), Qt::NoButton,
                  Qt::LeftButton);
        SendMouse(chart, QEvent::MouseButtonRelease, middle + QPoint(plot.width() / 4, 0), Qt::LeftButton,
                  Qt::NoButton);
        QVERIFY(std::abs(chart->VisibleRange().first - (narrow.first - narrow.Span() / 4)) < 0.5);
        QCOMPARE(chart->VisibleRange().Span(), narrow.Span());
        QVERIFY(chart->DrawsCandles());
        SaveScreenshot(chart, u"pricechart-zoomed.png"_s);
        // Zooming out stops at the whole series.
        SendWheel(chart, middle, -120 * 40);
        QVERIFY(chart->IsFitted());
        SendWheel(chart, middle, 120 * 3);
        QVERIFY(!chart->IsFitted());
        QTest::mouseDClick(chart, Qt::LeftButton, {}, middle);
        QVERIFY(chart->IsFitted());
        QCOMPARE(chart->VisibleRange(), fit);
    }

    void DenseBarsBecomeALineAndTheUserCanAskForIt() {
        DataDisplay display(RealShapedHistory(8));
        CPriceChart* chart = display.Chart();
        QVERIFY(!chart->DrawsCandles());
        SendWheel(chart, chart->PlotRect().center(), 120 * 15);
        QVERIFY(chart->DrawsCandles());
        auto* button = chart->findChild<QToolButton*>();
        QVERIFY(button);
        button->click();
        QVERIFY(chart->IsLineMode());
        QVERIFY(!chart->DrawsCandles());
        button->click();
        QVERIFY(chart->DrawsCandles());
    }

    void RealShapedSeriesInLightAndDark() {
        const std::string history = RealShapedHistory(6);
        DataDisplay light(history, {1100, 720});
        QCOMPARE(light.Chart()->NoteText(), QString());
        SaveScreenshot(light.view.get(), u"pricechart-light.png"_s);
        DataDisplay dark(history, {1100, 720});
        dark.view->setPalette(DarkPalette());
        const QPoint bar = dark.Chart()->PointOfBar(dark.Chart()->Series().Size() / 2);
        SendMouse(dark.Chart(), QEvent::MouseMove, bar, Qt::NoButton, Qt::NoButton);
        QVERIFY(!dark.Chart()->CrosshairText().isEmpty());
        const QImage image = dark.Chart()->grab().toImage();
        QCOMPARE(image.pixelColor(1, dark.Chart()->PlotRect().center().y()), QColor(30, 30, 30));
        SaveScreenshot(dark.view.get(), u"pricechart-dark.png"_s);
    }
};

QTEST_MAIN(PriceChartTest)
#include "pricechart_test.moc"
