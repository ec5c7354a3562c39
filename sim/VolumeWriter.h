#pragma once

#include <cstdint>
#include <string>

namespace sim {

bool IsKnownModel(const std::string& model);

struct VolumeOptions {
    int64_t now = 0;           // unix seconds; 0 = the current time
    bool withSystemFile = true;
    bool withIndexFile = true;
};

// Writes the files of a receiver volume of the given model into folder (created when
// missing). False when the model is unknown or a file cannot be written.
bool MakeVolume(const std::string& model, const std::string& folder, const VolumeOptions& options = {});

// The simulated weather: sea-level pressure (Pa - 100000) so many minutes before the volume
// was made; negative values look into its future.
int16_t PressureAt(double minutesAgo);

// Unix seconds as the ZEL2D clock counts them.
uint32_t ReceiverSeconds(int64_t unixSeconds);

}  // namespace sim
