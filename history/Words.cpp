// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/Words.h"

#include <cstdint>
#include <string_view>
#include <vector>

#include "common/Windows1252.h"

namespace history {
namespace {

// One code point from UTF-8 at s[at], advancing at. A byte that starts no well-formed
// sequence is Invalid: typed text may hold any bytes, and the index refuses malformed UTF-8.
constexpr uint32_t Invalid = 0xFFFFFFFF;
uint32_t NextCodePoint(const std::string& s, size_t& at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) return byte(at++);
    const int length = (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
    if (length == 0 || at + static_cast<size_t>(length) > s.size()) {
        ++at;
        return Invalid;
    }
    uint32_t cp = lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        if ((byte(at + static_cast<size_t>(i)) & 0xC0) != 0x80) {
            ++at;
            return Invalid;
        }
        cp = (cp << 6) | (byte(at + static_cast<size_t>(i)) & 0x3F);
    }
    at += static_cast<size_t>(length);
    // Overlong forms, surrogates and what lies past Unicode are malformed too.
    constexpr uint32_t Least[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < Least[length] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return Invalid;
    return cp;
}

// Letters and digits of the scripts NAVTEX carries, each of them a letter or digit for the
// index's tokenizer too: a word of ours is always exactly one word of the index.
bool IsWordCharacter(uint32_t cp) {
    if (cp < 0x80) return (cp >= '0' && cp <= '9') || ((cp | 0x20) >= 'a' && (cp | 0x20) <= 'z');
    if (cp >= 0xC0 && cp <= 0x24F) return cp != 0xD7 && cp != 0xF7;
    if (cp == 0x386 || (cp >= 0x388 && cp <= 0x38A) || cp == 0x38C) return true;
    if (cp >= 0x38E && cp <= 0x3CE) return cp != 0x3A2;
    return cp >= 0x400 && cp <= 0x45F;
}

// Calls word(begin, end) for every word of UTF-8 text; returns whether it ended in a word.
template <class Word>
bool ForEachWord(const std::string& text, Word&& word) {
    size_t at = 0, start = std::string::npos;
    while (at < text.size()) {
        const size_t here = at;
        const auto byte = static_cast<unsigned char>(text[at]);
        bool inWord;
        if (byte < 0x80) {
            inWord = (byte >= '0' && byte <= '9') || ((byte | 0x20) >= 'a' && (byte | 0x20) <= 'z');
            ++at;
        } else {
            inWord = IsWordCharacter(NextCodePoint(text, at));
        }
        if (inWord && start == std::string::npos) start = here;
        if (!inWord && start != std::string::npos) {
            word(start, here);
            start = std::string::npos;
        }
    }
    if (start != std::string::npos) word(start, text.size());
    return start != std::string::npos;
}

}  // namespace

// What the index is fed of a message: each of its words once, case aside. The index keeps
// no positions, so a word said ten times costs it nothing more than once.
std::string IndexText(const std::string& bytes) {
    std::string utf8 = text::Windows1252ToUtf8(bytes);
    for (char& c : utf8)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    std::vector<std::string_view> words;
    words.reserve(utf8.size() / 4);
    ForEachWord(utf8,
                [&](size_t begin, size_t end) { words.emplace_back(utf8.data() + begin, end - begin); });
    // An open-addressing set of the words kept so far (a message has a few hundred).
    size_t slots = 16;
    while (slots < words.size() * 2) slots *= 2;
    std::vector<uint32_t> table(slots, 0);  // 1 + index into words, 0 for free
    std::string joined;
    joined.reserve(utf8.size());
    for (size_t i = 0; i < words.size(); ++i) {
        uint64_t hash = 1469598103934665603ULL;
        for (char c : words[i]) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
        size_t slot = static_cast<size_t>(hash) & (slots - 1);
        while (table[slot] != 0 && words[table[slot] - 1] != words[i]) slot = (slot + 1) & (slots - 1);
        if (table[slot] != 0) continue;
        table[slot] = static_cast<uint32_t>(i + 1);
        if (!joined.empty()) joined += ' ';
        joined += words[i];
    }
    return joined;
}

std::string MatchExpression(const std::string& typed) {
    std::vector<std::string> words;
    const bool endsInWord = ForEachWord(
        typed, [&](size_t begin, size_t end) { words.push_back(typed.substr(begin, end - begin)); });
    std::string expression;
    for (size_t i = 0; i < words.size(); ++i) {
        if (i > 0) expression += ' ';
        expression += '"' + words[i] + '"';
        // A single letter as a prefix would match nearly every message.
        if (i + 1 == words.size() && endsInWord && words[i].size() >= 2) expression += '*';
    }
    return expression;
}

}  // namespace history
