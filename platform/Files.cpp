// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Files.h"

#include <algorithm>
#include <sstream>

namespace platform {
namespace {

// The commit record of a file set: "temporary<TAB>name" lines, in rename order, closed by
// "end<TAB>count<TAB>checksum", so a record cut short or altered is never carried out.
constexpr const char* CommitName = ".zel2-commit";
constexpr const char* CommitEnd = "end";
// The record of a batch of new files being written: one name a line.
constexpr const char* BatchName = ".zel2-batch";

// FNV-1a over the record's lines, each ended by LF (whatever line ends the file has now).
std::string RecordChecksum(const std::vector<std::string>& lines) {
    uint32_t hash = 2166136261u;
    for (const std::string& line : lines) {
        for (unsigned char c : line + "\n") hash = (hash ^ c) * 16777619u;
    }
    static const char hex[] = "0123456789abcdef";
    std::string text(8, '0');
    for (int i = 7; i >= 0; --i, hash >>= 4) text[static_cast<size_t>(i)] = hex[hash & 15];
    return text;
}

std::vector<std::string> SplitLines(const std::vector<uint8_t>& bytes) {
    std::vector<std::string> lines;
    std::string line;
    for (uint8_t b : bytes) {
        if (b != '\n') {
            line += static_cast<char>(b);
            continue;
        }
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        line.clear();
    }
    if (!line.empty()) lines.push_back(line);  // a last line without its end: the record is cut
    return lines;
}

// The renames a whole record asks for, or none when it is cut short, altered or names a
// file the caller does not save.
std::vector<std::pair<std::string, std::string>> ParseRecord(const std::vector<uint8_t>& bytes,
                                                             const std::vector<std::string>& targets) {
    std::vector<std::string> lines = SplitLines(bytes);
    if (bytes.empty() || bytes.back() != '\n' || lines.empty()) return {};
    const std::string last = lines.back();
    lines.pop_back();
    if (last != std::string(CommitEnd) + "\t" + std::to_string(lines.size()) + "\t" + RecordChecksum(lines))
        return {};
    std::vector<std::pair<std::string, std::string>> renames;
    for (const std::string& line : lines) {
        const size_t tab = line.find('\t');
        if (tab == std::string::npos) return {};
        std::string tempName = line.substr(0, tab), name = line.substr(tab + 1);
        if (!IsTemporaryName(tempName) || tempName.find_first_of("/\\") != std::string::npos ||
            std::find(targets.begin(), targets.end(), name) == targets.end())
            return {};
        renames.emplace_back(std::move(tempName), std::move(name));
    }
    return renames;
}

// Whatever stands where the record goes and is not a file (a folder, say) is moved out of
// the way under a name of its own, or no save could ever be committed again.
void ClearCommitPath(const std::string& folder) {
    const std::string commit = JoinPath(folder, CommitName);
    if (!FolderExists(commit)) return;
    for (int n = 1; n < 1000; ++n) {
        if (MoveNoReplace(commit,
                          JoinPath(folder, std::string(CommitName) + ".set-aside-" + std::to_string(n))))
            return;
    }
}

}  // namespace

bool IsTemporaryName(const std::string& name) {
    return !name.empty() && name[0] == '.' &&
           (name.find(TemporaryMarker) != std::string::npos || name == CommitName || name == BatchName);
}

bool ReadOnlyFile::LastWriteTime(LocalDateTime& when) const {
    if (writeMilliseconds < 0) return false;
    when = ToLocal(writeSeconds);
    when.millisecond = writeMilliseconds;
    return true;
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& data, size_t limit, LocalDateTime* written,
                   bool* timeKnown) {
    ReadOnlyFile file;
    if (!file.Open(path)) return false;
    if (written) {
        const bool known = file.LastWriteTime(*written);
        if (timeKnown) *timeKnown = known;
    }
    data.clear();
    // Asking one byte more than the size finds the end in the same read.
    const long long size = file.Size();
    const size_t chunk = size >= 0 ? static_cast<size_t>(size) + 1 : 65536;
    while (data.size() < limit) {
        const size_t at = data.size();
        const size_t want = std::min(chunk, limit - at);
        data.resize(at + want);
        const long long n = file.ReadOnce(at, data.data() + at, want);
        if (n < 0) return false;
        data.resize(at + static_cast<size_t>(n));
        if (static_cast<size_t>(n) < want) break;  // a regular file reads short only at its end
    }
    return true;
}

bool WriteFileAtomic(const std::string& path, const void* data, size_t size) {
    const std::string temp = WriteTemporary(path, data, size);
    if (temp.empty()) return false;
    if (RenameOver(temp, path)) return true;
    RemoveFile(temp);
    return false;
}

std::string FileSetRecord(const std::vector<std::pair<std::string, std::string>>& renames) {
    std::vector<std::string> lines;
    for (const auto& [temp, name] : renames) lines.push_back(temp + "\t" + name);
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text + CommitEnd + "\t" + std::to_string(lines.size()) + "\t" + RecordChecksum(lines) + "\n";
}

bool WriteFileSet(const std::string& folder, const std::vector<FileWrite>& files) {
    // 1. Every new file whole and synced under its temporary name.
    std::vector<std::string> temps;
    auto discard = [&temps] {
        for (const std::string& t : temps) RemoveFile(t);
        return false;
    };
    std::vector<std::pair<std::string, std::string>> renames;
    std::vector<std::string> targets;
    for (const FileWrite& f : files) {
        const std::string temp = WriteTemporary(JoinPath(folder, f.name), f.bytes.data(), f.bytes.size());
        if (temp.empty()) return discard();
        temps.push_back(temp);
        renames.emplace_back(temp.substr(temp.find_last_of("/\\") + 1), f.name);
        targets.push_back(f.name);
    }
    const std::string text = FileSetRecord(renames);
    // 2. The commit point: once the record has its name, the set is as good as written.
    ClearCommitPath(folder);
    const std::string commit = JoinPath(folder, CommitName);
    const std::string recordTemp = WriteTemporary(commit, text.data(), text.size());
    if (recordTemp.empty() || !RenameOver(recordTemp, commit)) {
        if (!recordTemp.empty()) RemoveFile(recordTemp);
        return discard();
    }
    SyncFolder(folder);
    // 3. The renames, in the fixed order of the set.
    RecoverFileSet(folder, targets);
    return true;
}

void RecoverFileSet(const std::string& folder, const std::vector<std::string>& targets) {
    ClearCommitPath(folder);
    const std::string commit = JoinPath(folder, CommitName);
    std::vector<uint8_t> bytes;
    if (ReadWholeFile(commit, bytes, 65536)) {
        // A record that is not whole was never the commit point: the old files stay, and
        // the temporaries go below.
        for (const auto& [tempName, name] : ParseRecord(bytes, targets)) {
            const std::string temp = JoinPath(folder, tempName), target = JoinPath(folder, name);
            if (FileExists(temp)) {
                SetAttributes(target, AttrNormal);
                RenameOver(temp, target);
            }
        }
        SyncFolder(folder);
        RemoveFile(commit);
    }
    RemoveTemporaries(folder);
}

bool BeginNewFiles(const std::string& folder, const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += name + "\n";
    return WriteFileAtomic(JoinPath(folder, BatchName), text.data(), text.size());
}

void EndNewFiles(const std::string& folder) {
    RemoveFile(JoinPath(folder, BatchName));
}

void RemoveTemporaries(const std::string& folder) {
    const std::string batch = JoinPath(folder, BatchName);
    std::vector<uint8_t> bytes;
    if (ReadWholeFile(batch, bytes, 1 << 20)) {
        std::istringstream names(std::string(bytes.begin(), bytes.end()));
        std::string name;
        while (std::getline(names, name)) {
            // Only names of this folder: a damaged record must not remove files elsewhere.
            if (name.empty() || name == "." || name == ".." || name.find_first_of("/\\") != std::string::npos)
                continue;
            const std::string path = JoinPath(folder, name);
            SetAttributes(path, AttrNormal);
            RemoveFile(path);
        }
        RemoveFile(batch);
    }
    for (const FolderEntry& e : ListFolder(folder)) {
        if (e.isFolder || !IsTemporaryName(e.name)) continue;
        const std::string path = JoinPath(folder, e.name);
        SetAttributes(path, AttrNormal);
        RemoveFile(path);
    }
}

}  // namespace platform
