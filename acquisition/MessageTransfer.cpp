#include "acquisition/MessageTransfer.h"

#include <algorithm>
#include <cstring>

#include "platform/Files.h"
#include "receiver/DateTime.h"
#include "acquisition/ModelDMirror.h"

namespace acquisition {
namespace {

const char* const BandFolders[] = {"INTERNAT\\", "NATIONAL\\"};

bool IsAlnum(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

}  // namespace

void EmptyArchive(const std::string& archiveRoot) {
    for (const char* band : BandFolders) {
        const std::string folder = platform::JoinPath(archiveRoot, band);
        if (!platform::FolderExists(folder)) platform::CreateFolder(folder);
        for (const platform::FolderEntry& e : platform::ListFolder(folder)) {
            if (e.isFolder) continue;
            const std::string path = platform::JoinPath(folder, e.name);
            platform::SetAttributes(path, platform::AttrNormal);
            platform::RemoveFile(path);
        }
    }
}

void CopyMessageFiles(const std::string& driveRoot, const std::string& archiveRoot, TAcquisitionState& state) {
    TBusyScope busy(state.Busy);
    EmptyArchive(archiveRoot);
    for (const char* band : BandFolders) {
        const std::string source = platform::JoinPath(driveRoot, band);
        const std::string target = platform::JoinPath(archiveRoot, band);
        for (const platform::FolderEntry& e : platform::ListFolder(source)) {
            if (e.isFolder) continue;
            platform::CopyFileNoOverwrite(platform::JoinPath(source, e.name), platform::JoinPath(target, e.name));
        }
    }
}

void WriteModelDMessages(const std::string& driveRoot, const std::string& archiveRoot, TAcquisitionState& state) {
    TBusyScope busy(state.Busy);
    TModelDMirror mirror;
    ApplyModelDResult(mirror.Transfer(driveRoot, archiveRoot), state);
}

bool SetMessageFileTime(const std::string& path, uint32_t seconds) {
    const platform::LocalDateTime t = datetime::LocalFromReceiverSeconds(seconds);
    return platform::SetFileTimes(path, t, t, t);
}

std::string ModelDIdentifier(const std::vector<std::string>& lines) {
    std::string id(4, '_');
    if (lines.empty()) return id;
    const std::string& first = lines.front();
    for (size_t i = 0; i < 4 && 5 + i < first.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(first[5 + i]);
        if (IsAlnum(c)) id[i] = static_cast<char>(c);
    }
    return id;
}

}  // namespace acquisition
