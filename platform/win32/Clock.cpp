// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include "platform/Clock.h"
#include "platform/win32/FileTime.h"

namespace platform {
namespace {

constexpr int64_t EpochDifference = 11644473600LL;  // 1601-01-01 to 1970-01-01, seconds

}  // namespace

LocalDateTime LocalNow() {
    SYSTEMTIME st;
    ::GetLocalTime(&st);
    return win32::FromSystemTime(st);
}

LocalDateTime ToLocal(int64_t unixSeconds) {
    ULARGE_INTEGER u;
    u.QuadPart = static_cast<ULONGLONG>((unixSeconds + EpochDifference) * 10000000LL);
    LocalDateTime t = win32::LocalFromUtcFileTime(FILETIME{u.LowPart, u.HighPart});
    t.millisecond = 0;
    return t;
}

int64_t FromLocal(const LocalDateTime& t) {
    LocalDateTime whole = t;
    whole.millisecond = 0;
    const FILETIME utc = win32::UtcFileTimeFromLocal(whole);
    ULARGE_INTEGER u;
    u.LowPart = utc.dwLowDateTime;
    u.HighPart = utc.dwHighDateTime;
    return static_cast<int64_t>(u.QuadPart / 10000000ULL) - EpochDifference;
}

}  // namespace platform
