// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "acquisition/BaroTransfer.h"
#include "support/TempFolder.h"

using namespace acquisition;
using testing_support::TempFolder;

namespace {

class RecordingView : public IBaroTransferView {
public:
    void SetStatusPanel0(const std::string& text) override { panel0.push_back(text); }
    void SetBusyProgress(int position) override { busy.push_back(position); }
    void RepaintStatusBar() override { ++repaints; }
    std::vector<std::string> panel0;
    std::vector<int> busy;
    int repaints = 0;
};

// BARODATA.BIN whose sample at position p is p - 20000, written byte by byte.
std::string BaroFile() {
    std::string bytes(20480, '\0');
    for (int p = 0; p < 10240; ++p) {
        const uint16_t v = static_cast<uint16_t>(p - 20000);
        bytes[static_cast<size_t>(2 * p)] = static_cast<char>(v & 0xFF);
        bytes[static_cast<size_t>(2 * p + 1)] = static_cast<char>(v >> 8);
    }
    return bytes;
}

class BaroFileTest : public ::testing::Test {
protected:
    BaroFileTest() { temp.WriteFile("E/BARODATA.BIN", BaroFile()); }
    std::string Root() const { return temp / "E/"; }
    void SetSector(int16_t base) {
        for (int i = 0; i < 256; ++i) state.SystemData.SetSampleSector(i, static_cast<int16_t>(base + i));
    }
    TempFolder temp;
    TAcquisitionState state;
    RecordingView view;
};

TEST_F(BaroFileTest, FirstAttachmentLoadsTheWholeRingWithProgress) {
    state.SystemData.SetWriteIndex(3000);
    SetSector(7000);
    LoadBaroFile(Root(), state, view, 45000.5);
    EXPECT_EQ(view.panel0, (std::vector<std::string>{LoadBarographText, ""}));
    EXPECT_EQ(view.busy, (std::vector<int>{0, 14, 28, 42, 56, 70, 84, 98, 0}));
    EXPECT_EQ(view.repaints, 9);
    EXPECT_EQ(state.BaroLoaded, 1);
    EXPECT_EQ(state.LastLoadedIndex, 3000);
    EXPECT_EQ(state.BaroSamples[0], -20000);
    EXPECT_EQ(state.BaroSamples[10239], 10239 - 20000);
    // 3000 = 11 * 256 + 184: positions 2816..2999 come from the current sector.
    EXPECT_EQ(state.BaroSamples[2816], 7000);
    EXPECT_EQ(state.BaroSamples[2999], 7183);
    EXPECT_EQ(state.BaroSamples[3000], 3000 - 20000);
    EXPECT_EQ(state.BaroTime, 45000.5);
    EXPECT_EQ(state.Busy, 0);
}

TEST_F(BaroFileTest, UnchangedWriteIndexReadsNothingButMovesTheTime) {
    state.SystemData.SetWriteIndex(1279);
    state.LastLoadedIndex = 1279;
    LoadBaroFile(Root(), state, view, 45001.0);
    EXPECT_EQ(state.BaroLoaded, 0);
    EXPECT_TRUE(view.busy.empty());
    EXPECT_EQ(state.BaroSamples[0], 0);
    EXPECT_EQ(state.BaroTime, 45001.0);
}

TEST_F(BaroFileTest, MovedWriteIndexReloadsOnlyItsBlockAndOverlaysTheSector) {
    state.LastLoadedIndex = 1279;
    state.SystemData.SetWriteIndex(1285);
    SetSector(100);
    LoadBaroFile(Root(), state, view, 1.0);
    EXPECT_TRUE(view.busy.empty()) << "a block load shows no progress";
    EXPECT_EQ(state.BaroLoaded, 1);
    EXPECT_EQ(state.LastLoadedIndex, 1285);
    EXPECT_EQ(state.BaroSamples[1279], 0) << "block 0 untouched";
    EXPECT_EQ(state.BaroSamples[1280], 100);
    EXPECT_EQ(state.BaroSamples[1284], 104);
    EXPECT_EQ(state.BaroSamples[1285], 1285 - 20000);
    EXPECT_EQ(state.BaroSamples[2559], 2559 - 20000);
    EXPECT_EQ(state.BaroSamples[2560], 0) << "block 2 untouched";
}

TEST_F(BaroFileTest, WriteIndexZeroAndInvalid) {
    state.LastLoadedIndex = 500;
    state.SystemData.SetWriteIndex(0);
    SetSector(100);
    LoadBaroFile(Root(), state, view, 1.0);
    EXPECT_EQ(state.BaroSamples[0], -20000) << "no overlay at 0";

    TAcquisitionState invalid;
    invalid.LastLoadedIndex = 500;
    invalid.SystemData.SetWriteIndex(65535);
    invalid.SystemData.SetSampleSector(0, 5);
    LoadBaroFile(Root(), invalid, view, 1.0);
    EXPECT_EQ(invalid.BaroSamples[0], 0) << "no block read and no overlay";
    EXPECT_EQ(invalid.BaroSamples[65535 % 10240], 0);
}

TEST_F(BaroFileTest, MissingFileKeepsTheRingAndForcesAFullLoadNextTime) {
    TempFolder empty;
    state.BaroSamples[5] = 77;
    state.LastLoadedIndex = 100;
    state.SystemData.SetWriteIndex(300);
    SetSector(1);
    LoadBaroFile(empty / "", state, view, 1.0);
    EXPECT_EQ(state.LastLoadedIndex, 65535);
    EXPECT_EQ(state.BaroSamples[5], 77);
    EXPECT_EQ(state.BaroSamples[256], 1) << "the overlay still runs";
    EXPECT_EQ(state.BaroLoaded, 0);
}

TEST(BaroModelD, SamplesAltitudeAndRingPositionsComeFromTheReceiver) {
    TempFolder temp;
    std::string system(776, '\0');
    system[28] = 120;                             // altitude 120 m
    system[768] = static_cast<char>(500 & 0xFF);  // 500 samples
    system[769] = static_cast<char>(500 >> 8);
    system[770] = 0;
    for (int i = 0; i < 128; ++i) {  // current block: 1325 each
        system[static_cast<size_t>(512 + 2 * i)] = 0x2D;
        system[static_cast<size_t>(513 + 2 * i)] = 0x05;
    }
    std::string baro(65536, '\0');
    for (int i = 0; i < 32768; ++i) {
        baro[static_cast<size_t>(2 * i)] = 0x2D;
        baro[static_cast<size_t>(2 * i + 1)] = 0x05;
    }
    temp.WriteFile("D/SYSTEM.BIN", system);
    temp.WriteFile("D/BARO.BIN", baro);
    TAcquisitionState state;
    state.BaroHeight = 33;
    state.BaroSamples[500] = 999;
    RecordingView view;
    LoadBaroModelD(temp / "D/", state, view, 2.0);
    EXPECT_EQ(state.BaroHeight, 120) << "the receiver's altitude replaces the setting";
    EXPECT_EQ(state.SystemData.WriteIndex(), 500);
    EXPECT_EQ(state.SystemData.ValidCount(), 500);
    EXPECT_EQ(state.BaroLoaded, 1);
    // 101325 Pa at 120 m (factor 10142): 1027.6 hPa, stored as Pa - 100000.
    EXPECT_EQ(state.BaroSamples[0], 2760);
    EXPECT_EQ(state.BaroSamples[499], 2760);
    EXPECT_EQ(state.BaroSamples[500], 999) << "older contents stay";
    EXPECT_EQ(view.panel0, (std::vector<std::string>{LoadBarographText}));
    EXPECT_EQ(state.BaroTime, 2.0);

    TempFolder none;
    TAcquisitionState untouched;
    untouched.SystemData.SetWriteIndex(65535);
    LoadBaroModelD(none / "", untouched, view, 3.0);
    EXPECT_EQ(untouched.BaroLoaded, 0);
    EXPECT_EQ(untouched.SystemData.WriteIndex(), 65535);
    EXPECT_EQ(untouched.BaroTime, 3.0);
}

}  // namespace
