// The chart fill runs at start-up, after every barograph download and after the
// configuration dialog: a full ring of 10,240 samples must take milliseconds.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include "acquisition/AcquisitionState.h"
#include "baro/BaroChartControl.h"
#include "baro/UnitBaro.h"

namespace {

void BM_ChartFillAndRender(benchmark::State& state) {
    TChart chart;
    chart.resize(980, 600);
    chart.SetFooterLines({"", "2 Tage"});
    TBaroChartControl control(&chart);
    TAcquisitionState acquisition;
    baro::TBaroChart baro(control, acquisition);
    baro.ChartSetup(46362.5, "dd/MM/yyyy HH:mm");
    for (int i = 0; i < baro::RingSize; ++i)
        acquisition.BaroSamples[static_cast<size_t>(i)] = static_cast<int16_t>(1300 + (i * 7919) % 400 / 4);
    acquisition.BaroHeight = 120;
    acquisition.Detection.ReceiverModel = "ZEL2B";
    QImage target(chart.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        baro.FillChart(10239, 10240);
        QPainter painter(&target);
        chart.PrintInto(painter, QRectF(QPointF(0, 0), QSizeF(target.size())));
    }
}

}  // namespace

BENCHMARK(BM_ChartFillAndRender)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
