// Readers beside a writer in another process: the reader waits for a commit to end,
// never rolls a journal back under a live writer, never writes a file, and reports a
// table kept busy too long by name.

#include "platform/db/error.h"
#include "platform/db/session.h"
#include "platform/db/table_file.h"
#include "platform/db/table_lock.h"
#include "support/child_process.h"
#include "support/journal_state.h"
#include "support/table_check.h"
#include "support/test_env.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

using namespace db;
namespace fs = std::filesystem;

namespace {

TableSchema memoSchema() {
    return {{{"Kod", FieldType::Long, 4, 0},
             {"Nev", FieldType::Alpha, 120, 0},
             {"Megjegyzes", FieldType::Memo, 11, 0}},
            1};
}

std::string memoOf(std::int32_t key) {
    return std::string(static_cast<std::size_t>(40 + key % 300),
                       static_cast<char>('a' + key % 26)) +
           " ő " + std::to_string(key);
}

// The child: once the reader has read the empty table (a byte on `startFd`, when given), inserts
// `rows` rows with memos, one commit each, a little apart so that the reader reads
// beside the writer even on a busy machine.
void writeRows(int rows, int progressFd, int startFd = -1) {
    try {
        char go = 0;
        if (startFd >= 0 && ::read(startFd, &go, 1) != 1)
            ::_exit(5);
        Session session;
        auto table = session.open("Jegyzet");
        for (std::int32_t key = 1; key <= rows; ++key) {
            Record r{key, "sor " + std::to_string(key), memoOf(key)};
            table->insert(r);
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            const char done = 1;
            if (::write(progressFd, &done, 1) != 1)
                ::_exit(4);
        }
        ::_exit(0);
    } catch (...) {
        ::_exit(3);
    }
}

// What a reader sees must be a state the writer passed through: rows 1..n, whole.
std::string checkPrefix(const TableFile& table, std::size_t& rows) {
    const auto records = table.readAll();
    if (records.size() < rows)
        return "rows went from " + std::to_string(rows) + " to " + std::to_string(records.size());
    rows = records.size();
    for (std::size_t i = 0; i < records.size(); ++i) {
        const auto key = static_cast<std::int32_t>(i + 1);
        if (records[i][0] != Value(key) || records[i][2] != Value(memoOf(key)))
            return "row " + std::to_string(i + 1) + " is not as written";
    }
    return testenv::checkPrimaryIndex(table);
}

} // namespace

TEST(TableLock, AReaderBesideAWriterInAnotherProcessOnlyEverSeesWholeCommits) {
    Session{}.create("Jegyzet", memoSchema());
    constexpr int kRows = 250;
    int start[2];
    ASSERT_EQ(::pipe(start), 0);
    testenv::Child writer(0, [&](int fd) { writeRows(kRows, fd, start[0]); });
    std::size_t rows = 0;
    int reads = 0;
    for (; rows < static_cast<std::size_t>(kRows) && !::testing::Test::HasFailure(); ++reads) {
        if (reads == 1) {
            const char go = 1;
            ASSERT_EQ(::write(start[1], &go, 1), 1);
        }
        try {
            const auto table = TableFile::open("Jegyzet", {.writable = false});
            const std::string problem = checkPrefix(*table, rows);
            ASSERT_EQ(problem, "") << "read " << reads;
        } catch (const DbError& e) {
            FAIL() << "read " << reads << ": " << e.what();
        }
        if (reads % 25 == 0) { // the dump tool, a separate program, reads it as well
            const auto dump = testenv::run(testenv::tabledump().string() + " Jegyzet.db");
            EXPECT_EQ(dump.exitCode, 0) << "read " << reads;
        }
    }
    const auto result = writer.wait();
    EXPECT_TRUE(result.exited(0)) << "status " << result.status;
    EXPECT_EQ(result.progress, kRows);
    const auto table = TableFile::open("Jegyzet", {.writable = false});
    rows = 0;
    EXPECT_EQ(checkPrefix(*table, rows), "");
    EXPECT_EQ(rows, static_cast<std::size_t>(kRows));
    EXPECT_FALSE(testenv::journalHoldsAChange("Jegyzet.jnl"));
    EXPECT_GT(reads, 2);
    ::close(start[0]);
    ::close(start[1]);
}

// Each writer's rows stay: the second waits while the first has the table open to write,
// so that neither writes from a view of the table the other has changed since.
TEST(TableLock, TwoProcessesWritingOneTableLoseNoRow) {
    Session{}.create("Jegyzet", memoSchema());
    int go[2];
    ASSERT_EQ(::pipe(go), 0);
    const auto writeFrom = [&](std::int32_t first) {
        return [first, &go](int) {
            try {
                Session session;
                auto table = session.open("Jegyzet");
                char start = 0;
                if (::read(go[0], &start, 1) != 1)
                    ::_exit(5);
                for (std::int32_t key = first; key < first + 50; ++key) {
                    Record r{key, "sor", memoOf(key)};
                    table->insert(r);
                }
                ::_exit(0);
            } catch (...) {
                ::_exit(3);
            }
        };
    };
    testenv::Child one(0, writeFrom(1));
    testenv::Child other(0, writeFrom(1001));
    std::this_thread::sleep_for(std::chrono::milliseconds(200)); // both have opened or wait
    ASSERT_EQ(::write(go[1], "gg", 2), 2);
    EXPECT_TRUE(one.wait().exited(0));
    EXPECT_TRUE(other.wait().exited(0));
    EXPECT_EQ(TableFile::open("Jegyzet", {.writable = false})->recordCount(), 100u);
    ::close(go[0]);
    ::close(go[1]);
}

TEST(TableLock, AReaderWaitingTooLongReportsTheTableBusyByName) {
    Session{}.create("Jegyzet", memoSchema());
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    testenv::Child holder(0, [&](int) {
        TableLock lock("Jegyzet.db");
        lock.acquire(TableLock::Side::Exclusive);
        const char go = 1;
        if (::write(ready[1], &go, 1) != 1)
            ::_exit(4);
        ::pause(); // holds it until killed
    });
    char go = 0;
    ASSERT_EQ(::read(ready[0], &go, 1), 1);
    const auto limit = TableLock::waitLimit();
    TableLock::setWaitLimit(std::chrono::milliseconds(200));
    try {
        TableFile::open("Jegyzet", {.writable = false});
        ADD_FAILURE() << "opened under another process's commit";
    } catch (const DbError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Jegyzet.db: a táblát egy másik program használja; próbálja újra később");
    }
    holder.kill();
    holder.wait(); // the system drops the dead holder's lock
    EXPECT_NO_THROW(TableFile::open("Jegyzet", {.writable = false}));
    TableLock::setWaitLimit(limit);
    ::close(ready[0]);
    ::close(ready[1]);
}

TEST(TableLock, AReadOnlyOpenLeavesACrashedCommitsJournalAndFilesUntouched) {
    {
        Session session;
        auto table = session.create("Jegyzet", memoSchema());
        Record r{1000, "első", memoOf(1000)};
        table->insert(r);
    }
    // Dies in the middle of the next commit, its journal complete.
    testenv::Child writer(2, [](int fd) { writeRows(3, fd); });
    const auto result = writer.wait();
    ASSERT_TRUE(result.exited(99)) << "status " << result.status;
    ASSERT_TRUE(testenv::journalHoldsAChange("Jegyzet.jnl"));
    const auto before = [] {
        std::vector<std::string> files;
        for (const char* name : {"Jegyzet.db", "Jegyzet.px", "Jegyzet.mb", "Jegyzet.jnl"})
            files.push_back(testenv::readFile(name));
        return files;
    };
    const auto bytes = before();
    EXPECT_THROW(TableFile::open("Jegyzet", {.writable = false}), DbError);
    EXPECT_NE(testenv::run(testenv::tabledump().string() + " Jegyzet.db >/dev/null").exitCode, 0);
    EXPECT_EQ(before(), bytes);
    // The program's own open rolls it back, and the table reads as before the commit.
    Session session;
    auto table = session.open("Jegyzet");
    EXPECT_FALSE(testenv::journalHoldsAChange("Jegyzet.jnl"));
    EXPECT_EQ(table->file().recordCount(), 1u);
}
