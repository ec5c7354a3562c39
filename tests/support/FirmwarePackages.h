// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "sim/SimulatorFirmware.h"
#include "support/TempFolder.h"

namespace testing_support {

// Replaces the first occurrence of from in the package's manifest.
inline void EditManifest(const std::string& package, const std::string& from, const std::string& to) {
    std::string text = ReadText(package + "/" + update::ManifestName);
    const size_t at = text.find(from);
    if (at != std::string::npos) text.replace(at, from.size(), to);
    TempFolder::WriteFileAt(package + "/" + update::ManifestName, text);
}

// Installs the simulator package of model's family as root/name. A "maker" package is the
// same bytes without the simulator mark, for the paths only real packages take (the offer).
inline std::string InstallPackage(const std::string& root, const std::string& model, bool maker = false,
                                  const std::string& name = "package") {
    const std::string folder = Native(root + "/" + name);
    sim::MakeFirmwarePackage(folder, model);
    if (maker) EditManifest(folder, "origin simulator", "origin maker");
    return folder;
}

}  // namespace testing_support
