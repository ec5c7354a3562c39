// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// Message text is kept as the receiver's Windows-1252 bytes; the widgets show UTF-8.
// Every byte has a code point (the five the code page leaves open map to the C1 controls
// of the same value), so a round trip gives back the same bytes.
namespace text {

std::string Windows1252ToUtf8(const std::string& bytes);

// Characters outside the code page become '?'.
std::string Utf8ToWindows1252(const std::string& utf8);

}  // namespace text
