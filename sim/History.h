// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <string>

namespace sim {

// zel2sim history ARCHIVE import FOLDER | search QUERY: the program's own history code.
int HistoryCommand(const std::string& archive, const std::string& verb, const std::string& argument, FILE* out);

}  // namespace sim
