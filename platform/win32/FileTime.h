// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include "platform/Clock.h"

// Local calendar time <-> the system's UTC file times, shared by the clock and the files.
// Through the time zone's rules for that date: FileTimeToLocalFileTime would apply today's
// daylight-saving bias to a summer date in winter, an hour off.
namespace platform::win32 {

inline LocalDateTime FromSystemTime(const SYSTEMTIME& st) {
    LocalDateTime t;
    t.year = st.wYear;
    t.month = st.wMonth;
    t.day = st.wDay;
    t.hour = st.wHour;
    t.minute = st.wMinute;
    t.second = st.wSecond;
    t.millisecond = st.wMilliseconds;
    return t;
}

inline SYSTEMTIME ToSystemTime(const LocalDateTime& t) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(t.year);
    st.wMonth = static_cast<WORD>(t.month);
    st.wDay = static_cast<WORD>(t.day);
    st.wHour = static_cast<WORD>(t.hour);
    st.wMinute = static_cast<WORD>(t.minute);
    st.wSecond = static_cast<WORD>(t.second);
    st.wMilliseconds = static_cast<WORD>(t.millisecond);
    return st;
}

inline FILETIME UtcFileTimeFromLocal(const LocalDateTime& t) {
    const SYSTEMTIME local = ToSystemTime(t);
    SYSTEMTIME utc{};
    FILETIME result{};
    if (::TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc)) ::SystemTimeToFileTime(&utc, &result);
    return result;
}

inline LocalDateTime LocalFromUtcFileTime(const FILETIME& utc) {
    SYSTEMTIME universal{}, local{};
    ::FileTimeToSystemTime(&utc, &universal);
    ::SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local);
    return FromSystemTime(local);
}

// 100-nanosecond steps since 1601; in nanoseconds it would overflow 64 bits.
inline long long Ticks(const FILETIME& f) {
    ULARGE_INTEGER u;
    u.LowPart = f.dwLowDateTime;
    u.HighPart = f.dwHighDateTime;
    return static_cast<long long>(u.QuadPart);
}

}  // namespace platform::win32
