// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "map/Land.h"
#include "position/Geodesy.h"

// What part of the world the map shows, on the spherical Mercator projection: a centre and
// a scale in pixels per degree of longitude. Pixels count from the top left of the widget,
// in its logical units (a device pixel ratio of 2 changes nothing here).
namespace map {

inline constexpr double MaxLatitude = 85.0;  // the poles are at infinity
inline constexpr double MinScale = 0.5, MaxScale = 6000;

// Mercator's ordinate in degrees of longitude (so that x and y share one scale).
double MercatorY(double latitude);
double LatitudeOfY(double y);

struct TPixel {
    double x, y;
};

struct TView {
    double centerLongitude = 5, centerLatitude = 55;  // the North Sea, at first
    double scale = 40;                                // pixels per degree of longitude
    double width = 800, height = 600;

    TPixel ToPixel(position::TLatLon at) const;
    // The same, with the longitude taken as it is (past 180° for an unwrapped ring).
    TPixel ToPixel(double latitude, double longitude) const;
    position::TLatLon FromPixel(TPixel p) const;
    // Keeps the place under the pixel where it is.
    void ZoomAbout(double factor, TPixel p);
    void Pan(double dx, double dy);
    // The area whole in view (west may be east of east across the antimeridian).
    void Fit(double west, double south, double east, double north);
    // Nautical miles a pixel spans at the centre's latitude.
    double NmPerPixel() const;
    // The land's scale to draw: the world's, a sea area's, or the coast's.
    TLand::Level LandLevel() const;
    // The view's bounds in degrees (west and east unwrapped around the centre).
    double West() const;
    double East() const;
    double South() const;
    double North() const;

    // "center=55.0,5.0 scale=40.0" as WINDOW.INI keeps it; Read refuses anything else.
    std::string Text() const;
    static bool Read(const std::string& text, TView& view);

private:
    void Clamp();
};

// Degrees between graticule lines so that they lie at least minPixels apart.
double GraticuleStep(double scale, double minPixels = 90);
// "54°N", "54°30′N", "007°E", "179°W".
std::string GraticuleLabel(double degrees, bool latitude);
// The longest round length (1, 2 or 5 × 10^n nm) that fits in maxPixels.
double ScaleBarNm(double nmPerPixel, double maxPixels);

// The outline of a circle of radius nm about a centre, as points on the sphere (for a
// warning's circle and the boat's range ring).
std::vector<position::TLatLon> CirclePoints(position::TLatLon centre, double radiusNm, int count = 72);

}  // namespace map
