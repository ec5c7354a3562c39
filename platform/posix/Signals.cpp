#include "platform/Signals.h"

#include <csignal>
#include <initializer_list>

namespace platform {
namespace {

volatile std::sig_atomic_t requested = 0;

extern "C" void OnTerminationSignal(int) { requested = 1; }

}  // namespace

void InstallTerminationRequest() {
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaction(sig, &action, nullptr);
    // Past a file-size limit a write then fails with EFBIG, which every writer handles.
    std::signal(SIGXFSZ, SIG_IGN);
}

bool TerminationRequested() { return requested != 0; }

}  // namespace platform
