// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "position/Geodesy.h"

// The NAVTEX stations (resources/stations/navtex-stations.csv, compiled in) and which of
// them sent a message: B1 letters repeat from one NAVAREA to the next, so the letter and the
// band alone seldom say it.
namespace stations {

struct TStation {
    std::string navarea;  // "I", "III"
    char letter = 'A';
    int band = 518;  // kHz
    std::string name;
    std::string country;  // ISO 3166 alpha-2
    position::TLatLon at;
    bool placed = false;  // at is known
    int rangeNm = 0;      // 0: not known
};

// Every station on 518 and 490 kHz.
const std::vector<TStation>& Table();
// The stations of one band and letter.
std::vector<const TStation*> Candidates(int band, char letter);
// "Niton (GB)".
std::string Label(const TStation& station);

// Which station sent a message, and how sure that is.
struct TChoice {
    const TStation* station = nullptr;  // null when none can be chosen
    std::vector<const TStation*> candidates;
    bool sure = false;
};

// Learns from the history which station each band and letter stands for, then chooses for
// each message: the one its header names ("NETHERLANDS COASTGUARD", "RCC-HAIFA", "NORWEGIAN
// NAV. WARNING"), else the one nearest its own positions, else the one the history's
// messages of that letter placed, else the one nearest the boat.
class TResolver {
public:
    // Fewer messages than this do not make a letter's station.
    static constexpr int MinVotes = 3;

    // A message of the history: what it says of its sender and where it speaks of.
    void Learn(int band, const std::string& name, const std::string& text,
               const std::vector<position::TLatLon>& places);
    // What Learn counts: the station a message's header or positions name, or null.
    static const TStation* Evidence(int band, const std::string& name, const std::string& text,
                                    const std::vector<position::TLatLon>& places);
    void Vote(int band, char letter, const TStation* station);
    TChoice Choose(int band, const std::string& name, const std::string& text,
                   const std::vector<position::TLatLon>& places,
                   std::optional<position::TLatLon> boat = std::nullopt) const;
    // The stations heard under a letter on either band, the most often heard first: those
    // that at least MinVotes messages placed.
    std::vector<const TStation*> Heard(char letter) const;

private:
    // band and letter -> station -> messages placed there by their header or positions
    std::map<std::pair<int, char>, std::map<const TStation*, int>> votes;
};

// The one of candidates that the words of a message name (station, country or authority),
// or null.
const TStation* NamedBy(const std::string& text, const std::vector<const TStation*>& candidates);
// The one of candidates nearest to places, or null when none lies within twice its range
// (or 600 nm) of them or two lie about as near.
const TStation* NearestTo(const std::vector<position::TLatLon>& places,
                          const std::vector<const TStation*>& candidates);

}  // namespace stations
