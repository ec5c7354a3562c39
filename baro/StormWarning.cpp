// SPDX-License-Identifier: GPL-3.0-or-later
#include "baro/StormWarning.h"

#include <cmath>

#include "acquisition/StatusTexts.h"
#include "common/Numbers.h"

namespace baro {
namespace {

double Tenths(double v) {
    return std::round(std::fabs(v) * 10.0) / 10.0;
}

}  // namespace

TTendencyTerm TermOf(double t) {
    const double size = Tenths(t);
    if (size < 0.1) return TTendencyTerm::Steady;
    if (size <= 1.5) return TTendencyTerm::Slowly;
    if (size <= 3.5) return TTendencyTerm::Plain;
    if (size <= 6.0) return TTendencyTerm::Quickly;
    return TTendencyTerm::VeryRapidly;
}

std::string TendencyWords(double t) {
    const bool rising = t > 0;
    switch (TermOf(t)) {
        case TTendencyTerm::Steady:
            return "stable";
        case TTendencyTerm::Slowly:
            return rising ? "en hausse lente" : "en baisse lente";
        case TTendencyTerm::Plain:
            return rising ? "en hausse" : "en baisse";
        case TTendencyTerm::Quickly:
            return rising ? "en hausse rapide" : "en baisse rapide";
        case TTendencyTerm::VeryRapidly:
            break;
    }
    return rising ? "en hausse très rapide" : "en baisse très rapide";
}

TStormWatch::TChange TStormWatch::Update(std::optional<double> t, double threshold) {
    // The fall as the status bar shows it, to the tenth.
    const bool falling = t && *t < 0 && Tenths(*t) >= threshold - 1e-9;
    if (falling == active) return TChange::None;
    active = falling;
    return active ? TChange::Raised : TChange::Ended;
}

std::string StormNotice(double t, char sep) {
    return "Avis de tempête : le baromètre est " + TendencyWords(t) + " (" +
           text::FormatOneDecimal(t, 1, sep) + " hPa en 3 heures). Prenez vos précautions.";
}

}  // namespace baro
