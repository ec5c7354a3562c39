// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "position/Geodesy.h"

namespace sim {

// zel2sim history ARCHIVE import FOLDER | search QUERY: the program's own history code.
int HistoryCommand(const std::string& archive, const std::string& verb, const std::string& argument,
                   FILE* out);

// zel2sim export-warnings ARCHIVE FOLDER [--all] [--at TIME]: the plotter's files from the
// history as it stood at that time (default now).
int ExportWarningsCommand(const std::string& archive, const std::string& folder, bool all,
                          std::optional<int64_t> at, std::optional<position::TLatLon> boat, FILE* out);

// zel2sim in-force ARCHIVE [--at TIME]: every message of the history with its state as it
// stood at that time (default now), one a line, tab-separated.
int InForceCommand(const std::string& archive, std::optional<int64_t> at, FILE* out);

}  // namespace sim
