#include "browser/pricechart.h"

#include "browser/chartticks.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace tessaly {

namespace {

constexpr int kColumns = 6;
// Candles need this many pixels a bar; denser bars are drawn as the close line.
constexpr double kMinimumCandleWidth = 3;
// A wheel notch shows this share of the previous range.
constexpr double kZoomPerNotch = 0.8;
// More missing bars than this in a row break the close line.
constexpr int kGapBars = 7;
// The volume histogram's share of the plot's height.
constexpr double kVolumeShare = 0.22;

QString ToQString(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool IsDark(const QPalette& palette) {
    return palette.color(QPalette::Base).lightness() < 128;
}

QColor Faded(QColor color, int alpha) {
    color.setAlpha(alpha);
    return color;
}

} // namespace

// Where prices and volumes of the visible bars go on the screen.
struct CPriceChart::Scale {
    QRectF plot;
    QRectF pricePane;
    QRectF volumePane;
    std::size_t first = 0;
    std::size_t last = 0;
    double lowPrice = 0;
    double highPrice = 1;
    double highVolume = 0;
    double pixelsPerDay = 1;
    double rangeFirst = 0;

    double X(double day) const { return plot.left() + (day - rangeFirst) * pixelsPerDay; }
    double Y(double price) const {
        return pricePane.bottom() - (price - lowPrice) / (highPrice - lowPrice) * pricePane.height();
    }
    double Price(double y) const {
        return lowPrice + (pricePane.bottom() - y) / pricePane.height() * (highPrice - lowPrice);
    }
    double VolumeTop(double volume) const {
        return highVolume > 0 ? volumePane.bottom() - volume / highVolume * volumePane.height()
                              : volumePane.bottom();
    }
};

CPriceChart::CPriceChart(QWidget* parent)
    : QWidget(parent)
    , lineButton_(new QToolButton(this)) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setBackgroundRole(QPalette::Base);
    lineButton_->setText(QStringLiteral("Close line"));
    lineButton_->setToolTip(QStringLiteral("Draw the closing prices as a line instead of candlesticks"));
    lineButton_->setCheckable(true);
    lineButton_->setAutoRaise(true);
    lineButton_->setFocusPolicy(Qt::NoFocus);
    connect(lineButton_, &QToolButton::toggled, this, &CPriceChart::SetLineMode);
    viewport_.SetSeries(series_);
}

void CPriceChart::SetRecords(const QAbstractItemModel& model) {
    ChartSeries series;
    std::string fields[kColumns];
    std::string_view views[kColumns];
    for (int row = 0; row < model.rowCount(); ++row) {
        for (int column = 0; column < kColumns; ++column) {
            fields[column] = model.index(row, column).data().toString().toStdString();
            views[column] = fields[column];
        }
        series.AddRecord(row, views);
    }
    series.Finish();
    SetSeries(std::move(series));
}

void CPriceChart::SetSeries(ChartSeries series) {
    series_ = std::move(series);
    viewport_.SetSeries(series_);
    markedRow_ = -1;
    update();
}

void CPriceChart::Clear() {
    SetSeries(ChartSeries());
}

void CPriceChart::FitAll() {
    viewport_.Fit();
    update();
}

void CPriceChart::SetLineMode(bool line) {
    lineMode_ = line;
    if (lineButton_->isChecked() != line)
        lineButton_->setChecked(line);
    update();
}

double CPriceChart::BarWidth() const {
    const double width = PlotRect().width();
    return width / viewport_.Range().Span() * series_.TypicalSpacing() * 0.7;
}

bool CPriceChart::DrawsCandles() const {
    return !lineMode_ && BarWidth() >= kMinimumCandleWidth;
}

void CPriceChart::MarkRow(int row) {
    const auto index = series_.IndexOfRow(row);
    markedRow_ = index ? row : -1;
    if (index)
        viewport_.Reveal(series_.Bars()[*index].day);
    update();
}

QRect CPriceChart::PlotRect() const {
    const QFontMetrics metrics = fontMetrics();
    const int header = std::max(metrics.height(), lineButton_->sizeHint().height()) + 4;
    const int axisWidth = metrics.horizontalAdvance(QStringLiteral("000000.00")) + 10;
    const int axisHeight = metrics.height() + 8;
    return QRect(4, header, std::max(1, width() - 4 - axisWidth),
                 std::max(1, height() - header - axisHeight));
}

std::optional<std::size_t> CPriceChart::BarAt(QPoint position) const {
    const QRect plot = PlotRect();
    if (!plot.contains(position) || series_.Empty())
        return std::nullopt;
    const auto index = series_.NearestBar(viewport_.XToDay(position.x() - plot.left(), plot.width()));
    if (!index)
        return std::nullopt;
    // Only a bar within reach of the pointer counts, so a gap in the data shows no bar.
    const double reach = std::max(BarWidth() / 2 + 2, 4.0);
    if (std::abs(PointOfBar(*index).x() - position.x()) > reach)
        return std::nullopt;
    return index;
}

QPoint CPriceChart::PointOfBar(std::size_t index) const {
    const QRect plot = PlotRect();
    if (index >= series_.Size())
        return {};
    const double x = plot.left() + viewport_.DayToX(series_.Bars()[index].day, plot.width());
    return QPoint(static_cast<int>(std::lround(x)), plot.center().y());
}

QString CPriceChart::CrosshairTextAt(QPoint position) const {
    const auto index = BarAt(position);
    return index ? ToQString(tessaly::CrosshairText(series_.Bars()[*index])) : QString();
}

QString CPriceChart::CrosshairText() const {
    return mouse_ ? CrosshairTextAt(*mouse_) : QString();
}

QString CPriceChart::NoteText() const {
    const int skipped = series_.SkippedCount();
    if (skipped == 0)
        return {};
    return skipped == 1 ? QStringLiteral("1 record not drawn")
                        : QStringLiteral("%1 records not drawn").arg(skipped);
}

CPriceChart::Scale CPriceChart::MakeScale() const {
    Scale scale;
    scale.plot = PlotRect();
    const double volumeHeight = std::floor(scale.plot.height() * kVolumeShare);
    scale.pricePane = scale.plot.adjusted(0, 4, 0, -volumeHeight - 6);
    scale.volumePane =
        QRectF(scale.plot.left(), scale.plot.bottom() - volumeHeight, scale.plot.width(), volumeHeight);
    const DayRange range = viewport_.Range();
    scale.rangeFirst = range.first;
    scale.pixelsPerDay = scale.plot.width() / range.Span();
    // One bar beyond each edge, so lines run on to the border.
    const double margin = series_.TypicalSpacing();
    std::tie(scale.first, scale.last) = series_.BarsBetween(range.first - margin, range.last + margin);
    const bool candles = DrawsCandles();
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (std::size_t i = scale.first; i < scale.last; ++i) {
        const PriceBar& bar = series_.Bars()[i];
        if (bar.day < range.first || bar.day > range.last)
            continue;
        low = std::min({low, candles ? std::min({bar.low, bar.open, bar.close}) : bar.close});
        high = std::max({high, candles ? std::max({bar.high, bar.open, bar.close}) : bar.close});
        scale.highVolume = std::max(scale.highVolume, bar.volume);
    }
    if (!(low <= high)) {
        low = 0;
        high = 1;
    }
    const double pad = high > low ? (high - low) * 0.04 : std::max(std::abs(high) * 0.05, 0.5);
    scale.lowPrice = low - pad;
    scale.highPrice = high + pad;
    return scale;
}

void CPriceChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& colours = palette();
    painter.fillRect(rect(), colours.color(QPalette::Base));
    painter.setFont(font());
    const Scale scale = MakeScale();
    if (series_.Empty()) {
        painter.setPen(colours.color(QPalette::PlaceholderText));
        painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("No records to draw"));
    } else {
        PaintGrid(painter, scale);
        painter.save();
        painter.setClipRect(scale.plot);
        PaintVolumes(painter, scale);
        PaintPrices(painter, scale);
        painter.restore();
        PaintCrosshair(painter, scale);
    }
    PaintHeader(painter);
}

void CPriceChart::PaintGrid(QPainter& painter, const Scale& scale) const {
    const QPalette& colours = palette();
    const QColor text = colours.color(QPalette::Text);
    const QColor grid = Faded(text, 40);
    const QFontMetrics metrics = fontMetrics();
    const int rows = std::max(1, static_cast<int>(scale.pricePane.height() / (metrics.height() * 2.5)));
    const PriceTicks prices = ChoosePriceTicks(scale.lowPrice, scale.highPrice, rows);
    for (double value : prices.values) {
        const double y = std::round(scale.Y(value)) + 0.5;
        painter.setPen(grid);
        painter.drawLine(QPointF(scale.plot.left(), y), QPointF(scale.plot.right(), y));
        painter.setPen(text);
        painter.drawText(QPointF(scale.plot.right() + 6, y + metrics.ascent() / 2.0 - 1),
                         ToQString(FormatTick(value, prices.decimals)));
    }
    const int columns =
        std::max(1, static_cast<int>(scale.plot.width() /
                                     (metrics.horizontalAdvance(QStringLiteral("28-Dec-04")) + 24)));
    double lastRight = -std::numeric_limits<double>::infinity();
    for (const DateTick& tick : ChooseDateTicks(viewport_.Range(), columns)) {
        const double x = std::round(scale.X(tick.day)) + 0.5;
        painter.setPen(grid);
        painter.drawLine(QPointF(x, scale.plot.top()), QPointF(x, scale.plot.bottom()));
        const QString label = ToQString(tick.label);
        const double labelWidth = metrics.horizontalAdvance(label);
        const double left =
            std::clamp(x - labelWidth / 2, scale.plot.left(), scale.plot.right() - labelWidth);
        if (left < lastRight + 6)
            continue;
        lastRight = left + labelWidth;
        painter.setPen(text);
        painter.drawText(QPointF(left, scale.plot.bottom() + metrics.ascent() + 4), label);
    }
    painter.setPen(Faded(text, 90));
    painter.drawRect(scale.plot.adjusted(0, 0, -1, -1));
}

void CPriceChart::PaintVolumes(QPainter& painter, const Scale& scale) const {
    if (scale.highVolume <= 0)
        return;
    const QColor colour = Faded(palette().color(QPalette::Text), 70);
    const double width = BarWidth();
    if (width >= 2) {
        for (std::size_t i = scale.first; i < scale.last; ++i) {
            const PriceBar& bar = series_.Bars()[i];
            const double x = scale.X(bar.day);
            const double top = scale.VolumeTop(bar.volume);
            painter.fillRect(QRectF(x - width / 2, top, width, scale.volumePane.bottom() - top), colour);
        }
        return;
    }
    // Dense bars: the highest volume of each pixel column.
    const int columns = static_cast<int>(scale.plot.width()) + 1;
    std::vector<double> highest(static_cast<std::size_t>(columns), 0.0);
    for (std::size_t i = scale.first; i < scale.last; ++i) {
        const int column = static_cast<int>(scale.X(series_.Bars()[i].day) - scale.plot.left());
        if (column >= 0 && column < columns)
            highest[static_cast<std::size_t>(column)] =
                std::max(highest[static_cast<std::size_t>(column)], series_.Bars()[i].volume);
    }
    for (int column = 0; column < columns; ++column) {
        const double volume = highest[static_cast<std::size_t>(column)];
        if (volume <= 0)
            continue;
        const double top = scale.VolumeTop(volume);
        painter.fillRect(QRectF(scale.plot.left() + column, top, 1, scale.volumePane.bottom() - top), colour);
    }
}

void CPriceChart::PaintPrices(QPainter& painter, const Scale& scale) const {
    const QPalette& colours = palette();
    const bool dark = IsDark(colours);
    const QColor up = dark ? QColor(72, 199, 116) : QColor(18, 130, 60);
    const QColor down = dark ? QColor(240, 98, 96) : QColor(198, 40, 40);
    const double width = BarWidth();
    if (const auto marked = series_.IndexOfRow(markedRow_)) {
        const double x = scale.X(series_.Bars()[*marked].day);
        const double band = std::max(width + 4, 5.0);
        painter.fillRect(QRectF(x - band / 2, scale.plot.top(), band, scale.plot.height()),
                         Faded(colours.color(QPalette::Highlight), 70));
    }
    if (scale.first >= scale.last)
        return;
    if (DrawsCandles()) {
        for (std::size_t i = scale.first; i < scale.last; ++i) {
            const PriceBar& bar = series_.Bars()[i];
            const QColor& colour = bar.close >= bar.open ? up : down;
            const double x = std::round(scale.X(bar.day)) + 0.5;
            const double highY = scale.Y(std::max({bar.high, bar.open, bar.close}));
            const double lowY = scale.Y(std::min({bar.low, bar.open, bar.close}));
            painter.setPen(QPen(colour, 1));
            painter.drawLine(QPointF(x, highY), QPointF(x, lowY));
            const double top = scale.Y(std::max(bar.open, bar.close));
            const double bottom = scale.Y(std::min(bar.open, bar.close));
            painter.fillRect(QRectF(x - width / 2, top, width, std::max(1.0, bottom - top)), colour);
        }
        return;
    }
    // The close line. Where several bars share a pixel column only its first, lowest, highest and
    // last close are drawn, which keeps every spike. The line breaks where more than a week's worth
    // of bars is missing, so a hole in the history shows as one.
    painter.setRenderHint(QPainter::Antialiasing, scale.last - scale.first < 4000);
    painter.setPen(QPen(colours.color(QPalette::Text), 1.2));
    const int gap = kGapBars * series_.TypicalSpacing();
    QPolygonF points;
    std::size_t i = scale.first;
    while (i < scale.last) {
        if (i > scale.first && series_.Bars()[i].day - series_.Bars()[i - 1].day > gap) {
            painter.drawPolyline(points);
            points.clear();
        }
        const double x = scale.X(series_.Bars()[i].day);
        const long column = std::lround(std::floor(x));
        std::size_t end = i + 1;
        std::size_t lowest = i;
        std::size_t highest = i;
        while (end < scale.last && std::lround(std::floor(scale.X(series_.Bars()[end].day))) == column) {
            if (series_.Bars()[end].close < series_.Bars()[lowest].close)
                lowest = end;
            if (series_.Bars()[end].close > series_.Bars()[highest].close)
                highest = end;
            ++end;
        }
        const auto add = [&](std::size_t index) {
            points << QPointF(scale.X(series_.Bars()[index].day), scale.Y(series_.Bars()[index].close));
        };
        add(i);
        if (end - i > 1) {
            add(std::min(lowest, highest));
            add(std::max(lowest, highest));
            add(end - 1);
        }
        i = end;
    }
    painter.drawPolyline(points);
    painter.setRenderHint(QPainter::Antialiasing, false);
}

void CPriceChart::PaintCrosshair(QPainter& painter, const Scale& scale) const {
    if (!mouse_ || !scale.plot.contains(*mouse_))
        return;
    const QPalette& colours = palette();
    const QColor line = Faded(colours.color(QPalette::Text), 130);
    painter.setPen(QPen(line, 1, Qt::DashLine));
    double x = mouse_->x() + 0.5;
    if (const auto index = BarAt(*mouse_))
        x = std::round(scale.X(series_.Bars()[*index].day)) + 0.5;
    painter.drawLine(QPointF(x, scale.plot.top()), QPointF(x, scale.plot.bottom()));
    const double y = mouse_->y() + 0.5;
    painter.drawLine(QPointF(scale.plot.left(), y), QPointF(scale.plot.right(), y));
    if (!scale.pricePane.contains(*mouse_))
        return;
    // The price at the pointer, on the price axis.
    const QFontMetrics metrics = fontMetrics();
    const PriceTicks ticks = ChoosePriceTicks(scale.lowPrice, scale.highPrice, 20);
    const QString price = ToQString(FormatTick(scale.Price(y), ticks.decimals + 1));
    const QRectF box(scale.plot.right() + 1, y - metrics.height() / 2.0 - 1,
                     metrics.horizontalAdvance(price) + 10, metrics.height() + 2);
    painter.fillRect(box, colours.color(QPalette::Highlight));
    painter.setPen(colours.color(QPalette::HighlightedText));
    painter.drawText(box, Qt::AlignCenter, price);
}

void CPriceChart::PaintHeader(QPainter& painter) const {
    const QPalette& colours = palette();
    const QFontMetrics metrics = fontMetrics();
    const int baseline = (PlotRect().top() - metrics.height()) / 2 + metrics.ascent();
    const QString note = NoteText();
    int right = lineButton_->geometry().left() - 8;
    if (!note.isEmpty()) {
        const int noteWidth = metrics.horizontalAdvance(note);
        painter.setPen(colours.color(QPalette::Text));
        painter.drawText(QPoint(right - noteWidth, baseline), note);
        right -= noteWidth + 12;
    }
    // Away from the plot the header keeps showing the marked record.
    QString crosshair = CrosshairText();
    const auto marked = series_.IndexOfRow(markedRow_);
    if (crosshair.isEmpty() && marked)
        crosshair = ToQString(tessaly::CrosshairText(series_.Bars()[*marked]));
    if (!crosshair.isEmpty()) {
        painter.setPen(colours.color(QPalette::Text));
        painter.drawText(
            QPoint(PlotRect().left(), baseline),
            metrics.elidedText(crosshair, Qt::ElideRight, std::max(0, right - PlotRect().left())));
    }
}

void CPriceChart::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    pressPosition_ = event->position().toPoint();
    pressRange_ = viewport_.Range();
    dragging_ = false;
}

void CPriceChart::mouseMoveEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    mouse_ = position;
    if (pressPosition_ && (event->buttons() & Qt::LeftButton)) {
        const int dx = position.x() - pressPosition_->x();
        if (!dragging_ && (position - *pressPosition_).manhattanLength() >= QApplication::startDragDistance())
            dragging_ = true;
        if (dragging_) {
            // Dragging to the right brings earlier dates into view.
            const double days = -dx * pressRange_.Span() / PlotRect().width();
            viewport_.Pan(pressRange_.first + days - viewport_.Range().first);
            setCursor(Qt::ClosedHandCursor);
        }
    }
    update();
}

void CPriceChart::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressPosition_) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const bool click = !dragging_;
    pressPosition_.reset();
    dragging_ = false;
    unsetCursor();
    if (!click)
        return;
    if (const auto index = BarAt(event->position().toPoint())) {
        const int row = series_.Bars()[*index].row;
        MarkRow(row);
        Q_EMIT BarClicked(row);
    }
}

void CPriceChart::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        FitAll();
}

void CPriceChart::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0 || series_.Empty()) {
        event->ignore();
        return;
    }
    const QRect plot = PlotRect();
    const double x = std::clamp(event->position().x() - plot.left(), 0.0, static_cast<double>(plot.width()));
    viewport_.Zoom(std::pow(kZoomPerNotch, notches), viewport_.XToDay(x, plot.width()));
    event->accept();
    update();
}

void CPriceChart::keyPressEvent(QKeyEvent* event) {
    const DayRange range = viewport_.Range();
    const double middle = (range.first + range.last) / 2;
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        viewport_.Zoom(kZoomPerNotch, middle);
        break;
    case Qt::Key_Minus:
        viewport_.Zoom(1 / kZoomPerNotch, middle);
        break;
    case Qt::Key_Left:
        viewport_.Pan(-range.Span() / 10);
        break;
    case Qt::Key_Right:
        viewport_.Pan(range.Span() / 10);
        break;
    case Qt::Key_Home:
        viewport_.Fit();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    update();
}

void CPriceChart::leaveEvent(QEvent* event) {
    mouse_.reset();
    update();
    QWidget::leaveEvent(event);
}

void CPriceChart::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* line = menu.addAction(QStringLiteral("Close &line"));
    line->setCheckable(true);
    line->setChecked(lineMode_);
    connect(line, &QAction::toggled, this, &CPriceChart::SetLineMode);
    QAction* fit = menu.addAction(QStringLiteral("&Fit all"));
    fit->setEnabled(!viewport_.IsFitted());
    connect(fit, &QAction::triggered, this, &CPriceChart::FitAll);
    menu.exec(event->globalPos());
}

void CPriceChart::resizeEvent(QResizeEvent* event) {
    PlaceButton();
    QWidget::resizeEvent(event);
}

void CPriceChart::PlaceButton() {
    const QSize size = lineButton_->sizeHint();
    lineButton_->setGeometry(width() - size.width() - 2, 1, size.width(), size.height());
}

} // namespace tessaly
