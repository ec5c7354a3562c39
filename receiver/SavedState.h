// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>

#include "receiver/SystemData.h"

// The barometer altitude the settings allow, in metres.
inline constexpr int32_t MinBaroHeight = 0;
inline constexpr int32_t MaxBaroHeight = 750;

// What the program keeps between runs in CONFIG.BIN, SYSTEM.BIN and BARODATA.BIN (the read
// marks of MISC.BIN are a list of their own). The acquisition state is built on it.
struct TSavedState {
    static constexpr int BaroRingSize = 10240;

    TSystemData SystemData;
    std::array<int16_t, BaroRingSize> BaroSamples{};
    double BaroTime = 0.0;  // date-time of the newest sample

    int32_t BaroHeight = 0;       // metres, MinBaroHeight..MaxBaroHeight
    uint8_t ShowLastMessage = 0;  // 1 = select the newest message after each rebuild
};
