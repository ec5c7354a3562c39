// SPDX-License-Identifier: GPL-3.0-or-later
// The window side against Qt doing the bare work: the chart fill of a full ring, printing
// a 16,000-character line, and the message tree's items.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QTreeWidget>

#include "acquisition/AcquisitionState.h"
#include "app/ui/UserTools.h"
#include "baro/UnitBaro.h"
#include "baro/ui/BaroChartControl.h"
#include "bench/Fixtures.h"
#include "bench/Ratio.h"
#include "navtex/ui/NavtexTreeControl.h"

namespace {

// The chart's fill of a full ring and one render at 1280 x 600, against the bare drawing of
// the same points: one polyline into an image of that size.
bench::Figure ChartRender() {
    const QSize size(1280, 600);
    TChart chart;
    chart.resize(size);
    chart.SetFooterLines({"", "2 Tage"});
    TBaroChartControl control(&chart);
    TAcquisitionState acquisition;
    baro::TBaroChart baro(control, acquisition);
    baro.ChartSetup(46362.5, "dd/MM/yyyy HH:mm");
    for (int i = 0; i < baro::RingSize; ++i)
        acquisition.BaroSamples[static_cast<size_t>(i)] = static_cast<int16_t>(1300 + (i * 7919) % 400 / 4);
    acquisition.BaroHeight = 120;
    acquisition.Detection.ReceiverModel = "ZEL2B";
    QImage target(size, QImage::Format_RGB32);
    const auto render = [&] {
        baro.FillChart(10239, 10240);
        target.fill(Qt::white);
        QPainter painter(&target);
        chart.PrintInto(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    };
    render();
    const QList<QPointF> points = chart.Points();
    const double x0 = points.front().x(), x1 = points.back().x();
    double y0 = points.front().y(), y1 = y0;
    for (const QPointF& p : points) {
        y0 = std::min(y0, p.y());
        y1 = std::max(y1, p.y());
    }
    const auto bare = [&] {
        target.fill(Qt::white);
        QPainter painter(&target);
        QPolygonF line;
        line.reserve(points.size());
        for (const QPointF& p : points)
            line << QPointF((p.x() - x0) / (x1 - x0) * size.width(),
                            (y1 - p.y()) / (y1 - y0 + 1e-9) * size.height());
        painter.setPen(QColor(0, 128, 0));
        painter.drawPolyline(line);
    };
    const bench::Paired p = bench::Interleaved(render, bare, 15);
    return {"chart-render-10240", p.ratio, 1.5,
            "fill and render " + bench::Millis(p.step) + ", one polyline " + bench::Millis(p.baseline) +
                "; " + p.Spread()};
}

bench::Figure PrintLongLine(const std::string& folder) {
    QString line;
    for (int i = 0; line.size() < 16000; ++i) line += "W" + QString::number(i) + " ";
    const QFont font("Courier New", 10);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(folder + "long.pdf"));
    const auto printed = [&] {
        QPainter painter(&printer);
        PrintLines(painter, {line}, font);
    };
    // The bare work: the same characters already cut to the page's width, drawn line by line.
    QStringList pieces;
    {
        QPainter painter(&printer);
        const QFontMetrics metrics(font, painter.device());
        const int perLine =
            std::max(1, painter.viewport().width() / std::max(1, metrics.horizontalAdvance('W')));
        for (qsizetype at = 0; at < line.size(); at += perLine) pieces << line.mid(at, perLine);
    }
    const auto drawn = [&] {
        QPainter painter(&printer);
        painter.setFont(font);
        const QFontMetrics metrics(font, painter.device());
        int y = 0;
        for (const QString& piece : pieces) {
            if (y + metrics.lineSpacing() > painter.viewport().height()) {
                printer.newPage();
                y = 0;
            }
            painter.drawText(0, y + metrics.ascent(), piece);
            y += metrics.lineSpacing();
        }
    };
    const bench::Paired p = bench::Interleaved(printed, drawn, 15);
    return {"print-long-line", p.ratio, 2.0,
            "PrintLines " + bench::Millis(p.step) + ", pre-cut lines " + bench::Millis(p.baseline) + "; " +
                p.Spread()};
}

bench::Figure TreeItems() {
    const bench::Archive archive(5000);
    TReadMarkList marks;
    TAcquisitionState state;
    bench::NullTree none;
    navtex::TNavtexTree bare(none, marks, state, {});
    bare.SetArchiveRoot(archive.root);
    QTreeWidget widget;
    QPlainTextEdit memo;
    widget.resize(233, 600);
    widget.show();
    TNavtexTreeControl control(&widget, &memo);
    navtex::TNavtexTree shown(control, marks, state, {});
    shown.SetArchiveRoot(archive.root);
    const bench::Paired p = bench::Interleaved(
        [&] {
            shown.Rebuild();
            QCoreApplication::processEvents();
        },
        [&] { bare.Rebuild(); }, 11);
    return {"tree-widget-5k", p.ratio, 2.0,
            "rebuild into the tree " + bench::Millis(p.step) + ", without items " +
                bench::Millis(p.baseline) + "; " + p.Spread()};
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string folder = bench::TempFolder("zel2bench-g");
    std::vector<bench::Figure> figures{ChartRender(), PrintLongLine(folder), TreeItems()};
    std::filesystem::remove_all(folder);
    return bench::Report(figures);
}
