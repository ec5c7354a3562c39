// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

// The three-hour pressure tendency in the marine terms, and the storm warning a fast fall
// raises.
namespace baro {

enum class TTendencyTerm { Steady, Slowly, Plain, Quickly, VeryRapidly };

// By the size of the change in hPa per three hours: below 0.1 steady, to 1.5 slowly, to
// 3.5 (plain) rising or falling, to 6.0 quickly, beyond very rapidly. The value is taken
// to one decimal, as the status shows it.
TTendencyTerm TermOf(double hPaPer3h);
// The French words for the status and the notice: "en baisse rapide", "stable" ...
std::string TendencyWords(double hPaPer3h);

inline constexpr double DefaultStormThreshold = 3.6;  // hPa in three hours: "quickly"

// Watches the tendency: a fall of the threshold or more raises the warning, once per
// event; the warning ends when the fall eases below the threshold.
class TStormWatch {
public:
    enum class TChange { None, Raised, Ended };
    TChange Update(std::optional<double> hPaPer3h, double threshold);
    bool Active() const { return active; }

private:
    bool active = false;
};

// The notice's text for a fall.
std::string StormNotice(double hPaPer3h, char decimalSeparator);

}  // namespace baro
