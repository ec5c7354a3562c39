// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <set>
#include <string>
#include <vector>

#include "navtex/UnitNavtex.h"
#include "nmea/Sentences.h"

// Which messages of a rebuilt tree are new to the network: each is sent once, and what the
// archive held at start is never sent.
namespace nmea {

class TNewMessages {
public:
    // The messages first seen now; the first call only learns what is there.
    std::vector<TNavtexMessage> Arrived(const TMsgList& international, const TMsgList& national);

private:
    bool primed = false;
    std::set<std::string> known;
};

}  // namespace nmea
