// SPDX-License-Identifier: GPL-3.0-or-later
#include "warnings/Urgency.h"

namespace warnings {

TUrgency UrgencyOf(const std::string& name, bool withinDistance) {
    if (name.size() < 2) return TUrgency::None;
    if (name[1] == 'D' || (name.size() >= 4 && name.compare(2, 2, "00") == 0)) return TUrgency::Distress;
    if ((name[1] == 'A' || name[1] == 'L') && withinDistance) return TUrgency::Near;
    if (name[1] == 'B') return TUrgency::Gale;
    return TUrgency::None;
}

const char* NotificationState(TUrgency urgency) {
    switch (urgency) {
        case TUrgency::Distress:
            return "emergency";
        case TUrgency::Near:
            return "alarm";
        case TUrgency::Gale:
            return "warn";
        case TUrgency::None:
            break;
    }
    return "normal";
}

}  // namespace warnings
