// A session transaction over several tables: the tables join by being written, nested
// transactions join the outer one, the files change only at the commit, and a rollback
// leaves every data set reading the tables as they were.

#include "platform/db/error.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "save_tables.h"
#include "support/fault_vfs.h"
#include "support/test_env.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace db;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> tableFiles() {
    std::vector<std::string> bytes;
    for (const char* name :
         {"Fej.db", "Fej.px", "Fej.mb", "Fej.XG0", "Fej.YG0", "Tetel.db", "Tetel.px", "Naplo.db"})
        bytes.push_back(fs::exists(name) ? testenv::readFile(name) : "-");
    return bytes;
}

class SessionTransactionTest : public ::testing::Test {
protected:
    SessionTransactionTest() {
        savetables::create(session);
        savetables::save(session, 1);
        committed = savetables::contents(session);
    }
    savetables::Contents onDisk() {
        Session other;
        return savetables::contents(other);
    }
    Session session;
    savetables::Contents committed;
};

} // namespace

TEST_F(SessionTransactionTest, TheFilesChangeOnlyAtTheCommitAndThenAllTogether) {
    TTable fej(session);
    fej.SetTableName("Fej");
    fej.Open();
    const auto files = tableFiles();
    {
        SessionTransaction transaction(session);
        savetables::save(session, 2);
        fej.FlushBuffers(); // nothing to do inside a transaction
        // The session's data sets see the save; the files and other sessions do not.
        EXPECT_EQ(fej.RecordCount(), 2);
        EXPECT_EQ(tableFiles(), files);
        EXPECT_EQ(onDisk(), committed);
        transaction.Commit();
    }
    EXPECT_EQ(onDisk(), savetables::contents(session));
    EXPECT_NE(onDisk(), committed);
    EXPECT_EQ(savetables::checkSound(session), "");
    Session other;
    EXPECT_EQ(savetables::checkSound(other), "");
}

TEST_F(SessionTransactionTest, WithoutCommitEveryDataSetReadsTheTablesAsTheyWere) {
    TTable fej(session);
    TTable naplo(session);
    fej.SetTableName("Fej");
    naplo.SetTableName("Naplo");
    fej.Open();
    naplo.Open();
    const auto files = tableFiles();
    try {
        SessionTransaction transaction(session);
        savetables::save(session, 2);
        EXPECT_EQ(naplo.RecordCount(), 2);
        throw std::runtime_error("a check failed half way");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(session.inTransaction());
    EXPECT_EQ(fej.RecordCount(), 1);
    EXPECT_EQ(naplo.RecordCount(), 1);
    fej.First();
    EXPECT_EQ(fej.FieldByName("Nev").AsString(), "művelet 1");
    EXPECT_EQ(savetables::contents(session), committed);
    EXPECT_EQ(tableFiles(), files);
    // The tables take the next save as usual.
    savetables::save(session, 2);
    EXPECT_EQ(naplo.RecordCount(), 2);
    EXPECT_EQ(savetables::checkSound(session), "");
}

TEST_F(SessionTransactionTest, ANestedTransactionJoinsTheOuterOne) {
    {
        SessionTransaction outer(session);
        {
            SessionTransaction inner(session);
            savetables::save(session, 2);
            inner.Commit(); // the outer one writes
        }
        EXPECT_TRUE(session.inTransaction());
        EXPECT_EQ(onDisk(), committed);
        savetables::save(session, 3);
        outer.Commit();
    }
    EXPECT_EQ(onDisk(), savetables::contents(session));
    EXPECT_EQ(onDisk()[2].size(), 3u); // three log lines
}

TEST_F(SessionTransactionTest, AnInnerRollbackUndoesTheWholeSaveAndItsCommitSaysSo) {
    SessionTransaction outer(session);
    savetables::save(session, 2);
    {
        SessionTransaction inner(session);
        savetables::save(session, 3);
    } // ends without Commit
    EXPECT_EQ(savetables::contents(session), committed);
    EXPECT_THROW(outer.Commit(), DbError);
    EXPECT_FALSE(session.inTransaction());
    EXPECT_EQ(onDisk(), committed);
}

TEST_F(SessionTransactionTest, AFailedPostInsideIsDroppedAloneAndTheRestIsSaved) {
    {
        SessionTransaction transaction(session);
        savetables::save(session, 2);
        Record duplicate{2, "kettő újra", Value(Null{})};
        EXPECT_THROW(session.open("Fej")->insert(duplicate), KeyViolation);
        Record more{99, "még egy", std::string("jegyzet")};
        session.open("Fej")->insert(more);
        transaction.Commit();
    }
    const auto saved = onDisk();
    ASSERT_EQ(saved[0].size(), 3u);
    EXPECT_EQ(saved[0][1][1], Value(std::string("művelet 2")));
    EXPECT_EQ(saved[0][2][1], Value(std::string("még egy")));
    EXPECT_EQ(savetables::checkSound(session), "");
}

// Every call of a commit fails in turn (a full disk, an I/O error): the commit throws,
// and every table is as before, for the session's data sets and on the disk.
TEST(SessionTransactionFaults, ACommitFailingAtAnyCallLeavesEveryTableAsBefore) {
    for (long call = 1;; ++call) {
        SCOPED_TRACE("failing call " + std::to_string(call));
        for (const auto& entry : fs::directory_iterator("."))
            fs::remove(entry.path());
        savetables::Contents before;
        {
            Session setup;
            savetables::create(setup);
            savetables::save(setup, 1);
            before = savetables::contents(setup);
        }
        testenv::FaultVfs vfs(fs::current_path());
        bool committed = false;
        {
            Session faulty(".", Durability::Fsync, &vfs);
            {
                SessionTransaction transaction(faulty);
                savetables::save(faulty, 2);
                vfs.failCall(call);
                try {
                    transaction.Commit();
                    committed = true;
                } catch (const DbError&) {
                }
            }
            if (!committed) {
                EXPECT_EQ(savetables::contents(faulty), before);
            }
        }
        Session after;
        EXPECT_EQ(after.recoverInterruptedChanges(), std::vector<std::string>{});
        const auto now = savetables::contents(after);
        if (committed) {
            EXPECT_NE(now, before);
        } else {
            EXPECT_EQ(now, before);
        }
        EXPECT_EQ(savetables::checkSound(after), "");
        if (committed || HasFailure())
            break;
    }
}
