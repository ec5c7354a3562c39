// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "receiver/ReadMarks.h"
#include "receiver/SavedState.h"

namespace receiver {

// What LoadLocalCopies hands on when it is done reading.
class ILocalCopiesView {
public:
    virtual ~ILocalCopiesView() = default;
    virtual void FillChart(uint16_t writeIndex, uint16_t validCount) = 0;
    virtual void RebuildTree() = 0;
};

// The program's own state in the archive root (ending with a separator).
void LoadLocalCopies(const std::string& archiveRoot, TSavedState& state, TReadMarkList& readMarks,
                     ILocalCopiesView& view);

// Writes CONFIG.BIN, MISC.BIN, SYSTEM.BIN and BARODATA.BIN, each through a temporary file,
// so an interrupted save leaves every old file whole. False when any could not be written.
bool SaveLocalCopies(const std::string& archiveRoot, const TSavedState& state,
                     const TReadMarkList& readMarks);

inline constexpr size_t ConfigFileSize = 5;
inline constexpr size_t ReadMarkSize = 5;
inline constexpr size_t BaroFileSize = 20488;

}  // namespace receiver
