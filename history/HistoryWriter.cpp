// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/HistoryWriter.h"

#include <chrono>

#include "platform/Log.h"
#include "platform/Process.h"
#include "platform/Thread.h"

namespace history {
namespace {

// Batches waiting while the database cannot be written are kept up to this many messages:
// each rebuild hands over the whole archive again, so the oldest batches are the first to go.
constexpr size_t MaxWaiting = 100000;

}  // namespace

THistoryWriter::THistoryWriter(std::string databasePath, Events events, Clock clock,
                               std::chrono::milliseconds wholeCheckAfter,
                               std::chrono::milliseconds retryAfter)
    : path(std::move(databasePath)),
      wholeCheckAfter(wholeCheckAfter),
      retryAfter(retryAfter),
      events(std::move(events)),
      clock(std::move(clock)) {
    if (!this->clock) this->clock = UnixNow;
    store.SetCancelFlag(&cancel);
    thread = std::thread([this] { Run(); });
}

THistoryWriter::~THistoryWriter() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
        cancel = true;
        queue.clear();
    }
    wake.notify_all();
    thread.join();
}

void THistoryWriter::Add(std::vector<TArchivedMessage> batch) {
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (state.load() == State::ReadOnly)
            return;  // nothing is ever written into a newer version's database
        queue.push_back(std::move(batch));
        size_t waiting = 0;
        for (const auto& part : queue) waiting += part.size();
        while (queue.size() > 1 && waiting > MaxWaiting) {
            waiting -= queue.front().size();
            queue.erase(queue.begin());
        }
    }
    wake.notify_all();
}

void THistoryWriter::WaitIdle() {
    std::unique_lock<std::mutex> lock(mutex);
    idle.wait(lock, [this] {
        const State now = state.load();
        return (queue.empty() && !writing) || now == State::Unavailable || now == State::ReadOnly;
    });
}

void THistoryWriter::Report(THistoryStore::Problem problem, const std::string& detail) {
    // Another program's lock passes by itself: no notice for it.
    if (problem == reported || problem == THistoryStore::Problem::Busy) return;
    reported = problem;
    platform::Log(problem == THistoryStore::Problem::None ? "history: " + path + " is written again"
                                                          : "history: " + path + ": " + detail);
    if (events.trouble) events.trouble(problem, detail);
}

bool THistoryWriter::Rest(std::chrono::milliseconds time) {
    std::unique_lock<std::mutex> lock(mutex);
    return wake.wait_for(lock, time, [this] { return stopping; });
}

std::vector<TArchivedMessage> THistoryWriter::TakeQueue() {
    std::vector<TArchivedMessage> batch;
    for (auto& part : queue)
        batch.insert(batch.end(), std::make_move_iterator(part.begin()), std::make_move_iterator(part.end()));
    queue.clear();
    return batch;
}

bool THistoryWriter::OpenStore(bool wholeCheck) {
    while (true) {
        std::string aside;
        const THistoryStore::Outcome outcome = store.OpenForWriting(path, clock(), &aside, wholeCheck);
        switch (outcome) {
            case THistoryStore::Outcome::Busy:
                // Another program writing it (an import from the command line) is waited for.
                if (Rest(std::chrono::seconds(2))) return false;
                continue;
            case THistoryStore::Outcome::Failed:
                // Left as it is, and tried again: a full disk or missing rights may pass.
                state = State::Unavailable;
                Report(store.LastProblem(), store.LastError());
                if (events.opened) events.opened(State::Unavailable, {});
                idle.notify_all();
                if (Rest(retryAfter)) return false;
                continue;
            case THistoryStore::Outcome::Newer:
                state = store.IsOpen() ? State::ReadOnly : State::Unavailable;
                {
                    std::lock_guard<std::mutex> lock(mutex);
                    queue.clear();
                }
                Report(THistoryStore::Problem::Newer, store.LastError());
                if (events.opened) events.opened(state.load(), {});
                if (state.load() == State::ReadOnly && events.written) events.written(0, store);
                idle.notify_all();
                return false;
            default:
                if (!aside.empty())
                    platform::Log("history: damaged (" + store.LastError() + "), set aside as " + aside);
                state = State::Ready;
                Report(THistoryStore::Problem::None, {});
                if (events.opened) events.opened(State::Ready, aside);
                return true;
        }
    }
}

bool THistoryWriter::CheckWhole() {
    bool ready = true;
    if (!store.CheckWhole() && !store.Cancelled()) {
        store.Close();
        ready = OpenStore(true);  // set aside and made anew; the archive fills it again
    }
    // Every page went through the cache once: neither it nor the freed buffers are kept.
    store.ReleaseMemory();
    platform::ReleaseFreeMemory();
    return ready;
}

std::vector<TArchivedMessage> THistoryWriter::Write(std::vector<TArchivedMessage> batch) {
    if (batch.empty()) {  // only asked for the written event: nothing to record
        if (events.written && !store.Cancelled()) events.written(0, store);
        return {};
    }
    const int added = store.Record(batch, clock());
    if (added > 0 && events.recorded) events.recorded(added);
    if (added >= 0 && events.written && !store.Cancelled()) events.written(added, store);
    if (added >= 0) {
        Report(THistoryStore::Problem::None, {});
    } else if (!store.Cancelled()) {
        // Kept and tried again: the archive may have dropped some of these meanwhile.
        Report(store.LastProblem(), store.LastError());
        if (batch.size() <= MaxWaiting) return batch;
    }
    return {};
}

void THistoryWriter::Run() {
    // Nobody waits for the history: the window and the acquisition go first.
    platform::ApplyCurrentThreadPriority(platform::ThreadPriority::Background);
    // Every page is checked only once the start is over and nothing has come for a while:
    // reading the whole database then holds up nobody's first transfer.
    bool ready = OpenStore(false);
    bool wholeCheckDue = ready;
    std::vector<TArchivedMessage> failed;  // a batch that could not be written, tried again
    std::unique_lock<std::mutex> lock(mutex);
    while (ready) {
        const auto due = [this] { return stopping || !queue.empty(); };
        if (wholeCheckDue && failed.empty() && !wake.wait_for(lock, wholeCheckAfter, due)) {
            wholeCheckDue = false;
            lock.unlock();
            ready = CheckWhole();
            lock.lock();
            continue;
        }
        if (failed.empty())
            wake.wait(lock, due);
        else
            wake.wait_for(lock, retryAfter, due);
        if (stopping) break;
        std::vector<TArchivedMessage> batch = std::move(failed);
        failed.clear();
        std::vector<TArchivedMessage> fresh = TakeQueue();
        batch.insert(batch.end(), std::make_move_iterator(fresh.begin()),
                     std::make_move_iterator(fresh.end()));
        writing = true;
        lock.unlock();
        failed = Write(std::move(batch));
        lock.lock();
        writing = false;
        idle.notify_all();
    }
    if (!ready && state.load() != State::ReadOnly) {
        state = State::Unavailable;
        queue.clear();
    }
    if (state.load() == State::ReadOnly) {
        // Searched until the end; nothing to write.
        wake.wait(lock, [this] { return stopping; });
    }
    lock.unlock();
    store.Close();
    idle.notify_all();
}

}  // namespace history
