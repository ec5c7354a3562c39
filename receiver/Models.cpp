// SPDX-License-Identifier: GPL-3.0-or-later
#include "receiver/Models.h"

namespace receiver {
namespace {

// The two SYSTEM.BIN columns differ on purpose.
constexpr TModel Table[] = {
    {"ZEL2", true, false, false, false, TBattery::Percent, TStorage::Files, "B"},
    {"ZEL2B", true, true, false, true, TBattery::Percent, TStorage::Files, "B"},
    {"ZEL2X", true, true, false, false, TBattery::None, TStorage::Files, "BX"},
    {"ZEL2BX", true, true, true, true, TBattery::None, TStorage::Files, "BX"},
    {"ZEL2D", false, true, true, true, TBattery::Charge, TStorage::Rings, "D"},
};

constexpr TModel Unknown{};

}  // namespace

std::span<const TModel> Models() {
    return Table;
}

const TModel& ModelOf(std::string_view name) {
    if (name.empty()) return Unknown;
    for (const TModel& model : Table)
        if (model.name == name) return model;
    return Unknown;
}

bool IsKnownModel(std::string_view name) {
    return !ModelOf(name).name.empty();
}

std::string ModelsOfFamily(std::string_view family) {
    std::string names;
    for (const TModel& model : Table) {
        if (model.firmwareFamily != family) continue;
        if (!names.empty()) names += '/';
        names += model.name;
    }
    return names.empty() ? std::string(family) : names;
}

}  // namespace receiver
