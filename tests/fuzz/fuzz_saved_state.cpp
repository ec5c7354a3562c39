// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own saved state as a kill or a foreign hand may leave it: CONFIG.BIN,
// MISC.BIN, SYSTEM.BIN, BARODATA.BIN and the commit record of a save in progress (with its
// temporary). The start recovers and loads it without fault and within the layouts' bounds.
#include "fuzz/FuzzSupport.h"
#include "receiver/StateFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto parts = fuzz::Parts(data, size, 6);
    const std::string archive = fuzz::Fresh("archive");
    const char* names[] = {"CONFIG.BIN",   "MISC.BIN",     "SYSTEM.BIN",
                           "BARODATA.BIN", ".zel2-commit", ".zel2tmp-a"};
    for (size_t i = 0; i < parts.size(); ++i)
        if (!parts[i].empty()) fuzz::Write(archive + names[i], parts[i]);
    TSavedState state;
    TReadMarkList marks;
    fuzz::NoView view;
    receiver::LoadLocalCopies(archive, state, marks, view);
    FUZZ_CHECK(state.BaroHeight >= MinBaroHeight && state.BaroHeight <= MaxBaroHeight);
    FUZZ_CHECK(marks.size() <= (1u << 20));
    // What was loaded saves and loads again as itself.
    FUZZ_CHECK(receiver::SaveLocalCopies(archive, state, marks));
    TSavedState again;
    TReadMarkList againMarks;
    receiver::LoadLocalCopies(archive, again, againMarks, view);
    FUZZ_CHECK(againMarks.size() == marks.size());
    FUZZ_CHECK(again.BaroHeight == state.BaroHeight && again.ShowLastMessage == state.ShowLastMessage);
    return 0;
}
