// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/UnitDoubleStart.h"

#include "platform/Process.h"

namespace app {

bool AcquireDoubleStartGuard() {
    return platform::AcquireSingleInstance("ZEL2");
}

void ReleaseDoubleStartGuard() {
    platform::ReleaseSingleInstance();
}

}  // namespace app
