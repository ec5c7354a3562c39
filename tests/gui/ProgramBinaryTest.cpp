// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "sim/SimulatorFirmware.h"
#include "support/TempFolder.h"

// The program carries no device image: whatever it writes comes from an installed package.
TEST(ProgramBinary, CarriesNoFirmwareImage) {
    const std::string program = testing_support::ReadText(ZEL2_PROGRAM);
    ASSERT_GT(program.size(), 100000u) << ZEL2_PROGRAM;
    ASSERT_NE(program.find("ZELMARA 2"), std::string::npos) << "the scan reads the program's data";
    EXPECT_EQ(program.find("ZEL2 SIMULATOR"), std::string::npos);
    for (const char* family : {"B", "BX", "D"}) {
        for (const char* role : {"firmware", "data", "loader-new", "loader-old", "loader-d"}) {
            const std::vector<uint8_t> image = sim::SimulatorImage(family, role);
            if (image.empty()) continue;
            // 64 bytes from the middle of the image are enough to find any copy of it.
            const std::string probe(image.begin() + image.size() / 2, image.begin() + image.size() / 2 + 64);
            const auto found = std::search(program.begin(), program.end(),
                                           std::boyer_moore_searcher(probe.begin(), probe.end()));
            EXPECT_EQ(found, program.end()) << family << " " << role;
        }
    }
}
