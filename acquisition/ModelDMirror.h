// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "acquisition/AcquisitionState.h"
#include "platform/Files.h"

// The ZEL2D's two message rings mirrored into the archive. The files are read and written
// on the acquisition thread, in place: files the rings no longer hold go, files whose
// bytes or time differ are written anew, the rest is left alone. The window only applies
// the result (recent identifiers, newest times, a tree rebuild) in a synchronised step.
namespace acquisition {

struct TRecentMessage {
    std::string id;  // four characters, or four zero bytes for a message without lines
    uint32_t time = 0;
};

// What one transfer leaves for the shared state.
struct TModelDResult {
    std::array<bool, 2> bandRead{};      // 518 kHz, 490 kHz: the ring was read whole
    std::array<int, 2> count{};          // messages in the ring
    std::array<uint32_t, 2> newest{};    // receive time of the newest message
    std::vector<TRecentMessage> recent;  // up to three per band, index 0 (newest) first
    bool rewritten = false;              // a band that failed to write was written again
};

class TModelDMirror {
public:
    // Reads the rings and brings the archive's band folders to them. Remembers what it
    // wrote, so a receiver whose rings did not change costs little more than reading them.
    TModelDResult Transfer(const std::string& driveRoot, const std::string& archiveRoot);

    // One band's file as the archive must hold it.
    struct TFile {
        std::string text;
        uint32_t time = 0;
        bool operator==(const TFile&) const = default;
    };
    using TBandFiles = std::map<std::string, TFile>;

private:
    bool ReadRing(const std::string& path, size_t& size);

    struct TKnown {
        bool valid = false;
        bool unsynced = false;  // the last write of the band failed somewhere
        std::string folder;
        std::vector<uint8_t> ring;
        int16_t next = 0;
        uint32_t receiverTime = 0;
        uint32_t oldest = 0;
        platform::FileStamp folderStamp;
        TBandFiles band;
        TModelDResult part;  // this band's share of the result
    };
    std::array<TKnown, 2> known;
    std::vector<uint8_t> scratch;
};

// The window's part: the recent identifiers, the newest times and the rebuild request.
void ApplyModelDResult(const TModelDResult& result, TAcquisitionState& state);

}  // namespace acquisition
