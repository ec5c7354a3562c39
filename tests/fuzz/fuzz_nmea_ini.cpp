// SPDX-License-Identifier: GPL-3.0-or-later
// NMEA.INI as a hand or another program may leave it: it loads without fault into settings
// within their ranges (a host name only when it is valid), which save and load as themselves.
#include "fuzz/FuzzSupport.h"
#include "nmea/NmeaSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string archive = fuzz::Fresh("nmea");
    fuzz::Write(archive + "NMEA.INI", std::string(reinterpret_cast<const char*>(data), size));
    const nmea::TNmeaSettings settings = nmea::LoadNmeaSettings(archive);
    FUZZ_CHECK(settings.udpHost.empty() || nmea::ValidHost(settings.udpHost));
    FUZZ_CHECK(settings.tcpPort >= 0 && settings.tcpPort <= 65535);
    FUZZ_CHECK(settings.udpPort >= 0 && settings.udpPort <= 65535);
    FUZZ_CHECK(settings.stormThreshold == settings.stormThreshold);  // not NaN
    FUZZ_CHECK(nmea::SaveNmeaSettings(archive, settings));
    FUZZ_CHECK(nmea::LoadNmeaSettings(archive) == settings);
    return 0;
}
