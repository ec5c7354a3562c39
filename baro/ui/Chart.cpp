// SPDX-License-Identifier: GPL-3.0-or-later
#include "baro/ui/Chart.h"

#include "app/ui/Palette.h"

#include <QFontMetricsF>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QRubberBand>

#include <cmath>
#include <limits>

namespace {

constexpr int MinimumDrag = 4;           // pixels; less is a click
constexpr qint64 MinimumSpanMs = 60000;  // a zoom shows at least a minute
constexpr double MinimumPressureSpan = 0.1;
constexpr qint64 Minute = 60000, Hour = 60 * Minute, Day = 24 * Hour;
constexpr double TickLength = 4, Gap = 4;

QFont ChartFont() {
    QFont font("Arial");
    font.setPixelSize(11);
    return font;
}

// 1, 2 or 5 times a power of ten (0.5, 1, 2, 5, 10 ...), the smallest that leaves at most
// `most` steps in the range.
double NiceStep(double range, int most) {
    if (!(range > 0) || !std::isfinite(range)) return 1;
    most = std::max(most, 1);
    const double raw = range / most;
    double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (int guard = 0; guard < 4; ++guard, power *= 10)
        for (double m : {1.0, 2.0, 5.0})
            if (m * power >= raw) return m * power;
    return raw;
}

// A mark's triangle: wholly inside the plot, its tip on the curve where the curve is.
QRectF MarkTriangle(const QRectF& plot, const QPointF& at) {
    constexpr double size = 12;
    const double x = std::clamp(at.x(), plot.left() + size / 2, plot.right() - size / 2);
    const double y = std::clamp(at.y(), plot.top() + size, plot.bottom());
    return QRectF(x - size / 2, y - size, size, size);
}

// A date-time format as its date part and its time part (which starts at the first hour
// field), or whole when it has not both.
QStringList SplitDateAndTime(const QString& format) {
    const qsizetype hour = format.indexOf(QRegularExpression("[hH]"));
    if (hour <= 0) return {format};
    const QString date = format.left(hour).trimmed(), time = format.mid(hour).trimmed();
    if (date.isEmpty() || time.isEmpty()) return {format};
    return {date, time};
}

// Steps of the time axis: round minutes, hours and days of the local clock.
const qint64 TimeSteps[] = {Minute,   2 * Minute, 5 * Minute, 10 * Minute, 15 * Minute, 30 * Minute, Hour,
                            2 * Hour, 3 * Hour,   6 * Hour,   12 * Hour,   Day,         2 * Day,     7 * Day};

}  // namespace

// Where everything goes for one size: computed for each paint, print or query, never kept.
struct TChart::TLayout {
    QFont font;
    double line = 0;  // line spacing
    QRectF plot;
    QList<TTick> bottomTicks, rightTicks;
    double rightStep = 1;
    bool twoLineTimes = false;
};

TChart::TChart(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    bottomMin = now - 2 * Day;
    bottomMax = now;
}

TChart::~TChart() = default;

void TChart::SetPoints(const QList<QPointF>& newPoints) {
    points.clear();
    points.reserve(newPoints.size());
    // Nothing that is no number or lies beyond any pressure reaches the drawing.
    for (const QPointF& p : newPoints)
        if (std::isfinite(p.x()) && std::isfinite(p.y()) && std::abs(p.y()) <= AbsurdAxisValue)
            points.append(p);
    if (!std::is_sorted(points.begin(), points.end(),
                        [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); }))
        std::stable_sort(points.begin(), points.end(),
                         [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); });
    update();
}

void TChart::ClearPoints() {
    SetPoints({});
}

void TChart::SetSeriesColor(const QColor& color) {
    seriesColor = color;
    update();
}

void TChart::SetTitleLines(const QStringList& lines) {
    titleLines = lines;
    update();
}

void TChart::SetFooterLines(const QStringList& lines) {
    footerLines = lines;
    update();
}

void TChart::SetFooterLine(int index, const QString& text) {
    if (index < 0 || index >= footerLines.size()) return;
    footerLines[index] = text;
    update();
}

void TChart::SetBottomRange(const QDateTime& minimum, const QDateTime& maximum) {
    if (!minimum.isValid() || !maximum.isValid() || maximum < minimum) return;
    bottomMin = minimum.toMSecsSinceEpoch();
    bottomMax = maximum.toMSecsSinceEpoch();
    update();
}

void TChart::SetBottomMinimum(const QDateTime& minimum) {
    if (!minimum.isValid()) return;
    SetBottomRange(minimum, std::max(minimum, BottomMaximum()));
}

void TChart::SetBottomMaximum(const QDateTime& maximum) {
    if (!maximum.isValid()) return;
    SetBottomRange(std::min(maximum, BottomMinimum()), maximum);
}

void TChart::SetBottomFormat(const QString& format) {
    bottomFormat = format;
    update();
}

void TChart::SetBottomLocale(const QLocale& locale) {
    bottomLocale = locale;
    update();
}

void TChart::SetRightRange(double minimum, double maximum) {
    if (!std::isfinite(minimum) || !std::isfinite(maximum) || std::abs(minimum) > AbsurdAxisValue ||
        std::abs(maximum) > AbsurdAxisValue || maximum < minimum)
        return;
    rightMin = minimum;
    rightMax = maximum;
    update();
}

void TChart::SetRightTitle(const QString& title) {
    rightTitle = title;
    update();
}

QString TChart::PressureLabel(double value, double step) const {
    // "###0.###": no more decimals than the step needs, at most three.
    const int decimals = std::clamp(static_cast<int>(std::ceil(-std::log10(step) - 1e-9)), 0, 3);
    QString text = QString::number(value, 'f', decimals);
    if (text == "-0") text = "0";
    if (decimalSeparator != '.') text.replace('.', QChar(decimalSeparator));
    return text;
}

TChart::TLayout TChart::Layout(const QSizeF& size) const {
    TLayout l;
    l.font = ChartFont();
    const QFontMetricsF metrics(l.font);
    l.line = metrics.lineSpacing();
    const double top = 4 + l.line * static_cast<double>(titleLines.size()) + l.line / 2;
    const double footer = l.line * static_cast<double>(footerLines.size()) + 2;
    // Time labels: the date above the time where the format has both.
    const QStringList formats = SplitDateAndTime(bottomFormat);
    l.twoLineTimes = formats.size() == 2;
    const double bottomLabels = TickLength + 2 + l.line * (l.twoLineTimes ? 2 : 1);
    const double plotTop = top, plotBottom = size.height() - footer - bottomLabels;
    const double plotHeight = std::max(plotBottom - plotTop, 10.0);

    // The pressure step: at most twelve labels, and room for each.
    const double span = rightMax - rightMin;
    const int fit = std::clamp(static_cast<int>(plotHeight / (l.line * 1.6)), 1, 12);
    l.rightStep = NiceStep(span > 0 ? span : 1, fit);
    double widest = metrics.horizontalAdvance(PressureLabel(rightMax, l.rightStep));
    if (span > 0 && span / l.rightStep < 1000) {
        for (double v = std::ceil(rightMin / l.rightStep - 1e-9) * l.rightStep;
             v <= rightMax + l.rightStep * 1e-9; v += l.rightStep) {
            const double value = std::abs(v) < l.rightStep * 1e-9 ? 0.0 : v;
            l.rightTicks.append({value, PressureLabel(value, l.rightStep)});
            widest = std::max(widest, metrics.horizontalAdvance(l.rightTicks.back().label));
        }
    }
    const double left = 4 + widest + Gap + TickLength;
    const double right = size.width() - (TickLength + Gap + widest + Gap + l.line + 4);
    l.plot = QRectF(QPointF(left, plotTop), QPointF(std::max(right, left + 10), plotTop + plotHeight));
    l.bottomTicks = TimeTicks(formats, metrics, l.plot.width());
    return l;
}

// The smallest round step whose labels do not touch, its ticks on the local clock.
QList<TChart::TTick> TChart::TimeTicks(const QStringList& formats, const QFontMetricsF& metrics,
                                       double width) const {
    QList<TTick> ticks;
    const auto labelOf = [&](const QDateTime& when) {
        QStringList lines;
        for (const QString& format : formats) lines << bottomLocale.toString(when, format);
        return lines.join('\n');
    };
    // The widest a label gets: a long month, a two-digit day and hour.
    double labelWidth = 0;
    for (int month = 1; month <= 12; ++month)
        for (const QString& line : labelOf(QDateTime(QDate(2026, month, 28), QTime(23, 58, 58))).split('\n'))
            labelWidth = std::max(labelWidth, metrics.horizontalAdvance(line));
    const qint64 range = bottomMax - bottomMin;
    if (range <= 0) return ticks;
    const double most = std::max(1.0, width / (labelWidth + 3 * Gap));
    qint64 step = 0;
    for (qint64 s : TimeSteps) {
        if (static_cast<double>(range) / static_cast<double>(s) <= most) {
            step = s;
            break;
        }
    }
    if (step == 0) return ticks;  // a span of many weeks: no labels rather than a crowd
    const QDateTime from = QDateTime::fromMSecsSinceEpoch(bottomMin),
                    to = QDateTime::fromMSecsSinceEpoch(bottomMax);
    const auto add = [&](const QDateTime& when) {
        const qint64 ms = when.toMSecsSinceEpoch();
        if (ms < bottomMin || ms > bottomMax) return;
        ticks.append({static_cast<double>(ms), labelOf(when)});
    };
    // Local wall-clock ticks, day by day, so a change of daylight saving time keeps them round.
    for (QDate day = from.date().addDays(-1); day <= to.date(); day = day.addDays(1)) {
        if (step >= Day) {
            if (day.toJulianDay() % (step / Day) == 0) add(QDateTime(day, QTime(0, 0)));
            continue;
        }
        for (qint64 at = 0; at < Day; at += step) {
            const QTime time = QTime(0, 0).addMSecs(static_cast<int>(at));
            const QDateTime when(day, time);
            if (when.isValid() && when.time() == time) add(when);  // an hour skipped in spring is no tick
        }
    }
    return ticks;
}

QList<TChart::TTick> TChart::BottomTicks() const {
    return Layout(size()).bottomTicks;
}
QList<TChart::TTick> TChart::RightTicks() const {
    return Layout(size()).rightTicks;
}
double TChart::RightStep() const {
    return Layout(size()).rightStep;
}
QRectF TChart::PlotArea() const {
    return Layout(size()).plot;
}

// Value to position within a plot; degenerate ranges map to the middle.
struct TChart::TMapping {
    QRectF plot;
    double x0, xSpan, y0, ySpan;
    TMapping(const QRectF& plot, double x0, double x1, double y0, double y1)
        : plot(plot), x0(x0), xSpan(x1 - x0), y0(y0), ySpan(y1 - y0) {}
    double X(double x) const {
        return xSpan > 0 ? plot.left() + (x - x0) / xSpan * plot.width() : plot.center().x();
    }
    double Y(double y) const {
        return ySpan > 0 ? plot.bottom() - (y - y0) / ySpan * plot.height() : plot.center().y();
    }
};

TChart::TMapping TChart::Mapping(const QRectF& plot) const {
    return TMapping(plot, static_cast<double>(bottomMin), static_cast<double>(bottomMax), rightMin, rightMax);
}

namespace {

// No more than each pixel column's first, lowest, highest and last point: a week of
// minutes drawn as fast as an hour, with the same extremes.
template <typename Iterator, typename Map>
QPolygonF ColumnExtremes(Iterator from, Iterator to, const Map& map, double left, double devicePixelsPerUnit,
                         double columns) {
    QPolygonF line;
    line.reserve(static_cast<qsizetype>(columns) * 4 + 8);
    long column = std::numeric_limits<long>::min();
    double x = 0, firstY = 0, lowY = 0, highY = 0, lastY = 0;
    const auto flush = [&] {
        if (column == std::numeric_limits<long>::min()) return;
        line << QPointF(x, firstY);
        if (lowY != firstY) line << QPointF(x, lowY);
        if (highY != lowY) line << QPointF(x, highY);
        if (lastY != highY) line << QPointF(x, lastY);
    };
    for (auto it = from; it != to; ++it) {
        const double px = map.X(it->x()), py = map.Y(it->y());
        const long c = static_cast<long>(std::floor((px - left) * devicePixelsPerUnit));
        if (c != column) {
            flush();
            column = c;
            x = px;
            firstY = lowY = highY = lastY = py;
        } else {
            lowY = std::max(lowY, py);  // screen y grows downwards
            highY = std::min(highY, py);
            lastY = py;
        }
    }
    flush();
    return line;
}

}  // namespace

QPointF TChart::MapToPosition(double milliseconds, double value) const {
    const TMapping map = Mapping(PlotArea());
    return {map.X(milliseconds), map.Y(value)};
}

QRectF TChart::MarkArea(int index) const {
    if (index < 0 || index >= MarkCount()) return {};
    const TMark& m = marks[static_cast<size_t>(index)];
    if (m.when < bottomMin || m.when > bottomMax) return {};
    return MarkTriangle(PlotArea(), MapToPosition(static_cast<double>(m.when), m.value));
}

void TChart::Draw(QPainter& painter, const QSizeF& size, double devicePixelsPerUnit) const {
    const TLayout l = Layout(size);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.fillRect(QRectF(QPointF(0, 0), size), palette::Shade(Qt::white));
    painter.setFont(l.font);
    const TMapping map = Mapping(l.plot);
    DrawTitles(painter, l, size);
    DrawAxes(painter, l, map, size);
    DrawCurve(painter, l.plot, map, devicePixelsPerUnit);
    DrawMarks(painter, l, map);
    painter.restore();
}

// Title and footer, centred.
void TChart::DrawTitles(QPainter& painter, const TLayout& l, const QSizeF& size) const {
    painter.setPen(palette::Shade(QColor(0, 0, 0)));
    double y = 4;
    for (const QString& line : titleLines) {
        painter.drawText(QRectF(0, y, size.width(), l.line), Qt::AlignHCenter | Qt::AlignTop, line);
        y += l.line;
    }
    y = size.height() - l.line * static_cast<double>(footerLines.size()) - 2;
    for (const QString& line : footerLines) {
        painter.drawText(QRectF(0, y, size.width(), l.line), Qt::AlignHCenter | Qt::AlignTop, line);
        y += l.line;
    }
}

// Grid, frame, ticks with their labels, and the pressure axis title.
void TChart::DrawAxes(QPainter& painter, const TLayout& l, const TMapping& map, const QSizeF& size) const {
    const QRectF& plot = l.plot;
    const QColor ink = palette::Shade(QColor(0, 0, 0)), grid = palette::Shade(QColor(215, 215, 215));
    painter.setPen(QPen(grid, 1));
    for (const TTick& t : l.rightTicks)
        painter.drawLine(QPointF(plot.left(), map.Y(t.value)), QPointF(plot.right(), map.Y(t.value)));
    for (const TTick& t : l.bottomTicks)
        painter.drawLine(QPointF(map.X(t.value), plot.top()), QPointF(map.X(t.value), plot.bottom()));
    painter.setPen(QPen(ink, 1));
    painter.drawRect(plot);
    const QFontMetricsF metrics(l.font);
    for (const TTick& t : l.rightTicks) {
        const double ty = map.Y(t.value);
        painter.drawLine(QPointF(plot.right(), ty), QPointF(plot.right() + TickLength, ty));
        painter.drawLine(QPointF(plot.left() - TickLength, ty), QPointF(plot.left(), ty));
        const QRectF rightLabel(plot.right() + TickLength + Gap, ty - l.line / 2, size.width(), l.line);
        painter.drawText(rightLabel, Qt::AlignLeft | Qt::AlignVCenter, t.label);
        const QRectF leftLabel(0, ty - l.line / 2, plot.left() - TickLength - Gap, l.line);
        painter.drawText(leftLabel, Qt::AlignRight | Qt::AlignVCenter, t.label);
    }
    for (const TTick& t : l.bottomTicks) {
        const double tx = map.X(t.value);
        painter.drawLine(QPointF(tx, plot.bottom()), QPointF(tx, plot.bottom() + TickLength));
        const double width = metrics.boundingRect(QRectF(0, 0, 1000, 1000), 0, t.label).width() + 2;
        painter.drawText(QRectF(tx - width / 2, plot.bottom() + TickLength + 2, width, l.line * 2),
                         Qt::AlignHCenter | Qt::AlignTop, t.label);
    }
    // Turned to read upwards.
    painter.save();
    painter.translate(size.width() - 4 - l.line, plot.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-plot.height() / 2, 0, plot.height(), l.line), Qt::AlignCenter, rightTitle);
    painter.restore();
}

// Only what can be seen, and no more than each pixel column's extremes.
void TChart::DrawCurve(QPainter& painter, const QRectF& plot, const TMapping& map,
                       double devicePixelsPerUnit) const {
    painter.save();
    painter.setClipRect(plot);
    const auto first = std::lower_bound(points.begin(), points.end(), static_cast<double>(bottomMin),
                                        [](const QPointF& p, double x) { return p.x() < x; });
    const auto last = std::upper_bound(points.begin(), points.end(), static_cast<double>(bottomMax),
                                       [](double x, const QPointF& p) { return x < p.x(); });
    const auto from = first == points.begin() ? first : first - 1;
    const auto to = last == points.end() ? last : last + 1;
    const double columns = std::max(1.0, plot.width() * devicePixelsPerUnit);
    QPolygonF line;
    if (to - from > 2 * static_cast<qsizetype>(columns)) {
        line = ColumnExtremes(from, to, map, plot.left(), devicePixelsPerUnit, columns);
    } else {
        line.reserve(to - from);
        for (auto it = from; it != to; ++it) line << QPointF(map.X(it->x()), map.Y(it->y()));
    }
    painter.setPen(QPen(palette::Shade(seriesColor), 1));
    painter.drawPolyline(line);
    painter.restore();
}

// Storm marks: a triangle pointing at the curve and a label inside the plot.
void TChart::DrawMarks(QPainter& painter, const TLayout& l, const TMapping& map) const {
    const QRectF& plot = l.plot;
    const QFontMetricsF metrics(l.font);
    const QColor red = palette::Shade(QColor(220, 0, 0));
    for (int i = 0; i < MarkCount(); ++i) {
        const TMark& m = marks[static_cast<size_t>(i)];
        if (m.when < bottomMin || m.when > bottomMax) continue;
        const double mx = map.X(static_cast<double>(m.when));
        painter.setPen(QPen(red, 1, Qt::DashLine));
        painter.drawLine(QPointF(mx, plot.top()), QPointF(mx, plot.bottom()));
        const QRectF area = MarkTriangle(plot, QPointF(mx, map.Y(m.value)));
        QPainterPath triangle;
        triangle.moveTo(area.topLeft());
        triangle.lineTo(area.topRight());
        triangle.lineTo(QPointF(area.center().x(), area.bottom()));
        triangle.closeSubpath();
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.fillPath(triangle, red);
        painter.setRenderHint(QPainter::Antialiasing, false);
        if (m.label.isEmpty()) continue;
        const QSizeF text = metrics.size(0, m.label) + QSizeF(8, 4);
        const double lx = mx > plot.center().x() ? std::max(plot.left() + 2, mx - 6 - text.width())
                                                 : std::min(plot.right() - 2 - text.width(), mx + 6);
        const QRectF box(QPointF(lx, plot.top() + 4), text);
        painter.fillRect(box, palette::Shade(Qt::white));
        painter.setPen(QPen(red, 1));
        painter.drawRect(box);
        painter.drawText(box, Qt::AlignCenter, m.label);
    }
}

void TChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Draw(painter, QSizeF(size()), devicePixelRatioF());
}

void TChart::PrintInto(QPainter& painter, const QRectF& target) {
    if (target.width() <= 0 || target.height() <= 0) return;
    const palette::TDayScope day;  // paper is white whatever the screen shows
    // Laid out as on a screen of the widget's width, then scaled as a drawing: text and
    // lines are drawn at the target's own resolution.
    const double reference = width() > 100 ? width() : 980;
    const double scale = target.width() / reference;
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(scale, scale);
    painter.setClipRect(QRectF(0, 0, reference, target.height() / scale));
    const double devicePixels =
        std::abs(painter.combinedTransform().m11()) > 0 ? std::abs(painter.combinedTransform().m11()) : 1;
    Draw(painter, QSizeF(reference, target.height() / scale), devicePixels);
    painter.restore();
}

QImage TChart::Picture() {
    const palette::TDayScope day;
    QImage image(size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    Draw(painter, QSizeF(size()), 1.0);
    painter.end();
    return image;
}

bool TChart::SaveBitmap(const QString& path) {
    return Picture().save(path, "BMP");
}

void TChart::AddMark(const QDateTime& when, double value, const QString& label) {
    if (!when.isValid() || !std::isfinite(value)) return;
    marks.push_back({when.toMSecsSinceEpoch(), value, label});
    update();
}

void TChart::UndoZoom() {
    if (beforeZoom) {
        const TRanges r = *beforeZoom;
        beforeZoom.reset();
        bottomMin = r.bottomMin;
        bottomMax = r.bottomMax;
        SetRightRange(r.rightMin, r.rightMax);
        update();
    }
    emit UndoZoomed();
}

void TChart::ZoomToRect(const QRectF& rect) {
    const QRectF plot = PlotArea().intersected(rect.normalized());
    if (plot.width() < 1 || plot.height() < 1) return;
    const QRectF area = PlotArea();
    const auto timeAt = [&](double x) {
        return static_cast<double>(bottomMin) +
               (x - area.left()) / area.width() * static_cast<double>(bottomMax - bottomMin);
    };
    const auto valueAt = [&](double y) {
        return rightMin + (area.bottom() - y) / area.height() * (rightMax - rightMin);
    };
    double t0 = timeAt(plot.left()), t1 = timeAt(plot.right());
    double v0 = valueAt(plot.bottom()), v1 = valueAt(plot.top());
    if (!(t1 > t0) || !(v1 > v0) || !std::isfinite(v0) || !std::isfinite(v1)) return;
    // Down to a minute and a tenth of a hectopascal, around the rectangle's centre.
    if (t1 - t0 < MinimumSpanMs) {
        const double c = (t0 + t1) / 2;
        t0 = c - MinimumSpanMs / 2.0;
        t1 = c + MinimumSpanMs / 2.0;
    }
    if (v1 - v0 < MinimumPressureSpan) {
        const double c = (v0 + v1) / 2;
        v0 = c - MinimumPressureSpan / 2;
        v1 = c + MinimumPressureSpan / 2;
    }
    if (!beforeZoom) beforeZoom = TRanges{bottomMin, bottomMax, rightMin, rightMax};
    bottomMin = static_cast<qint64>(std::llround(t0));
    bottomMax = static_cast<qint64>(std::llround(t1));
    SetRightRange(v0, v1);
    update();
    emit Zoom();
}

void TChart::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        UndoZoom();
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    pressedAt = event->position().toPoint();
    dragging = true;
    if (!band) band = new QRubberBand(QRubberBand::Rectangle, this);
    band->setGeometry(QRect(pressedAt, QSize()));
    band->show();
}

void TChart::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging) return;
    band->setGeometry(QRect(pressedAt, event->position().toPoint()).normalized());
}

void TChart::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragging || event->button() != Qt::LeftButton) return;
    dragging = false;
    band->hide();
    const QPoint end = event->position().toPoint();
    const QPoint moved = end - pressedAt;
    if (moved.manhattanLength() < MinimumDrag) return;
    if (moved.x() > 0 && moved.y() > 0)
        ZoomToRect(QRectF(pressedAt, end));
    else
        UndoZoom();
}
