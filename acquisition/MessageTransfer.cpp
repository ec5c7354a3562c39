#include "acquisition/MessageTransfer.h"

#include <algorithm>
#include <cstring>

#include "platform/Files.h"
#include "receiver/DateTime.h"
#include "receiver/TZel2d.h"

namespace acquisition {
namespace {

const char* const BandFolders[] = {"INTERNAT\\", "NATIONAL\\"};

bool IsAlnum(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

struct RecentEntry {
    std::string id;
    uint32_t time;
};

// Writes one band that was read and notes its newest identifiers and time.
void WriteBand(const TZel2d& reader, bool international, const std::string& folder, TAcquisitionState& state,
               std::vector<RecentEntry>& recent) {
    const int count = international ? reader.Nav518Count() : reader.Nav490Count();
    for (int i = count - 1; i >= 0; --i) {  // oldest first: of two equal names the newer stays
        const TZel2d::Lines* lines = international ? reader.Nav518Lines(i) : reader.Nav490Lines(i);
        if (!lines || lines->empty()) continue;
        std::string text;
        for (const std::string& line : *lines) text += line + "\r\n";
        const std::string path = platform::JoinPath(folder, ModelDIdentifier(*lines) + ".TXT");
        if (!platform::WriteFileAtomic(path, text.data(), text.size())) continue;
        SetMessageFileTime(path, international ? reader.Nav518Time(i) : reader.Nav490Time(i));
    }
    for (int i = 0; i < std::min(count, 3); ++i) {
        const TZel2d::Lines* lines = international ? reader.Nav518Lines(i) : reader.Nav490Lines(i);
        // A message without lines brings no identifier: four zero bytes, which are not shown.
        const std::string id = lines && !lines->empty() ? ModelDIdentifier(*lines) : std::string(4, '\0');
        recent.push_back({id, international ? reader.Nav518Time(i) : reader.Nav490Time(i)});
    }
    if (count > 0) {
        const uint32_t newest = international ? reader.Nav518Time(0) : reader.Nav490Time(0);
        uint32_t& known = international ? state.NewestInternationalTime : state.NewestNationalTime;
        if (newest != known) {
            known = newest;
            state.TreeRebuild = 1;
        }
    }
}

}  // namespace

void EmptyArchive(const std::string& archiveRoot) {
    for (const char* band : BandFolders) {
        const std::string folder = platform::JoinPath(archiveRoot, band);
        if (!platform::FolderExists(folder)) platform::CreateFolder(folder);
        for (const platform::FolderEntry& e : platform::ListFolder(folder)) {
            if (e.isFolder) continue;
            const std::string path = platform::JoinPath(folder, e.name);
            platform::SetAttributes(path, platform::AttrNormal);
            platform::DeleteFile(path);
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
    EmptyArchive(archiveRoot);
    TZel2d reader(driveRoot);
    std::vector<RecentEntry> recent;
    if (reader.ReadNav518()) WriteBand(reader, true, platform::JoinPath(archiveRoot, BandFolders[0]), state, recent);
    if (reader.ReadNav490()) WriteBand(reader, false, platform::JoinPath(archiveRoot, BandFolders[1]), state, recent);

    std::stable_sort(recent.begin(), recent.end(), [](const RecentEntry& a, const RecentEntry& b) {
        return static_cast<int32_t>(b.time - a.time) < 0;
    });
    if (recent.size() > 3) recent.resize(3);
    // Oldest of the newest three first, so slot 3 ends up with the newest message: the one
    // "show the newest message automatically" selects.
    uint8_t* slots = state.SystemData.RecentMessageIds();
    for (auto it = recent.rbegin(); it != recent.rend(); ++it) {
        std::memmove(slots, slots + 4, 8);
        std::memcpy(slots + 8, it->id.data(), 4);
    }
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
