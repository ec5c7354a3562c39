#include <windows.h>

#include "platform/Signals.h"

namespace platform {
namespace {

volatile LONG requested = 0;

BOOL WINAPI OnConsoleEvent(DWORD) {
    InterlockedExchange(&requested, 1);
    return TRUE;
}

}  // namespace

void InstallTerminationRequest() { ::SetConsoleCtrlHandler(OnConsoleEvent, TRUE); }

bool TerminationRequested() { return InterlockedCompareExchange(&requested, 0, 0) != 0; }

}  // namespace platform
