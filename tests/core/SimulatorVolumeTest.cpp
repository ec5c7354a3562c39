// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "acquisition/SystemFileRead.h"
#include "common/LittleEndian.h"
#include "platform/Files.h"
#include "receiver/ReceiverDetection.h"
#include "receiver/StateFiles.h"
#include "receiver/TZel2d.h"
#include "sim/DriveMapFile.h"
#include "sim/Inspect.h"
#include "sim/LiveVolume.h"
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

namespace {

std::string InspectToText(const std::string& folder) {
    std::FILE* out = std::tmpfile();
    EXPECT_TRUE(sim::InspectVolume(folder, out));
    std::rewind(out);
    std::string text;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, out)) text += buffer;
    std::fclose(out);
    return text;
}

TEST(SimulatorVolume, ModelDRingsWrapAndReadBackThroughTheReader) {
    TempFolder temp;
    ASSERT_TRUE(sim::MakeVolume("ZEL2D", temp / "d"));
    TZel2d nav(temp / "d/");
    ASSERT_TRUE(nav.ReadNav518());
    ASSERT_TRUE(nav.ReadNav490());
    EXPECT_EQ(nav.Nav518Count(), 4);
    EXPECT_EQ(nav.Nav490Count(), 2);
    EXPECT_LT(nav.Nav518Next, 1022) << "the 518 kHz ring wrapped past block 1023";
    EXPECT_EQ(nav.Nav518Lines(0)->front(), "ZCZC FA12");
    EXPECT_EQ(nav.Nav518Lines(0)->back(), "NNNN");
    EXPECT_GT(nav.Nav518Time(0), nav.Nav518Time(1)) << "newest first";

    TZel2d baro(temp / "d/");
    ASSERT_TRUE(baro.ReadBarograph());
    EXPECT_GT(baro.OldestBlock + (baro.SampleCount - 1) / 128, 255) << "the barograph ring wraps too";
    EXPECT_EQ(baro.BaroCount(), baro.SampleCount);
    double low = 2000, high = 0;
    for (int i = 0; i < baro.BaroCount(); ++i) {
        low = std::min(low, baro.BaroValue(i));
        high = std::max(high, baro.BaroValue(i));
    }
    EXPECT_GT(high - low, 10.0) << "a low passed through";
    EXPECT_LT(high - low, 60.0);
}

TEST(SimulatorVolume, InspectPrintsWhatTheReadersRead) {
    TempFolder temp;
    ASSERT_TRUE(sim::MakeVolume("ZEL2B", temp / "b"));
    ASSERT_TRUE(sim::MakeVolume("ZEL2D", temp / "d"));
    const std::string b = InspectToText(temp / "b");
    EXPECT_NE(b.find("serial B20140300158"), std::string::npos) << b;
    EXPECT_NE(b.find("recent messages EE33 GB05 FA12"), std::string::npos) << b;
    EXPECT_NE(b.find("BARODATA.BIN: 10240 samples"), std::string::npos) << b;
    EXPECT_NE(b.find("ZCZC AE07"), std::string::npos) << b;
    const std::string d = InspectToText(temp / "d");
    EXPECT_NE(d.find("firmware 1.2.3"), std::string::npos) << d;
    EXPECT_NE(d.find("NAV518.BIN: 4 messages"), std::string::npos) << d;
    EXPECT_NE(d.find("NAV490.BIN: 2 messages"), std::string::npos) << d;
    EXPECT_FALSE(sim::InspectVolume(temp.Path(), stdout)) << "a folder without receiver files";
}

}  // namespace

namespace {

TEST(SimulatorLive, FileModelMinutesMoveTheRingAndBringMessages) {
    TempFolder temp;
    ASSERT_TRUE(sim::MakeVolume("ZEL2B", temp / "b"));
    TAcquisitionState before;
    acquisition::ReadSystemFile(temp / "b/", before, nullptr);
    sim::LiveVolume live(temp / "b", 1700000000);
    for (int i = 0; i < 7; ++i) ASSERT_TRUE(live.AdvanceMinute());
    TAcquisitionState after;
    acquisition::ReadSystemFile(temp / "b/", after, nullptr);
    EXPECT_EQ(after.SystemData.WriteIndex(), (before.SystemData.WriteIndex() + 7) % 10240);
    EXPECT_NE(after.SystemData.RecentMessageId(2), before.SystemData.RecentMessageId(2))
        << "a new message at minute 7";
    EXPECT_TRUE(platform::FileExists(temp / "b/INTERNAT/" + after.SystemData.RecentMessageId(2) + ".TXT"));
    EXPECT_EQ(after.SystemData.RecentMessageId(1), before.SystemData.RecentMessageId(2));
}

TEST(SimulatorLive, ModelDMinutesFillTheCurrentBlockAndTheRing) {
    TempFolder temp;
    ASSERT_TRUE(sim::MakeVolume("ZEL2D", temp / "d"));
    TZel2d before(temp / "d/");
    ASSERT_TRUE(before.ReadBarograph());
    sim::LiveVolume live(temp / "d", 1700000000);
    for (int i = 0; i < 130; ++i) ASSERT_TRUE(live.AdvanceMinute());  // past a block boundary
    TZel2d after(temp / "d/");
    ASSERT_TRUE(after.ReadBarograph());
    EXPECT_EQ(after.SampleCount, before.SampleCount + 130);
    for (int i = 0; i < after.BaroCount(); ++i) {
        ASSERT_GT(after.BaroValue(i), 950.0) << i;  // no erased sample slipped into the series
    }
    TZel2d nav(temp / "d/");
    ASSERT_TRUE(nav.ReadNav518());
    EXPECT_EQ(nav.Nav518Count(), 4 + 130 / 7);
}

}  // namespace

// Demo messages read as their subject letter says: a gale warning never sits among the
// navigational warnings. Both the volume as made and messages that arrive while it runs.
TEST(SimulatorVolume, MessageTextsMatchTheirSubjects) {
    TempFolder temp;
    ASSERT_TRUE(sim::MakeVolume("ZEL2B", temp / "v"));
    sim::LiveVolume live(temp / "v", 0);
    for (int i = 0; i < 400; ++i) live.AdvanceMinute();
    const std::map<char, std::vector<std::string>> words{{'A', {"NAVIGATIONAL WARNING", "AVURNAV"}},
                                                         {'L', {"NAVIGATIONAL WARNING"}},
                                                         {'B', {"GALE WARNING"}},
                                                         {'D', {"SAR INFORMATION"}},
                                                         {'E', {"FORECAST", "BULLETIN"}}};
    int checked = 0;
    for (const char* band : {"INTERNAT", "NATIONAL"}) {
        for (const auto& e : platform::ListFolder(temp / ("v/" + std::string(band)))) {
            const std::string text =
                testing_support::ReadText(temp / ("v/" + std::string(band) + "/" + e.name));
            const auto expected = words.find(e.name[1]);
            ASSERT_NE(expected, words.end()) << e.name;
            EXPECT_TRUE(std::any_of(expected->second.begin(), expected->second.end(),
                                    [&](const std::string& w) { return text.find(w) != std::string::npos; }))
                << e.name << ": " << text;
            EXPECT_EQ(text.find(e.name[1] == 'B' ? "NAVIGATIONAL" : "GALE WARNING"), std::string::npos)
                << e.name;
            ++checked;
        }
    }
    EXPECT_GT(checked, 8);
}
