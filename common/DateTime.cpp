// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/DateTime.h"

#include <cmath>
#include <cstdio>
#include <tuple>

#include "common/Translatable.h"

namespace datetime {
namespace {

// Days from 1970-01-01 for a proleptic Gregorian date, and back (H. Hinnant's method).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(static_cast<int64_t>(yoe) + era * 400 + (m <= 2));
}

constexpr int64_t Days1899To1970 = 25569;

}  // namespace

double EncodeLocal(const platform::LocalDateTime& t) {
    const int64_t days =
        DaysFromCivil(t.year, static_cast<unsigned>(t.month), static_cast<unsigned>(t.day)) + Days1899To1970;
    const double time = (t.hour * 3600.0 + t.minute * 60.0 + t.second + t.millisecond / 1000.0) / 86400.0;
    return static_cast<double>(days) + time;
}

platform::LocalDateTime DecodeLocal(double dateTime) {
    platform::LocalDateTime t;
    const double dayPart = std::floor(dateTime);
    int64_t ms = std::llround((dateTime - dayPart) * 86400000.0);
    int64_t days = static_cast<int64_t>(dayPart);
    if (ms >= 86400000) {
        ms -= 86400000;
        ++days;
    }
    CivilFromDays(days - Days1899To1970, t.year, t.month, t.day);
    t.hour = static_cast<int>(ms / 3600000);
    t.minute = static_cast<int>(ms / 60000 % 60);
    t.second = static_cast<int>(ms / 1000 % 60);
    t.millisecond = static_cast<int>(ms % 1000);
    return t;
}

double Now() {
    return EncodeLocal(platform::LocalNow());
}

double FromReceiverSeconds(uint32_t seconds) {
    return ReceiverEpochDays + seconds / 86400.0;
}

platform::LocalDateTime LocalFromReceiverSeconds(uint32_t seconds) {
    platform::LocalDateTime t;
    CivilFromDays(DaysFromCivil(2008, 1, 1) + seconds / 86400, t.year, t.month, t.day);
    const uint32_t rest = seconds % 86400;
    t.hour = static_cast<int>(rest / 3600);
    t.minute = static_cast<int>(rest / 60 % 60);
    t.second = static_cast<int>(rest % 60);
    return t;
}

platform::LocalDateTime UtcFromUnixSeconds(int64_t seconds) {
    platform::LocalDateTime t;
    const int64_t days = seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
    const int64_t rest = seconds - days * 86400;
    CivilFromDays(days, t.year, t.month, t.day);
    t.hour = static_cast<int>(rest / 3600);
    t.minute = static_cast<int>(rest / 60 % 60);
    t.second = static_cast<int>(rest % 60);
    return t;
}

int64_t UnixSecondsFromUtc(int year, int month, int day, int hour, int minute, int second) {
    return DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) * 86400 +
           hour * 3600 + minute * 60 + second;
}

int32_t PackFat(const platform::LocalDateTime& t) {
    const uint32_t packed = (static_cast<uint32_t>(t.year - 1980) << 25) |
                            (static_cast<uint32_t>(t.month) << 21) | (static_cast<uint32_t>(t.day) << 16) |
                            (static_cast<uint32_t>(t.hour) << 11) | (static_cast<uint32_t>(t.minute) << 5) |
                            static_cast<uint32_t>(t.second / 2);
    return static_cast<int32_t>(packed);
}

platform::LocalDateTime UnpackFat(int32_t value) {
    const auto packed = static_cast<uint32_t>(value);
    return {static_cast<int>(packed >> 25) + 1980,
            static_cast<int>(packed >> 21 & 15),
            static_cast<int>(packed >> 16 & 31),
            static_cast<int>(packed >> 11 & 31),
            static_cast<int>(packed >> 5 & 63),
            static_cast<int>(packed & 31) * 2,
            0};
}

std::string DateText(const platform::LocalDateTime& t) {
    // The order and separators of the user's language: jj the day, mm the month, aaaa the year.
    std::string text = translatable::Tr("common", "jj/mm/aaaa");
    char part[8];
    for (const auto& [key, value, width] :
         {std::tuple{"jj", t.day, 2}, {"mm", t.month, 2}, {"aaaa", t.year, 4}}) {
        const size_t at = text.find(key);
        if (at == std::string::npos) continue;
        std::snprintf(part, sizeof part, "%0*d", width, value);
        text.replace(at, std::char_traits<char>::length(key), part);
    }
    return text;
}

std::string TimeText(const platform::LocalDateTime& t) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", t.hour, t.minute);
    return text;
}

std::string LocalDateTimeText(int64_t unixSeconds, const char* between) {
    const platform::LocalDateTime t = platform::ToLocal(unixSeconds);
    return DateText(t) + (between ? std::string(between) : translatable::Tr("common", " à ")) + TimeText(t);
}

std::string Iso8601Utc(int64_t unixSeconds) {
    const platform::LocalDateTime utc = UtcFromUnixSeconds(unixSeconds);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", utc.year, utc.month, utc.day, utc.hour,
                  utc.minute, utc.second);
    return text;
}

std::optional<int64_t> ParseIso8601Utc(const std::string& text) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, used = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d%n", &year, &month, &day, &used) != 3 || used != 10)
        return std::nullopt;
    std::string rest = text.substr(10);
    if (!rest.empty() && rest.back() == 'Z') rest.pop_back();
    if (!rest.empty()) {
        int more = 0;
        const int fields =
            std::sscanf(rest.c_str(), "T%2d:%2d%n:%2d%n", &hour, &minute, &more, &second, &more);
        if (fields < 2 || static_cast<size_t>(more) != rest.size() || rest.size() < 6) return std::nullopt;
    }
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    return UnixSecondsFromUtc(year, month, day, hour, minute, second);
}

}  // namespace datetime
