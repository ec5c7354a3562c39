// SPDX-License-Identifier: GPL-3.0-or-later
#include "position/Geodesy.h"

#include <algorithm>
#include <cmath>

namespace position {
namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double Radians = Pi / 180;

using TVector = TUnit;

TVector Unit(TLatLon p) {
    const double lat = p.latitude * Radians, lon = p.longitude * Radians;
    return {std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
}

TVector Cross(TVector a, TVector b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

double Dot(TVector a, TVector b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

double Norm(TVector a) {
    return std::sqrt(Dot(a, a));
}

// The angle between two unit vectors, accurate near 0 and near 180°.
double Angle(TVector a, TVector b) {
    return std::atan2(Norm(Cross(a, b)), Dot(a, b));
}

double Wrapped(double degrees) {
    degrees = std::fmod(degrees + 180, 360);
    return degrees < 0 ? degrees + 180 : degrees - 180;
}

}  // namespace

double DistanceNm(TLatLon from, TLatLon to) {
    return Angle(Unit(from), Unit(to)) * EarthRadiusNm;
}

double BearingDeg(TLatLon from, TLatLon to) {
    const double lat1 = from.latitude * Radians, lat2 = to.latitude * Radians;
    const double dlon = (to.longitude - from.longitude) * Radians;
    const double y = std::sin(dlon) * std::cos(lat2);
    const double x = std::cos(lat1) * std::sin(lat2) - std::sin(lat1) * std::cos(lat2) * std::cos(dlon);
    const double bearing = std::atan2(y, x) / Radians;
    return bearing < 0 ? bearing + 360 : bearing;
}

TRange ToPoint(TLatLon from, TLatLon point) {
    return {DistanceNm(from, point), BearingDeg(from, point)};
}

TRange ToLine(TLatLon from, const std::vector<TLatLon>& points) {
    return TPlace(TPlace::Kind::Line, points).From(Boat(from));
}

bool Inside(TLatLon p, const std::vector<TLatLon>& corners) {
    TUnit nearest;
    bool inside = false;
    if (corners.size() >= 3) TPlace(TPlace::Kind::Polygon, corners).Nearest(Boat(p), nearest, inside);
    return inside;
}

TRange ToPolygon(TLatLon from, const std::vector<TLatLon>& corners) {
    return TPlace(TPlace::Kind::Polygon, corners).From(Boat(from));
}

TRange ToCircle(TLatLon from, TLatLon centre, double radiusNm) {
    return TPlace(TPlace::Kind::Circle, {centre}, radiusNm).From(Boat(from));
}

TBoat Boat(TLatLon at) {
    const double lat = at.latitude * Radians, lon = at.longitude * Radians;
    TBoat boat;
    boat.at = at;
    boat.unit = Unit(at);
    boat.north = {-std::sin(lat) * std::cos(lon), -std::sin(lat) * std::sin(lon), std::cos(lat)};
    boat.east = {-std::sin(lon), std::cos(lon), 0};
    return boat;
}

namespace {

// The bearing from the boat towards a point, from the point's direction in the boat's
// own north and east (no trigonometry of latitudes).
double BearingTo(const TBoat& boat, TVector q) {
    const TVector d{q.x - boat.unit.x, q.y - boat.unit.y, q.z - boat.unit.z};
    const double bearing = std::atan2(Dot(d, boat.east), Dot(d, boat.north)) / Radians;
    return bearing < 0 ? bearing + 360 : bearing;
}

// The nearest of a and b, by the cosine of its angle from p.
TVector Nearer(TVector p, TVector a, TVector b) {
    return Dot(p, a) >= Dot(p, b) ? a : b;
}

// The point of the arc a–b nearest to p, as a unit vector: the cosine decides.
TVector NearestOnArc(TVector p, TVector a, TVector b) {
    const TVector n = Cross(a, b);
    const double h = Dot(p, n), nn = Dot(n, n);
    if (nn < 1e-30) return a;
    TVector q{p.x - h / nn * n.x, p.y - h / nn * n.y, p.z - h / nn * n.z};
    const double size = Norm(q);
    if (size < 1e-15) return a;
    q = {q.x / size, q.y / size, q.z / size};
    if (Dot(Cross(a, q), n) >= 0 && Dot(Cross(q, b), n) >= 0) return q;
    return Nearer(p, a, b);
}

}  // namespace

TPlace::TPlace(Kind k, std::vector<TLatLon> p, double radius)
    : kind(k), points(std::move(p)), radiusNm(radius) {
    if (points.empty()) points.push_back({});
    if (kind == Kind::Polygon && points.size() < 3) kind = Kind::Line;
    if (kind == Kind::Line && points.size() < 2) kind = Kind::Point;
    units.reserve(points.size());
    for (const TLatLon& point : points) units.push_back(Unit(point));
    if (kind != Kind::Polygon) return;
    x.resize(points.size());
    x[0] = points[0].longitude;
    for (size_t i = 1; i < points.size(); ++i)
        x[i] = x[i - 1] + Wrapped(points[i].longitude - points[i - 1].longitude);
}

double TPlace::Nearest(const TBoat& boat, TUnit& point, bool& inside) const {
    const TVector p = boat.unit;
    inside = false;
    if (kind == Kind::Point || kind == Kind::Circle) {
        point = units.front();
        if (kind == Kind::Circle) {
            // Its edge: the centre's angle less the radius, 0 within.
            const double angle = Angle(p, point) - radiusNm / EarthRadiusNm;
            inside = angle <= 0;
            return std::cos(std::max(0.0, angle));
        }
        return Dot(p, point);
    }
    if (kind == Kind::Polygon) {
        const double px = x[0] + Wrapped(boat.at.longitude - x[0]);
        const double lat = boat.at.latitude;
        bool in = false;
        for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
            const double yi = points[i].latitude, yj = points[j].latitude;
            if ((yi > lat) != (yj > lat) && (x[j] - x[i]) * (lat - yi) / (yj - yi) + x[i] > px) in = !in;
        }
        if (in) {
            inside = true;
            point = units.front();
            return 1;
        }
    }
    double best = -2;
    const size_t n = units.size(), edges = kind == Kind::Polygon ? n : n - 1;
    for (size_t i = 0; i < edges; ++i) {
        const TVector q = NearestOnArc(p, units[i], units[(i + 1) % n]);
        const double c = Dot(p, q);
        if (c > best) {
            best = c;
            point = q;
        }
    }
    return best;
}

TRange TPlace::From(const TBoat& boat) const {
    return RangeToNearest(boat, {*this});
}

TRange RangeToNearest(const TBoat& boat, const std::vector<TPlace>& places) {
    double best = -2;
    TUnit nearest;
    bool within = false;
    for (const TPlace& place : places) {
        TUnit point;
        bool inside = false;
        const double c = place.Nearest(boat, point, inside);
        if (c > best) {
            best = c;
            nearest = point;
            within = inside;
        }
    }
    if (best < -1.5) return {};
    const double distance = within ? 0 : std::acos(std::min(1.0, best)) * EarthRadiusNm;
    return {distance, BearingTo(boat, nearest)};
}

}  // namespace position
