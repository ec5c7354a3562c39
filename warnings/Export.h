// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "history/HistoryStore.h"
#include "warnings/Warnings.h"

namespace warnings {

// A message of the history as the chart plotter and the tree see it.
struct TWarning {
    // Expired: past the end it gave itself, or past the lifetime of its subject. Superseded:
    // a newer forecast, gale warning or ice report of the same station replaced it.
    // NotListed: a later list of what is in force for its series or station leaves it out.
    enum class State { InForce, Cancelled, Expired, Superseded, NotListed };
    // What the state alone does not say: an end of its own or its subject's lifetime
    // (Expired); the station's next message of the subject or its identifier given to a newer
    // message (Superseded).
    enum class Cause : uint8_t { None, OwnEnd, Lifetime, NextOfStation, SameIdentifier };
    int64_t id = 0;
    int band = 518;
    std::string name;
    int64_t received = -1;
    std::string text;  // UTF-8
    std::vector<TShape> shapes;
    State state = State::InForce;
    Cause cause = Cause::None;
    bool ownEnd = false;      // expires is the end its text gives, not its subject's lifetime
    std::string cancelledBy;  // the identifier of the message that cancelled, superseded or left it out
    int64_t cancelledAt = -1;
    int64_t expires = -1;
    // Who sent it (NameStations): "Niton (GB)"; where unsure, the candidates.
    std::string station;
    bool stationSure = false;
};
// "in force", "cancelled", "expired", "superseded", "no longer listed"
const char* StateName(TWarning::State state);

// How long a message of this subject stays in force when nothing ends it (seconds): from its
// reception, or from the last list of what is in force that named it. Measured on the
// corpus (docs/DESIGN.md): forecasts (E) 36 h, gale warnings (B) and "no message" notices
// (Z) 24 h, ice reports (C) 8 days, search and rescue (D) 3 days, every other subject 90 days.
int64_t SubjectLifetime(char subject);
// The subjects whose next message of a station replaces its previous one.
bool RenewedBySubject(char subject);

// The states of the history's messages, brought up to date as messages come: only what was
// added since the last update is read and evaluated, and each message keeps no text (the
// store has them), so a large history costs neither a whole reading per transfer nor memory.
class TEvaluation {
public:
    // Reads what the store added since the last call (everything, the first time or after
    // an import of older messages) and ages the states to now. False when cancelled;
    // changed, where given, says whether a message came or a state changed.
    bool Update(const history::THistoryStore& store, int64_t now, bool* changed = nullptr);
    // A message after every message added so far (received no earlier); keepText keeps its
    // text and its shapes (without, FillTexts reads them for the messages that need them).
    void Add(const history::TStoredMessage& message, bool keepText);
    // Expired or in force again by now; a cancellation stays. True when a state changed.
    bool Age(int64_t now);
    void Clear();
    const std::vector<TWarning>& Warnings() const { return result; }
    std::vector<TWarning>& Warnings() { return result; }
    // Bytes held, roughly (benchmarks).
    size_t MemoryBytes() const;

private:
    // station: "518:P", or "518:P/HAIFA" where two stations share a letter.
    void Supersede(size_t self, const std::string& station, const TReferences& refs);
    void ApplyList(size_t self, const TInForceList& list, const std::string& ownSeries,
                   const std::string& station);
    void ApplyIdentifierList(size_t self, const TInForceList& list, const std::string& region);
    std::string ListSeriesKey(const TInForceList& list, const std::string& ownSeries,
                              const std::string& station) const;
    void Restore(size_t target, int64_t at);
    void Settle(size_t self, std::vector<size_t>& live, std::vector<size_t> named);
    void Timed(size_t target);

    std::vector<TWarning> result;
    // The messages known by each reference: "518:FA12" for an identifier on a band (the
    // newest only: identifiers come round again within days), the series numbers with and
    // without their year (every station repeating the warning), each with the number as the
    // message writes it. A generic series is its station's: "518:S|WARNING 534".
    // With the identifier, the date-time group (hashed) and own numbers of the message that
    // holds it: a repeat whose number came in garbled is known by its date-time group.
    struct THolder {
        size_t index;
        uint64_t dtg = 0;
        std::vector<std::string> own;
    };
    std::unordered_map<std::string, THolder> byIdentifier;
    std::unordered_map<std::string, std::vector<std::pair<size_t, std::string>>> bySeries;
    // The newest forecast, gale warning and ice report of each station ("518:P:B"), and the
    // areas it speaks of.
    std::unordered_map<std::string, size_t> newestOfStation;
    std::unordered_map<std::string, std::vector<std::string>> areasOfNewest;
    std::vector<size_t> timed;     // those with an end, not ended by another message
    std::vector<uint8_t> inTimed;  // by message: whether it is in timed
    // By series ("NAVAREA I"), the messages that may be in force: those received since its
    // last list and those the list named (a list reaches these, not the whole series). By
    // band, station and subject ("518:H:A"), every message. The series of each station.
    std::unordered_map<std::string, std::vector<size_t>> bySeriesName;
    std::unordered_map<std::string, std::vector<size_t>> byStationSubject, liveOfStationSubject;
    std::unordered_map<std::string, std::vector<std::string>> seriesOfStation;
    int64_t lastId = 0;
    int64_t lastReceived = std::numeric_limits<int64_t>::min();
};

// Fills the texts and shapes of these warnings from the store (those TEvaluation did not
// keep); where withShapesOnly, the texts of those with positions only (what the plotter's
// files carry).
void FillTexts(const history::THistoryStore& store, std::vector<TWarning>& warnings,
               bool withShapesOnly = false);

// Every message of the history, in the order received, with its state at now; the shapes,
// and the texts of those with shapes, of what is in force (what the plotter gets).
std::vector<TWarning> Evaluate(const history::THistoryStore& store, int64_t now);
// The same with every text and shape. cancelled: asked now and then; when it says so the
// result is empty (the program ends).
std::vector<TWarning> Evaluate(std::vector<history::TStoredMessage> messages, int64_t now,
                               const std::function<bool()>& cancelled = {});

// The station of each message with its text: what the history's messages say of their
// letters is learnt first; the boat chooses where nothing else does.
void NameStations(std::vector<TWarning>& warnings, std::optional<position::TLatLon> boat = std::nullopt);
// "? Netherlands Coastguard (NL) / Haifa (IL)" where the station is unsure.
std::string StationText(const TWarning& warning);

// What goes to the plotter: messages with a position, in force ones only unless all; with
// the boat's position, each one's distance and bearing from it.
std::string Gpx(const std::vector<TWarning>& warnings, bool all);
std::string GeoJson(const std::vector<TWarning>& warnings, bool all,
                    std::optional<position::TLatLon> boat = std::nullopt);

inline constexpr const char* GpxName = "navtex-warnings.gpx";
inline constexpr const char* GeoJsonName = "navtex-warnings.geojson";

// Whether the plotter's files can go into folder, exactly as named: a folder the settings
// name must be a whole path (a relative one would land wherever the program was started),
// and a folder named in other letters is not the one named.
enum class ExportProblem { None, Relative, Missing, NotAFolder, Unwritable };
ExportProblem CheckExportFolder(const std::string& folder, bool wholePathOnly);

// Both files into folder, each replaced whole or not at all.
bool WriteExport(const std::string& folder, const std::vector<TWarning>& warnings, bool all,
                 std::optional<position::TLatLon> boat = std::nullopt);
ExportProblem WriteExportChecked(const std::string& folder, const std::vector<TWarning>& warnings, bool all,
                                 bool wholePathOnly, std::optional<position::TLatLon> boat = std::nullopt);

std::string Iso8601(int64_t unixSeconds);

}  // namespace warnings
