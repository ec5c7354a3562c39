// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// The network output's settings, kept in NMEA.INI beside CONFIG.BIN (which keeps its five
// bytes), and the override of the environment variable ZEL2_NMEA.
namespace nmea {

inline constexpr const char* SettingsFileName = "NMEA.INI";

struct TNmeaSettings {
    bool enabled = false;
    int tcpPort = 10110;
    bool allInterfaces = false;  // listen on this computer only, by default
    std::string udpHost;         // empty: no UDP
    int udpPort = 0;
    double stormThreshold = 3.6;  // hPa fall in three hours
    std::string warningsFolder;   // where the warnings for the chart plotter go; empty: nowhere
    int maxClients = 32;          // more TCP clients than this are refused at once
    // The boat's position: where it comes from, its address (a UDP port, or host:port for
    // a TCP source and gpsd), the position typed in for "fixed", and how near a warning
    // must lie to concern the boat.
    std::string positionSource = "none";  // none, udp, tcp, gpsd, signalk, serial, fixed
    std::string positionAddress;
    double fixedLatitude = 0, fixedLongitude = 0;
    int nearDistanceNm = 50;
    // What a Signal K server with its security on gave this program: the identifier it asked
    // with and the token its administrator's approval brought.
    std::string signalkClientId, signalkToken;
    // The Signal K server that gets the alerts as notifications (host:port); empty: none.
    std::string signalkAlerts;

    bool operator==(const TNmeaSettings&) const = default;
};

// The sources of the boat's position the settings know.
bool ValidPositionSource(const std::string& source);
// Its address as the source takes it: a port for udp, host:port for tcp, gpsd and signalk,
// a serial port for serial.
bool ValidPositionAddress(const std::string& source, const std::string& address);
// A serial source: "/dev/ttyUSB0" or "COM3", then "@4800" for one speed; without it the
// speed is found (baud 0).
bool SerialAddress(const std::string& address, std::string& device, int& baud);
inline constexpr int SerialSpeeds[] = {4800, 9600, 38400, 115200};
inline constexpr int MaxNearDistanceNm = 1000;

// A UDP destination host: an IPv4 or IPv6 address or a DNS name (letters, digits, '.', '-',
// ':' for IPv6), at most 253 characters. Nothing else is used, and nothing else is saved.
bool ValidHost(const std::string& host);

// "host:port" with a valid host and port: its parts; false for anything else.
bool Destination(const std::string& text, std::string& host, int& port);

// A folder name as NMEA.INI keeps it: one line, no control character, at most 1024 bytes.
bool ValidFolder(const std::string& folder);

inline constexpr int MaxClientsLimit = 1000;

TNmeaSettings LoadNmeaSettings(const std::string& archiveRoot);
bool SaveNmeaSettings(const std::string& archiveRoot, const TNmeaSettings& settings);

// "tcp:10117", "udp:127.0.0.1:10118" or both, comma-separated: output on, with that port
// or destination. Anything else leaves the settings as they are.
TNmeaSettings WithOverride(TNmeaSettings settings, const std::string& value);

}  // namespace nmea
