// SPDX-License-Identifier: GPL-3.0-or-later
#include "baro/StormWarning.h"

#include "common/Translatable.h"

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
            return translatable::Tr("baro", "stable");
        case TTendencyTerm::Slowly:
            return rising ? translatable::Tr("baro", "en hausse lente")
                          : translatable::Tr("baro", "en baisse lente");
        case TTendencyTerm::Plain:
            return rising ? translatable::Tr("baro", "en hausse") : translatable::Tr("baro", "en baisse");
        case TTendencyTerm::Quickly:
            return rising ? translatable::Tr("baro", "en hausse rapide")
                          : translatable::Tr("baro", "en baisse rapide");
        case TTendencyTerm::VeryRapidly:
            break;
    }
    return rising ? translatable::Tr("baro", "en hausse très rapide")
                  : translatable::Tr("baro", "en baisse très rapide");
}

TStormWatch::TChange TStormWatch::Update(std::optional<double> t, double threshold) {
    // The fall as the status bar shows it, to the tenth.
    const bool falling = t && *t < 0 && Tenths(*t) >= threshold - 1e-9;
    if (falling == active) return TChange::None;
    active = falling;
    return active ? TChange::Raised : TChange::Ended;
}

std::string StormNotice(double t, char sep) {
    return translatable::Tr("baro", "Avis de tempête : le baromètre est ") + TendencyWords(t) + " (" +
           text::FormatOneDecimal(t, 1, sep) +
           translatable::Tr("baro", " hPa en 3 heures). Prenez vos précautions.");
}

}  // namespace baro
