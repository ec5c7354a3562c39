// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/ModelDMirror.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <set>

#include "acquisition/MessageTransfer.h"
#include "common/DateTime.h"
#include "receiver/TZel2d.h"

namespace acquisition {
namespace {

const char* const BandFolders[] = {"INTERNAT\\", "NATIONAL\\"};
const char* const RingFiles[] = {"NAV518.BIN", "NAV490.BIN"};

using TBandFiles = TModelDMirror::TBandFiles;

const TZel2d::Lines* LinesOf(const TZel2d& r, bool international, int i) {
    return international ? r.Nav518Lines(i) : r.Nav490Lines(i);
}
uint32_t TimeOf(const TZel2d& r, bool international, int i) {
    return international ? r.Nav518Time(i) : r.Nav490Time(i);
}

// Oldest first, so of two equal names the newer stays.
TBandFiles MirrorOfBand(const TZel2d& reader, bool international) {
    TBandFiles band;
    const int count = international ? reader.Nav518Count() : reader.Nav490Count();
    for (int i = count - 1; i >= 0; --i) {
        const TZel2d::Lines* lines = LinesOf(reader, international, i);
        if (!lines || lines->empty()) continue;
        std::string text;
        for (const std::string& line : *lines) text += line + "\r\n";
        band[ModelDIdentifier(*lines) + ".TXT"] = {std::move(text), TimeOf(reader, international, i)};
    }
    return band;
}

TModelDResult PartOfBand(const TZel2d& reader, bool international, bool read) {
    TModelDResult part;
    const size_t b = international ? 0 : 1;
    part.bandRead[b] = read;
    if (!read) return part;
    const int count = international ? reader.Nav518Count() : reader.Nav490Count();
    part.count[b] = count;
    if (count > 0) part.newest[b] = TimeOf(reader, international, 0);
    for (int i = 0; i < std::min(count, 3); ++i) {
        const TZel2d::Lines* lines = LinesOf(reader, international, i);
        // A message without lines brings no identifier: four zero bytes, which are not shown.
        part.recent.push_back({lines && !lines->empty() ? ModelDIdentifier(*lines) : std::string(4, '\0'),
                               TimeOf(reader, international, i)});
    }
    return part;
}

bool SameFile(const std::string& path, const TModelDMirror::TFile& wanted) {
    std::vector<uint8_t> bytes;
    platform::LocalDateTime written;
    bool timeKnown = false;
    if (!platform::ReadWholeFile(path, bytes, wanted.text.size() + 1, &written, &timeKnown) || !timeKnown)
        return false;
    const platform::LocalDateTime expected = datetime::LocalFromReceiverSeconds(wanted.time);
    written.millisecond = expected.millisecond;
    return bytes.size() == wanted.text.size() &&
           std::equal(bytes.begin(), bytes.end(), wanted.text.begin()) &&
           platform::FromLocal(written) == platform::FromLocal(expected);
}

// A band whose ring could not be read whole keeps what it had and only gains what was
// read. previous, when given, is what this program wrote there last and found unchanged.
// True when the folder now holds the band: every write, removal and rename succeeded.
bool SyncBand(const std::string& folder, const TBandFiles& wanted, bool complete,
              const TBandFiles* previous) {
    if (!platform::FolderExists(folder) && !platform::CreateFolder(folder)) return false;
    bool synced = true;
    std::set<std::string> present;
    for (const platform::FolderEntry& e : platform::ListFolder(folder)) {
        if (e.isFolder) continue;
        if (!complete || wanted.count(e.name)) {
            present.insert(e.name);
            continue;
        }
        const std::string path = platform::JoinPath(folder, e.name);
        platform::SetAttributes(path, platform::AttrNormal);
        if (!platform::RemoveFile(path)) synced = false;
    }
    // New messages are written as one batch under their own names; a kill leaves the batch
    // to the next start to remove, never a message cut short.
    std::vector<std::string> fresh;
    for (const auto& entry : wanted)
        if (!present.count(entry.first)) fresh.push_back(entry.first);
    const bool batch = !fresh.empty() && platform::BeginNewFiles(folder, fresh);
    for (const auto& [name, file] : wanted) {
        const std::string path = platform::JoinPath(folder, name);
        const platform::LocalDateTime t = datetime::LocalFromReceiverSeconds(file.time);
        if (!present.count(name)) {
            if (!batch || !platform::WriteNewFile(path, file.text.data(), file.text.size(), &t))
                synced = false;
            continue;
        }
        // Only a file that is there can be the same.
        if (previous) {
            auto it = previous->find(name);
            if (it != previous->end() && it->second == file) continue;
        }
        if (SameFile(path, file)) continue;
        // A changed message replaces the old one whole, times and all; the mirror can be
        // made again, so no sync per file.
        const std::string temp =
            platform::WriteTemporary(path, file.text.data(), file.text.size(), false, &t);
        if (!temp.empty() && platform::RenameOver(temp, path)) continue;
        if (!temp.empty()) platform::RemoveFile(temp);
        synced = false;
    }
    if (batch) platform::EndNewFiles(folder);
    return synced;
}

// The receive time of the band's oldest message, which is the first to grow too old.
uint32_t OldestTime(const TBandFiles& band) {
    uint32_t oldest = UINT32_MAX;
    for (const auto& f : band) oldest = std::min(oldest, f.second.time);
    return oldest;
}

// Whether a scan of the same ring at a later receiver time gives the same messages: none
// of them has grown older than two days, and the clock did not go back.
bool StillCurrent(uint32_t oldest, uint32_t then, uint32_t now) {
    return now >= then && (oldest == UINT32_MAX || !(oldest + TZel2d::MaxMessageAge < now));
}

}  // namespace

TModelDResult TModelDMirror::Transfer(const std::string& driveRoot, const std::string& archiveRoot) {
    TModelDResult result;
    TZel2d reader(driveRoot);
    const bool system = reader.ReadSystem();
    for (size_t b = 0; b < 2; ++b) {
        const bool international = b == 0;
        TKnown& k = known[b];
        const std::string folder = platform::JoinPath(archiveRoot, BandFolders[b]);
        const int16_t next = international ? reader.Nav518Next : reader.Nav490Next;
        const std::string ringPath = platform::JoinPath(driveRoot, RingFiles[b]);
        size_t ringSize = 0;
        const bool haveRing = system && ReadRing(ringPath, ringSize);
        const bool sameRing = haveRing && k.ring.size() == ringSize &&
                              (ringSize == 0 || std::memcmp(k.ring.data(), scratch.data(), ringSize) == 0);

        // The same ring, the same position, messages no older, and the folder as we left it.
        if (sameRing && k.valid && k.folder == folder && k.next == next &&
            StillCurrent(k.oldest, k.receiverTime, reader.ReceiverTime) &&
            platform::StampOf(folder) == k.folderStamp) {
            k.receiverTime = reader.ReceiverTime;
        } else {
            std::vector<uint8_t> ring(scratch.begin(), scratch.begin() + static_cast<long>(ringSize));
            const bool whole =
                haveRing && next >= 0 && next < TZel2d::RingBlocks && reader.ParseNav(international, ring);
            TBandFiles band = MirrorOfBand(reader, international);
            const bool synced =
                SyncBand(folder, band, whole, k.valid && k.folder == folder ? &k.band : nullptr);
            // A band not written whole (a full disk) is done again at the next refresh.
            k.valid = whole && synced;
            if (k.unsynced) result.rewritten = true;
            k.unsynced = !synced;
            k.folder = folder;
            k.ring = std::move(ring);
            k.next = next;
            k.receiverTime = reader.ReceiverTime;
            k.band = std::move(band);
            k.oldest = OldestTime(k.band);
            k.part = PartOfBand(reader, international, whole);
            k.folderStamp = platform::StampOf(folder);
        }
        const TModelDResult& part = k.part;
        result.bandRead[b] = part.bandRead[b];
        result.count[b] = part.count[b];
        result.newest[b] = part.newest[b];
        result.recent.insert(result.recent.end(), part.recent.begin(), part.recent.end());
    }
    return result;
}

bool TModelDMirror::ReadRing(const std::string& path, size_t& size) {
    // One buffer for every refresh: a fresh one would cost its pages each time.
    if (scratch.size() != TZel2d::RingBytes + 1) scratch.resize(TZel2d::RingBytes + 1);
    platform::ReadOnlyFile file;
    if (!file.Open(path)) return false;
    const long long n = file.ReadOnce(0, scratch.data(), scratch.size());
    if (n < 0) return false;
    size = std::min(static_cast<size_t>(n), TZel2d::RingBytes);
    // A ring read short by the system (not at its end) is read on to the end.
    while (static_cast<long long>(size) < file.Size() && size < TZel2d::RingBytes) {
        const long long more = file.ReadOnce(size, scratch.data() + size, TZel2d::RingBytes - size);
        if (more <= 0) break;
        size += static_cast<size_t>(more);
    }
    return true;
}

void ApplyModelDResult(const TModelDResult& result, TAcquisitionState& state) {
    if (result.rewritten) state.TreeRebuild = 1;
    for (size_t b = 0; b < 2; ++b) {
        if (!result.bandRead[b] || result.count[b] == 0) continue;
        uint32_t& known = b == 0 ? state.NewestInternationalTime : state.NewestNationalTime;
        if (result.newest[b] != known) {
            known = result.newest[b];
            state.TreeRebuild = 1;
        }
    }
    std::vector<TRecentMessage> recent = result.recent;
    std::stable_sort(recent.begin(), recent.end(), [](const TRecentMessage& a, const TRecentMessage& b) {
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

}  // namespace acquisition
