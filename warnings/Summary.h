// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace warnings {

// The first line of a message that says something (UTF-8 in and out): not the ZCZC line,
// the date-time group, the series number ("NAV. WARN. NO. 288", "WZ 1234") nor the sender
// ("NUC-HAMBURG", "HUMBER COASTGUARD"). The first line left when all are of that kind.
std::string MeaningfulLine(const std::string& text);
// A hash of the message's date-time group among its first lines ("261115 UTC NOV 20",
// whatever the blanks between its words), or 0 when it has none.
uint64_t DateTimeGroupHash(const std::string& text);

}  // namespace warnings
