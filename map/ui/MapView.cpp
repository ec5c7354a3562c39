// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/ui/MapView.h"

#include "app/ui/Palette.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStaticText>
#include <QToolTip>
#include <QWheelEvent>

#include <cmath>
#include <map>
#include <tuple>

#include "stations/Stations.h"

namespace {

const QColor Sea(214, 232, 244), Land(238, 232, 213), Coast(160, 150, 120), Grid(185, 204, 222);
constexpr double HitPixels = 6;

// A font of so many points in the map's units, which are the screen's pixels at 96 to the
// inch on every device: a page of 600 dots to the inch is drawn scaled to them.
QFont Sized(QFont font, double points, const QPainter& painter) {
    font.setPointSizeF(points * 96.0 / painter.device()->logicalDpiY());
    return font;
}

// A shape on the projection in degrees: the longitude unwrapped from its first point on (a
// line across the antimeridian stays one line) and Mercator's ordinate; a circle as its outline.
QPolygonF Projected(const warnings::TShape& shape) {
    std::vector<position::TLatLon> points;
    if (shape.kind == warnings::TShape::Kind::Circle && !shape.points.empty())
        points = map::CirclePoints({shape.points[0].latitude, shape.points[0].longitude}, shape.radiusNm, 72);
    else
        for (const warnings::TPosition& p : shape.points) points.push_back({p.latitude, p.longitude});
    QPolygonF polygon;
    double previous = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        double longitude = points[i].longitude;
        if (i > 0) longitude = previous + std::remainder(longitude - previous, 360.0);
        previous = longitude;
        polygon << QPointF(longitude, map::MercatorY(points[i].latitude));
    }
    return polygon;
}

// A projected shape's pixels: its copy nearest the view's centre.
QPolygonF Pixels(const map::TView& view, const QPolygonF& projected) {
    if (projected.isEmpty()) return {};
    const double first = projected[0].x();
    const double shift = view.centerLongitude + std::remainder(first - view.centerLongitude, 360.0) - first;
    const double cx = view.width / 2 + (shift - view.centerLongitude) * view.scale;
    const double cy = view.height / 2 + map::MercatorY(view.centerLatitude) * view.scale;
    QPolygonF pixels(projected.size());
    for (qsizetype i = 0; i < projected.size(); ++i)
        pixels[i] = QPointF(cx + projected[i].x() * view.scale, cy - projected[i].y() * view.scale);
    return pixels;
}

double SegmentDistance(QPointF p, QPointF a, QPointF b) {
    const QPointF ab = b - a, ap = p - a;
    const double length = QPointF::dotProduct(ab, ab);
    const double t = length > 0 ? std::clamp(QPointF::dotProduct(ap, ab) / length, 0.0, 1.0) : 0.0;
    const QPointF d = p - (a + t * ab);
    return std::hypot(d.x(), d.y());
}

bool Near(const QPolygonF& polygon, warnings::TShape::Kind kind, QPointF p) {
    if (polygon.isEmpty()) return false;
    if (kind == warnings::TShape::Kind::Point || polygon.size() == 1) {
        const QPointF d = polygon[0] - p;
        return std::hypot(d.x(), d.y()) <= HitPixels;
    }
    for (qsizetype i = 1; i < polygon.size(); ++i)
        if (SegmentDistance(p, polygon[i - 1], polygon[i]) <= HitPixels) return true;
    return kind != warnings::TShape::Kind::Line && polygon.containsPoint(p, Qt::OddEvenFill);
}

void DrawLand(QPainter& painter, const map::TView& view, const map::TLand& land) {
    if (land.levels.size() != 3) return;
    const map::TLandLevel& level = land.levels[view.LandLevel()];
    const double west = view.West(), east = view.East(), south = view.South(), north = view.North();
    const double cx = view.width / 2 - view.centerLongitude * view.scale;
    const double cy = view.height / 2 + map::MercatorY(view.centerLatitude) * view.scale;
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    // The world repeats east and west when zoomed out far.
    const int turns = static_cast<int>(std::ceil((east - west) / 360)) + 1;
    for (const map::TLandPolygon& polygon : level.polygons) {
        if (polygon.north < south || polygon.south > north) continue;
        for (int k = -turns; k <= turns; ++k) {
            const double shift = 360.0 * k;
            if (polygon.east + shift < west || polygon.west + shift > east) continue;
            for (const map::TLandRing& ring : polygon.rings) {
                if (ring.east + shift < west || ring.west + shift > east || ring.north < south ||
                    ring.south > north)
                    continue;
                // Points closer than a pixel to the last one drawn add nothing.
                double lastX = 1e300, lastY = 1e300;
                bool first = true;
                for (const map::TLandPoint& p : ring.points) {
                    const double x = cx + (p.longitude + shift) * view.scale, y = cy - p.y * view.scale;
                    if (!first && std::fabs(x - lastX) + std::fabs(y - lastY) < 1.0) continue;
                    if (first)
                        path.moveTo(x, y);
                    else
                        path.lineTo(x, y);
                    first = false;
                    lastX = x, lastY = y;
                }
                path.closeSubpath();
            }
        }
    }
    // Without antialiasing: the coast is a hairline either way, and filling a path of
    // thousands of points over the whole picture costs a multiple with it.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Coast, 0));
    painter.setBrush(Land);
    painter.drawPath(path);
    painter.restore();
}

// A point's mark, drawn once for each colour, choice and pixel ratio.
const QPixmap& PointStamp(const QColor& colour, bool chosen, double ratio) {
    static std::map<std::tuple<QRgb, bool, int>, QPixmap> stamps;
    QPixmap& stamp = stamps[{colour.rgba(), chosen, static_cast<int>(ratio * 100)}];
    if (stamp.isNull()) {
        const double radius = chosen ? 6.0 : 4.5, side = 2 * radius + 4;
        stamp = QPixmap(
            QSize(static_cast<int>(std::ceil(side * ratio)), static_cast<int>(std::ceil(side * ratio))));
        stamp.setDevicePixelRatio(ratio);
        stamp.fill(Qt::transparent);
        QPainter painter(&stamp);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(colour);
        painter.setPen(QPen(chosen ? Qt::black : Qt::white, chosen ? 2 : 1));
        painter.drawEllipse(QPointF(side / 2, side / 2), radius, radius);
    }
    return stamp;
}

// A graticule label laid out once: the same few are drawn at every frame.
const QStaticText& Label(double degrees, bool latitude) {
    static std::map<std::pair<double, bool>, QStaticText> labels;
    if (labels.size() > 2000) labels.clear();
    QStaticText& label = labels[{degrees, latitude}];
    if (label.text().isEmpty()) {
        label.setText(QString::fromStdString(map::GraticuleLabel(degrees, latitude)));
        label.setTextFormat(Qt::PlainText);
    }
    return label;
}

// The lines lie under everything; their labels go over the warnings, at the edges.
void DrawGraticule(QPainter& painter, const map::TView& view, bool lines) {
    const double step = map::GraticuleStep(view.scale);
    const QFont font = Sized(painter.font(), 7.5, painter);
    painter.setFont(font);
    const QFontMetricsF metrics(font, painter.device());
    // Solid and faint: a dotted line would start its dots wherever the picture starts.
    painter.setPen(lines ? QPen(Grid, 0) : QPen(QColor(70, 90, 110)));
    for (double lon = std::floor(view.West() / step) * step; lon <= view.East(); lon += step) {
        const double x = view.ToPixel(0, lon).x;
        if (lines)
            painter.drawLine(QPointF(x, 0), QPointF(x, view.height));
        else
            painter.drawStaticText(QPointF(x + 3, 2), Label(lon, false));
    }
    const double south = std::max(view.South(), -map::MaxLatitude),
                 north = std::min(view.North(), map::MaxLatitude);
    for (double lat = std::floor(south / step) * step; lat <= north; lat += step) {
        if (lat < south) continue;
        const double y = view.ToPixel(lat, view.centerLongitude).y;
        if (lines)
            painter.drawLine(QPointF(0, y), QPointF(view.width, y));
        else
            painter.drawStaticText(QPointF(3, y - 3 - metrics.ascent()), Label(lat, true));
    }
}

// The stations' sites, each with its letters: one transmitter often has two or more,
// "EK/IT" for 518 kHz and then 490 kHz.
struct TSite {
    position::TLatLon at;
    QString letters;
};

const std::vector<TSite>& Sites() {
    static const std::vector<TSite> sites = [] {
        std::map<std::pair<double, double>, std::pair<QString, QString>> letters;
        for (const stations::TStation& s : stations::Table())
            if (s.placed) {
                auto& [at518, at490] = letters[{s.at.latitude, s.at.longitude}];
                (s.band == 490 ? at490 : at518) += QChar(s.letter);
            }
        std::vector<TSite> list;
        for (const auto& [at, bands] : letters)
            list.push_back({{at.first, at.second},
                            bands.first.isEmpty() || bands.second.isEmpty()
                                ? bands.first + bands.second
                                : bands.first + '/' + bands.second});
        return list;
    }();
    return sites;
}

// The sites' marks lie under the warnings; their letters go over them, ringed with white,
// or a warning's dot on the station's coast hides which station it is.
void DrawStations(QPainter& painter, const map::TView& v, bool letters) {
    if (v.scale < 4) return;
    painter.save();  // its bold letters are its own
    QFont font = Sized(painter.font(), 7.5, painter);
    font.setBold(true);
    painter.setFont(font);
    painter.setBrush(Qt::white);
    for (const TSite& site : Sites()) {
        const map::TPixel p = v.ToPixel(site.at);
        if (p.x < -40 || p.y < -20 || p.x > v.width + 20 || p.y > v.height + 20) continue;
        if (!letters) {
            painter.setPen(QColor(40, 40, 40));
            painter.drawPolygon(
                QPolygonF{QPointF(p.x, p.y - 6), QPointF(p.x - 4, p.y + 2), QPointF(p.x + 4, p.y + 2)});
            continue;
        }
        const QPointF at(p.x + 5, p.y - 2);
        painter.setPen(Qt::white);
        for (const QPointF& by : {QPointF(-1, 0), QPointF(1, 0), QPointF(0, -1), QPointF(0, 1)})
            painter.drawText(at + by, site.letters);
        painter.setPen(QColor(40, 40, 40));
        painter.drawText(at, site.letters);
    }
    painter.restore();
}

void DrawScaleBar(QPainter& painter, const map::TView& view) {
    const double nm = map::ScaleBarNm(view.NmPerPixel(), 160);
    if (nm <= 0) return;
    const double length = nm / view.NmPerPixel();
    const QPointF start(12, view.height - 14);
    painter.setPen(QPen(Qt::black, 1.5));
    painter.drawLine(start, start + QPointF(length, 0));
    painter.drawLine(start, start + QPointF(0, -5));
    painter.drawLine(start + QPointF(length, 0), start + QPointF(length, -5));
    painter.drawText(start + QPointF(4, -6),
                     QLocale(QLocale::French).toString(nm) + QCoreApplication::translate("TMapView", " nm"));
}

struct TLegendEntry {
    const char* text;
    char subject;
};
const TLegendEntry Legend[] = {
    {QT_TRANSLATE_NOOP("TMapView", "Avertissements de navigation"), 'A'},
    {QT_TRANSLATE_NOOP("TMapView", "Avis de coup de vent"), 'B'},
    {QT_TRANSLATE_NOOP("TMapView", "Recherche et sauvetage"), 'D'},
    {QT_TRANSLATE_NOOP("TMapView", "Glaces"), 'C'},
    {QT_TRANSLATE_NOOP("TMapView", "Autres messages"), 'Z'},
};

QString EndedText() {
    return QCoreApplication::translate("TMapView", "Terminés (annulés, expirés)");
}
QString BoatText() {
    return QCoreApplication::translate("TMapView", "Bateau et distance d’alerte");
}

QFont LegendFont(const QPainter& painter) {
    return Sized(painter.font(), 8, painter);
}

QSizeF LegendSize(const QPainter& painter, bool showEnded) {
    // Measured once for each font and device: it is asked at every frame.
    static std::map<std::tuple<QString, int, int, bool>, QSizeF> sizes;
    const QFont font = LegendFont(painter);
    QSizeF& size =
        sizes[{font.key(), painter.device()->logicalDpiX(), painter.device()->logicalDpiY(), showEnded}];
    if (!size.isEmpty()) return size;
    const QFontMetricsF metrics(font, painter.device());
    double width = std::max(metrics.horizontalAdvance(EndedText()), metrics.horizontalAdvance(BoatText()));
    for (const TLegendEntry& e : Legend)
        width = std::max(width, metrics.horizontalAdvance(QCoreApplication::translate("TMapView", e.text)));
    size = {width + 32, (6 + (showEnded ? 1 : 0)) * (metrics.height() + 2) + 8};
    return size;
}

// The legend's box with its top left at the painter's origin.
void DrawLegend(QPainter& painter, bool showEnded) {
    const QFont font = LegendFont(painter);
    painter.setFont(font);
    const QFontMetricsF metrics(font, painter.device());
    const double line = metrics.height() + 2;
    const QRectF box(QPointF(0, 0), LegendSize(painter, showEnded));
    painter.setPen(QColor(120, 120, 120));
    painter.setBrush(QColor(255, 255, 255, 220));
    painter.drawRect(box);
    double y = box.top() + 4;
    const auto row = [&](const QColor& colour, const QString& text, bool ring = false) {
        painter.setPen(QPen(colour, ring ? 1.5 : 1, ring ? Qt::DashLine : Qt::SolidLine));
        painter.setBrush(ring ? Qt::NoBrush : QBrush(colour));
        painter.drawEllipse(QPointF(box.left() + 12, y + line / 2), 5, 5);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(box.left() + 24, y + metrics.ascent() + 1), text);
        y += line;
    };
    for (const TLegendEntry& e : Legend)
        row(TMapView::SubjectColor(e.subject), QCoreApplication::translate("TMapView", e.text));
    if (showEnded) row(QColor(160, 160, 160), EndedText());
    row(QColor(0, 60, 160), BoatText(), true);
}

void DrawBoat(QPainter& painter, const QPolygonF& ring, QPointF boat) {
    painter.setPen(QPen(QColor(0, 60, 160), 1.5, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(ring);
    painter.setPen(QPen(Qt::white, 1.5));
    painter.setBrush(QColor(0, 60, 160));
    painter.drawEllipse(boat, 5, 5);
}

}  // namespace

TMapView::TMapView(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setMinimumSize(200, 150);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::OpenHandCursor);
}

QColor TMapView::SubjectColor(char subject) {
    switch (subject) {
        case 'A':
        case 'L':
            return QColor(230, 110, 0);
        case 'B':
            return QColor(150, 40, 170);
        case 'D':
            return QColor(215, 0, 0);
        case 'C':
            return QColor(0, 140, 200);
        default:
            return QColor(110, 95, 60);
    }
}

void TMapView::SetLand(const map::TLand* l) {
    land = l;
    ++version;
    update();
}

void TMapView::SetItems(std::vector<TMapItem> list) {
    items = std::move(list);
    projected.clear();
    for (const TMapItem& item : items) {
        std::vector<QPolygonF>& shapes = projected.emplace_back();
        for (const warnings::TShape& shape : item.shapes) shapes.push_back(Projected(shape));
    }
    ++version;
    update();
}

void TMapView::SetBoat(std::optional<position::TLatLon> at, double range) {
    boat = at;
    rangeNm = range;
    ring = at ? Projected({warnings::TShape::Kind::Circle, {{at->latitude, at->longitude}}, range})
              : QPolygonF();
    update();
}

void TMapView::SetShowEnded(bool show) {
    showEnded = show;
    ++version;
    update();
}

void TMapView::SetSelected(int64_t id) {
    selected = id;
    update();
}

void TMapView::CenterOn(int64_t id) {
    View();
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].id != id) continue;
        double west = 1e9, east = -1e9, south = 1e9, north = -1e9;
        for (const QPolygonF& shape : projected[i]) {
            const QPolygonF pixels = Pixels(view, shape);
            for (const QPointF& p : pixels) {
                const position::TLatLon at = view.FromPixel({p.x(), p.y()});
                const double lon = view.centerLongitude + (p.x() - view.width / 2) / view.scale;
                west = std::min(west, lon), east = std::max(east, lon);
                south = std::min(south, at.latitude), north = std::max(north, at.latitude);
            }
        }
        if (west > east) return;
        const double spanX = (east - west) * view.scale,
                     spanY = (map::MercatorY(north) - map::MercatorY(south)) * view.scale;
        if (spanX > view.width * 0.8 || spanY > view.height * 0.8) {
            view.Fit(west, south, east, north);
        } else {
            view.centerLongitude = (west + east) / 2;
            view.centerLatitude = map::LatitudeOfY((map::MercatorY(north) + map::MercatorY(south)) / 2);
            view.Pan(0, 0);  // back within bounds
        }
        selected = id;
        update();
        emit ViewChanged();
        return;
    }
}

void TMapView::WholeArea() {
    View();
    double west = 1e9, east = -1e9, south = 1e9, north = -1e9;
    for (const TMapItem& item : items) {
        if (!item.inForce) continue;
        for (const warnings::TShape& shape : item.shapes)
            for (const warnings::TPosition& p : shape.points) {
                west = std::min(west, p.longitude), east = std::max(east, p.longitude);
                south = std::min(south, p.latitude), north = std::max(north, p.latitude);
            }
    }
    if (boat) {
        west = std::min(west, boat->longitude), east = std::max(east, boat->longitude);
        south = std::min(south, boat->latitude), north = std::max(north, boat->latitude);
    }
    if (west > east)
        view.Fit(-5, 50, 15, 60);
    else
        view.Fit(west - 1, south - 0.5, east + 1, north + 0.5);
    update();
    emit ViewChanged();
}

int64_t TMapView::ItemAt(QPointF point) const {
    // Points and lines over areas: the smallest thing under the mouse is the one meant.
    int64_t area = 0;
    map::TView v = view;
    v.width = width();
    v.height = height();
    for (size_t i = items.size(); i-- > 0;) {
        const TMapItem& item = items[i];
        if (!item.inForce && !showEnded) continue;
        for (size_t j = 0; j < item.shapes.size(); ++j) {
            const warnings::TShape::Kind kind = item.shapes[j].kind;
            if (!Near(Pixels(v, projected[i][j]), kind, point)) continue;
            if (kind == warnings::TShape::Kind::Point || kind == warnings::TShape::Kind::Line) return item.id;
            if (!area) area = item.id;
        }
    }
    return area;
}

void TMapView::DrawItem(QPainter& painter, const map::TView& v, size_t index, TLook look) const {
    const TMapItem& item = items[index];
    const bool chosen = look != TLook::Plain;
    // On the screen and in pictures a point is a stamp drawn once per colour; on a page it
    // stays a vector.
    const int device = painter.device()->devType();
    const bool stamps =
        device == QInternal::Image || device == QInternal::Widget || device == QInternal::Pixmap;
    const double ratio = painter.device()->devicePixelRatioF();
    const QRectF shown(-20, -20, v.width + 40, v.height + 40);
    const QColor colour = item.inForce ? SubjectColor(item.subject) : QColor(160, 160, 160);
    for (size_t j = 0; j < item.shapes.size(); ++j) {
        const warnings::TShape& shape = item.shapes[j];
        const QPolygonF pixels = Pixels(v, projected[index][j]);
        if (pixels.isEmpty() || !pixels.boundingRect().adjusted(-1, -1, 1, 1).intersects(shown)) continue;
        // Outlines of areas one pixel wide: thicker ones cost a stroke of their own.
        QPen pen(colour, shape.kind == warnings::TShape::Kind::Line || chosen ? (chosen ? 3.5 : 2) : 0);
        if (!item.inForce) pen.setStyle(Qt::DashLine);
        painter.setPen(pen);
        switch (shape.kind) {
            case warnings::TShape::Kind::Point:
                if (stamps) {
                    const QPixmap& stamp = PointStamp(colour, chosen, ratio);
                    const QSizeF size = QSizeF(stamp.size()) / ratio;
                    painter.drawPixmap(
                        QPointF(pixels[0].x() - size.width() / 2, pixels[0].y() - size.height() / 2), stamp);
                    break;
                }
                painter.setBrush(colour);
                painter.setPen(QPen(chosen ? Qt::black : Qt::white, chosen ? 2 : 1));
                painter.drawEllipse(pixels[0], chosen ? 6.0 : 4.5, chosen ? 6.0 : 4.5);
                break;
            case warnings::TShape::Kind::Line:
                painter.setBrush(Qt::NoBrush);
                painter.drawPolyline(pixels);
                break;
            case warnings::TShape::Kind::Polygon:
            case warnings::TShape::Kind::Circle: {
                // Over its own plain fill, a chosen area adds what makes the two as dark as one.
                QColor fill = colour;
                fill.setAlpha(look == TLook::Chosen ? 90 : look == TLook::ChosenOver ? 55 : 45);
                // The fill without antialiasing (at a third of the cost), the outline
                // over it with: the edge looks smooth all the same.
                painter.setRenderHint(QPainter::Antialiasing, false);
                painter.setPen(Qt::NoPen);
                painter.setBrush(fill);
                painter.drawPolygon(pixels);
                painter.setRenderHint(QPainter::Antialiasing, true);
                painter.setPen(pen);
                painter.drawPolyline(QPolygonF(pixels) << pixels.front());
                break;
            }
        }
    }
}

void TMapView::DrawBase(QPainter& painter, const map::TView& v, int64_t without) const {
    painter.fillRect(QRectF(0, 0, v.width, v.height), Sea);
    painter.setRenderHint(QPainter::Antialiasing, true);
    if (land) DrawLand(painter, v, *land);
    DrawGraticule(painter, v, true);
    DrawStations(painter, v, false);
    // Ended ones beneath.
    for (const bool inForce : {false, true})
        for (size_t i = 0; i < items.size(); ++i)
            if (items[i].inForce == inForce && (inForce || showEnded) && items[i].id != without)
                DrawItem(painter, v, i, TLook::Plain);
    DrawStations(painter, v, true);
}

void TMapView::DrawTop(QPainter& painter, const map::TView& v, TLook look) const {
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].id == selected && (items[i].inForce || showEnded)) DrawItem(painter, v, i, look);
    DrawGraticule(painter, v, false);
    // On the screen the boat and the legend are pictures drawn again only when they change.
    const bool screen = look == TLook::ChosenOver;
    if (boat) {
        const QPolygonF ring = Pixels(v, this->ring);
        const map::TPixel p = v.ToPixel(*boat);
        const QRectF area =
            ring.boundingRect().united(QRectF(p.x - 6, p.y - 6, 12, 12)).adjusted(-2, -2, 2, 2);
        if (screen)
            ringStamp.Paint(painter, area, {boat->latitude, rangeNm, v.scale}, [&](QPainter& stamp) {
                DrawBoat(stamp, ring.translated(-area.topLeft()), QPointF(p.x, p.y) - area.topLeft());
            });
        else
            DrawBoat(painter, ring, QPointF(p.x, p.y));
    }
    DrawScaleBar(painter, v);
    const QSizeF legend = LegendSize(painter, showEnded);
    const QPointF corner(v.width - legend.width() - 8, 8);
    if (screen) {
        legendStamp.Paint(painter, QRectF(corner, legend).adjusted(-1, -1, 1, 1), {double(showEnded)},
                          [&](QPainter& stamp) {
                              stamp.translate(1, 1);
                              DrawLegend(stamp, showEnded);
                          });
    } else {
        painter.save();
        painter.translate(corner);
        DrawLegend(painter, showEnded);
        painter.restore();
    }
}

void TMapView::TStamp::Paint(QPainter& painter, const QRectF& area, std::vector<double> key,
                             const std::function<void(QPainter&)>& draw) {
    // Placed on whole device pixels: what falls between them is part of the key.
    const double ratio = painter.device()->devicePixelRatioF();
    const QPointF corner(std::floor(area.left() * ratio), std::floor(area.top() * ratio));
    const QPointF between = area.topLeft() * ratio - corner;
    const QSize size(static_cast<int>(std::ceil(area.right() * ratio) - corner.x()),
                     static_cast<int>(std::ceil(area.bottom() * ratio) - corner.y()));
    key.insert(key.end(), {ratio, std::round(between.x() * 1000), std::round(between.y() * 1000),
                           double(painter.device()->logicalDpiX()), double(painter.device()->logicalDpiY())});
    if (size.isEmpty()) return;
    if (key != this->key || image.size() != size) {
        image = QImage(size, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        // Text the size it has on the device it goes to.
        image.setDotsPerMeterX(qRound(painter.device()->logicalDpiX() / 0.0254));
        image.setDotsPerMeterY(qRound(painter.device()->logicalDpiY() / 0.0254));
        image.fill(Qt::transparent);
        QPainter stamp(&image);
        stamp.setFont(painter.font());
        stamp.setRenderHints(painter.renderHints());
        stamp.translate(between / ratio);
        draw(stamp);
        this->key = std::move(key);
    }
    painter.drawImage(corner / ratio, image);
}

void TMapView::Render(QPainter& painter, const QSizeF& whole, const QString& title) const {
    painter.save();
    const QFont plain = painter.font();
    QSizeF size = whole;
    if (!title.isEmpty()) {
        // The title line above the map, never over it.
        QFont big = Sized(plain, 11, painter);
        big.setBold(true);
        painter.setFont(big);
        const double band = QFontMetricsF(big, painter.device()).height() + 8;
        painter.fillRect(QRectF(0, 0, whole.width(), band), Qt::white);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(4, 0, whole.width() - 4, band), Qt::AlignVCenter | Qt::AlignLeft, title);
        painter.translate(0, band);
        painter.setFont(plain);
        size.setHeight(whole.height() - band);
    }
    map::TView v = view;
    v.width = size.width();
    v.height = size.height();
    painter.setClipRect(QRectF(QPointF(0, 0), size));
    DrawBase(painter, v, selected);
    DrawTop(painter, v, TLook::Chosen);
    painter.restore();
}

void TMapView::Paint(QPainter& painter) const {
    map::TView v = view;
    v.width = width();
    v.height = height();
    const double ratio = painter.device()->devicePixelRatioF();
    // Where the view's top left lies on the whole world's picture at this scale, in device pixels.
    const QPointF at((v.centerLongitude * v.scale - v.width / 2) * ratio,
                     (-map::MercatorY(v.centerLatitude) * v.scale - v.height / 2) * ratio);
    const QPointF offset = at - base.origin;
    const QSizeF needed = QSizeF(v.width, v.height) * ratio;
    const int dotsPerMeter = qRound(painter.device()->logicalDpiY() / 0.0254);
    const auto whole = [](double d) { return std::fabs(d - std::round(d)) < 1e-3; };
    const bool reuse = !base.image.isNull() && base.scale == v.scale && base.ratio == ratio &&
                       base.version == version && base.image.dotsPerMeterY() == dotsPerMeter &&
                       whole(offset.x()) && whole(offset.y()) && std::round(offset.x()) >= 0 &&
                       std::round(offset.y()) >= 0 &&
                       std::round(offset.x()) + needed.width() <= base.image.width() + 1e-3 &&
                       std::round(offset.y()) + needed.height() <= base.image.height() + 1e-3;
    if (!reuse) {
        // Drawn about the same centre, a margin wider each way once the map is dragged at
        // this scale so that a pan copies it; at a new scale (the wheel) only what is seen.
        const double margin = base.scale == v.scale && base.ratio == ratio ? BaseMargin : 0;
        map::TView wide = v;
        wide.width += 2 * margin;
        wide.height += 2 * margin;
        const QSize pixels = (QSizeF(wide.width, wide.height) * ratio).toSize();
        if (base.image.size() != pixels) {
            base.image = {};  // never two at once
            base.image = QImage(pixels, QImage::Format_RGB32);
        }
        base.image.setDevicePixelRatio(ratio);
        // The stations' letters the size they have on the device.
        base.image.setDotsPerMeterX(qRound(painter.device()->logicalDpiX() / 0.0254));
        base.image.setDotsPerMeterY(dotsPerMeter);
        QPainter offscreen(&base.image);
        offscreen.setFont(painter.font());
        DrawBase(offscreen, wide, 0);
        base.origin = at - QPointF(margin, margin) * ratio;
        base.scale = v.scale;
        base.ratio = ratio;
        base.version = version;
    }
    const QPointF from = at - base.origin;
    painter.drawImage(QRectF(0, 0, v.width, v.height), base.image,
                      QRectF(std::round(from.x()), std::round(from.y()), needed.width(), needed.height()));
    painter.save();
    DrawTop(painter, v, TLook::ChosenOver);
    painter.restore();
}

void TMapView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (palette::Current() == palette::TMode::Day) {
        Paint(painter);
        return;
    }
    // At dusk and at night the map as a picture, every pixel shaded: its colours stay
    // the day's for pages and files.
    const double ratio = devicePixelRatioF();
    QImage picture((QSizeF(size()) * ratio).toSize(), QImage::Format_RGB32);
    picture.setDevicePixelRatio(ratio);
    {
        QPainter offscreen(&picture);
        Paint(offscreen);
    }
    palette::ShadeInPlace(picture);
    painter.drawImage(QPointF(0, 0), picture);
}

void TMapView::hideEvent(QHideEvent* event) {
    // A hidden map costs no memory.
    base = {};
    ringStamp = {};
    legendStamp = {};
    QWidget::hideEvent(event);
}

void TMapView::resizeEvent(QResizeEvent* event) {
    view.width = width();
    view.height = height();
    QWidget::resizeEvent(event);
}

void TMapView::wheelEvent(QWheelEvent* event) {
    const double steps = event->angleDelta().y() / 120.0;
    if (steps == 0) return;
    view.ZoomAbout(std::pow(1.25, steps), {event->position().x(), event->position().y()});
    update();
    emit ViewChanged();
    event->accept();
}

void TMapView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    pressed = true;
    dragging = false;
    pressedAt = lastAt = event->position();
}

void TMapView::mouseMoveEvent(QMouseEvent* event) {
    if (!pressed) return;
    const QPointF at = event->position();
    if (!dragging && (at - pressedAt).manhattanLength() < 4) return;
    if (!dragging) setCursor(Qt::ClosedHandCursor);
    dragging = true;
    view.Pan(at.x() - lastAt.x(), at.y() - lastAt.y());
    lastAt = at;
    update();
}

void TMapView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed) return;
    pressed = false;
    setCursor(Qt::OpenHandCursor);
    if (dragging) {
        dragging = false;
        emit ViewChanged();
        return;
    }
    if (const int64_t id = ItemAt(event->position())) {
        selected = id;
        update();
        emit ItemChosen(id);
    }
}

void TMapView::mouseDoubleClickEvent(QMouseEvent* event) {
    view.ZoomAbout(2, {event->position().x(), event->position().y()});
    update();
    emit ViewChanged();
}

bool TMapView::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const int64_t id = ItemAt(help->pos());
    for (const TMapItem& item : items) {
        if (item.id != id) continue;
        QToolTip::showText(help->globalPos(),
                           QCoreApplication::translate("TMapView", "%1 · %2\nreçu %3\n%4")
                               .arg(item.name, item.station, item.received, item.firstLine),
                           this);
        return true;
    }
    QToolTip::hideText();
    event->ignore();
    return true;
}
