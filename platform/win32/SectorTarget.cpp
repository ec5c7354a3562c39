#include "platform/SectorTarget.h"

#include <windows.h>

namespace platform {

TargetOpen SectorTarget::Open(const std::string& path, bool writable) {
    Close();
    unbuffered = true;
    // Receiver files are opened through the device namespace, "\\.\E:\NAV518.BIN".
    std::string device = path;
    if (device.size() >= 2 && device[1] == ':') device = "\\\\.\\" + device;
    while (device.size() > 7 && device.back() == '\\') device.pop_back();  // "\\.\E:" for the volume
    HANDLE h = ::CreateFileA(device.c_str(), GENERIC_READ | (writable ? GENERIC_WRITE : 0), 0, nullptr, OPEN_EXISTING,
                             FILE_FLAG_NO_BUFFERING, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return ::GetLastError() == ERROR_ACCESS_DENIED ? TargetOpen::NoRights : TargetOpen::Failed;
    handle = reinterpret_cast<long long>(h);
    return TargetOpen::Ok;
}

void SectorTarget::Close() {
    if (handle == -1) return;
    ::CloseHandle(reinterpret_cast<HANDLE>(handle));
    handle = -1;
}

namespace {

bool Seek(long long handle, uint64_t offset) {
    LONG high = static_cast<LONG>(offset >> 32);
    const DWORD low = ::SetFilePointer(reinterpret_cast<HANDLE>(handle), static_cast<LONG>(offset & 0xFFFFFFFFu), &high,
                                       FILE_BEGIN);
    return !(low == INVALID_SET_FILE_POINTER && ::GetLastError() != NO_ERROR);
}

}  // namespace

long long SectorTarget::ReadAt(uint64_t offset, void* buffer, size_t size) {
    if (handle == -1 || !Seek(handle, offset)) return -1;
    DWORD done = 0;
    if (!::ReadFile(reinterpret_cast<HANDLE>(handle), buffer, static_cast<DWORD>(size), &done, nullptr)) return -1;
    return done;
}

long long SectorTarget::WriteAt(uint64_t offset, const void* buffer, size_t size) {
    if (handle == -1 || !Seek(handle, offset)) return -1;
    DWORD done = 0;
    if (!::WriteFile(reinterpret_cast<HANDLE>(handle), buffer, static_cast<DWORD>(size), &done, nullptr)) return -1;
    return done;
}

bool SectorTarget::Flush() { return handle != -1 && ::FlushFileBuffers(reinterpret_cast<HANDLE>(handle)); }

}  // namespace platform
