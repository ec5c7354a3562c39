// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace app {

// What the first showing of the main window does after its set-up.
enum class StartAction { FirmwareOffer, UpdateDialog };

// Upper-cases the letters a..z only, as the command words are compared.
std::string UpperAscii(std::string text);

// args: the arguments after the program name, as the platform split them.
StartAction DecideStartAction(const std::vector<std::string>& args);

// True when exactly two arguments read FORCE and the given word (case-insensitive).
bool IsForced(const std::vector<std::string>& args, const std::string& word);

}  // namespace app
