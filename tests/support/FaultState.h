// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>

#include "acquisition/AcquisitionState.h"
#include "receiver/ReadMarks.h"

namespace testing_support {

// A saved state whose every file tells the generation it belongs to, so a check can see
// whether the four files on disk form one set.
inline void FillGeneration(int generation, TAcquisitionState& state, TReadMarkList& marks) {
    state.BaroHeight = generation % (MaxBaroHeight + 1);
    state.ShowLastMessage = static_cast<uint8_t>(generation & 1);
    marks.assign(static_cast<size_t>(generation % 50 + 1), TReadMark{generation, 1});
    state.SystemData.SetWriteIndex(static_cast<uint16_t>(generation % 10240));
    state.SystemData.SetValidCount(10240);
    state.BaroSamples.fill(static_cast<int16_t>(generation));
    state.BaroTime = generation;
}

// The generation of a loaded state, or -1 when its parts disagree.
inline int GenerationOf(const TAcquisitionState& state, const TReadMarkList& marks) {
    const int g = static_cast<int>(state.BaroTime);
    if (g <= 0 || state.BaroTime != g) return -1;
    TAcquisitionState expected;
    TReadMarkList expectedMarks;
    FillGeneration(g, expected, expectedMarks);
    const bool same = state.BaroHeight == expected.BaroHeight &&
                      state.ShowLastMessage == expected.ShowLastMessage &&
                      marks.size() == expectedMarks.size() &&
                      std::all_of(marks.begin(), marks.end(),
                                  [g](const TReadMark& m) { return m.Age == g && m.Unread == 1; }) &&
                      state.SystemData.WriteIndex() == expected.SystemData.WriteIndex() &&
                      state.BaroSamples == expected.BaroSamples;
    return same ? g : -1;
}

}  // namespace testing_support
