// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

namespace platform {

// Turns SIGINT, SIGTERM and SIGHUP (console close events on Windows) into a request the
// GUI waits for, so the program ends the orderly way instead of dying. Also keeps a
// file-size limit from killing the program (SIGXFSZ): the write fails instead.
void InstallTerminationRequest();
bool TerminationRequested();

// A descriptor that becomes readable when a request arrives, for the GUI's event loop to
// watch; -1 where the system has none. There the wake-up is called instead, from the
// system's own thread.
int TerminationRequestDescriptor();
void SetTerminationWakeUp(std::function<void()> wakeUp);

}  // namespace platform
