// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/ArchivePath.h"
#include "app/CommandLine.h"
#include "platform/Files.h"
#include "platform/Process.h"
#include "support/ChildProcess.h"
#include "support/TempFolder.h"

using app::DecideStartAction;
using app::StartAction;
using testing_support::ScopedEnv;
using testing_support::TempFolder;

namespace {

TEST(CommandLine, OnlyForceWithAnUpdateWordOpensTheUpdateDialog) {
    struct Case {
        std::vector<std::string> args;
        StartAction expected;
    } cases[] = {
        {{}, StartAction::FirmwareOffer},
        {{"FORCE"}, StartAction::FirmwareOffer},
        {{"FORCE", "UPDATE", "X"}, StartAction::FirmwareOffer},
        {{"FORCE", "UPDATE"}, StartAction::UpdateDialog},
        {{"FORCE", "OLD_UPDATE"}, StartAction::UpdateDialog},
        {{"force", "new_update"}, StartAction::UpdateDialog},
        {{"FoRcE", "New_Update"}, StartAction::UpdateDialog},
        {{"UPDATE", "FORCE"}, StartAction::FirmwareOffer},
        {{"FORCE", "UPDATES"}, StartAction::FirmwareOffer},
        {{"FORCE", "518A"}, StartAction::FirmwareOffer},
        {{"FORCE ", "UPDATE"}, StartAction::FirmwareOffer},
        {{"518A", "490B"}, StartAction::FirmwareOffer},
        {{"FORCE", "UPDATE", "518A"}, StartAction::FirmwareOffer},  // filters count as arguments
    };
    for (const Case& c : cases) {
        std::string joined;
        for (const auto& a : c.args) joined += "[" + a + "]";
        EXPECT_EQ(DecideStartAction(c.args), c.expected) << joined;
    }
}

TEST(CommandLine, UpperCasesOnlyAsciiLetters) {
    EXPECT_EQ(app::UpperAscii("new_update-9"), "NEW_UPDATE-9");
    EXPECT_EQ(app::UpperAscii("\xe9t\xe9"), "\xe9T\xe9");
    EXPECT_TRUE(app::IsForced({"force", "old_update"}, "OLD_UPDATE"));
    EXPECT_FALSE(app::IsForced({"force", "old_update"}, "NEW_UPDATE"));
}

TEST(ArchivePath, DataFolderPlusZel2OrTheProgramFolder) {
    using testing_support::Native;
    EXPECT_EQ(app::ArchivePath(Native("/home/skipper/.local/share"), "/opt/zel2/"),
              Native("/home/skipper/.local/share/ZEL2/"));
    EXPECT_EQ(app::ArchivePath(Native("/data/"), "/opt/zel2/"), Native("/data/ZEL2/"));
    EXPECT_EQ(app::ArchivePath("", "/opt/zel2/"), "/opt/zel2/");
}

TEST(ArchivePath, CreatesOneLevelAndKeepsAnExistingFolder) {
    TempFolder temp;
    const std::string archive = app::ArchivePath(temp.Path(), "/nowhere/");
    app::PrepareArchiveFolder(archive);
    EXPECT_TRUE(platform::FolderExists(archive));

    temp.WriteFile("ZEL2/CONFIG.BIN", "keep!");
    app::PrepareArchiveFolder(archive);
    std::vector<uint8_t> kept;
    ASSERT_TRUE(platform::ReadWholeFile(archive + "CONFIG.BIN", kept));
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "keep!");

    // No parents are made: a data folder that is missing leaves no archive, quietly.
    const std::string deep = app::ArchivePath(temp / "missing/deeper", "/nowhere/");
    app::PrepareArchiveFolder(deep);
    EXPECT_FALSE(platform::FolderExists(deep));
}

TEST(ApplicationDataFolder, FollowsXdgDataHomeAndMakesIt) {
    TempFolder temp;
    {
        ScopedEnv data("XDG_DATA_HOME", temp / "xdg/data");
        EXPECT_EQ(platform::ApplicationDataFolder(), temp / "xdg/data");
        EXPECT_TRUE(platform::FolderExists(temp / "xdg/data"));
    }
    if (platform::PathSeparator() == '/') {  // Windows has the shell's folder instead
        ScopedEnv data("XDG_DATA_HOME", "");
        ScopedEnv home("HOME", temp.Path());
        EXPECT_EQ(platform::ApplicationDataFolder(), temp / ".local/share");
    }
}

TEST(ApplicationDataFolder, AFolderThatCannotBeMadeStillNamesTheArchive) {
    // Under a file no folder can be made: the archive stays where it was configured and
    // does not move beside the program.
    TempFolder temp;
    temp.WriteFile("blocked", "a file");
    ScopedEnv data("XDG_DATA_HOME", temp / "blocked/data");
    const std::string folder = platform::ApplicationDataFolder();
    EXPECT_EQ(folder, temp / "blocked/data");
    const std::string archive = app::ArchivePath(folder, platform::ExecutableFolder());
    EXPECT_EQ(archive, temp / "blocked/data/ZEL2/");
    app::PrepareArchiveFolder(archive);
    EXPECT_FALSE(platform::FolderExists(archive));
}

// Two real processes: the holder keeps the guard until its release file exists and says so
// in its output.
class GuardProcess {
public:
    explicit GuardProcess(const std::string& runtimeDir, const std::string& tmpDir = "/nowhere",
                          const std::string& folder = {})
        : report((folder.empty() ? runtimeDir : folder) + "/holder.out"),
          release((folder.empty() ? runtimeDir : folder) + "/holder.release"),
          holder({testing_support::Helper(ZEL2_GUARD_PROBE), release},
                 {{"XDG_RUNTIME_DIR", runtimeDir}, {"TMPDIR", tmpDir}}, report) {}
    ~GuardProcess() { Close(); }
    // Waits for the holder's own answer: "acquired" or "refused".
    std::string Answer() const {
        for (int i = 0; i < 1000; ++i) {
            std::vector<uint8_t> text;
            if (platform::ReadWholeFile(report, text) && text.size() >= 8)
                return std::string(text.begin(), text.begin() + (text[0] == 'a' ? 8 : 7));
            testing_support::SleepMilliseconds(10);
        }
        return "?";
    }
    int Close() {
        testing_support::TempFolder::WriteFileAt(release, "go");
        return holder.Wait();
    }

private:
    std::string report, release;
    testing_support::ChildProcess holder;
};

std::string Probe(const std::string& runtimeDir, const std::string& tmpDir = "/nowhere") {
    TempFolder out;
    testing_support::ChildProcess probe({testing_support::Helper(ZEL2_GUARD_PROBE)},
                                        {{"XDG_RUNTIME_DIR", runtimeDir}, {"TMPDIR", tmpDir}},
                                        out / "answer");
    probe.Wait();
    std::string text = testing_support::ReadText(out / "answer");
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

// On Windows the guard is a named mutex of the logon session: there are no runtime folders
// to keep two users' copies apart or to fall back from.
std::string NoRuntimeFolders() {
    return platform::PathSeparator() == '\\' ? "the guard is a named mutex" : "";
}

TEST(SingleInstance, SecondCopyIsRefusedUntilTheFirstEnds) {
    TempFolder runtime;
    EXPECT_EQ(Probe(runtime.Path()), "acquired");  // nobody holds it yet

    GuardProcess first(runtime.Path());
    ASSERT_EQ(first.Answer(), "acquired");
    EXPECT_EQ(Probe(runtime.Path()), "refused");

    first.Close();
    EXPECT_EQ(Probe(runtime.Path()), "acquired");
}

TEST(SingleInstance, AnUnusableRuntimeFolderFallsBackToTheTemporaryFolder) {
    if (!NoRuntimeFolders().empty()) GTEST_SKIP() << NoRuntimeFolders();
    // A runtime folder where no lock can be made (here: a file, which also stops root).
    TempFolder temp, tmp;
    temp.WriteFile("runtime", "not a folder");
    GuardProcess first(temp / "runtime", tmp.Path(), temp.Path());
    ASSERT_EQ(first.Answer(), "acquired");
    EXPECT_EQ(Probe(temp / "runtime", tmp.Path()), "refused") << "two copies on one archive";
    first.Close();
    EXPECT_EQ(Probe(temp / "runtime", tmp.Path()), "acquired");
}

TEST(SingleInstance, OtherUsersRuntimeFoldersDoNotInterfere) {
    if (!NoRuntimeFolders().empty()) GTEST_SKIP() << NoRuntimeFolders();
    TempFolder a, b;
    GuardProcess first(a.Path());
    ASSERT_EQ(first.Answer(), "acquired");
    ASSERT_EQ(Probe(a.Path()), "refused");
    EXPECT_EQ(Probe(b.Path()), "acquired");
}

}  // namespace
