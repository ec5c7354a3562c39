// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "acquisition/SystemFileRead.h"
#include "platform/Files.h"
#include "receiver/StateFiles.h"
#include "support/TempFolder.h"

using testing_support::TempFolder;

namespace {

using Bytes = std::vector<unsigned char>;

// Fixtures are written byte by byte from the layouts, not through the readers' helpers.
Bytes SystemFile(uint16_t writeIndex, uint16_t validCount) {
    Bytes b(556, 0);
    for (int i = 0; i < 256; ++i) {
        b[2 * i] = static_cast<unsigned char>(i);
        b[2 * i + 1] = 0x05;  // 0x05ii: samples around 1013 hPa
    }
    b[512] = writeIndex & 0xFF;
    b[513] = writeIndex >> 8;
    b[514] = validCount & 0xFF;
    b[515] = validCount >> 8;
    b[520] = 77;                          // battery 77 %
    b[524] = 3;                           // state
    b[525] = 1, b[526] = 0, b[527] = 12;  // firmware 1.0.12
    std::memcpy(&b[528], "SN0123456789", 12);
    std::memcpy(&b[540], "FA12GB05EA33", 12);
    b[552] = 0x2D, b[553] = 0x05;  // 1325: 1013.25 hPa
    b[554] = 0xB9, b[555] = 0x00;  // 185: 18.5 degrees
    return b;
}

Bytes Read(const std::string& path) {
    std::vector<uint8_t> data;
    platform::ReadWholeFile(path, data);
    return Bytes(data.begin(), data.end());
}

class RecordingView : public receiver::ILocalCopiesView {
public:
    void FillChart(uint16_t w, uint16_t v) override {
        ++fills;
        writeIndex = w;
        validCount = v;
    }
    void RebuildTree() override { ++rebuilds; }
    int fills = 0, rebuilds = 0;
    uint16_t writeIndex = 0, validCount = 0;
};

TEST(ReadSystemFile, ReadsEveryFieldAndNoticesNewMessages) {
    TempFolder temp;
    temp.WriteFile("E/SYSTEM.BIN", SystemFile(4321, 10240));
    TAcquisitionState state;
    int redraws = 0;
    acquisition::ReadSystemFile(temp / "E/", state, [&] { ++redraws; });
    const TSystemData& d = state.SystemData;
    EXPECT_EQ(redraws, 0);
    EXPECT_EQ(d.SampleSector(0), 0x0500);
    EXPECT_EQ(d.SampleSector(255), 0x05FF);
    EXPECT_EQ(d.WriteIndex(), 4321);
    EXPECT_EQ(d.ValidCount(), 10240) << "a full ring is valid";
    EXPECT_EQ(d.Battery(), 77u);
    EXPECT_EQ(d.State(), 3);
    EXPECT_EQ(d.FirmwareVersionNumber(), 10012);
    EXPECT_EQ(d.SerialNumber(), "SN0123456789");
    EXPECT_EQ(d.RecentMessageId(0), "FA12");
    EXPECT_EQ(d.RecentMessageId(2), "EA33");
    EXPECT_EQ(d.PressureRaw(), 1325);
    EXPECT_EQ(d.TemperatureTenths(), 185);
    EXPECT_EQ(state.NewMessages, 1);
    EXPECT_EQ(state.Busy, 0) << "busy only while reading";

    acquisition::ReadSystemFile(temp / "E/", state, nullptr);
    EXPECT_EQ(state.NewMessages, 0) << "same identifiers as last time";

    Bytes changed = SystemFile(4322, 10240);
    std::memcpy(&changed[548], "EA34", 4);
    temp.WriteFile("E/SYSTEM.BIN", changed);
    acquisition::ReadSystemFile(temp / "E/", state, nullptr);
    EXPECT_EQ(state.NewMessages, 1);
}

TEST(ReadSystemFile, OutOfRangeRingValuesAreMarkedInvalid) {
    TempFolder temp;
    const struct {
        uint16_t write, valid, expectWrite, expectValid;
    } cases[] = {{10239, 10240, 10239, 10240}, {10240, 10241, 65535, 65535}, {60000, 0, 65535, 0}};
    for (const auto& c : cases) {
        temp.WriteFile("E/SYSTEM.BIN", SystemFile(c.write, c.valid));
        TAcquisitionState state;
        acquisition::ReadSystemFile(temp / "E/", state, nullptr);
        EXPECT_EQ(state.SystemData.WriteIndex(), c.expectWrite) << c.write;
        EXPECT_EQ(state.SystemData.ValidCount(), c.expectValid) << c.valid;
    }
}

TEST(ReadSystemFile, MissingFileGivesTheDefaultsAndAskForARedraw) {
    TempFolder temp;
    temp.MakeFolder("E");
    TAcquisitionState state;
    state.SystemData.SetSampleSector(7, 1234);
    std::memcpy(state.PreviousMessageIds.data(), "FA12GB05EA33", 12);
    int redraws = 0;
    acquisition::ReadSystemFile(temp / "E/", state, [&] { ++redraws; });
    const TSystemData& d = state.SystemData;
    EXPECT_EQ(redraws, 1);
    EXPECT_EQ(d.SerialNumber(), "------------");
    EXPECT_EQ(d.FirmwareVersionNumber(), 0);
    EXPECT_EQ(d.State(), 8);
    EXPECT_EQ(d.Battery(), 0u);
    EXPECT_EQ(d.WriteIndex(), 0);
    EXPECT_EQ(d.ValidCount(), 0);
    EXPECT_EQ(d.PressureRaw(), 0);
    EXPECT_EQ(d.SampleSector(7), 1234) << "the sample sector keeps its contents";
    EXPECT_EQ(state.NewMessages, 1) << "the slots became zero";
    EXPECT_EQ(state.Busy, 0);
}

TEST(ReadSystemFile, ShortFileReplacesOnlyWhatItHas) {
    TempFolder temp;
    TAcquisitionState state;
    state.SystemData.SetSerialNumber("KEEPKEEPKEEP");
    state.SystemData.SetSampleSector(60, 999);
    Bytes full = SystemFile(100, 200);
    temp.WriteFile("E/SYSTEM.BIN", Bytes(full.begin(), full.begin() + 100));
    acquisition::ReadSystemFile(temp / "E/", state, nullptr);
    EXPECT_EQ(state.SystemData.SampleSector(49), 0x0531);
    EXPECT_EQ(state.SystemData.SampleSector(60), 999);
    EXPECT_EQ(state.SystemData.SerialNumber(), "KEEPKEEPKEEP");
}

class LocalCopiesTest : public ::testing::Test {
protected:
    std::string Root() const { return temp.Path() + "/"; }
    TempFolder temp;
    TAcquisitionState state;
    TReadMarkList marks;
    RecordingView view;
};

TEST_F(LocalCopiesTest, SavedStateComesBackByteForByte) {
    state.BaroHeight = 123;
    state.ShowLastMessage = 1;
    marks = {{0x58A1B2C3, 1}, {-5, 0}, {42, 1}};
    state.SystemData = TSystemData();
    std::memcpy(state.SystemData.Data(), SystemFile(777, 5000).data(), 556);
    for (int i = 0; i < 10240; ++i) state.BaroSamples[i] = static_cast<int16_t>(i * 7 - 30000);
    state.BaroTime = 46000.75;
    ASSERT_TRUE(receiver::SaveLocalCopies(Root(), state, marks));

    EXPECT_EQ(Read(temp / "CONFIG.BIN"), Bytes({123, 0, 0, 0, 1}));
    EXPECT_EQ(Read(temp / "MISC.BIN"),
              Bytes({0xC3, 0xB2, 0xA1, 0x58, 1, 0xFB, 0xFF, 0xFF, 0xFF, 0, 42, 0, 0, 0, 1}));
    EXPECT_EQ(Read(temp / "SYSTEM.BIN"), SystemFile(777, 5000));
    const Bytes baro = Read(temp / "BARODATA.BIN");
    ASSERT_EQ(baro.size(), 20488u);
    EXPECT_EQ(baro[2], 0xD7);  // 7 - 30000 = -29993 = 0x8AD7
    EXPECT_EQ(baro[3], 0x8A);
    double time = 0;
    std::memcpy(&time, &baro[20480], 8);  // IEEE double, little-endian on this machine
    EXPECT_EQ(time, 46000.75);

    TAcquisitionState loaded;
    TReadMarkList loadedMarks = {{1, 1}};
    receiver::LoadLocalCopies(Root(), loaded, loadedMarks, view);
    EXPECT_EQ(loaded.BaroHeight, 123);
    EXPECT_EQ(loaded.ShowLastMessage, 1);
    ASSERT_EQ(loadedMarks.size(), 3u);
    EXPECT_EQ(loadedMarks[0].Age, 0x58A1B2C3);
    EXPECT_EQ(loadedMarks[1].Age, -5);
    EXPECT_EQ(loadedMarks[1].Unread, 0);
    EXPECT_EQ(std::memcmp(loaded.SystemData.Data(), state.SystemData.Data(), 556), 0);
    EXPECT_EQ(loaded.BaroSamples, state.BaroSamples);
    EXPECT_EQ(loaded.BaroTime, 46000.75);
    EXPECT_EQ(view.fills, 1);
    EXPECT_EQ(view.writeIndex, 777);
    EXPECT_EQ(view.validCount, 5000);
    EXPECT_EQ(view.rebuilds, 1);
}

TEST_F(LocalCopiesTest, FirstRunWithNothingSavedKeepsTheDefaults) {
    receiver::LoadLocalCopies(Root(), state, marks, view);
    EXPECT_EQ(state.BaroHeight, 0);
    EXPECT_EQ(state.ShowLastMessage, 0);
    EXPECT_TRUE(marks.empty());
    EXPECT_EQ(view.fills, 0) << "no barograph copy, no chart";
    EXPECT_EQ(view.rebuilds, 1) << "the tree is rebuilt from the archive all the same";
}

TEST_F(LocalCopiesTest, ShortConfigFillsOnlyItsBytes) {
    temp.WriteFile("CONFIG.BIN", Bytes({0x2C}));
    state.BaroHeight = 0x100;
    state.ShowLastMessage = 1;
    receiver::LoadLocalCopies(Root(), state, marks, view);
    EXPECT_EQ(state.BaroHeight, 0x12C);
    EXPECT_EQ(state.ShowLastMessage, 1);
}

TEST_F(LocalCopiesTest, AnAltitudeOutsideTheSettingsIsClamped) {
    temp.WriteFile("CONFIG.BIN", Bytes({0x1a, 0x9a, 0xfe, 0xff, 0x00}));  // -91622 m
    receiver::LoadLocalCopies(Root(), state, marks, view);
    EXPECT_EQ(state.BaroHeight, 0);
    temp.WriteFile("CONFIG.BIN", Bytes({0xff, 0xff, 0xff, 0x7f, 0x01}));
    receiver::LoadLocalCopies(Root(), state, marks, view);
    EXPECT_EQ(state.BaroHeight, 750);
    EXPECT_EQ(state.ShowLastMessage, 1);
}

TEST_F(LocalCopiesTest, TheProgramsLeftoversGoAtTheStart) {
    temp.WriteFile(".CONFIG.BIN.zel2tmp-3MaQ5J", "half");
    temp.WriteFile("INTERNAT/.FA12.TXT.zel2tmp-a15ttJ", "ZCZC FA");
    temp.WriteFile("INTERNAT/FA12.TXT", "ZCZC FA12\r\n");
    temp.WriteFile(".hidden-by-the-user", "keep");
    temp.WriteFile("BARODATA.BIN.f9BhCb", "an earlier version's leftover");
    temp.WriteFile("BARODATA.BIN.backup", "the user's own");
    receiver::LoadLocalCopies(Root(), state, marks, view);
    EXPECT_FALSE(platform::FileExists(temp / ".CONFIG.BIN.zel2tmp-3MaQ5J"));
    EXPECT_FALSE(platform::FileExists(temp / "INTERNAT/.FA12.TXT.zel2tmp-a15ttJ"));
    EXPECT_TRUE(platform::FileExists(temp / "INTERNAT/FA12.TXT"));
    EXPECT_TRUE(platform::FileExists(temp / ".hidden-by-the-user"));
    EXPECT_FALSE(platform::FileExists(temp / "BARODATA.BIN.f9BhCb"));
    EXPECT_TRUE(platform::FileExists(temp / "BARODATA.BIN.backup"));
}

TEST_F(LocalCopiesTest, TornReadMarkFileKeepsItsWholeRecordsAndTheRestStillLoads) {
    temp.WriteFile("MISC.BIN", Bytes({1, 0, 0, 0, 1, 2, 0, 0, 0, 0, 9, 9}));
    temp.WriteFile("SYSTEM.BIN", SystemFile(300, 400));
    Bytes baro(20488, 0);
    baro[0] = 0x2D, baro[1] = 0x05;
    temp.WriteFile("BARODATA.BIN", baro);
    receiver::LoadLocalCopies(Root(), state, marks, view);
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_EQ(marks[1].Age, 2);
    EXPECT_EQ(state.SystemData.WriteIndex(), 300);
    EXPECT_EQ(state.BaroSamples[0], 1325);
    EXPECT_EQ(view.fills, 1);

    // And so the save at exit keeps the pressure history instead of wiping it.
    ASSERT_TRUE(receiver::SaveLocalCopies(Root(), state, marks));
    EXPECT_EQ(Read(temp / "BARODATA.BIN")[0], 0x2D);
    EXPECT_EQ(Read(temp / "MISC.BIN").size(), 10u);
}

TEST_F(LocalCopiesTest, LocalSystemCopyIsClampedLikeTheReceiverFile) {
    temp.WriteFile("SYSTEM.BIN", SystemFile(10240, 10241));
    receiver::LoadLocalCopies(Root(), state, marks, view);
    EXPECT_EQ(state.SystemData.WriteIndex(), 65535);
    EXPECT_EQ(state.SystemData.ValidCount(), 65535);
}

TEST_F(LocalCopiesTest, ReadOnlyStateFilesAreStillOverwritten) {
    temp.WriteFile("SYSTEM.BIN", SystemFile(1, 1));
    platform::SetAttributes(temp / "SYSTEM.BIN", platform::AttrReadOnly);
    std::memcpy(state.SystemData.Data(), SystemFile(2, 2).data(), 556);
    ASSERT_TRUE(receiver::SaveLocalCopies(Root(), state, marks));
    EXPECT_EQ(Read(temp / "SYSTEM.BIN")[512], 2);
}

TEST_F(LocalCopiesTest, ASaveThatCannotCompleteLeavesTheOldFilesWhole) {
    if (!testing_support::FileSizeLimit::Unsupported().empty())
        GTEST_SKIP() << testing_support::FileSizeLimit::Unsupported();
    std::memcpy(state.SystemData.Data(), SystemFile(11, 22).data(), 556);
    state.BaroSamples[0] = 555;
    ASSERT_TRUE(receiver::SaveLocalCopies(Root(), state, marks));
    const Bytes oldSystem = Read(temp / "SYSTEM.BIN"), oldBaro = Read(temp / "BARODATA.BIN");

    // The disk fills up half-way: SYSTEM.BIN still fits, BARODATA.BIN does not.
    state.SystemData.SetWriteIndex(999);
    state.BaroSamples[0] = -1;
    bool saved = true;
    {
        testing_support::FileSizeLimit full(4096);
        saved = receiver::SaveLocalCopies(Root(), state, marks);
    }
    EXPECT_FALSE(saved);
    // The write position in SYSTEM.BIN must not lie over an older ring: the set stays old.
    EXPECT_EQ(Read(temp / "SYSTEM.BIN"), oldSystem) << "the four files are saved as one set";
    EXPECT_EQ(Read(temp / "BARODATA.BIN"), oldBaro) << "what did not fit left the old file whole";
    EXPECT_EQ(oldSystem.size(), 556u);
    EXPECT_EQ(platform::ListFolder(temp.Path()).size(), 4u) << "no temporary files left";
}

}  // namespace
