// SPDX-License-Identifier: GPL-3.0-or-later
// The message history against plain work on the same data, over the real corpus of
// 71,040 messages (ZEL2_CORPUS: its unpacked archive/ folder, which scripts/bench makes):
// its import against reading the files, a search against a scan of the texts in memory,
// and the first transfer after start-up with the corpus in the history (and the warnings
// read anew over it) against none.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <malloc.h>
#include <unistd.h>

#include "acquisition/ModelDMirror.h"
#include "bench/Fixtures.h"
#include "bench/Ratio.h"
#include "common/DateTime.h"
#include "history/HistoryWriter.h"
#include "history/Import.h"
#include "navtex/UnitNavtex.h"
#include "sim/VolumeWriter.h"
#include "warnings/Export.h"

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
    std::sort(hits.begin(), hits.end(),
              [](const Text* a, const Text* b) { return a->received > b->received; });
    return hits.size();
}

// The first transfer after start-up: the writer opens (and checks) the history while the
// receiver's messages go into an empty archive and the tree is rebuilt. Runs with and
// without a history alternate, so both see the disk in the same moods.
bench::Paired FirstTransfer(const std::string& drive, const std::string& database) {
    const std::string archive = TempFolder("zel2bench-ha");
    std::vector<double> times[2];
    for (int run = 0; run < 20; ++run) {
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
            events.written = [evaluation = std::make_shared<warnings::TEvaluation>()](
                                 int added, const history::THistoryStore& store) {
                if (added > 0) evaluation->Update(store, history::UnixNow());
            };
            writer = std::make_unique<history::THistoryWriter>(database, std::move(events));
            tree.SetArchiveSink(
                [&](std::vector<navtex::TArchiveFile> files) { writer->Add(std::move(files)); });
        }
        acquisition::TModelDMirror mirror;
        mirror.Transfer(drive, archive);
        tree.Rebuild();
        const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (run >= 2) times[withHistory].push_back(took);  // the first pair warms up
        if (writer) writer->WaitIdle();
    }
    std::filesystem::remove_all(archive);
    return bench::FromPairs(times[1], times[0]);
}

// What this process holds in memory now, in bytes: all of it, and what is allocated.
double ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    double pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * static_cast<double>(::sysconf(_SC_PAGESIZE));
}
double AllocatedBytes() {
    const struct mallinfo2 m = ::mallinfo2();
    return static_cast<double>(m.uordblks + m.hblkhd);
}

// A transfer's new messages into a large history, and the warnings' states brought up to date
// with them, against recording them (the history's own work for that transfer).
// Great-circle distance by the haversine formula, as a plain loop would write it.
double Haversine(double lat1, double lon1, double lat2, double lon2) {
    constexpr double R = 3440.065, Rad = 3.14159265358979323846 / 180;
    const double a = std::sin((lat2 - lat1) * Rad / 2), b = std::sin((lon2 - lon1) * Rad / 2);
    const double h = a * a + std::cos(lat1 * Rad) * std::cos(lat2 * Rad) * b * b;
    return 2 * R * std::asin(std::sqrt(std::min(1.0, h)));
}

// From a boat sailing through the North Sea, one fix after another: the distance and
// bearing to each warning in force (its nearest point, 0 inside; their places made once),
// against the haversine distance to each of their points.
bench::Paired Distances(const std::vector<warnings::TWarning>& inForce, size_t& shapes, size_t& points) {
    std::vector<position::TLatLon> fixes;
    for (int i = 0; i < 200; ++i) fixes.push_back({52.0 + i * 0.02, 2.0 + i * 0.03});
    shapes = points = 0;
    for (const auto& w : inForce) {
        shapes += w.shapes.size();
        for (const auto& shape : w.shapes) points += shape.points.size();
    }
    double sink = 0;
    const bench::Paired figure = bench::Interleaved(
        [&] {
            // The places made once when the states change, the ranges after each fix.
            std::vector<std::vector<position::TPlace>> places;
            for (const auto& w : inForce) places.push_back(warnings::Places(w.shapes));
            for (const auto& fix : fixes) {
                const position::TBoat boat = position::Boat(fix);
                for (const auto& place : places) sink += position::RangeToNearest(boat, place).distanceNm;
            }
        },
        [&] {
            for (const auto& fix : fixes)
                for (const auto& w : inForce)
                    for (const auto& shape : w.shapes)
                        for (const auto& p : shape.points)
                            sink += Haversine(fix.latitude, fix.longitude, p.latitude, p.longitude);
        },
        9);
    if (sink < 0) std::puts("");  // keeps the loops
    return figure;
}

bench::Paired InForceUpdate(const std::string& database, warnings::TEvaluation& evaluation) {
    history::THistoryStore store;
    store.OpenForWriting(database, 1796000000);
    int batch = 0;
    std::vector<history::TArchivedMessage> messages;
    const auto next = [&] {
        messages.clear();
        ++batch;
        for (int i = 0; i < 10; ++i)
            messages.push_back({518, "FA" + std::to_string(10 + i),
                                "ZCZC FA" + std::to_string(10 + i) + "\r\nNAVAREA I WARNING " +
                                    std::to_string(batch * 10 + i) +
                                    "/26\r\n"
                                    "WRECK IN 54-10.2N 007-30.5E. CANCEL NAVAREA I " +
                                    std::to_string(batch * 10 + i - 5) + "/26.\r\nNNNN\r\n",
                                1796000000 + batch * 60});
    };
    // Recorded first, then evaluated: the update finds what the record added.
    const auto seconds = [](auto&& work) {
        const auto start = std::chrono::steady_clock::now();
        work();
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    std::vector<double> updates, records;
    for (int run = 0; run < 22; ++run) {
        next();
        const double recorded = seconds([&] { store.Record(messages, 1796000000); });
        const double updated = seconds([&] { evaluation.Update(store, 1796000000 + batch * 60); });
        if (run == 0) continue;  // warm-up
        records.push_back(recorded);
        updates.push_back(updated);
    }
    return bench::FromPairs(updates, records);
}

}  // namespace

int main() {
    const char* corpus = std::getenv("ZEL2_CORPUS");
    if (!corpus || !std::filesystem::is_directory(corpus)) {
        std::printf(
            "SKIP history-*: no corpus (ZEL2_CORPUS names the unpacked archive/ folder of "
            "../shared/corpus/navtex-2013-2020.tar.xz; scripts/bench unpacks it)\n");
        return 0;
    }
    std::vector<bench::Figure> figures;
    const std::string folder = TempFolder("zel2bench-h");
    const std::string database = folder + history::DatabaseName;

    std::vector<Text> texts;
    history::TImportResult imported;
    const auto removeDatabase = [&] {
        for (const char* part : {"", "-wal", "-shm"}) std::filesystem::remove(database + part);
    };
    const bench::Paired import = bench::Interleaved(
        [&] {
            history::THistoryStore store;
            store.OpenForWriting(database, 1796000000);
            imported = history::ImportFolder(store, corpus, 1796000000);
        },
        removeDatabase, [&] { texts = ReadAll(corpus); }, [] {}, 5);
    figures.push_back({"history-import", import.ratio, 3.0,
                       std::to_string(imported.files) + " files: import " + bench::Millis(import.step) +
                           ", reading " + bench::Millis(import.baseline) + "; " + import.Spread()});

    // A word in about one message in a hundred.
    const std::string word = "CABLE";
    history::THistoryStore store;
    store.OpenForReading(database);
    history::TSearchResult found;
    std::vector<const Text*> hits;
    size_t scanned = 0;
    // Ten of each a run: a search takes about a millisecond.
    const bench::Paired search = bench::Interleaved(
        [&] {
            for (int i = 0; i < 10; ++i) found = store.Search(word, {}, 500);
        },
        [&] {
            for (int i = 0; i < 10; ++i) scanned = Scan(texts, word, hits);
        },
        15);
    figures.push_back({"history-search", search.ratio, 0.1,
                       std::to_string(found.total) + " hits of " + std::to_string(texts.size()) + " (scan " +
                           std::to_string(scanned) + "): search " + bench::Millis(search.step) + ", scan " +
                           bench::Millis(search.baseline) + "; " + search.Spread()});
    store.Close();
    texts.clear();
    texts.shrink_to_fit();

    // The warnings' states read anew over the whole history (after an import of older
    // messages), against reading the same texts from the store.
    {
        history::THistoryStore reader;
        reader.OpenForReading(database);
        size_t states = 0, bytes = 0;
        const bench::Paired evaluate = bench::Interleaved(
            [&] {
                warnings::TEvaluation evaluation;
                evaluation.Update(reader, 1796000000);
                states = evaluation.Warnings().size();
            },
            [&] {
                bytes = 0;
                reader.ForEachMessage(0, [&](const history::TStoredMessage& m) {
                    bytes += m.bytes.size();
                    return true;
                });
            },
            5);
        figures.push_back({"in-force-evaluate", evaluate.ratio, 3.0,
                           std::to_string(states) + " messages (" + std::to_string(bytes / 1000000) +
                               " MB): evaluated " + bench::Millis(evaluate.step) + ", read " +
                               bench::Millis(evaluate.baseline) + "; " + evaluate.Spread()});
        reader.Close();
    }

    // The warnings' states over the whole history: what they hold, then what a transfer costs.
    {
        warnings::TEvaluation evaluation;
        history::THistoryStore reader;
        reader.OpenForReading(database);
        // What the states keep once the reading is over (the store's page cache closed with it).
        const double before = AllocatedBytes(), residentBefore = ResidentBytes();
        evaluation.Update(reader, 1796000000);
        reader.Close();
        const double held = AllocatedBytes() - before;
        figures.push_back({"in-force-memory-mb", held / 1e6, 40,
                           std::to_string(evaluation.Warnings().size()) + " messages: " +
                               std::to_string(static_cast<int>(held / 1e6)) + " MB allocated (" +
                               std::to_string(static_cast<int>((ResidentBytes() - residentBefore) / 1e6)) +
                               " MB more resident, the database's mapped pages included), about " +
                               std::to_string(evaluation.MemoryBytes() / 1000000) + " MB counted"});
        // The warnings in force at the end of the corpus, with their shapes.
        std::vector<warnings::TWarning> inForce;
        {
            history::THistoryStore store;
            store.OpenForReading(database);
            for (auto& w : warnings::Evaluate(store, 1609459199))  // 2020-12-31 23:59:59 UTC
                if (w.state == warnings::TWarning::State::InForce && !w.shapes.empty())
                    inForce.push_back(std::move(w));
        }
        size_t shapes = 0, points = 0;
        const bench::Paired distances = Distances(inForce, shapes, points);
        figures.push_back({"distances", distances.ratio, 2.0,
                           "200 fixes to " + std::to_string(inForce.size()) + " warnings in force (" +
                               std::to_string(shapes) + " shapes, " + std::to_string(points) +
                               " points): " + bench::Millis(distances.step) + ", haversine to each point " +
                               bench::Millis(distances.baseline) + "; " + distances.Spread()});
        const bench::Paired update = InForceUpdate(database, evaluation);
        figures.push_back({"in-force-update", update.ratio, 2.0,
                           "10 new messages over " + std::to_string(evaluation.Warnings().size()) +
                               ": update " + bench::Millis(update.step) + ", recording them " +
                               bench::Millis(update.baseline) + "; " + update.Spread()});
    }

    const FullRing receiver;
    const std::string& drive = receiver.drive;
    const bench::Paired first = FirstTransfer(drive, database);
    figures.push_back({"history-first-transfer", first.ratio, 1.1,
                       "with " + std::to_string(imported.added) + " messages in the history " +
                           bench::Millis(first.step) + ", without " + bench::Millis(first.baseline) + "; " +
                           first.Spread()});
    std::filesystem::remove_all(folder);
    return bench::Report(figures);
}
