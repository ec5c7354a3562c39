// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTest>
#include <QWheelEvent>

#include "app/ui/UnitMain.h"
#include "app/ui/UserTools.h"
#include "map/ui/MapPage.h"
#include "support/WindowTest.h"
#include "ui_UnitMain.h"

namespace {

warnings::TWarning Warning(int64_t id, const char* name, std::vector<warnings::TShape> shapes,
                           int64_t received,
                           warnings::TWarning::State state = warnings::TWarning::State::InForce) {
    warnings::TWarning w;
    w.id = id;
    w.name = name;
    w.received = received;
    w.shapes = std::move(shapes);
    w.state = state;
    w.text = std::string("ZCZC ") + name + "\nWZ 12\nBUOY ADRIFT\nNNNN\n";
    return w;
}

warnings::TShape Point(double lat, double lon) {
    return {warnings::TShape::Kind::Point, {{lat, lon}}, 0};
}

// Heligoland's buoy, a line across the antimeridian, a gale area, one ended long ago.
std::shared_ptr<std::vector<warnings::TWarning>> Sample() {
    auto list = std::make_shared<std::vector<warnings::TWarning>>();
    list->push_back(Warning(1, "SA77", {Point(54.1833, 7.8033)}, 1597569600));
    list->push_back(
        Warning(2, "QA01", {{warnings::TShape::Kind::Line, {{-17, 179.5}, {-17, -179.5}}, 0}}, 1597000000));
    list->push_back(Warning(3, "OB12", {{warnings::TShape::Kind::Circle, {{56, 3}}, 30}}, 1598000000));
    list->push_back(Warning(4, "SA70", {Point(54.5, 6.5)}, 1500000000, warnings::TWarning::State::Cancelled));
    return list;
}

// The map as a page or a file gets it (screen false), or as the window shows it.
QImage Picture(const TMapView& map, double ratio, bool screen) {
    QImage image((QSizeF(map.size()) * ratio).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    QPainter painter(&image);
    if (screen)
        map.Paint(painter);
    else
        map.Render(painter, map.size());
    return image;
}

QColor PixelAt(TMapView& map, QPointF at, double ratio, bool screen = false) {
    return Picture(map, ratio, screen).pixelColor((at * ratio).toPoint());
}

// The share of pixels of two pictures of one size that differ by more than blending does.
double Differing(const QImage& a, const QImage& b) {
    int64_t differ = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            differ += std::abs(qRed(p) - qRed(q)) > 24 || std::abs(qGreen(p) - qGreen(q)) > 24 ||
                      std::abs(qBlue(p) - qBlue(q)) > 24;
        }
    return double(differ) / (a.width() * a.height());
}

void Wheel(QWidget* w, QPointF at, int delta) {
    QWheelEvent event(at, w->mapToGlobal(at), {}, {0, delta}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
    QApplication::sendEvent(w, &event);
}

void Mouse(QWidget* w, QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, w->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

class MapPageTest : public testing_support::WindowTest {};

}  // namespace

TEST_F(MapPageTest, APlaceLandsOnItsPixelAtAnySize) {
    TMapView map;
    map.SetItems({{1, 'D', true, "DA01", "", "", "", {Point(54, 7)}}});
    for (const QSize size : {QSize(800, 600), QSize(400, 300)})
        for (double ratio : {1.0, 2.0}) {
            map.resize(size);
            map.View().centerLatitude = 54.5, map.View().centerLongitude = 8,
            map.View().scale = 60;  // below the legend
            const map::TPixel p = map.View().ToPixel({54, 7});
            // The search-and-rescue red at the point's own pixel, the sea beside it, on a
            // page and on the screen.
            for (const bool screen : {false, true}) {
                EXPECT_EQ(PixelAt(map, {p.x, p.y}, ratio, screen), TMapView::SubjectColor('D'))
                    << size.width() << " " << ratio << " " << screen;
                EXPECT_NE(PixelAt(map, {p.x + 12, p.y + 12}, ratio, screen), TMapView::SubjectColor('D'));
            }
        }
}

// The window's map keeps what does not move as a picture: after pans short and long, a
// zoom and changed warnings it must still show what the page shows.
TEST_F(MapPageTest, TheWindowShowsWhatThePageShowsThroughPansAndChanges) {
    TMapView map;
    map.SetLand(&TMapPage::Land());
    map.resize(640, 420);
    map.View().centerLatitude = 54.5, map.View().centerLongitude = 7, map.View().scale = 120;
    map.SetBoat(position::TLatLon{54.17, 7.885}, 20);
    map.SetItems({{1, 'D', true, "DA01", "", "", "", {Point(54.4, 7.5)}},
                  {2, 'B', true, "OB12", "", "", "", {{warnings::TShape::Kind::Circle, {{54.8, 6.2}}, 15}}},
                  {3, 'A', false, "SA70", "", "", "", {Point(54.6, 7.9)}}});
    map.SetSelected(2);
    const auto same = [&](const char* when) {
        for (const double ratio : {1.0, 2.0})
            EXPECT_LT(Differing(Picture(map, ratio, true), Picture(map, ratio, false)), 0.002)
                << when << " at " << ratio;
    };
    same("at first");
    map.View().Pan(37, -21);  // within the margin kept
    same("after a short pan");
    map.View().Pan(-400, 260);  // beyond it
    same("after a long pan");
    map.View().ZoomAbout(1.25, {100, 100});
    same("after a zoom");
    const position::TLatLon ended = map.View().FromPixel({300, 200});
    map.SetItems({{3, 'A', false, "SA70", "", "", "", {Point(ended.latitude, ended.longitude)}}});
    const QColor before = PixelAt(map, {300, 200}, 1, true);
    map.SetShowEnded(true);
    EXPECT_NE(PixelAt(map, {300, 200}, 1, true), before) << "the ended warning appears";
    same("with the ended ones");
    const position::TLatLon added = map.View().FromPixel({200, 300});
    map.SetItems({{4, 'D', true, "DA02", "", "", "", {Point(added.latitude, added.longitude)}}});
    EXPECT_EQ(PixelAt(map, {200, 300}, 1, true), TMapView::SubjectColor('D'));
    same("with other warnings");
}

TEST_F(MapPageTest, MouseWheelDragClickAndTheListChooseEachOther) {
    TMapPage page;
    page.resize(1400, 800);
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    page.SetBoat(position::TLatLon{54.17, 7.885}, 50);
    page.SetWarnings(Sample());
    TMapView* map = page.Map();
    // Newest first; the one that ended hidden until asked for.
    EXPECT_TRUE(page.List()->topLevelItem(0)->text(TMapPage::Identifier).startsWith("OB12"));
    EXPECT_FALSE(page.List()->topLevelItem(0)->icon(TMapPage::Identifier).isNull())
        << "a gale warning's mark";
    int shownRows = 0;
    for (int i = 0; i < page.List()->topLevelItemCount(); ++i)
        shownRows += !page.List()->topLevelItem(i)->isHidden();
    EXPECT_EQ(shownRows, 3);
    // Sorted by distance: the buoy by Heligoland first.
    page.List()->sortByColumn(TMapPage::Distance, Qt::AscendingOrder);
    EXPECT_TRUE(page.List()->topLevelItem(0)->text(TMapPage::Identifier).startsWith("SA77"));
    EXPECT_TRUE(page.List()->topLevelItem(0)->text(TMapPage::Distance).endsWith("°"));

    // The wheel zooms about the mouse: the place under it stays.
    map->View().centerLatitude = 54, map->View().centerLongitude = 7, map->View().scale = 40;
    const QPointF mouse(150, 120);
    const position::TLatLon under = map->View().FromPixel({mouse.x(), mouse.y()});
    Wheel(map, mouse, 240);
    EXPECT_NEAR(map->View().scale, 40 * 1.25 * 1.25, 1e-9);
    EXPECT_NEAR(map->View().ToPixel(under).x, mouse.x(), 1e-6);
    EXPECT_NEAR(map->View().ToPixel(under).y, mouse.y(), 1e-6);
    // A drag pans; it chooses nothing.
    const map::TPixel before = map->View().ToPixel(under);
    Mouse(map, QEvent::MouseButtonPress, {300, 300}, Qt::LeftButton);
    Mouse(map, QEvent::MouseMove, {340, 320}, Qt::LeftButton);
    Mouse(map, QEvent::MouseMove, {380, 330}, Qt::LeftButton);
    Mouse(map, QEvent::MouseButtonRelease, {380, 330}, Qt::NoButton);
    EXPECT_NEAR(map->View().ToPixel(under).x, before.x + 80, 1e-6);
    EXPECT_NEAR(map->View().ToPixel(under).y, before.y + 30, 1e-6);
    EXPECT_EQ(page.Shown(), 0);

    // A click on the buoy opens its message and selects its row.
    const map::TPixel buoy = map->View().ToPixel({54.1833, 7.8033});
    Mouse(map, QEvent::MouseButtonPress, {buoy.x + 2, buoy.y - 1}, Qt::LeftButton);
    Mouse(map, QEvent::MouseButtonRelease, {buoy.x + 2, buoy.y - 1}, Qt::NoButton);
    EXPECT_EQ(page.Shown(), 1);
    EXPECT_TRUE(page.List()->currentItem()->text(0).startsWith("SA77"));
    EXPECT_TRUE(page.Header()->text().contains("en vigueur")) << page.Header()->text().toStdString();
    EXPECT_TRUE(page.Text()->toPlainText().contains("BUOY ADRIFT"));
    // Choosing a row centres the map on it; a double click zooms in there.
    for (int i = 0; i < page.List()->topLevelItemCount(); ++i)
        if (page.List()->topLevelItem(i)->text(0).startsWith("OB12"))
            page.List()->setCurrentItem(page.List()->topLevelItem(i));
    EXPECT_EQ(map->Selected(), 3);
    EXPECT_NEAR(map->View().centerLatitude, 56, 0.01);
    EXPECT_NEAR(map->View().centerLongitude, 3, 0.01);
    const double scale = map->View().scale;
    QTest::mouseDClick(map, Qt::LeftButton, {}, QPoint(map->width() / 2, map->height() / 2));
    EXPECT_NEAR(map->View().scale, scale * 2, 1e-9);

    // Across the antimeridian: the line is a short one at the centre, not a band.
    for (int i = 0; i < page.List()->topLevelItemCount(); ++i)
        if (page.List()->topLevelItem(i)->text(0).startsWith("QA01"))
            page.List()->setCurrentItem(page.List()->topLevelItem(i));
    const map::TPixel east = map->View().ToPixel({-17, 179.5}), west = map->View().ToPixel({-17, -179.5});
    EXPECT_NEAR(west.x - east.x, map->View().scale, 1e-6);
    EXPECT_EQ(map->ItemAt({(east.x + west.x) / 2, east.y}), 2);

    // The filters: a subject, the ended ones shown greyed.
    auto* subject = page.findChild<QComboBox*>("MapSubject");
    subject->setCurrentIndex(subject->findData("B"));
    shownRows = 0;
    for (int i = 0; i < page.List()->topLevelItemCount(); ++i)
        shownRows += !page.List()->topLevelItem(i)->isHidden();
    EXPECT_EQ(shownRows, 1);

    // The view and the list's order are kept between runs.
    TMapPage again;
    again.LoadSettings(page.Settings());
    EXPECT_NEAR(again.Map()->View().scale, map->View().scale, 1e-3);
    EXPECT_EQ(again.List()->header()->sortIndicatorSection(), TMapPage::Distance);
    EXPECT_EQ(again.List()->header()->sortIndicatorOrder(), Qt::AscendingOrder);
}
