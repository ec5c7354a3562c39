// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace platform {

// Background: work nobody waits for (the message history), after everything else.
enum class ThreadPriority { Normal, BelowNormal, Background };

// What outlives a thread that frees itself: its owner keeps this to ask it to end
// and to wait for it, without touching the freed object.
class ThreadControl {
public:
    ~ThreadControl();
    void Terminate();
    bool Terminated() const { return terminated; }
    // Sleeps up to the given time; a terminate request ends the sleep at once. True when
    // the thread is to end.
    bool SleepUnlessTerminated(int milliseconds);
    bool Finished() const;
    // Waits until the thread has ended. On the main thread the wait keeps serving the
    // thread's synchronised calls, so a thread inside Synchronize can still finish.
    void WaitFor();
    // The error that ended Execute early, if any.
    std::exception_ptr FatalException() const;

private:
    friend class TThread;
    std::atomic<bool> terminated{false};
    std::mutex sleepMutex;
    std::condition_variable sleepWake;
    bool finished = false;  // guarded by the synchronisation mutex
    std::exception_ptr fatal;
    std::thread worker;
};

// A thread with the classic lifecycle: created suspended, resumed once, asked to
// terminate, and able to run a function on the main thread while it waits.
class TThread {
public:
    TThread();
    virtual ~TThread();
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    // Starts Execute on its own thread (the first call only).
    void Resume();
    void Terminate() { control->Terminate(); }
    bool Terminated() const { return control->Terminated(); }
    bool SleepUnlessTerminated(int milliseconds) { return control->SleepUnlessTerminated(milliseconds); }
    void WaitFor() { control->WaitFor(); }
    void SetPriority(ThreadPriority p) { priority = p; }
    // When set, the object deletes itself once Execute has returned.
    void SetFreeOnTerminate(bool value) { freeOnTerminate = value; }
    std::shared_ptr<ThreadControl> Control() const { return control; }

protected:
    virtual void Execute() = 0;
    // Runs fn on the main thread and waits for it; an error raised by fn comes back here.
    // Called on the main thread itself, fn runs at once.
    void Synchronize(const std::function<void()>& fn);

private:
    static void Run(TThread* self, std::shared_ptr<ThreadControl> control);
    std::shared_ptr<ThreadControl> control;
    ThreadPriority priority = ThreadPriority::Normal;
    bool freeOnTerminate = false;
    bool started = false;
};

// The main thread is the one that called this (call it once, early in main).
void SetMainThread();
bool IsMainThread();

// Called whenever a synchronised call waits; the GUI posts a wake-up into its event
// loop that then calls CheckSynchronize. May be called from any thread.
void SetSynchronizeWakeUp(std::function<void()> wakeUp);

// Runs every pending synchronised call; main thread only. True when one ran.
bool CheckSynchronize();

// Applies the priority to the calling thread.
void ApplyCurrentThreadPriority(ThreadPriority p);

}  // namespace platform
