// SPDX-License-Identifier: GPL-3.0-or-later
#include "receiver/ReceiverDetection.h"

#include "platform/Drives.h"
#include "platform/Files.h"
#include "receiver/Models.h"

namespace receiver {
namespace {

constexpr int FirstScannedDrive = 3;  // D:
constexpr int LastDrive = 25;         // Z:

}  // namespace

std::string ReadVolumeLabel(const std::string& rootPath) {
    platform::CriticalErrorModeGuard quiet;
    std::string label;
    if (!platform::VolumeLabel(rootPath, label)) return {};
    return label;
}

std::string IdentifyModel(const std::string& rootPath, CheckKind kind) {
    // The label is the same for every rule: asked once.
    const std::string label = ReadVolumeLabel(rootPath);
    for (const TModel& rule : Models()) {
        if (label != rule.name) continue;
        if (rule.needsIndex && !platform::FileExists(platform::JoinPath(rootPath, "INDEX.HTM"))) continue;
        const bool needsSystem =
            kind == CheckKind::PreviousDrive ? rule.needsSystemOnPrevious : rule.needsSystemOnScan;
        if (needsSystem && !platform::FileExists(platform::JoinPath(rootPath, "SYSTEM.BIN"))) continue;
        return std::string(rule.name);
    }
    return {};
}

int DetectReceiver(DetectionState& state) {
    if (state.PreviousDrive != NoDrive) {
        platform::CriticalErrorModeGuard quiet;
        const std::string root = platform::DriveRoot(state.PreviousDrive);
        state.ReceiverModel = root.empty() ? std::string() : IdentifyModel(root, CheckKind::PreviousDrive);
        if (!state.ReceiverModel.empty()) return state.PreviousDrive;
    }

    uint32_t mask = platform::LogicalDrives();
    for (int i = FirstScannedDrive; i <= LastDrive; ++i) {
        if ((mask & (1u << i)) && platform::DriveTypeOf(i) != platform::DriveType::Removable)
            mask &= ~(1u << i);
    }
    for (int i = FirstScannedDrive; i <= LastDrive; ++i) {
        if (!(mask & (1u << i))) continue;
        platform::CriticalErrorModeGuard quiet;
        const std::string root = platform::DriveRoot(i);
        state.ReceiverModel = root.empty() ? std::string() : IdentifyModel(root, CheckKind::FullScan);
        if (!state.ReceiverModel.empty()) {
            state.DriveFound = 1;
            return i;
        }
    }
    state.ReceiverModel.clear();
    return NoDrive;
}

std::string DriveLetter(int index) {
    if (index < 0 || index > LastDrive) return {};
    return std::string(1, static_cast<char>('A' + index));
}

}  // namespace receiver
