// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <utility>
#include <vector>

#include "platform/Clock.h"

namespace platform {

// Native separator; receiver-relative names in the core use '\' and pass through JoinPath.
char PathSeparator();

// root (ending with a separator) + a relative name whose parts are separated by '\'.
std::string JoinPath(const std::string& root, const std::string& relative);

bool FileExists(const std::string& path);

// What tells one state of a file from another: its identity, size and last write.
struct FileStamp {
    bool exists = false;
    uint64_t id = 0;
    long long size = 0;
    long long writeNanoseconds = 0;
    bool operator==(const FileStamp&) const = default;
};
FileStamp StampOf(const std::string& path);
bool FolderExists(const std::string& path);
// A folder by exactly this name, in these letters (where names are told apart by case).
bool FolderExistsAsNamed(const std::string& path);
// A whole path ("/home/...", "C:\\...", "\\\\server\\..."), not one relative to where the program was
// started.
bool IsAbsolutePath(const std::string& path);

// Read-only file with positioned reads. Only regular files open: never a pipe, socket or
// device, which could block or never end.
class ReadOnlyFile {
public:
    ReadOnlyFile() = default;
    explicit ReadOnlyFile(const std::string& path) { Open(path); }
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    bool Open(const std::string& path);
    bool IsOpen() const { return handle != -1; }
    void Close();
    // Bytes read (0 at end of file), or -1 on an input/output error.
    long long ReadAt(uint64_t offset, void* buffer, size_t count);
    // One read call: fewer bytes than asked for only at the end (or on a short device).
    long long ReadOnce(uint64_t offset, void* buffer, size_t count);
    // Reads sequentially from the current position.
    long long Read(void* buffer, size_t count);
    // The size when the file was opened.
    long long Size() const { return size; }
    // The last-write time (local) when the file was opened; false when unknown.
    bool LastWriteTime(LocalDateTime& when) const;

private:
    long long handle = -1;
    uint64_t position = 0;
    long long size = -1;
    int64_t writeSeconds = 0;
    int writeMilliseconds = -1;
};

enum FileAttributes : unsigned { AttrNormal = 0, AttrReadOnly = 1, AttrHidden = 2, AttrSystem = 4 };

bool SetAttributes(const std::string& path, unsigned attributes);
unsigned GetAttributes(const std::string& path);  // AttrNormal when missing
bool RemoveFile(const std::string& path);

// Copies src to dst unless dst exists; the copy keeps the source's last-write time.
bool CopyFileNoOverwrite(const std::string& src, const std::string& dst);

struct FolderEntry {
    std::string name;
    bool isFolder = false;
};
// Every entry of the folder, hidden ones included; "." and ".." left out.
std::vector<FolderEntry> ListFolder(const std::string& folder);

// Renames a file or folder unless the new name exists already.
bool MoveNoReplace(const std::string& from, const std::string& to);
// Removes an empty folder.
bool RemoveFolder(const std::string& path);

// Creates one folder level; false when it cannot (parent missing, no rights, exists as a file).
bool CreateFolder(const std::string& path);

// Last write time of the file in local time; false when it cannot be read.
bool LastWriteTime(const std::string& path, LocalDateTime& when);

// Sets the file's times (local time). Platforms without a creation time ignore it.
bool SetFileTimes(const std::string& path, const LocalDateTime& creation, const LocalDateTime& access,
                  const LocalDateTime& write);

// Temporaries are hidden files beside their target whose names carry this marker, so
// folder scans can pass them over and the start-up can remove what a kill left behind.
inline constexpr const char* TemporaryMarker = ".zel2tmp-";
bool IsTemporaryName(const std::string& name);

// Writes (and, with sync, syncs) a temporary file beside path, with the given last-write
// time (all three times) when one is given; its path, or empty on failure.
std::string WriteTemporary(const std::string& path, const void* data, size_t size, bool sync = true,
                           const LocalDateTime* times = nullptr);
// Renames from over to (a read-only target is replaced too).
bool RenameOver(const std::string& from, const std::string& to);
// Makes the folder's entries (new names, renames) durable.
void SyncFolder(const std::string& folder);

// Writes the whole file through a temporary name renamed over the old one, so a crash
// leaves either the old or the new content. False (and the old file untouched) on failure.
bool WriteFileAtomic(const std::string& path, const void* data, size_t size);

// Writes several files of one folder as a set: after a crash at any point, the next
// RecoverFileSet leaves either all old or all new files. False when the set could not be
// committed (the old files are then untouched).
struct FileWrite {
    std::string name;  // inside the folder
    std::vector<uint8_t> bytes;
};
bool WriteFileSet(const std::string& folder, const std::vector<FileWrite>& files);
// The commit record that renames each temporary (a name in the folder) over its target.
std::string FileSetRecord(const std::vector<std::pair<std::string, std::string>>& renames);
// Completes a set whose commit was recorded whole, for these target names only; a record
// cut short or naming anything else is dropped with the set's temporaries.
void RecoverFileSet(const std::string& folder, const std::vector<std::string>& targets);
// Removes the program's temporaries left in a folder, and the new files of an unfinished
// batch (see BeginNewFiles).
void RemoveTemporaries(const std::string& folder);

// Many new files in one folder, cheaper than one temporary each: the names are recorded
// first, each file is written under its own name (failing when it exists), and the record
// goes when all are written. After a crash the next RemoveTemporaries removes the batch's
// files, whole or not, so none is ever left cut short.
bool BeginNewFiles(const std::string& folder, const std::vector<std::string>& names);
bool WriteNewFile(const std::string& path, const void* data, size_t size,
                  const LocalDateTime* times = nullptr);
void EndNewFiles(const std::string& folder);

// Reads the whole file, or its first limit bytes when it is larger; with written, also its
// last-write time (local), from the same open (timeKnown says whether it could be told).
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& data, size_t limit = size_t{64} << 20,
                   LocalDateTime* written = nullptr, bool* timeKnown = nullptr);

// Appends to the file, creating it when missing.
bool AppendToFile(const std::string& path, const void* data, size_t size);

// Holds a few descriptors back (again) for the program's own files: when network clients
// have taken all the others, an open of a file gives one up and still succeeds.
bool KeepDescriptorInReserve();

}  // namespace platform
