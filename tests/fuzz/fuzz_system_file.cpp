// SPDX-License-Identifier: GPL-3.0-or-later
// The receiver's SYSTEM.BIN: whatever its length, it reads without fault, keeps its bytes
// (only impossible ring indices become "invalid"), and what is read is saved and loaded
// back as the same 556 bytes.
#include <algorithm>

#include "acquisition/SystemFileRead.h"
#include "fuzz/FuzzSupport.h"
#include "receiver/StateFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string drive = fuzz::Fresh("drive");
    fuzz::Write(drive + "SYSTEM.BIN", std::string(reinterpret_cast<const char*>(data), size));
    TAcquisitionState state;
    acquisition::ReadSystemFile(drive, state, [] {});
    const uint8_t* read = state.SystemData.Data();
    const size_t kept = std::min(size, TSystemData::Size);
    for (size_t i = 0; i < kept; ++i) {
        if (i >= 512 && i < 516) continue;  // the ring indices, checked below
        FUZZ_CHECK(read[i] == data[i]);
    }
    FUZZ_CHECK(state.SystemData.WriteIndex() < TSystemData::RingSize ||
               state.SystemData.WriteIndex() == TSystemData::Invalid);
    FUZZ_CHECK(state.SystemData.ValidCount() <= TSystemData::RingSize ||
               state.SystemData.ValidCount() == TSystemData::Invalid);

    const std::string archive = fuzz::Fresh("archive");
    TReadMarkList marks;
    FUZZ_CHECK(receiver::SaveLocalCopies(archive, state, marks));
    TSavedState loaded;
    TReadMarkList loadedMarks;
    fuzz::NoView view;
    receiver::LoadLocalCopies(archive, loaded, loadedMarks, view);
    FUZZ_CHECK(std::equal(read, read + TSystemData::Size, loaded.SystemData.Data()));
    return 0;
}
