// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "position/Geodesy.h"

// What a warning's text says of places and of other warnings: its positions and the shapes
// they draw, the references it goes by and the ones it cancels. Read from the words of real
// broadcasts; a form that cannot be read with certainty is left out rather than guessed.
namespace warnings {

struct TPosition {
    double latitude = 0;   // decimal degrees, north positive (WGS 84)
    double longitude = 0;  // decimal degrees, east positive
    size_t offset = 0;     // where it starts in the text
    size_t end = 0;        // just past it
};

// Every position of the text, in order.
std::vector<TPosition> FindPositions(const std::string& text);

struct TShape {
    enum class Kind { Point, Line, Polygon, Circle };
    Kind kind = Kind::Point;
    std::vector<TPosition> points;  // a circle: its centre
    double radiusNm = 0;            // a circle only
};
const char* KindName(TShape::Kind kind);    // "point", "line", "polygon", "circle"
const char* KindNameFr(TShape::Kind kind);  // "point", "ligne", "zone", "cercle"

// The positions grouped as the text draws them: AREA BOUNDED BY / IN AREA / AREA: and three
// or more positions a polygon; BETWEEN, JOINING, TRACK or ROUTE a line; WITHIN n NM OF or
// n NM RADIUS ON / AT a circle; any other position a point.
std::vector<TShape> FindShapes(const std::string& text);

// The shapes as places to measure from the boat, made once for many fixes.
std::vector<position::TPlace> Places(const std::vector<TShape>& shapes);
// From the boat to the nearest point of the shapes (0 inside an area or a circle); none for
// a message without shapes.
std::optional<position::TRange> RangeTo(position::TLatLon boat, const std::vector<TShape>& shapes);

// 53°26.9′N 001°53.0′E, as a sailor writes it.
std::string SailorText(const TPosition& position);

// A broadcast's list of what is in force: series numbers of one series, or identifiers
// (with the day of the message where the list gives it: identifiers come round again).
struct TInForceList {
    std::string series;                                // "NAVAREA I"; empty: the list message's own series
    std::vector<std::string> numbers;                  // "145/20", or "719" where the list gives no year
    std::vector<std::pair<std::string, int64_t>> ids;  // "HA46", and its day (UTC, 00:00) or -1
    bool ofIdentifiers = false;
};

struct TReferences {
    std::vector<std::string> own;            // the series numbers on its first lines ("WZ 845")
    std::vector<std::string> cancelsIds;     // B1B2B3B4 it cancels
    std::vector<std::string> cancelsSeries;  // series numbers it cancels
    std::optional<int64_t> expires;          // CANCEL THIS MSG ddhhmm UTC MON: seconds since 1970 UTC
    std::vector<TInForceList> lists;  // "NAVAREA I WARNINGS IN FORCE AT …", "NAVTEX MESSAGES IN FORCE:"
    // Area lines of a gale or ice warning ("SKAGERRAK: SW 15 M/S"), and those that say
    // "SKAGERRAK: CANCELLED".
    std::vector<std::string> areas, cancelsAreas;
};

// How long a message that ends itself without a time ("CANCEL THIS MSG", "SELF CANCELLING")
// stays: its own broadcast, as stations send every four hours.
inline constexpr int64_t OwnBroadcastSeconds = 4 * 3600;

// Series names are written in many ways: "NAV. WARN.", "NAV.WNG", "NAVIGATIONAL WARNING" and
// "NAVWARN" are all "WARNING", so "NORWEGIAN NAV. WNG 12/20" is "NORWEGIAN WARNING 12/20".
// A generic name ("WARNING", "COASTAL WARNING", "GALE WARNING") says no authority: it is the
// sending station's own series, never another's.
bool GenericSeries(const std::string& name);

// "NAVAREA I 145/20" -> "NAVAREA I" and "145/20": a series reference's name and number.
std::pair<std::string, std::string> SplitSeries(const std::string& reference);

// What a message goes by besides what it cancels and lists: navigational warnings and the
// like by their series numbers, gale warnings and ice reports by their areas; forecasts
// and "no message" notices by neither (the next of the station replaces them).
enum class TReading { Series, Areas, Plain };
TReading ReadingOf(char subject);

// receivedUtc: when the message came, for the year of its own expiry.
TReferences FindReferences(const std::string& text, int64_t receivedUtc, TReading reading = TReading::Series);

// A series reference without its year ("NAVAREA I 31/23" -> "NAVAREA I 31").
std::string WithoutYear(const std::string& reference);

}  // namespace warnings
