// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/SystemFileRead.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/Files.h"

namespace acquisition {

void ReadSystemFile(const std::string& driveRoot, TAcquisitionState& state,
                    const std::function<void()>& redrawChart) {
    TBusyScope busy(state.Busy);
    TSystemData& data = state.SystemData;
    platform::ReadOnlyFile file;
    if (!file.Open(platform::JoinPath(driveRoot, "SYSTEM.BIN"))) {
        data.SetFailureDefaults();
        if (redrawChart) redrawChart();
    } else {
        // A short file replaces only what it has.
        std::vector<uint8_t> buffer(TSystemData::Size);
        const long long n = file.ReadAt(0, buffer.data(), buffer.size());
        if (n > 0) std::copy(buffer.begin(), buffer.begin() + n, data.Data());
        file.Close();
    }
    data.ClampIndices();
    state.NewMessages = std::memcmp(data.RecentMessageIds(), state.PreviousMessageIds.data(),
                                    state.PreviousMessageIds.size()) != 0;
    std::copy(data.RecentMessageIds(), data.RecentMessageIds() + 12, state.PreviousMessageIds.begin());
}

}  // namespace acquisition
