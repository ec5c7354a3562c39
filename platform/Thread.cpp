// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Thread.h"

#include <chrono>
#include <deque>

namespace platform {
namespace {

struct PendingCall {
    const std::function<void()>* fn = nullptr;
    bool done = false;
    std::exception_ptr error;
};

std::mutex syncMutex;
std::condition_variable syncChanged;
std::deque<PendingCall*> pending;
std::function<void()> wakeUpHook;
std::thread::id mainThreadId = std::this_thread::get_id();

}  // namespace

void SetMainThread() {
    mainThreadId = std::this_thread::get_id();
}

bool IsMainThread() {
    return std::this_thread::get_id() == mainThreadId;
}

void SetSynchronizeWakeUp(std::function<void()> wakeUp) {
    std::lock_guard<std::mutex> lock(syncMutex);
    wakeUpHook = std::move(wakeUp);
}

bool CheckSynchronize() {
    if (!IsMainThread()) return false;
    bool ran = false;
    for (;;) {
        PendingCall* call = nullptr;
        {
            std::lock_guard<std::mutex> lock(syncMutex);
            if (pending.empty()) break;
            call = pending.front();
            pending.pop_front();
        }
        try {
            (*call->fn)();
        } catch (...) {
            call->error = std::current_exception();
        }
        ran = true;
        {
            std::lock_guard<std::mutex> lock(syncMutex);
            call->done = true;
        }
        syncChanged.notify_all();
    }
    return ran;
}

void ThreadControl::Terminate() {
    {
        std::lock_guard<std::mutex> lock(sleepMutex);
        terminated = true;
    }
    sleepWake.notify_all();
}

bool ThreadControl::SleepUnlessTerminated(int milliseconds) {
    std::unique_lock<std::mutex> lock(sleepMutex);
    sleepWake.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return terminated.load(); });
    return terminated;
}

ThreadControl::~ThreadControl() {
    if (worker.joinable()) worker.detach();
}

bool ThreadControl::Finished() const {
    std::lock_guard<std::mutex> lock(syncMutex);
    return finished;
}

std::exception_ptr ThreadControl::FatalException() const {
    std::lock_guard<std::mutex> lock(syncMutex);
    return fatal;
}

void ThreadControl::WaitFor() {
    if (!worker.joinable() && !Finished()) return;  // never started
    if (worker.joinable() && worker.get_id() == std::this_thread::get_id()) return;
    const bool onMain = IsMainThread();
    for (;;) {
        if (onMain) CheckSynchronize();
        std::unique_lock<std::mutex> lock(syncMutex);
        if (finished) break;
        if (onMain && !pending.empty()) continue;
        // The timeout only guards against a missed notification.
        syncChanged.wait_for(lock, std::chrono::milliseconds(100));
    }
    if (worker.joinable()) worker.join();
}

TThread::TThread() : control(std::make_shared<ThreadControl>()) {}

TThread::~TThread() = default;

void TThread::Resume() {
    if (started) return;
    started = true;
    control->worker = std::thread(&TThread::Run, this, control);
}

void TThread::Run(TThread* self, std::shared_ptr<ThreadControl> control) {
    ApplyCurrentThreadPriority(self->priority);
    std::exception_ptr error;
    try {
        self->Execute();
    } catch (...) {
        error = std::current_exception();
    }
    if (self->freeOnTerminate) delete self;
    {
        std::lock_guard<std::mutex> lock(syncMutex);
        control->fatal = error;
        control->finished = true;
    }
    syncChanged.notify_all();
}

void TThread::Synchronize(const std::function<void()>& fn) {
    if (IsMainThread()) {
        fn();
        return;
    }
    PendingCall call;
    call.fn = &fn;
    std::function<void()> wake;
    {
        std::lock_guard<std::mutex> lock(syncMutex);
        pending.push_back(&call);
        wake = wakeUpHook;
    }
    syncChanged.notify_all();
    if (wake) wake();
    std::unique_lock<std::mutex> lock(syncMutex);
    syncChanged.wait(lock, [&] { return call.done; });
    lock.unlock();
    if (call.error) std::rethrow_exception(call.error);
}

}  // namespace platform
