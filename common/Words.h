// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace text {

// Whether padded (a text with a blank at each end) holds text's length characters from at
// as a whole word, blanks on both sides.
inline bool HoldsWord(const std::string& padded, const std::string& text, size_t at, size_t length) {
    // Appended, not added up: MinGW's GCC 12 takes " " + string for an overlapping copy.
    std::string word(1, ' ');
    word.append(text, at, length) += ' ';
    return padded.find(word) != std::string::npos;
}

}  // namespace text
