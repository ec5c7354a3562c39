#include <gtest/gtest.h>

#include "receiver/DateTime.h"

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
