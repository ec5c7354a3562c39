// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/HistoryWriter.h"

#include <chrono>

#include "platform/Thread.h"


namespace history {

THistoryWriter::THistoryWriter(std::string databasePath, Events events, Clock clock,
                               std::chrono::milliseconds wholeCheckAfter)
    : path(std::move(databasePath)), wholeCheckAfter(wholeCheckAfter), events(std::move(events)),
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
        queue.push_back(std::move(batch));
    }
    wake.notify_all();
}

void THistoryWriter::WaitIdle() {
    std::unique_lock<std::mutex> lock(mutex);
    idle.wait(lock, [this] { return (queue.empty() && !writing) || state.load() == State::Unavailable; });
}

bool THistoryWriter::OpenStore(bool wholeCheck) {
    // Another program writing it (an import from the command line) is waited for.
    while (true) {
        std::string aside;
        const THistoryStore::Outcome outcome = store.OpenForWriting(path, clock(), &aside, wholeCheck);
        if (outcome != THistoryStore::Outcome::Busy) {
            const bool ok = outcome != THistoryStore::Outcome::Failed;
            state = ok ? State::Ready : State::Unavailable;
            if (events.opened) events.opened(state.load(), aside);
            return ok;
        }
        std::unique_lock<std::mutex> lock(mutex);
        if (wake.wait_for(lock, std::chrono::seconds(2), [this] { return stopping; })) return false;
    }
}

void THistoryWriter::Run() {
    // Nobody waits for the history: the window and the acquisition go first.
    platform::ApplyCurrentThreadPriority(platform::ThreadPriority::Background);
    // Every page is checked only once the start is over and nothing has come for a while:
    // reading the whole database then holds up nobody's first transfer.
    bool ready = OpenStore(false);
    bool wholeCheckDue = ready;
    std::unique_lock<std::mutex> lock(mutex);
    while (ready) {
        const auto due = [this] { return stopping || !queue.empty(); };
        if (wholeCheckDue && !wake.wait_for(lock, wholeCheckAfter, due)) {
            wholeCheckDue = false;
            lock.unlock();
            if (!store.CheckWhole() && !store.Cancelled()) {
                store.Close();
                ready = OpenStore(true);  // set aside and made anew; the archive fills it again
            }
            lock.lock();
            continue;
        }
        wake.wait(lock, due);
        if (stopping) break;
        std::vector<TArchivedMessage> batch;
        for (auto& part : queue)
            batch.insert(batch.end(), std::make_move_iterator(part.begin()), std::make_move_iterator(part.end()));
        queue.clear();
        writing = true;
        lock.unlock();
        // A batch that cannot be written is dropped: the archive still holds its messages
        // and the next rebuild hands them over again.
        const int added = store.Record(batch, clock());
        if (added > 0 && events.recorded) events.recorded(added);
        if (added >= 0 && events.written && !store.Cancelled()) events.written(added, store);
        lock.lock();
        writing = false;
        idle.notify_all();
    }
    if (!ready) {
        state = State::Unavailable;
        queue.clear();
    }
    store.Close();
    idle.notify_all();
}

}  // namespace history
