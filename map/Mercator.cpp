// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/Mercator.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace map {
namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double Rad = Pi / 180;

double Wrap(double longitude) {
    return std::remainder(longitude, 360.0);  // -180..180
}

}  // namespace

double MercatorY(double latitude) {
    const double phi = std::clamp(latitude, -89.9, 89.9) * Rad;
    return std::log(std::tan(Pi / 4 + phi / 2)) / Rad;
}

double LatitudeOfY(double y) {
    return (2 * std::atan(std::exp(y * Rad)) - Pi / 2) / Rad;
}

TPixel TView::ToPixel(position::TLatLon at) const {
    // The copy of the place nearest the centre: a boat at 179°E seen from 179°W.
    return ToPixel(at.latitude, centerLongitude + Wrap(at.longitude - centerLongitude));
}

TPixel TView::ToPixel(double latitude, double longitude) const {
    return {width / 2 + (longitude - centerLongitude) * scale,
            height / 2 - (MercatorY(latitude) - MercatorY(centerLatitude)) * scale};
}

position::TLatLon TView::FromPixel(TPixel p) const {
    const double longitude = centerLongitude + (p.x - width / 2) / scale;
    const double y = MercatorY(centerLatitude) - (p.y - height / 2) / scale;
    return {LatitudeOfY(y), Wrap(longitude)};
}

void TView::ZoomAbout(double factor, TPixel p) {
    const double newScale = std::clamp(scale * factor, MinScale, MaxScale);
    // The place under p before and after stays under p.
    const double lon = centerLongitude + (p.x - width / 2) / scale;
    const double y = MercatorY(centerLatitude) - (p.y - height / 2) / scale;
    scale = newScale;
    centerLongitude = lon - (p.x - width / 2) / scale;
    centerLatitude = LatitudeOfY(y + (p.y - height / 2) / scale);
    Clamp();
}

void TView::Pan(double dx, double dy) {
    centerLongitude -= dx / scale;
    centerLatitude = LatitudeOfY(MercatorY(centerLatitude) + dy / scale);
    Clamp();
}

void TView::Fit(double west, double south, double east, double north) {
    if (east < west) east += 360;
    south = std::max(south, -MaxLatitude);
    north = std::min(north, MaxLatitude);
    const double spanX = std::max(east - west, 0.01);
    const double spanY = std::max(MercatorY(north) - MercatorY(south), 0.01);
    scale = std::clamp(std::min(width / spanX, height / spanY) * 0.9, MinScale, MaxScale);
    centerLongitude = (west + east) / 2;
    centerLatitude = LatitudeOfY((MercatorY(north) + MercatorY(south)) / 2);
    Clamp();
}

void TView::Clamp() {
    centerLongitude = Wrap(centerLongitude);
    centerLatitude = std::clamp(centerLatitude, -MaxLatitude + 5, MaxLatitude - 5);
    if (!std::isfinite(centerLongitude) || !std::isfinite(centerLatitude))
        centerLongitude = 0, centerLatitude = 0;
    scale = std::clamp(std::isfinite(scale) ? scale : 40, MinScale, MaxScale);
}

double TView::NmPerPixel() const {
    return 60 * std::cos(centerLatitude * Rad) / scale;
}

TLand::Level TView::LandLevel() const {
    // 1:110m while a degree is a few pixels, 1:50m for a sea area, 1:10m along a coast.
    if (scale < 12) return TLand::World;
    if (scale < 120) return TLand::Sea;
    return TLand::Coast;
}

double TView::West() const {
    return centerLongitude - width / 2 / scale;
}
double TView::East() const {
    return centerLongitude + width / 2 / scale;
}
double TView::North() const {
    return LatitudeOfY(MercatorY(centerLatitude) + height / 2 / scale);
}
double TView::South() const {
    return LatitudeOfY(MercatorY(centerLatitude) - height / 2 / scale);
}

std::string TView::Text() const {
    char text[96];
    std::snprintf(text, sizeof text, "%.5f,%.5f,%.3f", centerLatitude, centerLongitude, scale);
    return text;
}

bool TView::Read(const std::string& text, TView& view) {
    double v[3];
    const char* at = text.data();
    const char* end = text.data() + text.size();
    for (int i = 0; i < 3; ++i) {
        const auto [next, error] = std::from_chars(at, end, v[i]);
        if (error != std::errc() || !std::isfinite(v[i])) return false;
        at = next;
        if (i < 2 && (at == end || *at++ != ',')) return false;
    }
    if (at != end || std::fabs(v[0]) > MaxLatitude || std::fabs(v[1]) > 180 || v[2] < MinScale ||
        v[2] > MaxScale)
        return false;
    view.centerLatitude = v[0];
    view.centerLongitude = v[1];
    view.scale = v[2];
    view.Clamp();
    return true;
}

double GraticuleStep(double scale, double minPixels) {
    static const double Steps[] = {1.0 / 60, 2.0 / 60, 5.0 / 60, 10.0 / 60, 0.5, 1, 2, 5, 10, 15, 30, 45};
    for (double step : Steps)
        if (step * scale >= minPixels) return step;
    return 90;
}

std::string GraticuleLabel(double degrees, bool latitude) {
    const char hemisphere = latitude ? (degrees < 0 ? 'S' : 'N') : (degrees < 0 ? 'W' : 'E');
    double value = std::fabs(latitude ? degrees : std::remainder(degrees, 360.0));
    if (!latitude && std::fabs(value - 180) < 1e-9) value = 180;
    const int minutesTotal = static_cast<int>(std::lround(value * 60));
    const int whole = minutesTotal / 60, minutes = minutesTotal % 60;
    char text[32];
    if (minutes == 0)
        std::snprintf(text, sizeof text, latitude ? "%d°%c" : "%03d°%c", whole,
                      minutesTotal == 0 ? ' ' : hemisphere);
    else
        std::snprintf(text, sizeof text, latitude ? "%d°%02d′%c" : "%03d°%02d′%c", whole, minutes,
                      hemisphere);
    std::string out = text;
    while (!out.empty() && out.back() == ' ') out.pop_back();  // the equator and Greenwich: no side
    return out;
}

double ScaleBarNm(double nmPerPixel, double maxPixels) {
    const double most = nmPerPixel * maxPixels;
    if (!(most > 0)) return 0;
    double unit = std::pow(10.0, std::floor(std::log10(most)));
    for (double m : {5.0, 2.0, 1.0})
        if (m * unit <= most) return m * unit;
    return unit / 2;
}

std::vector<position::TLatLon> CirclePoints(position::TLatLon centre, double radiusNm, int count) {
    std::vector<position::TLatLon> points;
    const double d = radiusNm / position::EarthRadiusNm;
    const double lat1 = centre.latitude * Rad, lon1 = centre.longitude * Rad;
    for (int i = 0; i <= count; ++i) {
        const double bearing = 2 * Pi * i / count;
        const double lat2 =
            std::asin(std::sin(lat1) * std::cos(d) + std::cos(lat1) * std::sin(d) * std::cos(bearing));
        const double lon2 = lon1 + std::atan2(std::sin(bearing) * std::sin(d) * std::cos(lat1),
                                              std::cos(d) - std::sin(lat1) * std::sin(lat2));
        points.push_back({lat2 / Rad, lon2 / Rad});  // not wrapped: the ring stays whole
    }
    return points;
}

}  // namespace map
