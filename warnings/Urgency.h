// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace warnings {

// How much a message in force asks of the crew, least first.
enum class TUrgency { None, Gale, Near, Distress };

// Of a message in force, by its identifier ("ED01"): search and rescue (subject D) and vital
// messages (B3B4 "00") are distress, a navigational warning (A, L) within the distance that
// concerns the boat is near, a gale warning (B) is gale.
TUrgency UrgencyOf(const std::string& name, bool withinDistance);

// The state of its Signal K notification: emergency, alarm, warn, or normal once it is none.
const char* NotificationState(TUrgency urgency);

}  // namespace warnings
