// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <string>

namespace sim {

// zel2sim history ARCHIVE import FOLDER | search QUERY: the program's own history code.
int HistoryCommand(const std::string& archive, const std::string& verb, const std::string& argument,
                   FILE* out);

// zel2sim export-warnings ARCHIVE FOLDER [--all]: the plotter's files from the history.
int ExportWarningsCommand(const std::string& archive, const std::string& folder, bool all, FILE* out);

}  // namespace sim
