// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct TAcquisitionState;

namespace baro {

inline constexpr int RingSize = 10240;
inline constexpr double MinutesPerDay = 1440.0;
// Pressures outside this band (hPa) are measurement faults, not weather.
inline constexpr double MinPlausibleHpa = 100.0;
inline constexpr double MaxPlausibleHpa = 2000.0;

// Sea-level pressure (hPa) from the station pressure, the temperature (°C) and the
// barometer altitude (m), after the German weather service's reduction formula.
double VapourPressureTerm(double temperature);
double AltitudeCorrection(double hPa, int32_t altitude, double temperature);

// A sample (Pa above 100000) in hPa to 0.1 hPa, halves going up.
double SampleToHpa(int16_t sample);

// Repairs isolated spikes of more than 1 hPa in the N samples from slot first on; runs
// N - 3 times and may reach past the newest sample into older slots.
void SpikeFilter(std::array<int16_t, RingSize>& samples, int first, int count);

// The date-time truncated to its whole minute.
double TruncateToMinute(double dateTime);

enum class Axis { Bottom, Right };

// What the barograph needs of the chart control. Date-times are days since 30 December 1899.
class IBaroChart {
public:
    virtual ~IBaroChart() = default;
    virtual void ClearSeries() = 0;
    // Replaces all points at once; x ascending.
    virtual void SetSeriesPoints(std::vector<std::pair<double, double>> points) = 0;
    virtual void SetBottomAutomatic(bool automatic) = 0;
    virtual double AxisMinimum(Axis axis) const = 0;
    virtual double AxisMaximum(Axis axis) const = 0;
    virtual void SetAxisMinimum(Axis axis, double value) = 0;
    virtual void SetAxisMaximum(Axis axis, double value) = 0;
    virtual void SetBottomDateTimeFormat(const std::string& format) = 0;
    // Brings back the ranges from before a mouse zoom, if any, and always raises the
    // undo-zoom event.
    virtual void UndoZoom() = 0;
    virtual int FooterLineCount() const = 0;
    virtual void SetFooterLine(int index, const std::string& text) = 0;
};

// Sets both ends without ever asking the chart for a minimum above its maximum.
void SafeAxisUpdate(IBaroChart& chart, Axis axis, double minimum, double maximum);

// The span caption of a span in days, empty for a span outside the table.
std::string SpanCaptionText(double spanDays);
double ZoomInSpan(double spanDays);
double ZoomOutSpan(double spanDays);

// The barograph chart: fill, set-up, the time spans and their caption.
class TBaroChart {
public:
    TBaroChart(IBaroChart& chart, TAcquisitionState& state) : chart(chart), state(state) {}

    void ChartSetup(double now, const std::string& dateTimeFormat);
    void FillChart(uint16_t writeIndex, uint16_t validCount);
    void ZoomIn();
    void ZoomOut();
    void SpanCaption(bool show);
    void Chart1Zoom() { SpanCaption(false); }
    void Chart1UndoZoom() { SpanCaption(true); }

    // The station pressure reduced with the stored altitude and the receiver's temperature.
    double Correct(double hPa) const;

    double SpanDays = 0, WindowStart = 0, WindowEnd = 0, PressureMin = 0, PressureMax = 0;

private:
    void ApplySpan(double spanDays);

    IBaroChart& chart;
    TAcquisitionState& state;
};

}  // namespace baro
