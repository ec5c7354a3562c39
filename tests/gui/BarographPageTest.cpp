#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QMouseEvent>
#include <QTabWidget>

#include "acquisition/AcquisitionState.h"
#include "app/UnitMain.h"
#include "baro/BaroChartControl.h"
#include "receiver/DateTime.h"
#include "support/TempFolder.h"
#include "support/WindowTest.h"
#include "ui_UnitMain.h"

#include <cmath>

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

    static void Drag(QWidget* target, QPoint from, QPoint to) {
        const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
            QMouseEvent event(type, at, target->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
            QApplication::sendEvent(target, &event);
        };
        send(QEvent::MouseButtonPress, from, Qt::LeftButton);
        send(QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
        send(QEvent::MouseMove, to, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, to, Qt::NoButton);
    }

};

}  // namespace

TEST_F(BarographPageTest, ChartIsSetUpAtStartWithTheSpanCaption) {
    TMainForm form({});
    TChart* chart = form.Ui()->Chart1;
    EXPECT_EQ(chart->FooterLines(), (QStringList{"", "(2 jours)"}));
    EXPECT_EQ(chart->Chart()->series().size(), 2);  // the curve and the storm marks
    EXPECT_EQ(chart->MarkCount(), 0);
    EXPECT_EQ(chart->Series1()->attachedAxes().size(), 2);
    EXPECT_TRUE(chart->Series1()->attachedAxes().contains(chart->RightAxis()));
    EXPECT_EQ(chart->LeftAxis()->min(), 900);
    EXPECT_EQ(chart->LeftAxis()->max(), 1100);
    EXPECT_EQ(chart->RightAxis()->titleText(), "Luftdruck [hPa]");
    EXPECT_EQ(chart->findChild<QLabel*>("Footer")->font().family(), "Arial");
    EXPECT_EQ(chart->findChild<QLabel*>("Footer")->font().pixelSize(), 11);
    const double span = FromQDateTime(chart->BottomAxis()->max()) - FromQDateTime(chart->BottomAxis()->min());
    EXPECT_NEAR(span, 2.0, 1e-6);
}

TEST_F(BarographPageTest, FillZoomMouseZoomAndUndoOnTheRealChart) {
    TMainForm form({});
    form.resize(980, 700);
    form.show();
    form.StartupTimerTimer();
    form.Ui()->PageControl1->setCurrentWidget(form.Ui()->BaroTabSheet);
    QApplication::processEvents();
    TChart* chart = form.Ui()->Chart1;

    for (int i = 0; i < 10240; ++i)
        Acquisition.BaroSamples[static_cast<size_t>(i)] = static_cast<int16_t>(1300 + (i % 600) - 300);
    Acquisition.BaroTime = 46362.5;  // 6 December 2026 12:00
    Acquisition.Detection.ReceiverModel = "ZEL2D";
    form.FillChart(10239, 10240);

    ASSERT_EQ(chart->Series1()->count(), 10240);
    const QPointF newest = chart->Series1()->at(10239);
    EXPECT_EQ(QDateTime::fromMSecsSinceEpoch(qint64(newest.x())), QDateTime(QDate(2026, 12, 6), QTime(12, 0)));
    EXPECT_DOUBLE_EQ(newest.y(), 1010.4);  // sample 1039: no spike filter repair, no correction
    EXPECT_NEAR(chart->Series1()->at(0).x(), newest.x() - 10239 * 60000.0, 1.0);
    EXPECT_DOUBLE_EQ(chart->RightAxis()->min(), 1010.0 - 10);
    EXPECT_DOUBLE_EQ(chart->RightAxis()->max(), 1016.0 + 10);
    EXPECT_EQ(chart->BottomAxis()->max(), QDateTime(QDate(2026, 12, 6), QTime(12, 0)));
    EXPECT_EQ(chart->BottomAxis()->min(), QDateTime(QDate(2026, 12, 4), QTime(12, 0)));

    form.Ui()->BaroZoomOutToolButton->trigger();
    EXPECT_EQ(chart->BottomAxis()->min(), QDateTime(QDate(2026, 12, 2), QTime(12, 0)));
    EXPECT_EQ(chart->FooterLines().at(1), "(4 jours)");
    form.Ui()->ZoomIn1->trigger();
    form.Ui()->ZoomIn1->trigger();
    EXPECT_EQ(chart->BottomAxis()->min(), QDateTime(QDate(2026, 12, 5), QTime(12, 0)));
    EXPECT_EQ(chart->FooterLines().at(1), "(1 jour)");

    // Dragging right and down zooms and blanks the caption; dragging back undoes both.
    QWidget* plot = chart->View()->viewport();
    const QRectF area = chart->Chart()->plotArea();
    const QPoint a = chart->View()->mapFromScene(area.topLeft() + QPointF(area.width() / 4, area.height() / 4));
    const QPoint b = chart->View()->mapFromScene(area.center());
    Drag(plot, a, b);
    EXPECT_TRUE(chart->Zoomed());
    EXPECT_EQ(chart->FooterLines().at(1), "");
    EXPECT_GT(chart->BottomAxis()->min(), QDateTime(QDate(2026, 12, 5), QTime(12, 0)));
    EXPECT_LT(chart->RightAxis()->max(), 1026.0);
    Drag(plot, b, a);
    EXPECT_FALSE(chart->Zoomed());
    EXPECT_EQ(chart->FooterLines().at(1), "(1 jour)");
    EXPECT_EQ(chart->BottomAxis()->min(), QDateTime(QDate(2026, 12, 5), QTime(12, 0)));
    EXPECT_DOUBLE_EQ(chart->RightAxis()->max(), 1026.0);

    // A fill during a mouse zoom undoes it.
    Drag(plot, a, b);
    form.FillChart(10239, 10240);
    EXPECT_FALSE(chart->Zoomed());
    EXPECT_EQ(chart->FooterLines().at(1), "(1 jour)");

    form.SetSeriesBlue(true);
    EXPECT_EQ(chart->Series1()->color(), QColor(0, 0, 255));
    form.SetSeriesBlue(false);
    EXPECT_EQ(chart->Series1()->color(), QColor(0, 0, 0));

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

// A broken temperature or a jump of the range must neither crash nor freeze the chart. The
// time bounds only catch a hang: a sound layout takes milliseconds.
TEST_F(BarographPageTest, PressureRangeJumpsNeitherCrashNorFreeze) {
    TMainForm form({});
    form.resize(980, 700);
    form.show();
    form.StartupTimerTimer();
    form.Ui()->PageControl1->setCurrentWidget(form.Ui()->BaroTabSheet);
    QApplication::processEvents();
    TChart* chart = form.Ui()->Chart1;
    const auto ticks = [chart] {
        return (chart->RightAxis()->max() - chart->RightAxis()->min()) / chart->RightAxis()->tickInterval();
    };

    Acquisition.BaroSamples.fill(1325);
    Acquisition.BaroTime = 46362.5;
    Acquisition.Detection.ReceiverModel = "ZEL2B";
    Acquisition.BaroHeight = 750;
    for (int16_t tenths : {-2754, -2662, 150}) {  // 4.6e91 hPa, about 40000 hPa, sound
        Acquisition.SystemData.SetTemperatureTenths(tenths);
        QElapsedTimer timer;
        timer.start();
        form.FillChart(500, 500);
        const QImage picture = chart->Picture();
        EXPECT_LT(timer.elapsed(), 5000) << tenths;
        EXPECT_FALSE(picture.isNull());
        EXPECT_TRUE(std::isfinite(chart->RightAxis()->max()));
        EXPECT_LT(chart->RightAxis()->max(), 2000) << tenths;
        EXPECT_LE(ticks(), 40.0) << tenths;
    }
    EXPECT_EQ(chart->Series1()->count(), 500);

    // The component itself: a range far beyond the last one gets its step at once, and one
    // that is no number is ignored.
    QElapsedTimer timer;
    timer.start();
    chart->SetRightRange(990, 40000);
    chart->Picture();
    EXPECT_LE(ticks(), 40.0);
    chart->SetRightRange(990, 4.6e91);
    chart->SetRightRange(std::nan(""), 1000);
    EXPECT_DOUBLE_EQ(chart->RightAxis()->max(), 40000);
    chart->SetRightRange(1000, 1000.01);
    chart->Picture();
    EXPECT_LE(ticks(), 40.0);
    chart->SetRightRange(990, 1040);
    chart->Picture();
    EXPECT_LE(ticks(), 40.0);
    EXPECT_LT(timer.elapsed(), 5000);

    // A rubber band of a pixel's height, then its undo.
    form.FillChart(500, 500);
    QWidget* plot = chart->View()->viewport();
    const QPoint at = chart->View()->mapFromScene(chart->Chart()->plotArea().center());
    timer.restart();
    Drag(plot, at, at + QPoint(3, 1));
    ASSERT_TRUE(chart->Zoomed());
    chart->Picture();
    Drag(plot, at + QPoint(3, 1), at);
    chart->Picture();
    EXPECT_FALSE(chart->Zoomed());
    EXPECT_LE(ticks(), 40.0);
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
    const QDateTime min = chart->BottomAxis()->min(), max = chart->BottomAxis()->max();
    EXPECT_TRUE(min.isValid());
    EXPECT_EQ(max, QDateTime(QDate(2025, 3, 30), QTime(14, 30)));
    EXPECT_GE(min.secsTo(max), 11 * 3600) << min.toString().toStdString();
    EXPECT_LE(min.secsTo(max), 12 * 3600);
    EXPECT_EQ(chart->Series1()->count(), 1000);
}
