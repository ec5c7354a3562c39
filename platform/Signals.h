#pragma once

namespace platform {

// Turns SIGINT, SIGTERM and SIGHUP (console close events on Windows) into a request the
// GUI polls for, so the program ends the orderly way instead of dying. Also keeps a
// file-size limit from killing the program (SIGXFSZ): the write fails instead.
void InstallTerminationRequest();
bool TerminationRequested();

}  // namespace platform
