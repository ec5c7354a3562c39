// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// The words of the full-text index: what a message gives it and what a search asks of it.
namespace history {

// What the index is fed of a message (Windows-1252 bytes): each of its words once, in
// capitals, separated by spaces.
std::string IndexText(const std::string& bytes);

// What a user typed as a full-text expression: its words, each quoted, so that no
// character has a meaning of its own (quotes, stars, NEAR, columns); the last word also
// matches as a prefix while it is still being typed. Empty when no word is left.
std::string MatchExpression(const std::string& typed);

}  // namespace history
