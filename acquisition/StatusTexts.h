// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

#include <cstdint>
#include <optional>
#include <string>
#include "common/Translatable.h"

#include "receiver/SystemData.h"

// The texts the status display builds from a status read. All are UTF-8.
namespace acquisition {

inline constexpr const char* CapacityCaption = QT_TRANSLATE_NOOP("acquisition", "Capacité:");
inline constexpr const char* NoReceiverText = "No receiver connected.";
inline constexpr const char* NoReceiverIdentity = "No receiver";

// Charge value of a ZEL2D turned into 0..100, with the receiver's own 8-bit arithmetic.
uint8_t BatteryPercent(uint32_t charge);

// The state text of status panel 5; none for 8 and above (the panel keeps its text).
std::optional<std::string> StateText(uint8_t state);

// "Actuel messages: " and every well-formed identifier (two capitals, two digits) + two blanks.
std::string CurrentMessagesText(const TSystemData& data);

// Pressure change over three hours in hPa from the ring, when the ring allows it:
// more than 184 valid samples and a valid write position.
std::optional<double> ThreeHourTendency(const TSystemData& data, const std::array<int16_t, 10240>& ring);

std::string TemperatureText(int16_t tenths, char decimalSeparator);
std::string PressureText(double hPa, long altitude, char decimalSeparator);
// The file models put "+" before a rise above 0.049 hPa; the ZEL2D never does.
std::string TendencyText(double hPaPerThreeHours, bool plusForRise, char decimalSeparator);

// "1.0.10"
std::string FirmwareVersionText(const TSystemData& data);

}  // namespace acquisition
