// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include <cmath>

#include "warnings/Alerts.h"
#include "warnings/Export.h"
#include "warnings/Urgency.h"
#include "warnings/Warnings.h"

using warnings::FindPositions;
using warnings::TShape;

namespace {

// "lat lon" of every position, rounded to 1e-5 degrees.
std::vector<std::pair<double, double>> Read(const std::string& text) {
    std::vector<std::pair<double, double>> out;
    for (const auto& p : FindPositions(text))
        out.push_back({std::round(p.latitude * 1e5) / 1e5, std::round(p.longitude * 1e5) / 1e5});
    return out;
}

std::pair<double, double> Deg(double latDeg, double latMin, double lonDeg, double lonMin) {
    const auto r = [](double v) { return std::round(v * 1e5) / 1e5; };
    return {r(latDeg + (latDeg < 0 ? -latMin : latMin) / 60),
            r(lonDeg + (lonDeg < 0 ? -lonMin : lonMin) / 60)};
}

history::TStoredMessage Stored(int64_t id, const std::string& name, const std::string& text,
                               int64_t received) {
    history::TStoredMessage m;
    m.id = id;
    m.name = name;
    m.bytes = "ZCZC " + name + "\n" + text + "\nNNNN\n";
    m.received = received;
    return m;
}

}  // namespace

TEST(Positions, EveryFormOfRealBroadcasts) {
    // Lines of real messages (../shared/corpus/navtex-2013-2020.tar.xz and the forms the
    // issue quotes from NAVAREA I and III broadcasts).
    const std::vector<std::pair<std::string, std::pair<double, double>>> forms = {
        {"WRECK IN 53-27N 004-13E.", Deg(53, 27, 4, 13)},
        {"ZC1 BUOY 50-45.0N 001-27.2E UNLIT", Deg(50, 45.0, 1, 27.2)},
        {"1. 70-40-00.4N 040-10-21.0E", Deg(70, 40 + 0.4 / 60, 40, 10 + 21.0 / 60)},
        {"POSITION 52-21N 03-35E", Deg(52, 21, 3, 35)},
        {"43 42.600N - 013 12.600E", Deg(43, 42.6, 13, 12.6)},
        {"40 38 40N - 18 01 12E", Deg(40, 38 + 40.0 / 60, 18, 1 + 12.0 / 60)},
        {"LOW 49 52N 011 53W MOVING", Deg(49, 52, -11, 53)},
        {"43 45.86 N - 013 13.02 E", Deg(43, 45.86, 13, 13.02)},
        {"A. 37-01.06N 011-04.16E", Deg(37, 1.06, 11, 4.16)},
        {"BUHOLMRAASA LIGHT 6424.1N 01027.2E IS UNLIT.", Deg(64, 24.1, 10, 27.2)},
        {"5417.007N 01005.559W", Deg(54, 17.007, -10, 5.559)},
        {"5746N 01117E", Deg(57, 46, 11, 17)},
        {"IN APPROX. 55-0470N 006-4648E.", Deg(55, 4.70, 6, 46.48)},
        {"43-3800N 015-5072E", Deg(43, 38.00, 15, 50.72)},
        {"54-251N 007-123E", Deg(54, 25.1, 7, 12.3)},
        {"48 2040 N - 004 3700 W", Deg(48, 20.40, -4, 37.00)},
        {"43 02'26N 016 11'30E", Deg(43, 2 + 26.0 / 60, 16, 11 + 30.0 / 60)},
        {"32 49'02.1 N 035 01'17.5 E", Deg(32, 49 + 2.1 / 60, 35, 1 + 17.5 / 60)},
        {"4238.7'N 01610.2'E", Deg(42, 38.7, 16, 10.2)},
        {"SOUTH OF 33-10S 017-50E", Deg(-33, 10, 17, 50)},
        {"IN POSITION 54-05.8N\r\n004-34.4W", Deg(54, 5.8, -4, 34.4)},
        {"PLATFORM 12/3 53-27N 004-13E", Deg(53, 27, 4, 13)},
        {"RIG 12 53-27N 004-13E", Deg(53, 27, 4, 13)},
        // Forms found in the corpus beyond those (LE22, NE22, AC12, UA68, AL32, BA32, KA05).
        {"LOW 990 HPA 72 N 51 E", Deg(72, 0, 51, 0)},
        {"HIGH 1030 76N 02E", Deg(76, 0, 2, 0)},
        {"ICE EDGE 78.73N 10.01E", Deg(78.73, 0, 10.01, 0)},
        {"45 22401N - 012 57497E", Deg(45, 22.401, 12, 57.497)},
        {"48 20,40 N - 004 37,00 W", Deg(48, 20.40, -4, 37.00)},
        {"70-3.7N 020-59.7E", Deg(70, 3.7, 20, 59.7)},
        {"51-18900N 002-13133E", Deg(51, 18.900, 2, 13.133)},
    };
    for (const auto& [text, expected] : forms) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Read(text), (std::vector<std::pair<double, double>>{expected}));
    }
    // Numbers that are no positions, and impossible values.
    for (const char* none :
         {"201200 UTC DEC 20", "VALID 18.01.2023", "2023 SERIES: 029 032", "NAVAREA I 034/23",
          "WIND N 5 TO 6, SEA 2.5 M", "DEPTH 12 M. 518 KHZ", "FORCE 7 NW 8", "60-00N 004-00E",
          "53-61N 004-13E", "91-00N 004-00E", "53-00N 181-00E", "53-27-60N 004-13E", "53-27N",
          "12 53-27NM 004-13E", "SEA 2.5 N", "1.5 NM"}) {
        SCOPED_TRACE(none);
        if (std::string(none) == "60-00N 004-00E") continue;  // 60 degrees is a latitude, kept below
        EXPECT_TRUE(Read(none).empty());
    }
    EXPECT_EQ(Read("60-00N 004-00E").size(), 1u);
    EXPECT_EQ(warnings::SailorText(FindPositions("53-26.9N 001-53.0E").at(0)), "53°26.9′N 001°53.0′E");
}

TEST(Shapes, PolygonsLinesCirclesAndPoints) {
    // archive/2020/12/29/OA35 and the forms of NAVAREA III (shortened).
    const std::string cable =
        "1. UNDERWATER CABLE OPERATIONS IN PROGRESS BY C/S ILE DE BATZ IN VICINITY\nOF LINE JOINING 54-05.8N "
        "004-34.4W AND 53-50.6N 004-34.9W. WIDE BERTH OF\nONE MILE REQUESTED.";
    auto shapes = warnings::FindShapes(cable);
    ASSERT_EQ(shapes.size(), 1u);
    EXPECT_EQ(shapes[0].kind, TShape::Kind::Line);
    EXPECT_EQ(shapes[0].points.size(), 2u);

    shapes = warnings::FindShapes(
        "AREA BOUNDED BY FOLLOWING POINTS:\n43 42.600N - 013 12.600E\n44 14.441N - 013 23.761E\n"
        "43 23.134N - 014 22.258E\nWRECK 43 12.814N - 013 50.530E IS MARKED.");
    ASSERT_EQ(shapes.size(), 2u);
    EXPECT_EQ(shapes[0].kind, TShape::Kind::Polygon);
    EXPECT_EQ(shapes[0].points.size(), 3u);
    EXPECT_EQ(shapes[1].kind, TShape::Kind::Point);

    shapes =
        warnings::FindShapes("DIVING OPERATIONS WITHIN 1 NM RADIUS OF 54-10.0N 007-53.0E. A. 54-00N 008-00E");
    ASSERT_EQ(shapes.size(), 2u);
    EXPECT_EQ(shapes[0].kind, TShape::Kind::Circle);
    EXPECT_DOUBLE_EQ(shapes[0].radiusNm, 1);
    EXPECT_EQ(shapes[1].kind, TShape::Kind::Point);
    shapes = warnings::FindShapes("IN AREA WITH 17NM RADIUS CENTERED IN 40 38 40N - 18 01 12E");
    ASSERT_EQ(shapes.size(), 1u);
    EXPECT_EQ(shapes[0].kind, TShape::Kind::Circle);
    EXPECT_DOUBLE_EQ(shapes[0].radiusNm, 17);
    // Too few positions for the shape named: points.
    shapes = warnings::FindShapes("AREA BOUNDED BY 54-00N 008-00E AND 54-10N 008-10E.");
    ASSERT_EQ(shapes.size(), 2u);
    EXPECT_EQ(shapes[1].kind, TShape::Kind::Point);
}

TEST(Cancellations, RealPairsAndExpiry) {
    // archive/2019/04/14/EA83 ("WZ 370") and a later OA67 that cancels it by its series
    // number; a coastal warning cancelled by identifier; one that ends itself.
    const int64_t day = 86400, t0 = 1555200000;  // 2019-04-14
    std::vector<history::TStoredMessage> messages = {
        Stored(1, "EA83", "WZ 370\nDOVER STRAIT TSS. NE BOUND LANE. ZC1 BUOY 50-45.0N 001-27.2E UNLIT", t0),
        Stored(2, "OA08", "WZ 370\nDOVER STRAIT TSS. NE BOUND LANE. ZC1 BUOY 50-45.0N 001-27.2E UNLIT",
               t0 + 60),
        Stored(3, "EL27", "FINNISH NAV WARN 024/19\nBUOY 60-05N 024-55E MISSING", t0 + day),
        Stored(4, "OA67", "WZ 533\nBUOY 54-46.3N 003-42.1W MISSING.\n2. CANCEL WZ 370 (OA08).", t0 + 2 * day),
        Stored(5, "EL30", "CANCEL FINNISH NAV WARN 024/19", t0 + 3 * day),
        Stored(6, "GA77", "NAVAREA I 031/19\nRIG 58-10N 001-50E\nCANCEL THIS MSG 292159 UTC APR",
               t0 + 4 * day),
        Stored(7, "EL27", "NEW TEXT 61-00N 021-00E", t0 + 5 * day),
    };
    const auto list = warnings::Evaluate(messages, t0 + 20 * day);
    ASSERT_EQ(list.size(), 7u);
    using S = warnings::TWarning::State;
    EXPECT_EQ(list[0].state, S::Cancelled);  // the same warning from another station
    EXPECT_EQ(list[1].state, S::Cancelled);
    EXPECT_EQ(list[1].cancelledBy, "OA67");
    EXPECT_EQ(list[2].state, S::Cancelled);
    EXPECT_EQ(list[2].cancelledBy, "EL30");
    EXPECT_EQ(list[3].state, S::InForce);
    EXPECT_EQ(list[5].expires, 1556575140);  // 2019-04-29 21:59 UTC
    EXPECT_EQ(list[5].state, S::Expired);
    EXPECT_EQ(list[6].state, S::InForce);  // EL27 again, with new text: not the one cancelled
    EXPECT_EQ(warnings::Evaluate(messages, t0 + 5 * day)[5].state, S::InForce);
    // A month already past is next year's.
    EXPECT_EQ(*warnings::FindReferences("CANCEL THIS MSG 010000 UTC JAN", 1577000000).expires, 1577836800);
}

TEST(Cancellations, TheReferenceBeforeCancelledAndOnAHeaderLine) {
    // archive/2019/03/10/SA57 and SA58 (NCC Hamburg), archive/2019/03/09/NA19 and
    // 2019/03/13/NA23 (Norway, a four-digit year), shortened.
    const int64_t t0 = 1552221300;  // 2019-03-10 12:35 UTC
    const std::vector<history::TStoredMessage> messages = {
        Stored(1, "SA57",
               "NCC-HAMBURG\n101315 UTC MAR 19\nNAV. WARN. NO. 204\nBUOY ADRIFT IN APPROX. 54-235N 006-108E.",
               t0),
        Stored(2, "NA19",
               "090751 UTC MAR 19\nNORWEGIAN NAV. WARNING 183/2019\nROGNTANGAN LIGHT 63-22.9N 008-38.8E IS "
               "UNLIT.",
               t0 + 60),
        Stored(3, "SA58", "NCC-HAMBURG\n102130 UTC MAR 19\nNAV. WARN. NO. 205\nNAV. WARN. NO. 204 CANCELLED.",
               t0 + 29700),
        Stored(4, "NA23", "131357 UTC MAR 19\nCANCEL NORWEGIAN NAV. WARNING 183/2019", t0 + 3 * 86400),
    };
    const auto list = warnings::Evaluate(messages, t0 + 4 * 86400);
    using S = warnings::TWarning::State;
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].state, S::Cancelled);
    EXPECT_EQ(list[0].cancelledBy, "SA58");
    EXPECT_EQ(list[1].state, S::Cancelled);
    EXPECT_EQ(list[1].cancelledBy, "NA23");
    EXPECT_EQ(list[2].state, S::InForce);  // warning 205, whose only news is the cancellation
    // A header that cancels names another warning, not its own number.
    const auto refs = warnings::FindReferences("ZCZC NA23\nCANCEL NORWEGIAN NAV. WARNING 183/2019\nNNNN", t0);
    EXPECT_TRUE(refs.own.empty());
    EXPECT_EQ(refs.cancelsSeries, std::vector<std::string>{"NORWEGIAN WARNING 183/19"});
    // "CANCELLED" with no number before it ends nothing.
    EXPECT_TRUE(warnings::FindReferences("BAY OF BOTHNIA: CANCELLED\nGALE WARNING NR 12 REMAINS", t0)
                    .cancelsSeries.empty());
}

TEST(Cancellations, ForecastsGaleWarningsAndIceReportsReplacedOrAged) {
    // archive/2019/03/10/PB51, PB52 (Netherlands Coastguard) and DB84 (Faroe Islands),
    // shortened; a forecast and a navigational warning left alone.
    const int64_t hour = 3600, t0 = 1552229940;  // 2019-03-10 14:59 UTC
    const std::vector<history::TStoredMessage> messages = {
        Stored(1, "PB51",
               "NETHERLANDS COASTGUARD\nGALE WARNING NR. 51 101459 UTC MAR\nDOGGER FORTIES\nWEST 9", t0),
        Stored(2, "DB84", "FAROE ISLANDS\nSTORM- AND GALE WNG NO 253\nICELAND RIDGE: W 26", t0 + 5 * hour),
        Stored(3, "PE10", "NETHERLANDS COASTGUARD\nWEATHER FORECAST", t0 + 6 * hour),
        Stored(4, "PB52",
               "NETHERLANDS COASTGUARD\nGALE WARNING NR. 52 102145 UTC MAR\nHUMBER DOGGER FORTIES\nWEST 9",
               t0 + 7 * hour),
        Stored(5, "PA20", "NAVIGATIONAL WARNING NR 20\nBUOY 52-00N 003-00E MISSING", t0),
    };
    using S = warnings::TWarning::State;
    auto list = warnings::Evaluate(messages, t0 + 8 * hour);
    ASSERT_EQ(list.size(), 5u);
    EXPECT_EQ(list[0].state, S::Superseded);  // in the order received: PB51, PA20, DB84, PE10, PB52
    EXPECT_EQ(list[0].cancelledBy, "PB52");
    EXPECT_EQ(list[2].state, S::InForce);  // another station's gale warning
    EXPECT_EQ(list[4].state, S::InForce);
    // A day and a half later the forecast and both gale warnings are past their lifetime;
    // the navigational warning ends only when something ends it.
    list = warnings::Evaluate(messages, t0 + 6 * hour + 36 * hour + 1);
    EXPECT_EQ(list[1].state, S::InForce);
    EXPECT_EQ(list[2].state, S::Expired);
    EXPECT_EQ(list[3].state, S::Expired);
    EXPECT_EQ(list[4].state, S::Expired);
    EXPECT_EQ(list[0].state, S::Superseded);
}

TEST(Cancellations, TheBroadcastsOwnListsOfWhatIsInForce) {
    // archive/2020/12/27/EA68 (NAVAREA I), 2020/12/25/NA27 (Norway), 2020/12/31/FA03 (the
    // Baltic) and 2020/11/23/PA53 (Netherlands Coastguard), shortened; the warnings they
    // name or leave out, and one of another station.
    const int64_t day = 86400, t0 = 1606780800;  // 2020-12-01
    const std::vector<history::TStoredMessage> messages = {
        Stored(1, "GA10", "NAVAREA I 165/20\nWRECK 50-10N 002-00W", t0),
        Stored(2, "GA20", "NAVAREA I 184/20\nBUOY 51-00N 002-00E UNLIT", t0 + day),
        Stored(3, "NA10", "NORWEGIAN NAV. WARNING 719/2020\nLIGHT 63-22.9N 008-38.8E UNLIT", t0),
        Stored(4, "NA11", "NORWEGIAN NAV. WARNING 722/2020\nLIGHT 63-00N 008-00E UNLIT", t0),
        Stored(15, "HA49", "FIN NAV WARN 230/20\nBUOY 59-00N 023-00E", t0 - 30 * day),
        Stored(5, "HA49", "FIN NAV WARN 244/20\nBUOY 60-00N 024-00E", t0),
        Stored(6, "HA40", "FIN NAV WARN 201/20\nBUOY 60-10N 024-10E", t0),
        Stored(7, "PA08", "NAVIGATIONAL WARNING NR. 8\nWRECK 52-00N 003-00E", 1603152000),  // 2020-10-20
        Stored(8, "PA15", "NAVIGATIONAL WARNING NR. 15\nWRECK 52-10N 003-10E", t0 - 20 * day),
        Stored(13, "JA10", "GER NAV WARN 400/20\nBUOY 54-00N 010-00E", t0),
        // archive/2019/03/11/PA66: the same letter, another station.
        Stored(14, "PA66",
               "11 MAR 2019 22.31 UTC\nRCC-HAIFA\nNAVAREA III 000329\nSUBJECT : HAIFA PORT NEW RED BUOYS.",
               t0 - 5 * day),
        Stored(9, "EA68",
               "NAVAREA I 187/20\n1. NAVAREA I WARNINGS IN FORCE AT 251000 UTC DEC 20:\n2020 SERIES: 145 165 "
               "166 "
               "178 183 186 187.\nNOTES:\nA. TEXTS OF NAVAREA I WARNINGS ARE PUBLISHED.",
               t0 + 24 * day),
        Stored(10, "NA27",
               "250805 UTC DEC 20\nNORWEGIAN NAV. WARNING 818/2020\n1.NAV.WARNINGS IN FORCE AT 250800 UTC "
               "DEC 20 "
               "719 720\n729 731 817.\n2.CANCEL ALL NAV.WARNINGS NOT LISTED IN THIS MEASSAGE.",
               t0 + 24 * day),
        Stored(11, "FA03",
               "BALTIC SEA AREA\nNAVTEX MESSAGES IN FORCE:\nHA49=FIN244/20 HA50=SWE362/20\nFA80=PET249/20",
               t0 + 30 * day),
        Stored(12, "PA53",
               "NETHERLANDS COASTGUARD\nNAVIGATIONAL WARNING NR. 53 230105 UTC NOV\nFOLLOWING NAVIGATIONAL "
               "WARNINGS IN FORCE:\nPA08 20-10-2020\nPA36 09-11-2020",
               t0 + 31 * day),
    };
    using S = warnings::TWarning::State;
    const auto at = [&](int64_t now) {  // as it stood then: what had come by that time
        std::vector<history::TStoredMessage> then;
        for (const auto& m : messages)
            if (m.received <= now) then.push_back(m);
        std::map<std::string, S> states;
        for (const auto& w : warnings::Evaluate(then, now)) states[w.name] = w.state;
        return states;
    };
    auto states = at(t0 + 2 * day);  // before any list
    for (const char* name : {"GA10", "GA20", "NA11", "HA40", "PA15"})
        EXPECT_EQ(states[name], S::InForce) << name;
    states = at(t0 + 40 * day);
    EXPECT_EQ(states["GA10"], S::InForce);  // 165 is on the 2020 list
    EXPECT_EQ(states["GA20"], S::NotListed);
    EXPECT_EQ(states["NA10"], S::InForce);
    EXPECT_EQ(states["NA11"], S::NotListed);
    EXPECT_EQ(states["HA49"], S::InForce);  // the newest HA49
    const auto all = warnings::Evaluate(messages, t0 + 40 * day);
    const auto older = std::find_if(all.begin(), all.end(), [](const auto& w) { return w.name == "HA49"; });
    EXPECT_EQ(older->state, S::Superseded);  // the older HA49: its identifier was given anew
    EXPECT_EQ(older->cause, warnings::TWarning::Cause::SameIdentifier);
    EXPECT_EQ(states["HA40"], S::NotListed);
    EXPECT_EQ(states["JA10"], S::InForce);  // a station the Baltic list does not name
    EXPECT_EQ(states["PA08"], S::InForce);  // named with its day
    EXPECT_EQ(states["PA15"], S::NotListed);
    EXPECT_EQ(states["PA66"], S::InForce);  // Haifa's, not the Netherlands' list
    EXPECT_EQ(states["EA68"], S::InForce);  // the lists themselves
    // A list of identifiers reaches the stations it names only.
    const auto& baltic =
        *std::find_if(messages.begin(), messages.end(), [](const auto& m) { return m.name == "FA03"; });
    const auto refs = warnings::FindReferences(baltic.bytes, baltic.received);
    ASSERT_EQ(refs.lists.size(), 1u);
    EXPECT_EQ(refs.lists[0].ids.size(), 3u);
    // Words that merely say "in force" make no list.
    EXPECT_TRUE(warnings::FindReferences(
                    "DANISH AND SWEDISH NAV.WNG STILL IN FORCE VIA L AND M.\nGALE IN FORCE UNTIL 1200", t0)
                    .lists.empty());
}

namespace {

// The newest message of each identifier as evaluated at now.
std::map<std::string, warnings::TWarning> StatesAt(const std::vector<history::TStoredMessage>& messages,
                                                   int64_t now) {
    std::map<std::string, warnings::TWarning> states;
    for (auto& w : warnings::Evaluate(messages, now)) states[w.name] = std::move(w);
    return states;
}

}  // namespace

TEST(Cancellations, NumbersOfTheOwnSeriesOwnEndsAndAreaLines) {
    using S = warnings::TWarning::State;
    const int64_t hour = 3600, t0 = 1583481600;  // 2020-03-06
    // archive/2020/03/06/NA69 (Norway: numbers after NAV.WARNINGS are of its own series),
    // shortened; a German warning of the same number must stay.
    const std::vector<history::TStoredMessage> norway = {
        Stored(1, "NA60", "NORWEGIAN NAV. WARNING 233/2020\nLIGHT 63-00N 008-00E UNLIT", t0 - 48 * hour),
        Stored(2, "SA60", "NCC-HAMBURG\nNAV. WARN. NO. 233\nBUOY 54-00N 007-00E MISSING", t0 - 48 * hour),
        Stored(3, "NA69",
               "060807 UTC MAR 20\nNORWEGIAN NAV. WARNING 239/2020\nCHART\nAREA NORWEGIAN WATERS\n"
               "2.CANCEL NAV.WARNINGS 79 91 94 138 221 225 228 229 230 233 234.\n3.CANCEL THIS WARNING.",
               t0),
    };
    auto states = StatesAt(norway, t0 + hour);
    EXPECT_EQ(states["NA60"].state, S::Cancelled);
    EXPECT_EQ(states["SA60"].state, S::InForce);
    EXPECT_EQ(states["NA69"].state, S::InForce);
    EXPECT_EQ(StatesAt(norway, t0 + 5 * hour)["NA69"].state, S::Expired);  // its own broadcast is over

    // Own ends without UTC, without THIS, or without a time (archive/2020/09/26/WA18,
    // 2020/09/08/JA97, 2020/12/31/VZ50), and a paragraph's end that is not the message's
    // (2020/12/10/KA01): it cancels a number of its own series.
    const int64_t sep = 1599523200;  // 2020-09-08
    EXPECT_EQ(*warnings::FindReferences("2. CANCEL THIS MESSAGE 302200 SEP=", sep).expires,
              1601503200);  // 2020-09-30 22:00 UTC
    EXPECT_EQ(*warnings::FindReferences("KAL NAV WARN 314/20\nCANCEL 182200 UTC SEP", sep).expires,
              1600466400);
    EXPECT_EQ(*warnings::FindReferences("311930 UTC DEC\nSELF CANCELLING\nNO MESSAGES ON HAND", sep).expires,
              sep + warnings::OwnBroadcastSeconds);
    const auto murmansk = warnings::FindReferences(
        "240700 UTC NOV 20\nCOASTAL WARNING MURMANSK 317\nBARENTS SEA\n3. CANCEL 23/20 AND THIS PARA=", sep);
    EXPECT_FALSE(murmansk.expires);
    EXPECT_EQ(murmansk.cancelsSeries, std::vector<std::string>{"COASTAL WARNING MURMANSK 23/20"});

    // A Baltic gale warning whose areas the next says CANCELLED (archive/2020/03/08/IB73, its
    // predecessor shortened); a message of cancelled areas only ends after its broadcast.
    const std::vector<history::TStoredMessage> gales = {
        Stored(1, "IB70",
               "BALTIC SEA MET WARNINGS\nNEAR GALE WARNING\nSKAGERRAK: SW 15 M/S\nKATTEGAT: SW 15 M/S", t0),
        Stored(2, "IB73",
               "BALTIC SEA MET WARNINGS\nNEAR GALE WARNING\nNORTHERN BALTIC: S 15 M/S OVERNIGHT DECR.\n"
               "SKAGERRAK: CANCELLED\nKATTEGAT: CANCELLED",
               t0 + 6 * hour),
        Stored(3, "IB75", "BALTIC SEA MET WARNINGS\nNORTHERN BALTIC: S 15 M/S", t0 + 12 * hour),
        Stored(4, "IB76", "THE SOUND: CANCELLED\nNORTHERN BALTIC: CANCELLED", t0 + 14 * hour),
    };
    states = StatesAt(gales, t0 + 13 * hour);
    EXPECT_EQ(states["IB70"].state, S::Cancelled);
    EXPECT_EQ(states["IB70"].cancelledBy, "IB73");
    EXPECT_EQ(states["IB73"].state, S::Superseded);  // Northern Baltic went on in IB75
    EXPECT_EQ(states["IB73"].cause, warnings::TWarning::Cause::NextOfStation);
    states = StatesAt(gales, t0 + 19 * hour);
    EXPECT_EQ(states["IB75"].state, S::Cancelled);
    EXPECT_EQ(states["IB76"].state, S::Expired);
}

TEST(Cancellations, ListsOfAStationsOwnSeriesAndOfEachCountry) {
    using S = warnings::TWarning::State;
    const int64_t day = 86400, t0 = 1607299200;  // 2020-12-07
    // archive/2020/12/25/SA06 (NCC Hamburg: a list under a year, its series the station's
    // own), 2020/12/21/SA04 and a Dutch warning of a number the German list leaves out.
    const std::vector<history::TStoredMessage> germany = {
        Stored(1, "SA04", "NCC-HAMBURG\n111230 UTC DEC 20\nNAV. WARN. NO. 523\nTSS TERSCHELLING-GERMAN BIGHT",
               t0),
        Stored(2, "SA10", "NCC-HAMBURG\nNAV. WARN. NO. 529\nBUOY 54-00N 007-00E", t0 + day),
        Stored(3, "PA10", "NETHERLANDS COASTGUARD\nNAVIGATIONAL WARNING NR. 529\nBUOY 53-00N 004-00E", t0),
        Stored(4, "SA06",
               "NCC-HAMBURG\n250600 UTC DEC 20\nNAV. WARN. NO. 534\n1. NAVTEX- AREA (S) WARNINGS IN FORCE AT "
               "250600 UTC DEC 20:\n2020: 268 324 327 490 491 514 515 516 523\nNOTES:",
               t0 + 18 * day),
    };
    auto states = StatesAt(germany, t0 + 19 * day);
    EXPECT_EQ(states["SA04"].state, S::InForce);
    EXPECT_EQ(states["SA10"].state, S::NotListed);
    EXPECT_EQ(states["PA10"].state, S::InForce);  // another station's generic series

    // archive/2020/11/11/SA63, 2020/11/24/SA63 and 2020/12/22/SA63: one warning, 450,
    // broadcast again and again; the list of 2020/12/25/SA06 names it: it is in force once.
    const std::string warning450 = "NCC-HAMBURG\n110930 UTC NOV 20\nNAV. WARN. NO. 450\nTSS GERMAN BIGHT";
    const auto all = warnings::Evaluate(
        {Stored(1, "SA63", warning450, t0 - 26 * day), Stored(2, "SA63", warning450, t0 - 13 * day),
         Stored(3, "SA63", warning450, t0 + 15 * day),
         Stored(4, "SA06",
                "NCC-HAMBURG\n250600 UTC DEC 20\nNAV. WARN. NO. 534\n1. NAVTEX- AREA (S) WARNINGS IN FORCE "
                "AT 250600 UTC DEC 20:\n2020: 450 523\nNOTES:",
                t0 + 18 * day)},
        t0 + 19 * day);
    for (const warnings::TWarning& w : all) {
        if (w.name != "SA63") continue;
        EXPECT_EQ(w.state, w.received == t0 + 15 * day ? S::InForce : S::Superseded) << w.received;
    }
    // archive/2020/12/04/SA84 and 2020/12/25/SA84: 491 again, its number garbled; its
    // date-time group tells it is the same warning, which the list names once.
    const std::string warning491 = "NCC-HAMBURG\n261115 UTC NOV 20\nNAV. WARN. NO. %\nNORTH FRISIAN ISLANDS.";
    const auto withList = [&](const std::string& dtg, const char* number) {
        std::string again = warning491;
        again.replace(again.find('%'), 1, number);
        return warnings::Evaluate(
            {Stored(1, "SA84", std::string(warning491).replace(warning491.find('%'), 1, "491"), t0 - 3 * day),
             Stored(2, "SA84", again.replace(again.find("261115 UTC NOV 20"), 17, dtg), t0 + 18 * day),
             Stored(
                 3, "SA06",
                 "NCC-HAMBURG\n250600 UTC DEC 20\nNAV. WARN. NO. 534\n1. NAVTEX- AREA (S) WARNINGS IN FORCE "
                 "AT 250600 UTC DEC 20:\n2020: 491\nNOTES:",
                 t0 + 18 * day + 6 * 3600)},
            t0 + 19 * day);
    };
    const auto repeated = withList("261115 UTC NOV 20", "ROQ");
    EXPECT_EQ(repeated[0].state, S::Superseded);
    EXPECT_EQ(repeated[1].state, S::InForce);
    // Of another date-time group it is another warning: the list brings 491 back beside it.
    EXPECT_EQ(withList("241000 UTC DEC 20", "ROQ")[0].state, S::InForce);

    // archive/2020/07/20/CL15 (Ukraine: a list naming no series), 2020/07/15/CA95 and
    // 2020/07/17/CA82, shortened.
    const int64_t jul = 1592784000;  // 2020-06-22
    const std::vector<history::TStoredMessage> ukraine = {
        Stored(1, "CA82", "261130 UTC JUN 20\nUKRAINE COASTAL WARNING 297/20 ODESA-NAVTEX\nBLACK SEA", jul),
        Stored(2, "CA95", "061225 UTC JUL 20\nUKRAINE COASTAL WARNING 310/20 ODESA-NAVTEX\nBLACK SEA",
               jul + 14 * day),
        Stored(3, "CL15",
               "200000 UTC JUL 20\nUKRAINE COASTAL WARNING ODESA-NAVTEX\nCOASTAL WARNINGS IN FORCE\n"
               "84/19 372/19 297/20\n298/20 299/20",
               jul + 28 * day),
    };
    states = StatesAt(ukraine, jul + 29 * day);
    EXPECT_EQ(states["CA82"].state, S::InForce);
    EXPECT_EQ(states["CA95"].state, S::NotListed);

    // archive/2018/09/21/MA08: a list a line, of each country's series.
    const std::vector<history::TStoredMessage> scandinavia = {
        Stored(1, "LA10", "DANISH NAV WARN 253/18\nWRECK 56-00N 011-00E", 1537000000),
        Stored(2, "LA11", "DANISH NAV WARN 250/18\nWRECK 56-10N 011-10E", 1537000000),
        Stored(3, "MA01", "SWEDISH NAV WARN 400/18\nBUOY 58-00N 011-00E", 1537000000),
        Stored(4, "MA08",
               "210548 UTC SEP 18\nDANISH AND SWEDISH NAV.WNG STILL IN FORCE VIA L AND M.\nSWEDISH WNG NIL\n"
               "DANISH WNG 253/18",
               1537509000),
    };
    states = StatesAt(scandinavia, 1537600000);
    EXPECT_EQ(states["LA10"].state, S::InForce);
    EXPECT_EQ(states["LA11"].state, S::NotListed);
    EXPECT_EQ(states["MA01"].state, S::NotListed);
}

TEST(Cancellations, IdentifiersGivenAnewLifetimesAndWhatAListBringsBack) {
    using S = warnings::TWarning::State;
    using C = warnings::TWarning::Cause;
    const int64_t day = 86400, t0 = 1596499200;  // 2020-08-04
    // archive/2020/08/04/GA72 and 2020/11/18/GA72 (NAVAREA I 165, the same identifier given
    // again), a warning whose cancellation names it by mistake, and the list of
    // 2020/12/27/EA68 that names 165, shortened.
    const std::vector<history::TStoredMessage> messages = {
        Stored(1, "GA72", "NAVAREA I 165\nNORTH SEA UK SECTOR.\nWELL 57-00N 001-00E", t0),
        Stored(2, "GA40", "NAVAREA I 150\nWRECK 56-00N 002-00E", t0),
        Stored(3, "GA80", "NAVAREA I 168\nCANCEL NAVAREA I 165.", t0 + 30 * day),
        Stored(4, "GA72", "NAVAREA I 170\nNORTH SEA UK SECTOR.", t0 + 106 * day),
        Stored(5, "EA68",
               "NAVAREA I 187\n1. NAVAREA I WARNINGS IN FORCE AT 251000 UTC DEC 20:\n2020 SERIES: 145 165 "
               "170 187.",
               t0 + 143 * day),
    };
    std::vector<history::TStoredMessage> first(messages.begin(), messages.begin() + 3);
    auto all = warnings::Evaluate(first, t0 + 31 * day);
    EXPECT_EQ(all[0].state, S::Cancelled);
    EXPECT_EQ(all[1].state, S::InForce);
    all = warnings::Evaluate(first, t0 + 91 * day);
    EXPECT_EQ(all[1].state, S::Expired);  // 90 days without news
    EXPECT_EQ(all[1].cause, C::Lifetime);
    all = warnings::Evaluate({messages.begin(), messages.begin() + 4}, t0 + 107 * day);
    EXPECT_EQ(all[0].state, S::Cancelled);  // a cancelled one keeps its reason when GA72 comes again
    all = warnings::Evaluate(messages, t0 + 144 * day);
    EXPECT_EQ(all[0].state, S::InForce);        // the list names 165: the cancellation was misread
    EXPECT_EQ(all[0].expires, t0 + 233 * day);  // its lifetime counts from the list
    EXPECT_EQ(all[1].state, S::Expired);        // 150 had ended before the list left it out
    EXPECT_EQ(all[1].cause, C::Lifetime);
    EXPECT_EQ(all[3].state, S::InForce);
    EXPECT_EQ(warnings::Evaluate(messages, t0 + 234 * day)[0].state, S::Expired);
}

TEST(Export, GpxAndGeoJsonOfWhatIsInForce) {
    std::vector<history::TStoredMessage> messages = {
        Stored(1, "OA35", "IRISH SEA.\nLINE JOINING 54-05.8N 004-34.4W AND 53-50.6N 004-34.9W. <&>",
               1609200000),
        Stored(2, "OA36", "CANCEL OA35\nWRECK 53-00N 004-00W", 1609300000),
    };
    const auto list = warnings::Evaluate(messages, 1609400000);
    const std::string gpx = warnings::Gpx(list, false);
    EXPECT_NE(gpx.find("<name>OA36 CANCEL OA35</name>"), std::string::npos);
    EXPECT_EQ(gpx.find("OA35 IRISH"), std::string::npos);  // cancelled
    EXPECT_NE(warnings::Gpx(list, true).find("&lt;&amp;&gt;"), std::string::npos);
    const std::string json = warnings::GeoJson(list, true);
    EXPECT_NE(
        json.find(
            "\"type\": \"LineString\", \"coordinates\": [[-4.573333, 54.096667], [-4.581667, 53.843333]]"),
        std::string::npos);
    EXPECT_NE(json.find("\"state\": \"cancelled\", \"shape\": \"line\", \"cancelled_by\": \"OA36\""),
              std::string::npos);
    EXPECT_NE(json.find("\"received\": \"2020-12-29T00:00:00Z\""), std::string::npos);
    // From a boat: the distance and bearing of each (OA36's wreck, 62.6 nm by haversine, 163°).
    EXPECT_EQ(json.find("distance_nm"), std::string::npos);
    const std::string ranged = warnings::GeoJson(list, false, position::TLatLon{54, -4.5});
    EXPECT_NE(ranged.find("\"distance_nm\": 62.6, \"bearing_deg\": 163"), std::string::npos) << ranged;
}

TEST(AlertBook, ReadBackWithAcknowledgementsAndTheOldestDroppedWhenFull) {
    warnings::TAlertBook book = warnings::TAlertBook::Read(
        "518 ED01 1000\r\ngarbage\r\n\x01\x02\r\n600 XX01 1\r\n490 AB00 2000 ack\r\n518 FB01 3000 other\r\n");
    EXPECT_EQ(book.Size(), 3u);
    EXPECT_TRUE(book.Raised({518, "ED01", 1000}));
    EXPECT_FALSE(book.Acknowledged({518, "ED01", 1000}));
    EXPECT_TRUE(book.Acknowledged({490, "AB00", 2000}));
    EXPECT_FALSE(book.Acknowledged({518, "FB01", 3000}));
    EXPECT_FALSE(book.Raise({518, "ED01", 1000}));
    EXPECT_TRUE(book.Raise({518, "ED01", 1001})) << "the same identifier at another time is another message";
    book.Acknowledge({518, "ED01", 1000});
    EXPECT_EQ(warnings::TAlertBook::Read(book.Text()).Text(), book.Text());
    EXPECT_TRUE(warnings::TAlertBook::Read(book.Text()).Acknowledged({518, "ED01", 1000}));

    // Full: the oldest receptions go, whatever their names ("ZZ" sorts last but is newest).
    warnings::TAlertBook full;
    for (int32_t age = 0; age < static_cast<int32_t>(warnings::TAlertBook::Kept) + 10; ++age)
        full.Raise(
            {518, age < 10 ? "ZZ" + std::to_string(age % 10) + "0" : "AA" + std::to_string(age), age + 100});
    full.Raise({518, "ZZ99", 999999});
    const warnings::TAlertBook kept = warnings::TAlertBook::Read(full.Text());
    EXPECT_EQ(kept.Size(), warnings::TAlertBook::Kept);
    EXPECT_TRUE(kept.Raised({518, "ZZ99", 999999}));
    EXPECT_FALSE(kept.Raised({518, "ZZ00", 100}));
}

TEST(Urgency, EachKindAndItsSignalKState) {
    using warnings::TUrgency;
    const std::tuple<const char*, bool, TUrgency, const char*> cases[] = {
        {"ED01", false, TUrgency::Distress, "emergency"},
        {"FA00", false, TUrgency::Distress, "emergency"},
        {"FA12", true, TUrgency::Near, "alarm"},
        {"FL12", false, TUrgency::None, "normal"},
        {"GB05", false, TUrgency::Gale, "warn"},
        {"EE33", true, TUrgency::None, "normal"},
        {"E", true, TUrgency::None, "normal"}};
    for (const auto& [name, within, urgency, state] : cases) {
        EXPECT_EQ(warnings::UrgencyOf(name, within), urgency) << name;
        EXPECT_STREQ(warnings::NotificationState(warnings::UrgencyOf(name, within)), state) << name;
    }
}
