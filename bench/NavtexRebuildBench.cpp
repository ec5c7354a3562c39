// A full tree rebuild reads every archived message; a year at a busy station is tens of
// thousands of files, so the rebuild must grow like n log n, not n squared.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "acquisition/AcquisitionState.h"
#include "navtex/UnitNavtex.h"
#include "platform/Files.h"

namespace {

class NullTree : public navtex::INavtexTreeView {
public:
    void ClearTree() override {}
    void AddNode(int, int, const std::string&) override {}
    void SetNodeBold(int, bool) override {}
    bool NodeExpanded(int) const override { return true; }
    void SetNodeExpanded(int, bool) override {}
    void SetSubtreeExpanded(int, bool) override {}
    void ScrollTreeToTop() override {}
    void SelectNode(int) override {}
    void SetMemoText(const std::string&) override {}
};

// files messages over both bands; one in five repeats an earlier identifier.
struct Archive {
    std::string root;
    explicit Archive(int files) {
        std::string pattern = (std::filesystem::temp_directory_path() / "zel2navbench.XXXXXX").string();
        root = std::string(::mkdtemp(pattern.data())) + "/";
        const char* letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
        for (const char* band : {"INTERNAT", "NATIONAL"}) std::filesystem::create_directory(root + band);
        for (int i = 0; i < files; ++i) {
            const int id = i % 5 == 4 ? i - 2 : i;  // same band as i
            std::string name;
            for (int k = 0, v = id; k < 4; ++k, v /= 36) name += letters[v % 36];
            const std::string path = root + (i % 2 ? "NATIONAL/" : "INTERNAT/") + name + "_" + std::to_string(i);
            std::ofstream(path, std::ios::binary) << "ZCZC " << name << "\r\nWIND SW 5 TO 6. SEA MODERATE.\r\nNNNN\r\n";
            const platform::LocalDateTime when{2026, 12, 6, 6 + i % 12, i % 60, (i / 60) % 60, 0};
            platform::SetFileTimes(path, when, when, when);
        }
    }
    ~Archive() { std::filesystem::remove_all(root); }
};

void BM_TreeRebuild(benchmark::State& state) {
    Archive archive(static_cast<int>(state.range(0)));
    NullTree view;
    TReadMarkList marks;
    TAcquisitionState acquisition;
    navtex::TNavtexTree tree(view, marks, acquisition, {});
    tree.SetArchiveRoot(archive.root);
    for (auto _ : state) {
        tree.Rebuild();
        benchmark::DoNotOptimize(tree.List518().size());
    }
    state.counters["shown"] = static_cast<double>(tree.List518().size() + tree.List490().size());
}

}  // namespace

BENCHMARK(BM_TreeRebuild)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond)->MinTime(2.0);
