// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "app/OsName.h"
#include "settings/BaroHeightInput.h"

TEST(ConfigurationInput, AltitudeIsAWholeNumberWithinTheRange) {
    using settings::ParseBaroHeight;
    EXPECT_EQ(ParseBaroHeight("120"), 120);
    EXPECT_EQ(ParseBaroHeight(" 750 "), 750);
    EXPECT_EQ(ParseBaroHeight("1000"), 750);
    EXPECT_EQ(ParseBaroHeight("99999999999999999999"), 750);
    EXPECT_EQ(ParseBaroHeight("-5"), 0);
    EXPECT_EQ(ParseBaroHeight("-99999999999999999999"), 0);
    EXPECT_EQ(ParseBaroHeight("abc"), 0);
    EXPECT_EQ(ParseBaroHeight("12m"), 0);
    EXPECT_EQ(ParseBaroHeight("12.5"), 0);
    EXPECT_EQ(ParseBaroHeight(""), 0);
    EXPECT_EQ(ParseBaroHeight("+7"), 7);
}

TEST(SystemInformation, OperatingSystemNames) {
    using platform::OsVersion;
    const auto name = [](int id, int major, int minor) {
        return app::OsName(OsVersion{id, major, minor, ""});
    };
    EXPECT_EQ(name(1, 4, 0), "Windows95");
    EXPECT_EQ(name(1, 4, 10), "Windows98");
    EXPECT_EQ(name(1, 4, 90), "WindowsMe");
    EXPECT_EQ(name(1, 4, 1), "Unbekannt");
    EXPECT_EQ(name(2, 3, 51), "WindowsNT3.51");
    EXPECT_EQ(name(2, 3, 50), "Unbekannt");
    EXPECT_EQ(name(2, 4, 0), "WindowsNT4");
    EXPECT_EQ(name(2, 5, 0), "Windows2000");
    EXPECT_EQ(name(2, 5, 1), "WindowsXP");
    EXPECT_EQ(name(2, 5, 2), "Windows.NETServer");
    EXPECT_EQ(name(2, 6, 0), "Windows Vista");
    EXPECT_EQ(name(2, 6, 1), "Windows 7");
    EXPECT_EQ(name(2, 6, 2), "Unbekannt");  // Windows 8
    EXPECT_EQ(name(2, 10, 0), "Unbekannt");
    EXPECT_EQ(name(3, 4, 0), "Unbekannt");
    EXPECT_EQ(app::OsName(OsVersion{0, 6, 1, "Debian GNU/Linux 12 (bookworm)"}),
              "Debian GNU/Linux 12 (bookworm)");
    EXPECT_EQ(app::OsName(OsVersion{0, 0, 0, ""}), "Unbekannt");
}
