#include <windows.h>

#include "platform/Files.h"
#include "platform/win32/FileTime.h"

namespace platform {
namespace {

HANDLE AsHandle(long long h) { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(h)); }

}  // namespace

char PathSeparator() { return '\\'; }

std::string JoinPath(const std::string& root, const std::string& relative) {
    std::string result = root;
    if (!result.empty() && result.back() != '\\') result += '\\';
    return result + relative;
}

bool FileExists(const std::string& path) {
    DWORD a = ::GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
    DWORD a = ::GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

ReadOnlyFile::~ReadOnlyFile() { Close(); }

bool ReadOnlyFile::Open(const std::string& path) {
    Close();
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    handle = static_cast<long long>(reinterpret_cast<intptr_t>(h));
    position = 0;
    return true;
}

void ReadOnlyFile::Close() {
    if (handle != -1) ::CloseHandle(AsHandle(handle));
    handle = -1;
}

long long ReadOnlyFile::ReadAt(uint64_t offset, void* buffer, size_t count) {
    if (handle == -1) return -1;
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD read = 0;
    if (!::ReadFile(AsHandle(handle), buffer, static_cast<DWORD>(count), &read, &at))
        return ::GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
    return read;
}

long long ReadOnlyFile::Read(void* buffer, size_t count) {
    long long n = ReadAt(position, buffer, count);
    if (n > 0) position += static_cast<uint64_t>(n);
    return n;
}

long long ReadOnlyFile::Size() const {
    LARGE_INTEGER size;
    if (handle == -1 || !::GetFileSizeEx(AsHandle(handle), &size)) return -1;
    return size.QuadPart;
}

bool SetAttributes(const std::string& path, unsigned attributes) {
    DWORD a = 0;
    if (attributes & AttrReadOnly) a |= FILE_ATTRIBUTE_READONLY;
    if (attributes & AttrHidden) a |= FILE_ATTRIBUTE_HIDDEN;
    if (attributes & AttrSystem) a |= FILE_ATTRIBUTE_SYSTEM;
    return ::SetFileAttributesA(path.c_str(), a) != 0;
}

unsigned GetAttributes(const std::string& path) {
    DWORD a = ::GetFileAttributesA(path.c_str());
    if (a == INVALID_FILE_ATTRIBUTES) return AttrNormal;
    unsigned r = AttrNormal;
    if (a & FILE_ATTRIBUTE_READONLY) r |= AttrReadOnly;
    if (a & FILE_ATTRIBUTE_HIDDEN) r |= AttrHidden;
    if (a & FILE_ATTRIBUTE_SYSTEM) r |= AttrSystem;
    return r;
}

bool DeleteFile(const std::string& path) { return ::DeleteFileA(path.c_str()) != 0; }

// CopyFile keeps the last-write time by itself.
bool CopyFileNoOverwrite(const std::string& src, const std::string& dst) {
    return ::CopyFileA(src.c_str(), dst.c_str(), TRUE) != 0;
}

std::vector<FolderEntry> ListFolder(const std::string& folder) {
    std::vector<FolderEntry> entries;
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA(JoinPath(folder, "*.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return entries;
    do {
        std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        entries.push_back({name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (::FindNextFileA(find, &data));
    ::FindClose(find);
    return entries;
}

bool CreateFolder(const std::string& path) { return ::CreateDirectoryA(path.c_str(), nullptr) != 0; }

bool LastWriteTime(const std::string& path, LocalDateTime& when) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
    when = win32::LocalFromUtcFileTime(data.ftLastWriteTime);
    return true;
}

bool SetFileTimes(const std::string& path, const LocalDateTime& creation,
                  const LocalDateTime& access, const LocalDateTime& write) {
    HANDLE h = ::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    FILETIME c = win32::UtcFileTimeFromLocal(creation), a = win32::UtcFileTimeFromLocal(access),
             w = win32::UtcFileTimeFromLocal(write);
    BOOL ok = ::SetFileTime(h, &c, &a, &w);
    ::CloseHandle(h);
    return ok != 0;
}

bool WriteFileAtomic(const std::string& path, const void* data, size_t size) {
    const std::string temp = path + ".tmp";
    HANDLE h = ::CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = ::WriteFile(h, data, static_cast<DWORD>(size), &written, nullptr) && written == size &&
              ::FlushFileBuffers(h);
    ::CloseHandle(h);
    if (ok) ok = ::MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) ::DeleteFileA(temp.c_str());
    return ok != 0;
}

}  // namespace platform
