// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/Json.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace json {
namespace {

constexpr int MaxDepth = 64;

class TReader {
public:
    explicit TReader(std::string_view t) : text(t) {}

    bool Whole(TValue& out) {
        if (!Value(out, 0)) return false;
        Space();
        return at == text.size();
    }

private:
    void Space() {
        while (at < text.size() &&
               (text[at] == ' ' || text[at] == '\t' || text[at] == '\n' || text[at] == '\r'))
            ++at;
    }
    bool Take(char c) {
        Space();
        if (at < text.size() && text[at] == c) {
            ++at;
            return true;
        }
        return false;
    }
    bool Word(std::string_view w) {
        if (text.compare(at, w.size(), w) != 0) return false;
        at += w.size();
        return true;
    }

    bool Value(TValue& out, int depth) {
        if (depth > MaxDepth) return false;
        Space();
        if (at >= text.size()) return false;
        const char c = text[at];
        if (c == '{') return Object(out, depth);
        if (c == '[') return Array(out, depth);
        if (c == '"') {
            out.kind = TValue::Kind::String;
            return String(out.text);
        }
        if (Word("true") || Word("false")) {
            out.kind = TValue::Kind::Bool;
            out.boolean = c == 't';
            return true;
        }
        if (Word("null")) return true;
        return NumberValue(out);
    }

    bool NumberValue(TValue& out) {
        const size_t start = at;
        while (at < text.size() &&
               std::string_view("+-0123456789.eE").find(text[at]) != std::string_view::npos)
            ++at;
        if (at == start) return false;
        const std::string digits(text.substr(start, at - start));
        char* end = nullptr;
        out.number = std::strtod(digits.c_str(), &end);
        out.kind = TValue::Kind::Number;
        return end == digits.c_str() + digits.size() && std::isfinite(out.number);
    }

    bool String(std::string& out) {
        ++at;  // the opening quote
        while (at < text.size()) {
            const char c = text[at++];
            if (c == '"') return true;
            if (static_cast<unsigned char>(c) < 0x20) return false;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (at >= text.size()) return false;
            const char e = text[at++];
            switch (e) {
                case 'n':
                    out += '\n';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'u': {
                    if (at + 4 > text.size()) return false;
                    const std::string hex(text.substr(at, 4));
                    char* end = nullptr;
                    const long code = std::strtol(hex.c_str(), &end, 16);
                    if (end != hex.c_str() + 4) return false;
                    at += 4;
                    // Names and paths are ASCII; anything else stands as one mark.
                    out += code < 0x80 ? static_cast<char>(code) : '?';
                    break;
                }
                default:
                    out += e;  // " \ /
            }
        }
        return false;
    }

    bool Array(TValue& out, int depth) {
        ++at;
        out.kind = TValue::Kind::Array;
        if (Take(']')) return true;
        do {
            out.items.emplace_back();
            if (!Value(out.items.back(), depth + 1)) return false;
        } while (Take(','));
        return Take(']');
    }

    bool Object(TValue& out, int depth) {
        ++at;
        out.kind = TValue::Kind::Object;
        if (Take('}')) return true;
        do {
            Space();
            if (at >= text.size() || text[at] != '"') return false;
            std::string key;
            if (!String(key) || !Take(':')) return false;
            out.keys.push_back(std::move(key));
            out.values.emplace_back();
            if (!Value(out.values.back(), depth + 1)) return false;
        } while (Take(','));
        return Take('}');
    }

    std::string_view text;
    size_t at = 0;
};

}  // namespace

const TValue* TValue::Find(std::string_view key) const {
    for (size_t i = 0; i < keys.size() && i < values.size(); ++i)
        if (keys[i] == key) return &values[i];
    return nullptr;
}

bool TValue::Number(std::string_view key, double& out) const {
    const TValue* v = Find(key);
    if (!v || v->kind != Kind::Number) return false;
    out = v->number;
    return true;
}

std::string TValue::Text(std::string_view key) const {
    const TValue* v = Find(key);
    return v && v->kind == Kind::String ? v->text : std::string();
}

bool Parse(std::string_view text, TValue& out) {
    out = TValue{};
    return TReader(text).Whole(out);
}

std::string Quote(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            continue;
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

}  // namespace json
