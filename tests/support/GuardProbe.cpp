// SPDX-License-Identifier: GPL-3.0-or-later
// Takes the single-instance guard and reports "acquired" or "refused" on its output. With
// a file name, it holds the guard until that file exists.
#include <chrono>
#include <cstdio>
#include <thread>

#include "app/UnitDoubleStart.h"
#include "platform/Files.h"

int main(int argc, char** argv) {
    if (!app::AcquireDoubleStartGuard()) {
        std::puts("refused");
        return 3;
    }
    std::puts("acquired");
    std::fflush(stdout);
    if (argc > 1) {
        for (int i = 0; i < 3000 && !platform::FileExists(argv[1]); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    app::ReleaseDoubleStartGuard();
    return 0;
}
