// SPDX-License-Identifier: GPL-3.0-or-later
#include "warnings/StationNames.h"

#include "common/Translatable.h"

#include <algorithm>

#include "warnings/Warnings.h"

namespace warnings {
namespace {

constexpr size_t ShownCandidates = 3;
constexpr size_t ReadBytes = 2048;  // a station names itself, and its waters, at the start

std::vector<position::TLatLon> PlacesIn(const std::string& text) {
    std::vector<position::TLatLon> places;
    for (const TPosition& p : FindPositions(text)) places.push_back({p.latitude, p.longitude});
    return places;
}

}  // namespace

std::string TStationNames::Text(const TMsgHeaderElement& record) {
    std::string text;
    for (const std::string& line : record.Lines) text += line + "\n";
    return text;
}

void TStationNames::Learn(const TMsgList& international, const TMsgList& national) {
    std::map<std::tuple<int, std::string, int32_t>, const stations::TStation*> now;
    resolver = {};
    for (const auto* list : {&international, &national})
        for (const auto& record : *list) {
            const int band = list == &international ? 518 : 490;
            auto key = std::make_tuple(band, record->Name, record->Age);
            const stations::TStation* station = nullptr;
            if (const auto it = seen.find(key); it != seen.end()) {
                station = it->second;
            } else {
                const std::string text = Text(*record).substr(0, ReadBytes);
                station = stations::TResolver::Evidence(band, record->Name, text, PlacesIn(text));
            }
            if (!record->Name.empty()) resolver.Vote(band, record->Name[0], station);
            now.emplace(std::move(key), station);
        }
    seen = std::move(now);  // what left the archive is forgotten
}

std::string TStationNames::Name(int band, const std::string& name, const std::string& text,
                                std::optional<position::TLatLon> boat) const {
    const stations::TChoice choice = resolver.Choose(band, name, text, PlacesIn(text), boat);
    if (choice.sure && choice.station) return stations::Label(*choice.station);
    if (choice.candidates.empty() || name.empty()) return {};
    std::vector<const stations::TStation*> candidates = choice.candidates;
    if (boat)
        std::stable_sort(candidates.begin(), candidates.end(), [&](const auto* a, const auto* b) {
            return position::DistanceNm(*boat, a->at) < position::DistanceNm(*boat, b->at);
        });
    // "station F : Tallinn, Horta ou Antalya ?": the letter, then the likeliest names.
    const size_t shown = std::min(candidates.size(), ShownCandidates);
    std::string unsure = translatable::Tr("stations", "station ") + name[0] + " : ";
    for (size_t i = 0; i < shown; ++i)
        unsure +=
            (i == 0                                                   ? ""
             : i + 1 == shown && candidates.size() <= ShownCandidates ? translatable::Tr("stations", " ou ")
                                                                      : ", ") +
            candidates[i]->name;
    return unsure + (candidates.size() > ShownCandidates ? "… ?" : " ?");
}

std::string TStationNames::Heard(char letter) const {
    std::string names;
    for (const stations::TStation* s : resolver.Heard(letter))
        names += (names.empty() ? "" : ", ") + stations::Label(*s);
    return names;
}

}  // namespace warnings
