// SPDX-License-Identifier: GPL-3.0-or-later
#include "warnings/Export.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "common/DateTime.h"
#include "common/Json.h"
#include "common/Windows1252.h"
#include "common/Words.h"
#include "platform/Files.h"
#include "stations/Stations.h"
#include "warnings/Summary.h"

namespace warnings {

const char* StateName(TWarning::State state) {
    switch (state) {
        case TWarning::State::Cancelled:
            return "cancelled";
        case TWarning::State::Expired:
            return "expired";
        case TWarning::State::Superseded:
            return "superseded";
        case TWarning::State::NotListed:
            return "no longer listed";
        default:
            return "in force";
    }
}

int64_t SubjectLifetime(char subject) {
    constexpr int64_t Hour = 3600, Day = 24 * Hour;
    switch (subject) {
        case 'E':
            return 36 * Hour;
        case 'B':
        case 'Z':
            return 24 * Hour;
        case 'C':
            return 8 * Day;
        case 'D':
            return 3 * Day;
        default:
            return 90 * Day;
    }
}

bool RenewedBySubject(char subject) {
    return subject == 'E' || subject == 'B' || subject == 'C' || subject == 'Z';
}

namespace {

constexpr int64_t Day = 86400;
constexpr int64_t SeriesYear = 366 * Day;  // a series number is used again the next year

using State = TWarning::State;
using Cause = TWarning::Cause;

// What another message did to a warning, and which message, when.
void EndBy(TWarning& t, State state, const std::string& by, int64_t at, Cause cause = Cause::None) {
    t.state = state;
    t.cause = cause;
    t.cancelledBy = by;
    t.cancelledAt = at;
}

// A warning in force that a list leaves out, or whose identifier comes again, at a time its
// own end or lifetime had already passed, ended then: the same reason however many messages
// are read between two agings.
void EndLater(TWarning& t, State state, const std::string& by, int64_t at, Cause cause = Cause::None) {
    if (t.expires != -1 && at > t.expires)
        EndBy(t, State::Expired, {}, -1, t.ownEnd ? Cause::OwnEnd : Cause::Lifetime);
    else
        EndBy(t, state, by, at, cause);
}

// B1 letters that two stations share in the corpus, told apart by their messages' words: P
// is both the Netherlands Coastguard and RCC Haifa ("RCC-HAIFA", "HAIFA PORT"). Another
// station's list or forecast never touches these.
std::string RegionOf(const history::TStoredMessage& m) {
    if (!m.name.empty() && m.name[0] == 'P' && m.bytes.find("HAIFA") != std::string::npos) return "HAIFA";
    return {};
}

// "518:P", "518:P/HAIFA": a station.
std::string StationOf(int band, char letter, const std::string& region) {
    std::string key = std::to_string(band) + ":" + letter;
    if (!region.empty()) key += "/" + region;
    return key;
}

// "518:P:A": a station's messages of one subject.
std::string StationKey(const std::string& station, char subject) {
    return station + ":" + subject;
}

// A generic series name is the station's own; a named one ("NAVAREA I", "WZ") is shared by
// every station that repeats it.
std::string SeriesKey(const std::string& station, const std::string& name) {
    return GenericSeries(name) ? station + "|" + name : name;
}

// "518:S|WARNING 534" from "WARNING 534" of station "518:S".
std::string ReferenceKey(const std::string& station, const std::string& reference) {
    const auto [name, number] = SplitSeries(reference);
    return name.empty() ? reference : SeriesKey(station, name) + " " + number;
}

// "518:FA12", "518:PA12/HAIFA": an identifier of station's region where it is its letter.
std::string IdentifierKey(int band, const std::string& id, const std::string& region, char letter) {
    std::string key = std::to_string(band) + ":" + id;
    if (!region.empty() && !id.empty() && id[0] == letter) key += "/" + region;
    return key;
}

// Every word of what in name ("COASTAL" in "UKRAINE COASTAL WARNING").
bool NamesWords(const std::string& name, const std::string& what) {
    std::string padded = " " + name + " ";
    size_t at = 0;
    while (at < what.size()) {
        size_t end = what.find(' ', at);
        if (end == std::string::npos) end = what.size();
        if (!text::HoldsWord(padded, what, at, end - at)) return false;
        at = end + 1;
    }
    return true;
}

bool Named(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

void TEvaluation::Clear() {
    result.clear();
    byIdentifier.clear();
    bySeries.clear();
    newestOfStation.clear();
    areasOfNewest.clear();
    timed.clear();
    inTimed.clear();
    bySeriesName.clear();
    byStationSubject.clear();
    liveOfStationSubject.clear();
    seriesOfStation.clear();
    lastId = 0;
    lastReceived = std::numeric_limits<int64_t>::min();
}

void TEvaluation::Timed(size_t target) {
    if (inTimed[target]) return;
    inTimed[target] = 1;
    timed.push_back(target);
}

void TEvaluation::Add(const history::TStoredMessage& m, bool keepText) {
    TWarning w;
    w.id = m.id;
    w.band = m.band;
    w.name = m.name;
    w.received = m.received;
    if (keepText) {
        w.text = text::Windows1252ToUtf8(m.bytes);
        w.shapes = FindShapes(m.bytes);
    }
    TReferences refs = FindReferences(m.bytes, m.received, ReadingOf(m.name.size() >= 2 ? m.name[1] : '\0'));
    const size_t self = result.size();
    // A quarter more at a time, not twice: the history only grows, and slowly.
    if (result.size() == result.capacity()) result.reserve(result.size() + result.size() / 4 + 64);
    result.push_back(std::move(w));
    inTimed.push_back(0);
    const std::string region = RegionOf(m);
    const char letter = m.name.empty() ? '?' : m.name[0];
    const std::string station = StationOf(m.band, letter, region);
    const auto cancel = [&](size_t target) {
        TWarning& t = result[target];
        if (target != self && t.state != State::Cancelled) EndBy(t, State::Cancelled, m.name, m.received);
    };
    for (const std::string& id : refs.cancelsIds) {
        const auto it = byIdentifier.find(IdentifierKey(m.band, id, region, letter));
        if (it != byIdentifier.end()) cancel(it->second.index);
    }
    for (const std::string& series : refs.cancelsSeries) {
        const std::string key = ReferenceKey(station, series);
        auto it = bySeries.find(key);
        if (it == bySeries.end()) it = bySeries.find(WithoutYear(key));
        if (it == bySeries.end()) continue;
        for (const auto& [target, number] : it->second)
            if (m.received - result[target].received < SeriesYear) cancel(target);
    }
    const std::string ownSeries =
        refs.own.empty() ? std::string() : SeriesKey(station, SplitSeries(refs.own.front()).first);
    for (const TInForceList& list : refs.lists) {
        if (list.ofIdentifiers)
            ApplyIdentifierList(self, list, region);
        else
            ApplyList(self, list, ownSeries, station);
    }
    // A station gives an identifier anew only to a message once the one that had it is no
    // longer in force ("00", the vital messages' number, excepted).
    const auto [known, fresh] =
        byIdentifier.try_emplace(IdentifierKey(m.band, m.name, region, letter), THolder{self, 0, {}});
    THolder& holder = known->second;
    if (!fresh) {
        TWarning& previous = result[holder.index];
        const bool aged = previous.state == State::Expired && !previous.ownEnd;
        if (!(m.name.size() >= 4 && m.name.compare(2, 2, "00") == 0) &&
            (previous.state == State::InForce || aged))
            EndLater(previous, State::Superseded, m.name, m.received, Cause::SameIdentifier);
        holder.index = self;
    }
    if (m.name.size() >= 2) {
        const std::string key = StationKey(station, m.name[1]);
        byStationSubject[key].push_back(self);
        liveOfStationSubject[key].push_back(self);
    }
    // The same broadcast again (its date-time group) with its number unreadable is the same
    // warning: it takes the numbers of the message it repeats, so a list finds the newest.
    const uint64_t dtg = DateTimeGroupHash(m.bytes);
    // (refs.own is not read again.)
    if (!refs.own.empty() || fresh || dtg == 0 || dtg != holder.dtg) holder.own = std::move(refs.own);
    holder.dtg = dtg;
    for (const std::string& series : holder.own) {
        const auto [name, number] = SplitSeries(series);
        if (name.empty()) continue;
        const std::string key = SeriesKey(station, name);
        bySeriesName[key].push_back(self);
        std::vector<std::string>& names = seriesOfStation[station];
        if (!Named(names, key)) names.push_back(key);
        bySeries[key + " " + number].emplace_back(self, number);
        if (WithoutYear(number) != number)
            bySeries[key + " " + WithoutYear(number)].emplace_back(self, number);
    }
    TWarning& added = result[self];
    if (refs.expires) {
        added.expires = *refs.expires;
        added.ownEnd = true;
    }
    Supersede(self, station, refs);
    if (added.expires != -1) Timed(self);
    lastId = std::max(lastId, m.id);
    lastReceived = std::max(lastReceived, m.received);
}

// A station's forecast, gale warning, ice report or "no message" notice replaces its previous
// one of the subject: each states the whole situation (the Dutch, Faroese and Baltic gale
// warnings name every area each time). A previous one whose every area the new one says
// CANCELLED is cancelled; one that only cancels areas ends after its own broadcast. Every
// message without an end of its own lives its subject's lifetime.
void TEvaluation::Supersede(size_t self, const std::string& station, const TReferences& refs) {
    TWarning& w = result[self];
    const char subject = w.name.size() >= 2 ? w.name[1] : '\0';
    const int64_t lifetime = SubjectLifetime(subject);
    if (w.received < 0) return;
    if (w.expires == -1 && lifetime > 0) w.expires = w.received + lifetime;
    if (!RenewedBySubject(subject)) return;
    const auto cancelsAll = [&](const std::vector<std::string>& areas) {
        return !areas.empty() && std::all_of(areas.begin(), areas.end(), [&](const std::string& area) {
            return Named(refs.cancelsAreas, area);
        });
    };
    if (!refs.cancelsAreas.empty() && cancelsAll(refs.areas) && !w.ownEnd) {
        w.expires = w.received + OwnBroadcastSeconds;
        w.ownEnd = true;
    }
    const std::string key = StationKey(station, subject);
    const auto [it, first] = newestOfStation.try_emplace(key, self);
    std::vector<std::string>& areas = areasOfNewest[key];
    if (!first) {
        TWarning& previous = result[it->second];
        if (previous.state == State::InForce || previous.state == State::Expired) {
            if (cancelsAll(areas))
                EndBy(previous, State::Cancelled, w.name, w.received);
            else
                EndBy(previous, State::Superseded, w.name, w.received, Cause::NextOfStation);
        }
        it->second = self;
    }
    areas = refs.areas;
}

// In force again: a list of what is in force names it, whatever a misread cancellation, an
// earlier list or its lifetime said; its lifetime counts from the list. Its own end and the
// next message of its station stand.
void TEvaluation::Restore(size_t target, int64_t at) {
    TWarning& t = result[target];
    const bool ended = t.state == State::Cancelled || t.state == State::NotListed ||
                       (t.state == State::Superseded && t.cause == Cause::SameIdentifier) ||
                       (t.state == State::Expired && !t.ownEnd) || t.state == State::InForce;
    if (!ended) return;
    t.state = State::InForce;
    t.cause = Cause::None;
    t.cancelledBy.clear();
    t.cancelledAt = -1;
    const char subject = t.name.size() >= 2 ? t.name[1] : '\0';
    if (!t.ownEnd && SubjectLifetime(subject) > 0) {
        t.expires = std::max(t.expires, at + SubjectLifetime(subject));
        Timed(target);
    }
}

// The series a list speaks of: the one it names, or one of its station's whose name holds
// the list's words ("COASTAL WARNINGS IN FORCE" of "UKRAINE COASTAL WARNING"), or a named
// series of any station that does, or else the list's own series.
std::string TEvaluation::ListSeriesKey(const TInForceList& list, const std::string& ownSeries,
                                       const std::string& station) const {
    if (list.series.empty()) return ownSeries;
    const std::string named = SeriesKey(station, list.series);
    if (bySeriesName.count(named) != 0) return named;
    // The one series whose name holds the words, empty for none or several.
    std::string found;
    bool several = false;
    const auto consider = [&](const std::string& key) {
        const size_t bar = key.find('|');
        if (!NamesWords(bar == std::string::npos ? key : key.substr(bar + 1), list.series) || key == found)
            return;
        several = several || !found.empty();
        found = key;
    };
    if (const auto it = seriesOfStation.find(station); it != seriesOfStation.end())
        for (const std::string& key : it->second) consider(key);
    if (!found.empty()) return several ? ownSeries : found;
    for (const auto& [key, messages] : bySeriesName)
        if (key.find('|') == std::string::npos) consider(key);
    return !found.empty() && !several ? found : ownSeries;
}

// A newer list of a series is the authority on it: what came before and is not on it is no
// longer in force, what it names is in force. A number without a year names the one of the
// last year.
void TEvaluation::ApplyList(size_t self, const TInForceList& list, const std::string& ownSeries,
                            const std::string& station) {
    const TWarning& m = result[self];
    const std::string key = ListSeriesKey(list, ownSeries, station);
    const auto it = bySeriesName.find(key);
    if (it == bySeriesName.end()) return;
    // "719" names 719 of any year within the year before the list, "719/20" names only that one.
    std::unordered_set<std::string> exact, yearless, bare;
    for (const std::string& n : list.numbers) {
        (n.find('/') == std::string::npos ? yearless : exact).insert(n);
        bare.insert(WithoutYear(n));
    }
    std::vector<size_t> named;
    for (const std::string& b : bare) {
        const auto same = bySeries.find(key + " " + b);
        if (same == bySeries.end()) continue;
        // A number is one warning: of its broadcasts received again and again, the newest.
        std::optional<size_t> newest;
        for (const auto& [target, number] : same->second) {
            if (target == self) continue;
            const bool recent = m.received - result[target].received < SeriesYear;
            const bool withYear = number.find('/') != std::string::npos;
            if ((exact.count(number) != 0 || (recent && yearless.count(b) != 0) ||
                 (recent && !withYear &&
                  std::any_of(exact.begin(), exact.end(),
                              [&](const std::string& n) { return WithoutYear(n) == b; }))) &&
                (!newest || result[target].received >= result[*newest].received))
                newest = target;
        }
        if (newest) named.push_back(*newest);
    }
    Settle(self, it->second, std::move(named));
}

// What a list decides of what may be in force (live): what it names is in force, the rest no
// longer listed; from now on only what it named may be, with what comes after it.
void TEvaluation::Settle(size_t self, std::vector<size_t>& live, std::vector<size_t> named) {
    const TWarning& m = result[self];
    std::sort(named.begin(), named.end());
    named.erase(std::unique(named.begin(), named.end()), named.end());
    for (const size_t target : live)
        if (target != self && result[target].state == State::InForce &&
            !std::binary_search(named.begin(), named.end(), target))
            EndLater(result[target], State::NotListed, m.name, m.received);
    for (const size_t target : named) Restore(target, m.received);
    live = std::move(named);
}

// A list of identifiers speaks for the stations and subjects it names. An identifier without
// its day names the newest message of it; one with its day the message of that day.
void TEvaluation::ApplyIdentifierList(size_t self, const TInForceList& list, const std::string& region) {
    const TWarning& m = result[self];
    const char letter = m.name.empty() ? '?' : m.name[0];
    std::map<std::string, std::vector<size_t>> named;  // by station and subject
    for (const auto& [id, day] : list.ids) {
        const std::string key = StationKey(StationOf(m.band, id[0], id[0] == letter ? region : ""), id[1]);
        std::vector<size_t>& found = named[key];
        if (day == -1) {
            const auto it = byIdentifier.find(IdentifierKey(m.band, id, region, letter));
            if (it != byIdentifier.end() && it->second.index != self) found.push_back(it->second.index);
            continue;
        }
        const auto all = byStationSubject.find(key);
        if (all == byStationSubject.end()) continue;
        // In the order received: the day's messages lie together.
        auto at = std::lower_bound(all->second.begin(), all->second.end(), day - Day,
                                   [&](size_t target, int64_t t) { return result[target].received < t; });
        for (; at != all->second.end() && result[*at].received < day + 2 * Day; ++at)
            if (result[*at].name == id && *at != self) found.push_back(*at);
    }
    for (auto& [key, found] : named)
        if (const auto live = liveOfStationSubject.find(key); live != liveOfStationSubject.end())
            Settle(self, live->second, std::move(found));
}

// Only what has an end can change with the time; what another message ended stays ended and
// leaves the list.
bool TEvaluation::Age(int64_t now) {
    size_t kept = 0;
    bool changed = false;
    for (const size_t i : timed) {
        TWarning& w = result[i];
        const bool aged =
            w.state == State::Expired && (w.cause == Cause::OwnEnd || w.cause == Cause::Lifetime);
        if (w.state != State::InForce && !aged) {
            inTimed[i] = 0;
            continue;
        }
        const State state = now > w.expires ? State::Expired : State::InForce;
        changed = changed || state != w.state;
        w.state = state;
        w.cause = state == State::InForce ? Cause::None : w.ownEnd ? Cause::OwnEnd : Cause::Lifetime;
        timed[kept++] = i;
    }
    timed.resize(kept);
    return changed;
}

bool TEvaluation::Update(const history::THistoryStore& store, int64_t now, bool* changed) {
    // What came since is read in the order received; a message received before one already
    // evaluated (an import of older files) changes what came after it: then all anew.
    bool inOrder = true;
    size_t seen = 0;
    const auto add = [&](const history::TStoredMessage& m) {
        if (++seen % 64 == 0 && store.Cancelled()) return false;
        if (m.received < lastReceived) {
            inOrder = false;
            return false;
        }
        Add(m, false);
        return true;
    };
    const size_t before = result.size();
    if (result.empty()) {
        // The whole history at once: no table grows step by step.
        const size_t count = static_cast<size_t>(std::max<int64_t>(store.Count(), 0));
        result.reserve(count + 64);
        inTimed.reserve(count + 64);
        bySeries.reserve(count);
        byIdentifier.reserve(count / 2);
    }
    bool read = store.ForEachMessage(lastId, add);
    if (!inOrder) {
        Clear();
        result.reserve(static_cast<size_t>(store.Count()) + 64);
        read = store.ForEachMessage(0, add);
    }
    if (!read || store.Cancelled()) {
        if (result.size() != before) Clear();  // half read: the next update starts over
        return false;
    }
    const bool aged = Age(now);
    if (changed) *changed = aged || !inOrder || result.size() != before;
    return true;
}

size_t TEvaluation::MemoryBytes() const {
    size_t bytes =
        result.capacity() * sizeof(TWarning) + inTimed.capacity() + timed.capacity() * sizeof(size_t);
    for (const TWarning& w : result) {
        bytes += w.text.capacity() + w.shapes.capacity() * sizeof(TShape);
        for (const TShape& shape : w.shapes) bytes += shape.points.capacity() * sizeof(TPosition);
    }
    for (const auto& [key, targets] : bySeries)
        bytes += key.capacity() + 64 + targets.capacity() * sizeof(targets[0]);
    bytes += byIdentifier.size() * 80;
    for (const auto& [key, holder] : byIdentifier)
        for (const std::string& own : holder.own) bytes += sizeof(own) + own.capacity();
    return bytes;
}

namespace {

std::vector<position::TLatLon> Points(const std::vector<TShape>& shapes) {
    std::vector<position::TLatLon> places;
    for (const TShape& shape : shapes)
        for (const TPosition& p : shape.points) places.push_back({p.latitude, p.longitude});
    return places;
}

}  // namespace

void NameStations(std::vector<TWarning>& warnings, std::optional<position::TLatLon> boat) {
    stations::TResolver resolver;
    for (const TWarning& w : warnings)
        if (!w.text.empty()) resolver.Learn(w.band, w.name, w.text, Points(w.shapes));
    for (TWarning& w : warnings) {
        if (w.text.empty()) continue;
        const stations::TChoice choice = resolver.Choose(w.band, w.name, w.text, Points(w.shapes), boat);
        w.stationSure = choice.sure && choice.station;
        if (w.stationSure) {
            w.station = stations::Label(*choice.station);
            continue;
        }
        w.station.clear();
        for (const stations::TStation* s : choice.candidates)
            w.station += (w.station.empty() ? "" : " / ") + stations::Label(*s);
    }
}

std::string StationText(const TWarning& w) {
    if (w.stationSure || w.station.empty()) return w.station;
    return "? " + w.station;
}

void FillTexts(const history::THistoryStore& store, std::vector<TWarning>& warnings, bool withShapesOnly) {
    history::TStoredMessage message;
    for (TWarning& w : warnings) {
        if (!w.text.empty() || !store.Message(w.id, message)) continue;
        w.shapes = FindShapes(message.bytes);
        if (!withShapesOnly || !w.shapes.empty()) w.text = text::Windows1252ToUtf8(message.bytes);
    }
}

std::vector<TWarning> Evaluate(const history::THistoryStore& store, int64_t now) {
    TEvaluation evaluation;
    if (!evaluation.Update(store, now)) return {};
    std::vector<TWarning> all = std::move(evaluation.Warnings());
    std::vector<TWarning> inForce;
    for (const TWarning& w : all)
        if (w.state == TWarning::State::InForce) inForce.push_back(w);
    FillTexts(store, inForce, true);
    size_t next = 0;
    for (TWarning& w : all)
        if (w.state == TWarning::State::InForce) w = std::move(inForce[next++]);
    return all;
}

std::vector<TWarning> Evaluate(std::vector<history::TStoredMessage> messages, int64_t now,
                               const std::function<bool()>& cancelled) {
    std::stable_sort(messages.begin(), messages.end(),
                     [](const auto& a, const auto& b) { return a.received < b.received; });
    TEvaluation evaluation;
    size_t count = 0;
    for (const history::TStoredMessage& m : messages) {
        if (cancelled && count++ % 64 == 0 && cancelled()) return {};
        evaluation.Add(m, true);
    }
    evaluation.Age(now);
    return std::move(evaluation.Warnings());
}

namespace {

std::string Xml(const std::string& s) {
    std::string out;
    for (unsigned char c : s) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            default:
                // XML 1.0 allows no other control character.
                if (c >= 0x20 || c == '\t' || c == '\n')
                    out += static_cast<char>(c);
                else if (c == '\r')
                    continue;
                else
                    out += ' ';
        }
    }
    return out;
}

std::string Coordinate(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", v);
    return text;
}

// "<B1B2B3B4> <first words>": the identifier and the start of its first line after ZCZC.
std::string Title(const TWarning& w) {
    // The first line after ZCZC that is not a date-time group.
    std::string line;
    size_t at = 0;
    while (at < w.text.size()) {
        size_t end = w.text.find_first_of("\r\n", at);
        if (end == std::string::npos) end = w.text.size();
        const std::string candidate = w.text.substr(at, end - at);
        at = end + 1;
        if (candidate.empty() || candidate.compare(0, 4, "ZCZC") == 0 ||
            (candidate[0] >= '0' && candidate[0] <= '9'))
            continue;
        line = candidate;
        break;
    }
    std::string words;
    int count = 0;
    for (size_t i = 0; i < line.size() && count < 5;) {
        const size_t end = std::min(line.find(' ', i), line.size());
        if (end > i) {
            words += (words.empty() ? "" : " ") + line.substr(i, end - i);
            ++count;
        }
        i = end + 1;
    }
    return w.name + (words.empty() ? "" : " " + words);
}

bool Exported(const TWarning& w, bool all) {
    return !w.shapes.empty() && (all || w.state == TWarning::State::InForce);
}

}  // namespace

std::string Gpx(const std::vector<TWarning>& warnings, bool all) {
    std::string waypoints, routes;
    for (auto it = warnings.rbegin(); it != warnings.rend(); ++it) {
        const TWarning& w = *it;
        if (!Exported(w, all)) continue;
        const std::string name = Xml(Title(w));
        std::string desc = w.text;
        if (w.state != TWarning::State::InForce) desc = std::string(StateName(w.state)) + ". " + desc;
        for (const TShape& shape : w.shapes) {
            if (shape.kind == TShape::Kind::Point || shape.kind == TShape::Kind::Circle) {
                const TPosition& p = shape.points.front();
                std::string text = desc;
                if (shape.kind == TShape::Kind::Circle) {
                    char radius[64];
                    std::snprintf(radius, sizeof radius, "Radius %g NM. ", shape.radiusNm);
                    text = radius + text;
                }
                waypoints += "  <wpt lat=\"" + Coordinate(p.latitude) + "\" lon=\"" +
                             Coordinate(p.longitude) + "\">\n    <time>" +
                             datetime::Iso8601Utc(std::max<int64_t>(w.received, 0)) + "</time>\n    <name>" +
                             name + "</name>\n    <desc>" + Xml(text) + "</desc>\n  </wpt>\n";
                continue;
            }
            routes += "  <rte>\n    <name>" + name + "</name>\n    <desc>" + Xml(desc) + "</desc>\n";
            std::vector<TPosition> points = shape.points;
            if (shape.kind == TShape::Kind::Polygon) points.push_back(points.front());  // closed
            for (const TPosition& p : points)
                routes += "    <rtept lat=\"" + Coordinate(p.latitude) + "\" lon=\"" +
                          Coordinate(p.longitude) + "\"/>\n";
            routes += "  </rte>\n";
        }
    }
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<gpx version=\"1.1\" creator=\"zel2\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n" +
           waypoints + routes + "</gpx>\n";
}

std::string GeoJson(const std::vector<TWarning>& warnings, bool all, std::optional<position::TLatLon> boat) {
    std::string features;
    for (auto it = warnings.rbegin(); it != warnings.rend(); ++it) {
        const TWarning& w = *it;
        if (!Exported(w, all)) continue;
        for (const TShape& shape : w.shapes) {
            const auto point = [](const TPosition& p) {
                return "[" + Coordinate(p.longitude) + ", " + Coordinate(p.latitude) + "]";
            };
            std::string geometry;
            if (shape.kind == TShape::Kind::Point || shape.kind == TShape::Kind::Circle) {
                geometry = "{\"type\": \"Point\", \"coordinates\": " + point(shape.points.front()) + "}";
            } else {
                std::vector<TPosition> points = shape.points;
                if (shape.kind == TShape::Kind::Polygon) points.push_back(points.front());
                std::string list;
                for (const TPosition& p : points) list += (list.empty() ? "" : ", ") + point(p);
                geometry = shape.kind == TShape::Kind::Polygon
                               ? "{\"type\": \"Polygon\", \"coordinates\": [[" + list + "]]}"
                               : "{\"type\": \"LineString\", \"coordinates\": [" + list + "]}";
            }
            std::string properties =
                "\"id\": " + json::Quote(w.name) + ", \"band\": " + std::to_string(w.band) +
                ", \"file\": " + json::Quote(w.name) + ", \"received\": " +
                (w.received < 0 ? std::string("null") : json::Quote(datetime::Iso8601Utc(w.received))) +
                ", \"state\": " + json::Quote(StateName(w.state)) +
                ", \"shape\": " + json::Quote(KindName(shape.kind));
            if (shape.kind == TShape::Kind::Circle) {
                char radius[32];
                std::snprintf(radius, sizeof radius, "%g", shape.radiusNm);
                properties += std::string(", \"radius_nm\": ") + radius;
            }
            if (w.state == TWarning::State::Cancelled)
                properties += ", \"cancelled_by\": " + json::Quote(w.cancelledBy);
            if (w.state == TWarning::State::Superseded)
                properties += ", \"superseded_by\": " + json::Quote(w.cancelledBy);
            if (w.state == TWarning::State::NotListed)
                properties += ", \"not_listed_by\": " + json::Quote(w.cancelledBy);
            properties += ", \"station\": " + (w.stationSure ? json::Quote(w.station) : std::string("null"));
            if (boat) {
                // Of the whole warning, not of this one shape: how far the warning lies.
                if (const auto range = RangeTo(*boat, w.shapes)) {
                    char figures[64];
                    std::snprintf(figures, sizeof figures, ", \"distance_nm\": %.1f, \"bearing_deg\": %.0f",
                                  range->distanceNm, range->bearingDeg);
                    properties += figures;
                }
            }
            properties += ", \"text\": " + json::Quote(w.text);
            features += std::string(features.empty() ? "" : ",\n") +
                        "    {\"type\": \"Feature\", \"geometry\": " + geometry + ", \"properties\": {" +
                        properties + "}}";
        }
    }
    return "{\n  \"type\": \"FeatureCollection\",\n  \"features\": [\n" + features + "\n  ]\n}\n";
}

ExportProblem CheckExportFolder(const std::string& folder, bool wholePathOnly) {
    if (wholePathOnly && !platform::IsAbsolutePath(folder)) return ExportProblem::Relative;
    if (!platform::FolderExistsAsNamed(folder))
        return platform::FileExists(folder) && !platform::FolderExists(folder) ? ExportProblem::NotAFolder
                                                                               : ExportProblem::Missing;
    return ExportProblem::None;
}

ExportProblem WriteExportChecked(const std::string& folder, const std::vector<TWarning>& warnings, bool all,
                                 bool wholePathOnly, std::optional<position::TLatLon> boat) {
    if (const ExportProblem problem = CheckExportFolder(folder, wholePathOnly);
        problem != ExportProblem::None)
        return problem;
    const std::string gpx = Gpx(warnings, all), geojson = GeoJson(warnings, all, boat);
    const bool written =
        platform::WriteFileAtomic(platform::JoinPath(folder, GpxName), gpx.data(), gpx.size()) &&
        platform::WriteFileAtomic(platform::JoinPath(folder, GeoJsonName), geojson.data(), geojson.size());
    return written ? ExportProblem::None : ExportProblem::Unwritable;
}

bool WriteExport(const std::string& folder, const std::vector<TWarning>& warnings, bool all,
                 std::optional<position::TLatLon> boat) {
    return WriteExportChecked(folder, warnings, all, false, boat) == ExportProblem::None;
}

}  // namespace warnings
