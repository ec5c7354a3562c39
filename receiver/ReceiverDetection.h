// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace receiver {

inline constexpr int NoDrive = -1;

// What detection reads and writes besides the system's drives.
struct DetectionState {
    std::string ReceiverModel;  // "ZEL2", "ZEL2B", "ZEL2X", "ZEL2BX", "ZEL2D" or empty
    int PreviousDrive = NoDrive;
    uint8_t DriveFound = 0;  // set by a full scan that found the receiver
};

// Volume label of the drive at rootPath; empty when it cannot be queried.
std::string ReadVolumeLabel(const std::string& rootPath);

// Which model the drive at rootPath is, or empty. The previous-drive check asks for
// SYSTEM.BIN on more models than the full scan does.
enum class CheckKind { PreviousDrive, FullScan };
std::string IdentifyModel(const std::string& rootPath, CheckKind kind);

// Drive index of the receiver or NoDrive; sets ReceiverModel, and DriveFound on a full scan hit.
int DetectReceiver(DetectionState& state);

// "E" for drive index 4.
std::string DriveLetter(int index);

}  // namespace receiver
