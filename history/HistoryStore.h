// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "navtex/UnitNavtex.h"

struct sqlite3;
struct sqlite3_stmt;

// Every message that ever entered the archive, kept in one SQLite database beside the
// saved state and searchable by its words. The archive itself is never touched from here.
namespace history {

inline constexpr const char* DatabaseName = "HISTORY.DB";

// One message file as the archive holds it.
using TArchivedMessage = navtex::TArchiveFile;

// A message with what writing it needs worked out beforehand, on any thread.
struct TPreparedMessage {
    TArchivedMessage message;
    int64_t digest = 0;     // the first 64 bits of the bytes' SHA-256
    std::string indexText;  // UTF-8 for the word index
};
TPreparedMessage Prepare(TArchivedMessage message);

struct TFilter {
    int band = 0;                                         // 518 or 490; 0 for both
    char station = 0;                                     // B1, 0 for any
    char subject = 0;                                     // B2, 0 for any
    int64_t since = std::numeric_limits<int64_t>::min();  // received at or after
    std::function<bool(int64_t id)> keep;                 // where set, only the messages it keeps
};

struct THit {
    int64_t id = 0;
    int band = 518;
    std::string name;
    int64_t received = -1;
    std::string firstLine;  // UTF-8, the first line after ZCZC (FillFirstLines)
};

struct TSearchResult {
    bool ok = false;
    size_t total = 0;        // every match, also beyond the limit
    std::vector<THit> hits;  // newest first, at most the limit
};

struct TStoredMessage {
    int64_t id = 0;
    int band = 518;
    std::string name;
    std::string bytes;
    int64_t received = -1, firstSeen = 0, lastSeen = 0;
};

// Seconds since 1970 UTC now.
int64_t UnixNow();

// A timestamp for names: 20261209-045800 (UTC).
std::string StampName(int64_t unixSeconds);

class THistoryStore {
public:
    // Failed: it could not be opened for a reason that may pass (a full disk, an
    // input/output error, no rights); it is left as it is. Newer: made by a newer version
    // of the program; left untouched, open for reading only when its tables allow a search.
    enum class Outcome { Opened, Created, SetAside, Busy, Failed, Newer };
    // What went wrong last, in words a notice can say.
    enum class Problem { None, Busy, DiskFull, InputOutput, Access, Newer, Damaged, Refused, Other };

    THistoryStore() = default;
    ~THistoryStore();
    THistoryStore(const THistoryStore&) = delete;
    THistoryStore& operator=(const THistoryStore&) = delete;

    // The writer's open: creates the database when there is none; a damaged or unreadable
    // one (or anything else at its name) is renamed aside with a time stamp and a new one is
    // made. Busy means another program holds it for writing: nothing was set aside.
    // wholeCheck false: only what can be told at once (the header, the schema, a file cut
    // short); CheckWhole then reads every page later, when nobody waits.
    Outcome OpenForWriting(const std::string& path, int64_t now, std::string* setAsideAs = nullptr,
                           bool wholeCheck = true);
    // Every page read and checked: false when SQLite finds it damaged (an input/output
    // error is no damage: the database stays).
    bool CheckWhole();
    // Adds the messages of a database set aside that can still be read (first and last seen
    // kept); each such file is taken once. The number of messages added, -1 when none could be read.
    int MergeFrom(const std::string& setAside);
    // Every HISTORY.DB.damaged-* beside the database not merged yet.
    void MergeSetAside();
    // Open for reading only (a newer version's database).
    bool ReadOnly() const { return db != nullptr && touch == nullptr; }
    // A reader's open: an existing database only, nothing is created, checked or moved.
    bool OpenForReading(const std::string& path);
    void Close();
    bool IsOpen() const { return db != nullptr; }

    // Records a batch in one transaction: a message not seen before (band, name and bytes)
    // is added, one seen before gets its last-seen time. The number of new messages, or
    // -1 when nothing could be written.
    int Record(const std::vector<TArchivedMessage>& batch, int64_t now);
    int RecordPrepared(const std::vector<TPreparedMessage>& batch, int64_t now);

    TSearchResult Search(const std::string& typed, const TFilter& filter, size_t limit) const;
    void FillFirstLines(std::vector<THit>& hits) const;
    // Every message, oldest first.
    std::vector<TStoredMessage> AllMessages() const;
    // The messages numbered after afterId, in the order received, one at a time (the texts
    // never all in memory); each returns whether to go on. False when they could not be read.
    bool ForEachMessage(int64_t afterId, const std::function<bool(const TStoredMessage&)>& each) const;
    bool Message(int64_t id, TStoredMessage& message) const;
    int64_t Count() const;
    // Gives back the pages this connection keeps in its cache (after reading every message).
    void ReleaseMemory() const;

    // While *flag is set, a running statement (the check at open, a search) stops.
    void SetCancelFlag(const std::atomic<bool>* flag) { cancel = flag; }
    bool Cancelled() const { return cancel && cancel->load(); }
    const std::string& LastError() const { return lastError; }
    Problem LastProblem() const { return problem; }

private:
    enum class Check { Good, Damaged, Busy, Unusable, Newer };
    Check Classify(int code, const char* what);
    Check OpenConnection(const std::string& path, int flags);
    Check CheckPages(const std::string& path, bool wholeCheck);
    Check MakeSchema(int version);
    Check OpenNewer(const std::string& path);
    enum class Written { Added, Seen, Failed };
    Written RecordOne(const TPreparedMessage& prepared, int64_t now);
    Check ReadVersion(int& version);
    Check OpenAndCheck(const std::string& path, bool wholeCheck);
    Check QuickCheck();
    bool PrepareStatements();
    void Fail(const char* what) const;

    // How long another program's lock is waited for: the writer's thread may wait, the
    // window's searches may not; neither past the cancel flag.
    static constexpr int BusyStepMilliseconds = 10;
    static constexpr int WriterBusyMilliseconds = 5000;
    static constexpr int ReaderBusyMilliseconds = 250;
    int busyLimitMilliseconds = WriterBusyMilliseconds;

    sqlite3* db = nullptr;
    sqlite3_stmt* touch = nullptr;
    sqlite3_stmt* insert = nullptr;
    sqlite3_stmt* insertText = nullptr;
    sqlite3_stmt* index = nullptr;
    const std::atomic<bool>* cancel = nullptr;
    std::string path;
    mutable std::string lastError;
    mutable Problem problem = Problem::None;
};

}  // namespace history
