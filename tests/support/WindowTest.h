// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include "support/TempFolder.h"

namespace testing_support {

// The world of a window test: its own data folder (the archive is data/ZEL2/) and its own
// drive map, so no test sees the user's receiver or archive.
class WindowTest : public ::testing::Test {
protected:
    explicit WindowTest(const char* driveMap = "none.tsv")
        : data("XDG_DATA_HOME", temp / "data"), drives("ZEL2_DRIVES", temp / driveMap) {}

    TempFolder temp;
    ScopedEnv data, drives;
};

}  // namespace testing_support
