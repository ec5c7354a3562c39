// SPDX-License-Identifier: GPL-3.0-or-later
// A message file's bytes, whatever they are: split into the tree's lines and the history's
// shown text, its first line found, its code page converted there and back unchanged; and
// the same bytes typed into the search field give a well-formed expression.
#include <algorithm>

#include "common/Windows1252.h"
#include "fuzz/FuzzSupport.h"
#include "history/HistoryStore.h"
#include "history/MessageText.h"
#include "history/Words.h"
#include "navtex/UnitNavtex.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (const std::string& line : navtex::SplitMessageLines(bytes)) {
        FUZZ_CHECK(line.find('\r') == std::string::npos && line.find('\n') == std::string::npos);
        FUZZ_CHECK(line.find('\x1A') == std::string::npos);
    }
    const std::string shown = history::ShownText(bytes);
    FUZZ_CHECK(shown.size() <= 2 * bytes.size() + 2);
    history::FirstLine(bytes);
    FUZZ_CHECK(text::Utf8ToWindows1252(text::Windows1252ToUtf8(bytes)) == bytes);
    navtex::CategoryOf(bytes.substr(0, 4));

    // Quotes come in pairs, each word quoted; only spaces and stars stand outside them.
    const std::string expression = history::MatchExpression(bytes);
    bool inside = false;
    for (char c : expression) {
        if (c == '"')
            inside = !inside;
        else if (!inside)
            FUZZ_CHECK(c == ' ' || c == '*');
    }
    FUZZ_CHECK(!inside);
    return 0;
}
