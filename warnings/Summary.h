// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace warnings {

// The first line of a message that says something (UTF-8 in and out): not the ZCZC line,
// the date-time group, the series number ("NAV. WARN. NO. 288", "WZ 1234") nor the sender
// ("NUC-HAMBURG", "HUMBER COASTGUARD"). The first line left when all are of that kind.
std::string MeaningfulLine(const std::string& text);
// The message's date-time group among its first lines ("261115 UTC NOV 20", its words one
// space apart), or "" when it has none.
std::string DateTimeGroupOf(const std::string& text);

}  // namespace warnings
