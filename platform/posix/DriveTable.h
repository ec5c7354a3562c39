// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "platform/DriveMap.h"

namespace platform::posix {

// Removable volumes from the mount table, lettered from D: upward in mount order.
std::vector<DriveEntry> MountedRemovableVolumes();

// The drives as the program sees them right now: the drive map when one is named,
// otherwise the mounted removable volumes.
std::vector<DriveEntry> CurrentDrives();

}  // namespace platform::posix
