// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>

#include "map/Land.h"
#include "map/Mercator.h"
#include "warnings/Summary.h"

using map::TView;

TEST(MapView, PixelsPlacesAndZoomAboutTheMouse) {
    TView view;
    view.width = 1000, view.height = 600, view.centerLatitude = 54, view.centerLongitude = 7,
    view.scale = 100;
    // The centre in the middle; a degree east is scale pixels right; north is up, and a
    // degree of latitude spans more than one of longitude at 54°N (1/cos).
    const map::TPixel centre = view.ToPixel({54, 7});
    EXPECT_DOUBLE_EQ(centre.x, 500);
    EXPECT_DOUBLE_EQ(centre.y, 300);
    EXPECT_NEAR(view.ToPixel({54, 8}).x, 600, 1e-9);
    EXPECT_NEAR(300 - view.ToPixel({54.5, 7}).y, 50 / std::cos(54.25 * 3.14159265358979 / 180), 0.5);
    const position::TLatLon back = view.FromPixel({123, 456});
    EXPECT_NEAR(view.ToPixel(back).x, 123, 1e-6);
    EXPECT_NEAR(view.ToPixel(back).y, 456, 1e-6);
    // Zooming about a pixel keeps the place under it.
    const position::TLatLon under = view.FromPixel({800, 100});
    view.ZoomAbout(2.5, {800, 100});
    EXPECT_NEAR(view.ToPixel(under).x, 800, 1e-6);
    EXPECT_NEAR(view.ToPixel(under).y, 100, 1e-6);
    EXPECT_DOUBLE_EQ(view.scale, 250);
    view.Pan(100, 0);  // dragged right: what was west comes into view
    EXPECT_NEAR(view.ToPixel(under).x, 900, 1e-6);

    // Across the antimeridian: a place at 179°W seen from 179°E lies just east of the centre.
    TView pacific;
    pacific.centerLongitude = 179, pacific.centerLatitude = -17, pacific.scale = 100;
    EXPECT_NEAR(pacific.ToPixel({-17, -179}).x, pacific.width / 2 + 200, 1e-6);
    pacific.Pan(-300, 0);
    EXPECT_NEAR(pacific.centerLongitude, -178, 1e-9) << "kept within -180..180";

    // The view as WINDOW.INI keeps it; anything else is refused and changes nothing.
    TView read;
    ASSERT_TRUE(TView::Read(view.Text(), read));
    EXPECT_NEAR(read.centerLatitude, view.centerLatitude, 1e-5);
    EXPECT_NEAR(read.scale, view.scale, 1e-3);
    for (const char* bad : {"", "54,7", "54,7,100,", "95,7,100", "54,7,1e9", "nan,7,100", "54;7;100"})
        EXPECT_FALSE(TView::Read(bad, read)) << bad;
}

TEST(MapView, ScalesGridsAndCircles) {
    TView view;
    view.scale = 5;
    EXPECT_EQ(view.LandLevel(), map::TLand::World);
    view.scale = 40;
    EXPECT_EQ(view.LandLevel(), map::TLand::Sea);
    view.scale = 400;
    EXPECT_EQ(view.LandLevel(), map::TLand::Coast);
    EXPECT_DOUBLE_EQ(map::GraticuleStep(40, 90), 5);
    EXPECT_DOUBLE_EQ(map::GraticuleStep(400, 90), 0.5);
    EXPECT_EQ(map::GraticuleLabel(54.5, true), "54°30′N");
    EXPECT_EQ(map::GraticuleLabel(-7, false), "007°W");
    EXPECT_EQ(map::GraticuleLabel(0, true), "0°");
    EXPECT_EQ(map::GraticuleLabel(540, false), "180°E");
    EXPECT_DOUBLE_EQ(map::ScaleBarNm(0.3, 160), 20);  // 48 nm fit: 20
    EXPECT_DOUBLE_EQ(map::ScaleBarNm(0.01, 160), 1);
    // A circle's outline lies at its radius all round, also across the antimeridian.
    for (const position::TLatLon centre : {position::TLatLon{54, 7}, position::TLatLon{-17, 179.9}})
        for (const position::TLatLon& p : map::CirclePoints(centre, 25, 36))
            EXPECT_NEAR(
                position::ToPoint(centre, {p.latitude, std::remainder(p.longitude, 360.0)}).distanceNm, 25,
                0.01);
}

TEST(MapLand, TheCarriedFileWholeOrNothing) {
    std::ifstream in(ZEL2_SOURCE_DIR "/resources/map/land.bin", std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.empty()) GTEST_SKIP() << "the source tree cannot be read from here";
    const map::TLand land = map::ReadLand(bytes.data(), bytes.size());
    ASSERT_EQ(land.levels.size(), 3u);
    EXPECT_EQ(land.levels[0].points, 5123u);
    EXPECT_EQ(land.levels[2].points, 408940u);
    // Rings unwrapped: no step of a ring jumps across the map.
    for (const map::TLandLevel& level : land.levels)
        for (const map::TLandPolygon& polygon : level.polygons)
            for (const map::TLandRing& ring : polygon.rings)
                for (size_t i = 1; i < ring.points.size(); ++i)
                    ASSERT_LT(std::fabs(ring.points[i].longitude - ring.points[i - 1].longitude), 180);
    // Heligoland's main island, at 1:10m, is land.
    bool heligoland = false;
    for (const map::TLandPolygon& p : land.levels[2].polygons)
        heligoland |= p.west < 7.89f && p.east > 7.87f && p.south < 54.18f && p.north > 54.18f;
    EXPECT_TRUE(heligoland);
    // Cut short anywhere, or a count that overruns: nothing, never a crash.
    for (size_t size : {size_t{0}, size_t{11}, bytes.size() / 3, bytes.size() - 1})
        EXPECT_TRUE(map::ReadLand(bytes.data(), size).levels.empty()) << size;
    std::vector<uint8_t> huge(bytes.begin(), bytes.begin() + 64);
    huge[44] = huge[45] = huge[46] = huge[47] = 0xFF;
    EXPECT_TRUE(map::ReadLand(huge.data(), huge.size()).levels.empty());
}

TEST(MapList, TheFirstLineThatSaysSomething) {
    // archive/2020/08/16/SA77 and others of the corpus.
    EXPECT_EQ(
        warnings::MeaningfulLine("ZCZC SA77\r\nNUC-HAMBURG\r\n160920 UTC JUL 0\r\nNAV. WARN. NO. 288\r\n"
                                 "GERMAN BIGHT. HELGOLAND. OWP KASKASI 2.\r\nNNNN\r\n"),
        "GERMAN BIGHT. HELGOLAND. OWP KASKASI 2.");
    EXPECT_EQ(warnings::MeaningfulLine(
                  "ZCZC PA95\nNETHERLANDS COASTGUARD\nNAVIGATIONAL WARNING NR. 95 061832 UTC NOV\n"
                  "TSS WEST FRIESLAND\n"),
              "TSS WEST FRIESLAND");
    EXPECT_EQ(warnings::MeaningfulLine("ZCZC EA23\nWZ 1234\nBRISTOL CHANNEL. UNDERWATER OPERATIONS\n"),
              "BRISTOL CHANNEL. UNDERWATER OPERATIONS");
    EXPECT_EQ(warnings::MeaningfulLine("ZCZC XX01\n301200 UTC NOV 20\n"), "301200 UTC NOV 20")
        << "nothing else";
    EXPECT_EQ(warnings::MeaningfulLine(""), "");
    // archive/2019/11/05/XC05: a relay and its letters; a sender named by its station alone.
    EXPECT_EQ(warnings::MeaningfulLine("ZCZC XC05\r\n051340 UTC NOV 19\r\nGREENLAND VIA GRINDAVIK\r\nXC\r\n"
                                       "DMI GREENLAND ICE SERVICE 051005 UTC.\r\n"),
              "DMI GREENLAND ICE SERVICE 051005 UTC.");
    EXPECT_EQ(warnings::MeaningfulLine("ZCZC GB05\nNITON\nGALE WARNING 0512\nSW GALE 8 IMMINENT\n"),
              "SW GALE 8 IMMINENT");
    // archive/2020/12/26/PA01: the date written out; a date within a sentence stays.
    EXPECT_EQ(warnings::MeaningfulLine("ZCZC PA01\n26 DEC 2020 02.30 UTC\nRCC-HAIFA\nNAVAREA III 000329\n"
                                       "NTM 1/2009\nSUBJECT: BLOCKADE OF GAZA STRIP.\n"),
              "SUBJECT: BLOCKADE OF GAZA STRIP.");
    EXPECT_EQ(warnings::MeaningfulLine("ZCZC XX02\n31 MAR 20 USING THE SAME ROUTE.\n"),
              "31 MAR 20 USING THE SAME ROUTE.");
}
