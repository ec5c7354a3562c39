// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

#include "acquisition/AcquisitionState.h"

namespace acquisition {

// Reads the receiver's SYSTEM.BIN (file models) into SystemData and sets NewMessages when
// the recent identifiers changed. redrawChart runs when the file cannot be opened.
void ReadSystemFile(const std::string& driveRoot, TAcquisitionState& state,
                    const std::function<void()>& redrawChart);

}  // namespace acquisition
