// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace app {

// The per-user message archive folder, always with a trailing separator: the
// application data folder + "ZEL2", or the program's own folder when the data folder
// is unknown.
std::string ArchivePath(const std::string& applicationData, const std::string& executableFolder);

// Creates the archive folder when it is missing (one level only; a failure is quiet).
void PrepareArchiveFolder(const std::string& archivePath);

}  // namespace app
