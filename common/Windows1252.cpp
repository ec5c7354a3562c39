// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/Windows1252.h"

#include <cstdint>

namespace text {
namespace {

// 0x80..0x9F; the others are the same as Latin-1.
constexpr char16_t High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char FromCodePoint(uint32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
    for (int i = 0; i < 32; ++i)
        if (High[i] == cp) return static_cast<char>(0x80 + i);
    return '?';
}

}  // namespace

std::string Windows1252ToUtf8(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    // Runs of ASCII, nearly all of a message, go over whole.
    for (size_t at = 0; at < bytes.size();) {
        size_t end = at;
        while (end < bytes.size() && static_cast<unsigned char>(bytes[end]) < 0x80) ++end;
        out.append(bytes, at, end - at);
        if (end == bytes.size()) break;
        const auto b = static_cast<unsigned char>(bytes[end]);
        AppendUtf8(out, b < 0xA0 ? High[b - 0x80] : b);
        at = end + 1;
    }
    return out;
}

std::string Utf8ToWindows1252(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
        if (b >= 0x80 && b < 0xC0) extra = -1;  // stray continuation byte
        if (extra < 0 || i + static_cast<size_t>(extra) >= utf8.size() + (extra == 0)) {  // cut short
            out += '?';
            ++i;
            continue;
        }
        uint32_t cp = extra == 0 ? b : b & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        out += FromCodePoint(cp);
        i += static_cast<size_t>(extra) + 1;
    }
    return out;
}

}  // namespace text
