// SPDX-License-Identifier: GPL-3.0-or-later
#include "warnings/Warnings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <span>
#include <string_view>

#include "common/DateTime.h"
#include "position/Fixes.h"

namespace warnings {
namespace {

bool Digit(char c) {
    return c >= '0' && c <= '9';
}
bool Letter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
char At(std::string_view t, size_t i) {
    return i < t.size() ? t[i] : '\0';
}

size_t Digits(const std::string& t, size_t i) {
    size_t n = 0;
    while (Digit(At(t, i + n))) ++n;
    return n;
}

double Number(const std::string& t, size_t i, size_t n) {
    double v = 0;
    for (size_t k = 0; k < n; ++k) v = v * 10 + (t[i + k] - '0');
    return v;
}

// ".ddd" (or ",ddd", as some stations write) at p: its value as a fraction, p moved past
// it; 0 when there is none.
double Decimals(const std::string& t, size_t& p) {
    if ((At(t, p) != '.' && At(t, p) != ',') || !Digit(At(t, p + 1))) return 0;
    const size_t n = Digits(t, p + 1);
    const double v = Number(t, p + 1, n) / std::pow(10.0, static_cast<double>(n));
    p += 1 + n;
    return v;
}

// The hemisphere letter at p (one space and a minute or second mark may come first);
// returns the letter and moves p past it, or '\0'.
char Hemisphere(const std::string& t, size_t& p, bool latitude) {
    size_t q = p;
    while (At(t, q) == '\'' || At(t, q) == '"') ++q;
    if (At(t, q) == ' ') ++q;
    const char h = At(t, q);
    const bool fits = latitude ? (h == 'N' || h == 'S') : (h == 'E' || h == 'W');
    if (!fits || Letter(At(t, q + 1))) return '\0';
    p = q + 1;
    return h;
}

struct Coordinate {
    double value = 0;
    size_t end = 0;
};

struct Parts {
    double degrees = 0, minutes = 0, seconds = 0;
};

// Whole or decimal degrees followed by the hemisphere: 72 N 51 E, 76N 02E, 78.73N 10.01E
// (forecasts' lows, ice).
bool DegreesOnlyFollow(const std::string& t, size_t p, bool latitude) {
    const char c = At(t, p);
    return c == '.' || c == 'N' || c == 'S' || c == 'E' || c == 'W' ||
           (c == ' ' && Hemisphere(t, p, latitude) != '\0');
}

// Seconds after the same separator as the degrees', or after a minute mark, when the
// hemisphere follows them; p moved past them.
void ReadSeconds(const std::string& t, size_t& p, char separator, bool latitude, Parts& parts) {
    const char mark = At(t, p);
    if ((mark != separator && mark != '\'') || Digits(t, p + 1) != 2) return;
    size_t q = p + 3;
    const double fraction = Decimals(t, q);
    size_t h = q;
    if (Hemisphere(t, h, latitude) == '\0') return;
    parts.seconds = Number(t, p + 1, 2) + fraction;
    p = q;
}

// The minutes after the degrees' separator ('-' or ' ') at p; false when they are not
// minutes. p moved past them.
bool ReadMinutes(const std::string& t, size_t& p, bool latitude, Parts& parts) {
    const char separator = At(t, p);
    if (separator != '-' && separator != ' ') return false;
    ++p;
    const size_t nm = Digits(t, p);
    if (nm == 2) {
        parts.minutes = Number(t, p, 2);
        p += 2;
        const size_t beforeDecimals = p;
        parts.minutes += Decimals(t, p);
        if (p == beforeDecimals) ReadSeconds(t, p, separator, latitude, parts);
    } else if (nm == 1 && (At(t, p + 1) == '.' || At(t, p + 1) == ',') && Digit(At(t, p + 2))) {
        // 70-3.7N: one digit of minutes, with decimals.
        parts.minutes = Number(t, p, 1);
        ++p;
        parts.minutes += Decimals(t, p);
    } else if (nm >= 3 && nm <= 5) {
        // Minutes with implied decimals: 3800 is 38.00, 251 is 25.1, 22401 is 22.401.
        parts.minutes =
            Number(t, p, 2) + Number(t, p + 2, nm - 2) / std::pow(10.0, static_cast<double>(nm - 2));
        p += nm;
    } else {
        return false;
    }
    return true;
}

// One latitude or longitude starting with the digit at i.
std::optional<Coordinate> ReadCoordinate(const std::string& t, size_t i, bool latitude) {
    const size_t n1 = Digits(t, i);
    const size_t degreeDigits = latitude ? 2 : 3;
    Parts parts;
    size_t p = i + n1;
    if (n1 == degreeDigits + 2) {
        // Compact: 5417.007N, 01117E.
        parts.degrees = Number(t, i, degreeDigits);
        parts.minutes = Number(t, i + degreeDigits, 2) + Decimals(t, p);
    } else if (n1 >= 1 && n1 <= degreeDigits && DegreesOnlyFollow(t, p, latitude)) {
        parts.degrees = Number(t, i, n1);
        if (At(t, p) == '.') {
            if (!Digit(At(t, p + 1))) return std::nullopt;
            parts.degrees += Decimals(t, p);
        }
    } else if (n1 >= 1 && n1 <= degreeDigits) {
        parts.degrees = Number(t, i, n1);
        if (!ReadMinutes(t, p, latitude, parts)) return std::nullopt;
    } else {
        return std::nullopt;
    }
    const char h = Hemisphere(t, p, latitude);
    const double limit = latitude ? 90 : 180;
    if (h == '\0' || parts.minutes >= 60 || parts.seconds >= 60 || parts.degrees > limit) return std::nullopt;
    double value = parts.degrees + parts.minutes / 60 + parts.seconds / 3600;
    if (value > limit) return std::nullopt;
    if (h == 'S' || h == 'W') value = -value;
    return Coordinate{value, p};
}

bool StartsWord(const std::string& t, size_t i) {
    if (i == 0) return true;
    const char c = t[i - 1];
    // Not inside 53-61N: a dash right after a number joins its parts.
    if (c == '-' && i >= 2 && Digit(t[i - 2])) return false;
    return !Letter(c) && !Digit(c) && c != '.' && c != '/' && c != ',' && c != '\'';
}

// The word at i equals w (a whole word).
bool WordAt(const std::string& t, size_t i, const char* w) {
    const size_t n = std::strlen(w);
    return t.compare(i, n, w) == 0 && (i == 0 || !Letter(t[i - 1])) && !Letter(At(t, i + n));
}

}  // namespace

std::vector<TPosition> FindPositions(const std::string& text) {
    std::vector<TPosition> found;
    for (size_t i = 0; i < text.size(); ++i) {
        if (!Digit(text[i]) || !StartsWord(text, i)) continue;
        const auto latitude = ReadCoordinate(text, i, true);
        if (!latitude) continue;
        // Between the two: spaces, a dash, a comma, a slash or a line break.
        size_t p = latitude->end;
        const size_t limit = p + 6;
        while (p < text.size() && p < limit && std::strchr(" -,/\r\n\t", text[p])) ++p;
        if (p >= text.size() || !Digit(text[p])) continue;
        const auto longitude = ReadCoordinate(text, p, false);
        if (!longitude) continue;
        found.push_back({latitude->value, longitude->value, i, longitude->end});
        i = longitude->end - 1;
    }
    return found;
}

const char* KindName(TShape::Kind kind) {
    switch (kind) {
        case TShape::Kind::Line:
            return "line";
        case TShape::Kind::Polygon:
            return "polygon";
        case TShape::Kind::Circle:
            return "circle";
        default:
            return "point";
    }
}

const char* KindNameFr(TShape::Kind kind) {
    switch (kind) {
        case TShape::Kind::Line:
            return "ligne";
        case TShape::Kind::Polygon:
            return "zone";
        case TShape::Kind::Circle:
            return "cercle";
        default:
            return "point";
    }
}

namespace {

struct Keyword {
    size_t end;
    TShape::Kind kind;
    double radius = 0;
};

// "n NM" at: a circle after WITHIN, or before RADIUS.
void CircleKeyword(const std::string& t, size_t at, std::vector<Keyword>& keys) {
    if (Letter(At(t, at + 2)) || (at > 0 && Letter(t[at - 1]))) return;
    size_t e = at;
    if (e > 0 && t[e - 1] == ' ') --e;
    size_t b = e;
    while (b > 0 && (Digit(t[b - 1]) || t[b - 1] == '.')) --b;
    if (b == e || !Digit(t[b])) return;
    const double radius = std::atof(t.substr(b, e - b).c_str());
    const bool within = b >= 7 && t.compare(b - 7, 7, "WITHIN ") == 0;
    size_t after = at + 2;
    while (At(t, after) == ' ' || At(t, after) == '.') ++after;
    const bool radiusWord = t.compare(after, 6, "RADIUS") == 0;
    if ((within || radiusWord) && radius > 0 && radius < 1000)
        keys.push_back({radiusWord ? after + 6 : at + 2, TShape::Kind::Circle, radius});
}

// One pass over the text: a search per keyword would go through it a dozen times.
std::vector<Keyword> Keywords(const std::string& t) {
    static constexpr std::pair<const char*, TShape::Kind> Phrases[] = {
        {"AREA BOUNDED BY", TShape::Kind::Polygon},
        {"IN AREA", TShape::Kind::Polygon},
        {"BETWEEN", TShape::Kind::Line},
        {"JOINING", TShape::Kind::Line},
        {"TRACK", TShape::Kind::Line},
        {"ROUTE", TShape::Kind::Line},
    };
    std::vector<Keyword> keys;
    for (size_t i = 0; i < t.size(); ++i) {
        const char c = t[i];
        // "AREA:" counts inside a word too.
        if (c == ':' && i >= 4 && t.compare(i - 4, 4, "AREA") == 0)
            keys.push_back({i + 1, TShape::Kind::Polygon});
        if (c == 'N' && At(t, i + 1) == 'M') CircleKeyword(t, i, keys);
        if (!Letter(c) || (i > 0 && Letter(t[i - 1]))) continue;
        for (const auto& [word, kind] : Phrases)
            if (word[0] == c && WordAt(t, i, word)) keys.push_back({i + std::strlen(word), kind});
    }
    return keys;
}

// Only labels, small words and punctuation between two positions of one shape.
bool Joined(const std::string& t, size_t from, size_t to) {
    if (to < from || to - from > 40) return false;
    size_t i = from;
    while (i < to) {
        if (!Letter(t[i]) && !Digit(t[i])) {
            ++i;
            continue;
        }
        size_t j = i;
        while (j < to && (Letter(t[j]) || Digit(t[j]))) ++j;
        const std::string word = t.substr(i, j - i);
        const bool label = word.size() <= 2;
        if (!label && word != "AND" && word != "TO" && word != "THEN" && word != "THENCE" && word != "POINT")
            return false;
        i = j;
    }
    return true;
}

}  // namespace

std::vector<TShape> FindShapes(const std::string& text) {
    const std::vector<TPosition> positions = FindPositions(text);
    if (positions.empty()) return {};  // most messages: no keyword is looked for
    const std::vector<Keyword> keys = Keywords(text);
    std::vector<TShape> shapes;
    size_t previousEnd = 0;
    for (size_t first = 0; first < positions.size();) {
        size_t last = first;
        while (last + 1 < positions.size() && Joined(text, positions[last].end, positions[last + 1].offset))
            ++last;
        // The nearest keyword before the group and after the group before it.
        const Keyword* key = nullptr;
        for (const Keyword& k : keys)
            if (k.end <= positions[first].offset && k.end >= previousEnd &&
                positions[first].offset - k.end <= 60 && (!key || k.end > key->end))
                key = &k;
        const size_t count = last - first + 1;
        const auto group = [&](size_t from, size_t to) {
            return std::vector<TPosition>(positions.begin() + static_cast<long>(from),
                                          positions.begin() + static_cast<long>(to) + 1);
        };
        size_t pointsFrom = first;
        if (key && key->kind == TShape::Kind::Polygon && count >= 3) {
            shapes.push_back({TShape::Kind::Polygon, group(first, last), 0});
            pointsFrom = last + 1;
        } else if (key && key->kind == TShape::Kind::Line && count >= 2) {
            shapes.push_back({TShape::Kind::Line, group(first, last), 0});
            pointsFrom = last + 1;
        } else if (key && key->kind == TShape::Kind::Circle) {
            shapes.push_back({TShape::Kind::Circle, group(first, first), key->radius});
            pointsFrom = first + 1;
        }
        for (size_t k = pointsFrom; k <= last; ++k) shapes.push_back({TShape::Kind::Point, group(k, k), 0});
        previousEnd = positions[last].end;
        first = last + 1;
    }
    return shapes;
}

std::vector<position::TPlace> Places(const std::vector<TShape>& shapes) {
    std::vector<position::TPlace> places;
    places.reserve(shapes.size());
    for (const TShape& shape : shapes) {
        std::vector<position::TLatLon> points;
        points.reserve(shape.points.size());
        for (const TPosition& p : shape.points) points.push_back({p.latitude, p.longitude});
        if (points.empty()) continue;
        using Kind = position::TPlace::Kind;
        const Kind kind = shape.kind == TShape::Kind::Polygon  ? Kind::Polygon
                          : shape.kind == TShape::Kind::Line   ? Kind::Line
                          : shape.kind == TShape::Kind::Circle ? Kind::Circle
                                                               : Kind::Point;
        places.emplace_back(kind, std::move(points), shape.radiusNm);
    }
    return places;
}

std::optional<position::TRange> RangeTo(position::TLatLon boat, const std::vector<TShape>& shapes) {
    const std::vector<position::TPlace> places = Places(shapes);
    if (places.empty()) return std::nullopt;
    return position::RangeToNearest(position::Boat(boat), places);
}

std::string SailorText(const TPosition& position) {
    return position::PositionText({position.latitude, position.longitude});
}

namespace {

bool IsIdentifier(const std::string& w) {
    return w.size() == 4 && w[0] >= 'A' && w[0] <= 'Z' && w[1] >= 'A' && w[1] <= 'Z' && Digit(w[2]) &&
           Digit(w[3]);
}

// "031/23" or "845": the number without its leading zeros, and its year; false otherwise.
bool SeriesNumber(const std::string& w, std::string& normal) {
    const size_t slash = w.find('/');
    const std::string number = w.substr(0, slash);
    if (number.empty() || number.size() > 4) return false;
    for (char c : number)
        if (!Digit(c)) return false;
    normal = std::to_string(std::atoi(number.c_str()));
    if (slash == std::string::npos) return true;
    std::string year = w.substr(slash + 1);
    // "183/2019" is the same number as "183/19".
    if (year.size() == 4 && (year.compare(0, 2, "19") == 0 || year.compare(0, 2, "20") == 0))
        year.erase(0, 2);
    if (year.size() != 2 || !Digit(year[0]) || !Digit(year[1])) return false;
    normal += "/" + year;
    return true;
}

// A line's words; a dot before a letter parts two ("NAV.WARNINGS", "1.NAV"), trailing dots,
// colons and equals signs go.
std::vector<std::string> Words(std::string_view line) {
    std::vector<std::string> words;
    std::string w;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        const bool dotBeforeLetter = c == '.' && i + 1 < line.size() && Letter(line[i + 1]);
        if (c == ' ' || c == '\t' || c == '(' || c == ')' || c == ',' || c == ';' || dotBeforeLetter) {
            if (!w.empty()) words.push_back(w);
            w.clear();
        } else {
            w += c;
        }
    }
    if (!w.empty()) words.push_back(w);
    for (std::string& word : words)
        while (!word.empty() && (word.back() == '.' || word.back() == '=' || word.back() == ':'))
            word.pop_back();
    return words;
}

bool AllLetters(const std::string& w) {
    if (w.empty()) return false;
    for (char c : w)
        if (!(c >= 'A' && c <= 'Z')) return false;
    return true;
}

// A word of a series name as one spelling: "" for those that say nothing ("NAV").
std::string NameWord(const std::string& w) {
    static const char* const Warning[] = {"WARN",    "WNG",      "WARNING",    "WARNINGS",   "WRNG",
                                          "NAVWARN", "NAVWARNS", "NAVWARNING", "NAVWARNINGS"};
    if (w == "NAV" || w == "NAVIGATIONAL") return {};
    for (const char* x : Warning)
        if (w == x) return "WARNING";
    return w;
}

bool Skipped(const std::string& w) {
    return w == "NR" || w == "NO" || w == "NUMBER" || w == "AND";
}

// Series references in words: a name of letters followed by numbers ("WZ 720", "NAVAREA I 31/23
// 32/23"). Numbers without a name, or after a generic one ("CANCEL NAV.WARNINGS 12 13"), are
// of ownName, the message's own series, where it has one.
void SeriesIn(std::span<const std::string> words, std::vector<std::string>& out,
              const std::string& ownName = {}) {
    std::string name;
    bool afterNumber = false;
    for (const std::string& w : words) {
        std::string number;
        if (SeriesNumber(w, number)) {
            const std::string& series =
                (name.empty() || GenericSeries(name)) && !ownName.empty() ? ownName : name;
            if (!series.empty()) out.push_back(series + " " + number);
            afterNumber = true;
        } else if (Skipped(w)) {
            continue;
        } else if (AllLetters(w) && !IsIdentifier(w) && w != "CANCEL") {
            if (afterNumber) name.clear();
            afterNumber = false;
            const std::string part = NameWord(w);
            if (!part.empty() &&
                !(part == "WARNING" && name.size() >= 7 && name.compare(name.size() - 7, 7, "WARNING") == 0))
                name += (name.empty() ? "" : " ") + part;
        } else {
            name.clear();
            afterNumber = false;
        }
    }
}

int MonthOf(const std::string& w) {
    static const char* const Months[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                         "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    for (int m = 0; m < 12; ++m)
        if (w == Months[m]) return m + 1;
    return 0;
}

}  // namespace

bool GenericSeries(const std::string& name) {
    static const char* const Generic[] = {"WARNING", "COASTAL", "LOCAL", "NAVTEX", "MESSAGE", "MSG",
                                          "AREA",    "S",       "GALE",  "STORM",  "NEAR",    "ICE"};
    size_t at = 0;
    while (at < name.size()) {
        size_t end = name.find(' ', at);
        if (end == std::string::npos) end = name.size();
        const std::string_view word(name.data() + at, end - at);
        if (std::none_of(std::begin(Generic), std::end(Generic), [&](const char* g) { return word == g; }))
            return false;
        at = end + 1;
    }
    return true;
}

std::pair<std::string, std::string> SplitSeries(const std::string& reference) {
    const size_t space = reference.rfind(' ');
    if (space == std::string::npos) return {std::string(), reference};
    return {reference.substr(0, space), reference.substr(space + 1)};
}

std::string WithoutYear(const std::string& reference) {
    const size_t slash = reference.rfind('/');
    return slash == std::string::npos ? reference : reference.substr(0, slash);
}

namespace {

// Views into text, which outlives them.
std::vector<std::string_view> Lines(const std::string& text) {
    std::vector<std::string_view> lines;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = at;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
        lines.emplace_back(text.data() + at, end - at);
        at = end + 1;
    }
    return lines;
}

bool SaysWarning(const std::string& series) {
    return series.find("WARNING") != std::string::npos || series.compare(0, 7, "NAVAREA") == 0;
}

// Words of capitals, then a number ("NAVAREA I 165", "NAV. WARN. NO. 534"), seen in the bytes
// before any word is made: most header lines are not.
bool NameThenNumber(std::string_view line) {
    size_t words = 0;
    for (size_t i = 0;;) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i >= line.size()) return false;
        if (Digit(line[i])) return words > 0;
        for (; i < line.size() && line[i] != ' ' && line[i] != '\t'; ++i)
            if (!(line[i] >= 'A' && line[i] <= 'Z') && line[i] != '.' && line[i] != ':' && line[i] != '=')
                return false;
        ++words;
    }
}

// Its own series numbers: one of the first three lines that is a name and a number and
// nothing else, or a warning's name and number followed by more ("UKRAINE COASTAL WARNING
// 310/20 ODESA-NAVTEX").
void OwnSeries(const std::string& text, std::vector<std::string>& own) {
    int header = 0;
    for (size_t at = 0, end = 0; at < text.size() && header < 3; at = end + 1) {
        for (end = at; end < text.size() && text[end] != '\r' && text[end] != '\n';) ++end;
        const std::string_view line(text.data() + at, end - at);
        if (line.find_first_not_of(" \t") == std::string::npos || line.compare(0, 4, "ZCZC") == 0) continue;
        ++header;
        if (!NameThenNumber(line)) continue;
        const std::vector<std::string> words = Words(line);
        // "CANCEL NORWEGIAN NAV. WARNING 17/23" names the warning it ends, not its own.
        if (std::any_of(words.begin(), words.end(),
                        [](const std::string& w) { return w.compare(0, 6, "CANCEL") == 0; }))
            continue;
        size_t k = 0;
        while (k < words.size() && AllLetters(words[k])) ++k;
        std::string number;
        if (k == 0 || k >= words.size() || !SeriesNumber(words[k], number)) continue;
        std::vector<std::string> found;
        SeriesIn(std::span(words).first(k + 1), found);
        if (!found.empty() && (k + 1 == words.size() || SaysWarning(found.front())))
            own.push_back(found.front());
    }
}

// "292159 UTC MAR [23]" or "302200 SEP" from words[k] on: that time in UTC seconds. Without a
// year, the month's next occurrence from the reception.
std::optional<int64_t> EndTime(const std::vector<std::string>& words, size_t k, int64_t receivedUtc) {
    const std::string& g = words[k];
    if (g.size() != 6 || Digits(g, 0) != 6) return std::nullopt;
    size_t m = k + 1;
    if (m < words.size() && words[m] == "UTC") ++m;
    const int month = m < words.size() ? MonthOf(words[m]) : 0;
    if (month == 0) return std::nullopt;
    const int day = std::atoi(g.substr(0, 2).c_str()), hour = std::atoi(g.substr(2, 2).c_str()),
              minute = std::atoi(g.substr(4, 2).c_str());
    if (day < 1 || day > 31 || hour > 23 || minute > 59) return std::nullopt;
    const platform::LocalDateTime received = datetime::UtcFromUnixSeconds(receivedUtc);
    int year = received.year;
    std::string yy;
    if (m + 1 < words.size() && words[m + 1].size() == 2 && SeriesNumber(words[m + 1], yy))
        year = 2000 + std::atoi(words[m + 1].c_str());
    else if (month < received.month)
        ++year;
    return datetime::UnixSecondsFromUtc(year, month, day, hour, minute);
}

// What follows CANCEL at c on line l, with the lines in brackets that continue it, or the
// next line where this one names nothing ("CANCEL ARKHANGELSK RADIO" / "GALEWARN 68").
std::vector<std::string> CancelWords(const std::vector<std::string_view>& lines, size_t l, size_t c) {
    std::string span(lines[l].substr(c + 6));
    size_t next = l + 1;
    for (; next < lines.size() && !lines[next].empty() && lines[next][0] == '('; ++next) {
        span += ' ';
        span += lines[next];
    }
    if (span.find_first_of("0123456789") == std::string::npos && next < lines.size()) {
        span += ' ';
        span += lines[next];
    }
    return Words(span);
}

// After CANCEL: "THIS MSG 292159 UTC MAR", "THIS MESSAGE 302200 SEP", "182200 UTC SEP": the
// message's own end (true: nothing else to read there). "THIS WARNING" without a time ends it
// after its own broadcast, and what follows may still cancel others.
bool OwnEnd(const std::vector<std::string>& words, int64_t receivedUtc, TReferences& refs) {
    if (words.empty()) return false;
    if (words[0] != "THIS") {
        const auto at = EndTime(words, 0, receivedUtc);
        if (at) refs.expires = *at;
        return at.has_value();
    }
    if (words.size() < 2 || words[1] == "PARA" || words[1] == "PARAGRAPH") return false;
    for (size_t k = 1; k < words.size() && k < 4; ++k)
        if (const auto at = EndTime(words, k, receivedUtc)) {
            refs.expires = *at;
            return true;
        }
    if (!refs.expires) refs.expires = receivedUtc + OwnBroadcastSeconds;
    return false;
}

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    return s;
}

bool AreaName(std::string_view area) {
    return area.size() >= 3 && Letter(area[0]) &&
           std::all_of(area.begin(), area.end(), [](char c) { return (c >= 'A' && c <= 'Z') || c == ' '; });
}

// "NAV. WARN. NO. 165 CANCELLED.", "NAVWARN 55/19 IS CANCELLED.": the references that stand
// before the word on its line. "SKAGERRAK: CANCELLED": an area's warning ended.
void CancelledBefore(std::string_view line, const std::string& ownName, TReferences& refs) {
    const size_t cancelled = line.find("CANCELLED");
    if (cancelled == std::string::npos) return;  // most lines: no words made
    const size_t colon = line.find(':');
    if (colon != std::string::npos && colon < cancelled &&
        Trimmed(line.substr(colon + 1, cancelled - colon - 1)).empty() &&
        line.find_first_not_of(" .", cancelled + 9) == std::string::npos &&
        AreaName(Trimmed(line.substr(0, colon)))) {
        refs.cancelsAreas.emplace_back(Trimmed(line.substr(0, colon)));
        return;
    }
    std::vector<std::string> words = Words(line);
    const auto at = std::find(words.begin(), words.end(), "CANCELLED");
    if (at == words.end()) return;
    words.erase(at, words.end());
    for (const std::string& w : words)
        if (IsIdentifier(w)) refs.cancelsIds.push_back(w);
    SeriesIn(words, refs.cancelsSeries, ownName);
}

// "SKAGERRAK: SW 15 M/S": the area a line of a gale or ice warning speaks of.
void AreaLine(std::string_view line, TReferences& refs) {
    const size_t colon = line.find(':');
    if (colon == std::string::npos) return;
    const std::string_view area = Trimmed(line.substr(0, colon));
    if (AreaName(area)) refs.areas.emplace_back(area);
}

// "20-10-2020": the day it names, UTC seconds of 00:00; -1 when it is none.
int64_t DayOf(const std::string& w) {
    int day = 0, month = 0, year = 0, used = 0;
    if (std::sscanf(w.c_str(), "%2d-%2d-%4d%n", &day, &month, &year, &used) != 3 ||
        used != static_cast<int>(w.size()) || day < 1 || day > 31 || month < 1 || month > 12 || year < 1980)
        return -1;
    return datetime::UnixSecondsFromUtc(year, month, day);
}

// Words of a list's heading that name no series.
bool ListWord(const std::string& w) {
    static const char* const Words[] = {"WARNING", "MESSAGES", "FOLLOWING", "NAVTEX", "SUMMARY",
                                        "OF",      "THE",      "ALL",       "STILL"};
    return std::any_of(std::begin(Words), std::end(Words), [&](const char* x) { return w == x; });
}

// The items of a list from word k on; false at the first word that is none.
bool ListItems(const std::vector<std::string>& words, size_t k, int& year, TInForceList& list, bool& nil) {
    for (; k < words.size(); ++k) {
        const std::string& w = words[k];
        std::string number;
        if (w == "AT") {
            // AT 251000 UTC DEC 20: the time of the list, not an item.
            size_t e = k + 1;
            if (e < words.size() && words[e].size() == 6 && Digits(words[e], 0) == 6) ++e;
            if (e < words.size() && words[e] == "UTC") ++e;
            if (e < words.size() && MonthOf(words[e]) != 0) {
                ++e;
                if (e < words.size() && words[e].size() == 2 && Digits(words[e], 0) == 2) ++e;
            }
            k = e - 1;
        } else if (w.size() == 4 && Digits(w, 0) == 4 &&
                   (w.compare(0, 2, "19") == 0 || w.compare(0, 2, "20") == 0)) {
            // "2020 SERIES:", "2020:": the year of the numbers that follow.
            year = std::atoi(w.c_str()) % 100;
            if (k + 1 < words.size() && words[k + 1] == "SERIES") ++k;
        } else if (const std::string id = w.substr(0, w.find('=')); IsIdentifier(id)) {
            const int64_t day = k + 1 < words.size() ? DayOf(words[k + 1]) : -1;
            list.ids.emplace_back(id, day);
            if (day != -1) ++k;
        } else if (SeriesNumber(w, number)) {
            if (number.find('/') == std::string::npos && year >= 0)
                number.append(1, '/').append(std::to_string(100 + year), 1);
            list.numbers.push_back(number);
        } else if (w == "NIL") {
            nil = true;
        } else if (w == "VIA") {
            // VIA L AND M: the stations that broadcast them.
            while (k + 1 < words.size() && (words[k + 1].size() == 1 || words[k + 1] == "AND") &&
                   AllLetters(words[k + 1]))
                ++k;
        } else {
            return false;
        }
    }
    return true;
}

// A series as a list's heading names it: its name's words less those of every list.
std::string ListSeries(const std::vector<std::string>& words, size_t end) {
    std::string series;
    for (size_t k = 0; k < end; ++k) {
        if (!AllLetters(words[k])) continue;
        const std::string part = NameWord(words[k]);
        if (part.empty() || ListWord(part) || Skipped(part)) continue;
        series += (series.empty() ? "" : " ") + part;
    }
    return series;
}

// Items over the lines from l on that hold only items, into list.
void MoreItems(const std::vector<std::string_view>& lines, size_t l, int year, TInForceList& list,
               bool& nil) {
    for (; l < lines.size(); ++l) {
        const std::vector<std::string> more = Words(lines[l]);
        TInForceList line;
        bool lineNil = false;
        if (more.empty() || !ListItems(more, 0, year, line, lineNil)) break;
        nil = nil || lineNil;
        list.numbers.insert(list.numbers.end(), line.numbers.begin(), line.numbers.end());
        list.ids.insert(list.ids.end(), line.ids.begin(), line.ids.end());
    }
}

void AddList(TInForceList list, bool nil, std::vector<TInForceList>& lists) {
    // A list names either numbers of one series or identifiers; "NIL" is a list of none.
    list.ofIdentifiers = !list.ids.empty();
    if (list.ofIdentifiers) list.series.clear();
    if (list.ofIdentifiers || !list.numbers.empty() || nil) lists.push_back(std::move(list));
}

// "DANISH AND SWEDISH NAV.WNG STILL IN FORCE VIA L AND M." followed by "SWEDISH WNG NIL",
// "DANISH WNG 118/14 120/14": one list a line, each of the series it names.
void SubLists(const std::vector<std::string_view>& lines, size_t l, std::vector<TInForceList>& lists) {
    for (; l < lines.size(); ++l) {
        const std::vector<std::string> words = Words(lines[l]);
        size_t k = 0;
        bool warning = false;
        for (; k < words.size() && AllLetters(words[k]) && words[k] != "NIL"; ++k)
            if (NameWord(words[k]) == "WARNING") warning = true;
        TInForceList list;
        list.series = ListSeries(words, k);
        int year = -1;
        bool nil = false;
        if (!warning || k == words.size() || list.series.empty() || !ListItems(words, k, year, list, nil))
            return;
        AddList(std::move(list), nil, lists);
    }
}

// "NAVAREA I WARNINGS IN FORCE AT 251000 UTC DEC 20: 2020 SERIES: 145 165 …",
// "NAV.WARNINGS IN FORCE AT 250800 UTC DEC 20 719 720 …", "NAVTEX MESSAGES IN FORCE: HA46=FIN233 …",
// "FOLLOWING NAVIGATIONAL WARNINGS IN FORCE:" with lines "PA08 20-10-2020", "COASTAL WARNINGS
// IN FORCE" with lines "84/19 372/19", "2020: 268 324 …" under a year.
void InForceLists(const std::vector<std::string_view>& lines, std::vector<TInForceList>& lists) {
    for (size_t l = 0; l < lines.size(); ++l) {
        if (lines[l].find("IN FORCE") == std::string::npos) continue;  // most lines: no words made
        const std::vector<std::string> words = Words(lines[l]);
        size_t force = 1;
        while (force < words.size() && !(words[force] == "FORCE" && words[force - 1] == "IN")) ++force;
        if (force >= words.size() || (force >= 2 && words[force - 2] == "NOT")) continue;
        TInForceList list;
        list.series = ListSeries(words, force - 1);
        int year = -1;
        bool nil = false;
        if (ListItems(words, force + 1, year, list, nil)) MoreItems(lines, l + 1, year, list, nil);
        if (list.numbers.empty() && list.ids.empty() && !nil)
            SubLists(lines, l + 1, lists);  // the heading says only where they are
        else
            AddList(std::move(list), nil, lists);
    }
}

}  // namespace

TReading ReadingOf(char subject) {
    switch (subject) {
        case 'B':
        case 'C':
            return TReading::Areas;
        case 'E':
        case 'Z':
            return TReading::Plain;
        default:
            return TReading::Series;
    }
}

TReferences FindReferences(const std::string& text, int64_t receivedUtc, TReading reading) {
    TReferences refs;
    if (reading == TReading::Series) OwnSeries(text, refs.own);
    const bool withAreas = reading == TReading::Areas;
    // Most messages neither cancel nor list anything: one look at the whole text says so.
    const bool lists = text.find("FORCE") != std::string::npos;
    const bool cancels = text.find("CANCEL") != std::string::npos;
    if (!lists && !cancels && !withAreas) return refs;
    const std::vector<std::string_view> lines = Lines(text);
    if (lists) InForceLists(lines, refs.lists);
    if (withAreas)
        for (const std::string_view line : lines) AreaLine(line, refs);
    if (!cancels) return refs;
    if (text.find("SELF CANCELLING") != std::string::npos) refs.expires = receivedUtc + OwnBroadcastSeconds;
    const std::string ownName = refs.own.empty() ? std::string() : SplitSeries(refs.own.front()).first;
    for (size_t l = 0; l < lines.size(); ++l) {
        CancelledBefore(lines[l], ownName, refs);
        for (size_t c = lines[l].find("CANCEL"); c != std::string::npos; c = lines[l].find("CANCEL", c + 6)) {
            if (Letter(At(lines[l], c + 6)) || (c > 0 && Letter(lines[l][c - 1]))) continue;  // CANCELLED
            const std::vector<std::string> words = CancelWords(lines, l, c);
            if (OwnEnd(words, receivedUtc, refs)) continue;
            for (const std::string& w : words)
                if (IsIdentifier(w)) refs.cancelsIds.push_back(w);
            SeriesIn(words, refs.cancelsSeries, ownName);
        }
    }
    return refs;
}

}  // namespace warnings
