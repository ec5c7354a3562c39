// SPDX-License-Identifier: GPL-3.0-or-later
#include "signalk/Notifications.h"

#include <cctype>
#include <charconv>

#include "common/DateTime.h"
#include "common/Json.h"

namespace signalk {

std::string NavtexPath(int band, const std::string& name) {
    if (name.size() != 4 || (band != 518 && band != 490)) return {};
    for (const char c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) return {};
    return "notifications.navtex." + std::to_string(band) + "." + name;
}

namespace {

std::string Degrees(double value) {
    // Whatever the C library's locale: JSON has a point.
    char text[400];
    const auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6);
    return written.ec == std::errc() ? std::string(text, written.ptr) : std::string("0");
}

}  // namespace

std::string Delta(const std::vector<TNotification>& notifications, int64_t unixSeconds) {
    std::string values;
    for (const TNotification& n : notifications) {
        if (!values.empty()) values += ",";
        values += R"({"path":)" + json::Quote(n.path) + R"(,"value":{"state":)" + json::Quote(n.state) +
                  R"(,"method":["visual","sound"],"message":)" + json::Quote(n.message);
        if (n.latitude && n.longitude)
            values += R"(,"position":{"latitude":)" + Degrees(*n.latitude) + R"(,"longitude":)" +
                      Degrees(*n.longitude) + "}";
        values += "}}";
    }
    return R"({"context":"vessels.self","updates":[{"source":{"label":"zel2","type":"NAVTEX"},"timestamp":)" +
           json::Quote(datetime::Iso8601Utc(unixSeconds)) + R"(,"values":[)" + values + "]}]}";
}

}  // namespace signalk
