#include "acquisition/MessageTransfer.h"

#include <algorithm>
#include <cstring>
#include <map>

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

// One band as the archive must hold it: file name -> text and receive time. Oldest first,
// so of two equal names the newer stays.
struct TBandFile {
    std::string text;
    uint32_t time = 0;
};
using TBandContents = std::map<std::string, TBandFile>;

TBandContents MirrorOfBand(const TZel2d& reader, bool international) {
    TBandContents band;
    const int count = international ? reader.Nav518Count() : reader.Nav490Count();
    for (int i = count - 1; i >= 0; --i) {
        const TZel2d::Lines* lines = international ? reader.Nav518Lines(i) : reader.Nav490Lines(i);
        if (!lines || lines->empty()) continue;
        std::string text;
        for (const std::string& line : *lines) text += line + "\r\n";
        band[ModelDIdentifier(*lines) + ".TXT"] = {std::move(text), international ? reader.Nav518Time(i) : reader.Nav490Time(i)};
    }
    return band;
}

bool SameFile(const std::string& path, const TBandFile& wanted) {
    std::vector<uint8_t> bytes;
    platform::LocalDateTime written;
    bool timeKnown = false;
    if (!platform::ReadWholeFile(path, bytes, wanted.text.size() + 1, &written, &timeKnown) || !timeKnown) return false;
    const platform::LocalDateTime expected = datetime::LocalFromReceiverSeconds(wanted.time);
    written.millisecond = expected.millisecond;
    return bytes.size() == wanted.text.size() && std::equal(bytes.begin(), bytes.end(), wanted.text.begin()) &&
           platform::FromLocal(written) == platform::FromLocal(expected);
}

// Brings the band's folder to the mirror in place: files the rings no longer hold go,
// files whose bytes or time differ are written anew, the rest is left alone. A band whose
// ring could not be read whole keeps what it had and only gains what was read.
void SyncBand(const std::string& folder, const TBandContents& wanted, bool complete) {
    if (!platform::FolderExists(folder)) platform::CreateFolder(folder);
    if (complete) {
        for (const platform::FolderEntry& e : platform::ListFolder(folder)) {
            if (e.isFolder || wanted.count(e.name)) continue;
            const std::string path = platform::JoinPath(folder, e.name);
            platform::SetAttributes(path, platform::AttrNormal);
            platform::DeleteFile(path);
        }
    }
    for (const auto& [name, file] : wanted) {
        const std::string path = platform::JoinPath(folder, name);
        if (SameFile(path, file)) continue;
        // The times go on before the file gets its name, so a kill never leaves a message
        // with the wrong time; the mirror can be made again, so no sync per file.
        const std::string temp = platform::WriteTemporary(path, file.text.data(), file.text.size(), false);
        if (temp.empty()) continue;
        if (!SetMessageFileTime(temp, file.time) || !platform::ReplaceFile(temp, path)) platform::DeleteFile(temp);
    }
}

// Notes a band's newest identifiers and time.
void NoteBand(const TZel2d& reader, bool international, TAcquisitionState& state, std::vector<RecentEntry>& recent) {
    const int count = international ? reader.Nav518Count() : reader.Nav490Count();
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
    TZel2d reader(driveRoot);
    std::vector<RecentEntry> recent;
    for (bool international : {true, false}) {
        const bool whole = international ? reader.ReadNav518() : reader.ReadNav490();
        SyncBand(platform::JoinPath(archiveRoot, BandFolders[international ? 0 : 1]), MirrorOfBand(reader, international),
                 whole);
        if (whole) NoteBand(reader, international, state, recent);
    }

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
