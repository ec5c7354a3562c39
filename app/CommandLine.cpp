// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

namespace app {

std::string UpperAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

bool IsForced(const std::vector<std::string>& args, const std::string& word) {
    return args.size() == 2 && UpperAscii(args[0]) == "FORCE" && UpperAscii(args[1]) == word;
}

StartAction DecideStartAction(const std::vector<std::string>& args) {
    for (const char* word : {"UPDATE", "OLD_UPDATE", "NEW_UPDATE"}) {
        if (IsForced(args, word)) return StartAction::UpdateDialog;
    }
    return StartAction::FirmwareOffer;
}

}  // namespace app
