// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

// Distances and bearings on the sphere, as a navigator reckons them at NAVTEX ranges: great
// circles, nautical miles, degrees true. Longitudes may cross the antimeridian anywhere.
namespace position {

struct TLatLon {
    double latitude = 0;   // decimal degrees, north positive
    double longitude = 0;  // decimal degrees, east positive
};

inline constexpr double EarthRadiusNm = 3440.065;  // the mean radius, 6371.0 km

double DistanceNm(TLatLon from, TLatLon to);
// The initial great-circle bearing, degrees true in [0, 360).
double BearingDeg(TLatLon from, TLatLon to);

// How far and where: to the nearest point of a place; distance 0 (and the bearing to its
// centre or first point) when from lies inside it.
struct TRange {
    double distanceNm = 0;
    double bearingDeg = 0;
};
TRange ToPoint(TLatLon from, TLatLon point);
// A line through the points.
TRange ToLine(TLatLon from, const std::vector<TLatLon>& points);
TRange ToPolygon(TLatLon from, const std::vector<TLatLon>& corners);
TRange ToCircle(TLatLon from, TLatLon centre, double radiusNm);
// Whether p lies inside the polygon (smaller than a hemisphere; its edges as drawn on a
// chart, longitudes taken about p's own).
bool Inside(TLatLon p, const std::vector<TLatLon>& corners);

struct TUnit {
    double x = 0, y = 0, z = 0;
};

// The boat's position made ready for the ranges to many places after one fix.
struct TBoat {
    TLatLon at;
    TUnit unit, north, east;
};
TBoat Boat(TLatLon at);

// A place made ready for the ranges from many fixes: the same figures as ToPoint, ToLine,
// ToPolygon and ToCircle.
class TPlace {
public:
    enum class Kind { Point, Line, Polygon, Circle };
    TPlace(Kind kind, std::vector<TLatLon> points, double radiusNm = 0);
    TRange From(const TBoat& boat) const;
    // The nearest point's angle from the boat as its cosine (larger is nearer), and that
    // point: what From is made of, for the nearest of several places.
    double Nearest(const TBoat& boat, TUnit& point, bool& inside) const;

private:
    Kind kind;
    std::vector<TLatLon> points;
    std::vector<TUnit> units;
    std::vector<double> x;  // a polygon's longitudes, each taken on from the one before
    double radiusNm;
};
// From the boat to the nearest of the places (0 inside an area or a circle).
TRange RangeToNearest(const TBoat& boat, const std::vector<TPlace>& places);

}  // namespace position
