// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/Numbers.h"

#include <charconv>
#include <cmath>

namespace text {

std::string FormatOneDecimal(double value, int width, char decimalSeparator) {
    // Room for any finite double in fixed notation; a value that is no number reads as
    // dashes rather than as whatever the buffer held.
    char buffer[400];
    const auto result = std::isfinite(value) ? std::to_chars(buffer, buffer + sizeof buffer, value,
                                                             std::chars_format::fixed, 1)
                                             : std::to_chars_result{buffer, std::errc::invalid_argument};
    std::string text = result.ec == std::errc() ? std::string(buffer, result.ptr) : std::string("--.-");
    for (char& c : text) {
        if (c == '.') c = decimalSeparator;
    }
    if (static_cast<int>(text.size()) < width) text.insert(0, static_cast<size_t>(width) - text.size(), ' ');
    return text;
}

}  // namespace text
