// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "position/Geodesy.h"

// The boat's position as its instruments give it: NMEA 0183 sentences from the boat's
// network or a serial GPS, gpsd's reports, Signal K's. Only a valid fix is a position: a
// receiver that has lost its satellites keeps sending sentences, marked void.
namespace position {

// RMC (status A), GGA (quality above 0) or GLL (status A) of any talker, its checksum right;
// none for any other line.
std::optional<TLatLon> FixFromNmea(std::string_view sentence);

// Any sentence whose checksum is right: what a serial port at the right speed gives, fix or
// not (at the wrong speed, only noise).
bool IsNmeaSentence(std::string_view line);

// A gpsd report: a TPV object with mode 2 or 3 (a 2D or 3D fix) and its lat and lon.
std::optional<TLatLon> FixFromGpsd(std::string_view json);

// A Signal K delta or the REST value of navigation.position: {"latitude": …, "longitude": …}.
std::optional<TLatLon> FixFromSignalK(std::string_view json);

// "54°04.1′N 010°12.3′E"
std::string PositionText(TLatLon at);

}  // namespace position
