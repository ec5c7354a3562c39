// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace receiver {

// Where a model keeps its state and messages: plain files in the drive's root (SYSTEM.BIN,
// BARODATA.BIN, INTERNAT\, NATIONAL\) or the ring files that TZel2d reads.
enum class TStorage { Files, Rings };

// What the status bar shows of the battery.
enum class TBattery {
    None,
    Percent,  // the battery value is a percentage already
    Charge,   // converted from the charge (BatteryPercent)
};

// What differs from one model to the next; read wherever behaviour depends on the model.
struct TModel {
    std::string_view name;  // the volume label, compared exactly
    // Detection: the files that must stand beside the label.
    bool needsIndex = false;
    bool needsSystemOnPrevious = false;  // the previous drive's check
    bool needsSystemOnScan = false;      // the full scan
    bool barograph = false;              // pressure, tendency, the barograph page and chart
    TBattery battery = TBattery::None;
    TStorage storage = TStorage::Files;
    std::string_view firmwareFamily;  // "B", "BX" or "D": which firmware packages fit
};

// The five models in the order detection tries them; the first that passes decides.
std::span<const TModel> Models();

// The row of a model name; a row with an empty name, no barograph and no battery for an
// empty or unknown name.
const TModel& ModelOf(std::string_view name);
bool IsKnownModel(std::string_view name);

// "ZEL2/ZEL2B" for family "B": the models a firmware family is for; the family itself
// when no model has it.
std::string ModelsOfFamily(std::string_view family);

}  // namespace receiver
