// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <vector>

#include "common/DateTime.h"
#include "common/Translatable.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "support/TempFolder.h"

namespace {

TEST(DateTime, DaysSince1899RoundTrip) {
    EXPECT_EQ(datetime::EncodeLocal({1899, 12, 30, 0, 0, 0, 0}), 0.0);
    EXPECT_EQ(datetime::EncodeLocal({2008, 1, 1, 0, 0, 0, 0}), datetime::ReceiverEpochDays);
    EXPECT_DOUBLE_EQ(datetime::EncodeLocal({2024, 2, 29, 18, 0, 0, 0}), 45351.75);
    const platform::LocalDateTime t = datetime::DecodeLocal(45351.75);
    EXPECT_EQ(t.year, 2024);
    EXPECT_EQ(t.month, 2);
    EXPECT_EQ(t.day, 29);
    EXPECT_EQ(t.hour, 18);
    EXPECT_EQ(t.minute, 0);
    // 23:59:59.9996 rounds up into the next day instead of showing 24:00.
    const platform::LocalDateTime late = datetime::DecodeLocal(45351.0 + 86399.9996 / 86400.0);
    EXPECT_EQ(late.day, 1);
    EXPECT_EQ(late.month, 3);
    EXPECT_EQ(late.hour, 0);
}

TEST(DateTime, ReceiverSecondsAreLocalWallClockSince2008) {
    const platform::LocalDateTime t = datetime::LocalFromReceiverSeconds(86400 * 366 + 3600 * 5 + 61);
    EXPECT_EQ(t.year, 2009);
    EXPECT_EQ(t.month, 1);
    EXPECT_EQ(t.day, 1);
    EXPECT_EQ(t.hour, 5);
    EXPECT_EQ(t.minute, 1);
    EXPECT_EQ(t.second, 1);
    EXPECT_DOUBLE_EQ(datetime::FromReceiverSeconds(43200), datetime::ReceiverEpochDays + 0.5);
}

TEST(DateTime, PackedFatStamp) {
    EXPECT_EQ(datetime::PackFat({1980, 1, 1, 0, 0, 0, 0}), (1 << 21) | (1 << 16));
    EXPECT_EQ(datetime::PackFat({2024, 3, 5, 14, 30, 13, 0}),
              static_cast<int32_t>((44u << 25) | (3u << 21) | (5u << 16) | (14u << 11) | (30u << 5) | 6u));
    // Later times give larger stamps, which the age window relies on.
    EXPECT_LT(datetime::PackFat({2024, 3, 5, 14, 30, 12, 0}), datetime::PackFat({2024, 3, 5, 14, 30, 14, 0}));
}

}  // namespace

// The rules of the date's own season, not today's: a July time read in December is summer
// time all the same (Windows' FileTimeToLocalFileTime would get this wrong by an hour).
TEST(LocalTime, SummerAndWinterDatesFollowTheirOwnRules) {
    const platform::LocalDateTime summer = platform::ToLocal(1784116800);  // 2026-07-15 12:00 UTC
    EXPECT_EQ(summer.hour, 14);
    EXPECT_EQ(platform::FromLocal(summer), 1784116800);
    const platform::LocalDateTime winter = platform::ToLocal(1797336000);  // 2026-12-15 12:00 UTC
    EXPECT_EQ(winter.hour, 13);
    EXPECT_EQ(platform::FromLocal(winter), 1797336000);

    // And so do file times.
    testing_support::TempFolder temp;
    temp.WriteFile("SUMMER.TXT", "x");
    const platform::LocalDateTime july{2026, 7, 15, 14, 0, 0, 0};
    ASSERT_TRUE(platform::SetFileTimes(temp / "SUMMER.TXT", july, july, july));
    platform::LocalDateTime read;
    ASSERT_TRUE(platform::LastWriteTime(temp / "SUMMER.TXT", read));
    EXPECT_EQ(read.hour, 14);
    platform::ReadOnlyFile file;
    ASSERT_TRUE(file.Open(temp / "SUMMER.TXT"));
    ASSERT_TRUE(file.LastWriteTime(read));
    EXPECT_EQ(read.hour, 14);
    EXPECT_EQ(read.day, 15);
}

TEST(UtcCalendar, SecondsSince1970AsUtcDateAndTime) {
    const auto at = [](int64_t s) {
        const platform::LocalDateTime t = datetime::UtcFromUnixSeconds(s);
        return std::vector<int>{t.year, t.month, t.day, t.hour, t.minute, t.second};
    };
    EXPECT_EQ(at(0), (std::vector<int>{1970, 1, 1, 0, 0, 0}));
    EXPECT_EQ(at(951782399), (std::vector<int>{2000, 2, 28, 23, 59, 59}));
    EXPECT_EQ(at(951782400), (std::vector<int>{2000, 2, 29, 0, 0, 0})) << "a leap day";
    EXPECT_EQ(at(1796727600), (std::vector<int>{2026, 12, 8, 11, 0, 0}));
    EXPECT_EQ(at(-1), (std::vector<int>{1969, 12, 31, 23, 59, 59})) << "before 1970";
}

TEST(UtcCalendar, Iso8601WrittenAndRead) {
    EXPECT_EQ(datetime::Iso8601Utc(1796727600), "2026-12-08T11:00:00Z");
    EXPECT_EQ(datetime::ParseIso8601Utc("2026-12-08T11:00:00Z"), 1796727600);
    EXPECT_EQ(datetime::ParseIso8601Utc("2026-12-08T11:00"), 1796727600);
    EXPECT_EQ(datetime::ParseIso8601Utc("2026-12-08"), 1796688000);
    for (const char* bad :
         {"", "2026-13-01", "2026-12-08T25:00", "2026-12-08 11:00", "2026-12-08T11", "12/08/2026"})
        EXPECT_FALSE(datetime::ParseIso8601Utc(bad).has_value()) << bad;
}

// The window's translation reaches the core's dates and words; without one they are French.
TEST(DateTime, DatesInTheOrderAndWordsOfTheUsersLanguage) {
    const platform::LocalDateTime t{2026, 12, 9, 7, 5, 0, 0};
    EXPECT_EQ(datetime::DateText(t), "09/12/2026");
    translatable::SetTranslator([](const char*, const char* text) {
        const std::string source = text;
        return source == "jj/mm/aaaa" ? std::string("jj.mm.aaaa")
               : source == " à "      ? std::string(" um ")
                                      : source;
    });
    EXPECT_EQ(datetime::DateText(t), "09.12.2026");
    EXPECT_EQ(datetime::LocalDateTimeText(platform::FromLocal(t)), "09.12.2026 um 07:05");
    EXPECT_EQ(datetime::LocalDateTimeText(platform::FromLocal(t), " "), "09.12.2026 07:05");
    translatable::SetTranslator(nullptr);
    EXPECT_EQ(datetime::LocalDateTimeText(platform::FromLocal(t)), "09/12/2026 à 07:05");
    // Values in the order the language puts them, each replaced once.
    EXPECT_EQ(translatable::Format("update", "le fichier %1 n'est pas %2", {"a%2.bin", "b.bin"}),
              "le fichier a%2.bin n'est pas b.bin");
    translatable::SetTranslator([](const char*, const char*) { return std::string("%2 ≠ %1 (%3)"); });
    EXPECT_EQ(translatable::Format("update", "x", {"a", "b"}), "b ≠ a (%3)");
    translatable::SetTranslator(nullptr);
}
