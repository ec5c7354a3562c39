#include "chart/Chart.h"

#include <QCoreApplication>
#include <QGraphicsLayout>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QVBoxLayout>

#include <cmath>

namespace {

// 1, 2 or 5 times a power of ten, so that the range holds about eight steps and never
// more than a few dozen.
double NiceStep(double range) {
    if (!(range > 0) || !std::isfinite(range)) return 1;
    const double raw = range / 8;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (raw <= m * power && range / (m * power) <= 40) return m * power;
    return range / 8;
}

constexpr int MinimumDrag = 4;  // pixels; less is a click

}  // namespace

TChart::TChart(QWidget* parent) : QWidget(parent) {
    chart = new QChart;
    chart->legend()->hide();
    chart->setBackgroundBrush(Qt::white);
    chart->setBackgroundRoundness(0);
    chart->setPlotAreaBackgroundBrush(Qt::white);
    chart->setPlotAreaBackgroundVisible(true);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setMargins(QMargins(4, 4, 4, 1));
    chart->layout()->setContentsMargins(0, 0, 0, 0);

    series = new QLineSeries;
    series->setObjectName("Series1");
    series->setColor(QColor(0, 128, 0));
    series->setPointsVisible(false);
    chart->addSeries(series);

    bottom = new QDateTimeAxis;
    bottom->setFormat("dd.MM.yyyy hh:mm");
    bottom->setTickCount(7);
    left = new QValueAxis;
    left->setRange(900, 1100);
    left->setLabelFormat("%.7g");
    left->setGridLineVisible(false);  // no series uses it; one grid is enough
    right = new QValueAxis;
    right->setRange(900, 1100);
    right->setLabelFormat("%.7g");
    right->setTitleText("Luftdruck [hPa]");
    right->setTickType(QValueAxis::TicksDynamic);
    right->setTickAnchor(0);
    chart->addAxis(bottom, Qt::AlignBottom);
    chart->addAxis(left, Qt::AlignLeft);
    chart->addAxis(right, Qt::AlignRight);
    series->attachAxis(bottom);
    series->attachAxis(right);
    marks = new QScatterSeries;
    marks->setObjectName("StormMarks");
    marks->setColor(QColor(220, 0, 0));
    marks->setBorderColor(QColor(220, 0, 0));
    marks->setMarkerShape(QScatterSeries::MarkerShapeTriangle);
    marks->setMarkerSize(12);
    chart->addSeries(marks);
    marks->attachAxis(bottom);
    marks->attachAxis(right);
    right->setTickInterval(NiceStep(right->max() - right->min()));

    view = new QChartView(chart, this);
    view->setObjectName("ChartView");
    view->setRenderHint(QPainter::Antialiasing, false);
    view->setRubberBand(QChartView::NoRubberBand);
    view->setFrameShape(QFrame::NoFrame);
    view->viewport()->installEventFilter(this);

    footer = new QLabel(this);
    footer->setObjectName("Footer");
    footer->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QFont font("Arial");
    font.setPixelSize(11);
    footer->setFont(font);
    footer->setStyleSheet("QLabel#Footer { color: black; background: white; }");

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(view, 1);
    layout->addWidget(footer);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

void TChart::SetRightRange(double minimum, double maximum) {
    if (!std::isfinite(minimum) || !std::isfinite(maximum) || std::abs(minimum) > AbsurdAxisValue ||
        std::abs(maximum) > AbsurdAxisValue || maximum < minimum)
        return;
    const double step = NiceStep(maximum - minimum);
    // Widen the step before the range grows, narrow it after the range shrank: in between
    // the axis never holds more steps than either end.
    if (step >= right->tickInterval()) {
        right->setTickInterval(step);
        right->setRange(minimum, maximum);
    } else {
        right->setRange(minimum, maximum);
        right->setTickInterval(step);
    }
}

void TChart::SetDecimalSeparator(char separator) {
    QLocale locale = separator == ',' ? QLocale(QLocale::German, QLocale::Germany) : QLocale::c();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    chart->setLocale(locale);
    chart->setLocalizeNumbers(true);
}

void TChart::SetPoints(const QList<QPointF>& points) {
    // The axes are ours to set; new data must not rescale them.
    const QDateTime bottomMin = bottom->min(), bottomMax = bottom->max();
    const double rightMin = right->min(), rightMax = right->max();
    series->replace(points);
    bottom->setRange(bottomMin, bottomMax);
    SetRightRange(rightMin, rightMax);
}

void TChart::ClearPoints() { SetPoints({}); }

void TChart::AddMark(const QDateTime& when, double value) {
    const QDateTime bottomMin = bottom->min(), bottomMax = bottom->max();
    const double rightMin = right->min(), rightMax = right->max();
    marks->append(static_cast<double>(when.toMSecsSinceEpoch()), value);
    bottom->setRange(bottomMin, bottomMax);
    SetRightRange(rightMin, rightMax);
}

int TChart::MarkCount() const { return static_cast<int>(marks->count()); }

void TChart::SetTitleLines(const QStringList& lines) {
    titleLines = lines;
    chart->setTitle(lines.join('\n'));
}

void TChart::SetFooterLines(const QStringList& lines) {
    footerLines = lines;
    footer->setText(lines.join('\n'));
    // An empty line still takes its height, like the lines under the plot of a printout.
    footer->setFixedHeight(lines.isEmpty() ? 0 : footer->fontMetrics().lineSpacing() * int(lines.size()) + 2);
}

void TChart::SetFooterLine(int index, const QString& text) {
    if (index < 0 || index >= footerLines.size()) return;
    QStringList lines = footerLines;
    lines[index] = text;
    SetFooterLines(lines);
}

void TChart::UndoZoom() {
    if (beforeZoom) {
        const Ranges r = *beforeZoom;
        beforeZoom.reset();
        bottom->setRange(r.bottomMin, r.bottomMax);
        SetRightRange(r.rightMin, r.rightMax);
    }
    emit UndoZoomed();
}

void TChart::ZoomToRect(const QRectF& viewRect) {
    const QPointF topLeft = chart->mapToValue(view->mapToScene(viewRect.topLeft().toPoint()), series);
    const QPointF bottomRight = chart->mapToValue(view->mapToScene(viewRect.bottomRight().toPoint()), series);
    if (!(bottomRight.x() > topLeft.x()) || !(topLeft.y() > bottomRight.y())) return;
    if (!beforeZoom) beforeZoom = Ranges{bottom->min(), bottom->max(), right->min(), right->max()};
    bottom->setRange(QDateTime::fromMSecsSinceEpoch(qint64(topLeft.x())),
                     QDateTime::fromMSecsSinceEpoch(qint64(bottomRight.x())));
    SetRightRange(bottomRight.y(), topLeft.y());
    emit Zoom();
}

bool TChart::eventFilter(QObject* watched, QEvent* event) {
    if (watched != view->viewport()) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            UndoZoom();
            return true;
        }
        if (mouse->button() != Qt::LeftButton) return false;
        pressedAt = mouse->position().toPoint();
        dragging = true;
        if (!band) band = new QRubberBand(QRubberBand::Rectangle, view->viewport());
        band->setGeometry(QRect(pressedAt, QSize()));
        band->show();
        return true;
    }
    case QEvent::MouseMove: {
        if (!dragging) return false;
        band->setGeometry(QRect(pressedAt, static_cast<QMouseEvent*>(event)->position().toPoint()).normalized());
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (!dragging || mouse->button() != Qt::LeftButton) return false;
        dragging = false;
        band->hide();
        const QPoint end = mouse->position().toPoint();
        const QPoint moved = end - pressedAt;
        if (moved.manhattanLength() < MinimumDrag) return true;
        if (moved.x() > 0 && moved.y() > 0)
            ZoomToRect(QRectF(pressedAt, end));
        else
            UndoZoom();
        return true;
    }
    default:
        return false;
    }
}

void TChart::Settle() {
    // Axis layout and tick labels are laid out later by posted events; a picture taken
    // right after a change must not show the old layout.
    QCoreApplication::sendPostedEvents(chart);
    QCoreApplication::sendPostedEvents(view->scene());
    if (chart->layout()) chart->layout()->activate();
}

void TChart::PrintInto(QPainter& painter, const QRectF& target) {
    Settle();
    const QSizeF size = this->size();
    if (size.isEmpty()) return;
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / size.width(), target.height() / size.height());
    render(&painter, QPoint(), QRegion(), QWidget::DrawChildren | QWidget::DrawWindowBackground);
    painter.restore();
}

QImage TChart::Picture() {
    Settle();
    QImage image(size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    painter.end();
    return image;
}

bool TChart::SaveBitmap(const QString& path) { return Picture().save(path, "BMP"); }
