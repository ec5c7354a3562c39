// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace app {

// One running copy per user logon, guarded by the name "ZEL2". False when another
// copy already runs; the guard is held until ReleaseDoubleStartGuard.
bool AcquireDoubleStartGuard();
void ReleaseDoubleStartGuard();

}  // namespace app
