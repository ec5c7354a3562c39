// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "history/HistoryStore.h"

namespace history {

// The one writer of the history, on a thread of its own: the window hands it what the
// archive holds after each rebuild and goes on at once. It opens (and if need be sets aside
// and makes anew) the database first; each batch is one transaction, so a kill loses at
// most the batch in progress, which the archive hands over again at the next start.
class THistoryWriter {
public:
    // ReadOnly: a newer version's database, searched but never written.
    enum class State { Opening, Ready, ReadOnly, Unavailable };
    struct Events {
        // All run on the writer's thread.
        std::function<void(State state, const std::string& setAsideAs)> opened;
        // The database cannot be opened or written (what, and SQLite's words), or again can
        // (Problem::None). Each change once; the writer tries again every retryAfter.
        std::function<void(THistoryStore::Problem problem, const std::string& detail)> trouble;
        std::function<void(int added)> recorded;
        // After every batch, with the writer's own connection for reading what is there.
        std::function<void(int added, const THistoryStore& store)> written;
    };
    using Clock = std::function<int64_t()>;  // seconds since 1970 UTC

    // wholeCheckAfter: how long nothing must come before every page is checked; retryAfter:
    // how long after a failed open or write it is tried again.
    THistoryWriter(std::string databasePath, Events events, Clock clock = {},
                   std::chrono::milliseconds wholeCheckAfter = std::chrono::seconds(10),
                   std::chrono::milliseconds retryAfter = std::chrono::seconds(30));
    // Stops at once: the statement running is interrupted (its transaction rolled back) and
    // what is still queued is dropped. Nothing is lost: the archive keeps those messages and
    // the next start hands them over again; the program's exit never waits for the history.
    ~THistoryWriter();
    THistoryWriter(const THistoryWriter&) = delete;
    THistoryWriter& operator=(const THistoryWriter&) = delete;

    // An empty batch records nothing and brings the written event (the states aged).
    void Add(std::vector<TArchivedMessage> batch);
    State GetState() const { return state.load(); }
    const std::string& DatabasePath() const { return path; }
    // Until everything handed over so far is written or dropped (tests, benchmarks).
    void WaitIdle();

private:
    void Run();
    // False when the program ends before the database could be opened.
    bool OpenStore(bool wholeCheck);
    // Every page read once; false when the store was damaged and could not be made anew.
    bool CheckWhole();
    // Records a batch; what could not be written, to be tried again.
    std::vector<TArchivedMessage> Write(std::vector<TArchivedMessage> batch);
    void Report(THistoryStore::Problem problem, const std::string& detail);
    // Waits for the time or the end; true at the end.
    bool Rest(std::chrono::milliseconds time);
    std::vector<TArchivedMessage> TakeQueue();

    const std::string path;
    const std::chrono::milliseconds wholeCheckAfter, retryAfter;
    THistoryStore::Problem reported = THistoryStore::Problem::None;
    Events events;
    Clock clock;
    THistoryStore store;
    std::atomic<State> state{State::Opening};

    std::mutex mutex;
    std::condition_variable wake, idle;
    std::vector<std::vector<TArchivedMessage>> queue;
    bool stopping = false;
    std::atomic<bool> cancel{false};
    bool writing = false;
    std::thread thread;
};

}  // namespace history
