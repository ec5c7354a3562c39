// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Serial.h"

#include <windows.h>

#include "platform/win32/Wide.h"

namespace platform {
namespace {

std::string LastError() {
    wchar_t* text = nullptr;
    ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        ::GetLastError(), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string out = text ? win32::Utf8(text) : std::string("error");
    if (text) ::LocalFree(text);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == ' ')) out.pop_back();
    return out;
}

HANDLE Handle(long long h) {
    return reinterpret_cast<HANDLE>(static_cast<intptr_t>(h));
}

}  // namespace

SerialPort::Open SerialPort::OpenPort(const std::string& name, int baud) {
    Close();
    error.clear();
    // COM10 and above are reached only through the device namespace.
    const std::wstring path = win32::Wide(name.rfind("\\\\.\\", 0) == 0 ? name : "\\\\.\\" + name);
    // No sharing: Windows itself refuses a second reader.
    const HANDLE h =
        ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD code = ::GetLastError();
        error = LastError();
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return Open::Missing;
        return code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION ? Open::Busy : Open::Failed;
    }
    handle = static_cast<long long>(reinterpret_cast<intptr_t>(h));
    // A read returns at once with what has come in.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    if (!::SetCommTimeouts(h, &timeouts) || !SetBaud(baud)) {
        if (error.empty()) error = LastError();
        Close();
        return Open::Failed;
    }
    return Open::Done;
}

bool SerialPort::SetBaud(int baud) {
    if (handle == -1 || baud <= 0) return false;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!::GetCommState(Handle(handle), &dcb)) {
        error = LastError();
        return false;
    }
    dcb.BaudRate = static_cast<DWORD>(baud);
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;  // some USB receivers send only while DTR is up
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    if (!::SetCommState(Handle(handle), &dcb)) {
        error = LastError();
        return false;
    }
    ::PurgeComm(Handle(handle), PURGE_RXCLEAR);
    return true;
}

void SerialPort::Close() {
    if (handle == -1) return;
    ::CloseHandle(Handle(handle));
    handle = -1;
}

long SerialPort::Read(char* buffer, long size) {
    if (handle == -1) return -1;
    DWORD got = 0;
    if (!::ReadFile(Handle(handle), buffer, static_cast<DWORD>(size), &got, nullptr)) {
        error = LastError();  // an adapter pulled out: ERROR_ACCESS_DENIED or ERROR_BAD_COMMAND
        return -1;
    }
    return static_cast<long>(got);
}

std::vector<std::string> SerialPorts() {
    std::vector<std::string> usb, other;
    wchar_t target[512];
    for (int n = 1; n <= 256; ++n) {
        const std::wstring name = L"COM" + std::to_wstring(n);
        if (::QueryDosDeviceW(name.c_str(), target, 512) != 0) {
            // USB adapters first: their devices are named by the USB serial drivers.
            const std::wstring device = target;
            const bool isUsb = device.find(L"USB") != std::wstring::npos ||
                               device.find(L"VCP") != std::wstring::npos ||
                               device.find(L"Silab") != std::wstring::npos;
            (isUsb ? usb : other).push_back(win32::Utf8(name));
        }
    }
    usb.insert(usb.end(), other.begin(), other.end());
    return usb;
}

}  // namespace platform
