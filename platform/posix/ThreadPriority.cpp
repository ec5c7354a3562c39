// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>

#include "platform/Thread.h"

namespace platform {

void ApplyCurrentThreadPriority(ThreadPriority p) {
    if (p == ThreadPriority::Normal) return;
    // Linux keeps a nice value per thread; one step nicer is "below normal", ten steps the
    // background.
    const id_t tid = static_cast<id_t>(::syscall(SYS_gettid));
    errno = 0;
    int current = ::getpriority(PRIO_PROCESS, tid);
    if (errno == 0) ::setpriority(PRIO_PROCESS, tid, current + (p == ThreadPriority::Background ? 10 : 1));
}

}  // namespace platform
