#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTabWidget>

#include "acquisition/AcquisitionState.h"
#include "app/UnitMain.h"
#include "baro/BaroChartControl.h"
#include "support/TempFolder.h"
#include "support/WindowTest.h"
#include "ui_UnitMain.h"

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
    EXPECT_EQ(chart->Chart()->series().size(), 1);
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
