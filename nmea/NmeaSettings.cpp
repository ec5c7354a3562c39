// SPDX-License-Identifier: GPL-3.0-or-later
#include "nmea/NmeaSettings.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "platform/Files.h"
#include "signalk/Access.h"

namespace nmea {
namespace {

bool Port(const std::string& text, int& port) {
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const int value = std::atoi(text.c_str());
    if (value < 1 || value > 65535) return false;
    port = value;
    return true;
}

// A whole number from low to high, written as nothing else.
bool Whole(const std::string& value, int low, int high, int& out) {
    int v = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), v);
    if (error != std::errc() || end != value.data() + value.size() || v < low || v > high) return false;
    out = v;
    return true;
}

}  // namespace

bool Destination(const std::string& text, std::string& host, int& port) {
    const size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0 || !ValidHost(text.substr(0, colon)) ||
        !Port(text.substr(colon + 1), port))
        return false;
    host = text.substr(0, colon);
    return true;
}

bool ValidHost(const std::string& host) {
    if (host.empty() || host.size() > 253 || host.front() == '-' || host.front() == '.') return false;
    for (unsigned char c : host) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                        c == '.' || c == '-' || c == ':';
        if (!ok) return false;
    }
    return true;
}

bool ValidPositionSource(const std::string& source) {
    return source == "none" || source == "udp" || source == "tcp" || source == "gpsd" ||
           source == "signalk" || source == "serial" || source == "fixed";
}

bool ValidPositionAddress(const std::string& source, const std::string& address) {
    int port = 0;
    std::string host;
    if (source == "udp") return Port(address, port);
    if (source == "tcp" || source == "gpsd" || source == "signalk") return Destination(address, host, port);
    if (source == "serial") {
        std::string device;
        int baud = 0;
        return SerialAddress(address, device, baud);
    }
    return address.empty();
}

bool SerialAddress(const std::string& address, std::string& device, int& baud) {
    const size_t at = address.rfind('@');
    const std::string name = address.substr(0, at);
    int speed = 0;
    if (at != std::string::npos) {
        const std::string digits = address.substr(at + 1);
        bool known = false;
        for (int b : SerialSpeeds) known = known || digits == std::to_string(b);
        if (!known) return false;
        speed = std::atoi(digits.c_str());
    }
    // A device's path or a COM port: nothing a line of the file or a shell could misread.
    const bool path = name.rfind("/dev/", 0) == 0 && name.size() > 5 && name.size() <= 255 &&
                      name.find("..") == std::string::npos;
    bool com =
        name.size() > 3 && name.size() <= 6 && (name.rfind("COM", 0) == 0 || name.rfind("com", 0) == 0);
    for (size_t i = 3; com && i < name.size(); ++i) com = name[i] >= '0' && name[i] <= '9';
    if (!path && !com) return false;
    for (unsigned char c : name)
        if (c <= 0x20 || c == 0x7F) return false;
    device = name;
    baud = speed;
    return true;
}

bool ValidFolder(const std::string& folder) {
    if (folder.size() > 1024) return false;
    for (unsigned char c : folder)
        if (c < 0x20 || c == 0x7F) return false;
    return true;
}

TNmeaSettings LoadNmeaSettings(const std::string& archiveRoot) {
    TNmeaSettings s;
    std::vector<uint8_t> bytes;
    if (!platform::ReadWholeFile(platform::JoinPath(archiveRoot, SettingsFileName), bytes, 65536)) return s;
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        if (key == "output") s.enabled = value == "on";
        if (key == "warnings-folder" && ValidFolder(value)) s.warningsFolder = value;
        if (key == "tcp-port") Port(value, s.tcpPort);
        if (key == "max-clients") Whole(value, 1, MaxClientsLimit, s.maxClients);
        if (key == "listen") s.allInterfaces = value == "all";
        if (key == "udp") {
            std::string host;
            int port = 0;
            if (Destination(value, host, port)) {
                s.udpHost = host;
                s.udpPort = port;
            }
        }
        if (key == "position-source" && ValidPositionSource(value)) s.positionSource = value;
        if (key == "position-address" && value.size() <= 260) s.positionAddress = value;
        if (key == "position-fixed") {
            // Decimal degrees to the millionth, as saved: what is used is what is saved.
            double latitude = 0, longitude = 0;
            const size_t comma = value.find(',');
            const char* end = value.data() + value.size();
            if (comma != std::string::npos &&
                std::from_chars(value.data(), value.data() + comma, latitude) ==
                    std::from_chars_result{value.data() + comma, std::errc()} &&
                std::from_chars(value.data() + comma + 1, end, longitude) ==
                    std::from_chars_result{end, std::errc()} &&
                std::fabs(latitude) <= 90 && std::fabs(longitude) <= 180) {
                s.fixedLatitude = std::round(latitude * 1e6) / 1e6;
                s.fixedLongitude = std::round(longitude * 1e6) / 1e6;
            }
        }
        if (key == "signalk-client-id" && signalk::ValidClientId(value)) s.signalkClientId = value;
        if (key == "signalk-token" && signalk::ValidToken(value)) s.signalkToken = value;
        if (key == "signalk-alerts" && value.size() <= 260) {
            std::string host;
            int port = 0;
            if (Destination(value, host, port)) s.signalkAlerts = value;
        }
        if (key == "near-distance") Whole(value, 1, MaxNearDistanceNm, s.nearDistanceNm);
        if (key == "storm-threshold") {
            // Not strtod: the window's locale may want a decimal comma. Kept to the tenth the
            // file and the dialog hold, so what is used is what is saved.
            double v = 0;
            const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), v);
            if (error == std::errc() && end == value.data() + value.size() && v >= 0.5 && v <= 20)
                s.stormThreshold = std::round(v * 10) / 10;
        }
    }
    // An address that does not fit its source is no address.
    if (!ValidPositionAddress(s.positionSource, s.positionAddress)) s.positionAddress.clear();
    return s;
}

bool SaveNmeaSettings(const std::string& archiveRoot, const TNmeaSettings& s) {
    std::ostringstream out;
    out << "output=" << (s.enabled ? "on" : "off") << "\r\n"
        << "tcp-port=" << s.tcpPort << "\r\n"
        << "listen=" << (s.allInterfaces ? "all" : "local") << "\r\n";
    if (s.maxClients != TNmeaSettings{}.maxClients) out << "max-clients=" << s.maxClients << "\r\n";
    if (ValidHost(s.udpHost) && s.udpPort > 0 && s.udpPort <= 65535)
        out << "udp=" << s.udpHost << ":" << s.udpPort << "\r\n";
    out.setf(std::ios::fixed);
    out.precision(1);
    out << "storm-threshold=" << s.stormThreshold << "\r\n";
    if (!s.warningsFolder.empty() && ValidFolder(s.warningsFolder))
        out << "warnings-folder=" << s.warningsFolder << "\r\n";
    // The position's keys where they differ from the defaults: a file without them is as it was.
    const TNmeaSettings defaults;
    if (ValidPositionSource(s.positionSource) && s.positionSource != defaults.positionSource)
        out << "position-source=" << s.positionSource << "\r\n";
    if (!s.positionAddress.empty() && ValidPositionAddress(s.positionSource, s.positionAddress))
        out << "position-address=" << s.positionAddress << "\r\n";
    if ((s.fixedLatitude != 0 || s.fixedLongitude != 0) && std::fabs(s.fixedLatitude) <= 90 &&
        std::fabs(s.fixedLongitude) <= 180) {
        out.precision(6);
        out << "position-fixed=" << s.fixedLatitude << "," << s.fixedLongitude << "\r\n";
    }
    if (s.nearDistanceNm != defaults.nearDistanceNm && s.nearDistanceNm >= 1 &&
        s.nearDistanceNm <= MaxNearDistanceNm)
        out << "near-distance=" << s.nearDistanceNm << "\r\n";
    if (signalk::ValidClientId(s.signalkClientId)) out << "signalk-client-id=" << s.signalkClientId << "\r\n";
    if (signalk::ValidToken(s.signalkToken)) out << "signalk-token=" << s.signalkToken << "\r\n";
    std::string alertsHost;
    int alertsPort = 0;
    if (Destination(s.signalkAlerts, alertsHost, alertsPort))
        out << "signalk-alerts=" << s.signalkAlerts << "\r\n";
    const std::string text = out.str();
    return platform::WriteFileAtomic(platform::JoinPath(archiveRoot, SettingsFileName), text.data(),
                                     text.size());
}

TNmeaSettings WithOverride(TNmeaSettings s, const std::string& value) {
    std::istringstream parts(value);
    std::string part;
    while (std::getline(parts, part, ',')) {
        int port = 0;
        if (part.rfind("tcp:", 0) == 0 && Port(part.substr(4), port)) {
            s.enabled = true;
            s.tcpPort = port;
        } else if (part.rfind("udp:", 0) == 0) {
            std::string host;
            if (Destination(part.substr(4), host, port)) {
                s.enabled = true;
                s.udpHost = host;
                s.udpPort = port;
            }
        }
    }
    return s;
}

}  // namespace nmea
