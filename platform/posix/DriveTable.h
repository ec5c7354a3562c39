#pragma once

#include <string>
#include <vector>

#include "platform/Drives.h"

namespace platform::posix {

struct DriveEntry {
    int index = -1;
    DriveType type = DriveType::Unknown;
    std::string label;
    std::string root;  // ends with '/'
    std::string raw;
};

// The drive map named by ZEL2_DRIVES; lines that do not parse are skipped.
std::vector<DriveEntry> ParseDriveMap(const std::string& text);

// Removable volumes from the mount table, lettered from D: upward in mount order.
std::vector<DriveEntry> MountedRemovableVolumes();

// The drives as the program sees them right now (read anew at every call).
std::vector<DriveEntry> CurrentDrives();

}  // namespace platform::posix
