// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Clock.h"

#include <sys/time.h>

#include <ctime>

namespace platform {

LocalDateTime ToLocal(int64_t unixSeconds) {
    time_t t = static_cast<time_t>(unixSeconds);
    tm parts{};
    localtime_r(&t, &parts);
    LocalDateTime result;
    result.year = parts.tm_year + 1900;
    result.month = parts.tm_mon + 1;
    result.day = parts.tm_mday;
    result.hour = parts.tm_hour;
    result.minute = parts.tm_min;
    result.second = parts.tm_sec;
    result.millisecond = 0;
    return result;
}

int64_t FromLocal(const LocalDateTime& local) {
    tm parts{};
    parts.tm_year = local.year - 1900;
    parts.tm_mon = local.month - 1;
    parts.tm_mday = local.day;
    parts.tm_hour = local.hour;
    parts.tm_min = local.minute;
    parts.tm_sec = local.second;
    parts.tm_isdst = -1;
    return static_cast<int64_t>(mktime(&parts));
}

LocalDateTime LocalNow() {
    timeval tv{};
    gettimeofday(&tv, nullptr);
    LocalDateTime now = ToLocal(tv.tv_sec);
    now.millisecond = static_cast<int>(tv.tv_usec / 1000);
    return now;
}

}  // namespace platform
