// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/MessageText.h"

#include <algorithm>

#include "common/Windows1252.h"

namespace history {

std::string FirstLine(const std::string& bytes) {
    size_t at = 0;
    while (at < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n\x1A", at);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(at, end - at);
        const size_t first = line.find_first_not_of(" \t");
        if (bytes[std::min(end, bytes.size() - 1)] == '\x1A' && end < bytes.size())
            at = bytes.size();
        else
            at = end + 1;
        if (first == std::string::npos || line.compare(first, 4, "ZCZC") == 0) continue;
        return text::Windows1252ToUtf8(line.substr(first));
    }
    return {};
}

std::string ShownText(const std::string& bytes) {
    std::string shown;
    shown.reserve(bytes.size() + bytes.size() / 16);
    const size_t end = std::min(bytes.find('\x1A'), bytes.size());
    for (size_t at = 0; at < end;) {
        size_t stop = bytes.find_first_of("\r\n", at);
        if (stop >= end) stop = end;
        shown.append(bytes, at, stop - at);
        shown += "\r\n";
        at = stop;
        if (at < end && bytes[at++] == '\r' && at < end && bytes[at] == '\n') ++at;
    }
    return shown;
}

}  // namespace history
