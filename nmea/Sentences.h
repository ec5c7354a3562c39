// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// NMEA 0183 sentences for the boat's network: the barometer (MDA, XDR) and NAVTEX
// messages (NRX, as IEC 61162-1 lays them out).
namespace nmea {

inline constexpr size_t MaxSentenceLength = 82;  // "$" to the line end, CR LF included
// The sentence counters have three digits: a longer text is cut after the 999th sentence.
inline constexpr size_t MaxSentences = 999;

// XOR of the characters between '$' and '*', as two upper-case hex digits.
std::string Checksum(const std::string& body);
// "$" + body + "*hh" + CR LF.
std::string Sentence(const std::string& body);

// Meteorological composite: pressure in inches of mercury and in bars, air temperature.
std::string MdaSentence(double seaLevelHpa, double airTemperatureC);
// Transducer measurements: the same pressure (bars) and temperature (degrees C).
std::string XdrSentence(double seaLevelHpa, double airTemperatureC);

// One NAVTEX message for NRX: its identifier (B1 transmitter, B2 subject, B3B4 serial),
// band, reception time (UTC) and text as received (8-bit bytes, lines with CR LF).
struct TNavtexMessage {
    std::string identifier;     // "FA12"
    bool international = true;  // 518 kHz, else 490 kHz
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    std::string text;
};

// The text with CR, LF, the reserved characters $ * , ! \ ^ ~ and any byte outside
// printable ASCII written as ^HH.
std::string EscapeText(const std::string& text);

// A NAVTEX identifier B1B2B3B4: transmitter and subject letters A-Z, serial 00-99.
bool ValidIdentifier(const std::string& identifier);

// The message as NRX sentences, none longer than 82 characters; sequence numbers the
// message (0..999, as the sentences' message id). None for an invalid identifier: the
// field cannot be escaped, and a chart plotter must not get a broken sentence.
std::vector<std::string> NrxSentences(const TNavtexMessage& message, int sequence);

}  // namespace nmea
