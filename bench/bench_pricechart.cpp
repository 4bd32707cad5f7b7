// The price chart of the data display with 50 years of daily data (12,500 records): reading the
// file into the records' table, building the chart's bars, and the first paint of the chart at a
// usual pane size, fitted (close line) and zoomed in (candlesticks).
#include "browser/pricechart.h"
#include "browser/securitydatamodel.h"
#include "engine/datenumber.h"
#include "engine/filefunctions.h"
#include "engine/numbers.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWheelEvent>

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

constexpr int kRecords = 12500;

std::filesystem::path MakeFile() {
    const auto file = std::filesystem::temp_directory_path() / "tessaly-bench-chart.csv";
    std::ofstream out(file, std::ios::trunc);
    out << tessaly::kSecurityFileHeader;
    std::mt19937 random(12500);
    std::normal_distribution<double> move(0.0002, 0.015);
    double close = 20;
    tessaly::DateNumber date = 19770103;
    for (int written = 0; written < kRecords; date = tessaly::NextDay(date)) {
        if (tessaly::IsWeekend(date))
            continue;
        const double open = close;
        close *= std::exp(move(random));
        const std::string closeText = tessaly::FormatPrice(close);
        out << '\n'
            << tessaly::DateNumberToStored(date) << ',' << tessaly::FormatPrice(open) << ','
            << tessaly::FormatPrice(std::max(open, close) * 1.01) << ','
            << tessaly::FormatPrice(std::min(open, close) * 0.99) << ',' << closeText << ','
            << 100000 + written * 7 % 50000 << ',' << closeText;
        ++written;
    }
    return file;
}

const std::filesystem::path& File() {
    static const std::filesystem::path file = MakeFile();
    return file;
}

void Paint(tessaly::CPriceChart& chart, QImage& image) {
    QPainter painter(&image);
    chart.render(&painter);
}

// What double-clicking a 50-year security costs before the chart shows: the table, the bars and
// the first paint.
void OpenAndFirstPaint(benchmark::State& state) {
    tessaly::SecurityDataModel model;
    QImage image(1200, 500, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        tessaly::CPriceChart chart;
        chart.resize(image.size());
        model.Load(File());
        chart.SetRecords(model);
        Paint(chart, image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["bars"] = static_cast<double>(kRecords);
}
BENCHMARK(OpenAndFirstPaint)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BuildBars(benchmark::State& state) {
    tessaly::SecurityDataModel model;
    model.Load(File());
    tessaly::CPriceChart chart;
    for (auto _ : state)
        chart.SetRecords(model);
}
BENCHMARK(BuildBars)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void Repaint(benchmark::State& state) {
    tessaly::SecurityDataModel model;
    model.Load(File());
    tessaly::CPriceChart chart;
    QImage image(1200, 500, QImage::Format_ARGB32_Premultiplied);
    chart.resize(image.size());
    chart.SetRecords(model);
    if (state.range(0) != 0) {
        // A hundred-odd bars: candlesticks.
        const double factor = 120.0 / kRecords;
        QWheelEvent wheel(QPointF(600, 250), QPointF(600, 250), QPoint(),
                          QPoint(0, static_cast<int>(std::log(factor) / std::log(0.8) * 120)), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&chart, &wheel);
    }
    for (auto _ : state) {
        Paint(chart, image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel(chart.DrawsCandles() ? "candles" : "close line");
}
BENCHMARK(Repaint)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(1.0);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove(File());
    return 0;
}
