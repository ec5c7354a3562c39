#include "nmea/NewMessages.h"

#include "platform/Clock.h"
#include "receiver/DateTime.h"

namespace nmea {
namespace {

TNavtexMessage ToMessage(const TMsgHeaderElement& record, bool international) {
    TNavtexMessage m;
    m.identifier = record.Name;
    m.international = international;
    // The file time is local; NRX gives the reception in UTC.
    const platform::LocalDateTime local = datetime::UnpackFat(record.Age);
    const int64_t utc = platform::FromLocal(local);
    const int64_t days = utc >= 0 ? utc / 86400 : (utc - 86399) / 86400;
    const int64_t secondsOfDay = utc - days * 86400;
    // Civil date from days since 1970 (Howard Hinnant's algorithm).
    const int64_t z = days + 719468, era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097, yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100), mp = (5 * doy + 2) / 153;
    m.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    m.year = static_cast<int>(yoe + era * 400 + (m.month <= 2 ? 1 : 0));
    m.hour = static_cast<int>(secondsOfDay / 3600);
    m.minute = static_cast<int>(secondsOfDay / 60 % 60);
    m.second = static_cast<int>(secondsOfDay % 60);
    for (const std::string& line : record.Lines) m.text += line + "\r\n";
    return m;
}

}  // namespace

std::vector<TNavtexMessage> TNewMessages::Arrived(const TMsgList& international,
                                                  const TMsgList& national) {
    std::vector<TNavtexMessage> arrived;
    for (bool band518 : {true, false}) {
        for (const auto& record : band518 ? international : national) {
            const std::string key = std::string(band518 ? "I" : "N") + record->Name + ":" + std::to_string(record->Age);
            if (!known.insert(key).second || !primed) continue;
            arrived.push_back(ToMessage(*record, band518));
        }
    }
    primed = true;
    return arrived;
}

}  // namespace nmea
