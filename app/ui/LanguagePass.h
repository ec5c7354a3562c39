// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>

class TMainForm;

// The French texts of the main window, in the order they are written.
struct TLanguageText {
    enum Kind { PageCaption, MenuCaption, AxisTitle, Hint };
    Kind kind;
    const char* control;  // object name; for a page its index "0", "1", "2"
    const char* text;
};

std::span<const TLanguageText> FrenchMainTexts();

// Writes the texts into the window; changes nothing else.
void RunLanguagePass(TMainForm& form);
