// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SectorTarget.h"

#include <windows.h>
#include <winioctl.h>

#include "platform/win32/Wide.h"

namespace platform {

TargetOpen SectorTarget::Open(const std::string& path, bool writable) {
    Close();
    unbuffered = true;
    // Receiver files are opened through the device namespace, "\\.\E:\NAV518.BIN".
    std::string device = path;
    if (device.size() >= 2 && device[1] == ':') device = "\\\\.\\" + device;
    while (device.size() > 7 && device.back() == '\\') device.pop_back();  // "\\.\E:" for the volume
    HANDLE h = ::CreateFileW(win32::Wide(device).c_str(), GENERIC_READ | (writable ? GENERIC_WRITE : 0), 0,
                             nullptr, OPEN_EXISTING, FILE_FLAG_NO_BUFFERING, nullptr);
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
    const DWORD low = ::SetFilePointer(reinterpret_cast<HANDLE>(handle),
                                       static_cast<LONG>(offset & 0xFFFFFFFFu), &high, FILE_BEGIN);
    return !(low == INVALID_SET_FILE_POINTER && ::GetLastError() != NO_ERROR);
}

}  // namespace

long long SectorTarget::ReadAt(uint64_t offset, void* buffer, size_t size) {
    if (handle == -1 || !Seek(handle, offset)) return -1;
    DWORD done = 0;
    if (!::ReadFile(reinterpret_cast<HANDLE>(handle), buffer, static_cast<DWORD>(size), &done, nullptr))
        return -1;
    return done;
}

long long SectorTarget::WriteAt(uint64_t offset, const void* buffer, size_t size) {
    if (handle == -1 || !Seek(handle, offset)) return -1;
    DWORD done = 0;
    if (!::WriteFile(reinterpret_cast<HANDLE>(handle), buffer, static_cast<DWORD>(size), &done, nullptr))
        return -1;
    return done;
}

long long SectorTarget::Size() {
    if (handle == -1) return -1;
    const HANDLE h = reinterpret_cast<HANDLE>(handle);
    LARGE_INTEGER bytes{};
    if (::GetFileType(h) == FILE_TYPE_DISK && ::GetFileSizeEx(h, &bytes)) return bytes.QuadPart;
    // A volume has no file size; the disk driver tells its length.
    GET_LENGTH_INFORMATION length{};
    DWORD returned = 0;
    if (::DeviceIoControl(h, IOCTL_DISK_GET_LENGTH_INFO, nullptr, 0, &length, sizeof length, &returned,
                          nullptr))
        return length.Length.QuadPart;
    return -1;
}

bool SectorTarget::Flush() {
    return handle != -1 && ::FlushFileBuffers(reinterpret_cast<HANDLE>(handle));
}

}  // namespace platform
