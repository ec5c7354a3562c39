// SPDX-License-Identifier: GPL-3.0-or-later
#include "stations/Stations.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "common/Words.h"

namespace stations {

extern const char* const TableCsv;  // generated from resources/stations/navtex-stations.csv

namespace {

// One line of the table: commas apart, a field in double quotes may hold commas and "" for
// a quote.
std::vector<std::string> Fields(std::string_view line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            fields.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.emplace_back();
        } else if (c != '\r') {
            fields.back() += c;
        }
    }
    return fields;
}

std::vector<TStation> Read() {
    std::vector<TStation> table;
    const std::string_view csv(TableCsv);
    for (size_t at = 0, end = 0; at < csv.size(); at = end + 1) {
        end = csv.find('\n', at);
        if (end == std::string_view::npos) end = csv.size();
        const std::vector<std::string> f = Fields(csv.substr(at, end - at));
        // navarea,b1,freq_khz,name,country,lat,lon,range_nm,sources,notes
        if (f.size() < 8 || f[1].size() != 1 || (f[2] != "518" && f[2] != "490")) continue;
        TStation s;
        s.navarea = f[0];
        s.letter = f[1][0];
        s.band = std::atoi(f[2].c_str());
        s.name = f[3];
        s.country = f[4];
        s.at = {std::atof(f[5].c_str()), std::atof(f[6].c_str())};
        s.placed = !f[5].empty() && !f[6].empty();
        s.rangeNm = std::atoi(f[7].c_str());
        table.push_back(std::move(s));
    }
    return table;
}

// Capitals only, every other character a space: "RCC-HAIFA" and "Haifa" meet as "HAIFA".
std::string Plain(std::string_view text) {
    std::string out(text.size(), ' ');
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= 'a' && c <= 'z')
            out[i] = static_cast<char>(c - 'a' + 'A');
        else if (c >= 'A' && c <= 'Z')
            out[i] = c;
    }
    return " " + out + " ";
}

// The header: the first lines after ZCZC, where stations and authorities name themselves.
std::string Header(const std::string& text) {
    std::string header;
    int lines = 0;
    for (size_t at = 0; at < text.size() && lines < 4;) {
        size_t end = text.find_first_of("\r\n", at);
        if (end == std::string::npos) end = text.size();
        const std::string_view line(text.data() + at, end - at);
        if (!line.empty() && line.compare(0, 4, "ZCZC") != 0) {
            header += std::string(line) + " ";
            ++lines;
        }
        at = end + 1;
    }
    return Plain(header);
}

// The words by which a country's authorities sign their warnings.
const char* CountryOf(std::string_view word) {
    static const std::pair<const char*, const char*> Words[] = {
        {"NORWEGIAN", "NO"}, {"NORWAY", "NO"},    {"SWEDISH", "SE"},     {"SWEDEN", "SE"},
        {"GERMAN", "DE"},    {"GERMANY", "DE"},   {"NETHERLANDS", "NL"}, {"DUTCH", "NL"},
        {"UKRAINE", "UA"},   {"UKRAINIAN", "UA"}, {"RUSSIAN", "RU"},     {"RUSSIA", "RU"},
        {"ICELANDIC", "IS"}, {"ICELAND", "IS"},   {"IRISH", "IE"},       {"IRELAND", "IE"},
        {"BELGIAN", "BE"},   {"BELGIUM", "BE"},   {"FRENCH", "FR"},      {"FRANCE", "FR"},
        {"SPANISH", "ES"},   {"SPAIN", "ES"},     {"PORTUGUESE", "PT"},  {"ITALIAN", "IT"},
        {"GREEK", "GR"},     {"HELLENIC", "GR"},  {"TURKISH", "TR"},     {"TURKIYE", "TR"},
        {"ESTONIAN", "EE"},  {"ESTONIA", "EE"},   {"FAROE", "FO"},       {"ISRAEL", "IL"},
        {"CROATIAN", "HR"},  {"MALTA", "MT"},     {"CYPRUS", "CY"},      {"EGYPT", "EG"},
        {"BULGARIAN", "BG"}, {"ROMANIAN", "RO"},  {"HAMBURG", "DE"},     {"ODESA", "UA"},
    };
    for (const auto& [name, country] : Words)
        if (word == name) return country;
    return nullptr;
}

}  // namespace

const std::vector<TStation>& Table() {
    static const std::vector<TStation> table = Read();
    return table;
}

std::vector<const TStation*> Candidates(int band, char letter) {
    std::vector<const TStation*> found;
    for (const TStation& s : Table())
        if (s.band == band && s.letter == letter) found.push_back(&s);
    return found;
}

std::string Label(const TStation& station) {
    return station.name + " (" + station.country + ")";
}

const TStation* NamedBy(const std::string& text, const std::vector<const TStation*>& candidates) {
    if (candidates.empty()) return nullptr;
    const std::string header = Header(text);
    // Its own name first ("RCC-HAIFA", "NETHERLANDS COASTGUARD", "KERKYRA RADIO").
    const TStation* named = nullptr;
    for (const TStation* s : candidates) {
        const std::string name = Plain(s->name);
        const size_t first = name.find_first_not_of(' '), last = name.find_last_not_of(' ');
        if (first == std::string::npos) continue;
        if (text::HoldsWord(header, name, first, last - first + 1)) {
            if (named && named != s) return nullptr;
            named = s;
        }
    }
    if (named) return named;
    // Then its country's words, where only one candidate is of that country.
    for (size_t at = 1; at < header.size();) {
        const size_t end = header.find(' ', at);
        const char* country = CountryOf(std::string_view(header).substr(at, end - at));
        at = end + 1;
        if (!country) continue;
        const TStation* of = nullptr;
        int count = 0;
        for (const TStation* s : candidates)
            if (s->country == country) {
                of = s;
                ++count;
            }
        if (count == 1) return of;
    }
    return nullptr;
}

const TStation* NearestTo(const std::vector<position::TLatLon>& places,
                          const std::vector<const TStation*>& candidates) {
    if (places.empty() || candidates.empty()) return nullptr;
    double best = 1e9, second = 1e9;
    const TStation* nearest = nullptr;
    for (const TStation* s : candidates) {
        if (!s->placed) continue;
        double d = 1e9;
        for (const position::TLatLon& p : places) d = std::min(d, position::DistanceNm(s->at, p));
        if (d < best) {
            second = best;
            best = d;
            nearest = s;
        } else {
            second = std::min(second, d);
        }
    }
    // A station warns of its own waters: within twice its range, and clearly the nearest.
    if (!nearest) return nullptr;
    const double reach = std::max(600.0, 2.0 * nearest->rangeNm);
    if (best > reach || second < 1.5 * best) return nullptr;
    return nearest;
}

const TStation* TResolver::Evidence(int band, const std::string& name, const std::string& text,
                                    const std::vector<position::TLatLon>& places) {
    if (name.empty()) return nullptr;
    const std::vector<const TStation*> candidates = Candidates(band, name[0]);
    if (candidates.size() < 2) return nullptr;
    const TStation* s = NamedBy(text, candidates);
    return s ? s : NearestTo(places, candidates);
}

void TResolver::Vote(int band, char letter, const TStation* station) {
    if (station) ++votes[{band, letter}][station];
}

std::vector<const TStation*> TResolver::Heard(char letter) const {
    std::map<const TStation*, int> count;
    for (int band : {518, 490})
        if (const auto found = votes.find({band, letter}); found != votes.end())
            for (const auto& [station, n] : found->second) count[station] += n;
    std::vector<std::pair<int, const TStation*>> order;
    for (const auto& [station, n] : count)
        if (n >= MinVotes) order.push_back({-n, station});
    std::sort(order.begin(), order.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first : a.second->name < b.second->name;
    });
    std::vector<const TStation*> heard;
    for (const auto& entry : order) heard.push_back(entry.second);
    return heard;
}

void TResolver::Learn(int band, const std::string& name, const std::string& text,
                      const std::vector<position::TLatLon>& places) {
    if (!name.empty()) Vote(band, name[0], Evidence(band, name, text, places));
}

TChoice TResolver::Choose(int band, const std::string& name, const std::string& text,
                          const std::vector<position::TLatLon>& places,
                          std::optional<position::TLatLon> boat) const {
    TChoice choice;
    if (name.empty()) return choice;
    choice.candidates = Candidates(band, name[0]);
    if (choice.candidates.size() == 1) {
        choice.station = choice.candidates.front();
        choice.sure = true;
        return choice;
    }
    if ((choice.station = NamedBy(text, choice.candidates)) ||
        (choice.station = NearestTo(places, choice.candidates))) {
        choice.sure = true;
        return choice;
    }
    // What the history's messages of this letter showed: where most of them came from.
    if (const auto it = votes.find({band, name[0]}); it != votes.end()) {
        int total = 0, most = 0;
        for (const auto& [s, n] : it->second) {
            total += n;
            if (n > most) {
                most = n;
                choice.station = s;
            }
        }
        if (most >= MinVotes && 3 * most >= 2 * total) {
            choice.sure = true;
            return choice;
        }
    }
    if (boat) {
        if (const TStation* s = NearestTo({*boat}, choice.candidates)) {
            choice.station = s;
            choice.sure = true;
        }
    }
    return choice;
}

}  // namespace stations
