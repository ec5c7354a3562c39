// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// A stored message's bytes as the window shows them.
namespace history {

// The first line of a message worth showing: not the ZCZC line, not a blank one (UTF-8).
std::string FirstLine(const std::string& bytes);

// A message as the window shows it: one line per CR LF, CR or LF (files copied from other
// systems end their lines with LF alone), each line ended by CR LF; 0x1A ends the text.
std::string ShownText(const std::string& bytes);

}  // namespace history
