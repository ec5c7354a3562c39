// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "update/FirmwarePackage.h"

// The simulated receiver's firmware: images and access codes made from fixed seeds, so the
// emulated update mode and the packages made for it always agree. None of it is a real
// device image.
namespace sim {

enum class TUpdateProcedure { ModelD, New, Old };

// The access code the emulated receiver listens for.
update::TPreamble SimulatorPreamble(TUpdateProcedure procedure);

// Writes a complete package for the family of model into folder (created when missing);
// its manifest says it is simulator data. False when the model is unknown or a write fails.
bool MakeFirmwarePackage(const std::string& folder, const std::string& model);

// The bytes the package's image of that role holds ("firmware", "data", "loader-new", ...).
std::vector<uint8_t> SimulatorImage(const std::string& family, const std::string& role);

}  // namespace sim
