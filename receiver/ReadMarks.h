// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

// One read mark per archived message, keyed by the packed date-time of its file.
struct TReadMark {
    int32_t Age = 0;
    uint8_t Unread = 1;  // 1 = unread (drawn bold), 0 = read
};

using TReadMarkList = std::vector<TReadMark>;
