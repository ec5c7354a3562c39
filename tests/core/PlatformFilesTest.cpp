// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <regex>

#include "platform/DriveMap.h"
#include "platform/Drives.h"
#include "platform/Files.h"
#include "platform/Log.h"
#include "platform/Network.h"
#include "platform/Process.h"
#include "sim/DriveMapFile.h"
#include "support/TempFolder.h"

using testing_support::ReadText;
using testing_support::ScopedEnv;
using testing_support::TempFolder;

namespace {

TEST(Files, AtomicWriteReplacesWholeAndLeavesNoTemporaryFiles) {
    TempFolder temp;
    const std::string path = temp / "STATE.BIN";
    ASSERT_TRUE(platform::WriteFileAtomic(path, "old", 3));
    ASSERT_TRUE(platform::WriteFileAtomic(path, "newer", 5));
    EXPECT_EQ(ReadText(path), "newer");
    EXPECT_EQ(platform::ListFolder(temp.Path()).size(), 1u);

    // A disk that fills up during the write keeps the old file whole.
    if (testing_support::FileSizeLimit::Unsupported().empty()) {
        {
            testing_support::FileSizeLimit full(100);
            const std::string big(5000, 'x');
            EXPECT_FALSE(platform::WriteFileAtomic(path, big.data(), big.size()));
        }
        EXPECT_EQ(ReadText(path), "newer");
        EXPECT_EQ(platform::ListFolder(temp.Path()).size(), 1u) << "the partial temporary file is gone";
    }
    EXPECT_FALSE(platform::WriteFileAtomic(temp / "no/such/folder/X.BIN", "x", 1));
}

TEST(Files, OnlyRegularFilesAreReadOrCopied) {
    if (!testing_support::NoSpecialFilesReason().empty())
        GTEST_SKIP() << testing_support::NoSpecialFilesReason();
    TempFolder temp;
    temp.WriteFile("E/INTERNAT/FA12.TXT", "ZCZC FA12\r\n");
    ASSERT_TRUE(testing_support::MakeNamedPipe(temp / "E/INTERNAT/PIPE.TXT"));
    ASSERT_TRUE(testing_support::MakeLinkToEndlessDevice(temp / "E/INTERNAT/ZERO.TXT"));
    ASSERT_TRUE(testing_support::MakeLinkToEndlessDevice(temp / "E/INTERNAT/NULL.TXT", false));
    temp.MakeFolder("A");
    for (const char* name : {"PIPE.TXT", "ZERO.TXT", "NULL.TXT"}) {
        const std::string source = temp / (std::string("E/INTERNAT/") + name);
        // A pipe with no writer would block, a device never ends.
        platform::ReadOnlyFile file;
        EXPECT_FALSE(file.Open(source)) << name;
        std::vector<uint8_t> bytes;
        EXPECT_FALSE(platform::ReadWholeFile(source, bytes)) << name;
        EXPECT_FALSE(platform::CopyFileNoOverwrite(source, temp / (std::string("A/") + name))) << name;
    }
    EXPECT_TRUE(platform::CopyFileNoOverwrite(temp / "E/INTERNAT/FA12.TXT", temp / "A/FA12.TXT"));
    std::vector<std::string> names;
    for (const auto& e : platform::ListFolder(temp / "A")) names.push_back(e.name);
    EXPECT_EQ(names, std::vector<std::string>{"FA12.TXT"}) << "nothing else, no temporaries";
}

TEST(Files, ReadsStopAtTheirLimitAndCopiesCutShortLeaveNothing) {
    TempFolder temp;
    const std::string big(3 << 20, 'x');
    temp.WriteFile("BIG.TXT", big);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(platform::ReadWholeFile(temp / "BIG.TXT", bytes, 1 << 20));
    EXPECT_EQ(bytes.size(), size_t{1} << 20);
    ASSERT_TRUE(platform::ReadWholeFile(temp / "BIG.TXT", bytes));
    EXPECT_EQ(bytes.size(), big.size());

    // A copy that cannot complete leaves neither a short message nor its temporary.
    if (!testing_support::FileSizeLimit::Unsupported().empty()) return;
    temp.MakeFolder("A");
    {
        testing_support::FileSizeLimit full(4096);
        EXPECT_FALSE(platform::CopyFileNoOverwrite(temp / "BIG.TXT", temp / "A/BIG.TXT"));
    }
    EXPECT_TRUE(platform::ListFolder(temp / "A").empty());
}

TEST(Files, AFileSetIsCompletedOrUndoneAfterACrash) {
    TempFolder temp;
    const std::vector<std::string> targets{"ONE.BIN", "TWO.BIN"};
    ASSERT_TRUE(platform::WriteFileSet(temp.Path(), {{"ONE.BIN", {1}}, {"TWO.BIN", {2}}}));
    EXPECT_EQ(ReadText(temp / "ONE.BIN"), "\x01");
    EXPECT_EQ(platform::ListFolder(temp.Path()).size(), 2u) << "no record, no temporaries";

    // Killed before the commit: the new temporaries go, the old files stay.
    const std::string lost = platform::WriteTemporary(temp / "ONE.BIN", "\x09", 1);
    ASSERT_FALSE(lost.empty());
    platform::RecoverFileSet(temp.Path(), targets);
    EXPECT_FALSE(platform::FileExists(lost));
    EXPECT_EQ(ReadText(temp / "ONE.BIN"), "\x01");

    // Killed after the commit, with one file renamed: the other follows at the next start,
    // also when the record's line ends became CR LF.
    const auto base = [](const std::string& p) { return p.substr(p.find_last_of("/\\") + 1); };
    for (bool crlf : {false, true}) {
        const char first = crlf ? 5 : 3;
        const std::string one = platform::WriteTemporary(temp / "ONE.BIN", std::string(1, first).data(), 1);
        const std::string two =
            platform::WriteTemporary(temp / "TWO.BIN", std::string(1, first + 1).data(), 1);
        std::string record = platform::FileSetRecord({{base(one), "ONE.BIN"}, {base(two), "TWO.BIN"}});
        if (crlf) record = std::regex_replace(record, std::regex("\n"), "\r\n");
        temp.WriteFile(".zel2-commit", record);
        ASSERT_TRUE(platform::RenameOver(one, temp / "ONE.BIN"));
        platform::RecoverFileSet(temp.Path(), targets);
        EXPECT_EQ(ReadText(temp / "ONE.BIN"), std::string(1, first)) << crlf;
        EXPECT_EQ(ReadText(temp / "TWO.BIN"), std::string(1, first + 1)) << crlf;
        EXPECT_EQ(platform::ListFolder(temp.Path()).size(), 2u) << "no stray file, record gone";
    }
    EXPECT_FALSE(platform::IsTemporaryName("FA12.TXT"));
    EXPECT_FALSE(platform::IsTemporaryName(".hidden"));
}

TEST(Files, ADamagedCommitRecordIsNeverCarriedOutAndNeverStopsLaterSaves) {
    TempFolder temp;
    const std::vector<std::string> targets{"ONE.BIN", "TWO.BIN"};
    const auto base = [](const std::string& p) { return p.substr(p.find_last_of("/\\") + 1); };
    ASSERT_TRUE(platform::WriteFileSet(temp.Path(), {{"ONE.BIN", {1}}, {"TWO.BIN", {2}}}));
    const auto damaged = [&](const std::function<std::string(const std::string&, const std::string&)>& make) {
        const std::string one = platform::WriteTemporary(temp / "ONE.BIN", "\x07", 1);
        const std::string two = platform::WriteTemporary(temp / "TWO.BIN", "\x08", 1);
        temp.WriteFile(".zel2-commit", make(base(one), base(two)));
        platform::RecoverFileSet(temp.Path(), targets);
        EXPECT_EQ(ReadText(temp / "ONE.BIN"), "\x01") << "the old set stays whole";
        EXPECT_EQ(ReadText(temp / "TWO.BIN"), "\x02");
        std::vector<std::string> names;
        for (const auto& e : platform::ListFolder(temp.Path())) names.push_back(e.name);
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, targets) << "no temporaries, no stray names, no record";
    };
    const auto whole = [](const std::string& one, const std::string& two) {
        return platform::FileSetRecord({{one, "ONE.BIN"}, {two, "TWO.BIN"}});
    };
    // Cut in its last line, cut after a whole rename line, one byte changed.
    damaged([&](auto one, auto two) { return whole(one, two).substr(0, whole(one, two).size() - 3); });
    damaged([&](auto one, auto two) { return one + "\tONE.BIN\n" + two + "\tTWO.B"; });
    damaged([&](auto one, auto) { return one + "\tONE.BIN\n"; });
    damaged([&](auto one, auto two) {
        std::string r = whole(one, two);
        r[r.find("TWO")] = 'X';
        return r;
    });
    // Whole, but naming a file that is not saved here or one outside the folder.
    damaged([&](auto one, auto two) {
        return platform::FileSetRecord({{one, "ONE.BIN"}, {two, "TWO.BINX"}});
    });
    damaged([&](auto one, auto two) {
        return platform::FileSetRecord({{one, "ONE.BIN"}, {two, "../TWO.BIN"}});
    });

    // A folder where the record goes is moved aside; the next save commits.
    temp.MakeFolder(".zel2-commit");
    temp.WriteFile(".zel2-commit/kept", "x");
    ASSERT_TRUE(platform::WriteFileSet(temp.Path(), {{"ONE.BIN", {3}}, {"TWO.BIN", {4}}}));
    EXPECT_EQ(ReadText(temp / "TWO.BIN"), "\x04");
    EXPECT_FALSE(platform::FolderExists(temp / ".zel2-commit"));
    EXPECT_EQ(ReadText(temp / ".zel2-commit.set-aside-1/kept"), "x") << "set aside, not deleted";
}

TEST(Files, NamesBeyondAsciiAreKeptWhole) {
    // A user or folder name with accents: the project's strings are UTF-8 throughout.
    TempFolder temp;
    const std::string folder = temp / "Équipage Kjøbenhavn";
    ASSERT_TRUE(platform::CreateFolder(folder));
    EXPECT_TRUE(platform::FolderExists(folder));
    ASSERT_TRUE(platform::WriteFileAtomic(platform::JoinPath(folder, "Météo.TXT"), "é", 2));
    const auto entries = platform::ListFolder(folder);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "Météo.TXT");
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(platform::ReadWholeFile(platform::JoinPath(folder, "Météo.TXT"), bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "é");
    EXPECT_TRUE(platform::CopyFileNoOverwrite(platform::JoinPath(folder, "Météo.TXT"), temp / "Ölzeug.TXT"));
    EXPECT_TRUE(platform::FileExists(temp / "Ölzeug.TXT"));
    {
        testing_support::ScopedEnv data("XDG_DATA_HOME", temp / "Données");
        EXPECT_EQ(platform::ApplicationDataFolder(), temp / "Données");
        EXPECT_TRUE(platform::FolderExists(temp / "Données"));
    }
}

TEST(Files, AReadOnlyFileIsStillReplacedWhole) {
    TempFolder temp;
    const std::string path = temp / "SYSTEM.BIN";
    ASSERT_TRUE(platform::WriteFileAtomic(path, "old", 3));
    ASSERT_TRUE(platform::SetAttributes(path, platform::AttrReadOnly));
    ASSERT_TRUE(platform::WriteFileAtomic(path, "new!", 4));
    EXPECT_EQ(ReadText(path), "new!");
    EXPECT_EQ(platform::GetAttributes(path) & platform::AttrHidden, 0u)
        << "the temporary's hiding is not kept";
}

TEST(Files, CopyKeepsTheLastWriteTimeAndNeverOverwrites) {
    TempFolder temp;
    temp.WriteFile("src/FA12.TXT", "ZCZC FA12\r\n");
    const platform::LocalDateTime when{2024, 3, 5, 14, 30, 12, 0};
    ASSERT_TRUE(platform::SetFileTimes(temp / "src/FA12.TXT", when, when, when));
    temp.MakeFolder("dst");
    ASSERT_TRUE(platform::CopyFileNoOverwrite(temp / "src/FA12.TXT", temp / "dst/FA12.TXT"));
    platform::LocalDateTime copied;
    ASSERT_TRUE(platform::LastWriteTime(temp / "dst/FA12.TXT", copied));
    EXPECT_EQ(copied.year, 2024);
    EXPECT_EQ(copied.month, 3);
    EXPECT_EQ(copied.day, 5);
    EXPECT_EQ(copied.hour, 14);
    EXPECT_EQ(copied.minute, 30);
    EXPECT_EQ(copied.second, 12);

    temp.WriteFile("dst/GB05.TXT", "mine");
    temp.WriteFile("src/GB05.TXT", "theirs");
    EXPECT_FALSE(platform::CopyFileNoOverwrite(temp / "src/GB05.TXT", temp / "dst/GB05.TXT"));
    EXPECT_EQ(ReadText(temp / "dst/GB05.TXT"), "mine");
    EXPECT_FALSE(platform::CopyFileNoOverwrite(temp / "src/NONE.TXT", temp / "dst/NONE.TXT"));
    EXPECT_FALSE(platform::FileExists(temp / "dst/NONE.TXT"));
}

TEST(Files, PositionedReadsShortReadsAndMissingFiles) {
    TempFolder temp;
    temp.WriteFile("ring.bin", "0123456789");
    platform::ReadOnlyFile file(temp / "ring.bin");
    ASSERT_TRUE(file.IsOpen());
    char buffer[8] = {};
    EXPECT_EQ(file.ReadAt(6, buffer, 8), 4);
    EXPECT_EQ(std::string(buffer, 4), "6789");
    EXPECT_EQ(file.ReadAt(10, buffer, 8), 0);
    EXPECT_EQ(file.Read(buffer, 3), 3);
    EXPECT_EQ(file.Read(buffer, 3), 3);
    EXPECT_EQ(std::string(buffer, 3), "345");
    EXPECT_EQ(file.Size(), 10);

    platform::ReadOnlyFile missing(temp / "nothing.bin");
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_EQ(missing.ReadAt(0, buffer, 1), -1);
    platform::ReadOnlyFile folder(temp.Path());
    EXPECT_FALSE(folder.IsOpen()) << "a folder is not a file";
}

TEST(Files, AttributesListingAndCaseInsensitiveNames) {
    TempFolder temp;
    temp.WriteFile("INTERNAT/FA12.TXT", "a");
    temp.WriteFile("INTERNAT/.hidden", "b");
    temp.MakeFolder("INTERNAT/SUB");
    auto entries = platform::ListFolder(temp / "internat");
    std::sort(entries.begin(), entries.end(), [](auto& a, auto& b) { return a.name < b.name; });
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, ".hidden");
    EXPECT_EQ(entries[1].name, "FA12.TXT");
    EXPECT_FALSE(entries[1].isFolder);
    EXPECT_TRUE(entries[2].isFolder);

    EXPECT_TRUE(platform::FileExists(temp / "Internat/fa12.txt"));
    EXPECT_FALSE(platform::FileExists(temp / "Internat/SUB"));
    EXPECT_TRUE(platform::FolderExists(temp / "internat/sub"));

    ASSERT_TRUE(platform::SetAttributes(temp / "INTERNAT/FA12.TXT", platform::AttrReadOnly));
    EXPECT_EQ(platform::GetAttributes(temp / "INTERNAT/FA12.TXT") & platform::AttrReadOnly,
              unsigned(platform::AttrReadOnly));
    ASSERT_TRUE(platform::SetAttributes(temp / "INTERNAT/FA12.TXT", platform::AttrNormal));
    EXPECT_EQ(platform::GetAttributes(temp / "INTERNAT/FA12.TXT"), unsigned(platform::AttrNormal));
    EXPECT_NE(platform::GetAttributes(temp / "INTERNAT/.hidden") & platform::AttrHidden, 0u);
    EXPECT_TRUE(platform::RemoveFile(temp / "internat/fa12.TXT"));
    EXPECT_FALSE(platform::FileExists(temp / "INTERNAT/FA12.TXT"));

    // Receiver names are written with '\\' and joined with the system's separator.
    using testing_support::Native;
    EXPECT_EQ(platform::JoinPath(Native("/media/ZEL2/"), "HTML\\NAVAREA.HTM"),
              Native("/media/ZEL2/HTML/NAVAREA.HTM"));
    EXPECT_EQ(platform::JoinPath(Native("/media/ZEL2"), "SYSTEM.BIN"), Native("/media/ZEL2/SYSTEM.BIN"));
}

// The log: lines in order with their time, the same line again once with its count, and
// past the limit the older half dropped while the newest lines stay.
TEST(Log, RepeatsCountedAndTheOlderHalfDroppedPastTheLimit) {
    TempFolder temp;
    // What other tests logged before any log was started goes elsewhere.
    temp.MakeFolder("before");
    platform::StartLog(temp / "before", 4096);
    platform::StartLog(temp / "", 4096);
    platform::Log("first");
    for (int i = 0; i < 5; ++i) platform::Log("same\nagain");
    platform::Log("last");
    platform::FlushLog();
    std::string text = testing_support::ReadText(temp / platform::LogName);
    EXPECT_TRUE(std::regex_search(text, std::regex(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d UTC first\n)")))
        << text;
    EXPECT_NE(text.find("UTC same again\n  (the line above 4 more times)\n"), std::string::npos) << text;
    EXPECT_LT(text.find("same again"), text.find("last"));
    // A burst keeps its newest lines; rounds past the limit drop the older half of the file.
    for (int i = 0; i < 400; ++i) platform::Log("line " + std::to_string(i));
    platform::FlushLog();
    for (int round = 0; round < 8; ++round) {
        for (int i = 0; i < 40; ++i)
            platform::Log("round " + std::to_string(round) + " line " + std::to_string(i));
        platform::FlushLog();
    }
    platform::StopLog();
    text = testing_support::ReadText(temp / platform::LogName);
    EXPECT_LE(text.size(), 4096u + 200);
    EXPECT_EQ(text.find("first"), std::string::npos) << "the older half is dropped";
    EXPECT_EQ(text.find("UTC line 0\n"), std::string::npos) << "a burst keeps its newest lines";
    EXPECT_NE(text.find("round 7 line 39\n"), std::string::npos);
    EXPECT_EQ(platform::LogPath(), "");
}

// The NMEA output's own listener: a port taken is refused, none waiting is said so.
TEST(TcpListener, APortTakenIsRefusedAndNoneWaitingIsNoError) {
    platform::TcpListener first, second;
    ASSERT_TRUE(first.Listen(false, 0));
    EXPECT_GT(first.Port(), 0);
    EXPECT_FALSE(second.Listen(false, first.Port()));
    EXPECT_FALSE(second.IsListening());
    long long client = -1;
    EXPECT_EQ(first.AcceptOne(client), platform::TcpListener::Accept::NoneWaiting);
    first.Close();
    EXPECT_EQ(first.AcceptOne(client), platform::TcpListener::Accept::Failed);
    EXPECT_TRUE(platform::KeepDescriptorInReserve());
}

TEST(DriveMap, ParsesEveryFieldAndSkipsCommentsAndJunk) {
    const auto drives = platform::ParseDriveMap(
        "# comment\n"
        "E\tremovable\tZEL2B\t/media/e\t/dev/sdb1\n"
        "f\tfixed\t\t/data/\n"
        "\n"
        "7\tremovable\tX\t/x\n"
        "G\tcdrom\n"
        "H\tweird\tLBL\t/h\r\n");
    ASSERT_EQ(drives.size(), 3u);
    // A root gets the system's separator at its end.
    const std::string end(1, platform::PathSeparator());
    EXPECT_EQ(drives[0].index, 4);
    EXPECT_EQ(drives[0].type, platform::DriveType::Removable);
    EXPECT_EQ(drives[0].label, "ZEL2B");
    EXPECT_EQ(drives[0].root, "/media/e" + end);
    EXPECT_EQ(drives[0].raw, "/dev/sdb1");
    EXPECT_EQ(drives[1].index, 5);
    EXPECT_EQ(drives[1].type, platform::DriveType::Fixed);
    EXPECT_EQ(drives[1].label, "");
    EXPECT_EQ(drives[1].root, "/data/");
    EXPECT_EQ(drives[2].type, platform::DriveType::Unknown);
    EXPECT_EQ(drives[2].root, "/h" + end);
}

TEST(DriveMap, SimulatorEditsAreSeenAtTheNextQuery) {
    TempFolder temp;
    const std::string map = temp / "drives.tsv";
    ScopedEnv env("ZEL2_DRIVES", map);
    temp.MakeFolder("vol");
    EXPECT_EQ(platform::LogicalDrives(), 0u) << "a missing map means no drives";

    ASSERT_TRUE(sim::AttachDrive(map, 'e', "removable", "ZEL2B", temp / "vol", "/dev/null"));
    EXPECT_EQ(platform::LogicalDrives(), 1u << 4);
    EXPECT_EQ(platform::DriveTypeOf(4), platform::DriveType::Removable);
    EXPECT_EQ(platform::DriveRoot(4), temp / "vol" + platform::PathSeparator());
    EXPECT_EQ(platform::RawVolumePath(4), "/dev/null");
    std::string label;
    EXPECT_TRUE(platform::VolumeLabel(temp / "vol", label));
    EXPECT_EQ(label, "ZEL2B");

    ASSERT_TRUE(sim::AttachDrive(map, 'E', "fixed", "DATA", temp / "vol"));
    EXPECT_EQ(platform::DriveTypeOf(4), platform::DriveType::Fixed) << "attaching a letter again replaces it";

    ASSERT_TRUE(sim::MoveDrive(map, 'E', 'K'));
    EXPECT_EQ(platform::LogicalDrives(), 1u << 10);
    EXPECT_EQ(platform::DriveTypeOf(4), platform::DriveType::NoRootDir);
    EXPECT_EQ(platform::DriveRoot(4), "");
    EXPECT_FALSE(sim::MoveDrive(map, 'E', 'F'));

    ASSERT_TRUE(sim::DetachDrive(map, 'K'));
    EXPECT_EQ(platform::LogicalDrives(), 0u);
    EXPECT_FALSE(sim::DetachDrive(map, 'K'));
}

}  // namespace
