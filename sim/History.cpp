// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/History.h"

#include <limits>
#include <map>

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

namespace {

// The states as they stood at when (only what had been received by then counts), with the
// station of each message.
bool EvaluateAt(const std::string& archive, int64_t when, std::vector<warnings::TWarning>& states,
                std::optional<position::TLatLon> boat = std::nullopt) {
    history::THistoryStore store;
    if (!store.OpenForReading(platform::JoinPath(platform::JoinPath(archive, ""), history::DatabaseName))) {
        std::fprintf(stderr, "zel2sim: no history in %s\n", archive.c_str());
        return false;
    }
    std::vector<history::TStoredMessage> messages;
    if (!store.ForEachMessage(0, [&](const history::TStoredMessage& m) {
            if (m.received <= when) messages.push_back(m);
            return true;
        })) {
        std::fprintf(stderr, "zel2sim: the history could not be read: %s\n", store.LastError().c_str());
        return false;
    }
    states = warnings::Evaluate(std::move(messages), when);
    warnings::NameStations(states, boat);
    return true;
}

// Why it is no longer in force, in words a script can read.
std::string Reason(const warnings::TWarning& w) {
    using S = warnings::TWarning::State;
    using C = warnings::TWarning::Cause;
    switch (w.state) {
        case S::Cancelled:
        case S::NotListed:
            return "by " + w.cancelledBy + " " + Iso8601(w.cancelledAt);
        case S::Superseded:
            return "by " + w.cancelledBy + " " + Iso8601(w.cancelledAt) +
                   (w.cause == C::SameIdentifier ? " (same identifier)" : "");
        case S::Expired:
            return "since " + Iso8601(w.expires) + (w.cause == C::Lifetime ? " (lifetime)" : " (own end)");
        default:
            return {};
    }
}

}  // namespace

int ExportWarningsCommand(const std::string& archive, const std::string& folder, bool all,
                          std::optional<int64_t> at, std::optional<position::TLatLon> boat, FILE* out) {
    std::vector<warnings::TWarning> list;
    if (!EvaluateAt(archive, at.value_or(history::UnixNow()), list, boat)) return 1;
    if (!warnings::WriteExport(platform::JoinPath(folder, ""), list, all, boat)) {
        std::fprintf(stderr, "zel2sim: cannot write into %s\n", folder.c_str());
        return 1;
    }
    size_t placed = 0, subjectA = 0, placedA = 0, exported = 0, shapes = 0, named = 0;
    std::map<warnings::TWarning::State, size_t> states;
    for (const auto& w : list) {
        const bool a = w.name.size() > 1 && w.name[1] == 'A';
        subjectA += a;
        placed += !w.shapes.empty();
        placedA += a && !w.shapes.empty();
        const bool written = !w.shapes.empty() && (all || w.state == warnings::TWarning::State::InForce);
        exported += written;
        shapes += written ? w.shapes.size() : 0;
        ++states[w.state];
        named += w.stationSure;
    }
    using S = warnings::TWarning::State;
    std::fprintf(out,
                 "%zu messages: %zu with positions (subject A: %zu of %zu); %zu written (%zu shapes); %zu in "
                 "force, %zu cancelled, %zu expired, %zu superseded, %zu no longer listed; station named for "
                 "%zu, unsure for %zu\n",
                 list.size(), placed, placedA, subjectA, exported, shapes, states[S::InForce],
                 states[S::Cancelled], states[S::Expired], states[S::Superseded], states[S::NotListed], named,
                 list.size() - named);
    return 0;
}

int InForceCommand(const std::string& archive, std::optional<int64_t> at, FILE* out) {
    std::vector<warnings::TWarning> list;
    if (!EvaluateAt(archive, at.value_or(history::UnixNow()), list)) return 1;
    for (const warnings::TWarning& w : list) {
        const char subject = w.name.size() > 1 ? w.name[1] : '-';
        std::fprintf(out, "%d\t%s\t%s\t%c\t%s\t%s\t%s\n", w.band, w.name.c_str(), Iso8601(w.received).c_str(),
                     subject, warnings::StateName(w.state), Reason(w).c_str(),
                     warnings::StationText(w).c_str());
    }
    return 0;
}

}  // namespace sim
