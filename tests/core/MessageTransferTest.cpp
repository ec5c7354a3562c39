// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "acquisition/MessageTransfer.h"
#include "acquisition/ModelDMirror.h"
#include "history/MessageText.h"
#include "platform/Files.h"
#include "support/System.h"
#include "support/TempFolder.h"

using namespace acquisition;
using testing_support::ReadText;
using testing_support::TempFolder;

namespace {

std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : platform::ListFolder(folder)) names.push_back(e.name + (e.isFolder ? "/" : ""));
    std::sort(names.begin(), names.end());
    return names;
}

TEST(CopyMessageFiles, MirrorsTheReceiverFoldersAndKeepsTimes) {
    TempFolder temp;
    temp.WriteFile("E/INTERNAT/FA12.TXT", "ZCZC FA12\r\nNNNN\r\n");
    temp.WriteFile("E/INTERNAT/SUB/XX99.TXT", "inside a sub-folder");
    temp.MakeFolder("E/NATIONAL");
    const platform::LocalDateTime when{2025, 6, 1, 12, 0, 0, 0};
    platform::SetFileTimes(temp / "E/INTERNAT/FA12.TXT", when, when, when);
    // The archive holds last time's messages, one of them read-only.
    temp.WriteFile("A/INTERNAT/OLD1.TXT", "old");
    temp.WriteFile("A/NATIONAL/OLD2.TXT", "old");
    platform::SetAttributes(temp / "A/NATIONAL/OLD2.TXT", platform::AttrReadOnly);
    temp.WriteFile("A/CONFIG.BIN", "keep");

    TAcquisitionState state;
    CopyMessageFiles(temp / "E/", temp / "A/", state);
    EXPECT_EQ(Names(temp / "A/INTERNAT"), (std::vector<std::string>{"FA12.TXT"}));
    EXPECT_TRUE(Names(temp / "A/NATIONAL").empty()) << "empty on the receiver, empty in the archive";
    EXPECT_EQ(ReadText(temp / "A/INTERNAT/FA12.TXT"), "ZCZC FA12\r\nNNNN\r\n");
    platform::LocalDateTime copied;
    ASSERT_TRUE(platform::LastWriteTime(temp / "A/INTERNAT/FA12.TXT", copied));
    EXPECT_EQ(copied.hour, 12);
    EXPECT_EQ(copied.day, 1);
    EXPECT_EQ(ReadText(temp / "A/CONFIG.BIN"), "keep");
    EXPECT_TRUE(platform::FileExists(temp / "E/INTERNAT/FA12.TXT")) << "the receiver is never changed";
    EXPECT_EQ(state.Busy, 0);
}

// A copy that cannot complete (here: the disk is full) leaves the archive as it was, and the
// next one after room came back is whole. A kill while a whole copy replaced the archive
// is completed at the next start.
TEST(CopyMessageFiles, OnlyAWholeCopyReplacesTheArchive) {
    TempFolder temp;
    temp.WriteFile("E/INTERNAT/FA12.TXT", std::string(4000, 'a'));
    temp.WriteFile("E/NATIONAL/IB01.TXT", std::string(4000, 'b'));
    temp.WriteFile("A/INTERNAT/OLD1.TXT", "old");
    TAcquisitionState state;
    if (testing_support::FileSizeLimit::Unsupported().empty()) {
        testing_support::FileSizeLimit full(1000);
        EXPECT_FALSE(CopyMessageFiles(temp / "E/", temp / "A/", state));
        EXPECT_EQ(Names(temp / "A/INTERNAT"), std::vector<std::string>{"OLD1.TXT"});
        EXPECT_EQ(Names(temp / "A"), (std::vector<std::string>{"INTERNAT/", "NATIONAL/"})) << "no stage left";
    }
    // A receiver gone before the copy: nothing changes either.
    EXPECT_FALSE(CopyMessageFiles(temp / "GONE/", temp / "A/", state));
    EXPECT_EQ(Names(temp / "A/INTERNAT"), std::vector<std::string>{"OLD1.TXT"});
    ASSERT_TRUE(CopyMessageFiles(temp / "E/", temp / "A/", state));
    EXPECT_EQ(Names(temp / "A/INTERNAT"), std::vector<std::string>{"FA12.TXT"});
    EXPECT_EQ(Names(temp / "A/NATIONAL"), std::vector<std::string>{"IB01.TXT"});

    // Killed after the copy was whole, with one file moved in: the next start ends the move.
    temp.WriteFile("A/.zel2tmp-transfer/INTERNAT/GB05.TXT", "new");
    temp.WriteFile("A/.zel2tmp-transfer/NATIONAL/IB02.TXT", "new");
    temp.WriteFile("A/.zel2tmp-transfer/DONE",
                   "INTERNAT\tGB05.TXT\nINTERNAT\tFA13.TXT\nNATIONAL\tIB02.TXT\nend\n");
    temp.WriteFile("A/INTERNAT/FA13.TXT", "moved before the kill");
    RecoverTransfer(temp / "A/");
    EXPECT_EQ(Names(temp / "A/INTERNAT"), (std::vector<std::string>{"FA13.TXT", "GB05.TXT"}));
    EXPECT_EQ(Names(temp / "A/NATIONAL"), std::vector<std::string>{"IB02.TXT"});
    EXPECT_EQ(Names(temp / "A"), (std::vector<std::string>{"INTERNAT/", "NATIONAL/"}));

    // Killed while copying: the unfinished copy goes, the archive stays.
    temp.WriteFile("A/.zel2tmp-transfer/INTERNAT/XX99.TXT", "half");
    temp.WriteFile("A/.zel2tmp-transfer/DONE", "INTERNAT\tXX99.TXT\nen");
    RecoverTransfer(temp / "A/");
    EXPECT_EQ(Names(temp / "A/INTERNAT"), (std::vector<std::string>{"FA13.TXT", "GB05.TXT"}));
    EXPECT_EQ(Names(temp / "A"), (std::vector<std::string>{"INTERNAT/", "NATIONAL/"}));
}

TEST(CopyMessageFiles, MissingBandFoldersAreCreated) {
    TempFolder temp;
    temp.MakeFolder("E");
    temp.MakeFolder("A");
    TAcquisitionState state;
    CopyMessageFiles(temp / "E/", temp / "A/", state);
    EXPECT_TRUE(platform::FolderExists(temp / "A/INTERNAT"));
    EXPECT_TRUE(platform::FolderExists(temp / "A/NATIONAL"));
}

// A ZEL2D volume with NAV518.BIN messages written from the ring layout.
struct ModelD {
    TempFolder temp;
    std::string system = std::string(776, '\0');
    std::string nav518 = std::string(262144, '\xFF');
    std::string nav490 = std::string(262144, '\xFF');
    int next518 = 0;

    static void Put32(std::string& b, size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>(v >> (8 * i));
    }
    void Add518(const std::string& text, uint32_t time) {
        const size_t at = static_cast<size_t>(next518) * 256;
        Put32(nav518, at, 0x18F96C3B);
        Put32(nav518, at + 4, static_cast<uint32_t>(text.size()));
        Put32(nav518, at + 8, time);
        std::copy(text.begin(), text.end(), nav518.begin() + static_cast<long>(at + 17));
        ++next518;
    }
    void Write() {
        Put32(system, 0, 100000);
        system[42] = static_cast<char>(next518);
        temp.WriteFile("D/SYSTEM.BIN", system);
        temp.WriteFile("D/NAV518.BIN", nav518);
        temp.WriteFile("D/NAV490.BIN", nav490);
        temp.MakeFolder("A");
    }
};

TEST(WriteModelDMessages, OneFilePerMessageWithCrLfAndTheReceiveTime) {
    ModelD d;
    d.Add518("ZCZC FA12\nOLDER\n", 90000);  // index 3 after the scan
    d.Add518("ZCZC GB05\nX\n", 91000);
    d.Add518("ZCZC FA12\nNEWER\r\n", 86399);  // index 1: same name, written last
    d.Add518("ZCZC EA33\nY\n", 99000);
    d.Write();
    TAcquisitionState state;
    std::memcpy(state.SystemData.RecentMessageIds(), "AA01BB02CC03", 12);
    WriteModelDMessages(d.temp / "D/", d.temp / "A/", state);

    EXPECT_EQ(Names(d.temp / "A/INTERNAT"), (std::vector<std::string>{"EA33.TXT", "FA12.TXT", "GB05.TXT"}));
    EXPECT_EQ(ReadText(d.temp / "A/INTERNAT/FA12.TXT"), "ZCZC FA12\r\nNEWER\r\r\n");
    platform::LocalDateTime t;
    ASSERT_TRUE(platform::LastWriteTime(d.temp / "A/INTERNAT/FA12.TXT", t));
    EXPECT_EQ(t.year, 2008);
    EXPECT_EQ(t.month, 1);
    EXPECT_EQ(t.day, 1);
    EXPECT_EQ(t.hour, 23);
    EXPECT_EQ(t.minute, 59);
    EXPECT_EQ(t.second, 59);
    EXPECT_TRUE(Names(d.temp / "A/NATIONAL").empty());

    // Indices 0..2 are EA33 (99000), FA12 (86399) and GB05 (91000); sorted by time and taken
    // oldest first, slot 3 holds the newest.
    EXPECT_EQ(state.SystemData.RecentMessageId(2), "EA33");
    EXPECT_EQ(state.SystemData.RecentMessageId(1), "GB05");
    EXPECT_EQ(state.SystemData.RecentMessageId(0), "FA12");
    EXPECT_EQ(state.NewestInternationalTime, 99000u);
    EXPECT_EQ(state.TreeRebuild, 1);

    state.TreeRebuild = 0;
    WriteModelDMessages(d.temp / "D/", d.temp / "A/", state);
    EXPECT_EQ(state.TreeRebuild, 0) << "same newest message: no rebuild";
}

TEST(WriteModelDMessages, TwoMessagesShiftTheSlotsByTwo) {
    ModelD d;
    d.Add518("ZCZC FA12\nA\n", 5000);
    d.Add518("ZCZC GB05\nB\n", 6000);
    d.Write();
    TAcquisitionState state;
    std::memcpy(state.SystemData.RecentMessageIds(), "AA01BB02CC03", 12);
    WriteModelDMessages(d.temp / "D/", d.temp / "A/", state);
    EXPECT_EQ(state.SystemData.RecentMessageId(0), "CC03") << "slot 1 keeps what slot 3 held";
    EXPECT_EQ(state.SystemData.RecentMessageId(1), "FA12");
    EXPECT_EQ(state.SystemData.RecentMessageId(2), "GB05");
}

TEST(WriteModelDMessages, HostileOrShortFirstLinesStayInTheBandFolder) {
    ModelD d;
    d.Add518("ZCZC ../x\nA\n", 1000);
    d.Add518("ZCZC /\\:\x01\nB\n", 1001);
    d.Add518("ZCZC\nC\n", 1002);
    d.Add518("\nDD\n", 1003);  // empty first line
    d.Write();
    TAcquisitionState state;
    WriteModelDMessages(d.temp / "D/", d.temp / "A/", state);
    EXPECT_EQ(Names(d.temp / "A/INTERNAT"), (std::vector<std::string>{"____.TXT", "___x.TXT"}));
    EXPECT_EQ(Names(d.temp / "A"), (std::vector<std::string>{"INTERNAT/", "NATIONAL/"})) << "nothing escaped";
    EXPECT_EQ(ReadText(d.temp / "A/INTERNAT/____.TXT"), "\r\nDD\r\n") << "newest of the three '____' wins";

    EXPECT_EQ(ModelDIdentifier({}), "____");
    EXPECT_EQ(ModelDIdentifier({"ZCZC FA1"}), "FA1_");
    EXPECT_EQ(ModelDIdentifier({"ZCZC FA12 EXTRA"}), "FA12");
}

TEST(WriteModelDMessages, UnreadableRingsKeepTheArchive) {
    TempFolder temp;
    temp.WriteFile("A/INTERNAT/OLD1.TXT", "old");
    temp.MakeFolder("D");
    TAcquisitionState state;
    WriteModelDMessages(temp / "D/", temp / "A/", state);
    EXPECT_EQ(Names(temp / "A/INTERNAT"), std::vector<std::string>{"OLD1.TXT"});
    EXPECT_EQ(state.Busy, 0);
}

TEST(WriteModelDMessages, ATruncatedRingKeepsItsBandAndAddsWhatWasRead) {
    ModelD d;
    d.Add518("ZCZC FA12\nA\n", 5000);
    d.Add518("ZCZC GB05\nB\n", 6000);
    d.Write();
    d.temp.WriteFile("A/INTERNAT/OLD1.TXT", "old");
    d.temp.WriteFile("A/NATIONAL/OLD2.TXT", "old");
    // The probe of block 1023 comes back short: the ring cannot be read whole.
    d.temp.WriteFile("D/NAV518.BIN", d.nav518.substr(0, 4 * 256));
    TAcquisitionState state;
    WriteModelDMessages(d.temp / "D/", d.temp / "A/", state);
    EXPECT_EQ(Names(d.temp / "A/INTERNAT"), (std::vector<std::string>{"FA12.TXT", "GB05.TXT", "OLD1.TXT"}));
    EXPECT_TRUE(Names(d.temp / "A/NATIONAL").empty()) << "the 490 kHz ring was read whole: a true mirror";
}

// Writes that fail (a full disk) are tried again at the next refresh, even when the rings
// did not change, and the tree is then rebuilt. Empty rings compare without harm.
TEST(WriteModelDMessages, FailedWritesAreTriedAgainAndEmptyRingsCompare) {
    if (!testing_support::FileSizeLimit::Unsupported().empty())
        GTEST_SKIP() << testing_support::FileSizeLimit::Unsupported();
    ModelD d;
    for (int i = 0; i < 5; ++i)
        d.Add518("ZCZC FA1" + std::to_string(i) + "\n" + std::string(150, 'x') + "\n", 5000 + i);
    d.Write();
    TModelDMirror mirror;
    {
        testing_support::FileSizeLimit full(100);
        mirror.Transfer(d.temp / "D/", d.temp / "A/");
    }
    EXPECT_LT(Names(d.temp / "A/INTERNAT").size(), 5u);
    TAcquisitionState state;
    state.TreeRebuild = 0;
    ApplyModelDResult(mirror.Transfer(d.temp / "D/", d.temp / "A/"), state);
    EXPECT_EQ(Names(d.temp / "A/INTERNAT").size(), 5u) << "written once there is room";
    EXPECT_EQ(state.TreeRebuild, 1) << "the tree shows them";
    state.TreeRebuild = 0;
    ApplyModelDResult(mirror.Transfer(d.temp / "D/", d.temp / "A/"), state);
    EXPECT_EQ(state.TreeRebuild, 0) << "nothing new, nothing rebuilt";

    d.temp.WriteFile("D/NAV490.BIN", "");
    mirror.Transfer(d.temp / "D/", d.temp / "A/");
    mirror.Transfer(d.temp / "D/", d.temp / "A/");
    EXPECT_EQ(Names(d.temp / "A/INTERNAT").size(), 5u);
}

TEST(WriteModelDMessages, ARefreshChangesOnlyWhatDiffers) {
    ModelD d;
    d.Add518("ZCZC FA12\nA\n", 5000);
    d.Add518("ZCZC GB05\nB\n", 6000);
    d.Write();
    TAcquisitionState state;
    WriteModelDMessages(d.temp / "D/", d.temp / "A/", state);
    struct stat first {};
    ASSERT_EQ(::stat((d.temp / "A/INTERNAT/FA12.TXT").c_str(), &first), 0);

    // The same rings again: the files are left alone.
    d.temp.WriteFile("A/INTERNAT/GB05.TXT", "edited");
    d.temp.WriteFile("A/INTERNAT/STRAY.TXT", "gone at the next refresh");
    WriteModelDMessages(d.temp / "D/", d.temp / "A/", state);
    struct stat second {};
    ASSERT_EQ(::stat((d.temp / "A/INTERNAT/FA12.TXT").c_str(), &second), 0);
    EXPECT_EQ(first.st_ino, second.st_ino) << "an unchanged message is not written again";
    EXPECT_EQ(ReadText(d.temp / "A/INTERNAT/GB05.TXT"), "ZCZC GB05\r\nB\r\n") << "a changed one is";
    EXPECT_EQ(Names(d.temp / "A/INTERNAT"), (std::vector<std::string>{"FA12.TXT", "GB05.TXT"}));

    // A file whose time differs is written anew with the receive time.
    const platform::LocalDateTime other{2020, 1, 1, 0, 0, 0, 0};
    platform::SetFileTimes(d.temp / "A/INTERNAT/FA12.TXT", other, other, other);
    WriteModelDMessages(d.temp / "D/", d.temp / "A/", state);
    platform::LocalDateTime t;
    ASSERT_TRUE(platform::LastWriteTime(d.temp / "A/INTERNAT/FA12.TXT", t));
    EXPECT_EQ(t.year, 2008);
}

}  // namespace
