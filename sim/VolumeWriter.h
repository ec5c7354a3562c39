// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

bool IsKnownModel(const std::string& model);

// The simulated weather: a low passing (about 4-5 hPa in 3 h at its fastest), steady
// pressure, or a storm coming (a fall of 4 hPa in the last three hours).
enum class Weather { Passing, Steady, Storm };

// A message of the simulated traffic: "FA12", received so many minutes ago, its text
// between the identifier's line and NNNN.
struct SimMessage {
    std::string id;
    int ageMinutes = 0;
    std::string body;
};

struct VolumeOptions {
    int64_t now = 0;  // unix seconds; 0 = the current time
    bool withSystemFile = true;
    bool withIndexFile = true;
    Weather weather = Weather::Passing;
    int writeIndex = 7321;            // where the next barograph sample goes: later volumes have moved on
    std::vector<SimMessage> more518;  // received on 518 kHz besides the usual day of traffic
};

// Writes the files of a receiver volume of the given model into folder (created when
// missing). False when the model is unknown or a file cannot be written.
bool MakeVolume(const std::string& model, const std::string& folder, const VolumeOptions& options = {});

// The simulated weather: sea-level pressure (Pa - 100000) so many minutes before the volume
// was made; negative values look into its future.
int16_t PressureAt(double minutesAgo, Weather weather = Weather::Passing);

// Unix seconds as the ZEL2D clock counts them.
uint32_t ReceiverSeconds(int64_t unixSeconds);

}  // namespace sim
