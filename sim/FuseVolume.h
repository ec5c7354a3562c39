// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace sim {

// Serves a receiver volume folder at mountPoint in update mode: every file passes through,
// except NAV518.BIN, HTML\NAVAREA.HTM and the raw volume file ".volume", which the update
// mode emulation answers. What the receiver saw is written to logPath as it happens.
// Runs until unmounted or interrupted; returns the process exit code.
int ServeUpdateMode(const std::string& volume, const std::string& mountPoint, const std::string& logPath);

inline constexpr const char* RawVolumeName = ".volume";

}  // namespace sim
