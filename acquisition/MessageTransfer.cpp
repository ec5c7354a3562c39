// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/MessageTransfer.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <set>

#include "acquisition/ModelDMirror.h"
#include "common/DateTime.h"
#include "platform/Files.h"

namespace acquisition {
namespace {

const char* const BandFolders[] = {"INTERNAT\\", "NATIONAL\\"};

// Removes the folder's files (read-only ones too) that keep does not claim; sub-folders stay.
// True when every one went.
bool RemoveFilesExcept(const std::string& folder, const std::function<bool(const std::string&)>& keep) {
    bool removed = true;
    for (const platform::FolderEntry& e : platform::ListFolder(folder)) {
        if (e.isFolder || (keep && keep(e.name))) continue;
        const std::string path = platform::JoinPath(folder, e.name);
        platform::SetAttributes(path, platform::AttrNormal);
        if (!platform::RemoveFile(path)) removed = false;
    }
    return removed;
}

bool IsAlnum(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

}  // namespace

void EmptyArchive(const std::string& archiveRoot) {
    for (const char* band : BandFolders) {
        const std::string folder = platform::JoinPath(archiveRoot, band);
        if (!platform::FolderExists(folder)) platform::CreateFolder(folder);
        RemoveFilesExcept(folder, nullptr);
    }
}

namespace {

// A copy is made here first, beside the band folders (so on the same volume), and only a
// whole one replaces the archive: a receiver pulled mid-copy never empties it.
constexpr const char* StageName = ".zel2tmp-transfer\\";
// In the stage once every file is copied: "band<TAB>name" lines and a closing "end" line.
constexpr const char* StageDoneName = "DONE";

std::string StageOf(const std::string& archiveRoot) {
    return platform::JoinPath(archiveRoot, StageName);
}

void RemoveStage(const std::string& archiveRoot) {
    const std::string stage = StageOf(archiveRoot);
    if (!platform::FolderExists(stage)) return;
    for (const char* band : BandFolders) {
        const std::string folder = platform::JoinPath(stage, band);
        RemoveFilesExcept(folder, nullptr);
        platform::RemoveFolder(folder);
    }
    platform::RemoveFile(platform::JoinPath(stage, StageDoneName));
    platform::RemoveFolder(stage);
}

// Copies both band folders of the receiver into a fresh stage; false when the receiver or a
// file went away, or a copy failed.
bool CopyIntoStage(const std::string& driveRoot, const std::string& archiveRoot) {
    RemoveStage(archiveRoot);
    const std::string stage = StageOf(archiveRoot);
    if (!platform::CreateFolder(stage)) return false;
    std::string done;
    for (const char* band : BandFolders) {
        const std::string source = platform::JoinPath(driveRoot, band);
        const std::string target = platform::JoinPath(stage, band);
        if (!platform::CreateFolder(target)) return false;
        const bool present = platform::FolderExists(source);
        // A band folder the receiver lacks is an empty band, a receiver gone is no transfer.
        if (!present && !platform::FolderExists(driveRoot)) return false;
        for (const platform::FolderEntry& e : platform::ListFolder(source)) {
            if (e.isFolder) continue;
            const std::string from = platform::JoinPath(source, e.name);
            if (!platform::CopyFileNoOverwrite(from, platform::JoinPath(target, e.name))) {
                if (!platform::FolderExists(source)) return false;  // the receiver went away
                // A file that reads but did not copy: our side failed (a full disk, say).
                if (platform::ReadOnlyFile(from).IsOpen()) return false;
                continue;  // gone meanwhile, or not a message file at all
            }
            done += std::string(band, 8) + "\t" + e.name + "\n";
        }
        if (present && !platform::FolderExists(source)) return false;
    }
    done += "end\n";
    const std::string marker = platform::JoinPath(stage, StageDoneName);
    return platform::WriteFileAtomic(marker, done.data(), done.size());
}

// Moves a whole stage into the band folders: the staged files first (renames, no copy), then
// the files the receiver no longer holds go. Run again after a kill, it ends the same way.
bool ApplyStage(const std::string& archiveRoot) {
    const std::string stage = StageOf(archiveRoot);
    std::vector<uint8_t> bytes;
    if (!platform::ReadWholeFile(platform::JoinPath(stage, StageDoneName), bytes)) return false;
    const std::string text(bytes.begin(), bytes.end());
    if (text.size() < 4 || text.compare(text.size() - 4, 4, "end\n") != 0 ||
        (text.size() > 4 && text[text.size() - 5] != '\n'))
        return false;
    bool moved = true;
    for (const char* band : BandFolders) {
        const std::string folder = platform::JoinPath(archiveRoot, band);
        if (!platform::FolderExists(folder) && !platform::CreateFolder(folder)) return false;
        std::set<std::string> names;
        const std::string prefix = std::string(band, 8) + "\t";
        for (size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1) {
            if (text.compare(at, prefix.size(), prefix) == 0)
                names.insert(text.substr(at + prefix.size(), end - at - prefix.size()));
        }
        const std::string staged = platform::JoinPath(stage, band);
        for (const std::string& name : names) {
            if (name.empty() || name.find_first_of("/\\") != std::string::npos) continue;
            const std::string from = platform::JoinPath(staged, name);
            if (platform::FileExists(from) && !platform::RenameOver(from, platform::JoinPath(folder, name)))
                moved = false;
        }
        const bool gone = RemoveFilesExcept(folder, [&names](const std::string& name) {
            return names.count(name) || platform::IsTemporaryName(name);
        });
        if (!gone) moved = false;
    }
    return moved;
}

}  // namespace

void RecoverTransfer(const std::string& archiveRoot) {
    ApplyStage(archiveRoot);
    RemoveStage(archiveRoot);
}

bool CopyMessageFiles(const std::string& driveRoot, const std::string& archiveRoot,
                      TAcquisitionState& state) {
    TBusyScope busy(state.Busy);
    const bool whole = CopyIntoStage(driveRoot, archiveRoot) && ApplyStage(archiveRoot);
    RemoveStage(archiveRoot);
    if (whole) return true;
    // The band folders exist even when nothing could be copied.
    for (const char* band : BandFolders) {
        const std::string folder = platform::JoinPath(archiveRoot, band);
        if (!platform::FolderExists(folder)) platform::CreateFolder(folder);
    }
    return false;
}

void WriteModelDMessages(const std::string& driveRoot, const std::string& archiveRoot,
                         TAcquisitionState& state) {
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
