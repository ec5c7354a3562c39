#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "platform/Clock.h"

namespace platform {

// Native separator; receiver-relative names in the core use '\' and pass through JoinPath.
char PathSeparator();

// root (ending with a separator) + a relative name whose parts are separated by '\'.
std::string JoinPath(const std::string& root, const std::string& relative);

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

// Read-only file with positioned reads.
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
    // Reads sequentially from the current position.
    long long Read(void* buffer, size_t count);
    long long Size() const;

private:
    long long handle = -1;
    uint64_t position = 0;
};

enum FileAttributes : unsigned { AttrNormal = 0, AttrReadOnly = 1, AttrHidden = 2, AttrSystem = 4 };

bool SetAttributes(const std::string& path, unsigned attributes);
unsigned GetAttributes(const std::string& path);  // AttrNormal when missing
bool DeleteFile(const std::string& path);

// Copies src to dst unless dst exists; the copy keeps the source's last-write time.
bool CopyFileNoOverwrite(const std::string& src, const std::string& dst);

struct FolderEntry {
    std::string name;
    bool isFolder = false;
};
// Every entry of the folder, hidden ones included; "." and ".." left out.
std::vector<FolderEntry> ListFolder(const std::string& folder);

// Creates one folder level; false when it cannot (parent missing, no rights, exists as a file).
bool CreateFolder(const std::string& path);

// Last write time of the file in local time; false when it cannot be read.
bool LastWriteTime(const std::string& path, LocalDateTime& when);

// Sets the file's times (local time). Platforms without a creation time ignore it.
bool SetFileTimes(const std::string& path, const LocalDateTime& creation,
                  const LocalDateTime& access, const LocalDateTime& write);

// Writes the whole file through a temporary name renamed over the old one, so a crash
// leaves either the old or the new content. False (and the old file untouched) on failure.
bool WriteFileAtomic(const std::string& path, const void* data, size_t size);

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& data);

}  // namespace platform
