#pragma once

#include "browser/chartseries.h"
#include "browser/chartviewport.h"

#include <QWidget>

#include <optional>

class QAbstractItemModel;
class QPainter;
class QToolButton;

namespace tessaly {

// The price chart under the records of the data display: candlesticks (or a close line when asked
// for or when the bars are too dense for candles), a volume histogram, date and price axes and a
// crosshair. The wheel zooms the date range, dragging pans, a double-click fits all; clicking a bar
// reports its row, and the row of the table's current record is marked.
class CPriceChart final : public QWidget {
    Q_OBJECT
public:
    explicit CPriceChart(QWidget* parent = nullptr);

    // Draws the rows of `model`, whose columns are date, open, high, low, close and volume.
    void SetRecords(const QAbstractItemModel& model);
    void SetSeries(ChartSeries series);
    void Clear();

    const ChartSeries& Series() const { return series_; }
    DayRange VisibleRange() const { return viewport_.Range(); }
    bool IsFitted() const { return viewport_.IsFitted(); }
    void FitAll();

    // The close line instead of candlesticks, whatever the density.
    void SetLineMode(bool line);
    bool IsLineMode() const { return lineMode_; }
    // True when the visible bars are drawn as candlesticks.
    bool DrawsCandles() const;

    // Marks the bar of data display row `row` and brings it into view; -1 or a row without a bar
    // clears the mark.
    void MarkRow(int row);
    int MarkedRow() const { return markedRow_; }

    // What the crosshair shows for the bar under `position`; empty outside the plot.
    QString CrosshairTextAt(QPoint position) const;
    // The text the crosshair shows now (the mouse's last position over the plot).
    QString CrosshairText() const;
    // "2 records not drawn", or empty when every record is drawn.
    QString NoteText() const;
    // Where the centre of bar `index` is drawn.
    QPoint PointOfBar(std::size_t index) const;
    QRect PlotRect() const;

    QSize sizeHint() const override { return {600, 300}; }
    QSize minimumSizeHint() const override { return {200, 120}; }

Q_SIGNALS:
    void BarClicked(int row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Scale;

    std::optional<std::size_t> BarAt(QPoint position) const;
    double BarWidth() const;
    Scale MakeScale() const;
    void PaintGrid(QPainter& painter, const Scale& scale) const;
    void PaintPrices(QPainter& painter, const Scale& scale) const;
    void PaintVolumes(QPainter& painter, const Scale& scale) const;
    void PaintCrosshair(QPainter& painter, const Scale& scale) const;
    void PaintHeader(QPainter& painter) const;
    void PlaceButton();

    ChartSeries series_;
    ChartViewport viewport_;
    bool lineMode_ = false;
    int markedRow_ = -1;
    std::optional<QPoint> mouse_;
    std::optional<QPoint> pressPosition_;
    DayRange pressRange_;
    bool dragging_ = false;
    QToolButton* lineButton_;
};

} // namespace tessaly
