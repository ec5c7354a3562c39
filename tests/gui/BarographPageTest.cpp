// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

#include "acquisition/AcquisitionState.h"
#include "app/ui/Language.h"
#include "app/ui/UnitMain.h"
#include "baro/ui/BaroChartControl.h"
#include "common/DateTime.h"
#include "support/MainWindow.h"
#include "support/TempFolder.h"
#include "support/WindowTest.h"
#include "ui_UnitMain.h"

#include <cmath>
#include <cstdlib>

using testing_support::TempFolder;

namespace {

class BarographPageTest : public testing_support::WindowTest {
protected:
    BarographPageTest() {
        Acquisition.BaroHeight = 0;
        Acquisition.Detection.ReceiverModel.clear();
    }
    ~BarographPageTest() override {
        Acquisition.BaroHeight = 0;
        Acquisition.Detection.ReceiverModel.clear();
    }

    // A real drag of the mouse, as a user makes it.
    static void Drag(QWidget* target, QPoint from, QPoint to) {
        QTest::mousePress(target, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(target, (from + to) / 2);
        QTest::mouseMove(target, to);
        QTest::mouseRelease(target, Qt::LeftButton, Qt::NoModifier, to);
    }

    // The main window on the BAROGRAPHE page at the default size, with a full ring.
    void ShowFullRing(TMainForm& form, const char* model = "ZEL2D") {
        testing_support::ShowMainWindow(form, {.page = form.Ui()->BaroTabSheet});
        for (int i = 0; i < 10240; ++i)
            Acquisition.BaroSamples[static_cast<size_t>(i)] = static_cast<int16_t>(1300 + (i % 600) - 300);
        Acquisition.BaroTime = 46362.5;  // 6 December 2026 12:00
        Acquisition.Detection.ReceiverModel = model;
        form.FillChart(10239, 10240);
    }
};

// Labels of one axis never overlap: labels are centred on their ticks, so two neighbours
// must be further apart than half of each one's size.
void ExpectApart(const TChart& chart, const QList<TChart::TTick>& ticks, bool horizontal) {
    QFont font("Arial");
    font.setPixelSize(11);
    const QFontMetricsF metrics(font);
    const auto widthOf = [&](const QString& label) {
        double widest = 0;
        for (const QString& line : label.split('\n'))
            widest = std::max(widest, metrics.horizontalAdvance(line));
        return widest;
    };
    for (qsizetype i = 1; i < ticks.size(); ++i) {
        if (horizontal) {
            const double distance =
                chart.MapToPosition(ticks[i].value, 0).x() - chart.MapToPosition(ticks[i - 1].value, 0).x();
            EXPECT_GT(distance, (widthOf(ticks[i].label) + widthOf(ticks[i - 1].label)) / 2)
                << ticks[i].label.toStdString();
        } else {
            const double distance =
                chart.MapToPosition(0, ticks[i - 1].value).y() - chart.MapToPosition(0, ticks[i].value).y();
            EXPECT_GT(distance, metrics.height()) << ticks[i].label.toStdString();
        }
    }
}

}  // namespace

TEST_F(BarographPageTest, ChartIsSetUpAtStartWithTheSpanCaption) {
    TMainForm form({});
    TChart* chart = form.Ui()->Chart1;
    EXPECT_EQ(chart->FooterLines(), (QStringList{"", "(2 jours)"}));
    EXPECT_EQ(chart->MarkCount(), 0);
    EXPECT_EQ(chart->SeriesColor(), QColor(0, 128, 0));
    EXPECT_EQ(TChart::LeftMinimum, 900);
    EXPECT_EQ(TChart::LeftMaximum, 1100);
    EXPECT_EQ(chart->RightTitle(), "Luftdruck [hPa]");
    const double span = FromQDateTime(chart->BottomMaximum()) - FromQDateTime(chart->BottomMinimum());
    EXPECT_NEAR(span, 2.0, 1e-6);
}

TEST_F(BarographPageTest, FillZoomMouseZoomAndUndoOnTheRealChart) {
    TMainForm form({});
    ShowFullRing(form);
    TChart* chart = form.Ui()->Chart1;

    ASSERT_EQ(chart->Points().size(), 10240);
    const QPointF newest = chart->Points().at(10239);
    EXPECT_EQ(QDateTime::fromMSecsSinceEpoch(qint64(newest.x())),
              QDateTime(QDate(2026, 12, 6), QTime(12, 0)));
    EXPECT_DOUBLE_EQ(newest.y(), 1010.4);  // sample 1039: no spike filter repair, no correction
    EXPECT_NEAR(chart->Points().at(0).x(), newest.x() - 10239 * 60000.0, 1.0);
    EXPECT_DOUBLE_EQ(chart->RightMinimum(), 1010.0 - 10);
    EXPECT_DOUBLE_EQ(chart->RightMaximum(), 1016.0 + 10);
    EXPECT_EQ(chart->BottomMaximum(), QDateTime(QDate(2026, 12, 6), QTime(12, 0)));
    EXPECT_EQ(chart->BottomMinimum(), QDateTime(QDate(2026, 12, 4), QTime(12, 0)));

    form.Ui()->BaroZoomOutToolButton->trigger();
    EXPECT_EQ(chart->BottomMinimum(), QDateTime(QDate(2026, 12, 2), QTime(12, 0)));
    EXPECT_EQ(chart->FooterLines().at(1), "(4 jours)");
    // The zoom commands are off at the ends of the spans.
    form.Ui()->ZoomOut1->trigger();
    EXPECT_FALSE(form.Ui()->ZoomOut1->isEnabled());
    EXPECT_FALSE(form.Ui()->BaroZoomOutToolButton->isEnabled());
    form.Ui()->ZoomIn1->trigger();
    EXPECT_TRUE(form.Ui()->ZoomOut1->isEnabled());
    form.Ui()->ZoomIn1->trigger();
    form.Ui()->ZoomIn1->trigger();
    EXPECT_EQ(chart->BottomMinimum(), QDateTime(QDate(2026, 12, 5), QTime(12, 0)));
    EXPECT_EQ(chart->FooterLines().at(1), "(1 jour)");
    form.Ui()->BaroZoomInToolButton->trigger();
    EXPECT_FALSE(form.Ui()->ZoomIn1->isEnabled());
    EXPECT_FALSE(form.Ui()->BaroZoomInToolButton->isEnabled());
    form.Ui()->ZoomOut1->trigger();
    EXPECT_EQ(chart->FooterLines().at(1), "(1 jour)");

    // Dragging right and down zooms into the rectangle and blanks the caption; dragging
    // back undoes both. Each raises its event once.
    QSignalSpy zoomed(chart, &TChart::Zoom), undone(chart, &TChart::UndoZoomed);
    const QRectF area = chart->PlotArea();
    const QPoint a = (area.topLeft() + QPointF(area.width() / 4, area.height() / 4)).toPoint();
    const QPoint b = area.center().toPoint();
    const QDateTime wantedStart =
        QDateTime::fromMSecsSinceEpoch(chart->BottomMinimum().toMSecsSinceEpoch() +
                                       qint64((a.x() - area.left()) / area.width() * 86400000.0));
    Drag(chart, a, b);
    EXPECT_EQ(zoomed.count(), 1);
    EXPECT_TRUE(chart->Zoomed());
    EXPECT_EQ(chart->FooterLines().at(1), "");
    EXPECT_NEAR(chart->BottomMinimum().msecsTo(wantedStart), 0, 3 * 60000.0) << "the rectangle's left edge";
    EXPECT_LT(chart->RightMaximum(), 1026.0);
    EXPECT_GT(chart->RightMinimum(), 1000.0);
    Drag(chart, b, a);
    EXPECT_EQ(undone.count(), 1);
    EXPECT_FALSE(chart->Zoomed());
    EXPECT_EQ(chart->FooterLines().at(1), "(1 jour)");
    EXPECT_EQ(chart->BottomMinimum(), QDateTime(QDate(2026, 12, 5), QTime(12, 0)));
    EXPECT_DOUBLE_EQ(chart->RightMaximum(), 1026.0);
    // A right click undoes too; a click without a drag does nothing.
    Drag(chart, a, b);
    QTest::mouseClick(chart, Qt::RightButton, Qt::NoModifier, b);
    EXPECT_FALSE(chart->Zoomed());
    QTest::mouseClick(chart, Qt::LeftButton, Qt::NoModifier, b);
    EXPECT_EQ(zoomed.count(), 2);
    EXPECT_EQ(undone.count(), 2);

    // A fill during a mouse zoom undoes it.
    Drag(chart, a, b);
    form.FillChart(10239, 10240);
    EXPECT_FALSE(chart->Zoomed());
    EXPECT_EQ(chart->FooterLines().at(1), "(1 jour)");

    form.SetSeriesBlue(true);
    EXPECT_EQ(chart->SeriesColor(), QColor(0, 0, 255));
    form.SetSeriesBlue(false);
    EXPECT_EQ(chart->SeriesColor(), QColor(0, 0, 0));

    // The picture: the chart's own size on white, with the curve drawn in it.
    const QImage picture = chart->Picture();
    EXPECT_EQ(picture.size(), chart->size());
    EXPECT_EQ(picture.pixelColor(1, 1), QColor(Qt::white));
    int dark = 0;
    for (int y = 0; y < picture.height(); y += 2)
        for (int x = 0; x < picture.width(); x += 2)
            if (picture.pixelColor(x, y).lightness() < 60) ++dark;
    EXPECT_GT(dark, 200);
    const QString bmp = QString::fromStdString(temp / "chart.bmp");
    ASSERT_TRUE(chart->SaveBitmap(bmp));
    EXPECT_EQ(QImage(bmp, "BMP").size(), chart->size());
}

// Every span and a zoom of a few minutes: round ticks of the local clock, at most about a
// dozen pressure labels on a "nice" step, no two labels touching, also across a change of
// daylight saving time (Paris, 27 October 2024: 03:00 becomes 02:00 again).
TEST_F(BarographPageTest, TicksAreRoundAndApartForEverySpanAndZoom) {
    TMainForm form({});
    ShowFullRing(form);
    TChart* chart = form.Ui()->Chart1;
    // The window's own format is the interface's, French here, even on a machine in the C
    // locale, whose format would bring English months and seconds.
    EXPECT_EQ(chart->BottomFormat(),
              language::LocaleOf(language::Current()).dateFormat(QLocale::ShortFormat) + " " +
                  language::LocaleOf(language::Current()).timeFormat(QLocale::ShortFormat));
    EXPECT_FALSE(chart->BottomFormat().contains("MMM"));
    chart->SetBottomFormat("dd/MM/yyyy HH:mm");
    const QDateTime end(QDate(2024, 10, 28), QTime(6, 0));
    const std::vector<std::pair<qint64, qint64>> spans{{7 * 1440, 1440}, {4 * 1440, 720}, {2 * 1440, 360},
                                                       {1440, 60},       {720, 60},       {6, 1}};
    for (const auto& [minutes, roundTo] : spans) {
        chart->SetBottomRange(end.addSecs(-minutes * 60), end);
        const QList<TChart::TTick> ticks = chart->BottomTicks();
        ASSERT_GE(ticks.size(), 2) << minutes;
        EXPECT_LE(ticks.size(), 14) << minutes;
        for (const TChart::TTick& t : ticks) {
            const QDateTime when = QDateTime::fromMSecsSinceEpoch(qint64(t.value));
            const int minute = when.time().hour() * 60 + when.time().minute();
            EXPECT_EQ(when.time().second(), 0);
            EXPECT_EQ(minute % std::min<qint64>(roundTo, 1440), 0)
                << minutes << " " << when.toString().toStdString();
            EXPECT_EQ(t.label, when.toString("dd/MM/yyyy") + "\n" + when.toString("HH:mm"));
        }
        ExpectApart(*chart, ticks, true);
    }
    // A format with spaces inside its date (the C locale's) still puts the time below.
    chart->SetBottomFormat("d MMM yyyy HH:mm:ss");
    chart->SetBottomRange(end.addDays(-2), end);
    const QList<TChart::TTick> spaced = chart->BottomTicks();
    ASSERT_GE(spaced.size(), 2);
    EXPECT_EQ(spaced[0].label.count('\n'), 1) << spaced[0].label.toStdString();
    EXPECT_TRUE(spaced[0].label.endsWith(":00:00")) << spaced[0].label.toStdString();
    ExpectApart(*chart, spaced, true);
    // Month names in the chart's language, and the printed title's end with them.
    chart->SetBottomLocale(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_TRUE(chart->BottomTicks()[0].label.contains("Okt")) << chart->BottomTicks()[0].label.toStdString();
    EXPECT_TRUE(chart->BottomText(end).startsWith("28 Okt")) << chart->BottomText(end).toStdString();
    chart->SetBottomLocale(QLocale::c());
    for (const auto& [low, high] :
         std::vector<std::pair<double, double>>{{1000, 1001}, {985, 1025}, {950, 1080}, {990, 40000}}) {
        chart->SetRightRange(low, high);
        const QList<TChart::TTick> ticks = chart->RightTicks();
        const double step = chart->RightStep();
        const double mantissa = step / std::pow(10.0, std::floor(std::log10(step)));
        EXPECT_TRUE(std::abs(mantissa - 1) < 1e-9 || std::abs(mantissa - 2) < 1e-9 ||
                    std::abs(mantissa - 5) < 1e-9)
            << step;
        EXPECT_GE(ticks.size(), 2) << low;
        EXPECT_LE(ticks.size(), 13) << low;
        ExpectApart(*chart, ticks, false);
    }
    chart->SetDecimalSeparator(',');
    chart->SetRightRange(1000, 1001);
    EXPECT_EQ(chart->RightTicks().at(1).label, "1000,1");
    chart->SetDecimalSeparator('.');
    EXPECT_EQ(chart->RightTicks().at(1).label, "1000.1");
}

// A point lands on the pixel the axes say, at two sizes and on a screen of twice the
// density; the storm mark stands inside the plot even on the curve's last point.
TEST_F(BarographPageTest, PointsLandWhereTheAxesSayAndTheMarkStaysInside) {
    TChart chart;
    chart.SetBottomRange(QDateTime(QDate(2026, 12, 6), QTime(0, 0)),
                         QDateTime(QDate(2026, 12, 6), QTime(12, 0)));
    chart.SetRightRange(1000, 1020);
    const QDateTime at(QDate(2026, 12, 6), QTime(6, 0));
    chart.SetPoints({{double(at.toMSecsSinceEpoch()), 1010.0}});
    for (const QSize size : {QSize(980, 600), QSize(500, 320)}) {
        chart.resize(size);
        const QRectF plot = chart.PlotArea();
        const QPointF p = chart.MapToPosition(double(at.toMSecsSinceEpoch()), 1010.0);
        EXPECT_NEAR(p.x(), plot.center().x(), 0.5);
        EXPECT_NEAR(p.y(), plot.center().y(), 0.5);
        // The tick of 06:00 is at the same place, and so is the label of 1010.
        bool found = false;
        for (const TChart::TTick& t : chart.BottomTicks()) found |= qint64(t.value) == at.toMSecsSinceEpoch();
        EXPECT_TRUE(found) << size.width();
    }
    // Drawn on a screen of twice the density: the curve is where the axes say, one pixel in two.
    chart.resize(500, 320);
    QList<QPointF> line;
    for (int m = 0; m <= 720; ++m)
        line.append({double(at.addSecs((m - 360) * 60).toMSecsSinceEpoch()), 1010.0});
    chart.SetPoints(line);
    QImage dense(chart.size() * 2, QImage::Format_RGB32);
    dense.setDevicePixelRatio(2);
    dense.fill(Qt::white);
    {
        QPainter painter(&dense);
        chart.render(&painter);
    }
    const QPointF p = chart.MapToPosition(double(at.toMSecsSinceEpoch()), 1010.0) * 2;
    int green = 0;
    for (int dy = -2; dy <= 2; ++dy)
        green += dense.pixelColor(int(p.x()), int(p.y()) + dy).green() > 100 &&
                 dense.pixelColor(int(p.x()), int(p.y()) + dy).red() < 100;
    EXPECT_GE(green, 1) << "the curve at its place on a dense screen";

    const QDateTime newest(QDate(2026, 12, 6), QTime(12, 0));
    chart.AddMark(newest, 1019.9, "Avis de tempête 12:00 : -4,0 hPa en 3 h");
    ASSERT_EQ(chart.MarkCount(), 1);
    const QRectF mark = chart.MarkArea(0);
    EXPECT_TRUE(chart.PlotArea().contains(mark)) << "not cut at the plot's edge";
    EXPECT_GE(mark.width(), 10);
}

// Printing lays the chart out for the page and draws at the printer's resolution: the
// curve inside the rectangle, the footer lines in the PDF's text, sharp at 600 dpi.
TEST_F(BarographPageTest, PrintedIntoAPdfAndA600DpiImage) {
    if (!testing_support::NoPdfToolsReason().isEmpty())
        GTEST_SKIP() << testing_support::NoPdfToolsReason().toStdString();
    TMainForm form({});
    ShowFullRing(form);
    TChart* chart = form.Ui()->Chart1;
    const QString pdf = QString::fromStdString(temp / "chart.pdf");
    {
        QPdfWriter writer(pdf);
        writer.setResolution(600);
        writer.setPageOrientation(QPageLayout::Landscape);
        QPainter painter(&writer);
        chart->PrintInto(painter, QRectF(QPointF(0, 0), QSizeF(painter.viewport().size())));
    }
    QProcess text;
    text.start("pdftotext", {pdf, "-"});
    ASSERT_TRUE(text.waitForFinished(10000));
    const QString words = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(words.contains("(2 jours)")) << words.toStdString();
    EXPECT_TRUE(words.contains("Pression[hPa]")) << words.toStdString();

    // 600 dpi, 20 x 10 cm: the curve is inside the target rectangle, and thin lines stay thin.
    QImage page(4724, 2362, QImage::Format_RGB32);
    page.fill(Qt::white);
    const QRectF target(200, 100, 4000, 2000);
    {
        QPainter painter(&page);
        chart->PrintInto(painter, target);
    }
    int inside = 0, outside = 0;
    for (int y = 0; y < page.height(); y += 3)
        for (int x = 0; x < page.width(); x += 3) {
            const QColor c = page.pixelColor(x, y);
            if (c.green() > 80 && c.red() < 60 && c.blue() < 60)
                (target.contains(x, y) ? inside : outside) += 1;
        }
    EXPECT_GT(inside, 100) << "the curve";
    EXPECT_EQ(outside, 0);
    // The frame of the plot is a line a few printer pixels wide, not a screen pixel blown up.
    const int mid = int(target.center().y());
    int frame = 0;
    for (int x = int(target.left()); x < int(target.left()) + 400; ++x)
        frame += page.pixelColor(x, mid).lightness() < 100;
    EXPECT_GT(frame, 0);
    EXPECT_LT(frame, 40);
}

// A broken temperature, absurd ranges or a rubber band of a pixel: no crash, no freeze.
// The time bounds only catch a hang: a sound drawing takes milliseconds.
TEST_F(BarographPageTest, AbsurdRangesAndPointsNeitherCrashNorFreeze) {
    TMainForm form({});
    testing_support::ShowMainWindow(form, {.page = form.Ui()->BaroTabSheet});
    TChart* chart = form.Ui()->Chart1;
    Acquisition.BaroSamples.fill(1325);
    Acquisition.BaroTime = 46362.5;
    Acquisition.Detection.ReceiverModel = "ZEL2B";
    Acquisition.BaroHeight = 750;
    QElapsedTimer timer;
    timer.start();
    for (int16_t tenths : {-2754, -2662, 150}) {  // 4.6e91 hPa, about 40000 hPa, sound
        Acquisition.SystemData.SetTemperatureTenths(tenths);
        form.FillChart(500, 500);
        EXPECT_FALSE(chart->Picture().isNull());
        EXPECT_TRUE(std::isfinite(chart->RightMaximum()));
        EXPECT_LT(chart->RightMaximum(), 2000) << tenths;
        EXPECT_LE(chart->RightTicks().size(), 13) << tenths;
    }
    EXPECT_EQ(chart->Points().size(), 500);
    const double top = chart->RightMaximum();
    chart->SetRightRange(990, 4.6e91);
    chart->SetRightRange(std::nan(""), 1000);
    chart->SetRightRange(1010, 1000);
    EXPECT_DOUBLE_EQ(chart->RightMaximum(), top) << "ignored";
    chart->SetRightRange(1000, 1000);  // a zoom command before any fill: 0 to 0
    chart->SetBottomRange(chart->BottomMaximum(), chart->BottomMaximum());
    chart->SetPoints({{std::nan(""), 1000}, {0, INFINITY}, {1, 1e300}});
    EXPECT_TRUE(chart->Points().isEmpty());
    chart->Picture();
    form.FillChart(500, 500);
    const QPoint at = chart->PlotArea().center().toPoint();
    Drag(chart, at, at + QPoint(3, 1));
    ASSERT_TRUE(chart->Zoomed());
    EXPECT_GE(chart->BottomMinimum().msecsTo(chart->BottomMaximum()), 60000) << "a minute at least";
    chart->Picture();
    Drag(chart, at + QPoint(3, 1), at);
    EXPECT_FALSE(chart->Zoomed());
    EXPECT_LT(timer.elapsed(), 5000);
}

TEST_F(BarographPageTest, AnAxisEndInTheSkippedHourKeepsItsPlace) {
    // 30 March 2025 in Paris: 02:00 to 03:00 does not exist. Twelve hours before 14:30.
    TMainForm form({});
    Acquisition.BaroSamples.fill(1325);
    Acquisition.BaroTime = datetime::EncodeLocal({2025, 3, 30, 14, 30, 0, 0});
    Acquisition.Detection.ReceiverModel = "ZEL2D";
    form.Baro().SpanDays = 0.5;
    form.FillChart(1000, 1000);
    TChart* chart = form.Ui()->Chart1;
    const QDateTime min = chart->BottomMinimum(), max = chart->BottomMaximum();
    EXPECT_TRUE(min.isValid());
    EXPECT_EQ(max, QDateTime(QDate(2025, 3, 30), QTime(14, 30)));
    EXPECT_GE(min.secsTo(max), 11 * 3600) << min.toString().toStdString();
    EXPECT_LE(min.secsTo(max), 12 * 3600);
    EXPECT_EQ(chart->Points().size(), 1000);
    for (const TChart::TTick& t : chart->BottomTicks())
        EXPECT_EQ(QDateTime::fromMSecsSinceEpoch(qint64(t.value)).time().minute(), 0)
            << "whole hours after the change too";
}
