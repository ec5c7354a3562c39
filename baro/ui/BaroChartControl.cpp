// SPDX-License-Identifier: GPL-3.0-or-later
#include "baro/ui/BaroChartControl.h"

#include "common/DateTime.h"
#include "platform/Clock.h"

QDateTime ToQDateTime(double dateTime) {
    const platform::LocalDateTime t = datetime::DecodeLocal(dateTime);
    const QDateTime local(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second, t.millisecond));
    if (local.isValid()) return local;
    // A wall-clock time in the hour skipped by the change to summer time names no instant;
    // the system's own calendar puts it just after the change, so the axis keeps its end.
    return QDateTime::fromMSecsSinceEpoch(platform::FromLocal(t) * 1000 + t.millisecond);
}

double FromQDateTime(const QDateTime& when) {
    const QDateTime local = when.toLocalTime();
    const QDate d = local.date();
    const QTime t = local.time();
    return datetime::EncodeLocal({d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), t.msec()});
}

void TBaroChartControl::ClearSeries() {
    chart->ClearPoints();
}

void TBaroChartControl::SetSeriesPoints(std::vector<std::pair<double, double>> points) {
    QList<QPointF> converted;
    converted.reserve(static_cast<qsizetype>(points.size()));
    if (!points.empty()) {
        // One sample a minute of real time: the points lie evenly before the newest one,
        // also across a change to or from daylight saving time.
        const double newest = points.back().first;
        const auto newestMs = static_cast<double>(ToQDateTime(newest).toMSecsSinceEpoch());
        for (const auto& [x, y] : points) converted.append(QPointF(newestMs + (x - newest) * 86400000.0, y));
    }
    chart->SetPoints(converted);
}

double TBaroChartControl::AxisMinimum(baro::Axis axis) const {
    return axis == baro::Axis::Bottom ? FromQDateTime(chart->BottomMinimum()) : chart->RightMinimum();
}

double TBaroChartControl::AxisMaximum(baro::Axis axis) const {
    return axis == baro::Axis::Bottom ? FromQDateTime(chart->BottomMaximum()) : chart->RightMaximum();
}

void TBaroChartControl::SetAxisMinimum(baro::Axis axis, double value) {
    if (axis == baro::Axis::Bottom)
        chart->SetBottomMinimum(ToQDateTime(value));
    else
        chart->SetRightMinimum(value);
}

void TBaroChartControl::SetAxisMaximum(baro::Axis axis, double value) {
    if (axis == baro::Axis::Bottom)
        chart->SetBottomMaximum(ToQDateTime(value));
    else
        chart->SetRightMaximum(value);
}

void TBaroChartControl::SetBottomDateTimeFormat(const std::string& format) {
    chart->SetBottomFormat(QString::fromStdString(format));
}

void TBaroChartControl::SetFooterLine(int index, const std::string& text) {
    chart->SetFooterLine(index, QString::fromUtf8(text));
}
