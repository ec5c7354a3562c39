// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/HistoryStore.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <string_view>

#include "common/DateTime.h"
#include "common/Windows1252.h"
#include "history/MessageText.h"
#include "history/Words.h"
#include "navtex/UnitNavtex.h"
#include "platform/Files.h"
#include "platform/Hash.h"

namespace history {
namespace {

constexpr int SchemaVersion = 1;

// A search reads the messages' small columns only: the texts have a table of their own,
// so the rows it visits lie close together. The word index keeps neither the text
// (content='') nor where a word stands (detail=none): a search is for messages holding
// words, not for phrases.
constexpr const char* Schema = R"(
CREATE TABLE IF NOT EXISTS messages(
  id INTEGER PRIMARY KEY,
  band INTEGER NOT NULL,
  name TEXT NOT NULL,
  station TEXT NOT NULL,
  subject TEXT NOT NULL,
  received INTEGER NOT NULL,
  digest INTEGER NOT NULL,
  first_seen INTEGER NOT NULL,
  last_seen INTEGER NOT NULL,
  UNIQUE(band, name, digest));
CREATE TABLE IF NOT EXISTS texts(id INTEGER PRIMARY KEY, body BLOB NOT NULL);
CREATE TABLE IF NOT EXISTS merged(name TEXT PRIMARY KEY, messages INTEGER NOT NULL);
CREATE VIRTUAL TABLE IF NOT EXISTS words USING fts5(
  body, content='', columnsize=0, detail=none, tokenize='unicode61 remove_diacritics 2');
)";

// Segments are merged only when sixteen pile up at one level: merging as it goes would
// cost an import a third more, and a search over a few segments stays within a millisecond.
constexpr const char* IndexSettings = "INSERT INTO words(words, rank) VALUES('automerge', 0)";

class Statement {
public:
    Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr); }
    ~Statement() { sqlite3_finalize(stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    sqlite3_stmt* get() const { return stmt; }
    explicit operator bool() const { return stmt != nullptr; }

private:
    sqlite3_stmt* stmt = nullptr;
};

std::string Column(sqlite3_stmt* stmt, int column) {
    const auto* data = static_cast<const char*>(sqlite3_column_blob(stmt, column));
    return data ? std::string(data, static_cast<size_t>(sqlite3_column_bytes(stmt, column))) : std::string();
}

void BindText(sqlite3_stmt* stmt, int index, const std::string& text) {
    sqlite3_bind_text(stmt, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

// Before the first connection: no statistics of memory use, whose lock every allocation
// would take.
void ConfigureOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
        sqlite3_initialize();
    });
}

bool IsBusy(int code) {
    code &= 0xFF;
    return code == SQLITE_BUSY || code == SQLITE_LOCKED || code == SQLITE_INTERRUPT;
}

}  // namespace

int64_t UnixNow() {
    return static_cast<int64_t>(std::time(nullptr));
}

std::string StampName(int64_t unixSeconds) {
    const platform::LocalDateTime utc = datetime::UtcFromUnixSeconds(unixSeconds);
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02d-%02d%02d%02d", utc.year, utc.month, utc.day, utc.hour,
                  utc.minute, utc.second);
    return text;
}

namespace {

constexpr const char* SelectMessages =
    "SELECT id, band, name, body, received, first_seen, last_seen FROM messages JOIN texts USING(id) ";

TStoredMessage MessageOfRow(sqlite3_stmt* row) {
    TStoredMessage m;
    m.id = sqlite3_column_int64(row, 0);
    m.band = sqlite3_column_int(row, 1);
    m.name = Column(row, 2);
    m.bytes = Column(row, 3);
    m.received = sqlite3_column_int64(row, 4);
    m.firstSeen = sqlite3_column_int64(row, 5);
    m.lastSeen = sqlite3_column_int64(row, 6);
    return m;
}

// A statement of a connection stops when the store's cancel flag is set.
int StopWhenCancelled(void* store) {
    return static_cast<const THistoryStore*>(store)->Cancelled() ? 1 : 0;
}

enum class SetAsideRead { Read, Unreadable, Interrupted };

// Every row of a set-aside database that can still be read: past a damaged page the rows
// further on may still be reached from their numbers.
SetAsideRead ReadSetAside(const std::string& file, const THistoryStore& store,
                          std::vector<TStoredMessage>& found) {
    if (platform::FolderExists(file)) return SetAsideRead::Unreadable;
    sqlite3* old = nullptr;
    SetAsideRead outcome = SetAsideRead::Unreadable;
    if (sqlite3_open_v2(file.c_str(), &old, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr) ==
        SQLITE_OK) {
        sqlite3_progress_handler(old, 1000, StopWhenCancelled, const_cast<THistoryStore*>(&store));
        int64_t last = 0;
        for (int attempt = 0; attempt < 64; ++attempt) {
            Statement rows(old, (std::string(SelectMessages) + "WHERE id > ?1 ORDER BY id").c_str());
            if (!rows) break;
            outcome = SetAsideRead::Read;
            sqlite3_bind_int64(rows.get(), 1, last);
            int code;
            while ((code = sqlite3_step(rows.get())) == SQLITE_ROW) {
                found.push_back(MessageOfRow(rows.get()));
                last = found.back().id;
            }
            if (code == SQLITE_DONE) break;
            if (store.Cancelled()) {
                outcome = SetAsideRead::Interrupted;
                break;
            }
            last += 1;
        }
    }
    sqlite3_close_v2(old);
    return outcome;
}

}  // namespace

THistoryStore::~THistoryStore() {
    Close();
}

void THistoryStore::Close() {
    for (sqlite3_stmt** stmt : {&touch, &insert, &insertText, &index}) {
        sqlite3_finalize(*stmt);
        *stmt = nullptr;
    }
    if (db) sqlite3_close_v2(db);
    db = nullptr;
}

namespace {

THistoryStore::Problem ProblemOf(int code) {
    switch (code & 0xFF) {
        case SQLITE_OK:
        case SQLITE_DONE:
        case SQLITE_ROW:
            return THistoryStore::Problem::None;
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
        case SQLITE_INTERRUPT:
            return THistoryStore::Problem::Busy;
        case SQLITE_FULL:
            return THistoryStore::Problem::DiskFull;
        case SQLITE_IOERR:
            return THistoryStore::Problem::InputOutput;
        case SQLITE_READONLY:
        case SQLITE_PERM:
        case SQLITE_CANTOPEN:
        case SQLITE_AUTH:
            return THistoryStore::Problem::Access;
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            return THistoryStore::Problem::Damaged;
        case SQLITE_CONSTRAINT:
        case SQLITE_MISMATCH:
            return THistoryStore::Problem::Refused;
        default:
            return THistoryStore::Problem::Other;
    }
}

}  // namespace

void THistoryStore::Fail(const char* what) const {
    lastError = std::string(what) + ": " + (db ? sqlite3_errmsg(db) : "no database");
    problem = db ? ProblemOf(sqlite3_errcode(db)) : Problem::Other;
}

// Only what SQLite itself calls damage sets a database aside: a full disk, an input/output
// error or missing rights pass, and the messages must still be there when they have.
THistoryStore::Check THistoryStore::Classify(int code, const char* what) {
    Fail(what);
    if (IsBusy(code)) return Check::Busy;
    code &= 0xFF;
    return code == SQLITE_CORRUPT || code == SQLITE_NOTADB ? Check::Damaged : Check::Unusable;
}

THistoryStore::Check THistoryStore::QuickCheck() {
    Statement check(db, "PRAGMA quick_check");
    if (!check) return Classify(sqlite3_errcode(db), "check");
    const int code = sqlite3_step(check.get());
    if (code != SQLITE_ROW) return Classify(code, "check");
    if (Column(check.get(), 0) != "ok") {
        lastError = "check: " + Column(check.get(), 0);
        problem = Problem::Damaged;
        return Check::Damaged;
    }
    return Check::Good;
}

bool THistoryStore::CheckWhole() {
    return !db || QuickCheck() != Check::Damaged;
}

THistoryStore::Check THistoryStore::OpenConnection(const std::string& file, int flags) {
    ConfigureOnce();
    // The connection is used by one thread at a time.
    const int code = sqlite3_open_v2(file.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (code != SQLITE_OK) return Classify(code, "open");
    // Another program's lock is waited for, but never past the program's end: SQLite's own
    // busy timeout would sleep through it.
    sqlite3_busy_handler(
        db,
        [](void* self, int count) -> int {
            const auto* store = static_cast<const THistoryStore*>(self);
            if (store->Cancelled() || count * BusyStepMilliseconds >= store->busyLimitMilliseconds) return 0;
            sqlite3_sleep(BusyStepMilliseconds);
            return 1;
        },
        this);
    sqlite3_progress_handler(db, 1000, StopWhenCancelled, this);
    sqlite3_extended_result_codes(db, 0);
    return Check::Good;
}

// After a kill the pages may still be in the journal: then every page is checked now.
// Otherwise only what is told at once: a file cut short holds fewer pages than its header counts.
THistoryStore::Check THistoryStore::CheckPages(const std::string& file, bool wholeCheck) {
    if (wholeCheck || platform::StampOf(file + "-wal").size > 0) return QuickCheck();
    int64_t pages = -1, pageSize = -1;
    {
        Statement count(db, "PRAGMA page_count");
        if (count && sqlite3_step(count.get()) == SQLITE_ROW) pages = sqlite3_column_int64(count.get(), 0);
        Statement size(db, "PRAGMA page_size");
        if (size && sqlite3_step(size.get()) == SQLITE_ROW) pageSize = sqlite3_column_int64(size.get(), 0);
    }
    if (pages < 0 || pageSize <= 0) return Classify(sqlite3_errcode(db), "header");
    if (platform::StampOf(file).size < pages * pageSize) {
        lastError = "the file is shorter than its pages";
        problem = Problem::Damaged;
        return Check::Damaged;
    }
    return Check::Good;
}

THistoryStore::Check THistoryStore::MakeSchema(int version) {
    int code = sqlite3_exec(db, Schema, nullptr, nullptr, nullptr);
    if (code == SQLITE_OK && version == 0) code = sqlite3_exec(db, IndexSettings, nullptr, nullptr, nullptr);
    if (code == SQLITE_OK && version == 0)
        code = sqlite3_exec(db, ("PRAGMA user_version=" + std::to_string(SchemaVersion)).c_str(), nullptr,
                            nullptr, nullptr);
    if (code != SQLITE_OK) return Classify(code, "schema");
    // A table of the same name but of another shape does not prepare: that is no database of ours.
    if (!PrepareStatements()) {
        const int error = sqlite3_errcode(db);
        return (error & 0xFF) == SQLITE_ERROR ? Check::Damaged : Classify(error, "prepare");
    }
    return Check::Good;
}

// A newer version's database is never changed: read only, and only when the tables a
// search reads are still there in the shape this version knows.
THistoryStore::Check THistoryStore::OpenNewer(const std::string& file) {
    Close();
    if (OpenConnection(file, SQLITE_OPEN_READONLY) != Check::Good) {
        Close();
        return Check::Unusable;
    }
    for (const char* probe :
         {"SELECT id, band, name, station, subject, received, first_seen, last_seen FROM messages",
          "SELECT id, body FROM texts", "SELECT rowid FROM words WHERE words MATCH 'a'"}) {
        Statement statement(db, probe);
        if (!statement) {
            Close();
            break;
        }
    }
    lastError = "made by a newer version of the program";
    problem = Problem::Newer;
    return Check::Newer;
}

THistoryStore::Check THistoryStore::ReadVersion(int& version) {
    Statement read(db, "PRAGMA user_version");
    const int code = read ? sqlite3_step(read.get()) : sqlite3_errcode(db);
    if (code != SQLITE_ROW) return Classify(code, "version");
    version = sqlite3_column_int(read.get(), 0);
    return Check::Good;
}

THistoryStore::Check THistoryStore::OpenAndCheck(const std::string& file, bool wholeCheck) {
    Close();
    path = file;
    // Whatever sits at the name must be a file SQLite can own.
    if (platform::FolderExists(file)) {
        lastError = file + " is a folder";
        problem = Problem::Damaged;
        return Check::Damaged;
    }
    if (const Check opened = OpenConnection(file, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        opened != Check::Good)
        return opened;
    // The version first: nothing of a newer version's database is changed, not even its journal mode.
    int version = 0;
    if (const Check read = ReadVersion(version); read != Check::Good) return read;
    if (version > SchemaVersion) return OpenNewer(file);
    // WAL: readers (the window's searches) go on while the writer writes, and a kill
    // loses at most the transaction in progress.
    const int code =
        sqlite3_exec(db,
                     "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA cache_size=-32768; "
                     "PRAGMA wal_autocheckpoint=8192;",
                     nullptr, nullptr, nullptr);
    if (code != SQLITE_OK) return Classify(code, "journal");
    if (const Check pages = CheckPages(file, wholeCheck); pages != Check::Good) return pages;
    return MakeSchema(version);
}

bool THistoryStore::PrepareStatements() {
    const std::pair<sqlite3_stmt**, const char*> statements[] = {
        {&touch,
         "UPDATE messages SET last_seen = max(last_seen, ?4) WHERE band = ?1 AND name = ?2 AND digest = ?3"},
        {&insert,
         "INSERT INTO messages(band, name, station, subject, digest, received, first_seen, last_seen) "
         "VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?7)"},
        {&insertText, "INSERT INTO texts(id, body) VALUES(?1, ?2)"},
        {&index, "INSERT INTO words(rowid, body) VALUES(?1, ?2)"},
    };
    for (const auto& [stmt, sql] : statements) {
        if (sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, stmt, nullptr) != SQLITE_OK) {
            Fail("prepare");
            return false;
        }
    }
    return true;
}

THistoryStore::Outcome THistoryStore::OpenForWriting(const std::string& file, int64_t now,
                                                     std::string* setAsideAs, bool wholeCheck) {
    busyLimitMilliseconds = WriterBusyMilliseconds;
    problem = Problem::None;
    const bool existed = platform::FileExists(file) || platform::FolderExists(file);
    const Check check = OpenAndCheck(file, wholeCheck);
    switch (check) {
        case Check::Good:
            MergeSetAside();
            return existed ? Outcome::Opened : Outcome::Created;
        case Check::Newer:
            return Outcome::Newer;
        case Check::Busy:
            Close();
            return Outcome::Busy;
        case Check::Unusable:
            Close();
            return Outcome::Failed;
        case Check::Damaged:
            break;
    }
    Close();
    // The damaged file and its journal keep their data for whoever wants to look; what can
    // still be read of them is merged into the new one.
    const std::string aside = file + ".damaged-" + StampName(now);
    if (!platform::MoveNoReplace(file, aside)) {
        lastError = "cannot set " + file + " aside: " + lastError;
        return Outcome::Failed;
    }
    for (const char* part : {"-wal", "-shm"})
        if (platform::FileExists(file + part)) platform::MoveNoReplace(file + part, aside + part);
    if (setAsideAs) *setAsideAs = aside;
    if (OpenAndCheck(file, true) != Check::Good) {
        Close();
        return Outcome::Failed;
    }
    MergeSetAside();
    return Outcome::SetAside;
}

bool THistoryStore::OpenForReading(const std::string& file) {
    Close();
    if (!platform::FileExists(file)) return false;
    // The window's thread searches: another program's lock is not waited for long.
    busyLimitMilliseconds = ReaderBusyMilliseconds;
    if (OpenConnection(file, SQLITE_OPEN_READWRITE) != Check::Good &&
        (Close(), OpenConnection(file, SQLITE_OPEN_READONLY) != Check::Good)) {
        Close();
        return false;
    }
    // A newer version's database is read without a write connection: closing one would fold
    // its journal into it.
    bool newer = false;
    {
        Statement read(db, "PRAGMA user_version");
        newer = read && sqlite3_step(read.get()) == SQLITE_ROW &&
                sqlite3_column_int(read.get(), 0) > SchemaVersion;
    }
    if (newer) {
        Close();
        if (OpenConnection(file, SQLITE_OPEN_READONLY) != Check::Good) {
            Close();
            return false;
        }
    }
    // A search visits a row of every hit: mapped pages spare it a read call each.
    sqlite3_exec(db, "PRAGMA mmap_size=268435456; PRAGMA cache_size=-16384;", nullptr, nullptr, nullptr);
    return true;
}

void THistoryStore::MergeSetAside() {
    if (!touch) return;
    const size_t slash = path.find_last_of("/\\");
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string base = path.substr(slash == std::string::npos ? 0 : slash + 1) + ".damaged-";
    for (const platform::FolderEntry& entry : platform::ListFolder(folder.empty() ? "." : folder)) {
        if (entry.name.compare(0, base.size(), base) != 0) continue;
        const std::string stamp = entry.name.substr(base.size());
        if (stamp.find('-', 9) != std::string::npos) continue;  // its -wal and -shm
        if (Cancelled()) return;
        MergeFrom(folder + entry.name);
    }
}

int THistoryStore::MergeFrom(const std::string& setAside) {
    if (!touch) return -1;
    const size_t slash = setAside.find_last_of("/\\");
    const std::string name = setAside.substr(slash == std::string::npos ? 0 : slash + 1);
    {
        Statement seen(db, "SELECT 1 FROM merged WHERE name = ?1");
        if (!seen) return -1;
        BindText(seen.get(), 1, name);
        if (sqlite3_step(seen.get()) == SQLITE_ROW) return 0;
    }
    // Read first, written after: the set-aside file is opened for reading only.
    std::vector<TStoredMessage> found;
    const SetAsideRead read = ReadSetAside(setAside, *this, found);
    if (read == SetAsideRead::Interrupted || Cancelled()) return -1;  // again at the next start
    int added = 0;
    if (sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) {
        Fail("merge");
        return -1;
    }
    for (const TStoredMessage& m : found) {
        TPreparedMessage prepared = Prepare({m.band, m.name, m.bytes, m.received});
        const Written first = RecordOne(prepared, m.firstSeen);
        if (first == Written::Failed || RecordOne(prepared, m.lastSeen) == Written::Failed) {
            Fail("merge");
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
            return -1;
        }
        if (first == Written::Added) ++added;
    }
    Statement mark(db, "INSERT OR IGNORE INTO merged(name, messages) VALUES(?1, ?2)");
    if (mark) {
        BindText(mark.get(), 1, name);
        sqlite3_bind_int(mark.get(), 2, added);
    }
    if (!mark || sqlite3_step(mark.get()) != SQLITE_DONE ||
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
        Fail("merge");
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        return -1;
    }
    return read == SetAsideRead::Read ? added : -1;
}

TPreparedMessage Prepare(TArchivedMessage message) {
    TPreparedMessage prepared;
    const std::string hex = platform::Sha256Hex(message.bytes.data(), message.bytes.size());
    prepared.digest = static_cast<int64_t>(std::stoull(hex.substr(0, 16), nullptr, 16));
    // The identifier, the station letter and the subject (its letter and its category's
    // words) are found like the words of the text.
    const std::string station = message.name.substr(0, 1);
    const std::string subject = message.name.size() > 1 ? message.name.substr(1, 1) : std::string();
    prepared.indexText = IndexText(message.bytes + " " + message.name + " " + station + " " + subject) + " " +
                         navtex::CategoryTexts[navtex::CategoryOf(message.name)];
    prepared.message = std::move(message);
    return prepared;
}

int THistoryStore::Record(const std::vector<TArchivedMessage>& batch, int64_t now) {
    std::vector<TPreparedMessage> prepared;
    prepared.reserve(batch.size());
    for (const TArchivedMessage& message : batch) {
        if (Cancelled()) return -1;
        prepared.push_back(Prepare(message));
    }
    return RecordPrepared(prepared, now);
}

THistoryStore::Written THistoryStore::RecordOne(const TPreparedMessage& prepared, int64_t now) {
    const TArchivedMessage& message = prepared.message;
    const std::string station = message.name.substr(0, 1);
    const std::string subject = message.name.size() > 1 ? message.name.substr(1, 1) : std::string();
    sqlite3_reset(touch);
    sqlite3_bind_int(touch, 1, message.band);
    BindText(touch, 2, message.name);
    sqlite3_bind_int64(touch, 3, prepared.digest);
    sqlite3_bind_int64(touch, 4, now);
    if (sqlite3_step(touch) != SQLITE_DONE) return Written::Failed;
    if (sqlite3_changes(db) > 0) return Written::Seen;

    sqlite3_reset(insert);
    sqlite3_bind_int(insert, 1, message.band);
    BindText(insert, 2, message.name);
    BindText(insert, 3, station);
    BindText(insert, 4, subject);
    sqlite3_bind_int64(insert, 5, prepared.digest);
    sqlite3_bind_int64(insert, 6, message.received);
    sqlite3_bind_int64(insert, 7, now);
    if (sqlite3_step(insert) != SQLITE_DONE) return Written::Failed;
    const sqlite3_int64 id = sqlite3_last_insert_rowid(db);
    // The text and its words under the same number.
    const std::pair<sqlite3_stmt*, const std::string*> rows[] = {{insertText, &message.bytes},
                                                                 {index, &prepared.indexText}};
    for (const auto& [stmt, value] : rows) {
        sqlite3_reset(stmt);
        sqlite3_bind_int64(stmt, 1, id);
        if (stmt == insertText)
            sqlite3_bind_blob(stmt, 2, value->data(), static_cast<int>(value->size()), SQLITE_STATIC);
        else
            sqlite3_bind_text(stmt, 2, value->data(), static_cast<int>(value->size()), SQLITE_STATIC);
        if (sqlite3_step(stmt) != SQLITE_DONE) return Written::Failed;
    }
    return Written::Added;
}

int THistoryStore::RecordPrepared(const std::vector<TPreparedMessage>& batch, int64_t now) {
    if (!touch) return -1;
    if (sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) {
        Fail("begin");
        return -1;
    }
    int added = 0;
    bool ok = true;
    for (const TPreparedMessage& prepared : batch) {
        const Written written = Cancelled() ? Written::Failed : RecordOne(prepared, now);
        if (written == Written::Failed) {
            ok = false;
            break;
        }
        if (written == Written::Added) ++added;
    }
    if (!ok) {
        Fail("record");
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        return -1;
    }
    if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
        Fail("commit");
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        return -1;
    }
    return added;
}

TSearchResult THistoryStore::Search(const std::string& typed, const TFilter& filter, size_t limit) const {
    TSearchResult result;
    const std::string expression = MatchExpression(typed);
    if (!db || expression.empty()) return result;
    Statement query(
        db,
        "SELECT m.id, m.band, m.name, m.received FROM words "
        "JOIN messages m ON m.id = words.rowid WHERE words MATCH ?1 "
        "AND (?2 = 0 OR m.band = ?2) AND (?3 = '' OR m.station = ?3) AND (?4 = '' OR m.subject = ?4) "
        "AND m.received >= ?5 ORDER BY m.received DESC, m.id DESC");
    if (!query) {
        Fail("search");
        return result;
    }
    BindText(query.get(), 1, expression);
    sqlite3_bind_int(query.get(), 2, filter.band);
    BindText(query.get(), 3, filter.station ? std::string(1, filter.station) : std::string());
    BindText(query.get(), 4, filter.subject ? std::string(1, filter.subject) : std::string());
    sqlite3_bind_int64(query.get(), 5, filter.since);
    int code;
    while ((code = sqlite3_step(query.get())) == SQLITE_ROW) {
        const int64_t id = sqlite3_column_int64(query.get(), 0);
        if (filter.keep && !filter.keep(id)) continue;
        if (result.total++ >= limit) continue;
        THit hit;
        hit.id = id;
        hit.band = sqlite3_column_int(query.get(), 1);
        hit.name = Column(query.get(), 2);
        hit.received = sqlite3_column_int64(query.get(), 3);
        result.hits.push_back(std::move(hit));
    }
    result.ok = code == SQLITE_DONE;
    if (!result.ok) Fail("search");
    return result;
}

void THistoryStore::FillFirstLines(std::vector<THit>& hits) const {
    if (!db) return;
    Statement query(db, "SELECT substr(body, 1, 400) FROM texts WHERE id = ?1");
    if (!query) return;
    for (THit& hit : hits) {
        sqlite3_reset(query.get());
        sqlite3_bind_int64(query.get(), 1, hit.id);
        if (sqlite3_step(query.get()) == SQLITE_ROW) hit.firstLine = FirstLine(Column(query.get(), 0));
    }
}

bool THistoryStore::Message(int64_t id, TStoredMessage& message) const {
    if (!db) return false;
    Statement query(db, (std::string(SelectMessages) + "WHERE id = ?1").c_str());
    if (!query) return false;
    sqlite3_bind_int64(query.get(), 1, id);
    if (sqlite3_step(query.get()) != SQLITE_ROW) return false;
    message = MessageOfRow(query.get());
    return true;
}

std::vector<TStoredMessage> THistoryStore::AllMessages() const {
    std::vector<TStoredMessage> all;
    ForEachMessage(0, [&all](const TStoredMessage& m) {
        all.push_back(m);
        return true;
    });
    return all;
}

bool THistoryStore::ForEachMessage(int64_t afterId,
                                   const std::function<bool(const TStoredMessage&)>& each) const {
    if (!db) return false;
    Statement query(db, (std::string(SelectMessages) + "WHERE id > ?1 ORDER BY received, id").c_str());
    if (!query) return false;
    sqlite3_bind_int64(query.get(), 1, afterId);
    int code;
    while ((code = sqlite3_step(query.get())) == SQLITE_ROW)
        if (!each(MessageOfRow(query.get()))) return true;
    return code == SQLITE_DONE;
}

void THistoryStore::ReleaseMemory() const {
    if (db) sqlite3_db_release_memory(db);
}

int64_t THistoryStore::Count() const {
    if (!db) return 0;
    Statement query(db, "SELECT count(*) FROM messages");
    return query && sqlite3_step(query.get()) == SQLITE_ROW ? sqlite3_column_int64(query.get(), 0) : 0;
}

}  // namespace history
