// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "baro/StormWarning.h"

using namespace baro;

TEST(StormWarning, MarineTermsAndOneWarningPerFall) {
    EXPECT_EQ(TermOf(0.04), TTendencyTerm::Steady);
    EXPECT_EQ(TermOf(-0.1), TTendencyTerm::Slowly);
    EXPECT_EQ(TermOf(1.5), TTendencyTerm::Slowly);
    EXPECT_EQ(TermOf(-1.6), TTendencyTerm::Plain);
    EXPECT_EQ(TermOf(3.5), TTendencyTerm::Plain);
    EXPECT_EQ(TermOf(-3.6), TTendencyTerm::Quickly);
    EXPECT_EQ(TermOf(6.0), TTendencyTerm::Quickly);
    EXPECT_EQ(TermOf(-6.1), TTendencyTerm::VeryRapidly);
    EXPECT_EQ(TendencyWords(-4.0), "en baisse rapide");
    EXPECT_EQ(TendencyWords(2.0), "en hausse");
    EXPECT_EQ(TendencyWords(0.0), "stable");

    TStormWatch watch;
    using C = TStormWatch::TChange;
    EXPECT_EQ(watch.Update(-1.0, 3.6), C::None);
    EXPECT_EQ(watch.Update(-3.6, 3.6), C::Raised);
    EXPECT_EQ(watch.Update(-4.5, 3.6), C::None) << "one notice per event";
    EXPECT_EQ(watch.Update(std::nullopt, 3.6), C::Ended);
    EXPECT_EQ(watch.Update(-7.0, 3.6), C::Raised);
    EXPECT_EQ(watch.Update(-3.5, 3.6), C::Ended) << "eased below the threshold";
    EXPECT_EQ(watch.Update(+5.0, 3.6), C::None) << "a rise is no storm";
    EXPECT_EQ(watch.Update(-2.0, 2.0), C::Raised) << "the threshold is the user's";
    EXPECT_EQ(watch.Update(std::nullopt, 3.6), C::Ended);
    EXPECT_EQ(watch.Update(-3.56, 3.6), C::Raised) << "shown as -3.6, so a warning";
    EXPECT_EQ(StormNotice(-4.0, ','),
              "Avis de tempête : le baromètre est en baisse rapide (-4,0 hPa en 3 heures). Prenez vos "
              "précautions.");
}
