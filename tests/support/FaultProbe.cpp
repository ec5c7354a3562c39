// SPDX-License-Identifier: GPL-3.0-or-later
// Does one of the program's writing jobs over and over, for tests that kill it at random
// moments or run it out of disk space:
//   zel2faultprobe save ARCHIVE [GENERATION]   saves state sets of generation 1, 2, ...
//                                               (or the one given, once: exit 0 if saved)
//   zel2faultprobe save ARCHIVE --ready FILE    the same, and after the first save writes
//                                               into FILE how long it took, in microseconds
//   zel2faultprobe transfer MODEL DRIVE ARCHIVE copies the receiver's messages again and again
//   zel2faultprobe history ARCHIVE FOLDER       imports FOLDER into the history, in small
//                                               batches, again and again
#include <chrono>
#include <cstdlib>
#include <string>

#include "acquisition/AcquisitionState.h"
#include "acquisition/MessageTransfer.h"
#include "history/Import.h"
#include "platform/Files.h"
#include "platform/Signals.h"
#include "receiver/StateFiles.h"
#include "support/FaultState.h"

int main(int argc, char* argv[]) {
    // As the program starts: a file-size limit must fail writes, not kill the process.
    platform::InstallTerminationRequest();
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "save" && (argc == 3 || argc == 4 || (argc == 5 && std::string(argv[3]) == "--ready"))) {
        const std::string archive = argv[2];
        const std::string ready = argc == 5 ? argv[4] : "";
        if (argc == 4) {
            TAcquisitionState state;
            TReadMarkList marks;
            testing_support::FillGeneration(std::atoi(argv[3]), state, marks);
            return receiver::SaveLocalCopies(archive, state, marks) ? 0 : 1;
        }
        for (int generation = 1; generation < 1000000; ++generation) {
            TAcquisitionState state;
            TReadMarkList marks;
            testing_support::FillGeneration(generation, state, marks);
            const auto start = std::chrono::steady_clock::now();
            receiver::SaveLocalCopies(archive, state, marks);
            if (generation == 1 && !ready.empty()) {
                const auto took = std::chrono::duration_cast<std::chrono::microseconds>(
                    std::chrono::steady_clock::now() - start);
                const std::string text = std::to_string(took.count());
                platform::WriteFileAtomic(ready, text.data(), text.size());
            }
        }
        return 0;
    }
    if (mode == "transfer" && argc == 5) {
        const std::string model = argv[2], drive = argv[3], archive = argv[4];
        for (int round = 0; round < 100000; ++round) {
            TAcquisitionState state;
            if (model == "ZEL2D") {
                acquisition::EmptyArchive(archive);
                acquisition::WriteModelDMessages(drive, archive, state);
            } else {
                acquisition::CopyMessageFiles(drive, archive, state);
            }
        }
        return 0;
    }
    if (mode == "history" && argc == 4) {
        history::THistoryStore store;
        if (store.OpenForWriting(platform::JoinPath(platform::JoinPath(argv[2], ""), history::DatabaseName),
                                 0) == history::THistoryStore::Outcome::Failed)
            return 1;
        for (int round = 0; round < 100000; ++round) history::ImportFolder(store, argv[3], round, 100);
        return 0;
    }
    return 2;
}
