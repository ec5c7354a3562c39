// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace platform::posix {

// Gives up the descriptor KeepDescriptorInReserve holds, for one open that must succeed.
void ReleaseReserve();

}  // namespace platform::posix
