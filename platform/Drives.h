// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

// Drive letters as the receiver family knows them: index 0 = A: .. 25 = Z:.
namespace platform {

enum class DriveType { Unknown, NoRootDir, Removable, Fixed, Remote, CdRom, RamDisk };

// Bit i set when drive index i exists.
uint32_t LogicalDrives();

DriveType DriveTypeOf(int index);

// The folder that stands for the drive's root, ending with the native separator
// ("E:\" on Windows, the volume's mount folder elsewhere). Empty when the drive is unknown.
std::string DriveRoot(int index);

// Path for raw, whole-volume access ("\\.\E:" on Windows, the block device elsewhere).
std::string RawVolumePath(int index);

// Volume label of the drive whose root folder is rootPath; false when it cannot be queried.
bool VolumeLabel(const std::string& rootPath, std::string& label);

// Keeps the system from asking the user about drives that are not ready while alive.
class CriticalErrorModeGuard {
public:
    CriticalErrorModeGuard();
    ~CriticalErrorModeGuard();
    CriticalErrorModeGuard(const CriticalErrorModeGuard&) = delete;
    CriticalErrorModeGuard& operator=(const CriticalErrorModeGuard&) = delete;

private:
    [[maybe_unused]] unsigned oldMode;  // what the guard restores (Windows only)
};

}  // namespace platform
