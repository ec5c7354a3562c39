// SPDX-License-Identifier: GPL-3.0-or-later
#include "position/Fixes.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "common/Json.h"

namespace position {
namespace {

int Hex(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The fields between '$' and '*', when the checksum after '*' is theirs.
std::optional<std::vector<std::string_view>> Checked(std::string_view s) {
    while (!s.empty() && (s.back() == '\r' || s.back() == '\n' || s.back() == ' ')) s.remove_suffix(1);
    const size_t star = s.rfind('*');
    if (s.size() < 7 || s[0] != '$' || star == std::string_view::npos || star + 3 != s.size())
        return std::nullopt;
    unsigned sum = 0;
    for (size_t i = 1; i < star; ++i) sum ^= static_cast<unsigned char>(s[i]);
    const int high = Hex(s[star + 1]), low = Hex(s[star + 2]);
    if (high < 0 || low < 0 || sum != static_cast<unsigned>(high * 16 + low)) return std::nullopt;
    std::vector<std::string_view> fields;
    const std::string_view body = s.substr(1, star - 1);
    for (size_t at = 0;;) {
        const size_t comma = body.find(',', at);
        fields.push_back(
            body.substr(at, comma == std::string_view::npos ? std::string_view::npos : comma - at));
        if (comma == std::string_view::npos) break;
        at = comma + 1;
    }
    return fields;
}

// "5404.123","N" (ddmm.mmm) or "01012.345","E" (dddmm.mmm): decimal degrees.
std::optional<double> Angle(std::string_view value, std::string_view hemisphere, bool latitude) {
    const size_t degreeDigits = latitude ? 2 : 3;
    const size_t dot = value.find('.');
    const size_t whole = dot == std::string_view::npos ? value.size() : dot;
    if (whole != degreeDigits + 2 || hemisphere.size() != 1) return std::nullopt;
    for (size_t i = 0; i < value.size(); ++i)
        if (i != dot && (value[i] < '0' || value[i] > '9')) return std::nullopt;
    const std::string text(value);
    const double degrees = std::atoi(text.substr(0, degreeDigits).c_str());
    const double minutes = std::atof(text.c_str() + degreeDigits);
    const double limit = latitude ? 90 : 180;
    double v = degrees + minutes / 60;
    if (minutes >= 60 || v > limit) return std::nullopt;
    const char h = hemisphere[0];
    if (latitude ? (h != 'N' && h != 'S') : (h != 'E' && h != 'W')) return std::nullopt;
    if (h == 'S' || h == 'W') v = -v;
    return v;
}

std::optional<TLatLon> At(const std::vector<std::string_view>& f, size_t latitude) {
    if (f.size() < latitude + 4) return std::nullopt;
    const auto lat = Angle(f[latitude], f[latitude + 1], true),
               lon = Angle(f[latitude + 2], f[latitude + 3], false);
    if (!lat || !lon) return std::nullopt;
    return TLatLon{*lat, *lon};
}

bool Valid(TLatLon p) {
    return std::isfinite(p.latitude) && std::isfinite(p.longitude) && std::fabs(p.latitude) <= 90 &&
           std::fabs(p.longitude) <= 180;
}

std::optional<TLatLon> LatLonOf(const json::TValue& v) {
    TLatLon p;
    if (v.kind != json::TValue::Kind::Object || !v.Number("latitude", p.latitude) ||
        !v.Number("longitude", p.longitude) || !Valid(p))
        return std::nullopt;
    return p;
}

// navigation.position anywhere in a delta: {"path": "navigation.position", "value": {…}}.
std::optional<TLatLon> Search(const json::TValue& v, int depth) {
    if (depth > 16) return std::nullopt;
    if (v.kind == json::TValue::Kind::Object) {
        if (v.Text("path") == "navigation.position")
            if (const json::TValue* value = v.Find("value")) return LatLonOf(*value);
        for (const json::TValue& member : v.values)
            if (const auto found = Search(member, depth + 1)) return found;
    } else if (v.kind == json::TValue::Kind::Array) {
        for (const json::TValue& item : v.items)
            if (const auto found = Search(item, depth + 1)) return found;
    }
    return std::nullopt;
}

}  // namespace

bool IsNmeaSentence(std::string_view line) {
    return Checked(line).has_value();
}

std::optional<TLatLon> FixFromNmea(std::string_view sentence) {
    const auto checked = Checked(sentence);
    if (!checked || (*checked)[0].size() != 5) return std::nullopt;
    const std::vector<std::string_view>& f = *checked;
    const std::string_view type = f[0].substr(2);
    // A mode indicator N (NMEA 2.3 and later) says the fix is not valid either.
    const auto modeValid = [&](size_t i) { return f.size() <= i || f[i].empty() || f[i] != "N"; };
    if (type == "RMC" && f.size() >= 7 && f[2] == "A" && modeValid(12)) return At(f, 3);
    if (type == "GGA" && f.size() >= 7 && !f[6].empty() && std::atoi(std::string(f[6]).c_str()) > 0)
        return At(f, 2);
    if (type == "GLL" && f.size() >= 7 && f[6] == "A" && modeValid(7)) return At(f, 1);
    return std::nullopt;
}

std::optional<TLatLon> FixFromGpsd(std::string_view text) {
    json::TValue v;
    double mode = 0;
    TLatLon p;
    if (!json::Parse(text, v) || v.Text("class") != "TPV" || !v.Number("mode", mode) || mode < 2 ||
        !v.Number("lat", p.latitude) || !v.Number("lon", p.longitude) || !Valid(p))
        return std::nullopt;
    return p;
}

std::optional<TLatLon> FixFromSignalK(std::string_view text) {
    json::TValue v;
    if (!json::Parse(text, v)) return std::nullopt;
    if (const auto direct = LatLonOf(v)) return direct;  // the REST value itself
    if (const json::TValue* value = v.Find("value"))
        if (const auto rest = LatLonOf(*value)) return rest;
    return Search(v, 0);
}

std::string PositionText(TLatLon at) {
    const auto part = [](double value, int degreeDigits, char positive, char negative) {
        const double magnitude = std::fabs(value);
        int degrees = static_cast<int>(magnitude);
        double minutes = std::round((magnitude - degrees) * 600) / 10;
        if (minutes >= 60) {
            minutes -= 60;
            ++degrees;
        }
        char text[40];
        std::snprintf(text, sizeof text, "%0*d\xC2\xB0%04.1f\xE2\x80\xB2%c", degreeDigits, degrees, minutes,
                      value < 0 ? negative : positive);
        return std::string(text);
    };
    return part(at.latitude, 2, 'N', 'S') + " " + part(at.longitude, 3, 'E', 'W');
}

}  // namespace position
