// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/DriveMap.h"
#include "receiver/ReceiverDetection.h"
#include "support/TempFolder.h"

using receiver::DetectionState;
using receiver::DetectReceiver;
using receiver::NoDrive;
using testing_support::DriveLine;
using testing_support::ScopedEnv;
using testing_support::TempFolder;

namespace {

// Receiver volumes as real folders, attached through a drive map the test rewrites.
class DetectionTest : public ::testing::Test {
protected:
    DetectionTest() : env("ZEL2_DRIVES", temp / "drives.tsv") { SetMap(""); }

    std::string Volume(const std::string& name, bool index, bool system) {
        const std::string root = temp.MakeFolder(name);
        if (index) temp.WriteFile(name + "/INDEX.HTM", "<html></html>");
        if (system) temp.WriteFile(name + "/SYSTEM.BIN", std::string(556, '\0'));
        return root;
    }

    void SetMap(const std::string& lines) {
        std::ofstream out(temp / "drives.tsv");
        out << "# letter\ttype\tlabel\troot\traw\n" << lines;
    }

    TempFolder temp;
    ScopedEnv env;
};

TEST_F(DetectionTest, FindsEachModelByLabelAndMarkerFiles) {
    struct Case {
        const char* label;
        bool index, system;
        const char* expected;
    } cases[] = {
        {"ZEL2", true, false, "ZEL2"},    {"ZEL2B", true, true, "ZEL2B"}, {"ZEL2X", true, true, "ZEL2X"},
        {"ZEL2BX", true, true, "ZEL2BX"}, {"ZEL2BX", true, false, ""},    {"ZEL2D", false, true, "ZEL2D"},
        {"ZEL2", false, true, ""},        {"ZEL3", true, true, ""},       {"zel2d", false, true, ""},
        {"ZEL2B ", true, true, ""},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string root = Volume("vol" + std::to_string(n++), c.index, c.system);
        SetMap(DriveLine('E', "removable", c.label, root));
        DetectionState state;
        const int drive = DetectReceiver(state);
        SCOPED_TRACE(std::string("label '") + c.label + "'");
        EXPECT_EQ(state.ReceiverModel, c.expected);
        EXPECT_EQ(drive, *c.expected ? 4 : NoDrive);
        EXPECT_EQ(state.DriveFound, *c.expected ? 1 : 0);
    }
}

TEST_F(DetectionTest, LowerLetterWinsAndStaysWhileAttached) {
    const std::string e = Volume("e", true, true), g = Volume("g", true, true);
    SetMap(DriveLine('G', "removable", "ZEL2B", g) + DriveLine('E', "removable", "ZEL2BX", e));
    DetectionState state;
    EXPECT_EQ(DetectReceiver(state), 4);
    EXPECT_EQ(state.ReceiverModel, "ZEL2BX");

    // G: was the receiver first; a second receiver on a lower letter does not take over.
    state = DetectionState{};
    state.PreviousDrive = 6;
    EXPECT_EQ(DetectReceiver(state), 6);
    EXPECT_EQ(state.ReceiverModel, "ZEL2B");
    EXPECT_EQ(state.DriveFound, 0) << "the previous-drive check never sets DriveFound";
}

TEST_F(DetectionTest, DrivesAToCAreNeverExamined) {
    const std::string root = Volume("a", true, true);
    SetMap(DriveLine('A', "removable", "ZEL2B", root) + DriveLine('B', "removable", "ZEL2B", root) +
           DriveLine('C', "removable", "ZEL2B", root));
    DetectionState state;
    EXPECT_EQ(DetectReceiver(state), NoDrive);
    EXPECT_EQ(state.ReceiverModel, "");
    EXPECT_EQ(state.DriveFound, 0);
}

TEST_F(DetectionTest, OnlyRemovableDrivesAreScannedButAPreviousDriveIsNotTypeTested) {
    const std::string root = Volume("fixed", true, true);
    for (const char* type : {"fixed", "remote", "cdrom", "ramdisk"}) {
        SetMap(DriveLine('F', type, "ZEL2", root));
        DetectionState state;
        EXPECT_EQ(DetectReceiver(state), NoDrive) << type;
        state.PreviousDrive = 5;
        EXPECT_EQ(DetectReceiver(state), 5) << type;
        EXPECT_EQ(state.ReceiverModel, "ZEL2");
        EXPECT_EQ(state.DriveFound, 0);
    }
}

TEST_F(DetectionTest, ZEL2BWithoutSystemFileIsFoundByEveryScanAndRejectedByEveryCheck) {
    const std::string root = Volume("b", true, false);
    SetMap(DriveLine('E', "removable", "ZEL2B", root));
    DetectionState state;
    for (int cycle = 0; cycle < 3; ++cycle) {
        state.DriveFound = 0;
        const int drive = DetectReceiver(state);
        EXPECT_EQ(drive, 4);
        EXPECT_EQ(state.ReceiverModel, "ZEL2B");
        EXPECT_EQ(state.DriveFound, 1) << "cycle " << cycle << " ended in a full scan";
        state.PreviousDrive = drive;
    }
}

TEST_F(DetectionTest, LostReceiverFallsBackToTheScanAndAMovedOneIsFoundAgain) {
    const std::string root = Volume("m", true, true);
    SetMap(DriveLine('E', "removable", "ZEL2B", root));
    DetectionState state;
    state.PreviousDrive = DetectReceiver(state);
    ASSERT_EQ(state.PreviousDrive, 4);

    SetMap(DriveLine('H', "removable", "ZEL2B", root));
    state.DriveFound = 0;
    EXPECT_EQ(DetectReceiver(state), 7);
    EXPECT_EQ(state.DriveFound, 1);

    SetMap("");
    state.PreviousDrive = 7;
    EXPECT_EQ(DetectReceiver(state), NoDrive);
    EXPECT_EQ(state.ReceiverModel, "");
}

TEST_F(DetectionTest, NoRemovableDriveOrAVanishedVolumeIsQuiet) {
    DetectionState state;
    EXPECT_EQ(DetectReceiver(state), NoDrive);
    EXPECT_EQ(state.ReceiverModel, "");

    // A card reader without a card: the map names a folder that is not there.
    SetMap(DriveLine('E', "removable", "ZEL2B", temp / "gone"));
    EXPECT_EQ(receiver::ReadVolumeLabel(temp / "gone/"), "");
    EXPECT_EQ(DetectReceiver(state), NoDrive);
}

TEST_F(DetectionTest, ReceiverFileNamesMatchIgnoringCase) {
    const std::string root = temp.MakeFolder("lower");
    temp.WriteFile("lower/index.htm", "x");
    temp.WriteFile("lower/system.bin", std::string(556, '\0'));
    SetMap(DriveLine('E', "removable", "ZEL2BX", root));
    DetectionState state;
    EXPECT_EQ(DetectReceiver(state), 4);
    EXPECT_EQ(state.ReceiverModel, "ZEL2BX");
}

// The acquisition thread detects under one look at the drives and then ends; threads that
// end with that look taken must leave nothing to free twice (MinGW's thread-local storage).
TEST_F(DetectionTest, ThreadsThatEndAfterADetectionLeaveNothingBehind) {
    SetMap(DriveLine('E', "removable", "ZEL2B", Volume("vol", true, true)));
    for (int round = 0; round < 20; ++round) {
        std::vector<std::thread> threads;
        std::vector<int> found(8, NoDrive);
        for (int i = 0; i < 8; ++i)
            threads.emplace_back([&found, i] {
                const platform::DriveSnapshot outer;
                const platform::DriveSnapshot inner;  // nested looks share the outer one
                DetectionState state;
                found[static_cast<size_t>(i)] = DetectReceiver(state);
            });
        for (std::thread& t : threads) t.join();
        for (int drive : found) ASSERT_EQ(drive, 4);
    }
    DetectionState after;
    EXPECT_EQ(DetectReceiver(after), 4) << "no snapshot outlives its scope";
}

TEST(DriveLetter, MapsIndicesToLetters) {
    EXPECT_EQ(receiver::DriveLetter(0), "A");
    EXPECT_EQ(receiver::DriveLetter(4), "E");
    EXPECT_EQ(receiver::DriveLetter(25), "Z");
    EXPECT_EQ(receiver::DriveLetter(-1), "");
    EXPECT_EQ(receiver::DriveLetter(26), "");
}

}  // namespace
