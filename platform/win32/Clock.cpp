#include <windows.h>

#include "platform/Clock.h"

namespace platform {
namespace {

constexpr int64_t kEpochDifference = 11644473600LL;  // 1601-01-01 to 1970-01-01, seconds

LocalDateTime FromSystemTime(const SYSTEMTIME& st) {
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

}  // namespace

LocalDateTime LocalNow() {
    SYSTEMTIME st;
    ::GetLocalTime(&st);
    return FromSystemTime(st);
}

LocalDateTime ToLocal(int64_t unixSeconds) {
    ULARGE_INTEGER u;
    u.QuadPart = static_cast<ULONGLONG>((unixSeconds + kEpochDifference) * 10000000LL);
    FILETIME utc{u.LowPart, u.HighPart}, local;
    SYSTEMTIME st;
    ::FileTimeToLocalFileTime(&utc, &local);
    ::FileTimeToSystemTime(&local, &st);
    return FromSystemTime(st);
}

int64_t FromLocal(const LocalDateTime& t) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(t.year);
    st.wMonth = static_cast<WORD>(t.month);
    st.wDay = static_cast<WORD>(t.day);
    st.wHour = static_cast<WORD>(t.hour);
    st.wMinute = static_cast<WORD>(t.minute);
    st.wSecond = static_cast<WORD>(t.second);
    FILETIME local, utc;
    ::SystemTimeToFileTime(&st, &local);
    ::LocalFileTimeToFileTime(&local, &utc);
    ULARGE_INTEGER u{{utc.dwLowDateTime, utc.dwHighDateTime}};
    return static_cast<int64_t>(u.QuadPart / 10000000ULL) - kEpochDifference;
}

}  // namespace platform
