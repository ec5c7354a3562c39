#include "platform/Files.h"

#include <algorithm>
#include <sstream>

namespace platform {
namespace {

// The commit record of a file set: "temporary<TAB>name" lines, in rename order.
constexpr const char* CommitName = ".zel2-commit";
// The record of a batch of new files being written: one name a line.
constexpr const char* BatchName = ".zel2-batch";

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

bool WriteFileSet(const std::string& folder, const std::vector<FileWrite>& files) {
    // 1. Every new file whole and synced under its temporary name.
    std::vector<std::string> temps;
    auto discard = [&temps] {
        for (const std::string& t : temps) RemoveFile(t);
        return false;
    };
    std::ostringstream record;
    for (const FileWrite& f : files) {
        const std::string temp = WriteTemporary(JoinPath(folder, f.name), f.bytes.data(), f.bytes.size());
        if (temp.empty()) return discard();
        temps.push_back(temp);
        record << temp.substr(temp.find_last_of("/\\") + 1) << '\t' << f.name << '\n';
    }
    // 2. The commit point: once the record has its name, the set is as good as written.
    const std::string text = record.str();
    const std::string commit = JoinPath(folder, CommitName);
    const std::string recordTemp = WriteTemporary(commit, text.data(), text.size());
    if (recordTemp.empty() || !RenameOver(recordTemp, commit)) {
        if (!recordTemp.empty()) RemoveFile(recordTemp);
        return discard();
    }
    SyncFolder(folder);
    // 3. The renames, in the fixed order of the set.
    RecoverFileSet(folder);
    return true;
}

void RecoverFileSet(const std::string& folder) {
    const std::string commit = JoinPath(folder, CommitName);
    std::vector<uint8_t> bytes;
    if (ReadWholeFile(commit, bytes, 65536)) {
        std::istringstream lines(std::string(bytes.begin(), bytes.end()));
        std::string line;
        while (std::getline(lines, line)) {
            const size_t tab = line.find('\t');
            if (tab == std::string::npos) continue;
            const std::string tempName = line.substr(0, tab), name = line.substr(tab + 1);
            // Only names of this folder: a damaged record must not move files elsewhere.
            if (name.empty() || !IsTemporaryName(tempName) || (name + tempName).find_first_of("/\\") != std::string::npos)
                continue;
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

void EndNewFiles(const std::string& folder) { RemoveFile(JoinPath(folder, BatchName)); }

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
