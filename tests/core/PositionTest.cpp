// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>

#include "position/Fixes.h"
#include "position/Geodesy.h"
#include "stations/Stations.h"
#include "warnings/Export.h"
#include "warnings/Warnings.h"

using position::TLatLon;

namespace {

constexpr double DegreeNm = 60.04;  // one degree of a great circle on the mean sphere

double Bearing(double b) {
    return b > 359.5 ? b - 360 : b;  // 359.9 and 0.0 are one bearing
}

}  // namespace

TEST(Geodesy, PointsLinesAreasAndCirclesAcrossTheAntimeridian) {
    // A point: a degree north, a degree east on the equator, a degree across 180°.
    EXPECT_NEAR(position::DistanceNm({50, 0}, {51, 0}), DegreeNm, 0.01);
    EXPECT_NEAR(position::BearingDeg({50, 0}, {51, 0}), 0, 1e-9);
    EXPECT_NEAR(position::BearingDeg({0, 0}, {0, 1}), 90, 1e-9);
    const auto across = position::ToPoint({0, 179.5}, {0, -179.5});
    EXPECT_NEAR(across.distanceNm, DegreeNm, 0.01);
    EXPECT_NEAR(across.bearingDeg, 90, 1e-6);

    // A line passed abeam: the meridian of 2°E from 50°N to 52°N, seen from 51°N 1°E, is
    // about 60 cos 51° away to the east; beyond its end the end is the nearest point.
    const std::vector<TLatLon> meridian = {{50, 2}, {52, 2}};
    const auto abeam = position::ToLine({51, 1}, meridian);
    EXPECT_NEAR(abeam.distanceNm, DegreeNm * std::cos(51 * std::numbers::pi / 180), 0.2);
    EXPECT_NEAR(abeam.bearingDeg, 89.2, 0.1);  // a great circle, not the parallel
    EXPECT_NEAR(position::ToLine({53, 1}, meridian).distanceNm, position::DistanceNm({53, 1}, {52, 2}), 1e-6);

    // An area: inside is 0; from the west its edge.
    const std::vector<TLatLon> square = {{54, 6}, {55, 6}, {55, 8}, {54, 8}};
    EXPECT_EQ(position::ToPolygon({54.5, 7}, square).distanceNm, 0);
    const auto west = position::ToPolygon({54.5, 5}, square);
    EXPECT_NEAR(west.distanceNm, DegreeNm * std::cos(54.5 * std::numbers::pi / 180), 0.2);
    EXPECT_NEAR(west.bearingDeg, 90, 1);
    // One astride the antimeridian does not stretch round the world.
    const std::vector<TLatLon> dateline = {{10, 179}, {11, 179}, {11, -179}, {10, -179}};
    EXPECT_TRUE(position::Inside({10.5, 180}, dateline));
    EXPECT_TRUE(position::Inside({10.5, -179.5}, dateline));
    EXPECT_FALSE(position::Inside({10.5, 0}, dateline));
    const auto east = position::ToPolygon({10.5, -178}, dateline);
    EXPECT_NEAR(east.distanceNm, DegreeNm * std::cos(10.5 * std::numbers::pi / 180), 0.2);
    EXPECT_NEAR(east.bearingDeg, 270, 1);

    // A circle: its radius off the centre's distance, 0 within.
    EXPECT_NEAR(position::ToCircle({50.5, 0}, {50, 0}, 10).distanceNm, DegreeNm / 2 - 10, 0.01);
    EXPECT_EQ(position::ToCircle({50.1, 0}, {50, 0}, 10).distanceNm, 0);

    // A warning: the nearest of its shapes (archive/2019/04/14/EA83's buoy and a circle).
    const auto shapes =
        warnings::FindShapes("ZC1 BUOY 50-45.0N 001-27.2E UNLIT. EXERCISES WITHIN 5 NM OF 50-00N 000-00E.");
    const auto range = warnings::RangeTo({50, 0.2}, shapes);
    ASSERT_TRUE(range);
    EXPECT_NEAR(range->distanceNm, position::DistanceNm({50, 0.2}, {50, 0}) - 5, 0.01);
    EXPECT_NEAR(Bearing(range->bearingDeg), 270, 0.5);
    EXPECT_FALSE(warnings::RangeTo({50, 0}, {}));
}

TEST(Stations, TheLetterTheHeaderThePositionsTheHistoryAndTheBoat) {
    // The table: its letters and bands, one label each.
    const auto p = stations::Candidates(518, 'P');
    ASSERT_GE(p.size(), 3u);  // the Netherlands, Haifa and others share P
    EXPECT_EQ(stations::Candidates(518, 'P').front()->band, 518);
    EXPECT_TRUE(stations::Candidates(4209, 'P').empty());

    // Real messages of shared letters (archive/2019/03/10/PB51, 2019/03/11/PA66,
    // 2020/07/15/CA95, 2020/01/01/CA03, 2019/12/12/HA55), shortened.
    stations::TResolver resolver;
    const auto choose = [&](int band, const std::string& name, const std::string& text,
                            std::optional<TLatLon> boat = std::nullopt) {
        std::vector<TLatLon> places;
        for (const auto& shape : warnings::FindShapes(text))
            for (const auto& at : shape.points) places.push_back({at.latitude, at.longitude});
        const auto choice = resolver.Choose(band, name, text, places, boat);
        return choice.sure && choice.station ? stations::Label(*choice.station) : std::string("?");
    };
    EXPECT_EQ(choose(518, "PB51", "ZCZC PB51\nNETHERLANDS COASTGUARD\nGALE WARNING NR. 51"),
              "Netherlands Coastguard (NL)");
    EXPECT_EQ(choose(518, "PA66", "ZCZC PA66\n11 MAR 2019 22.31 UTC\nRCC-HAIFA\nNAVAREA III 000329"),
              "Haifa (IL)");
    EXPECT_EQ(
        choose(518, "CA95", "ZCZC CA95\n061225 UTC JUL 20\nUKRAINE COASTAL WARNING 310/20 ODESA-NAVTEX"),
        "Odessa (UA)");
    const std::string vardo =
        "ZCZC CA03\n290913 UTC NLV 19\nNAV. WARNING 677/2019\nAREA MAGEROEYA\n"
        "NORDVAAGEN LOWER LEADING LIGHT 70-58.7N 026-01.0E IS UNLIT.";
    EXPECT_EQ(choose(518, "CA03", vardo), "Vardo (NO)");  // by its position
    // Nothing in the message: unsure, then what the history's messages of the letter showed,
    // or the boat.
    const std::string bare = "ZCZC HA55\n121358 UTC DEC\nALL AREAS\nFOR CURRENT ICE INFO";
    EXPECT_EQ(choose(518, "HA55", bare), "?");
    EXPECT_EQ(choose(518, "HA55", bare, TLatLon{63.5, 20.5}), "Bjuroklubb (SE)");
    EXPECT_EQ(choose(518, "HA55", bare, TLatLon{0, 0}), "?");  // near none of them
    for (int i = 0; i < 3; ++i)
        resolver.Learn(518, "HA10", "ZCZC HA10\nBUOY 63-00N 021-00E MISSING", {{63, 21}});
    EXPECT_EQ(choose(518, "HA55", bare), "Bjuroklubb (SE)");

    // What the plotter and the command line get.
    std::vector<warnings::TWarning> list(2);
    list[0].band = list[1].band = 518;
    list[0].name = "PA66";
    list[0].text = "ZCZC PA66\nRCC-HAIFA\nNAVAREA III 000329";
    list[1].name = "HA55";
    list[1].text = bare;
    warnings::NameStations(list);
    EXPECT_EQ(warnings::StationText(list[0]), "Haifa (IL)");
    EXPECT_EQ(warnings::StationText(list[1]).substr(0, 2), "? ");
    EXPECT_NE(warnings::StationText(list[1]).find("Bjuroklubb (SE) / "), std::string::npos);
}

namespace {

// "$" body "*" and its checksum, as an instrument sends it.
std::string Sentence(const std::string& body) {
    unsigned sum = 0;
    for (char c : body) sum ^= static_cast<unsigned char>(c);
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", sum);
    return "$" + body + tail;
}

void ExpectAt(const std::optional<TLatLon>& fix, double latitude, double longitude) {
    ASSERT_TRUE(fix);
    EXPECT_NEAR(fix->latitude, latitude, 1e-6);
    EXPECT_NEAR(fix->longitude, longitude, 1e-6);
}

}  // namespace

TEST(Fixes, ValidFixesOfEveryTalkerAndNothingElse) {
    // The sentences of the NMEA 0183 documentation's examples, checksums as published.
    ExpectAt(position::FixFromNmea("$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A"),
             48.1173, 11.516666667);
    ExpectAt(position::FixFromNmea("$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n"),
             48.1173, 11.516666667);
    ExpectAt(position::FixFromNmea("$GPGLL,4916.45,N,12311.12,W,225444,A,*1D"), 49.274166667, -123.18533333);
    // Any talker, south and west.
    ExpectAt(
        position::FixFromNmea(Sentence("GNRMC,081836,A,3751.65,S,14507.36,W,000.0,360.0,130998,011.3,E,A")),
        -37.860833333, -145.1226666667);
    ExpectAt(position::FixFromNmea(Sentence("IIGGA,120000,5404.100,N,01012.300,E,2,05,1.2,3.0,M,,,,")),
             54.068333333, 10.205);

    // What is no position: a void fix, no fix, a wrong checksum, no checksum, another
    // sentence, minutes past 59, a latitude past 90.
    for (const std::string& bad : {
             Sentence("GPRMC,123519,V,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W"),
             Sentence("GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W,N"),
             Sentence("GPGGA,123519,4807.038,N,01131.000,E,0,00,,,M,,M,,"),
             Sentence("GPGLL,4916.45,N,12311.12,W,225444,V"),
             std::string("$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6B"),
             std::string("$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W"),
             Sentence("SDDBT,12.3,f,3.7,M,2.0,F"),
             Sentence("GPRMC,123519,A,4860.000,N,01131.000,E,,,230394,,"),
             Sentence("GPRMC,123519,A,9107.038,N,01131.000,E,,,230394,,"),
             Sentence("GPRMC,123519,A,,,,,,,230394,,"),
             std::string("GPRMC,123519,A"),
             std::string(""),
         }) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(position::FixFromNmea(bad));
    }

    // gpsd: a TPV report with a 2D or 3D fix.
    ExpectAt(
        position::FixFromGpsd(R"({"class":"TPV","device":"udp://127.0.0.1:4000","mode":3,)"
                              R"("time":"2026-12-09T20:00:00.000Z","lat":54.068333,"lon":10.205,"alt":3.0})"),
        54.068333, 10.205);
    for (const char* bad :
         {R"({"class":"TPV","mode":1,"lat":54.0,"lon":10.0})", R"({"class":"TPV","mode":1})",
          R"({"class":"SKY","mode":3,"lat":54.0,"lon":10.0})", R"({"class":"TPV","mode":3,"lat":54.0})",
          R"({"class":"TPV","mode":3,"lat":"54","lon":10})", R"({"class":"TPV","mode":3,"lat":54.0,)",
          R"({"class":"TPV","mode":3,"lat":95.0,"lon":10.0})", "", "[[[[[[[[[[[[[[[[["}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(position::FixFromGpsd(bad));
    }

    // Signal K: a delta of its stream, or the REST API's value.
    ExpectAt(position::FixFromSignalK(R"({"context":"vessels.self","updates":[{"source":{"label":"nmea"},)"
                                      R"("values":[{"path":"navigation.speedOverGround","value":2.1},)"
                                      R"({"path":"navigation.position","value":{"longitude":10.205,)"
                                      R"("latitude":54.068333}}]}]})"),
             54.068333, 10.205);
    ExpectAt(position::FixFromSignalK(R"({"value":{"longitude":-4.5,"latitude":54},"timestamp":"x"})"), 54,
             -4.5);
    ExpectAt(position::FixFromSignalK(R"({"longitude":-4.5,"latitude":54})"), 54, -4.5);
    EXPECT_FALSE(position::FixFromSignalK(
        R"({"updates":[{"values":[{"path":"navigation.position","value":null}]}]})"));
    EXPECT_FALSE(position::FixFromSignalK(std::string(100000, '[')));

    EXPECT_EQ(position::PositionText({54.068333, 10.205}), "54°04.1′N 010°12.3′E");
    EXPECT_EQ(position::PositionText({-33.9999, -0.5}), "34°00.0′S 000°30.0′W");
}
