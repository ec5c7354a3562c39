// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>

#include "baro/UnitBaro.h"
#include "baro/ui/Chart.h"

// Date-times of the program (days since 30 December 1899, local) on the chart's time axis.
QDateTime ToQDateTime(double dateTime);
double FromQDateTime(const QDateTime& when);

// Chart1 as the barograph logic sees it.
class TBaroChartControl : public baro::IBaroChart {
public:
    explicit TBaroChartControl(TChart* chart) : chart(chart) {}

    void ClearSeries() override;
    void SetSeriesPoints(std::vector<std::pair<double, double>> points) override;
    void SetBottomAutomatic(bool automatic) override { bottomAutomatic = automatic; }
    double AxisMinimum(baro::Axis axis) const override;
    double AxisMaximum(baro::Axis axis) const override;
    void SetAxisMinimum(baro::Axis axis, double value) override;
    void SetAxisMaximum(baro::Axis axis, double value) override;
    void SetBottomDateTimeFormat(const std::string& format) override;
    void UndoZoom() override { chart->UndoZoom(); }
    int FooterLineCount() const override { return static_cast<int>(chart->FooterLines().size()); }
    void SetFooterLine(int index, const std::string& text) override;

    bool BottomAutomatic() const { return bottomAutomatic; }

private:
    TChart* chart;
    bool bottomAutomatic = true;
};
