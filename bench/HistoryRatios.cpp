// SPDX-License-Identifier: GPL-3.0-or-later
// The message history against plain work on the same data, over the real corpus of
// 71,040 messages (ZEL2_CORPUS: its unpacked archive/ folder, which scripts/bench makes):
// its import against reading the files, a search against a scan of the texts in memory,
// and the first transfer after start-up with the corpus in the history (and the warnings
// read anew over it) against none.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "acquisition/ModelDMirror.h"
#include "bench/Fixtures.h"
#include "bench/Ratio.h"
#include "history/HistoryWriter.h"
#include "history/Import.h"
#include "warnings/Export.h"
#include "navtex/UnitNavtex.h"
#include "receiver/DateTime.h"
#include "sim/VolumeWriter.h"

#include "acquisition/AcquisitionState.h"

using namespace bench;

namespace {

struct Text {
    std::string bytes;
    int64_t received;
    int64_t id;
};

// What any reader of the corpus must do: walk the folders, read every file.
std::vector<Text> ReadAll(const std::string& root) {
    std::vector<Text> texts;
    int64_t id = 0;
    for (const auto& e : std::filesystem::recursive_directory_iterator(root)) {
        if (!e.is_regular_file()) continue;
        std::vector<uint8_t> bytes;
        platform::ReadWholeFile(e.path().string(), bytes, navtex::MaxMessageFileBytes);
        texts.push_back({std::string(bytes.begin(), bytes.end()), ++id, id});
    }
    return texts;
}

// The same search as the history's, done the plain way: every text that holds the word,
// newest first.
size_t Scan(const std::vector<Text>& texts, const std::string& word, std::vector<const Text*>& hits) {
    hits.clear();
    for (const Text& t : texts)
        if (t.bytes.find(word) != std::string::npos) hits.push_back(&t);
    std::sort(hits.begin(), hits.end(), [](const Text* a, const Text* b) { return a->received > b->received; });
    return hits.size();
}

// The first transfer after start-up: the writer opens (and checks) the history while the
// receiver's messages go into an empty archive and the tree is rebuilt. Runs with and
// without a history alternate, so both see the disk in the same moods.
std::pair<double, double> FirstTransfer(const std::string& drive, const std::string& database) {
    const std::string archive = TempFolder("zel2bench-ha");
    double best[2] = {1e9, 1e9};
    for (int run = 0; run < 14; ++run) {
        const bool withHistory = run % 2 == 1;
        for (const char* band : {"INTERNAT", "NATIONAL"}) {
            std::filesystem::remove_all(archive + band);
            std::filesystem::create_directory(archive + band);
        }
        ::sync();
        NullTree view;
        TReadMarkList marks;
        TAcquisitionState state;
        navtex::TNavtexTree tree(view, marks, state, {});
        tree.SetArchiveRoot(archive);
        std::unique_ptr<history::THistoryWriter> writer;
        const auto start = std::chrono::steady_clock::now();
        if (withHistory) {
            // As the window does: the warnings are read anew over the whole history after a
            // batch that brought messages, on the writer's thread.
            history::THistoryWriter::Events events;
            events.written = [](int added, const history::THistoryStore& store) {
                if (added > 0) warnings::Evaluate(store, history::UnixNow());
            };
            writer = std::make_unique<history::THistoryWriter>(database, std::move(events));
            tree.SetArchiveSink([&](std::vector<navtex::TArchiveFile> files) { writer->Add(std::move(files)); });
        }
        acquisition::TModelDMirror mirror;
        mirror.Transfer(drive, archive);
        tree.Rebuild();
        const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (run >= 2) best[withHistory] = std::min(best[withHistory], took);  // the first pair warms up
        if (writer) writer->WaitIdle();
    }
    std::filesystem::remove_all(archive);
    return {best[0], best[1]};
}

}  // namespace

int main() {
    const char* corpus = std::getenv("ZEL2_CORPUS");
    if (!corpus || !std::filesystem::is_directory(corpus)) {
        std::printf("SKIP history-*: no corpus (ZEL2_CORPUS names the unpacked archive/ folder of "
                    "../shared/corpus/navtex-2013-2020.tar.xz; scripts/bench unpacks it)\n");
        return 0;
    }
    std::vector<bench::Figure> figures;
    const std::string folder = TempFolder("zel2bench-h");
    const std::string database = folder + history::DatabaseName;

    std::vector<Text> texts;
    const double read = bench::BestOf([&] { texts = ReadAll(corpus); }, 3);
    history::TImportResult imported;
    const double import = bench::BestOf(
        [&] {
            history::THistoryStore store;
            store.OpenForWriting(database, 1796000000);
            imported = history::ImportFolder(store, corpus, 1796000000);
        },
        [&] {
            for (const char* part : {"", "-wal", "-shm"}) std::filesystem::remove(database + part);
        },
        3);
    figures.push_back({"history-import", import / read, 3.0,
                       std::to_string(imported.files) + " files: import " + bench::Millis(import) + ", reading " +
                           bench::Millis(read)});

    // A word in about one message in a hundred.
    const std::string word = "CABLE";
    history::THistoryStore store;
    store.OpenForReading(database);
    history::TSearchResult found;
    const double search = bench::BestOf([&] { found = store.Search(word, {}, 500); });
    std::vector<const Text*> hits;
    size_t scanned = 0;
    const double scan = bench::BestOf([&] { scanned = Scan(texts, word, hits); });
    figures.push_back({"history-search", search / scan, 0.1,
                       std::to_string(found.total) + " hits of " + std::to_string(texts.size()) + " (scan " +
                           std::to_string(scanned) + "): search " + bench::Millis(search) + ", scan " +
                           bench::Millis(scan)});
    store.Close();

    const FullRing receiver;
    const std::string& drive = receiver.drive;
    const auto [without, with] = FirstTransfer(drive, database);
    figures.push_back({"history-first-transfer", with / without, 1.1,
                       "with " + std::to_string(imported.added) + " messages in the history " + bench::Millis(with) +
                           ", without " + bench::Millis(without)});
    std::filesystem::remove_all(folder);
    return bench::Report(figures);
}
