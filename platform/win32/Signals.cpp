// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include "platform/Signals.h"

namespace platform {
namespace {

volatile LONG requested = 0;
std::function<void()> wakeUpHook;

// Runs on a thread of the system's own.
BOOL WINAPI OnConsoleEvent(DWORD) {
    InterlockedExchange(&requested, 1);
    if (wakeUpHook) wakeUpHook();
    return TRUE;
}

}  // namespace

void InstallTerminationRequest() {
    ::SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

bool TerminationRequested() {
    return InterlockedCompareExchange(&requested, 0, 0) != 0;
}

int TerminationRequestDescriptor() {
    return -1;
}

void SetTerminationWakeUp(std::function<void()> wakeUp) {
    wakeUpHook = std::move(wakeUp);
}

}  // namespace platform
