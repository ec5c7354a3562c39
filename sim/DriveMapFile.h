// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace sim {

// Edits a drive map file; every change rewrites the whole file through a temporary
// name, so a running program never reads half of it.
bool AttachDrive(const std::string& mapPath, char letter, const std::string& type, const std::string& label,
                 const std::string& root, const std::string& raw = {});
bool DetachDrive(const std::string& mapPath, char letter);
bool MoveDrive(const std::string& mapPath, char from, char to);

}  // namespace sim
