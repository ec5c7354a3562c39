// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/StatusTexts.h"

#include "common/Translatable.h"

#include <charconv>
#include <cmath>

#include "common/Numbers.h"

namespace acquisition {
namespace {

bool IsUpper(char c) {
    return c >= 'A' && c <= 'Z';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int RingPosition(int writeIndex, int back) {
    return ((writeIndex - back) % 10240 + 10240) % 10240;
}

}  // namespace

uint8_t BatteryPercent(uint32_t charge) {
    const uint32_t scaled = charge * 100u;  // wraps like the receiver's 32-bit product
    const uint8_t q = static_cast<uint8_t>(scaled / 2880000u);
    const uint8_t p = static_cast<uint8_t>((q * 100u) / 80u);
    return p > 100 ? 100 : p;
}

std::optional<std::string> StateText(uint8_t state) {
    switch (state) {
        case 0:
            return "Init";
        case 1:
            return translatable::Tr("acquisition", "E´tat: Stand-by exempt USB");
        case 2:
            return translatable::Tr("acquisition", "E´tat: Stand-by par USB");
        case 3:
            return translatable::Tr("acquisition", "E´tat: Stand-by exempt batterie");
        case 4:
        case 5:
        case 6:
            return translatable::Tr("acquisition", "E´tat: charger");
        case 7:
            return translatable::Tr("acquisition", "E´tat: Stand-by par USB");
        default:
            return std::nullopt;
    }
}

std::string CurrentMessagesText(const TSystemData& data) {
    std::string text = translatable::Tr("acquisition", "Actuel messages: ");
    for (int slot = 0; slot < 3; ++slot) {
        const std::string id = data.RecentMessageId(slot);
        if (IsUpper(id[0]) && IsUpper(id[1]) && IsDigit(id[2]) && IsDigit(id[3])) text += id + "  ";
    }
    return text;
}

std::optional<double> ThreeHourTendency(const TSystemData& data, const std::array<int16_t, 10240>& ring) {
    const uint16_t writeIndex = data.WriteIndex();
    if (data.ValidCount() <= 184 || writeIndex == TSystemData::Invalid || writeIndex >= 10240)
        return std::nullopt;
    long newest = 0, older = 0;
    for (int k = 1; k <= 3; ++k) {
        newest += ring[static_cast<size_t>(RingPosition(writeIndex, k))];
        older += ring[static_cast<size_t>(RingPosition(writeIndex, 180 + k))];
    }
    return static_cast<double>(newest - older) / 300.0;
}

std::string TemperatureText(int16_t tenths, char decimalSeparator) {
    return translatable::Tr("acquisition", "Température: ") +
           text::FormatOneDecimal(tenths / 10.0, 3, decimalSeparator) + "°C   ";
}

std::string PressureText(double hPa, long altitude, char decimalSeparator) {
    return translatable::Tr("acquisition", "Pression atmosphérique: ") +
           text::FormatOneDecimal(hPa, 4, decimalSeparator) + "hPa / " + std::to_string(altitude) + " m  ";
}

std::string TendencyText(double t, bool plusForRise, char decimalSeparator) {
    const std::string sign = plusForRise && t > 0.049 ? "+" : "";
    return translatable::Tr("acquisition", "Tendance: ") + sign +
           text::FormatOneDecimal(t, 2, decimalSeparator) + "hPa/3h";
}

std::string FirmwareVersionText(const TSystemData& data) {
    const auto v = data.FirmwareVersion();
    return std::to_string(v[0]) + "." + std::to_string(v[1]) + "." + std::to_string(v[2]);
}

}  // namespace acquisition
