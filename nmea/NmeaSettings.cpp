#include "nmea/NmeaSettings.h"

#include <cstdlib>
#include <sstream>
#include <vector>

#include "platform/Files.h"

namespace nmea {
namespace {

bool Port(const std::string& text, int& port) {
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    const int value = std::atoi(text.c_str());
    if (value < 1 || value > 65535) return false;
    port = value;
    return true;
}

}  // namespace

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
        if (key == "tcp-port") Port(value, s.tcpPort);
        if (key == "listen") s.allInterfaces = value == "all";
        if (key == "udp") {
            const size_t colon = value.rfind(':');
            int port = 0;
            if (colon != std::string::npos && colon > 0 && Port(value.substr(colon + 1), port)) {
                s.udpHost = value.substr(0, colon);
                s.udpPort = port;
            }
        }
        if (key == "storm-threshold") {
            char* end = nullptr;
            const double v = std::strtod(value.c_str(), &end);
            if (end && *end == '\0' && v >= 0.5 && v <= 20) s.stormThreshold = v;
        }
    }
    return s;
}

bool SaveNmeaSettings(const std::string& archiveRoot, const TNmeaSettings& s) {
    std::ostringstream out;
    out << "output=" << (s.enabled ? "on" : "off") << "\r\n"
        << "tcp-port=" << s.tcpPort << "\r\n"
        << "listen=" << (s.allInterfaces ? "all" : "local") << "\r\n";
    if (!s.udpHost.empty() && s.udpPort > 0) out << "udp=" << s.udpHost << ":" << s.udpPort << "\r\n";
    out.setf(std::ios::fixed);
    out.precision(1);
    out << "storm-threshold=" << s.stormThreshold << "\r\n";
    const std::string text = out.str();
    return platform::WriteFileAtomic(platform::JoinPath(archiveRoot, SettingsFileName), text.data(), text.size());
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
            const std::string dest = part.substr(4);
            const size_t colon = dest.rfind(':');
            if (colon != std::string::npos && colon > 0 && Port(dest.substr(colon + 1), port)) {
                s.enabled = true;
                s.udpHost = dest.substr(0, colon);
                s.udpPort = port;
            }
        }
    }
    return s;
}

}  // namespace nmea
