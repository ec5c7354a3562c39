// SPDX-License-Identifier: GPL-3.0-or-later
#include "nmea/Sentences.h"

#include <cstdio>

namespace nmea {
namespace {

std::string Fixed(double value, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

std::string TwoDigits(int v) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%02d", v);
    return buffer;
}

bool Reserved(unsigned char c) {
    return c == '$' || c == '*' || c == ',' || c == '!' || c == '\\' || c == '^' || c == '~';
}

}  // namespace

std::string Checksum(const std::string& body) {
    unsigned char sum = 0;
    for (unsigned char c : body) sum ^= c;
    static const char hex[] = "0123456789ABCDEF";
    return {hex[sum >> 4], hex[sum & 15]};
}

std::string Sentence(const std::string& body) {
    return "$" + body + "*" + Checksum(body) + "\r\n";
}

std::string MdaSentence(double hPa, double celsius) {
    const double inchesOfMercury = hPa / 33.8638866667;
    return Sentence("WIMDA," + Fixed(inchesOfMercury, 3) + ",I," + Fixed(hPa / 1000.0, 5) + ",B," +
                    Fixed(celsius, 1) + ",C,,,,,,,,,,,,,,");
}

std::string XdrSentence(double hPa, double celsius) {
    return Sentence("WIXDR,P," + Fixed(hPa / 1000.0, 5) + ",B,Barometer,C," + Fixed(celsius, 1) +
                    ",C,AirTemp");
}

std::string EscapeText(const std::string& text) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (c < 0x20 || c > 0x7E || Reserved(c)) {
            out += '^';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

bool ValidIdentifier(const std::string& id) {
    const auto upper = [](char c) { return c >= 'A' && c <= 'Z'; };
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    return id.size() == 4 && upper(id[0]) && upper(id[1]) && digit(id[2]) && digit(id[3]);
}

std::vector<std::string> NrxSentences(const TNavtexMessage& m, int sequence) {
    if (!ValidIdentifier(m.identifier)) return {};
    const std::string escaped = EscapeText(m.text);
    const std::string id = std::to_string(((sequence % 1000) + 1000) % 1000);
    const std::string& code = m.identifier;
    // Fields 4 to 12 are given in the first sentence only.
    const std::string head = code + "," + (m.international ? "2" : "1") + "," + TwoDigits(m.hour) +
                             TwoDigits(m.minute) + TwoDigits(m.second) + "," + TwoDigits(m.day) + "," +
                             TwoDigits(m.month) + "," + std::to_string(m.year) + "," +
                             std::to_string(m.text.size()) + ",0,A";
    const std::string emptyHead = ",,,,,,,,";
    // Cut the text so that every sentence fits, never inside an escape.
    std::vector<std::string> pieces;
    size_t at = 0;
    do {
        const bool first = pieces.empty();
        // "$CRNRX,nnn,nnn,iii," + head + "," + text + "*hh\r\n"
        const size_t fixed = 1 + 6 + 4 + 4 + id.size() + 1 + (first ? head.size() : emptyHead.size()) + 1 + 5;
        const size_t room = MaxSentenceLength > fixed ? MaxSentenceLength - fixed : 1;
        size_t take = std::min(room, escaped.size() - at);
        while (take > 0 && at + take < escaped.size() &&
               ((take >= 1 && escaped[at + take - 1] == '^') || (take >= 2 && escaped[at + take - 2] == '^')))
            --take;
        pieces.push_back(escaped.substr(at, take));
        at += take;
    } while (at < escaped.size() && pieces.size() < MaxSentences);
    std::vector<std::string> sentences;
    const std::string total = std::to_string(pieces.size());
    for (size_t i = 0; i < pieces.size(); ++i) {
        sentences.push_back(Sentence("CRNRX," + total + "," + std::to_string(i + 1) + "," + id + "," +
                                     (i == 0 ? head : emptyHead) + "," + pieces[i]));
    }
    return sentences;
}

}  // namespace nmea
