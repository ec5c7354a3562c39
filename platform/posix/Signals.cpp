// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <initializer_list>

namespace platform {
namespace {

volatile std::sig_atomic_t requested = 0;
int wakePipe[2] = {-1, -1};

// The self-pipe: the one thing a handler may safely do is write a byte.
extern "C" void OnTerminationSignal(int) {
    requested = 1;
    if (wakePipe[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t n = ::write(wakePipe[1], &byte, 1);
    }
}

}  // namespace

void InstallTerminationRequest() {
    if (wakePipe[0] < 0 && ::pipe2(wakePipe, O_CLOEXEC | O_NONBLOCK) != 0) wakePipe[0] = wakePipe[1] = -1;
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaction(sig, &action, nullptr);
    // Past a file-size limit a write then fails with EFBIG, which every writer handles.
    std::signal(SIGXFSZ, SIG_IGN);
}

bool TerminationRequested() {
    return requested != 0;
}

int TerminationRequestDescriptor() {
    return wakePipe[0];
}

// The descriptor wakes the event loop here; no thread of the system's calls back.
void SetTerminationWakeUp(std::function<void()>) {}

}  // namespace platform
