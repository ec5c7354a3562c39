// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <tuple>

namespace warnings {

// The alerts already raised and which of them the crew acknowledged, kept in ALARMS.INI so
// that a restart raises none again and clears what was acknowledged.
class TAlertBook {
public:
    // A message: band (518 or 490), identifier, and its file time as the tree packs it.
    using Key = std::tuple<int, std::string, int32_t>;
    static constexpr size_t Kept = 2000;

    // "518 ED01 1234567" a line, " ack" after an acknowledged one; a line that cannot be
    // read costs that line only.
    static TAlertBook Read(const std::string& text);
    // The newest Kept alerts (by their file time), in Read's form.
    std::string Text() const;

    // True when key was not raised before.
    bool Raise(const Key& key) { return alerts.emplace(key, false).second; }
    bool Raised(const Key& key) const { return alerts.count(key) != 0; }
    void Acknowledge(const Key& key) { alerts[key] = true; }
    bool Acknowledged(const Key& key) const;
    size_t Size() const { return alerts.size(); }

private:
    std::map<Key, bool> alerts;  // acknowledged or not
};

}  // namespace warnings
