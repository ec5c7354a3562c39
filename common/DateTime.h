// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Clock.h"

// The three clocks the system meets, all in local time:
// - the program's date-time: days since 30 December 1899 00:00, fraction = time of day;
// - the ZEL2D receiver's clock: unsigned seconds since 1 January 2008 00:00;
// - the packed FAT date-time of archived message files.
namespace datetime {

inline constexpr double ReceiverEpochDays = 39448.0;  // 2008-01-01 as a date-time

double EncodeLocal(const platform::LocalDateTime& t);
platform::LocalDateTime DecodeLocal(double dateTime);
double Now();

// Calendar arithmetic only: the receiver counts local wall-clock seconds.
double FromReceiverSeconds(uint32_t seconds);
platform::LocalDateTime LocalFromReceiverSeconds(uint32_t seconds);

// Calendar date and time in UTC of seconds since 1970 (for what leaves the boat in UTC).
platform::LocalDateTime UtcFromUnixSeconds(int64_t seconds);
// Seconds since 1970 of a calendar date and time in UTC.
int64_t UnixSecondsFromUtc(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

// Bits 25..31 years since 1980, 21..24 month, 16..20 day, 11..15 hour, 5..10 minute,
// 0..4 seconds / 2.
int32_t PackFat(const platform::LocalDateTime& t);
platform::LocalDateTime UnpackFat(int32_t packed);

// ISO 8601 in UTC, "2026-12-09T17:32:00Z", for what leaves the program in files and lines.
std::string Iso8601Utc(int64_t unixSeconds);
// "2020-12-31", "2020-12-31T18:00", "2020-12-31T18:00:30Z" (always UTC); empty when it is none.
std::optional<int64_t> ParseIso8601Utc(const std::string& text);

// How the program writes a date and a time for the user: "09/12/2026" and "17:32".
std::string DateText(const platform::LocalDateTime& t);
std::string TimeText(const platform::LocalDateTime& t);
// "09/12/2026 à 17:32" (or with the separator given) in the program's local time.
std::string LocalDateTimeText(int64_t unixSeconds, const char* between = nullptr);

}  // namespace datetime
