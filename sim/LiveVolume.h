// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace sim {

// Keeps a simulated receiver volume alive: one barograph sample a minute, a new message
// now and then, battery and state changing. Every file is rewritten whole, as the
// receiver's own writes appear to the program.
class LiveVolume {
public:
    LiveVolume(std::string folder, int64_t start);
    // One simulated minute; false when the volume's files cannot be read or written.
    bool AdvanceMinute();
    int Minute() const { return minute; }

private:
    bool AdvanceFileModel();
    bool AdvanceModelD();
    std::string folder;
    int64_t start;
    int minute = 0;
};

// Runs minutes every 60 / speed seconds until `seconds` have passed (0: for ever).
int RunLive(const std::string& folder, double speed, double seconds);

}  // namespace sim
