// SPDX-License-Identifier: GPL-3.0-or-later
// A message's text through the position, shape and cancellation readers: every position is
// on the globe and inside the text, every shape is made of them, and the files for the
// chart plotter are made of any of it without fault.
#include "fuzz/FuzzSupport.h"
#include "warnings/Export.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto positions = warnings::FindPositions(text);
    size_t previous = 0;
    for (const auto& p : positions) {
        FUZZ_CHECK(p.latitude >= -90 && p.latitude <= 90);
        FUZZ_CHECK(p.longitude >= -180 && p.longitude <= 180);
        FUZZ_CHECK(p.offset >= previous && p.offset < p.end && p.end <= text.size());
        previous = p.end;
    }
    size_t points = 0;
    for (const auto& shape : warnings::FindShapes(text)) {
        FUZZ_CHECK(!shape.points.empty());
        FUZZ_CHECK(shape.kind != warnings::TShape::Kind::Polygon || shape.points.size() >= 3);
        FUZZ_CHECK(shape.kind != warnings::TShape::Kind::Circle || shape.radiusNm > 0);
        points += shape.points.size();
    }
    FUZZ_CHECK(points == positions.size());
    warnings::FindReferences(text, 1796000000);
    history::TStoredMessage m;
    m.name = text.substr(0, 4);
    m.bytes = text;
    m.received = 1796000000;
    const auto list = warnings::Evaluate({m, m}, 1796000000);
    const std::string json = warnings::GeoJson(list, true);
    FUZZ_CHECK(json.find('\n', json.size() - 1) != std::string::npos);
    warnings::Gpx(list, true);
    return 0;
}
