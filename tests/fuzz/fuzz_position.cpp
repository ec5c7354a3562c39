// SPDX-License-Identifier: GPL-3.0-or-later
// What the boat's network sends as a position (NMEA 0183, gpsd, Signal K): read without fault,
// and a position only within the globe.
#include <cmath>

#include "fuzz/FuzzSupport.h"
#include "position/Fixes.h"

namespace {

void Check(const std::optional<position::TLatLon>& fix) {
    if (!fix) return;
    FUZZ_CHECK(std::fabs(fix->latitude) <= 90 && std::fabs(fix->longitude) <= 180);
    FUZZ_CHECK(!position::PositionText(*fix).empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Check(position::FixFromNmea(text));
    Check(position::FixFromGpsd(text));
    Check(position::FixFromSignalK(text));
    return 0;
}
