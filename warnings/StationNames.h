// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <optional>
#include <string>
#include <tuple>

#include "navtex/UnitNavtex.h"
#include "position/Geodesy.h"
#include "stations/Stations.h"

namespace warnings {

// Who sent a message, in the header's words, from what this receiver hears: the messages
// of its archive teach which station each letter stands for in these waters.
class TStationNames {
public:
    // After each rebuild: the archive's messages (518 and 490 kHz); each is read once, the
    // first time it is seen, so a rebuild costs only what is new.
    void Learn(const TMsgList& international, const TMsgList& national);
    // "Niton (GB)"; where unsure, "station P : Netherlands Coastguard, Haifa ou Porto Santo ?",
    // the candidates nearest the boat first; empty for a letter of no station.
    std::string Name(int band, const std::string& name, const std::string& text,
                     std::optional<position::TLatLon> boat = std::nullopt) const;

    // The stations heard under a letter, for a list to choose from: "Niton (GB), Oostende (BE)";
    // empty when none has been heard yet.
    std::string Heard(char letter) const;

    static std::string Text(const TMsgHeaderElement& record);

private:
    stations::TResolver resolver;
    // What each message of the archive showed (band, identifier, time): its station or null.
    std::map<std::tuple<int, std::string, int32_t>, const stations::TStation*> seen;
};

}  // namespace warnings
