// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The land the map draws, at three scales (Natural Earth 1:110m, 1:50m, 1:10m), read from
// the file the program carries. Rings are unwrapped: a ring that crosses the antimeridian
// goes on past 180° rather than jumping back, so it never draws as a band across the map.
namespace map {

struct TLandPoint {
    float longitude, latitude;
    float y;  // Mercator's ordinate, worked out once
};

struct TLandRing {
    std::vector<TLandPoint> points;
    float west, east, south, north;  // its bounds (east may exceed 180)
};

// An area of land: its outline, then its lakes.
struct TLandPolygon {
    std::vector<TLandRing> rings;
    float west, east, south, north;
};

struct TLandLevel {
    std::vector<TLandPolygon> polygons;
    size_t points = 0;
};

struct TLand {
    enum Level { World = 0, Sea = 1, Coast = 2 };
    std::vector<TLandLevel> levels;  // World, Sea, Coast; empty when the file was unreadable
};

// The file's bytes: whole, or nothing (a damaged file gives an empty map, never a crash).
TLand ReadLand(const uint8_t* bytes, size_t size);

}  // namespace map
