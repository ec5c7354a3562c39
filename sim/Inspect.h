// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <string>

namespace sim {

// Prints what the program's readers make of a receiver volume: status, barograph
// samples and messages. Works on simulated and real volumes alike. False when the
// folder holds no receiver files.
bool InspectVolume(const std::string& folder, std::FILE* out);

}  // namespace sim
