// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "platform/Drives.h"

// The drive map: when the environment variable ZEL2_DRIVES names a file, the drives are
// exactly the ones in it, on every system. Tests, the simulator and the end-to-end
// harness attach receivers this way.
namespace platform {

struct DriveEntry {
    int index = -1;
    DriveType type = DriveType::Unknown;
    std::string label;
    std::string root;  // ends with the native separator
    std::string raw;
};

// One drive a line: letter, type, label, root folder, raw volume path, tab-separated; lines
// that do not parse are skipped.
std::vector<DriveEntry> ParseDriveMap(const std::string& text);

// The drives of the map, when one is named. The file is looked at on every call, so a
// replaced map is seen at once, but parsed again only when it changed.
bool DriveMapDrives(std::vector<DriveEntry>& drives);

// One look at the drives for a whole detection: while one lives on a thread, the drive
// queries of that thread share one look at the map.
class DriveSnapshot {
public:
    DriveSnapshot();
    ~DriveSnapshot();
    DriveSnapshot(const DriveSnapshot&) = delete;
    DriveSnapshot& operator=(const DriveSnapshot&) = delete;

private:
    friend bool DriveMapDrives(std::vector<DriveEntry>& drives);
    DriveSnapshot* outer;
    bool taken = false, hasMap = false;
    std::vector<DriveEntry> drives;
};

}  // namespace platform
