// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "history/HistoryStore.h"

namespace history {

struct TImportResult {
    size_t files = 0;    // message files read
    size_t added = 0;    // new to the history
    size_t skipped = 0;  // files whose name is no message identifier, or unreadable
    bool ok = true;      // every batch was written
};

// When a file found in a folder tree was received: a path ending in YYYY/MM/DD gives the
// day (an archive copied elsewhere has lost its file times), and a date-time group
// "DDHHMM UTC" of that day in the text gives the time; otherwise the file's own time.
int64_t ReceptionTime(const std::vector<std::string>& folders, const std::string& bytes, int64_t fileTime);

// Adds every message file under folder (sub-folders too) to the history, in transactions
// of batchSize files, so a kill loses at most one batch and a second run adds the rest.
// A folder named NATIONAL or 490 on the way holds 490 kHz messages; all others 518 kHz.
TImportResult ImportFolder(THistoryStore& store, const std::string& folder, int64_t now,
                           size_t batchSize = 5000);

}  // namespace history
