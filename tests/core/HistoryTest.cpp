// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "common/DateTime.h"
#include "history/HistoryWriter.h"
#include "history/Import.h"
#include "history/MessageText.h"
#include "history/Words.h"
#include "platform/Files.h"
#include "sim/History.h"
#include "support/ChildProcess.h"
#include "support/System.h"
#include "support/TempFolder.h"

using history::TArchivedMessage;
using history::THistoryStore;
using testing_support::TempFolder;

namespace {

constexpr int64_t Now = 1796000000;  // December 2026

TArchivedMessage Message(const std::string& name, const std::string& text, int64_t received = Now - 3600,
                         int band = 518) {
    return {band, name, "ZCZC " + name + "\r\n" + text + "\r\nNNNN\r\n", received};
}

std::vector<std::string> Names(const history::TSearchResult& result) {
    std::vector<std::string> names;
    for (const auto& hit : result.hits) names.push_back(std::to_string(hit.band) + hit.name);
    return names;
}

class History : public ::testing::Test {
protected:
    void Open() {
        ASSERT_NE(store.OpenForWriting(path, Now), THistoryStore::Outcome::Failed) << store.LastError();
    }
    history::TSearchResult Find(const std::string& typed, history::TFilter filter = {}) {
        return store.Search(typed, filter, 100);
    }

    TempFolder folder;
    std::string path = folder / history::DatabaseName;
    THistoryStore store;
};

}  // namespace

TEST_F(History, EveryMessageIsRecordedOnceAndKeptWhenTheArchiveDropsIt) {
    Open();
    const std::vector<TArchivedMessage> archive = {Message("FA12", "GALE WARNING"),
                                                   Message("FE01", "FORECAST"),
                                                   Message("FA12", "GALE WARNING", Now - 3600, 490)};
    EXPECT_EQ(store.Record(archive, Now), 3);  // the same identifier on 490 kHz is another message
    EXPECT_EQ(store.Record(archive, Now + 60), 0);
    // A ring that has dropped FE01, and FA12 reused with new text two days later.
    EXPECT_EQ(store.Record({Message("FA12", "CABLE OPERATIONS", Now + 172800)}, Now + 172800), 1);
    EXPECT_EQ(store.Count(), 4);
    EXPECT_EQ(Names(Find("forecast")), std::vector<std::string>{"518FE01"});
    // Newest first; of two received together, the one recorded last.
    EXPECT_EQ(Names(Find("FA12")), (std::vector<std::string>{"518FA12", "490FA12", "518FA12"}));

    // After a restart the same archive adds nothing; the first and last sightings are kept.
    store.Close();
    Open();
    EXPECT_EQ(store.Record(archive, Now + 300), 0);
    const auto gale = Find("gale");
    ASSERT_EQ(gale.total, 2u);
    history::TStoredMessage stored;
    ASSERT_TRUE(store.Message(gale.hits[0].id, stored));
    EXPECT_EQ(stored.firstSeen, Now);
    EXPECT_EQ(stored.lastSeen, Now + 300);
    EXPECT_EQ(stored.bytes, "ZCZC FA12\r\nGALE WARNING\r\nNNNN\r\n");
}

TEST_F(History, SearchTakesWhatIsTypedAsWordsOnly) {
    Open();
    // Windows-1252: É (0xC9), € (0x80), ü (0xFC).
    ASSERT_EQ(store.Record({Message("FA12", "UNDERWATER CABLE OPERATIONS OFF SPLIT"),
                            Message("GA15",
                                    "MER AGIT\xC9"
                                    "E, VENT 5 \x80 ST\xFC"
                                    "CK",
                                    Now - 60),
                            Message("FB03", "NEAR GALE 7. DON'T PROCEED; \"QUOTED\" NEAR(A B)", Now - 30)},
                           Now),
              3);
    EXPECT_EQ(Names(Find("cable split")), std::vector<std::string>{"518FA12"});
    EXPECT_EQ(Names(Find("cab")), std::vector<std::string>{"518FA12"});  // still typing
    EXPECT_TRUE(Find("cab ").hits.empty());                              // a whole word
    EXPECT_EQ(Names(Find("ga15")), std::vector<std::string>{"518GA15"});
    EXPECT_EQ(Names(Find("G")), std::vector<std::string>{"518GA15"});                // the station letter
    EXPECT_EQ(Names(Find("meteorologiques")), std::vector<std::string>{"518FB03"});  // the subject
    EXPECT_EQ(Names(Find("agitee")), std::vector<std::string>{"518GA15"});
    EXPECT_EQ(Names(Find("AGITÉE")), std::vector<std::string>{"518GA15"});
    EXPECT_EQ(Names(Find("stück")), std::vector<std::string>{"518GA15"});

    // Syntax of the index or of SQL is never syntax here: it fails nothing and matches
    // only the words it holds.
    // Malformed UTF-8 (cut short, overlong, a surrogate), which the index itself refuses
    // (found by fuzzing).
    for (const char* typed : {"\"",
                              "*",
                              "'",
                              ";",
                              "NEAR",
                              "near(",
                              "\"quoted",
                              "don't",
                              "proceed;",
                              "a OR b",
                              "NOT cable",
                              "body:cable",
                              "'; DROP TABLE messages; --",
                              "^gale",
                              "gale -near",
                              "ag\xC3t\xC3\xA9"
                              "e",
                              "\xFF\xFE"
                              "gale",
                              "gale\xE2\x82",
                              "C\xC1\xA9"
                              "ab",
                              "\xED\xA0\x80x"}) {
        SCOPED_TRACE(typed);
        const auto result = Find(typed);
        if (history::MatchExpression(typed).empty()) {
            EXPECT_TRUE(result.hits.empty());
        } else {
            EXPECT_TRUE(result.ok) << store.LastError();
            EXPECT_LE(result.total, 1u);
        }
    }
    EXPECT_EQ(Names(Find("NEAR(A B)")), std::vector<std::string>{"518FB03"});
    EXPECT_TRUE(Find("NOT cable").hits.empty());  // NOT is a word the messages lack
    EXPECT_TRUE(Find("").hits.empty());
    EXPECT_TRUE(Find("  -- ").hits.empty());
    EXPECT_EQ(store.Count(), 3);
}

TEST_F(History, FiltersAndOrder) {
    Open();
    ASSERT_EQ(
        store.Record({Message("FA12", "BUOY ADRIFT", Now - 7200), Message("FB01", "BUOY GALE", Now - 60),
                      Message("KA01", "BUOY", Now - 4 * 86400, 490), Message("FA13", "BUOY", -1)},
                     Now),
        4);
    EXPECT_EQ(Names(Find("buoy")), (std::vector<std::string>{"518FB01", "518FA12", "490KA01", "518FA13"}));
    history::TFilter filter;
    filter.band = 490;
    EXPECT_EQ(Names(Find("buoy", filter)), std::vector<std::string>{"490KA01"});
    filter = {};
    filter.station = 'F';
    filter.subject = 'A';
    EXPECT_EQ(Names(Find("buoy", filter)), (std::vector<std::string>{"518FA12", "518FA13"}));
    filter = {};
    filter.since = Now - 86400;  // a message of unknown time is in no time span
    EXPECT_EQ(Names(Find("buoy", filter)), (std::vector<std::string>{"518FB01", "518FA12"}));
    const auto limited = store.Search("buoy", {}, 1);
    EXPECT_EQ(limited.total, 4u);
    EXPECT_EQ(limited.hits.size(), 1u);
}

TEST_F(History, ADamagedDatabaseIsSetAsideAndMadeAnew) {
    const auto damage = [&](int how) {
        std::filesystem::remove_all(path);
        if (how == 2) {
            std::filesystem::create_directory(path);
            return;
        }
        {
            THistoryStore good;
            ASSERT_NE(good.OpenForWriting(path, Now), THistoryStore::Outcome::Failed);
            std::vector<TArchivedMessage> many;
            for (int i = 0; i < 300; ++i)
                many.push_back(
                    Message("FA" + std::to_string(10 + i % 90), std::string(500, 'X') + std::to_string(i)));
            ASSERT_EQ(good.Record(many, Now), 300);
        }
        if (how == 0) {
            std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2);
        } else {
            std::string noise(8192, '\0');
            for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>(i * 7919 % 251);
            std::ofstream(path, std::ios::binary | std::ios::trunc) << noise;
        }
    };
    for (int how : {0, 1, 2}) {
        SCOPED_TRACE(how == 0 ? "truncated" : how == 1 ? "random bytes" : "a folder");
        damage(how);
        std::string aside;
        THistoryStore store;
        ASSERT_EQ(store.OpenForWriting(path, Now + how, &aside), THistoryStore::Outcome::SetAside)
            << store.LastError();
        EXPECT_EQ(aside, path + ".damaged-" + history::StampName(Now + how));
        EXPECT_TRUE(platform::FileExists(aside) || platform::FolderExists(aside));
        EXPECT_EQ(store.Record({Message("FA12", "AGAIN")}, Now), 1);
        EXPECT_EQ(store.Search("again", {}, 10).total, 1u);
    }
}

namespace {

// A database of count messages, closed, its journal folded in.
void MakeHistory(const std::string& path, int count) {
    THistoryStore good;
    ASSERT_EQ(good.OpenForWriting(path, Now), THistoryStore::Outcome::Created);
    std::vector<TArchivedMessage> many;
    for (int i = 0; i < count; ++i)
        many.push_back(
            Message("FA" + std::to_string(10 + i % 90), std::to_string(i) + std::string(400, 'K')));
    ASSERT_EQ(good.Record(many, Now), count);
}

// Another program's statement on the database, as the sqlite3 shell would run it.
void Exec(sqlite3* db, const char* sql) {
    ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
}

bool SetAsideBeside(const std::string& folder) {
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename().string().find(".damaged-") != std::string::npos) return true;
    return false;
}

}  // namespace

// What is not damage leaves the database where it is: a file-size limit (the -shm cannot
// grow), and a database of a newer version, which is read but never written.
TEST(HistoryFaults, ALimitOrANewerVersionNeverSetsTheHistoryAside) {
    TempFolder folder;
    const std::string path = folder / history::DatabaseName;
    MakeHistory(path, 300);
    const auto size = std::filesystem::file_size(path);
    if (testing_support::FileSizeLimit::Unsupported().empty()) {
        {
            testing_support::FileSizeLimit limit(1000);
            THistoryStore store;
            EXPECT_EQ(store.OpenForWriting(path, Now), THistoryStore::Outcome::Failed);
            EXPECT_NE(store.LastProblem(), THistoryStore::Problem::None);
            EXPECT_NE(store.LastProblem(), THistoryStore::Problem::Damaged) << store.LastError();
        }
        EXPECT_FALSE(SetAsideBeside(folder / ""));
        EXPECT_EQ(std::filesystem::file_size(path), size);
    }
    {
        sqlite3* other = nullptr;
        ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
        Exec(other, "PRAGMA user_version=7");
        sqlite3_close(other);
    }
    const std::string before = testing_support::ReadText(path);
    {
        THistoryStore store;
        ASSERT_EQ(store.OpenForWriting(path, Now), THistoryStore::Outcome::Newer);
        EXPECT_EQ(store.LastProblem(), THistoryStore::Problem::Newer);
        EXPECT_TRUE(store.ReadOnly());
        EXPECT_EQ(store.Count(), 300);
        EXPECT_EQ(store.Search("kkkk", {}, 5).total, 0u);
        EXPECT_EQ(store.Record({Message("FA12", "NEW")}, Now), -1);
    }
    std::atomic<bool> read{false};
    history::THistoryWriter::Events events;
    events.written = [&](int, const THistoryStore& store) { read = store.Count() == 300; };
    {
        history::THistoryWriter writer(path, events, [] { return Now; });
        writer.Add({Message("FA12", "NEW")});
        writer.WaitIdle();
        EXPECT_EQ(writer.GetState(), history::THistoryWriter::State::ReadOnly);
    }
    EXPECT_TRUE(read) << "the warnings are read from a newer version's history too";
    {
        THistoryStore search;  // as the window's searches open it
        ASSERT_TRUE(search.OpenForReading(path));
        EXPECT_EQ(search.Count(), 300);
    }
    EXPECT_FALSE(SetAsideBeside(folder / ""));
    EXPECT_EQ(testing_support::ReadText(path), before) << "not a byte of a newer version's history changes";
}

// A history that refuses to record says so once, keeps what it could not write and records
// it when the cause is gone; the end of the program never waits for another program's lock.
TEST(HistoryFaults, ARefusedRecordIsSaidOnceAndTriedAgainAndALockNeverHoldsUpTheEnd) {
    TempFolder folder;
    const std::string path = folder / history::DatabaseName;
    MakeHistory(path, 10);
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
    sqlite3_busy_timeout(other, 3000);
    Exec(other, "CREATE TRIGGER refuse BEFORE INSERT ON messages BEGIN SELECT RAISE(ABORT, 'refused'); END");
    std::mutex mutex;
    std::vector<THistoryStore::Problem> said;
    history::THistoryWriter::Events events;
    events.trouble = [&](THistoryStore::Problem problem, const std::string&) {
        std::lock_guard<std::mutex> lock(mutex);
        said.push_back(problem);
    };
    const auto saidNow = [&] {
        std::lock_guard<std::mutex> lock(mutex);
        return said;
    };
    {
        history::THistoryWriter writer(
            path, events, [] { return Now; }, std::chrono::seconds(60), std::chrono::milliseconds(50));
        writer.Add({Message("GA01", "FIRST")});
        writer.WaitIdle();
        writer.Add({Message("GA02", "SECOND")});
        writer.WaitIdle();
        testing_support::SleepMilliseconds(300);  // a few retries, none said again
        ASSERT_EQ(saidNow().size(), 1u);
        EXPECT_EQ(saidNow()[0], THistoryStore::Problem::Refused);
        Exec(other, "DROP TRIGGER refuse");
        for (int wait = 0; wait < 100 && saidNow().size() < 2; ++wait) testing_support::SleepMilliseconds(20);
        ASSERT_EQ(saidNow().size(), 2u);
        EXPECT_EQ(saidNow()[1], THistoryStore::Problem::None);
    }
    sqlite3_close(other);
    // Another program holds the database for itself; the writer waits on it, the end does not.
    ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
    Exec(other, "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; UPDATE messages SET last_seen = last_seen");
    auto writer = std::make_unique<history::THistoryWriter>(path, history::THistoryWriter::Events{},
                                                            [] { return Now; });
    writer->Add({Message("GA03", "THIRD")});
    testing_support::SleepMilliseconds(300);
    const auto began = std::chrono::steady_clock::now();
    writer.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(2))
        << "the end waited for the lock";
    Exec(other, "ROLLBACK");
    sqlite3_close(other);
    THistoryStore store;
    ASSERT_EQ(store.OpenForWriting(path, Now), THistoryStore::Outcome::Opened);
    EXPECT_EQ(store.Search("first", {}, 5).total, 1u);
    EXPECT_EQ(store.Search("second", {}, 5).total, 1u);
}

TEST(HistoryImport, ReceptionTimeBandAndNamesFromAFolderTree) {
    TempFolder folder;
    // Three real messages; their paths in ../shared/corpus/navtex-2013-2020.tar.xz are
    // archive/2019/03/03/LE22 and archive/2020/12/29/OA35 (the third's text is shortened).
    folder.WriteFile("corpus/2019/03/03/LE22",
                     "ZCZC LE22\n031800 UTC MAR 19\nARKHANGELSK RADIO\nWEATHER FORECAST NR 22\nNNNN\n");
    folder.WriteFile(
        "corpus/2020/12/29/OA35",
        "ZCZC OA35\nIRISH SEA. ISLE OF MAN SOUTHWARDS.\n1. UNDERWATER CABLE OPERATIONS IN PROGRESS\nNNNN\n");
    folder.WriteFile("corpus/NATIONAL/FA01", "ZCZC FA01\r\nNATIONAL WARNING\r\nNNNN\r\n");
    folder.WriteFile("corpus/notes.txt", "not a message");
    folder.WriteFile("corpus/2019/03/03/desktop.ini", "[x]");

    THistoryStore store;
    ASSERT_NE(store.OpenForWriting(folder / history::DatabaseName, Now), THistoryStore::Outcome::Failed);
    const auto result = history::ImportFolder(store, folder / "corpus", Now);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.files, 3u);
    EXPECT_EQ(result.added, 3u);
    EXPECT_EQ(result.skipped, 2u);
    EXPECT_EQ(history::ImportFolder(store, folder / "corpus", Now).added, 0u);

    auto le22 = store.Search("arkhangelsk", {}, 10);
    store.FillFirstLines(le22.hits);
    ASSERT_EQ(le22.hits.size(), 1u);
    EXPECT_EQ(le22.hits[0].received, 1551636000);  // 2019-03-03 18:00 UTC, from the date-time group
    EXPECT_EQ(le22.hits[0].firstLine, "031800 UTC MAR 19");
    EXPECT_EQ(store.Search("cable", {}, 10).hits.at(0).received, 1609200000);  // 2020-12-29, no group
    EXPECT_EQ(store.Search("national", {}, 10).hits.at(0).band, 490);

    // A group of another day is not this message's time; a path without a date keeps the file's.
    EXPECT_EQ(history::ReceptionTime({"2019", "03", "04"}, "ZCZC LE22\n031800 UTC MAR 19\n", -1), 1551657600);
    EXPECT_EQ(history::ReceptionTime({"archive"}, "ZCZC LE22\n031800 UTC MAR 19\n", 42), 42);
    EXPECT_FALSE(history::ImportFolder(store, folder / "missing", Now).ok);
}

TEST(HistoryWriter, WritesOnItsOwnThreadBesideAnotherProgram) {
    TempFolder folder;
    const std::string path = folder / history::DatabaseName;
    // Another program (an import from the command line) has the database open.
    THistoryStore other;
    ASSERT_EQ(other.OpenForWriting(path, Now), THistoryStore::Outcome::Created);
    ASSERT_EQ(other.Record({Message("ZZ99", "HOLD")}, Now), 1);
    std::atomic<int> recorded{0};
    std::atomic<bool> opened{false};
    history::THistoryWriter::Events events;
    events.opened = [&](history::THistoryWriter::State state, const std::string& aside) {
        EXPECT_EQ(state, history::THistoryWriter::State::Ready);
        EXPECT_TRUE(aside.empty());
        opened = true;
    };
    events.recorded = [&](int added) { recorded += added; };
    {
        history::THistoryWriter writer(path, events, [] { return Now; });
        writer.Add({Message("FA12", "ONE"), Message("FA13", "TWO")});
        writer.Add({Message("FA12", "ONE")});
        writer.WaitIdle();
        EXPECT_TRUE(opened);
        // Leaving does not wait for a large batch: it is dropped or rolled back whole (the
        // archive hands it over again at the next start).
        std::vector<TArchivedMessage> many;
        for (int i = 0; i < 20000; ++i)
            many.push_back(
                Message("GA" + std::to_string(10 + i % 90), std::to_string(i) + std::string(2000, 'W')));
        writer.Add(std::move(many));
    }
    EXPECT_EQ(recorded == 2 ? other.Count() : other.Count() - 20000, 3);
}

TEST(HistoryWriter, DamageInsideThePagesIsFoundOnceIdleAndSetAside) {
    TempFolder folder;
    const std::string path = folder / history::DatabaseName;
    {
        THistoryStore store;
        ASSERT_EQ(store.OpenForWriting(path, Now), THistoryStore::Outcome::Created);
        std::vector<TArchivedMessage> many;
        for (int i = 0; i < 400; ++i)
            many.push_back(
                Message("FA" + std::to_string(10 + i % 90), std::to_string(i) + std::string(900, 'Q')));
        ASSERT_EQ(store.Record(many, Now), 400);
    }
    // Pages in the middle overwritten, the size kept: the quick look at the start passes.
    {
        std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
        file.seekp(static_cast<std::streamoff>(std::filesystem::file_size(path) / 2));
        file << std::string(8192, '\x5A');
    }
    std::mutex mutex;
    std::vector<std::string> asides;
    history::THistoryWriter::Events events;
    events.opened = [&](history::THistoryWriter::State, const std::string& aside) {
        std::lock_guard<std::mutex> lock(mutex);
        asides.push_back(aside);
    };
    history::THistoryWriter writer(
        path, events, [] { return Now; }, std::chrono::milliseconds(0));
    for (int wait = 0; wait < 200; ++wait) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            if (asides.size() == 2) break;
        }
        testing_support::SleepMilliseconds(25);
    }
    std::lock_guard<std::mutex> lock(mutex);
    ASSERT_EQ(asides.size(), 2u);
    EXPECT_TRUE(asides[0].empty());
    EXPECT_TRUE(platform::FileExists(asides[1])) << asides[1];
    writer.Add({Message("FA12", "AGAIN")});
    writer.WaitIdle();
    EXPECT_EQ(writer.GetState(), history::THistoryWriter::State::Ready);
    // What could still be read of the damaged file is in the new history, once.
    THistoryStore reader;
    ASSERT_TRUE(reader.OpenForReading(path));
    const int64_t merged = reader.Count();
    EXPECT_GT(merged, 200) << "the messages outside the damaged pages";
    reader.Close();
    THistoryStore again;
    ASSERT_EQ(again.OpenForWriting(path, Now), THistoryStore::Outcome::Opened);
    EXPECT_EQ(again.Count(), merged) << "a set-aside file is merged once";
}

TEST(HistoryWriter, AKillDuringAnImportLosesNothingTheNextRunAdds) {
    TempFolder folder;
    for (int i = 0; i < 3000; ++i)
        folder.WriteFile("messages/" + std::string(1, char('A' + i % 26)) + "A" +
                             std::to_string(10 + i % 90) + "_" + std::to_string(i),
                         "ZCZC\r\nCOMMON WORD " + std::to_string(i) + std::string(300, '.') + "\r\nNNNN\r\n");
    const std::string archive = folder.MakeFolder("archive");
    const std::string database = platform::JoinPath(archive, history::DatabaseName);
    for (int delay : {30, 90, 200}) {
        testing_support::ChildProcess probe(
            {testing_support::Helper(ZEL2_FAULT_PROBE), "history", archive, folder / "messages"});
        // Counted from the database's creation: a process starts slowly under wine.
        for (int wait = 0; wait < 200 && !platform::FileExists(database); ++wait)
            testing_support::SleepMilliseconds(50);
        testing_support::SleepMilliseconds(delay);
        probe.Kill();
        probe.Wait();
        THistoryStore store;
        ASSERT_EQ(store.OpenForWriting(database, Now), THistoryStore::Outcome::Opened) << store.LastError();
        EXPECT_LE(store.Count(), 3000);
    }
    THistoryStore store;
    ASSERT_EQ(store.OpenForWriting(database, Now), THistoryStore::Outcome::Opened);
    history::ImportFolder(store, folder / "messages", Now);
    EXPECT_EQ(store.Count(), 3000);
    EXPECT_EQ(store.Search("common", {}, 10).total, 3000u);
}

TEST_F(History, InForceListsEveryMessageAsItStoodThen) {
    // archive/2019/03/10/SA57 and SA58 (NCC Hamburg), shortened.
    const int64_t t0 = 1552221300;  // 2019-03-10 12:35 UTC
    Open();
    ASSERT_EQ(
        store.Record({Message("SA57", "NAV. WARN. NO. 204\r\nBUOY ADRIFT IN APPROX. 54-235N 006-108E.", t0),
                      Message("SA58", "NAV. WARN. NO. 205\r\nNAV. WARN. NO. 204 CANCELLED.", t0 + 29700)},
                     Now),
        2);
    store.Close();
    const auto lines = [this](std::optional<int64_t> at) {
        const std::string file = folder / "in-force.tsv";
        FILE* out = std::fopen(file.c_str(), "wb");  // the lines as written, on every system
        EXPECT_EQ(sim::InForceCommand(folder.Path(), at, out), 0);
        std::fclose(out);
        return testing_support::ReadText(file);
    };
    // The station: SA57's position is Pinneberg's waters; SA58 says nothing of where.
    const std::string unsure = "\t? Pinneberg (DE) / Sandakan (MY) / Paita (PE)\n";
    EXPECT_EQ(lines(datetime::ParseIso8601Utc("2019-03-10T18:00Z")),
              "518\tSA57\t2019-03-10T12:35:00Z\tA\tin force\t\tPinneberg (DE)\n");
    EXPECT_EQ(lines(datetime::ParseIso8601Utc("2019-03-11T00:00Z")),
              "518\tSA57\t2019-03-10T12:35:00Z\tA\tcancelled\tby SA58 2019-03-10T20:50:00Z\tPinneberg (DE)\n"
              "518\tSA58\t2019-03-10T20:50:00Z\tA\tin force\t" +
                  unsure);
    // Nothing heard of it for 90 days: no longer taken as in force.
    EXPECT_EQ(lines(std::nullopt),
              "518\tSA57\t2019-03-10T12:35:00Z\tA\tcancelled\tby SA58 2019-03-10T20:50:00Z\tPinneberg (DE)\n"
              "518\tSA58\t2019-03-10T20:50:00Z\tA\texpired\tsince 2019-06-08T20:50:00Z (lifetime)" +
                  unsure);
}
