// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "platform/Thread.h"

namespace {

using namespace std::chrono_literals;

// Counts cycles like the acquisition thread and has the main thread do part of each.
class CountingThread : public platform::TThread {
public:
    CountingThread(std::atomic<int>& cycles, std::atomic<int>& onMain, std::atomic<bool>& destroyed)
        : cycles(cycles), onMain(onMain), destroyed(destroyed) {}
    ~CountingThread() override { destroyed = true; }

protected:
    void Execute() override {
        while (!Terminated()) {
            ++cycles;
            Synchronize([this] {
                if (platform::IsMainThread()) ++onMain;
            });
            std::this_thread::sleep_for(5ms);
        }
    }

private:
    std::atomic<int>& cycles;
    std::atomic<int>& onMain;
    std::atomic<bool>& destroyed;
};

class ThrowingThread : public platform::TThread {
protected:
    void Execute() override {
        Synchronize([] { throw std::runtime_error("window step failed"); });
        reachedAfterError = true;
    }

public:
    bool reachedAfterError = false;
};

TEST(Thread, CreatedSuspendedRunsAfterResumeAndServesSynchronisedCallsWhileWaited) {
    platform::SetMainThread();
    std::atomic<int> cycles{0}, onMain{0};
    std::atomic<bool> destroyed{false};
    auto* thread = new CountingThread(cycles, onMain, destroyed);
    thread->SetFreeOnTerminate(true);
    thread->SetPriority(platform::ThreadPriority::BelowNormal);
    auto control = thread->Control();

    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(cycles, 0) << "nothing runs before Resume";

    thread->Resume();
    // Serve synchronised calls the way the event loop does, for a while.
    const auto until = std::chrono::steady_clock::now() + 100ms;
    while (std::chrono::steady_clock::now() < until) {
        platform::CheckSynchronize();
        std::this_thread::sleep_for(1ms);
    }
    EXPECT_GT(onMain.load(), 0);

    // The thread is inside Synchronize most of the time; the wait must still end.
    control->Terminate();
    control->WaitFor();
    EXPECT_TRUE(control->Finished());
    EXPECT_TRUE(destroyed) << "free-on-terminate released the object";
    EXPECT_EQ(cycles.load(), onMain.load()) << "every cycle's call ran on the main thread";
}

TEST(Thread, AnErrorInASynchronisedCallEndsTheThreadAndIsKept) {
    platform::SetMainThread();
    ThrowingThread thread;
    thread.Resume();
    thread.WaitFor();
    EXPECT_FALSE(thread.reachedAfterError);
    ASSERT_TRUE(thread.Control()->FatalException());
    EXPECT_THROW(std::rethrow_exception(thread.Control()->FatalException()), std::runtime_error);
}

TEST(Thread, WakeUpHookIsCalledForEverySynchronisedCall) {
    platform::SetMainThread();
    std::atomic<int> wakeUps{0};
    platform::SetSynchronizeWakeUp([&] { ++wakeUps; });
    std::atomic<int> cycles{0}, onMain{0};
    std::atomic<bool> destroyed{false};
    CountingThread thread(cycles, onMain, destroyed);
    thread.Resume();
    while (onMain < 3) platform::CheckSynchronize();
    thread.Terminate();
    thread.WaitFor();
    platform::SetSynchronizeWakeUp(nullptr);
    EXPECT_GE(wakeUps.load(), onMain.load());
}

TEST(Thread, WaitingForANeverStartedThreadReturns) {
    std::atomic<int> cycles{0}, onMain{0};
    std::atomic<bool> destroyed{false};
    CountingThread thread(cycles, onMain, destroyed);
    thread.Terminate();
    thread.WaitFor();
    EXPECT_EQ(cycles, 0);
}

TEST(Thread, SynchronizeOnTheMainThreadRunsAtOnce) {
    platform::SetMainThread();
    struct Direct : platform::TThread {
        void Execute() override {}
        bool Call() {
            bool ran = false;
            Synchronize([&] { ran = true; });
            return ran;
        }
    } direct;
    EXPECT_TRUE(direct.Call());
}

}  // namespace
