// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>

#include <cstring>

#include "acquisition/StatusTexts.h"

#include "common/Numbers.h"

using namespace acquisition;

namespace {

TEST(StatusTexts, BatteryPercentUsesTheReceiversArithmetic) {
    EXPECT_EQ(BatteryPercent(0), 0);
    EXPECT_EQ(BatteryPercent(1152000), 50);
    EXPECT_EQ(BatteryPercent(2304000), 100);
    EXPECT_EQ(BatteryPercent(2880000), 100) << "q 100, p 125, capped";
    EXPECT_EQ(BatteryPercent(2303999), 98);
    // q wraps at 8 bits: 256 * 2880000 / 100 = 7372800 gives q 0 again.
    EXPECT_EQ(BatteryPercent(7372800), 0);
}

TEST(StatusTexts, StateTexts) {
    EXPECT_EQ(StateText(0).value(), "Init");
    EXPECT_EQ(StateText(1).value(), "E´tat: Stand-by exempt USB");
    EXPECT_EQ(StateText(3).value(), "E´tat: Stand-by exempt batterie");
    EXPECT_EQ(StateText(5).value(), "E´tat: charger");
    EXPECT_EQ(StateText(7).value(), "E´tat: Stand-by par USB");
    EXPECT_EQ(StateText(2), StateText(7));
    EXPECT_FALSE(StateText(8).has_value());
    EXPECT_FALSE(StateText(9).has_value());
}

TEST(StatusTexts, OnlyWellFormedIdentifiersAreListed) {
    TSystemData data;
    std::memcpy(data.RecentMessageIds(), "FA12ab34GB05", 12);
    EXPECT_EQ(CurrentMessagesText(data), "Actuel messages: FA12  GB05  ");
    std::memset(data.RecentMessageIds(), 0, 12);
    EXPECT_EQ(CurrentMessagesText(data), "Actuel messages: ");
    std::memcpy(data.RecentMessageIds(), "F112A9B9ZZ99", 12);
    EXPECT_EQ(CurrentMessagesText(data), "Actuel messages: ZZ99  ");
}

TEST(StatusTexts, FormatsWithTheUsersDecimalSeparator) {
    EXPECT_EQ(TemperatureText(-53, ','), "Température: -5,3°C   ");
    EXPECT_EQ(TemperatureText(5, '.'), "Température: 0.5°C   ");
    EXPECT_EQ(text::FormatOneDecimal(3.0, 3, '.'), "3.0");
    EXPECT_EQ(text::FormatOneDecimal(0.5, 5, ','), "  0,5");
    EXPECT_EQ(PressureText(1013.25, 120, ','), "Pression atmosphérique: 1013,2hPa / 120 m  ");
    EXPECT_EQ(PressureText(998.0, 0, '.'), "Pression atmosphérique: 998.0hPa / 0 m  ");
    EXPECT_EQ(TendencyText(-1.5, true, '.'), "Tendance: -1.5hPa/3h");
    EXPECT_EQ(TendencyText(2.0, false, '.'), "Tendance: 2.0hPa/3h") << "no plus sign for the ZEL2D";
}

TEST(StatusTexts, NumbersOfAnySizeAndNoNumbersAreFormattedSafely) {
    const std::string huge = text::FormatOneDecimal(1e307, 4, ',');
    EXPECT_EQ(huge.size(), 309u);  // 307 digits of 9.99...e306, the comma and one decimal
    EXPECT_EQ(huge.substr(0, 2), "99");
    EXPECT_EQ(huge.substr(huge.size() - 2), ",0");
    EXPECT_EQ(huge.find_first_not_of("0123456789,"), std::string::npos) << "only the number's own digits";
    EXPECT_EQ(text::FormatOneDecimal(std::nan(""), 4, '.'), "--.-");
    EXPECT_EQ(text::FormatOneDecimal(-HUGE_VAL, 4, '.'), "--.-");
    EXPECT_EQ(text::FormatOneDecimal(1013.25, 4, ','), "1013,2");
}

TEST(StatusTexts, PlusSignOnlyAboveTheThreshold) {
    EXPECT_EQ(TendencyText(0.049, true, '.'), "Tendance: 0.0hPa/3h");
    EXPECT_EQ(TendencyText(0.05, true, '.'), "Tendance: +0.1hPa/3h");
}

TEST(StatusTexts, ThreeHourTendencyFromTheRing) {
    TSystemData data;
    std::array<int16_t, 10240> ring{};
    data.SetWriteIndex(100);
    data.SetValidCount(10240);
    // Newest three at 99, 98, 97; the older three 180 further back wrap to 10159..10157.
    for (int p : {99, 98, 97}) ring[static_cast<size_t>(p)] = 1300;
    for (int p : {10159, 10158, 10157}) ring[static_cast<size_t>(p)] = 1000;
    ring[10156] = -30000;  // just outside the window
    auto t = ThreeHourTendency(data, ring);
    ASSERT_TRUE(t.has_value());
    EXPECT_DOUBLE_EQ(*t, 3.0);

    data.SetValidCount(184);
    EXPECT_FALSE(ThreeHourTendency(data, ring).has_value());
    data.SetValidCount(185);
    EXPECT_TRUE(ThreeHourTendency(data, ring).has_value());
    data.SetWriteIndex(65535);
    EXPECT_FALSE(ThreeHourTendency(data, ring).has_value());

    // At write position 0 the newest sample is at 10239.
    data.SetWriteIndex(0);
    ring.fill(0);
    ring[10239] = ring[10238] = ring[10237] = -300;
    EXPECT_DOUBLE_EQ(ThreeHourTendency(data, ring).value(), -3.0);
}

TEST(StatusTexts, FirmwareVersionText) {
    TSystemData data;
    data.SetFirmwareVersion({1, 0, 10});
    EXPECT_EQ(FirmwareVersionText(data), "1.0.10");
    data.SetFailureDefaults();
    EXPECT_EQ(FirmwareVersionText(data), "0.0.0");
}

}  // namespace
