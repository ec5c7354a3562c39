// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "history/HistoryStore.h"
#include "warnings/Warnings.h"

namespace warnings {

// A message of the history as the chart plotter and the tree see it.
struct TWarning {
    enum class State { InForce, Cancelled, Expired };
    int64_t id = 0;
    int band = 518;
    std::string name;
    int64_t received = -1;
    std::string text;  // UTF-8
    std::vector<TShape> shapes;
    State state = State::InForce;
    std::string cancelledBy;  // the identifier of the message that cancelled it
    int64_t cancelledAt = -1;
    int64_t expires = -1;
};
const char* StateName(TWarning::State state);  // "in force", "cancelled", "expired"

// Every message of the history, in the order received, with its shapes and whether a later
// message cancelled it or its own expiry has passed at now.
std::vector<TWarning> Evaluate(const history::THistoryStore& store, int64_t now);
// cancelled: asked now and then; when it says so the result is empty (the program ends).
std::vector<TWarning> Evaluate(std::vector<history::TStoredMessage> messages, int64_t now,
                               const std::function<bool()>& cancelled = {});

// What goes to the plotter: messages with a position, in force ones only unless all.
std::string Gpx(const std::vector<TWarning>& warnings, bool all);
std::string GeoJson(const std::vector<TWarning>& warnings, bool all);

inline constexpr const char* GpxName = "navtex-warnings.gpx";
inline constexpr const char* GeoJsonName = "navtex-warnings.geojson";

// Both files into folder, each replaced whole or not at all.
bool WriteExport(const std::string& folder, const std::vector<TWarning>& warnings, bool all);

std::string Iso8601(int64_t unixSeconds);

}  // namespace warnings
