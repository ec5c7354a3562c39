#pragma once

#include <windows.h>

#include "platform/Clock.h"

// Local calendar time <-> the system's UTC file times, shared by the clock and the files.
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

inline FILETIME UtcFileTimeFromLocal(const LocalDateTime& t) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(t.year);
    st.wMonth = static_cast<WORD>(t.month);
    st.wDay = static_cast<WORD>(t.day);
    st.wHour = static_cast<WORD>(t.hour);
    st.wMinute = static_cast<WORD>(t.minute);
    st.wSecond = static_cast<WORD>(t.second);
    st.wMilliseconds = static_cast<WORD>(t.millisecond);
    FILETIME local{}, utc{};
    ::SystemTimeToFileTime(&st, &local);
    ::LocalFileTimeToFileTime(&local, &utc);
    return utc;
}

inline LocalDateTime LocalFromUtcFileTime(const FILETIME& utc) {
    FILETIME local{};
    SYSTEMTIME st{};
    ::FileTimeToLocalFileTime(&utc, &local);
    ::FileTimeToSystemTime(&local, &st);
    return FromSystemTime(st);
}

}  // namespace platform::win32
