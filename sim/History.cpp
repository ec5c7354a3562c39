// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/History.h"

#include <limits>

#include "common/DateTime.h"
#include "history/HistoryStore.h"
#include "history/Import.h"
#include "history/MessageText.h"
#include "history/Words.h"
#include "platform/Files.h"
#include "warnings/Export.h"

namespace sim {
namespace {

std::string Iso8601(int64_t seconds) {
    return seconds < 0 ? "-" : datetime::Iso8601Utc(seconds);
}

}  // namespace

int HistoryCommand(const std::string& archive, const std::string& verb, const std::string& argument,
                   FILE* out) {
    const std::string path = platform::JoinPath(platform::JoinPath(archive, ""), history::DatabaseName);
    history::THistoryStore store;
    const int64_t now = history::UnixNow();
    if (verb == "import") {
        std::string aside;
        const auto outcome = store.OpenForWriting(path, now, &aside);
        if (outcome == history::THistoryStore::Outcome::Busy) {
            std::fprintf(stderr, "zel2sim: %s is being written by another program; try again\n",
                         path.c_str());
            return 1;
        }
        if (outcome == history::THistoryStore::Outcome::Failed) {
            std::fprintf(stderr, "zel2sim: cannot open %s: %s\n", path.c_str(), store.LastError().c_str());
            return 1;
        }
        if (outcome == history::THistoryStore::Outcome::SetAside)
            std::fprintf(stderr, "zel2sim: the damaged history was set aside as %s\n", aside.c_str());
        const history::TImportResult result = history::ImportFolder(store, argument, now);
        std::fprintf(out, "%zu files read, %zu new, %zu skipped\n", result.files, result.added,
                     result.skipped);
        if (!result.ok) {
            std::fprintf(stderr, "zel2sim: not everything could be imported from %s: %s\n", argument.c_str(),
                         store.LastError().c_str());
            return 1;
        }
        return 0;
    }
    if (verb == "search") {
        if (!store.OpenForReading(path)) {
            std::fprintf(stderr, "zel2sim: no history in %s\n", archive.c_str());
            return 1;
        }
        history::TSearchResult result =
            store.Search(argument, history::TFilter{}, std::numeric_limits<size_t>::max());
        if (!result.ok && !history::MatchExpression(argument).empty()) {
            std::fprintf(stderr, "zel2sim: the search failed: %s\n", store.LastError().c_str());
            return 1;
        }
        store.FillFirstLines(result.hits);
        for (const history::THit& hit : result.hits)
            std::fprintf(out, "%d %s %s %s\n", hit.band, hit.name.c_str(), Iso8601(hit.received).c_str(),
                         hit.firstLine.c_str());
        return 0;
    }
    return 2;
}

int ExportWarningsCommand(const std::string& archive, const std::string& folder, bool all, FILE* out) {
    history::THistoryStore store;
    if (!store.OpenForReading(platform::JoinPath(platform::JoinPath(archive, ""), history::DatabaseName))) {
        std::fprintf(stderr, "zel2sim: no history in %s\n", archive.c_str());
        return 1;
    }
    const auto list = warnings::Evaluate(store, history::UnixNow());
    if (!warnings::WriteExport(platform::JoinPath(folder, ""), list, all)) {
        std::fprintf(stderr, "zel2sim: cannot write into %s\n", folder.c_str());
        return 1;
    }
    size_t placed = 0, subjectA = 0, placedA = 0, cancelled = 0, expired = 0, superseded = 0, unlisted = 0,
           shapes = 0;
    for (const auto& w : list) {
        const bool a = w.name.size() > 1 && w.name[1] == 'A';
        subjectA += a;
        placed += !w.shapes.empty();
        placedA += a && !w.shapes.empty();
        shapes += w.shapes.size();
        cancelled += w.state == warnings::TWarning::State::Cancelled;
        expired += w.state == warnings::TWarning::State::Expired;
        superseded += w.state == warnings::TWarning::State::Superseded;
        unlisted += w.state == warnings::TWarning::State::NotListed;
    }
    std::fprintf(out,
                 "%zu messages: %zu with positions (%zu shapes); subject A: %zu of %zu; %zu cancelled, %zu "
                 "expired, %zu "
                 "superseded, %zu no longer listed\n",
                 list.size(), placed, shapes, placedA, subjectA, cancelled, expired, superseded, unlisted);
    return 0;
}

int InForceCommand(const std::string& archive, std::optional<int64_t> at, FILE* out) {
    history::THistoryStore store;
    if (!store.OpenForReading(platform::JoinPath(platform::JoinPath(archive, ""), history::DatabaseName))) {
        std::fprintf(stderr, "zel2sim: no history in %s\n", archive.c_str());
        return 1;
    }
    // As it stood then: only what had been received by that time counts.
    const int64_t when = at.value_or(history::UnixNow());
    std::vector<history::TStoredMessage> messages;
    if (!store.ForEachMessage(0, [&](const history::TStoredMessage& m) {
            if (m.received <= when) messages.push_back(m);
            return true;
        })) {
        std::fprintf(stderr, "zel2sim: the history could not be read: %s\n", store.LastError().c_str());
        return 1;
    }
    for (const warnings::TWarning& w : warnings::Evaluate(std::move(messages), when)) {
        std::string reason;
        if (w.state == warnings::TWarning::State::Cancelled ||
            w.state == warnings::TWarning::State::Superseded ||
            w.state == warnings::TWarning::State::NotListed)
            reason = "by " + w.cancelledBy + " " + Iso8601(w.cancelledAt);
        else if (w.state == warnings::TWarning::State::Expired)
            reason = "since " + Iso8601(w.expires);
        const char subject = w.name.size() > 1 ? w.name[1] : '-';
        std::fprintf(out, "%d\t%s\t%s\t%c\t%s\t%s\n", w.band, w.name.c_str(), Iso8601(w.received).c_str(),
                     subject, warnings::StateName(w.state), reason.c_str());
    }
    return 0;
}

}  // namespace sim
