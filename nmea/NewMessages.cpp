// SPDX-License-Identifier: GPL-3.0-or-later
#include "nmea/NewMessages.h"

#include "common/DateTime.h"
#include "platform/Clock.h"

namespace nmea {
namespace {

TNavtexMessage ToMessage(const TMsgHeaderElement& record, bool international) {
    TNavtexMessage m;
    m.identifier = record.Name;
    m.international = international;
    // The file time is local; NRX gives the reception in UTC.
    const platform::LocalDateTime utc =
        datetime::UtcFromUnixSeconds(platform::FromLocal(datetime::UnpackFat(record.Age)));
    m.year = utc.year;
    m.month = utc.month;
    m.day = utc.day;
    m.hour = utc.hour;
    m.minute = utc.minute;
    m.second = utc.second;
    for (const std::string& line : record.Lines) m.text += line + "\r\n";
    return m;
}

}  // namespace

std::vector<TNavtexMessage> TNewMessages::Arrived(const TMsgList& international, const TMsgList& national) {
    std::vector<TNavtexMessage> arrived;
    for (bool band518 : {true, false}) {
        for (const auto& record : band518 ? international : national) {
            const std::string key =
                std::string(band518 ? "I" : "N") + record->Name + ":" + std::to_string(record->Age);
            // A file whose name is no NAVTEX identifier is no message for the network.
            if (!known.insert(key).second || !primed || !ValidIdentifier(record->Name)) continue;
            arrived.push_back(ToMessage(*record, band518));
        }
    }
    primed = true;
    return arrived;
}

}  // namespace nmea
