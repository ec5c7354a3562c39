// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace platform {

struct LocalDateTime {
    int year = 1899;
    int month = 12;  // 1..12
    int day = 30;    // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

LocalDateTime LocalNow();

// Seconds since 1970-01-01 UTC <-> local calendar time, through the system's time zone.
LocalDateTime ToLocal(int64_t unixSeconds);
int64_t FromLocal(const LocalDateTime& local);

}  // namespace platform
