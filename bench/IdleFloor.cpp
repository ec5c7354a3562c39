// SPDX-License-Identifier: GPL-3.0-or-later
// The floor of the idle figures: a bare Qt window whose one thread wakes once a second and
// looks at the given files, as the program's polling does, and nothing else. On a virtual
// machine a wake-up in a process of this size costs far more than in a small one, so the
// program at rest is measured against this, in the same minute.
//   zel2idlefloor FILE...
#include <QApplication>
#include <QLabel>

#include <sys/stat.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

int main(int argc, char* argv[]) {
    const std::vector<std::string> files(argv + 1, argv + argc);
    QApplication app(argc, argv);
    QLabel window("idle floor");
    window.resize(1000, 700);
    window.show();
    std::mutex lock;
    std::condition_variable wake;
    bool stop = false;
    std::thread poll([&] {
        std::unique_lock<std::mutex> hold(lock);
        while (!wake.wait_for(hold, std::chrono::seconds(1), [&] { return stop; })) {
            struct stat st {};
            for (const std::string& f : files) ::stat(f.c_str(), &st);
        }
    });
    const int status = app.exec();
    {
        const std::lock_guard<std::mutex> hold(lock);
        stop = true;
    }
    wake.notify_one();
    poll.join();
    return status;
}
