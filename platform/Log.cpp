// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Log.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/Files.h"

namespace platform {
namespace {

// More than this waiting means the disk does not keep up: the newest are dropped and counted.
constexpr size_t MaxQueued = 2000;

std::string UtcStamp() {
    using namespace std::chrono;
    const auto now = floor<seconds>(system_clock::now());
    const auto day = floor<days>(now);
    const year_month_day date{day};
    const hh_mm_ss<seconds> time{now - day};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02ld:%02ld:%02ld UTC", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<long>(time.hours().count()), static_cast<long>(time.minutes().count()),
                  static_cast<long>(time.seconds().count()));
    return text;
}

// The last keep bytes of text or fewer, from a line's start, marked as cut.
std::string NewestLines(const std::string& text, size_t keep) {
    size_t from = text.size() > keep ? text.size() - keep : 0;
    while (from > 0 && from < text.size() && text[from - 1] != '\n') ++from;
    return "(older lines dropped)\n" + text.substr(from);
}

struct TLog {
    std::mutex mutex;
    std::condition_variable wake, written;
    std::deque<std::string> queue;
    size_t dropped = 0;
    bool stopping = false;
    bool writing = false;
    std::string path;
    size_t limit = LogLimitBytes;
    std::thread thread;
    // The writer's own: the last text and how often it came again since.
    std::string lastText;
    size_t repeats = 0;
    std::string target;  // the file being written, and its size
    long long size = 0;

    void Write(std::string text, const std::string& to) {
        if (text.empty()) return;
        if (to != target) {
            target = to;
            size = StampOf(target).size;
        }
        if (text.size() > limit / 2) text = NewestLines(text, limit / 2);  // a burst
        if (size + static_cast<long long>(text.size()) > static_cast<long long>(limit)) Trim();
        if (AppendToFile(target, text.data(), text.size())) size += static_cast<long long>(text.size());
    }

    // Keeps the newer half, from a line's start.
    void Trim() {
        std::vector<uint8_t> bytes;
        if (!ReadWholeFile(target, bytes, limit * 2)) return;
        const std::string kept = NewestLines(std::string(bytes.begin(), bytes.end()), bytes.size() / 2);
        if (WriteFileAtomic(target, kept.data(), kept.size())) size = static_cast<long long>(kept.size());
    }

    std::string Repeats() {
        std::string text;
        if (repeats > 0)
            text = "  (the line above " + std::to_string(repeats) +
                   (repeats == 1 ? " more time)\n" : " more times)\n");
        repeats = 0;
        return text;
    }

    ~TLog() {
        {
            std::lock_guard<std::mutex> lock(mutex);
            stopping = true;
        }
        wake.notify_all();
        if (thread.joinable()) thread.join();
    }

    void Run() {
        std::unique_lock<std::mutex> lock(mutex);
        while (true) {
            wake.wait(lock, [this] { return stopping || !queue.empty(); });
            std::deque<std::string> lines = std::move(queue);
            queue.clear();
            const size_t lost = dropped;
            dropped = 0;
            const bool last = stopping;
            const std::string to = path;
            writing = true;
            lock.unlock();
            std::string text;
            for (std::string& line : lines) {
                const size_t cut = line.find(" UTC ");
                const std::string body = cut == std::string::npos ? line : line.substr(cut + 5);
                if (body == lastText) {
                    ++repeats;
                    continue;
                }
                text += Repeats() + line + "\n";
                lastText = body;
            }
            if (lost > 0)
                text +=
                    Repeats() + UtcStamp() + " " + std::to_string(lost) + " lines lost: too many at once\n";
            if (last) text += Repeats();
            Write(std::move(text), to);
            lock.lock();
            writing = false;
            written.notify_all();
            if (last && queue.empty()) return;
        }
    }
};

TLog& Instance() {
    static TLog log;
    return log;
}

}  // namespace

void StartLog(const std::string& folder, size_t limitBytes) {
    TLog& log = Instance();
    std::unique_lock<std::mutex> lock(log.mutex);
    // What was logged before goes where the log was then.
    if (log.thread.joinable()) log.written.wait(lock, [&log] { return log.queue.empty() && !log.writing; });
    log.path = JoinPath(folder, LogName);
    log.limit = limitBytes < 1024 ? 1024 : limitBytes;
    if (log.thread.joinable()) return;
    log.stopping = false;
    log.thread = std::thread([&log] { log.Run(); });
}

void StopLog() {
    TLog& log = Instance();
    {
        std::lock_guard<std::mutex> lock(log.mutex);
        if (!log.thread.joinable()) return;
        log.stopping = true;
    }
    log.wake.notify_all();
    log.thread.join();
    std::lock_guard<std::mutex> lock(log.mutex);
    log.path.clear();
    log.lastText.clear();
    log.target.clear();
}

void Log(const std::string& line) {
    TLog& log = Instance();
    std::string text = UtcStamp() + " ";
    for (char c : line) text += (c == '\n' || c == '\r') ? ' ' : c;
    {
        std::lock_guard<std::mutex> lock(log.mutex);
        if (log.queue.size() >= MaxQueued) {
            ++log.dropped;
            return;
        }
        log.queue.push_back(std::move(text));
    }
    log.wake.notify_all();
}

void FlushLog() {
    TLog& log = Instance();
    std::unique_lock<std::mutex> lock(log.mutex);
    if (!log.thread.joinable()) return;
    log.written.wait(lock, [&log] { return log.queue.empty() && !log.writing; });
}

std::string LogPath() {
    TLog& log = Instance();
    std::lock_guard<std::mutex> lock(log.mutex);
    return log.path;
}

}  // namespace platform
