// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the program tells a Signal K server's notifications, as one delta.
namespace signalk {

struct TNotification {
    std::string path;   // "notifications.navtex.518.ED01"
    std::string state;  // normal, warn, alarm, emergency
    std::string message;
    std::optional<double> latitude, longitude;

    bool operator==(const TNotification&) const = default;
};

// "notifications.navtex.518.ED01"; empty for an identifier that is not four letters or
// digits (nothing else may name a path of the server's).
std::string NavtexPath(int band, const std::string& name);
inline constexpr const char* StormPath = "notifications.environment.outside.pressure.storm";

// The delta the server's WebSocket takes: the vessel's own, each notification a value
// with its state, "visual" and "sound", its message and the position where it has one.
std::string Delta(const std::vector<TNotification>& notifications, int64_t unixSeconds);

}  // namespace signalk
