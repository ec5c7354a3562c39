// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>

#include "acquisition/AcquisitionState.h"
#include "baro/UnitBaro.h"

namespace {

using baro::Axis;

// A chart that, like the real control, refuses a minimum above its maximum.
class FakeChart : public baro::IBaroChart {
public:
    struct Range {
        double min = 900, max = 1100;
    };
    Range bottom{0, 1}, right;
    std::vector<std::pair<double, double>> points;
    std::vector<std::string> footer{"", "2 Tage"};
    std::string format;
    int undoZooms = 0, clears = 0, footerWrites = 0;
    bool automatic = true;
    bool refused = false;
    baro::TBaroChart* owner = nullptr;

    Range& Of(Axis a) { return a == Axis::Bottom ? bottom : right; }
    const Range& Of(Axis a) const { return a == Axis::Bottom ? bottom : right; }

    void ClearSeries() override {
        points.clear();
        ++clears;
    }
    void SetSeriesPoints(std::vector<std::pair<double, double>> p) override { points = std::move(p); }
    void SetBottomAutomatic(bool a) override { automatic = a; }
    double AxisMinimum(Axis a) const override { return Of(a).min; }
    double AxisMaximum(Axis a) const override { return Of(a).max; }
    void SetAxisMinimum(Axis a, double v) override {
        if (v > Of(a).max)
            refused = true;
        else
            Of(a).min = v;
    }
    void SetAxisMaximum(Axis a, double v) override {
        if (v < Of(a).min)
            refused = true;
        else
            Of(a).max = v;
    }
    void SetBottomDateTimeFormat(const std::string& f) override { format = f; }
    void UndoZoom() override {
        ++undoZooms;
        if (owner) owner->Chart1UndoZoom();
    }
    int FooterLineCount() const override { return static_cast<int>(footer.size()); }
    void SetFooterLine(int index, const std::string& text) override {
        ++footerWrites;
        footer.at(static_cast<size_t>(index)) = text;
    }
};

class BaroFillTest : public ::testing::Test {
protected:
    BaroFillTest() : baro(chart, state) {
        chart.owner = &baro;
        state.BaroTime = 46362.5 + 30.0 / 86400;  // 6 Dec 2026 12:00:30
        state.BaroHeight = 0;
        baro.SpanDays = 2;
    }
    FakeChart chart;
    TAcquisitionState state;
    baro::TBaroChart baro;
};

constexpr double Minute = 1.0 / 1440;

}  // namespace

TEST(AltitudeCorrection, ReductionFormulaOnBothSidesOfTheSwitch) {
    EXPECT_NEAR(baro::VapourPressureTerm(15.0), 12.3537, 5e-5);
    EXPECT_NEAR(baro::AltitudeCorrection(1000, 100, 15.0), 1011.852, 5e-4);
    EXPECT_NEAR(baro::AltitudeCorrection(1013.3, 750, 9.0), 1108.381, 5e-4);
    EXPECT_NEAR(baro::AltitudeCorrection(1013.3, 750, 9.1), 1108.348, 5e-4);
    EXPECT_DOUBLE_EQ(baro::AltitudeCorrection(1013.3, 0, -20.0), 1013.3);
}

TEST(BaroSamples, ConvertToTenthsOfAHectopascalWithHalvesUp) {
    EXPECT_DOUBLE_EQ(baro::SampleToHpa(-32768), 672.3);
    EXPECT_DOUBLE_EQ(baro::SampleToHpa(32767), 1327.7);
    EXPECT_DOUBLE_EQ(baro::SampleToHpa(1325), 1013.3);
    EXPECT_DOUBLE_EQ(baro::SampleToHpa(1334), 1013.3);
    EXPECT_DOUBLE_EQ(baro::SampleToHpa(1335), 1013.4);
    EXPECT_DOUBLE_EQ(baro::SampleToHpa(-5), 1000.0);
    EXPECT_DOUBLE_EQ(baro::SampleToHpa(-6), 999.9);
}

TEST(SpikeFilter, RepairsIsolatedSpikesAndDelaysSteps) {
    const auto filtered = [](std::vector<int16_t> first, int count, int slots = 7) {
        std::array<int16_t, baro::RingSize> ring{};
        std::copy(first.begin(), first.end(), ring.begin());
        baro::SpikeFilter(ring, 0, count);
        return std::vector<int16_t>(ring.begin(), ring.begin() + slots);
    };
    using V = std::vector<int16_t>;
    EXPECT_EQ(filtered({0, 0, 150, 0, 0, 0}, 6), V(7, 0));
    EXPECT_EQ(filtered({0, 150, 0, 0, 0, 0}, 6), V(7, 0));
    EXPECT_EQ(filtered({0, 0, 150, 150, 150, 150}, 6), (V{0, 0, 0, 150, 150, 150, 150}));  // slot 6 too
    EXPECT_EQ(filtered({150, 0, 0, 0, 0, 0}, 6), V(7, 0));
    EXPECT_EQ(filtered({0, 150, 0}, 3), (V{0, 150, 0, 0, 0, 0, 0}));
    EXPECT_EQ(filtered({0, 100, 0, 0}, 4), (V{0, 100, 0, 0, 0, 0, 0}));  // 1 hPa is no spike
    EXPECT_EQ(filtered({-32768, 32767, 32767, 32767}, 4), (V{32767, 32767, 32767, 32767, 0, 0, 0}));

    // Across the end of the ring.
    std::array<int16_t, baro::RingSize> ring{};
    ring[10239] = 500;
    baro::SpikeFilter(ring, 10238, 5);
    EXPECT_EQ(ring[10239], 0);
}

TEST_F(BaroFillTest, PartRingEndsAtTheTruncatedBaroTime) {
    for (int i = 0; i < 100; ++i) state.BaroSamples[static_cast<size_t>(i)] = static_cast<int16_t>(1000 + i);
    state.BaroSamples[100] = -9000;  // not among the shown samples
    baro.FillChart(100, 100);

    const double end = 46362.5;
    EXPECT_DOUBLE_EQ(baro.WindowEnd, end);
    EXPECT_DOUBLE_EQ(baro.WindowStart, end - 2);
    ASSERT_EQ(chart.points.size(), 100u);
    EXPECT_DOUBLE_EQ(chart.points.back().first, end);
    EXPECT_DOUBLE_EQ(chart.points.back().second, 1011.0);  // slot 99: 1010.99 rounded
    EXPECT_NEAR(chart.points.front().first, end - 99 * Minute, 1e-9);
    EXPECT_DOUBLE_EQ(chart.points.front().second, 1010.0);  // slot 0
    EXPECT_DOUBLE_EQ(baro.PressureMin, 1000.0);
    EXPECT_DOUBLE_EQ(baro.PressureMax, 1021.0);
    EXPECT_DOUBLE_EQ(chart.right.min, 1000.0);
    EXPECT_DOUBLE_EQ(chart.right.max, 1021.0);
    EXPECT_NEAR(chart.bottom.min, end - 2, 1e-9);
    EXPECT_DOUBLE_EQ(chart.bottom.max, end);
    EXPECT_FALSE(chart.automatic);
    EXPECT_FALSE(chart.refused);
    EXPECT_EQ(chart.footer[1], "(2 jours)");
}

TEST_F(BaroFillTest, FullRingWrapsAndTheNewestIsBeforeTheWriteIndex) {
    for (int i = 0; i < baro::RingSize; ++i)
        state.BaroSamples[static_cast<size_t>(i)] = static_cast<int16_t>(i % 50);
    state.BaroSamples[4] = 77;
    state.BaroSamples[5] = 66;
    baro.FillChart(5, 10240);
    ASSERT_EQ(chart.points.size(), 10240u);
    EXPECT_DOUBLE_EQ(chart.points.front().second, baro::SampleToHpa(66));
    EXPECT_DOUBLE_EQ(chart.points.back().second, baro::SampleToHpa(77));
    EXPECT_DOUBLE_EQ(chart.points[10234].second, baro::SampleToHpa(10239 % 50));  // slot 10239
    EXPECT_DOUBLE_EQ(chart.points[10235].second, baro::SampleToHpa(0));           // then slot 0
    for (size_t i = 1; i < chart.points.size(); ++i)
        ASSERT_LT(chart.points[i - 1].first, chart.points[i].first);
}

TEST_F(BaroFillTest, InvalidIndexEmptyRingAndOversizedArguments) {
    state.BaroSamples.fill(1300);
    baro.FillChart(65535, 100);
    EXPECT_EQ(chart.clears, 0);
    EXPECT_EQ(chart.footerWrites, 0);

    baro.FillChart(100, 100);
    const FakeChart::Range right = chart.right;
    baro.FillChart(100, 0);
    EXPECT_TRUE(chart.points.empty());
    EXPECT_DOUBLE_EQ(chart.right.min, right.min);  // the axes stay

    baro.FillChart(20000, 60000);  // read as 10239 and 10240
    EXPECT_EQ(chart.points.size(), 10240u);
}

TEST_F(BaroFillTest, AltitudeCorrectionForFileModelsOnly) {
    state.BaroSamples.fill(1325);
    state.BaroHeight = 750;
    state.SystemData.SetTemperatureTenths(90);
    state.Detection.ReceiverModel = "ZEL2B";
    baro.FillChart(10, 10);
    EXPECT_NEAR(chart.points.back().second, 1108.381, 5e-4);
    EXPECT_NEAR(baro.Correct(1013.3), 1108.381, 5e-4);

    state.Detection.ReceiverModel = "ZEL2D";
    baro.FillChart(10, 10);
    EXPECT_DOUBLE_EQ(chart.points.back().second, 1013.3);
}

TEST_F(BaroFillTest, ABrokenTemperatureDrawsNoAbsurdPressure) {
    state.BaroSamples.fill(1325);
    state.BaroSamples[5] = 1400;
    state.BaroHeight = 750;
    state.Detection.ReceiverModel = "ZEL2B";
    state.SystemData.SetTemperatureTenths(-2754);  // -275.4 °C: the correction runs off
    chart.right = {990, 1030};
    baro.FillChart(10, 10);
    EXPECT_TRUE(chart.points.empty());
    EXPECT_DOUBLE_EQ(chart.right.min, 990) << "the axis keeps a range it can draw";
    EXPECT_DOUBLE_EQ(chart.right.max, 1030);
    baro.ZoomOut();
    EXPECT_TRUE(std::isfinite(chart.right.min) && std::isfinite(chart.right.max));
    EXPECT_LT(chart.right.max, 2000);

    // A sound temperature draws every point again.
    state.SystemData.SetTemperatureTenths(150);
    baro.FillChart(10, 10);
    EXPECT_EQ(chart.points.size(), 10u);
}

TEST_F(BaroFillTest, SafeAxisUpdateNeverAsksForAnInvertedRange) {
    chart.right = {900, 1100};
    baro::SafeAxisUpdate(chart, Axis::Right, 1200, 1300);  // wholly above
    EXPECT_FALSE(chart.refused);
    EXPECT_DOUBLE_EQ(chart.right.min, 1200);
    EXPECT_DOUBLE_EQ(chart.right.max, 1300);
    baro::SafeAxisUpdate(chart, Axis::Right, 100, 200);  // wholly below
    EXPECT_FALSE(chart.refused);
    EXPECT_DOUBLE_EQ(chart.right.min, 100);
    EXPECT_DOUBLE_EQ(chart.right.max, 200);
    baro::SafeAxisUpdate(chart, Axis::Right, 0, 0);
    EXPECT_FALSE(chart.refused);
    EXPECT_DOUBLE_EQ(chart.right.max, 0);
}

TEST_F(BaroFillTest, SetupThenSpansBothWaysAndTheirCaptions) {
    baro.ChartSetup(46362.5 + 10.9 * Minute, "dd/MM/yyyy HH:mm");
    EXPECT_EQ(chart.footer[1], "(2 jours)");  // the design text is replaced at once
    EXPECT_EQ(chart.format, "dd/MM/yyyy HH:mm");
    EXPECT_DOUBLE_EQ(state.BaroTime, 46362.5 + 10.9 * Minute);
    EXPECT_NEAR(baro.WindowEnd, 46362.5 + 10 * Minute, 1e-12);

    // No samples yet: the pressure axis goes to 0..0.
    baro.ZoomIn();
    EXPECT_DOUBLE_EQ(chart.right.min, 0);
    EXPECT_DOUBLE_EQ(chart.right.max, 0);
    EXPECT_FALSE(chart.refused);
    baro.SpanDays = 2;

    std::vector<double> spans;
    std::vector<std::string> captions;
    const auto step = [&](bool in) {
        in ? baro.ZoomIn() : baro.ZoomOut();
        spans.push_back(baro.SpanDays);
        captions.push_back(chart.footer[1]);
        EXPECT_NEAR(chart.bottom.max - chart.bottom.min, baro.SpanDays, 1e-9);
    };
    for (int i = 0; i < 3; ++i) step(false);
    for (int i = 0; i < 5; ++i) step(true);
    EXPECT_EQ(spans, (std::vector<double>{4, 7, 7, 4, 2, 1, 0.5, 0.5}));
    EXPECT_EQ(captions, (std::vector<std::string>{"(4 jours)", "(7 jours)", "(7 jours)", "(4 jours)",
                                                  "(2 jours)", "(1 jour)", "(12 heures)", "(12 heures)"}));

    // A fill keeps the span; a mouse zoom blanks the caption, undoing brings it back.
    state.BaroSamples.fill(0);
    baro.FillChart(1000, 1000);
    EXPECT_DOUBLE_EQ(baro.WindowEnd - baro.WindowStart, 0.5);
    baro.Chart1Zoom();
    EXPECT_EQ(chart.footer[1], "");
    baro.Chart1UndoZoom();
    EXPECT_EQ(chart.footer[1], "(12 heures)");
    baro.SpanDays = 3;  // outside the table
    baro.SpanCaption(true);
    EXPECT_EQ(chart.footer[1], "");
}

TEST_F(BaroFillTest, AOneLineFooterIsNeverWritten) {
    chart.footer = {"only"};
    baro.ChartSetup(46362.5, "");
    baro.ZoomOut();
    state.BaroSamples.fill(0);
    baro.FillChart(10, 10);
    EXPECT_EQ(chart.footerWrites, 0);
    EXPECT_EQ(chart.footer, std::vector<std::string>{"only"});
}

TEST(BaroTime, TruncatedToTheWholeMinute) {
    EXPECT_DOUBLE_EQ(baro::TruncateToMinute(46362.5 + 59.0 / 86400), 46362.5);
    // Exactly on a minute stays on it, even where the double is a hair below.
    for (int m = 0; m < 1440; ++m)
        EXPECT_EQ(std::lround(baro::TruncateToMinute(46362 + m * Minute) * 1440), 46362L * 1440 + m);
}
