// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/Land.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "map/Mercator.h"

namespace map {
namespace {

class TReader {
public:
    TReader(const uint8_t* bytes, size_t size) : at(bytes), end(bytes + size) {}

    bool U32(uint32_t& v) {
        if (end - at < 4) return false;
        v = uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
        at += 4;
        return true;
    }
    bool F64(double& v) {
        if (end - at < 8) return false;
        uint64_t bits = 0;
        for (int i = 7; i >= 0; --i) bits = bits << 8 | at[i];
        std::memcpy(&v, &bits, sizeof v);
        at += 8;
        return true;
    }
    bool Delta(int64_t& v) {
        uint64_t n = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            if (at == end) return false;
            const uint8_t b = *at++;
            n |= uint64_t(b & 0x7F) << shift;
            if (!(b & 0x80)) {
                v = static_cast<int64_t>(n >> 1) ^ -static_cast<int64_t>(n & 1);
                return true;
            }
        }
        return false;
    }
    size_t Left() const { return static_cast<size_t>(end - at); }

private:
    const uint8_t* at;
    const uint8_t* end;
};

}  // namespace

TLand ReadLand(const uint8_t* bytes, size_t size) {
    TLand land;
    if (size < 12 || std::memcmp(bytes, "ZLAND1\0\0", 8) != 0) return land;
    TReader in(bytes + 8, size - 8);
    uint32_t levels = 0;
    if (!in.U32(levels) || levels != 3) return land;
    for (uint32_t l = 0; l < levels; ++l) {
        double sx, sy, tx, ty;
        uint32_t polygons = 0;
        if (!in.F64(sx) || !in.F64(sy) || !in.F64(tx) || !in.F64(ty) || !in.U32(polygons) ||
            polygons > in.Left())
            return {};
        TLandLevel level;
        level.polygons.reserve(polygons);
        for (uint32_t p = 0; p < polygons; ++p) {
            uint32_t rings = 0;
            if (!in.U32(rings) || rings > in.Left()) return {};
            TLandPolygon polygon{};
            for (uint32_t r = 0; r < rings; ++r) {
                uint32_t count = 0;
                // Each point takes two bytes at least: a count beyond what is left is damage.
                if (!in.U32(count) || count > in.Left() / 2) return {};
                TLandRing ring{};
                ring.points.reserve(count);
                int64_t x = 0, y = 0;
                double shift = 0;  // whole turns added to stay beside the previous point
                for (uint32_t i = 0; i < count; ++i) {
                    int64_t dx, dy;
                    if (!in.Delta(dx) || !in.Delta(dy)) return {};
                    x += dx;
                    y += dy;
                    double lon = tx + double(x) * sx + shift;
                    const double lat = ty + double(y) * sy;
                    if (!ring.points.empty()) {
                        const double previous = ring.points.back().longitude;
                        if (lon - previous > 180) shift -= 360, lon -= 360;
                        if (previous - lon > 180) shift += 360, lon += 360;
                    }
                    ring.points.push_back({float(lon), float(lat), float(MercatorY(lat))});
                }
                if (ring.points.empty()) continue;
                const auto [w, e] =
                    std::minmax_element(ring.points.begin(), ring.points.end(),
                                        [](auto a, auto b) { return a.longitude < b.longitude; });
                const auto [s, n] =
                    std::minmax_element(ring.points.begin(), ring.points.end(),
                                        [](auto a, auto b) { return a.latitude < b.latitude; });
                ring.west = w->longitude, ring.east = e->longitude, ring.south = s->latitude,
                ring.north = n->latitude;
                // Unwrapping may have carried a ring whole turns away: its west edge back
                // within -180..180, where the bounds are looked up.
                const float turn = std::floor((ring.west + 180.0f) / 360.0f) * 360.0f;
                if (turn != 0) {
                    for (TLandPoint& p : ring.points) p.longitude -= turn;
                    ring.west -= turn, ring.east -= turn;
                }
                if (polygon.rings.empty()) {
                    polygon.west = ring.west, polygon.east = ring.east;
                    polygon.south = ring.south, polygon.north = ring.north;
                }
                level.points += ring.points.size();
                polygon.rings.push_back(std::move(ring));
            }
            if (!polygon.rings.empty()) level.polygons.push_back(std::move(polygon));
        }
        land.levels.push_back(std::move(level));
    }
    return land;
}

}  // namespace map
