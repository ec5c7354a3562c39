// SPDX-License-Identifier: GPL-3.0-or-later
// The window side against Qt doing the bare work: the chart fill of a full ring, printing
// a 16,000-character line, and the message tree's items.
#include <QApplication>

#include <QImage>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QTreeWidget>
#include <array>
#include <chrono>

#include "acquisition/AcquisitionState.h"
#include "app/ui/UserTools.h"
#include "baro/UnitBaro.h"
#include "baro/ui/BaroChartControl.h"
#include "bench/Fixtures.h"
#include "bench/Ratio.h"
#include "map/ui/MapPage.h"
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

// The map page's paint at 1920 x 1080 over the North Sea and the Baltic (1:50m land) with as
// many warnings as the corpus has in force at its end (419: points, lines, areas, circles),
// a frame as the window paints it while the map is dragged a few pixels, against one
// polyline through the land points in view into an image of the same size. The frames that
// draw the whole map afresh (a zoom, a pan past the kept margin) are measured against the
// budget of a frame at 30 a second.
std::vector<bench::Figure> MapRender() {
    const QSize size(1920, 1080);
    TMapView map;
    map.resize(size);
    map.SetLand(&TMapPage::Land());
    std::vector<TMapItem> items;
    for (int i = 0; i < 419; ++i) {
        const double lat = 50 + (i * 37 % 100) / 10.0, lon = -4 + (i * 53 % 260) / 10.0;
        TMapItem item;
        item.id = i + 1;
        item.subject = "ABCDL"[i % 5];
        using K = warnings::TShape::Kind;
        const K kind = std::array{K::Point, K::Point, K::Line, K::Polygon, K::Circle}[i % 5];
        warnings::TShape shape{kind, {{lat, lon}}, kind == K::Circle ? 10.0 : 0.0};
        if (kind == K::Line || kind == K::Polygon)
            shape.points = {{lat, lon}, {lat + 0.2, lon + 0.3}, {lat - 0.1, lon + 0.5}};
        item.shapes = {shape};
        items.push_back(item);
    }
    map.SetItems(items);
    map.SetBoat(position::TLatLon{54.17, 7.885}, 50);
    map.View().centerLatitude = 56, map.View().centerLongitude = 9, map.View().scale = 75;
    QImage target(size, QImage::Format_RGB32);
    const auto render = [&] {
        QPainter painter(&target);
        map.Paint(painter);
    };
    // Frames come in runs while the map is dragged: eight of them a few pixels apart, to and
    // fro, against eight polylines.
    int frame = 0;
    const auto dragged = [&] {
        for (int i = 0; i < 8; ++i) {
            const double way = ++frame % 2 ? 1 : -1;
            map.View().Pan(7 * way, 3 * way);
            render();
        }
    };
    // The same land points, projected once: the bare drawing of them.
    const map::TView& view = map.View();
    QPolygonF land;
    if (TMapPage::Land().levels.size() != 3) return {{"map-render", 99, 1.5, "the map's land is missing"}};
    for (const map::TLandPolygon& polygon : TMapPage::Land().levels[view.LandLevel()].polygons)
        if (polygon.east >= view.West() && polygon.west <= view.East() && polygon.north >= view.South() &&
            polygon.south <= view.North())
            for (const map::TLandRing& ring : polygon.rings)
                for (const map::TLandPoint& p : ring.points) {
                    const map::TPixel px = view.ToPixel(p.latitude, p.longitude);
                    land << QPointF(px.x, px.y);
                }
    const auto bare = [&] {
        for (int i = 0; i < 8; ++i) {
            target.fill(Qt::white);
            QPainter painter(&target);
            painter.drawPolyline(land);
        }
    };
    const bench::Paired p = bench::Interleaved(dragged, bare, 31);
    const auto slowest = [&](auto&& move, int frames) {
        double most = 0;
        for (int i = 0; i < frames; ++i) {
            move(i);
            const auto start = std::chrono::steady_clock::now();
            render();
            most = std::max(most,
                            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        }
        return most;
    };
    // Sixty frames dragged across (past the margin several times); wheel steps in and out.
    const double pan = slowest([&](int) { map.View().Pan(12, 4); }, 60);
    const double zoom = slowest([&](int i) { map.View().ZoomAbout(i < 5 ? 1.25 : 0.8, {900, 500}); }, 10);
    size_t points = 0;
    for (const map::TLandLevel& level : TMapPage::Land().levels) points += level.points;
    const double landMb = (points * sizeof(map::TLandPoint) + 64.0 * 5605) / 1048576;
    return {{"map-render", p.ratio, 1.5,
             "eight frames " + bench::Millis(p.step) + " (" + std::to_string(land.size()) +
                 " land points in view), eight polylines " + bench::Millis(p.baseline) + "; " + p.Spread()},
            {"map-pan-slowest-frame-over-30fps", pan * 30, 1,
             "slowest of 60 panned frames " + bench::Millis(pan)},
            {"map-zoom-slowest-frame-over-30fps", zoom * 30, 1,
             "slowest of 10 frames zoomed in and out " + bench::Millis(zoom)},
            {"map-land-mb", landMb, 40, std::to_string(points) + " points at three scales"}};
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(zel2);  // the map's land
    const std::string folder = bench::TempFolder("zel2bench-g");
    std::vector<bench::Figure> figures{ChartRender(), PrintLongLine(folder), TreeItems()};
    for (const bench::Figure& f : MapRender()) figures.push_back(f);
    std::filesystem::remove_all(folder);
    return bench::Report(figures);
}
