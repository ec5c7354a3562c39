// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/BaroTransfer.h"

#include <cmath>

#include "common/LittleEndian.h"
#include "platform/Files.h"
#include "receiver/TZel2d.h"

namespace acquisition {
namespace {

constexpr int BlockSamples = 1280;
constexpr int BlockBytes = 2 * BlockSamples;
constexpr uint16_t NothingLoaded = 65535;

void ReadBlock(platform::ReadOnlyFile& file, int block, TAcquisitionState& state) {
    uint8_t bytes[BlockBytes];
    const long long n = file.ReadAt(static_cast<uint64_t>(block) * BlockBytes, bytes, BlockBytes);
    for (long long i = 0; i < n / 2; ++i)
        state.BaroSamples[static_cast<size_t>(block * BlockSamples + i)] = le::I16(bytes + 2 * i);
}

}  // namespace

void LoadBaroFile(const std::string& driveRoot, TAcquisitionState& state, IBaroTransferView& view,
                  double now) {
    state.Busy = 1;
    state.BaroLoaded = 0;
    const uint16_t w = state.SystemData.WriteIndex();
    const std::string path = platform::JoinPath(driveRoot, "BARODATA.BIN");

    if (w != state.LastLoadedIndex) {
        platform::ReadOnlyFile file;
        if (state.LastLoadedIndex == NothingLoaded) {
            view.SetStatusPanel0(LoadBarographText);
            if (file.Open(path)) {
                for (int k = 0; k < 8; ++k) {
                    ReadBlock(file, k, state);
                    view.SetBusyProgress(14 * k);
                    view.RepaintStatusBar();
                }
                state.LastLoadedIndex = w;
                file.Close();
            }
            view.SetStatusPanel0("");
            view.SetBusyProgress(0);
            view.RepaintStatusBar();
            state.BaroLoaded = 1;
        } else {
            state.LastLoadedIndex = NothingLoaded;
            if (file.Open(path)) {
                if (w < TSystemData::RingSize) ReadBlock(file, w / BlockSamples, state);
                state.BaroLoaded = 1;
                state.LastLoadedIndex = w;
                file.Close();
            }
        }
        // The receiver has not moved the newest samples to the file yet: take them from
        // the status image's current sector.
        if (w < TSystemData::RingSize) {
            const int n = w == 0 ? 0 : (w - 1) % 256 + 1;
            const int base = w / 256 * 256;
            for (int i = 0; i < n; ++i)
                state.BaroSamples[static_cast<size_t>(base + i)] = state.SystemData.SampleSector(i);
        }
    }
    state.Busy = 0;
    state.BaroTime = now;
}

void LoadBaroModelD(const std::string& driveRoot, TAcquisitionState& state, IBaroTransferView& view,
                    double now) {
    state.Busy = 1;
    state.BaroLoaded = 0;
    view.SetStatusPanel0(LoadBarographText);
    {
        TZel2d reader(driveRoot);
        if (reader.ReadBarograph()) {
            state.BaroHeight = reader.Altitude;
            const int count = reader.BaroCount();
            for (int i = 0; i < count; ++i) {
                // BaroValue is a whole number of 0.1 hPa; 1027.6 * 100 comes out as 102759.99..,
                // so truncating it would lose a pascal. Rounding gives the exact value.
                const int32_t pa = static_cast<int32_t>(std::lround(reader.BaroValue(i) * 100.0)) - 100000;
                state.BaroSamples[static_cast<size_t>(i)] = static_cast<int16_t>(static_cast<uint16_t>(pa));
            }
            state.SystemData.SetWriteIndex(static_cast<uint16_t>(count >= TSystemData::RingSize ? 0 : count));
            state.SystemData.SetValidCount(static_cast<uint16_t>(count));
            state.BaroLoaded = 1;
        }
    }
    state.Busy = 0;
    state.BaroTime = now;
}

}  // namespace acquisition
