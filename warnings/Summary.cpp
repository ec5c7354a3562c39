// SPDX-License-Identifier: GPL-3.0-or-later
#include "warnings/Summary.h"

#include "stations/Stations.h"

#include <cctype>
#include <set>
#include <sstream>
#include <string_view>
#include <vector>

namespace warnings {
namespace {

using Words_t = std::vector<std::string_view>;

// The line's words, pointing into it.
Words_t Words(std::string_view line) {
    Words_t words;
    for (size_t at = 0; at < line.size();) {
        const size_t start = line.find_first_not_of(" \t\r", at);
        if (start == std::string_view::npos) break;
        size_t end = line.find_first_of(" \t\r", start);
        if (end == std::string_view::npos) end = line.size();
        words.push_back(line.substr(start, end - start));
        at = end;
    }
    return words;
}

bool HasDigit(std::string_view s) {
    for (unsigned char c : s)
        if (std::isdigit(c)) return true;
    return false;
}

bool Has(std::string_view line, const char* word) {
    return line.find(word) != std::string_view::npos;
}

bool Month(std::string_view word) {
    static const std::set<std::string, std::less<>> months = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                                              "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    return word.size() >= 3 && months.count(word.substr(0, 3)) != 0;
}

// "160920 UTC JUL 20", "041230UTC OCT", "DTG 191200Z", "26 DEC 2020 02.30 UTC".
bool DateTimeGroup(std::string_view line, const Words_t& words) {
    if (words.empty() || words.size() > 5) return false;
    if (words.size() >= 3 && words[0].size() <= 2 && HasDigit(words[0]) &&
        words[0].find_first_not_of("0123456789") == std::string_view::npos && Month(words[1]))
        return Has(line, "UTC") || words.size() <= 3;
    size_t digits = 0;
    const std::string_view first = words[0] == "DTG" && words.size() > 1 ? words[1] : words[0];
    while (digits < first.size() && std::isdigit(static_cast<unsigned char>(first[digits]))) ++digits;
    return digits >= 4 && digits <= 6 &&
           (Has(line, "UTC") || first.substr(digits) == "Z" || words.size() <= 3);
}

bool SeriesNumber(std::string_view line, const Words_t& words) {
    if (words.size() > 8 || !HasDigit(line)) return false;
    for (const char* mark : {"NO.", "NR.", "NR ", "NAVAREA", "NAV WARN", "NAV.WARN", "NAV. WARN", "NAVWARN",
                             "WZ ", "WARNING", "NAVTEX", "NAV WNG", "NAV.WNG", "AVURNAV"})
        if (Has(line, mark)) return true;
    return words.size() <= 2;  // "SA77", "288/20"
}

// The stations' names as broadcasts spell them: "NITON", "CULLERCOATS".
const std::set<std::string, std::less<>>& StationWords() {
    static const std::set<std::string, std::less<>> words = [] {
        std::set<std::string, std::less<>> upper;
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
bool Sender(std::string_view line, const Words_t& words) {
    if (words.size() > 4 || HasDigit(line)) return false;
    for (const char* mark : {"COASTGUARD", "COAST GUARD", "RADIO", "NCC", "NUC", "RCC", "MRCC", "JRCC",
                             "MRSC", " VIA ", "CROSS "})
        if (Has(line, mark)) return true;
    for (const std::string_view word : words)
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
        const Words_t words = Words(line);
        if (DateTimeGroup(line, words) || SeriesNumber(line, words) || Sender(line, words)) continue;
        if (words.size() == 1 && line.size() <= 2) continue;  // the station's letters: "XC"
        return line;
    }
    return fallback;
}

uint64_t DateTimeGroupHash(const std::string& text) {
    // Most lines begin with a letter: only those that begin with a digit or "DTG" are read.
    const std::string_view all(text);
    size_t at = 0;
    for (int lines = 0; at < all.size() && lines < 6;) {
        size_t end = all.find('\n', at);
        if (end == std::string_view::npos) end = all.size();
        const size_t first = all.find_first_not_of(" \t\r", at);
        if (first < end && all.compare(first, 4, "ZCZC") != 0) {
            ++lines;
            const std::string_view line = all.substr(first, end - first);
            if (std::isdigit(static_cast<unsigned char>(line[0])) || line.compare(0, 4, "DTG ") == 0) {
                const Words_t words = Words(line);
                if (DateTimeGroup(line, words)) {
                    uint64_t hash = 1469598103934665603ull;  // FNV-1a over the words
                    for (const std::string_view word : words) {
                        for (unsigned char c : word) hash = (hash ^ c) * 1099511628211ull;
                        hash = (hash ^ ' ') * 1099511628211ull;
                    }
                    return hash == 0 ? 1 : hash;
                }
            }
        }
        at = end + 1;
    }
    return 0;
}

}  // namespace warnings
