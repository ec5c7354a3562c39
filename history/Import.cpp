// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/Import.h"

#include <cctype>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <thread>

#include "common/DateTime.h"
#include "platform/Files.h"

namespace history {
namespace {

bool IsIdentifier(const std::string& name) {
    const auto upper = [](char c) { return c >= 'A' && c <= 'Z'; };
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    return name.size() >= 4 && upper(name[0]) && upper(name[1]) && digit(name[2]) && digit(name[3]);
}

bool AllDigits(const std::string& s, size_t length) {
    if (s.size() != length) return false;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// Reads and prepares the files on a thread of its own while the caller writes the batches
// before: the reading and the writing each take about half of an import.
class Walk {
public:
    explicit Walk(size_t batchSize) : batchSize(batchSize) {}

    void Run(const std::string& root) {
        std::vector<std::string> folders;
        Visit(root, folders, Upper(LastName(root)) == "NATIONAL" || LastName(root) == "490" ? 490 : 518);
        Push();
        std::lock_guard<std::mutex> lock(mutex);
        done = true;
        changed.notify_all();
    }

    // The next batch, empty at the end.
    std::vector<TPreparedMessage> Next() {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [this] { return !ready.empty() || done; });
        if (ready.empty()) return {};
        std::vector<TPreparedMessage> next = std::move(ready.front());
        ready.pop_front();
        changed.notify_all();
        return next;
    }

    void Stop() {
        std::lock_guard<std::mutex> lock(mutex);
        stopped = true;
        changed.notify_all();
    }

    size_t files = 0, skipped = 0;

private:
    static std::string LastName(std::string path) {
        while (!path.empty() && path.back() == platform::PathSeparator()) path.pop_back();
        const size_t slash = path.find_last_of(platform::PathSeparator());
        return slash == std::string::npos ? path : path.substr(slash + 1);
    }

    void Push() {
        if (batch.empty()) return;
        std::unique_lock<std::mutex> lock(mutex);
        // Two batches ahead at most: the memory stays small whatever the folder holds.
        changed.wait(lock, [this] { return ready.size() < 2 || stopped; });
        if (!stopped) ready.push_back(std::move(batch));
        batch.clear();
        changed.notify_all();
    }

    bool Stopped() {
        std::lock_guard<std::mutex> lock(mutex);
        return stopped;
    }

    void Visit(const std::string& folder, std::vector<std::string>& folders, int band) {
        for (const platform::FolderEntry& entry : platform::ListFolder(folder)) {
            if (Stopped()) return;
            const std::string path = folder + entry.name;
            if (entry.isFolder) {
                const std::string upper = Upper(entry.name);
                folders.push_back(entry.name);
                Visit(path + platform::PathSeparator(), folders,
                      upper == "NATIONAL" || upper == "490" ? 490 : band);
                folders.pop_back();
                continue;
            }
            if (platform::IsTemporaryName(entry.name) || !IsIdentifier(entry.name)) {
                ++skipped;
                continue;
            }
            std::vector<uint8_t> bytes;
            platform::LocalDateTime written;
            bool timeKnown = false;
            if (!platform::ReadWholeFile(path, bytes, navtex::MaxMessageFileBytes, &written, &timeKnown)) {
                ++skipped;
                continue;
            }
            TArchivedMessage message;
            message.band = band;
            message.name = entry.name.substr(0, 4);
            message.bytes.assign(bytes.begin(), bytes.end());
            message.received =
                ReceptionTime(folders, message.bytes, timeKnown ? platform::FromLocal(written) : -1);
            batch.push_back(Prepare(std::move(message)));
            ++files;
            if (batch.size() >= batchSize) Push();
        }
    }

    const size_t batchSize;
    std::vector<TPreparedMessage> batch;
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::vector<TPreparedMessage>> ready;
    bool done = false, stopped = false;
};

}  // namespace

int64_t ReceptionTime(const std::vector<std::string>& folders, const std::string& bytes, int64_t fileTime) {
    const size_t n = folders.size();
    if (n < 3 || !AllDigits(folders[n - 3], 4) || !AllDigits(folders[n - 2], 2) ||
        !AllDigits(folders[n - 1], 2))
        return fileTime;
    const int year = std::atoi(folders[n - 3].c_str());
    const int month = std::atoi(folders[n - 2].c_str());
    const int day = std::atoi(folders[n - 1].c_str());
    if (year < 1980 || month < 1 || month > 12 || day < 1 || day > 31) return fileTime;
    int64_t seconds = datetime::UnixSecondsFromUtc(year, month, day);
    // "031800 UTC MAR 19" near the top: the day must be the folder's.
    const std::string head = bytes.substr(0, 300);
    for (size_t at = head.find("UTC"); at != std::string::npos; at = head.find("UTC", at + 3)) {
        if (at < 7 || head[at - 1] != ' ') continue;
        const std::string group = head.substr(at - 7, 6);
        if (!AllDigits(group, 6) || (at >= 8 && std::isdigit(static_cast<unsigned char>(head[at - 8]))))
            continue;
        const int d = std::atoi(group.substr(0, 2).c_str()), h = std::atoi(group.substr(2, 2).c_str()),
                  m = std::atoi(group.substr(4, 2).c_str());
        if (d == day && h < 24 && m < 60) {
            seconds += h * 3600 + m * 60;
            break;
        }
    }
    return seconds;
}

TImportResult ImportFolder(THistoryStore& store, const std::string& folder, int64_t now, size_t batchSize) {
    TImportResult result;
    std::string root = folder;
    if (root.empty() || root.back() != platform::PathSeparator()) root += platform::PathSeparator();
    if (!platform::FolderExists(root)) {
        result.ok = false;
        return result;
    }
    Walk walk(batchSize == 0 ? 1 : batchSize);
    std::thread reader([&] { walk.Run(root); });
    for (std::vector<TPreparedMessage> batch; !(batch = walk.Next()).empty();) {
        const int added = store.RecordPrepared(batch, now);
        if (added < 0) {
            // A database that refuses one batch refuses the next: stop reading.
            result.ok = false;
            walk.Stop();
            break;
        }
        result.added += static_cast<size_t>(added);
    }
    reader.join();
    result.files = walk.files;
    result.skipped = walk.skipped;
    return result;
}

}  // namespace history
