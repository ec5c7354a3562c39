// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/BaroHeightInput.h"

#include "acquisition/AcquisitionState.h"

#include <algorithm>
#include <charconv>

namespace settings {

int32_t ParseBaroHeight(const std::string& text) {
    size_t first = text.find_first_not_of(" \t");
    size_t last = text.find_last_not_of(" \t");
    if (first == std::string::npos) return 0;
    std::string trimmed = text.substr(first, last - first + 1);
    if (!trimmed.empty() && trimmed[0] == '+') trimmed.erase(0, 1);
    long long value = 0;
    const auto [end, error] = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
    if (error == std::errc::result_out_of_range) return trimmed[0] == '-' ? MinBaroHeight : MaxBaroHeight;
    if (error != std::errc() || end != trimmed.data() + trimmed.size()) return 0;
    return static_cast<int32_t>(std::clamp<long long>(value, MinBaroHeight, MaxBaroHeight));
}

}  // namespace settings
