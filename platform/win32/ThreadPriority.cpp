// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include "platform/Thread.h"

namespace platform {

void ApplyCurrentThreadPriority(ThreadPriority p) {
    if (p == ThreadPriority::BelowNormal)
        ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
    if (p == ThreadPriority::Background) ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_LOWEST);
}

}  // namespace platform
