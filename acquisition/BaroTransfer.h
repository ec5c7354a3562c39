// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "acquisition/AcquisitionState.h"

namespace acquisition {

inline constexpr const char* LoadBarographText = "Load barograph data ...";

// The parts of the main window a barograph transfer writes to.
class IBaroTransferView {
public:
    virtual ~IBaroTransferView() = default;
    virtual void SetStatusPanel0(const std::string& text) = 0;
    virtual void SetBusyProgress(int position) = 0;
    virtual void RepaintStatusBar() = 0;
};

// ZEL2B / ZEL2BX: the whole BARODATA.BIN after an attachment, afterwards the block under
// WriteIndex; then the current sector of SYSTEM.BIN laid over the ring. now: BaroTime.
void LoadBaroFile(const std::string& driveRoot, TAcquisitionState& state, IBaroTransferView& view,
                  double now);

// ZEL2D: the samples and the altitude from the receiver's own files.
void LoadBaroModelD(const std::string& driveRoot, TAcquisitionState& state, IBaroTransferView& view,
                    double now);

}  // namespace acquisition
