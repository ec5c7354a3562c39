// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <cctype>
#include <random>
#include <string>

#include "platform/Files.h"
#include "platform/win32/FileTime.h"
#include "platform/win32/Wide.h"

namespace platform {
namespace {

using win32::Wide;

HANDLE AsHandle(long long h) {
    return reinterpret_cast<HANDLE>(static_cast<intptr_t>(h));
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string NameOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Creates a new hidden temporary beside target; its path and handle, or empty.
std::string CreateTemporary(const std::string& target, HANDLE& handle) {
    static thread_local std::mt19937 random{::GetCurrentProcessId() ^ ::GetTickCount()};
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string temp = FolderOf(target) + "." + NameOf(target) + TemporaryMarker;
        for (int i = 0; i < 6; ++i) temp += letters[random() % 62];
        handle = ::CreateFileW(Wide(temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_HIDDEN, nullptr);
        if (handle != INVALID_HANDLE_VALUE) return temp;
        if (::GetLastError() != ERROR_FILE_EXISTS) return {};
    }
    return {};
}

bool WriteAll(HANDLE h, const void* data, size_t size) {
    const auto* p = static_cast<const uint8_t*>(data);
    while (size > 0) {
        const DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!::WriteFile(h, p, chunk, &written, nullptr) || written == 0) return false;
        p += written;
        size -= written;
    }
    return true;
}

bool SetTimes(HANDLE h, const LocalDateTime& creation, const LocalDateTime& access,
              const LocalDateTime& write) {
    const FILETIME c = win32::UtcFileTimeFromLocal(creation), a = win32::UtcFileTimeFromLocal(access),
                   w = win32::UtcFileTimeFromLocal(write);
    return ::SetFileTime(h, &c, &a, &w) != 0;
}

}  // namespace

char PathSeparator() {
    return '\\';
}

std::string JoinPath(const std::string& root, const std::string& relative) {
    std::string result = root;
    if (!result.empty() && result.back() != '\\' && result.back() != '/') result += '\\';
    return result + relative;
}

bool FileExists(const std::string& path) {
    const DWORD a = ::GetFileAttributesW(Wide(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// Windows names are the same in any letters.
bool FolderExistsAsNamed(const std::string& path) {
    return FolderExists(path);
}

bool IsAbsolutePath(const std::string& path) {
    const bool drive = path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) &&
                       path[1] == ':' && (path[2] == '\\' || path[2] == '/');
    const bool share =
        path.size() >= 2 && (path[0] == '\\' || path[0] == '/') && (path[1] == '\\' || path[1] == '/');
    return drive || share;
}

bool FolderExists(const std::string& path) {
    const DWORD a = ::GetFileAttributesW(Wide(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

FileStamp StampOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data)) return {};
    // A file renamed over another is a new file with a creation time of its own.
    return {true, static_cast<uint64_t>(win32::Ticks(data.ftCreationTime)),
            static_cast<long long>((static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow),
            win32::Ticks(data.ftLastWriteTime) * 100};
}

ReadOnlyFile::~ReadOnlyFile() {
    Close();
}

bool ReadOnlyFile::Open(const std::string& path) {
    Close();
    HANDLE h = ::CreateFileW(Wide(path).c_str(), GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    // Files only: never a pipe, a console or a device, which could block or never end.
    BY_HANDLE_FILE_INFORMATION info;
    if (::GetFileType(h) != FILE_TYPE_DISK || !::GetFileInformationByHandle(h, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ::CloseHandle(h);
        return false;
    }
    handle = static_cast<long long>(reinterpret_cast<intptr_t>(h));
    position = 0;
    size = static_cast<long long>((static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
    const long long ticks = win32::Ticks(info.ftLastWriteTime);
    writeSeconds = ticks / 10000000LL - 11644473600LL;
    writeMilliseconds = static_cast<int>(ticks / 10000LL % 1000);
    return true;
}

void ReadOnlyFile::Close() {
    if (handle != -1) ::CloseHandle(AsHandle(handle));
    handle = -1;
    size = -1;
    writeMilliseconds = -1;
}

long long ReadOnlyFile::ReadOnce(uint64_t offset, void* buffer, size_t count) {
    if (handle == -1) return -1;
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD read = 0;
    const DWORD chunk = count > 0x40000000u ? 0x40000000u : static_cast<DWORD>(count);
    if (!::ReadFile(AsHandle(handle), buffer, chunk, &read, &at))
        return ::GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
    return read;
}

long long ReadOnlyFile::ReadAt(uint64_t offset, void* buffer, size_t count) {
    auto* p = static_cast<uint8_t*>(buffer);
    size_t done = 0;
    while (done < count) {
        const long long n = ReadOnce(offset + done, p + done, count - done);
        if (n < 0) return -1;
        if (n == 0) break;
        done += static_cast<size_t>(n);
    }
    return static_cast<long long>(done);
}

long long ReadOnlyFile::Read(void* buffer, size_t count) {
    const long long n = ReadAt(position, buffer, count);
    if (n > 0) position += static_cast<uint64_t>(n);
    return n;
}

bool SetAttributes(const std::string& path, unsigned attributes) {
    DWORD a = 0;
    if (attributes & AttrReadOnly) a |= FILE_ATTRIBUTE_READONLY;
    if (attributes & AttrHidden) a |= FILE_ATTRIBUTE_HIDDEN;
    if (attributes & AttrSystem) a |= FILE_ATTRIBUTE_SYSTEM;
    return ::SetFileAttributesW(Wide(path).c_str(), a == 0 ? FILE_ATTRIBUTE_NORMAL : a) != 0;
}

unsigned GetAttributes(const std::string& path) {
    const DWORD a = ::GetFileAttributesW(Wide(path).c_str());
    if (a == INVALID_FILE_ATTRIBUTES) return AttrNormal;
    unsigned r = AttrNormal;
    if (a & FILE_ATTRIBUTE_READONLY) r |= AttrReadOnly;
    if (a & FILE_ATTRIBUTE_HIDDEN) r |= AttrHidden;
    if (a & FILE_ATTRIBUTE_SYSTEM) r |= AttrSystem;
    return r;
}

bool RemoveFile(const std::string& path) {
    return ::DeleteFileW(Wide(path).c_str()) != 0;
}

bool CopyFileNoOverwrite(const std::string& src, const std::string& dst) {
    {
        ReadOnlyFile source;
        if (!source.Open(src)) return false;
    }
    if (FileExists(dst)) return false;
    // Under a temporary name first, so a kill in the middle never leaves a message cut
    // short; CopyFile keeps the last-write time by itself.
    HANDLE h = INVALID_HANDLE_VALUE;
    const std::string temp = CreateTemporary(dst, h);
    if (temp.empty()) return false;
    ::CloseHandle(h);
    bool ok = ::CopyFileW(Wide(src).c_str(), Wide(temp).c_str(), FALSE) != 0;
    if (ok) ok = ::SetFileAttributesW(Wide(temp).c_str(), FILE_ATTRIBUTE_NORMAL) != 0;
    if (ok) ok = ::MoveFileExW(Wide(temp).c_str(), Wide(dst).c_str(), 0) != 0;  // fails when dst exists
    if (!ok) {
        ::SetFileAttributesW(Wide(temp).c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(Wide(temp).c_str());
    }
    return ok;
}

std::vector<FolderEntry> ListFolder(const std::string& folder) {
    std::vector<FolderEntry> entries;
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW(Wide(JoinPath(folder, "*")).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return entries;
    do {
        const std::string name = win32::Utf8(data.cFileName);
        if (name == "." || name == "..") continue;
        entries.push_back({name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    return entries;
}

bool CreateFolder(const std::string& path) {
    return ::CreateDirectoryW(Wide(path).c_str(), nullptr) != 0;
}

bool MoveNoReplace(const std::string& from, const std::string& to) {
    return ::MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_WRITE_THROUGH) != 0;
}

bool RemoveFolder(const std::string& path) {
    return ::RemoveDirectoryW(Wide(path).c_str()) != 0;
}

bool LastWriteTime(const std::string& path, LocalDateTime& when) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data)) return false;
    when = win32::LocalFromUtcFileTime(data.ftLastWriteTime);
    return true;
}

bool SetFileTimes(const std::string& path, const LocalDateTime& creation, const LocalDateTime& access,
                  const LocalDateTime& write) {
    HANDLE h = ::CreateFileW(Wide(path).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const bool ok = SetTimes(h, creation, access, write);
    ::CloseHandle(h);
    return ok;
}

std::string WriteTemporary(const std::string& path, const void* data, size_t size, bool sync,
                           const LocalDateTime* times) {
    HANDLE h = INVALID_HANDLE_VALUE;
    const std::string temp = CreateTemporary(path, h);
    if (temp.empty()) return {};
    bool ok = WriteAll(h, data, size) && (!sync || ::FlushFileBuffers(h));
    if (ok && times) ok = SetTimes(h, *times, *times, *times);
    ::CloseHandle(h);
    if (!ok) {
        ::SetFileAttributesW(Wide(temp).c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(Wide(temp).c_str());
        return {};
    }
    return temp;
}

bool RenameOver(const std::string& from, const std::string& to) {
    // The temporary was hidden; its content is not. NTFS refuses to replace a read-only
    // file, so the old one loses that first.
    ::SetFileAttributesW(Wide(from).c_str(), FILE_ATTRIBUTE_NORMAL);
    const DWORD old = ::GetFileAttributesW(Wide(to).c_str());
    if (old != INVALID_FILE_ATTRIBUTES && (old & FILE_ATTRIBUTE_READONLY))
        ::SetFileAttributesW(Wide(to).c_str(), old & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    return ::MoveFileExW(Wide(from).c_str(), Wide(to).c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

// Renames on NTFS are journaled; there is nothing to sync for a folder.
void SyncFolder(const std::string&) {}

bool WriteNewFile(const std::string& path, const void* data, size_t size, const LocalDateTime* times) {
    HANDLE h = ::CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                             nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    bool ok = WriteAll(h, data, size);
    if (ok && times) ok = SetTimes(h, *times, *times, *times);
    ::CloseHandle(h);
    if (!ok) ::DeleteFileW(Wide(path).c_str());
    return ok;
}

// Windows gives a process handles until memory runs out: nothing to hold back.
bool KeepDescriptorInReserve() {
    return true;
}

bool AppendToFile(const std::string& path, const void* data, size_t size) {
    HANDLE h = ::CreateFileW(Wide(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const bool ok = WriteAll(h, data, size);
    return ::CloseHandle(h) != 0 && ok;
}

}  // namespace platform
