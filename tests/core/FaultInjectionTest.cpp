// SPDX-License-Identifier: GPL-3.0-or-later
// Real processes killed at random moments of a save or a transfer, or run out of disk
// space; after each fault the next start must find whole files and work.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <random>
#include <thread>

#include "acquisition/MessageTransfer.h"
#include "platform/Files.h"
#include "receiver/StateFiles.h"
#include "sim/VolumeWriter.h"
#include "support/ChildProcess.h"
#include "support/FaultState.h"
#include "support/TempFolder.h"

using testing_support::ChildProcess;
using testing_support::ReadText;
using testing_support::TempFolder;

namespace {

class NoView : public receiver::ILocalCopiesView {
public:
    void FillChart(uint16_t, uint16_t) override {}
    void RebuildTree() override {}
};

// The next start: the saved state as the program loads it, or -1 when its files disagree.
int LoadedGeneration(const std::string& archive) {
    TAcquisitionState state;
    TReadMarkList marks;
    NoView view;
    receiver::LoadLocalCopies(archive, state, marks, view);
    return testing_support::GenerationOf(state, marks);
}

std::vector<std::string> Temporaries(const std::string& folder) {
    std::vector<std::string> found;
    for (const auto& e : platform::ListFolder(folder))
        if (platform::IsTemporaryName(e.name) || e.name == ".zel2-commit") found.push_back(e.name);
    return found;
}

// Every message file of the archive's two folders against the receiver's (or the mirror's)
// own text: a kill may leave a message missing, never cut short.
void ExpectNoTruncatedMessage(const std::string& archive, const std::map<std::string, std::string>& whole) {
    for (const char* band : {"INTERNAT", "NATIONAL"}) {
        const std::string folder = archive + band;
        EXPECT_TRUE(Temporaries(folder).empty()) << band;
        for (const auto& e : platform::ListFolder(folder)) {
            const std::string key = std::string(band) + "/" + e.name;
            auto it = whole.find(key);
            ASSERT_NE(it, whole.end()) << key;
            EXPECT_EQ(ReadText(folder + "/" + e.name), it->second) << key;
        }
    }
}

class FaultInjection : public ::testing::Test {
protected:
    // Bounded in time whatever the machine: at least 20 runs, more while time allows.
    bool Again(int run) const {
        return run < 20 || (run < 60 && std::chrono::steady_clock::now() - start < std::chrono::seconds(8));
    }
    int RandomDelay() { return std::uniform_int_distribution<int>(1, 40)(random); }

    TempFolder temp;
    std::mt19937 random{20261208};
    const std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
};

TEST_F(FaultInjection, AKilledSaveLeavesAWholeSetOfOneGeneration) {
    const std::string archive = temp.MakeFolder("ZEL2") + "/";
    int last = 0, runs = 0, insideASave = 0;
    for (; Again(runs); ++runs) {
        const std::string ready = temp / ("ready-" + std::to_string(runs));
        ChildProcess probe({testing_support::Helper(ZEL2_FAULT_PROBE), "save", archive, "--ready", ready});
        ASSERT_TRUE(probe.Started());
        // The kill falls anywhere in the saves that follow the first, whatever this machine's
        // and this build's speed: up to two saves' time after the first is known to be done.
        std::vector<uint8_t> took;
        // Under wine the renamed file can be seen for a moment before its bytes.
        for (int i = 0; i < 20000 && (!platform::ReadWholeFile(ready, took) || took.empty()); ++i)
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        ASSERT_FALSE(took.empty()) << "the probe never finished its first save";
        const long micros = std::atol(std::string(took.begin(), took.end()).c_str());
        std::this_thread::sleep_for(
            std::chrono::microseconds(std::uniform_int_distribution<long>(0, 2 * micros)(random)));
        probe.Kill();
        EXPECT_EQ(probe.Wait(), testing_support::KilledStatus);
        if (!Temporaries(archive).empty()) ++insideASave;
        const int generation = LoadedGeneration(archive);
        EXPECT_GT(generation, 0) << "run " << runs << ": the four files are of different saves";
        last = std::max(last, generation);
        EXPECT_TRUE(Temporaries(archive).empty()) << "run " << runs;
        EXPECT_EQ(ReadText(archive + "SYSTEM.BIN").size(), 556u);
        EXPECT_EQ(ReadText(archive + "BARODATA.BIN").size(), 20488u);
    }
    EXPECT_GT(last, 1) << "no kill fell after a later save in " << runs << " runs";
    EXPECT_GT(insideASave, 0) << "no kill fell inside a save in " << runs << " runs";
}

TEST_F(FaultInjection, AKilledTransferLeavesNoMessageCutShort) {
    for (const char* model : {"ZEL2B", "ZEL2D"}) {
        const std::string drive = temp / (std::string(model) + "/"),
                          archive = temp / (std::string(model) + "-A/");
        ASSERT_TRUE(sim::MakeVolume(model, drive));
        std::filesystem::create_directories(archive);
        // What a whole transfer gives, to compare each file with.
        const std::string mirror = temp / (std::string(model) + "-M/");
        std::filesystem::create_directories(mirror);
        TAcquisitionState state;
        if (std::string(model) == "ZEL2D")
            acquisition::WriteModelDMessages(drive, mirror, state);
        else
            acquisition::CopyMessageFiles(drive, mirror, state);
        std::map<std::string, std::string> whole;
        for (const char* band : {"INTERNAT", "NATIONAL"})
            for (const auto& e : platform::ListFolder(mirror + band))
                whole[std::string(band) + "/" + e.name] = ReadText(mirror + band + "/" + e.name);
        ASSERT_GT(whole.size(), 3u) << model;

        bool wasWhole = false;
        for (int runs = 0; Again(runs); ++runs) {
            ChildProcess probe(
                {testing_support::Helper(ZEL2_FAULT_PROBE), "transfer", model, drive, archive});
            ASSERT_TRUE(probe.Started());
            testing_support::SleepMilliseconds(RandomDelay());
            probe.Kill();
            probe.Wait();
            TAcquisitionState next;
            TReadMarkList marks;
            NoView view;
            acquisition::RecoverTransfer(archive);  // the next start
            receiver::LoadLocalCopies(archive, next, marks, view);
            ExpectNoTruncatedMessage(archive, whole);
            // File models replace the archive only with a whole copy: once whole, always whole.
            if (std::string(model) == "ZEL2D") continue;
            size_t present = 0;
            for (const char* band : {"INTERNAT", "NATIONAL"})
                present += platform::ListFolder(archive + band).size();
            if (present == whole.size()) wasWhole = true;
            EXPECT_TRUE(!wasWhole || present == whole.size())
                << "run " << runs << ": " << present << " of " << whole.size();
        }
    }
}

// Saves of generation 2 over a whole set of generation 1 with less and less room: each
// ends normally (no SIGXFSZ death) and leaves one whole set.
TEST_F(FaultInjection, AFullDiskKeepsTheLastWholeSet) {
    const std::string limiter = testing_support::FileSizeLimiter();
    if (limiter.empty()) GTEST_SKIP() << testing_support::FileSizeLimit::Unsupported();
    const std::string archive = temp.MakeFolder("ZEL2") + "/";
    ChildProcess first({testing_support::Helper(ZEL2_FAULT_PROBE), "save", archive, "1"});
    ASSERT_EQ(first.Wait(), 0);
    int completed = 0;
    for (int limit = 0; limit <= 24000; limit += 1000) {
        ChildProcess probe({limiter, "--fsize=" + std::to_string(limit),
                            testing_support::Helper(ZEL2_FAULT_PROBE), "save", archive,
                            std::to_string(2 + limit)});
        const int status = probe.Wait();
        EXPECT_TRUE(status == 0 || status == 1) << "limit " << limit << ": ended by signal " << status - 128;
        const int generation = LoadedGeneration(archive);
        EXPECT_TRUE(generation == (status == 0 ? 2 + limit : generation) && generation > 0)
            << "limit " << limit << ": generation " << generation;
        if (status == 0) ++completed;
        EXPECT_TRUE(Temporaries(archive).empty());
    }
    EXPECT_GT(completed, 0) << "the larger limits leave room for the whole set";
}

TEST_F(FaultInjection, ASmallFileSystemKeepsTheLastWholeSet) {
    const std::string mount = temp.MakeFolder("small");
    if (!testing_support::MountSmallFileSystem(mount, 56 * 1024))
        GTEST_SKIP() << "cannot mount a small tmpfs here (needs Linux, root and mount rights)";
    const std::string archive = mount + "/";
    ChildProcess first({testing_support::Helper(ZEL2_FAULT_PROBE), "save", archive, "1"});
    EXPECT_EQ(first.Wait(), 0) << "one set fits";
    // A second set does not fit beside the first: the save fails and the first stays.
    ChildProcess second({testing_support::Helper(ZEL2_FAULT_PROBE), "save", archive, "2"});
    EXPECT_EQ(second.Wait(), 1);
    EXPECT_EQ(LoadedGeneration(archive), 1);
    EXPECT_TRUE(Temporaries(archive).empty());
    testing_support::Unmount(mount);
}

}  // namespace
