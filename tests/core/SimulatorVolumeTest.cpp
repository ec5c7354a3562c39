#include <gtest/gtest.h>

#include "platform/Files.h"
#include "receiver/LittleEndian.h"
#include "receiver/ReceiverDetection.h"
#include "sim/DriveMapFile.h"
#include "sim/VolumeWriter.h"
#include "support/TempFolder.h"

using testing_support::ScopedEnv;
using testing_support::TempFolder;

namespace {

TEST(SimulatorVolume, EveryModelIsDetectedAsItself) {
    TempFolder temp;
    ScopedEnv env("ZEL2_DRIVES", temp / "drives.tsv");
    for (const char* model : {"ZEL2", "ZEL2B", "ZEL2X", "ZEL2BX", "ZEL2D"}) {
        const std::string folder = temp / model;
        ASSERT_TRUE(sim::MakeVolume(model, folder)) << model;
        ASSERT_TRUE(sim::AttachDrive(temp / "drives.tsv", 'F', "removable", model, folder));
        receiver::DetectionState state;
        EXPECT_EQ(receiver::DetectReceiver(state), 5) << model;
        EXPECT_EQ(state.ReceiverModel, model);
    }
    EXPECT_FALSE(sim::MakeVolume("ZEL3", temp / "x"));
}

TEST(SimulatorVolume, FileModelStatusAndRingAgree) {
    TempFolder temp;
    ASSERT_TRUE(sim::MakeVolume("ZEL2B", temp / "b"));
    std::vector<uint8_t> system, baro;
    ASSERT_TRUE(platform::ReadWholeFile(temp / "b/SYSTEM.BIN", system));
    ASSERT_TRUE(platform::ReadWholeFile(temp / "b/BARODATA.BIN", baro));
    ASSERT_EQ(system.size(), 556u);
    ASSERT_EQ(baro.size(), 20480u);
    const int writeIndex = le::U16(&system[512]);
    ASSERT_LT(writeIndex, 10240);
    EXPECT_EQ(le::U16(&system[514]), 10240);
    // The sample sector is the ring block that holds WriteIndex.
    const int block = writeIndex / 256 * 256;
    for (int i = 0; i < 256; ++i) ASSERT_EQ(le::I16(&system[2 * i]), le::I16(&baro[2 * (block + i)])) << i;
    // The current pressure is the newest sample, and it looks like weather.
    EXPECT_EQ(le::I16(&system[552]), le::I16(&baro[2 * (writeIndex - 1)]));
    const double hPa = (le::I16(&system[552]) + 100000) / 100.0;
    EXPECT_GT(hPa, 980.0);
    EXPECT_LT(hPa, 1040.0);
    EXPECT_TRUE(platform::FileExists(temp / "b/INTERNAT/FA12.TXT"));
    EXPECT_TRUE(platform::FolderExists(temp / "b/NATIONAL"));
}

}  // namespace
