// SPDX-License-Identifier: GPL-3.0-or-later
// Whatever is typed into the search field (and whatever a message holds) never makes a
// search fail or match more than the messages that hold its words.
#include "fuzz/FuzzSupport.h"
#include "history/HistoryStore.h"
#include "history/Words.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static history::THistoryStore store;
    static int64_t count = [] {
        const std::string path = fuzz::Fresh("history") + history::DatabaseName;
        if (store.OpenForWriting(path, 1796000000) == history::THistoryStore::Outcome::Failed) std::abort();
        store.Record({{518, "FA12", "ZCZC FA12\r\nNEAR GALE 7 \"CABLE\" OPERATIONS\r\nNNNN\r\n", 1796000000},
                      {490, "GA15",
                       "ZCZC GA15\r\nMER AGIT\xC9"
                       "E \x80 ST\xFC"
                       "CK; DROP TABLE\r\nNNNN\r\n",
                       1796000100}},
                     1796000000);
        return store.Count();
    }();
    const std::string typed(reinterpret_cast<const char*>(data), size);
    const history::TSearchResult result = store.Search(typed, {}, 10);
    if (!history::MatchExpression(typed).empty()) FUZZ_CHECK(result.ok);
    FUZZ_CHECK(static_cast<int64_t>(result.total) <= count);
    FUZZ_CHECK(store.Count() == count);
    return 0;
}
