// SPDX-License-Identifier: GPL-3.0-or-later
// The archive side of the program against plain file access: the ZEL2D transfer with a
// full ring, unchanged and all new, and the tree rebuild over thousands of files.
#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "acquisition/AcquisitionState.h"
#include "acquisition/ModelDMirror.h"
#include "acquisition/UnitDataThread.h"
#include "bench/Fixtures.h"
#include "bench/Ratio.h"
#include "common/LittleEndian.h"
#include "navtex/UnitNavtex.h"
#include "platform/Files.h"
#include "sim/VolumeWriter.h"

using namespace bench;

namespace {

std::vector<std::pair<std::string, std::string>> FilesOf(const std::string& archive) {
    std::vector<std::pair<std::string, std::string>> files;
    for (const char* band : {"INTERNAT/", "NATIONAL/"})
        for (const auto& e : std::filesystem::directory_iterator(archive + band)) {
            std::vector<uint8_t> bytes;
            platform::ReadWholeFile(e.path().string(), bytes);
            files.push_back(
                {std::string(band) + e.path().filename().string(), std::string(bytes.begin(), bytes.end())});
        }
    return files;
}

// The window's side of a refresh: every step the acquisition thread hands it, and the
// longest of them, while a whole ring of new messages goes into an empty archive.
class TimedWindow : public IAcquisitionWindow {
public:
    void SetStatusPanel(int, const std::string&) override {}
    void SetBusyProgress(int) override {}
    void SetBatteryProgress(int) override {}
    void SetParameterLabel(const std::string&) override {}
    void SetBaroTabVisible(bool) override {}
    void SetConfigurationEnabled(bool) override {}
    void SetSeriesBlue(bool) override {}
    bool NavtexPageActive() const override { return true; }
    void SetStatusPanel0(const std::string&) override {}
    void RepaintStatusBar() override {}
    void RebuildTree() override { tree.Rebuild(); }
    void RedrawChart() override {}
    void SetPagesEnabled(bool enabled) override { done = enabled; }

    NullTree view;
    TReadMarkList marks;
    TAcquisitionState treeState;
    navtex::TNavtexTree tree{view, marks, treeState, {}};
    bool done = false;
};

double LongestWindowStep(const std::string& drive, const std::string& archive) {
    const std::string map = archive + "drives.tsv";
    const std::string line = "E\tremovable\tZEL2D\t" + drive + "\t\n";
    WriteRaw(map, line.data(), line.size());
    ::setenv("ZEL2_DRIVES", map.c_str(), 1);
    platform::SetMainThread();
    TAcquisitionState state;
    TimedWindow window;
    window.tree.SetArchiveRoot(archive);
    TGetDataThread::Options options;
    options.archiveRoot = archive;
    TGetDataThread thread(state, window, options);
    thread.Resume();
    double longest = 0;
    const auto start = std::chrono::steady_clock::now();
    while (!window.done && std::chrono::steady_clock::now() - start < std::chrono::seconds(30)) {
        const auto before = std::chrono::steady_clock::now();
        if (platform::CheckSynchronize())
            longest = std::max(
                longest, std::chrono::duration<double>(std::chrono::steady_clock::now() - before).count());
        else
            std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    thread.Terminate();
    thread.WaitFor();
    ::unsetenv("ZEL2_DRIVES");
    return longest;
}

// A tree over an archive, rebuilt as the window does after each transfer.
struct Rebuilder {
    explicit Rebuilder(const Archive& archive) { tree.SetArchiveRoot(archive.root); }
    void Rebuild() { tree.Rebuild(); }
    NullTree view;
    TReadMarkList marks;
    TAcquisitionState state;
    navtex::TNavtexTree tree{view, marks, state, {}};
};

}  // namespace

int main() {
    std::vector<bench::Figure> figures;
    {
        const FullRing receiver;
        const std::string archive = TempFolder("zel2bench-m");
        acquisition::TModelDMirror mirror;
        mirror.Transfer(receiver.drive, archive);
        // A refresh takes some tens of microseconds: each run is a hundred of them.
        const bench::Paired unchanged = bench::Interleaved(
            [&] {
                for (int i = 0; i < 100; ++i) mirror.Transfer(receiver.drive, archive);
            },
            [&] {
                for (int i = 0; i < 100; ++i) receiver.ReadAll();
            },
            15);
        figures.push_back({"zel2d-refresh-unchanged", unchanged.ratio, 1.5,
                           "transfer " + bench::Millis(unchanged.step) + ", raw read " +
                               bench::Millis(unchanged.baseline) + "; " + unchanged.Spread()});

        // Every message new: an empty archive each time, against writing the same files plainly.
        const auto files = FilesOf(archive);
        const std::string plain = TempFolder("zel2bench-w");
        // The removal's own disk work is done before the clock starts.
        const auto clear = [](const std::string& root) {
            for (const char* band : {"INTERNAT", "NATIONAL"}) {
                std::filesystem::remove_all(root + band);
                std::filesystem::create_directory(root + band);
            }
            ::sync();
        };
        const bench::Paired allNew = bench::Interleaved(
            [&] {
                acquisition::TModelDMirror fresh;
                fresh.Transfer(receiver.drive, archive);
            },
            [&] { clear(archive); },
            [&] {
                for (const auto& [name, text] : files) WriteRaw(plain + name, text.data(), text.size());
            },
            [&] { clear(plain); }, 11);
        figures.push_back({"zel2d-refresh-all-new", allNew.ratio, 2.0,
                           std::to_string(files.size()) + " files: transfer " + bench::Millis(allNew.step) +
                               ", plain write " + bench::Millis(allNew.baseline) + "; " + allNew.Spread()});
        // The window's longest wait while a whole ring of new messages is written.
        std::filesystem::remove_all(archive);
        const std::string fresh = TempFolder("zel2bench-t");
        const double longest = LongestWindowStep(receiver.drive, fresh);
        figures.push_back({"zel2d-window-blocked-ms", longest * 1000, 50,
                           "longest synchronised step " + bench::Millis(longest)});
        std::filesystem::remove_all(fresh);
        std::filesystem::remove_all(plain);
    }
    {
        const Archive small(5000);
        Rebuilder smallTree(small);
        const bench::Paired rebuilt =
            bench::Interleaved([&] { smallTree.Rebuild(); }, [&] { small.ListAndRead(); }, 11);
        figures.push_back({"tree-rebuild-5k", rebuilt.ratio, 1.5,
                           "rebuild " + bench::Millis(rebuilt.step) + ", list + read " +
                               bench::Millis(rebuilt.baseline) + "; " + rebuilt.Spread()});
        const Archive large(50000);
        Rebuilder largeTree(large);
        const bench::Paired scaled =
            bench::Interleaved([&] { largeTree.Rebuild(); }, [&] { smallTree.Rebuild(); }, 9);
        figures.push_back({"tree-rebuild-50k-over-5k", scaled.ratio, 11.0,
                           "50,000 files " + bench::Millis(scaled.step) + ", 5,000 files " +
                               bench::Millis(scaled.baseline) + "; " + scaled.Spread()});
    }
    return bench::Report(figures);
}
