// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/ui/MapView.h"

#include "app/ui/Palette.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <QWheelEvent>

#include <cmath>
#include <map>
#include <tuple>

#include "stations/Stations.h"

namespace {

const QColor Sea(214, 232, 244), Land(238, 232, 213), Coast(160, 150, 120), Grid(150, 170, 190);
constexpr double HitPixels = 6;

// The shape's pixels, unwrapped beside the view's centre: a line across the antimeridian
// stays one line.
QPolygonF Pixels(const map::TView& view, const warnings::TShape& shape) {
    std::vector<position::TLatLon> points;
    if (shape.kind == warnings::TShape::Kind::Circle && !shape.points.empty())
        points = map::CirclePoints({shape.points[0].latitude, shape.points[0].longitude}, shape.radiusNm, 72);
    else
        for (const warnings::TPosition& p : shape.points) points.push_back({p.latitude, p.longitude});
    QPolygonF polygon;
    double previous = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        double longitude = points[i].longitude;
        if (i == 0)
            longitude = view.centerLongitude + std::remainder(longitude - view.centerLongitude, 360.0);
        else
            longitude = previous + std::remainder(longitude - previous, 360.0);
        previous = longitude;
        const map::TPixel px = view.ToPixel(points[i].latitude, longitude);
        polygon << QPointF(px.x, px.y);
    }
    return polygon;
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

QString Label(double degrees, bool latitude) {
    return QString::fromStdString(map::GraticuleLabel(degrees, latitude));
}

void DrawGraticule(QPainter& painter, const map::TView& view) {
    const double step = map::GraticuleStep(view.scale);
    painter.setPen(QPen(Grid, 0, Qt::DotLine));
    QFont font = painter.font();
    font.setPointSizeF(7.5);
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    for (double lon = std::floor(view.West() / step) * step; lon <= view.East(); lon += step) {
        const double x = view.ToPixel(0, lon).x;
        painter.setPen(QPen(Grid, 0, Qt::DotLine));
        painter.drawLine(QPointF(x, 0), QPointF(x, view.height));
        painter.setPen(QColor(70, 90, 110));
        painter.drawText(QPointF(x + 3, metrics.ascent() + 2), Label(lon, false));
    }
    const double south = std::max(view.South(), -map::MaxLatitude),
                 north = std::min(view.North(), map::MaxLatitude);
    for (double lat = std::floor(south / step) * step; lat <= north; lat += step) {
        if (lat < south) continue;
        const double y = view.ToPixel(lat, view.centerLongitude).y;
        painter.setPen(QPen(Grid, 0, Qt::DotLine));
        painter.drawLine(QPointF(0, y), QPointF(view.width, y));
        painter.setPen(QColor(70, 90, 110));
        painter.drawText(QPointF(3, y - 3), Label(lat, true));
    }
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

void DrawLegend(QPainter& painter, const map::TView& view, bool showEnded) {
    QFont font = painter.font();
    font.setPointSizeF(8);
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    const int rows = 6 + (showEnded ? 1 : 0);
    double width = 0;
    for (const TLegendEntry& e : Legend)
        width = std::max(width, metrics.horizontalAdvance(QCoreApplication::translate("TMapView", e.text)));
    width = std::max(width, metrics.horizontalAdvance(
                                QCoreApplication::translate("TMapView", "Terminés (annulés, expirés)")));
    const double line = metrics.height() + 2;
    const QRectF box(view.width - width - 40, 8, width + 32, rows * line + 8);
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
    if (showEnded)
        row(QColor(160, 160, 160), QCoreApplication::translate("TMapView", "Terminés (annulés, expirés)"));
    row(QColor(0, 60, 160), QCoreApplication::translate("TMapView", "Bateau et distance d’alerte"), true);
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
    update();
}

void TMapView::SetItems(std::vector<TMapItem> list) {
    items = std::move(list);
    update();
}

void TMapView::SetBoat(std::optional<position::TLatLon> at, double range) {
    boat = at;
    rangeNm = range;
    update();
}

void TMapView::SetShowEnded(bool show) {
    showEnded = show;
    update();
}

void TMapView::SetSelected(int64_t id) {
    selected = id;
    update();
}

void TMapView::CenterOn(int64_t id) {
    View();
    for (const TMapItem& item : items) {
        if (item.id != id) continue;
        double west = 1e9, east = -1e9, south = 1e9, north = -1e9;
        for (const warnings::TShape& shape : item.shapes) {
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
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        if (!it->inForce && !showEnded) continue;
        for (const warnings::TShape& shape : it->shapes) {
            if (!Near(Pixels(v, shape), shape.kind, point)) continue;
            if (shape.kind == warnings::TShape::Kind::Point || shape.kind == warnings::TShape::Kind::Line)
                return it->id;
            if (!area) area = it->id;
        }
    }
    return area;
}

void TMapView::Render(QPainter& painter, const QSizeF& whole, const QString& title) const {
    painter.save();
    QSizeF size = whole;
    if (!title.isEmpty()) {
        // The title line above the map, never over it.
        QFont big = painter.font();
        big.setPointSizeF(11);
        big.setBold(true);
        painter.setFont(big);
        const double band = QFontMetricsF(big).height() + 8;
        painter.fillRect(QRectF(0, 0, whole.width(), band), Qt::white);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(4, 0, whole.width() - 4, band), Qt::AlignVCenter | Qt::AlignLeft, title);
        painter.translate(0, band);
        size.setHeight(whole.height() - band);
    }
    map::TView v = view;
    v.width = size.width();
    v.height = size.height();
    painter.setClipRect(QRectF(QPointF(0, 0), size));
    painter.fillRect(QRectF(QPointF(0, 0), size), Sea);
    painter.setRenderHint(QPainter::Antialiasing, true);
    if (land) DrawLand(painter, v, *land);
    DrawGraticule(painter, v);

    // The NAVTEX stations with their letters.
    QFont font = painter.font();
    font.setPointSizeF(7.5);
    font.setBold(true);
    painter.setFont(font);
    if (v.scale >= 4)
        for (const stations::TStation& s : stations::Table()) {
            if (!s.placed) continue;
            const map::TPixel p = v.ToPixel(s.at);
            if (p.x < -20 || p.y < -20 || p.x > v.width + 20 || p.y > v.height + 20) continue;
            painter.setPen(QColor(40, 40, 40));
            painter.setBrush(Qt::white);
            const QPointF tip(p.x, p.y - 6);
            painter.drawPolygon(QPolygonF{tip, QPointF(p.x - 4, p.y + 2), QPointF(p.x + 4, p.y + 2)});
            painter.drawText(QPointF(p.x + 5, p.y - 2), QString(QChar(s.letter)));
        }

    // Ended ones beneath, the selected one on top.
    // On the screen and in pictures a point is a stamp drawn once per colour; on a page it
    // stays a vector.
    const int device = painter.device()->devType();
    const bool stamps =
        device == QInternal::Image || device == QInternal::Widget || device == QInternal::Pixmap;
    const double ratio = painter.device()->devicePixelRatioF();
    const QRectF shown(-20, -20, v.width + 40, v.height + 40);
    const auto draw = [&](const TMapItem& item) {
        const bool chosen = item.id == selected;
        QColor colour = item.inForce ? SubjectColor(item.subject) : QColor(160, 160, 160);
        for (const warnings::TShape& shape : item.shapes) {
            const QPolygonF pixels = Pixels(v, shape);
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
                            QPointF(pixels[0].x() - size.width() / 2, pixels[0].y() - size.height() / 2),
                            stamp);
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
                    QColor fill = colour;
                    fill.setAlpha(chosen ? 90 : 45);
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
    };
    if (showEnded)
        for (const TMapItem& item : items)
            if (!item.inForce) draw(item);
    for (const TMapItem& item : items)
        if (item.inForce && item.id != selected) draw(item);
    for (const TMapItem& item : items)
        if (item.id == selected && (item.inForce || showEnded)) draw(item);

    if (boat) {
        const QPolygonF ring =
            Pixels(v, {warnings::TShape::Kind::Circle, {{boat->latitude, boat->longitude}}, rangeNm});
        painter.setPen(QPen(QColor(0, 60, 160), 1.5, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawPolygon(ring);
        const map::TPixel p = v.ToPixel(*boat);
        painter.setPen(QPen(Qt::white, 1.5));
        painter.setBrush(QColor(0, 60, 160));
        painter.drawEllipse(QPointF(p.x, p.y), 5, 5);
    }
    DrawScaleBar(painter, v);
    DrawLegend(painter, v, showEnded);
    painter.restore();
}

void TMapView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (palette::Current() == palette::TMode::Day) {
        Render(painter, size());
        return;
    }
    // At dusk and at night the map as a picture, every pixel shaded: its colours stay
    // the day's for pages and files.
    const double ratio = devicePixelRatioF();
    QImage picture((QSizeF(size()) * ratio).toSize(), QImage::Format_RGB32);
    picture.setDevicePixelRatio(ratio);
    {
        QPainter offscreen(&picture);
        Render(offscreen, size());
    }
    palette::ShadeInPlace(picture);
    painter.drawImage(QPointF(0, 0), picture);
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
