#include "platform/db/error.h"
#include "platform/db/file_io.h"
#include "platform/db/journal.h"
#include "platform/db/pager.h"
#include "support/forwarding_vfs.h"
#include "support/journal_state.h"
#include "support/test_env.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using db::Durability;
using db::Pager;

namespace {

const fs::path kJournal = "T.JNL";

std::span<const std::uint8_t> bytesOf(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

std::string text(const std::vector<std::uint8_t>& bytes) {
    return {bytes.begin(), bytes.end()};
}

std::string randomText(std::mt19937_64& rng, std::size_t length) {
    std::string s(length, '\0');
    for (char& c : s)
        c = static_cast<char>('a' + rng() % 26);
    return s;
}

void writeFile(const fs::path& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

std::string view(const Pager& pager, int file) {
    return text(pager.read(file, 0, static_cast<std::size_t>(pager.size(file))));
}

// Lowers the file size limit so that writes past `bytes` fail with EFBIG, as a full
// disk would fail them.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

// --- the transaction's view -------------------------------------------------------

TEST(PagerView, ReadsAndFilesFollowAModelOfRandomWritesAndTruncations) {
    std::mt19937_64 rng(3);
    std::string committed = randomText(rng, 10000);
    writeFile("T.DB", committed);
    Pager pager(kJournal, Durability::OsBuffers);
    const int id = pager.attach("T.DB");
    for (int round = 0; round < 40; ++round) {
        pager.begin();
        std::string model = committed;
        for (int op = 0; op < 12; ++op) {
            const std::size_t at = rng() % (model.size() + 3000);
            if (rng() % 5 == 0) {
                model.resize(at, '\0');
                pager.truncate(id, at);
            } else {
                const std::string bytes = randomText(rng, 1 + rng() % 3000);
                if (model.size() < at + bytes.size())
                    model.resize(at + bytes.size(), '\0');
                model.replace(at, bytes.size(), bytes);
                pager.write(id, at, bytesOf(bytes));
            }
            ASSERT_EQ(pager.size(id), model.size());
            const std::size_t from = rng() % (model.size() + 1);
            const std::size_t length = rng() % (model.size() - from + 1);
            ASSERT_EQ(text(pager.read(id, from, length)), model.substr(from, length))
                << "round " << round << " op " << op;
        }
        if (round % 3 == 0) {
            pager.rollback();
        } else {
            pager.commit();
            committed = model;
        }
        ASSERT_EQ(view(pager, id), committed);
        ASSERT_EQ(testenv::readFile("T.DB"), committed);
        ASSERT_FALSE(testenv::journalHoldsAChange(kJournal));
    }
}

// Reads of a file larger than the pages the pager keeps between reads: every read, small
// or large, keeping its pages or passing, shows the committed bytes, also after commits
// that rewrite kept pages and cut or grow the file.
TEST(PagerView, SmallReadsOfALargeFileFollowTheCommitsAsKeptPagesAreReplaced) {
    std::mt19937_64 rng(5);
    std::string committed = randomText(rng, 3 << 20);
    writeFile("T.DB", committed);
    Pager pager(kJournal, Durability::OsBuffers);
    const int id = pager.attach("T.DB");
    for (int round = 0; round < 12; ++round) {
        for (int r = 0; r < 2000; ++r) {
            const std::size_t from = rng() % committed.size();
            const std::size_t length =
                std::min<std::size_t>(committed.size() - from, r % 50 == 0 ? 100000 : rng() % 9000);
            const auto pages = r % 3 == 0 ? db::CachePages::Pass : db::CachePages::Keep;
            ASSERT_EQ(text(pager.read(id, from, length, pages)), committed.substr(from, length))
                << "round " << round << " read " << r;
        }
        pager.begin();
        for (int w = 0; w < 20; ++w) {
            const std::string bytes = randomText(rng, 1 + rng() % 5000);
            const std::size_t at = rng() % committed.size();
            if (committed.size() < at + bytes.size())
                committed.resize(at + bytes.size(), '\0');
            committed.replace(at, bytes.size(), bytes);
            pager.write(id, at, bytesOf(bytes));
        }
        if (round % 4 == 3) {
            committed.resize(committed.size() - 70000);
            pager.truncate(id, committed.size());
        }
        pager.commit();
        ASSERT_EQ(pager.size(id), committed.size());
    }
    ASSERT_EQ(view(pager, id), committed);
}

// Savepoints inside one long transaction: a change dropped alone leaves every byte and
// size as before it (also after truncations and growth), a kept one stays; the commit
// writes the model.
TEST(PagerView, ASavepointRolledBackLeavesTheViewAsBeforeItAndTheCommitWritesTheRest) {
    std::mt19937_64 rng(11);
    std::string committed = randomText(rng, 6000);
    writeFile("T.DB", committed);
    Pager pager(kJournal, Durability::OsBuffers);
    const int id = pager.attach("T.DB");
    const auto change = [&](std::string& model) {
        const std::size_t at = rng() % (model.size() + 3000);
        if (rng() % 4 == 0) {
            model.resize(at, '\0');
            pager.truncate(id, at);
        } else {
            const std::string bytes = randomText(rng, 1 + rng() % 3000);
            if (model.size() < at + bytes.size())
                model.resize(at + bytes.size(), '\0');
            model.replace(at, bytes.size(), bytes);
            pager.write(id, at, bytesOf(bytes));
        }
    };
    for (int round = 0; round < 30; ++round) {
        pager.begin();
        std::string model = committed;
        for (int step = 0; step < 8; ++step) {
            std::string changed = model;
            pager.beginSavepoint();
            for (int op = 0; op < 1 + static_cast<int>(rng() % 5); ++op)
                change(changed);
            ASSERT_EQ(view(pager, id), changed);
            if (rng() % 2 == 0) {
                pager.rollbackToSavepoint();
            } else {
                pager.releaseSavepoint();
                model = changed;
            }
            ASSERT_EQ(pager.size(id), model.size()) << "round " << round << " step " << step;
            ASSERT_EQ(view(pager, id), model) << "round " << round << " step " << step;
        }
        pager.commit();
        committed = model;
        ASSERT_EQ(testenv::readFile("T.DB"), committed) << "round " << round;
    }
}

TEST(PagerView, AFileAttachedUnderASavepointRolledBackIsNotCreated) {
    writeFile("T.DB", "data");
    Pager pager(kJournal, Durability::OsBuffers);
    const int id = pager.attach("T.DB");
    pager.begin();
    pager.write(id, 4, bytesOf("+kept"));
    pager.beginSavepoint();
    const int fresh = pager.attach("T.MB", true);
    pager.write(fresh, 0, bytesOf("blob"));
    pager.write(id, 0, bytesOf("DATA"));
    pager.rollbackToSavepoint();
    EXPECT_EQ(view(pager, fresh), "");
    EXPECT_EQ(view(pager, id), "data+kept");
    pager.commit();
    EXPECT_EQ(testenv::readFile("T.DB"), "data+kept");
    EXPECT_FALSE(fs::exists("T.MB"));
}

TEST(PagerView, ReadPastTheEndNamesTheFile) {
    writeFile("T.DB", "0123456789");
    Pager pager(kJournal, Durability::OsBuffers);
    const int id = pager.attach("T.DB");
    EXPECT_EQ(text(pager.read(id, 10, 0)), "");
    try {
        pager.read(id, 8, 3);
        FAIL() << "no error";
    } catch (const db::DbError& e) {
        EXPECT_EQ(e.file(), "T.DB");
        EXPECT_NE(std::string(e.what()).find("T.DB"), std::string::npos);
    }
    pager.begin();
    pager.truncate(id, 4);
    EXPECT_THROW(pager.read(id, 2, 3), db::DbError);
    EXPECT_THROW(pager.read(id, UINT64_MAX, 1), db::DbError);
}

// --- transactions -----------------------------------------------------------------

TEST(PagerTransaction, RollbackDestructorAndGuardDropWrites) {
    writeFile("T.DB", "original");
    {
        Pager pager(kJournal, Durability::Fsync);
        const int id = pager.attach("T.DB");
        pager.begin();
        pager.write(id, 0, bytesOf("CHANGED!!"));
        pager.rollback();
        EXPECT_EQ(view(pager, id), "original");
        {
            db::Transaction t(pager);
            pager.write(id, 0, bytesOf("guard"));
        }
        EXPECT_FALSE(pager.inTransaction());
        EXPECT_EQ(view(pager, id), "original");
        pager.begin();
        pager.write(id, 0, bytesOf("left open"));
    }
    EXPECT_EQ(testenv::readFile("T.DB"), "original");
    EXPECT_FALSE(testenv::journalHoldsAChange(kJournal));

    Pager pager(kJournal, Durability::Fsync);
    const int id = pager.attach("T.DB");
    {
        db::Transaction t(pager);
        pager.write(id, 8, bytesOf("+"));
        t.commit();
    }
    EXPECT_EQ(testenv::readFile("T.DB"), "original+");
}

TEST(PagerTransaction, MisuseThrowsLogicError) {
    writeFile("T.DB", "x");
    Pager pager(kJournal, Durability::OsBuffers);
    const int id = pager.attach("T.DB");
    EXPECT_THROW(pager.write(id, 0, bytesOf("y")), std::logic_error);
    EXPECT_THROW(pager.commit(), std::logic_error);
    pager.begin();
    EXPECT_THROW(pager.begin(), std::logic_error);
    EXPECT_TRUE(pager.inTransaction());
}

// --- the set of files -------------------------------------------------------------

TEST(PagerFiles, MayCreateFileAppearsOnlyWhenACommitWritesIt) {
    writeFile("T.DB", "data");
    Pager pager(kJournal, Durability::Fsync);
    const int db = pager.attach("T.DB");
    const int mb = pager.attach("T.MB", true);
    EXPECT_EQ(pager.size(mb), 0u);
    pager.begin();
    pager.write(mb, 0, bytesOf("blob"));
    EXPECT_EQ(view(pager, mb), "blob");
    pager.rollback();
    pager.begin();
    pager.write(db, 0, bytesOf("DATA"));
    pager.commit();
    EXPECT_FALSE(fs::exists("T.MB"));
    pager.begin();
    pager.write(mb, 2, bytesOf("ob"));
    pager.commit();
    EXPECT_EQ(testenv::readFile("T.MB"), std::string("\0\0ob", 4));
}

TEST(PagerFiles, AttachRejectsMissingFilesAndFilesOutsideTheJournalFolder) {
    Pager pager("sub/T.JNL", Durability::OsBuffers);
    fs::create_directory("sub");
    writeFile("outside.db", "x");
    try {
        pager.attach("sub/T.DB");
        FAIL() << "no error";
    } catch (const db::DbError& e) {
        EXPECT_EQ(e.file(), "sub/T.DB");
    }
    EXPECT_THROW(pager.attach("outside.db"), db::DbError);
    EXPECT_THROW(pager.attach("sub/../outside.db"), db::DbError);
}

// Opens a read-only table in a read-only folder, changes it and commits; returns what
// went wrong, or "" when reading works and the commit fails cleanly.
std::string readOnlyTableProblems(const std::string& content) {
    Pager pager(kJournal, Durability::Fsync);
    const int id = pager.attach("T.DB");
    if (view(pager, id) != content)
        return "read";
    pager.begin();
    pager.write(id, 0, bytesOf("xyz"));
    try {
        pager.commit();
        return "commit succeeded";
    } catch (const db::DbError& e) {
        if (e.file() != "T.DB")
            return std::string("error names ") + e.what();
    }
    if (pager.inTransaction() || view(pager, id) != content ||
        testenv::journalHoldsAChange(kJournal))
        return "state after the failed commit";
    return "";
}

// As root, the check runs in a child that gives up its privileges, so that the file
// permissions apply.
std::string runUnprivileged(const std::function<std::string()>& check) {
    if (::geteuid() != 0)
        return check();
    int channel[2];
    if (::pipe(channel) != 0)
        return "pipe";
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(channel[0]);
        std::string problems = "cannot drop privileges";
        if (::setgid(65534) == 0 && ::setuid(65534) == 0)
            problems = check();
        const ssize_t written = ::write(channel[1], problems.data(), problems.size());
        ::_exit(written < 0 ? 1 : 0);
    }
    ::close(channel[1]);
    std::string problems;
    char buffer[256];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        problems.append(buffer, static_cast<std::size_t>(n));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return problems;
}

TEST(PagerFiles, ReadOnlyTableIsReadableAndItsCommitFailsCleanly) {
    const std::string content = "read-only content";
    writeFile("T.DB", content);
    fs::permissions("T.DB", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const fs::path dir = fs::current_path();
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                             fs::perms::group_exec | fs::perms::others_read |
                             fs::perms::others_exec);
    const std::string problems = runUnprivileged([&] { return readOnlyTableProblems(content); });
    fs::permissions(dir, fs::perms::owner_all);
    EXPECT_EQ(problems, "");
    EXPECT_EQ(testenv::readFile("T.DB"), content);
}

TEST(PagerFiles, LeftoverJournalBlocksCommitAndStaysIntact) {
    writeFile("T.DB", "data");
    writeFile(kJournal, "left by a crash");
    Pager pager(kJournal, Durability::OsBuffers);
    const int id = pager.attach("T.DB");
    pager.begin();
    pager.write(id, 0, bytesOf("DATA"));
    EXPECT_THROW(pager.commit(), db::DbError);
    EXPECT_EQ(testenv::readFile(kJournal), "left by a crash");
    EXPECT_EQ(testenv::readFile("T.DB"), "data");
    EXPECT_EQ(view(pager, id), "data");
}

// --- I/O errors during commit -----------------------------------------------------

// The system's files, but the n-th write to a journal reaches the file and then reports
// an error, as a disk failing after the data went out may; with `diesAfter`, every later
// write fails without reaching the file.
class LateWriteErrorVfs final : public testenv::ForwardingVfs {
public:
    LateWriteErrorVfs(int failing, bool diesAfter) : failing_(failing), diesAfter_(diesAfter) {}

private:
    std::unique_ptr<db::io::FileHandle> wrap(std::unique_ptr<db::io::FileHandle> real,
                                             const fs::path& path) override {
        if (path.extension() != ".JNL")
            return real;
        return std::make_unique<Handle>(std::move(real), path, *this);
    }

    class Handle final : public testenv::ForwardingHandle {
    public:
        Handle(std::unique_ptr<db::io::FileHandle> real, fs::path path, LateWriteErrorVfs& vfs)
            : ForwardingHandle(std::move(real), std::move(path)), vfs_(vfs) {}
        void writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) override {
            const int n = ++vfs_.writes_;
            if (n > vfs_.failing_ && vfs_.diesAfter_)
                throw db::DbError(path(), "the disk is gone");
            real().writeAt(offset, bytes);
            if (n == vfs_.failing_)
                throw db::DbError(path(), "write error");
        }

    private:
        LateWriteErrorVfs& vfs_;
    };

    int writes_ = 0;
    int failing_;
    bool diesAfter_;
};

// The commit's last writes empty the journal (its first bytes, then its checksum). One of
// them failing after it reached the file leaves a journal that no longer restores
// anything: it is put back whole and the change undone, or, when even that fails, the
// pager refuses further work and the disk holds the whole change.
TEST(PagerCommitError, AFailureWhileTheJournalIsEmptiedUndoesTheChangeOrStopsThePager) {
    for (const bool diesAfter : {false, true}) {
        for (const int failing : {2, 3}) {
            SCOPED_TRACE("write " + std::to_string(failing) + (diesAfter ? ", disk gone" : ""));
            writeFile("T.DB", "data");
            fs::remove(kJournal);
            LateWriteErrorVfs vfs(failing, diesAfter);
            Pager pager(kJournal, Durability::Fsync, &vfs);
            const int id = pager.attach("T.DB");
            pager.begin();
            pager.write(id, 0, bytesOf("DATA"));
            EXPECT_THROW(pager.commit(), db::DbError);
            if (!diesAfter) {
                EXPECT_EQ(testenv::readFile("T.DB"), "data");
                EXPECT_EQ(view(pager, id), "data");
                EXPECT_FALSE(testenv::journalHoldsAChange(kJournal));
                continue;
            }
            EXPECT_THROW(view(pager, id), db::DbError);
            Pager::recover(kJournal);
            EXPECT_FALSE(testenv::journalHoldsAChange(kJournal));
            EXPECT_EQ(testenv::readFile("T.DB"), "DATA");
        }
    }
}

TEST(PagerCommitError, JournalWriteFailureLeavesFilesAndViewUnchanged) {
    std::mt19937_64 rng(5);
    const std::string content = randomText(rng, 64 * 1024);
    writeFile("T.DB", content);
    Pager pager(kJournal, Durability::Fsync);
    const int id = pager.attach("T.DB");
    pager.begin();
    pager.write(id, 0, bytesOf(std::string(40 * 1024, 'x'))); // a journal over the limit
    try {
        FileSizeLimit limit(32 * 1024);
        pager.commit();
        FAIL() << "no error";
    } catch (const db::DbError& e) {
        EXPECT_EQ(e.file(), kJournal);
    }
    EXPECT_FALSE(pager.inTransaction());
    EXPECT_FALSE(testenv::journalHoldsAChange(kJournal));
    EXPECT_EQ(testenv::readFile("T.DB"), content);
    EXPECT_EQ(view(pager, id), content);
}

TEST(PagerCommitError, FileWriteFailureRestoresFilesAtOnce) {
    writeFile("T.DB", std::string(4096, 'd'));
    Pager pager(kJournal, Durability::Fsync);
    const int mb = pager.attach("T.MB", true);
    const int db = pager.attach("T.DB");
    pager.begin();
    pager.write(mb, 0, bytesOf("blob"));
    pager.write(db, 0, bytesOf("header"));
    pager.write(db, 40 * 1024, bytesOf("past the limit"));
    EXPECT_EQ(text(pager.read(db, 0, 8)), "headerdd");
    try {
        FileSizeLimit limit(32 * 1024);
        pager.commit();
        FAIL() << "no error";
    } catch (const db::DbError& e) {
        EXPECT_EQ(e.file(), "T.DB");
    }
    EXPECT_FALSE(testenv::journalHoldsAChange(kJournal));
    EXPECT_FALSE(fs::exists("T.MB"));
    EXPECT_EQ(testenv::readFile("T.DB"), std::string(4096, 'd'));
    EXPECT_EQ(pager.size(db), 4096u);
    EXPECT_EQ(pager.size(mb), 0u);
    EXPECT_EQ(view(pager, db), std::string(4096, 'd'));

    pager.begin(); // the pager goes on working
    pager.write(mb, 0, bytesOf("blob"));
    pager.commit();
    EXPECT_EQ(testenv::readFile("T.MB"), "blob");
}

// --- journals left by a crash -------------------------------------------------------

// A commit that changes T.DB, its written part ending in a gap, and creates T.MB.
void changeWithAGap(bool gap) {
    Pager pager(kJournal, Durability::OsBuffers);
    const int db = pager.attach("T.DB");
    const int mb = pager.attach("T.MB", true);
    pager.begin();
    pager.write(db, 10, bytesOf("changed"));
    pager.write(db, 3000, bytesOf("changed"));
    pager.truncate(db, 3500);
    if (gap)
        pager.write(db, 3600, bytesOf("end"));
    pager.write(mb, 0, bytesOf("blob"));
    pager.commit();
}

// Leaves the journal of that commit, by a child that dies right after writing it;
// returns the journal's bytes.
std::string journalOfInterruptedCommit(bool gap = false) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("FARM_PAGER_CRASH_AFTER", "1", 1);
        changeWithAGap(gap);
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 99);
    return testenv::readFile(kJournal);
}

TEST(PagerJournal, DamagedJournalIsDeletedWithoutTouchingFiles) {
    std::mt19937_64 rng(9);
    const std::string original = randomText(rng, 4096);
    writeFile("T.DB", original);
    const std::string journal = journalOfInterruptedCommit();
    ASSERT_GT(journal.size(), 600u); // the cut-off tail is in it
    // Files as a half-done commit leaves them: recovery must not touch them.
    std::string half = original;
    half.replace(10, 7, "changed");
    half.resize(3500);
    writeFile("T.DB", half);
    writeFile("T.MB", "bl");
    auto expectUntouched = [&](const std::string& what) {
        db::Pager::recover(kJournal);
        ASSERT_FALSE(testenv::journalHoldsAChange(kJournal)) << what;
        ASSERT_TRUE(testenv::readFile("T.DB") == half) << what;
        ASSERT_EQ(testenv::readFile("T.MB"), "bl") << what;
    };
    for (std::size_t length = 0; length < journal.size(); ++length) {
        writeFile(kJournal, journal.substr(0, length));
        expectUntouched("cut to " + std::to_string(length));
    }
    for (std::size_t at = 0; at < journal.size(); ++at) {
        std::string damaged = journal;
        damaged[at] = static_cast<char>(damaged[at] ^ (1 << (at % 8)));
        writeFile(kJournal, damaged);
        expectUntouched("byte " + std::to_string(at) + " flipped");
    }
    writeFile(kJournal, journal);
    db::Pager::recover(kJournal);
    EXPECT_FALSE(testenv::journalHoldsAChange(kJournal));
    EXPECT_TRUE(testenv::readFile("T.DB") == original);
    EXPECT_FALSE(fs::exists("T.MB"));
}

// A whole journal beside files holding all of its change (a power cut kept the journal
// but not its emptying) is left over: recovery keeps the change. Files missing any of
// it (a written or zeroed byte, the size, a created file) are restored, and so are
// those of a journal as earlier versions wrote it, which does not say what the change
// leaves.
TEST(PagerJournal, AWholeJournalBesideTheWholeChangeKeepsItAndAnyOtherRestores) {
    std::mt19937_64 rng(13);
    const std::string original = randomText(rng, 4096);
    writeFile("T.DB", original);
    const std::string journal = journalOfInterruptedCommit(true);
    ASSERT_TRUE(Pager::recover(kJournal));
    changeWithAGap(true);
    const std::string changed = testenv::readFile("T.DB");
    ASSERT_EQ(changed.size(), 3603u);
    const auto leave = [&](const std::string& db, const std::string& mb, const std::string& jnl) {
        writeFile("T.DB", db);
        writeFile("T.MB", mb);
        writeFile(kJournal, jnl);
    };
    leave(changed, "blob", journal);
    EXPECT_FALSE(Pager::recover(kJournal));
    EXPECT_FALSE(testenv::journalHoldsAChange(kJournal));
    EXPECT_EQ(testenv::readFile("T.DB"), changed);
    EXPECT_EQ(testenv::readFile("T.MB"), "blob");
    const auto with = [&](std::size_t at, char c) {
        std::string s = changed;
        s[at] = c;
        return s;
    };
    const std::vector<std::pair<std::string, std::string>> parts{{with(3004, 'X'), "blob"},
                                                                 {with(3550, 'X'), "blob"},
                                                                 {changed + "+", "blob"},
                                                                 {changed, "blo"}};
    for (const auto& [db, mb] : parts) {
        leave(db, mb, journal);
        EXPECT_TRUE(Pager::recover(kJournal));
        EXPECT_TRUE(testenv::readFile("T.DB") == original);
        EXPECT_FALSE(fs::exists("T.MB"));
    }
    // An earlier version's journal of a change of "0123456789" into "01AB45".
    static const char kEarlier[] =
        "FARMJNL1\x59\0\0\0\0\0\0\0\x01\0\0\0\x02\0\0\0\x04\0T.DB\x01\x0a\0\0\0\0\0\0\0"
        "\0\0\0\0\x02\0\0\0\0\0\0\0\x02\0\0\0\0\0\0\0"
        "23"
        "\0\0\0\0\x06\0\0\0\0\0\0\0\x04\0\0\0\0\0\0\0"
        "6789\x7c\xb9\xd8\xa7";
    static_assert(sizeof kEarlier == 90);
    fs::remove("T.MB");
    writeFile("T.DB", "01AB45");
    writeFile(kJournal, std::string(kEarlier, sizeof kEarlier - 1));
    EXPECT_TRUE(Pager::recover(kJournal));
    EXPECT_EQ(testenv::readFile("T.DB"), "0123456789");
}

// An emptied journal keeps its room, so that the next commit's journal changes no file
// size, unless it is larger than is worth keeping. Its checksum is zeroed with its magic:
// should the next journal's first bytes alone reach the disk, alike to the old ones, the
// old journal does not count again (it would undo the commit before).
TEST(PagerJournal, AnEmptiedJournalKeepsItsRoomAndItsOldBytesNeverCountAgain) {
    writeFile("T.DB", "data");
    const auto commit = [](const std::string& bytes) {
        Pager pager(kJournal, Durability::OsBuffers);
        const int id = pager.attach("T.DB");
        pager.begin();
        pager.write(id, 0, bytesOf(bytes));
        pager.commit();
    };
    commit("DATA");
    const std::string emptied = testenv::readFile(kJournal);
    ASSERT_GT(emptied.size(), db::kJournalMarkSize + db::kJournalChecksumSize);
    EXPECT_FALSE(testenv::journalHoldsAChange(kJournal));

    std::string torn = emptied;
    std::string head = "FARMJNL1";
    for (int i = 0; i < 8; ++i)
        head.push_back(static_cast<char>(emptied.size() >> (8 * i)));
    torn.replace(0, head.size(), head);
    writeFile(kJournal, torn);
    EXPECT_FALSE(Pager::recover(kJournal));
    EXPECT_EQ(testenv::readFile("T.DB"), "DATA");

    commit("Data");
    EXPECT_EQ(testenv::readFile("T.DB"), "Data");
    EXPECT_EQ(fs::file_size(kJournal), emptied.size());
    writeFile("T.DB", std::string(std::size_t{3} << 20, 'a'));
    commit(std::string(std::size_t{3} << 20, 'b'));
    EXPECT_EQ(fs::file_size(kJournal), 0u);
}

TEST(PagerJournal, JournalNamingAFileOutsideItsFolderIsRejected) {
    fs::create_directory("sub");
    writeFile("x", "outside");
    const fs::path journalPath = "sub/T.JNL";
    const std::vector<std::string> names{"../x", "a/../../x", fs::absolute("x").string()};
    for (const std::string& name : names) {
        db::JournalBuilder builder;
        builder.addFile({name, 7});
        const auto region = builder.addRegion(0, 0, 3);
        std::fill(region.begin(), region.end(), 'Z');
        const auto bytes = std::move(builder).finish();
        writeFile(journalPath, text(bytes));
        try {
            db::Pager::recover(journalPath);
            FAIL() << name << " followed";
        } catch (const db::DbError& e) {
            EXPECT_EQ(e.file(), journalPath) << name;
        }
        EXPECT_EQ(testenv::readFile("x"), "outside") << name;
        EXPECT_TRUE(testenv::journalHoldsAChange(journalPath)) << name;
    }
}

} // namespace
