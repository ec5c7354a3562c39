// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/OsName.h"

namespace app {

std::string OsName(const platform::OsVersion& v) {
    if (v.platformId == 0 && !v.name.empty()) return v.name;
    if (v.platformId == 1 && v.major == 4) {
        if (v.minor == 0) return "Windows95";
        if (v.minor == 10) return "Windows98";
        if (v.minor == 90) return "WindowsMe";
    }
    if (v.platformId == 2) {
        if (v.major == 3 && v.minor == 51) return "WindowsNT3.51";
        if (v.major == 4 && v.minor == 0) return "WindowsNT4";
        if (v.major == 5 && v.minor == 0) return "Windows2000";
        if (v.major == 5 && v.minor == 1) return "WindowsXP";
        if (v.major == 5 && v.minor == 2) return "Windows.NETServer";
        if (v.major == 6 && v.minor == 0) return "Windows Vista";
        if (v.major == 6 && v.minor == 1) return "Windows 7";
    }
    return "Unbekannt";
}

}  // namespace app
