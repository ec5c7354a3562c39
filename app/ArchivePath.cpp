// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ArchivePath.h"

#include "platform/Files.h"

namespace app {

std::string ArchivePath(const std::string& applicationData, const std::string& executableFolder) {
    if (applicationData.empty()) return executableFolder;
    return platform::JoinPath(applicationData, "ZEL2\\");
}

void PrepareArchiveFolder(const std::string& archivePath) {
    if (!platform::FolderExists(archivePath)) platform::CreateFolder(archivePath);
}

}  // namespace app
