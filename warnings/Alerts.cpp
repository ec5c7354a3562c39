// SPDX-License-Identifier: GPL-3.0-or-later
#include "warnings/Alerts.h"

#include <algorithm>
#include <sstream>
#include <vector>

namespace warnings {

TAlertBook TAlertBook::Read(const std::string& text) {
    TAlertBook book;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        int band = 0;
        std::string name, flag;
        int32_t age = 0;
        if (!(fields >> band >> name >> age) || (band != 518 && band != 490)) continue;
        fields >> flag;
        book.alerts[{band, name, age}] = flag == "ack";
    }
    return book;
}

bool TAlertBook::Acknowledged(const Key& key) const {
    const auto it = alerts.find(key);
    return it != alerts.end() && it->second;
}

std::string TAlertBook::Text() const {
    // The oldest receptions go first when the book is full, whatever their names.
    std::vector<std::pair<const Key*, bool>> kept;
    for (const auto& [key, acknowledged] : alerts) kept.emplace_back(&key, acknowledged);
    if (kept.size() > Kept) {
        std::nth_element(kept.begin(), kept.end() - Kept, kept.end(), [](const auto& a, const auto& b) {
            return std::get<2>(*a.first) < std::get<2>(*b.first);
        });
        kept.erase(kept.begin(), kept.end() - Kept);
        std::sort(kept.begin(), kept.end(), [](const auto& a, const auto& b) { return *a.first < *b.first; });
    }
    std::string text;
    for (const auto& [key, acknowledged] : kept) {
        const auto& [band, name, age] = *key;
        text += std::to_string(band) + " " + name + " " + std::to_string(age) + (acknowledged ? " ack" : "") +
                "\r\n";
    }
    return text;
}

}  // namespace warnings
