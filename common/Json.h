// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

// JSON as peers on the boat's network send it (gpsd, Signal K): read whole into a tree, or
// not at all. Deeply nested or malformed input is refused, never followed.
namespace json {

struct TValue {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string text;
    std::vector<TValue> items;  // an array's
    // An object's members in order: keys[i] names values[i] (no pair of a type still being
    // declared: not every standard library takes it).
    std::vector<std::string> keys;
    std::vector<TValue> values;

    // An object's member, or null.
    const TValue* Find(std::string_view key) const;
    // An object's member that is a number, or false.
    bool Number(std::string_view key, double& out) const;
    // An object's member that is a string, or empty.
    std::string Text(std::string_view key) const;
};

// text as a JSON string, quoted; a carriage return is dropped (the receiver's line ends).
std::string Quote(const std::string& text);

// False for anything that is not one whole JSON value (white space around it allowed).
bool Parse(std::string_view text, TValue& out);

}  // namespace json
