// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace testing_support {

// A program run by a test as a process of its own, to be killed at a chosen moment.
class ChildProcess {
public:
    // argv[0] is the program's path. env adds or replaces variables; output, when given,
    // receives the standard output.
    ChildProcess(const std::vector<std::string>& argv,
                 const std::vector<std::pair<std::string, std::string>>& env = {},
                 const std::string& output = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return pid > 0; }
    // Ends the process at once, as a crash or kill -9 would.
    void Kill();
    // The exit code, or 128 + the signal that ended it; -1 when it never started.
    int Wait();

private:
    long pid = -1;
    int status = -1;
    bool waited = false;
};

// The status of a process killed by Kill (128 + SIGKILL, as a shell reports it).
inline constexpr int KilledStatus = 128 + 9;

// The path of a helper program built beside the tests.
std::string Helper(const char* fileName);

// Sleeps the given milliseconds.
void SleepMilliseconds(int milliseconds);

}  // namespace testing_support
