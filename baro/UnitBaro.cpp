// SPDX-License-Identifier: GPL-3.0-or-later
#include "baro/UnitBaro.h"

#include "common/Translatable.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "acquisition/AcquisitionState.h"
#include "receiver/Models.h"

namespace baro {

double VapourPressureTerm(double t) {
    return t < 9.1 ? 5.6402 * (std::exp(0.06 * t) - 0.0916) : 18.2194 * (1.0463 - std::exp(-0.0666 * t));
}

double AltitudeCorrection(double hPa, int32_t altitude, double t) {
    const double h = altitude;
    const double x = (9.80665 * h) / (287.05 * (t + 273.15 + 0.12 * VapourPressureTerm(t) + 0.0065 * h / 2));
    return hPa * std::exp(x);
}

double SampleToHpa(int16_t sample) {
    return ((sample + 100000 + 5) / 10 * 10) / 100.0;
}

void SpikeFilter(std::array<int16_t, RingSize>& s, int first, int count) {
    if (count < 4) return;
    const auto wrap = [](int slot) { return slot % RingSize; };
    int a = wrap(first), b = wrap(first + 1), c = wrap(first + 2);
    const auto jump = [&](int x, int y) {
        return std::abs(s[static_cast<size_t>(x)] - s[static_cast<size_t>(y)]) > 100;
    };
    const auto advance = [&](int by) {
        a = wrap(a + by);
        b = wrap(b + by);
        c = wrap(c + by);
    };
    for (int i = 0; i < count - 3; ++i) {
        if (jump(a, b) && jump(a, c)) {
            s[static_cast<size_t>(a)] = s[static_cast<size_t>(b)];
            advance(2);
        } else if (jump(a, b) && jump(b, c)) {
            s[static_cast<size_t>(b)] = s[static_cast<size_t>(c)];
            advance(2);
        } else if (jump(a, c) && jump(b, c)) {
            s[static_cast<size_t>(c)] = s[static_cast<size_t>(b)];
            advance(2);
        }
        advance(1);
    }
}

double TruncateToMinute(double dateTime) {
    const double days = std::trunc(dateTime);
    // A hair over, so a time that is exactly on a minute is not pushed back by rounding.
    const double minutes = std::trunc((dateTime - days) * MinutesPerDay + 1e-6);
    return days + minutes / MinutesPerDay;
}

void SafeAxisUpdate(IBaroChart& chart, Axis axis, double minimum, double maximum) {
    if (maximum < chart.AxisMinimum(axis)) chart.SetAxisMinimum(axis, minimum);
    if (minimum > chart.AxisMaximum(axis)) chart.SetAxisMaximum(axis, maximum);
    chart.SetAxisMaximum(axis, maximum);
    chart.SetAxisMinimum(axis, minimum);
}

std::string SpanCaptionText(double spanDays) {
    if (spanDays == 0.5) return translatable::Tr("baro", "(12 heures)");
    if (spanDays == 1) return translatable::Tr("baro", "(1 jour)");
    if (spanDays == 2) return translatable::Tr("baro", "(2 jours)");
    if (spanDays == 4) return translatable::Tr("baro", "(4 jours)");
    if (spanDays == 7) return translatable::Tr("baro", "(7 jours)");
    return {};
}

double ZoomInSpan(double span) {
    if (span > 7) return 7;
    if (span > 4) return 4;
    if (span > 2) return 2;
    if (span > 1) return 1;
    return 0.5;
}

double ZoomOutSpan(double span) {
    if (span <= 0.5) return 1;
    if (span <= 1) return 2;
    if (span <= 2) return 4;
    return 7;
}

double TBaroChart::Correct(double hPa) const {
    return AltitudeCorrection(hPa, state.BaroHeight, state.SystemData.TemperatureTenths() / 10.0);
}

void TBaroChart::ChartSetup(double now, const std::string& dateTimeFormat) {
    SpanDays = 2;
    chart.UndoZoom();
    state.BaroTime = now;
    WindowEnd = TruncateToMinute(state.BaroTime);
    WindowStart = WindowEnd - SpanDays;
    chart.SetBottomDateTimeFormat(dateTimeFormat);
    chart.SetBottomAutomatic(false);
    SafeAxisUpdate(chart, Axis::Bottom, WindowStart, WindowEnd);
}

void TBaroChart::FillChart(uint16_t writeIndex, uint16_t validCount) {
    if (writeIndex == 65535) return;
    if (validCount == 0) {
        chart.ClearSeries();
        return;
    }
    WindowEnd = TruncateToMinute(state.BaroTime);
    WindowStart = WindowEnd - SpanDays;
    chart.ClearSeries();
    chart.UndoZoom();
    chart.SetBottomAutomatic(false);
    SafeAxisUpdate(chart, Axis::Bottom, WindowStart, WindowEnd);
    PressureMin = 2000;
    PressureMax = 0;

    const int w = std::min<int>(writeIndex, RingSize - 1);
    const int n = std::min<int>(validCount, RingSize);
    const int first = w >= n ? w - n : w + RingSize - n;
    SpikeFilter(state.BaroSamples, first, n);

    const bool reduced = receiver::ModelOf(state.ReceiverModel()).storage ==
                         receiver::TStorage::Rings;  // the receiver reduced them itself
    std::vector<std::pair<double, double>> points;
    points.reserve(static_cast<size_t>(n));
    for (int i = 0, slot = first; i < n; ++i, slot = (slot + 1) % RingSize) {
        double p = SampleToHpa(state.BaroSamples[static_cast<size_t>(slot)]);
        if (!reduced) p = Correct(p);
        // A broken temperature sends the correction off to infinity: such a point is no
        // pressure and must neither be drawn nor scale the axis.
        if (!std::isfinite(p) || p < MinPlausibleHpa || p > MaxPlausibleHpa) continue;
        PressureMin = std::min(PressureMin, p);
        PressureMax = std::max(PressureMax, p);
        points.emplace_back(WindowEnd + (i - (n - 1)) / MinutesPerDay, p);
    }
    const bool any = !points.empty();
    chart.SetSeriesPoints(std::move(points));
    if (!any) {
        PressureMin = 990;
        PressureMax = 1030;
        SpanCaption(true);
        return;
    }

    PressureMin -= 10;
    PressureMax += 10;
    SafeAxisUpdate(chart, Axis::Right, PressureMin, PressureMax);
    SpanCaption(true);
}

void TBaroChart::ZoomIn() {
    ApplySpan(ZoomInSpan(SpanDays));
}
void TBaroChart::ZoomOut() {
    ApplySpan(ZoomOutSpan(SpanDays));
}

void TBaroChart::ApplySpan(double spanDays) {
    SpanDays = spanDays;
    WindowStart = WindowEnd - SpanDays;
    chart.SetBottomAutomatic(false);
    SafeAxisUpdate(chart, Axis::Bottom, WindowStart, WindowEnd);
    SafeAxisUpdate(chart, Axis::Right, PressureMin, PressureMax);
    SpanCaption(true);
}

void TBaroChart::SpanCaption(bool show) {
    const std::string text = show ? SpanCaptionText(SpanDays) : std::string();
    if (chart.FooterLineCount() >= 2) chart.SetFooterLine(1, text);
}

}  // namespace baro
