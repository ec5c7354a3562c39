// SPDX-License-Identifier: GPL-3.0-or-later
#include "warnings/Summary.h"

#include "stations/Stations.h"

#include <cctype>
#include <set>
#include <sstream>
#include <vector>

namespace warnings {
namespace {

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

bool HasDigit(const std::string& s) {
    for (unsigned char c : s)
        if (std::isdigit(c)) return true;
    return false;
}

bool Has(const std::string& line, const char* word) {
    return line.find(word) != std::string::npos;
}

bool Month(const std::string& word) {
    static const std::set<std::string> months = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                                 "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    return word.size() >= 3 && months.count(word.substr(0, 3)) != 0;
}

// "160920 UTC JUL 20", "041230UTC OCT", "DTG 191200Z", "26 DEC 2020 02.30 UTC".
bool DateTimeGroup(const std::string& line, const std::vector<std::string>& words) {
    if (words.empty() || words.size() > 5) return false;
    if (words.size() >= 3 && words[0].size() <= 2 && HasDigit(words[0]) &&
        words[0].find_first_not_of("0123456789") == std::string::npos && Month(words[1]))
        return Has(line, "UTC") || words.size() <= 3;
    size_t digits = 0;
    const std::string& first = words[0] == "DTG" && words.size() > 1 ? words[1] : words[0];
    while (digits < first.size() && std::isdigit(static_cast<unsigned char>(first[digits]))) ++digits;
    return digits >= 4 && digits <= 6 &&
           (Has(line, "UTC") || first.substr(digits) == "Z" || words.size() <= 3);
}

bool SeriesNumber(const std::string& line, const std::vector<std::string>& words) {
    if (words.size() > 8 || !HasDigit(line)) return false;
    for (const char* mark : {"NO.", "NR.", "NR ", "NAVAREA", "NAV WARN", "NAV.WARN", "NAV. WARN", "NAVWARN",
                             "WZ ", "WARNING", "NAVTEX", "NAV WNG", "NAV.WNG", "AVURNAV"})
        if (Has(line, mark)) return true;
    return words.size() <= 2;  // "SA77", "288/20"
}

// The stations' names as broadcasts spell them: "NITON", "CULLERCOATS".
const std::set<std::string>& StationWords() {
    static const std::set<std::string> words = [] {
        std::set<std::string> upper;
        for (const stations::TStation& station : stations::Table()) {
            std::string name = station.name;
            for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            upper.insert(name);
        }
        return upper;
    }();
    return words;
}

// "NETHERLANDS COASTGUARD", "GREENLAND VIA GRINDAVIK", "CROSS CORSEN", "NITON".
bool Sender(const std::string& line, const std::vector<std::string>& words) {
    if (words.size() > 4 || HasDigit(line)) return false;
    for (const char* mark : {"COASTGUARD", "COAST GUARD", "RADIO", "NCC", "NUC", "RCC", "MRCC", "JRCC",
                             "MRSC", " VIA ", "CROSS "})
        if (Has(line, mark)) return true;
    for (const std::string& word : words)
        if (StationWords().count(word)) return true;
    return false;
}

}  // namespace

std::string MeaningfulLine(const std::string& text) {
    std::istringstream in(text);
    std::string fallback;
    for (std::string line; std::getline(in, line);) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.pop_back();
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line.compare(first, 4, "ZCZC") == 0 ||
            line.compare(first, 4, "NNNN") == 0)
            continue;
        line.erase(0, first);
        if (fallback.empty()) fallback = line;
        const std::vector<std::string> words = Words(line);
        if (DateTimeGroup(line, words) || SeriesNumber(line, words) || Sender(line, words)) continue;
        if (words.size() == 1 && line.size() <= 2) continue;  // the station's letters: "XC"
        return line;
    }
    return fallback;
}

std::string DateTimeGroupOf(const std::string& text) {
    std::istringstream in(text);
    int lines = 0;
    for (std::string line; std::getline(in, line) && lines < 6;) {
        const std::vector<std::string> words = Words(line);
        if (words.empty() || words[0] == "ZCZC") continue;
        ++lines;
        if (!DateTimeGroup(line, words)) continue;
        std::string group;
        for (const std::string& word : words) group += (group.empty() ? "" : " ") + word;
        return group;
    }
    return {};
}

}  // namespace warnings
