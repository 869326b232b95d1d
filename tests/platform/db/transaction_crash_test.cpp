// Crash consistency of a save over three tables (one with a memo and a named index):
// the process dies, or the power goes (the test file layer), at every step of the
// commit, at random moments, and during the recovery itself. After recovery every table
// is as before the save or every table as after it, each agrees with its indexes, and
// with Durability::Fsync a commit that returned is never lost.
// FARM_CRASH_SECONDS lengthens the random runs.

#include "platform/db/error.h"
#include "platform/db/session.h"
#include "save_tables.h"
#include "support/child_process.h"
#include "support/fault_vfs.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <iostream>
#include <limits>
#include <random>
#include <thread>
#include <unistd.h>

using namespace db;
namespace fs = std::filesystem;

namespace {

// Removes the files of the folder (not its sub-folders).
void clearFolder(const fs::path& dir = ".") {
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.is_regular_file())
            fs::remove(entry.path());
}

// The tables after `saves` saves (each one transaction), in the working folder: made
// once in a folder of their own, then copied.
savetables::Contents makeTables(int saves) {
    const fs::path made = "made-" + std::to_string(saves);
    if (!fs::exists(made)) {
        fs::create_directory(made);
        Session session(made);
        savetables::create(session);
        for (int k = 1; k <= saves; ++k) {
            SessionTransaction transaction(session);
            savetables::save(session, k);
            transaction.Commit();
        }
    }
    clearFolder();
    for (const auto& entry : fs::directory_iterator(made))
        fs::copy_file(entry.path(), entry.path().filename());
    Session session;
    return savetables::contents(session);
}

// The states of the tables after 1, 2, ... `saves` saves: states[k - 1] after k.
std::vector<savetables::Contents> statesUpTo(int saves) {
    fs::create_directory("model");
    std::vector<savetables::Contents> states;
    clearFolder("model");
    {
        Session session("model");
        savetables::create(session);
        for (int k = 1; k <= saves; ++k) {
            SessionTransaction transaction(session);
            savetables::save(session, k);
            transaction.Commit();
            states.push_back(savetables::contents(session));
        }
    }
    clearFolder("model");
    return states;
}

void progressByte(int fd) {
    const char done = 1;
    if (::write(fd, &done, 1) != 1)
        ::_exit(4);
}

// Save 2 in one transaction through `vfs`; true when the commit returned.
bool saveThrough(testenv::FaultVfs& vfs, Durability durability,
                 const std::function<void()>& beforeCommit) {
    Session session(".", durability, &vfs);
    SessionTransaction transaction(session);
    savetables::save(session, 2);
    beforeCommit();
    try {
        transaction.Commit();
        return true;
    } catch (const DbError&) {
        return false;
    }
}

// The program starts again: recovery, then every table as `before` or every one as
// `after` (`after` alone when the commit had returned and must not be lost).
void expectBeforeOrAfter(const savetables::Contents& before, const savetables::Contents& after,
                         bool mustBeAfter) {
    // Through the test layer only so that recovery's flushes cost no real disk time.
    testenv::FaultVfs vfs(fs::current_path());
    Session session(".", Durability::OsBuffers, &vfs);
    session.recoverInterruptedChanges();
    const auto now = savetables::contents(session);
    if (mustBeAfter) {
        EXPECT_TRUE(now == after) << "an acknowledged save was lost";
    } else {
        EXPECT_TRUE(now == before || now == after) << "the tables hold a part of the save";
    }
    EXPECT_EQ(savetables::checkSound(session), "");
}

// The steps of writing the file of the checked indexes anew as a save lets its tables go.
constexpr long kCheckedIndexSteps = 3;

struct Runs {
    savetables::Contents before, after;
};

Runs beforeAndAfter() {
    Runs runs;
    runs.after = makeTables(2);
    runs.before = makeTables(1);
    return runs;
}

} // namespace

TEST(SaveCrash, ThePowerGoingAtEveryStepOfTheCommitLeavesTheSaveWholeOrUndone) {
    const Runs runs = beforeAndAfter();
    struct Mode {
        Durability durability;
        bool tear;
    };
    // The disk keeping nothing unflushed, or (`tear`) any part of it: the latter is
    // survived only where every step is flushed before the next (below, with every
    // seed).
    for (const Mode mode : {Mode{Durability::OsBuffers, false}, Mode{Durability::Fsync, false},
                            Mode{Durability::Fsync, true}}) {
        for (long step = 1;; ++step) {
            SCOPED_TRACE("durability " + std::to_string(static_cast<int>(mode.durability)) +
                         (mode.tear ? ", unflushed writes kept in part" : "") +
                         ", power cut at step " + std::to_string(step));
            makeTables(1);
            testenv::FaultVfs vfs(fs::current_path());
            const bool acknowledged = saveThrough(vfs, mode.durability, [&] {
                vfs.cutPowerAt(step, mode.tear ? static_cast<std::uint32_t>(step) : 0);
            });
            if (!vfs.powerIsCut()) {
                ASSERT_TRUE(acknowledged);
                break; // the commit has fewer steps: all were covered
            }
            vfs.restart();
            expectBeforeOrAfter(runs.before, runs.after,
                                acknowledged && mode.durability == Durability::Fsync);
            if (HasFailure())
                return;
        }
    }
}

// Two saves in a row, the power going at any of their steps with the disk keeping any
// part of what was not flushed: at the program's durability (Fsync) every table opens
// sound after recovery and holds whole saves only, none that returned lost. The same
// cuts under OsBuffers are counted for the record: that durability does not promise it.
TEST(SaveCrash, ThePowerGoingWithAnyUnflushedPartOnTheDiskLeavesWholeSaves) {
    const auto states = statesUpTo(3);
    const auto saveTwice = [](testenv::FaultVfs& vfs, Durability durability) {
        int returned = 0;
        Session session(".", durability, &vfs);
        try {
            for (int k = 2; k <= 3; ++k, ++returned) {
                SessionTransaction transaction(session);
                savetables::save(session, k);
                transaction.Commit();
            }
        } catch (const DbError&) {
        }
        return returned;
    };
    const int cuts = testenv::crashTimeGiven() ? 1200 : 150;
    for (const auto durability : {Durability::Fsync, Durability::OsBuffers}) {
        long steps = 0;
        {
            makeTables(1);
            testenv::FaultVfs vfs(fs::current_path());
            ASSERT_EQ(saveTwice(vfs, durability), 2);
            steps = vfs.steps();
        }
        int unopenable = 0, unsound = 0, partial = 0, lost = 0;
        for (int cut = 1; cut <= cuts; ++cut) {
            makeTables(1);
            testenv::FaultVfs vfs(fs::current_path());
            vfs.cutPowerAt(1 + cut % steps, static_cast<std::uint32_t>(cut));
            const int returned = saveTwice(vfs, durability);
            vfs.restart();
            try {
                testenv::FaultVfs after(fs::current_path()); // no real disk time
                Session session(".", Durability::OsBuffers, &after);
                session.recoverInterruptedChanges();
                const auto now = savetables::contents(session);
                const auto at = std::find(states.begin(), states.end(), now);
                unsound += !savetables::checkSound(session).empty();
                partial += at == states.end();
                lost += at != states.end() && at - states.begin() < returned;
            } catch (const std::exception&) {
                ++unopenable;
            }
        }
        const bool fsync = durability == Durability::Fsync;
        std::cout << (fsync ? "Fsync" : "OsBuffers") << ": " << cuts << " power cuts, "
                  << unopenable << " left a table unopenable, " << unsound << " unsound, "
                  << partial << " a part of a save, " << lost << " lost a save that returned\n";
        if (fsync) {
            EXPECT_EQ(unopenable + unsound + partial + lost, 0);
        }
    }
}

TEST(SaveCrash, DyingAtEveryStepOfTheCommitLeavesTheSaveWholeOrUndone) {
    const Runs runs = beforeAndAfter();
    for (const auto durability : {Durability::OsBuffers, Durability::Fsync}) {
        for (long step = 1;; ++step) {
            SCOPED_TRACE("durability " + std::to_string(static_cast<int>(durability)) +
                         ", dying after step " + std::to_string(step));
            makeTables(1);
            testenv::Child child(0, [&](int fd) {
                testenv::FaultVfs vfs(fs::current_path());
                if (saveThrough(vfs, durability, [&] { vfs.killAfter(step); }))
                    progressByte(fd);
                ::_exit(0);
            });
            const auto result = child.wait();
            if (result.exited(0)) {
                ASSERT_EQ(result.progress, 1);
                break;
            }
            ASSERT_TRUE(result.exited(99)) << "status " << result.status;
            expectBeforeOrAfter(runs.before, runs.after, false);
            if (HasFailure())
                return;
        }
    }
}

TEST(SaveCrash, DyingDuringRecoveryAtEveryStepRecoversOnTheNextStart) {
    const Runs runs = beforeAndAfter();
    // How many steps the commit takes; dying just before the super-journal goes leaves
    // every table written and the group to be rolled back.
    long steps = 0;
    {
        makeTables(1);
        testenv::FaultVfs vfs(fs::current_path());
        ASSERT_TRUE(saveThrough(vfs, Durability::OsBuffers, [] {}));
        steps = vfs.steps();
    }
    // Then: the super-journal, three journals, the file of the checked indexes.
    const long lastBeforeTheEnd = steps - 4 - kCheckedIndexSteps;
    fs::create_directory("crashed");
    makeTables(1);
    {
        testenv::Child child(0, [&](int) {
            testenv::FaultVfs vfs(fs::current_path());
            saveThrough(vfs, Durability::OsBuffers, [&] { vfs.killAfter(lastBeforeTheEnd); });
            ::_exit(0);
        });
        ASSERT_TRUE(child.wait().exited(99));
    }
    std::size_t superJournals = 0;
    for (const auto& entry : fs::directory_iterator(".")) {
        if (entry.is_regular_file())
            fs::copy_file(entry.path(), "crashed" / entry.path().filename());
        superJournals += entry.path().extension() == ".sjnl";
    }
    ASSERT_EQ(superJournals, 1u);
    for (long step = 1;; ++step) {
        SCOPED_TRACE("recovery dying after step " + std::to_string(step));
        clearFolder();
        for (const auto& entry : fs::directory_iterator("crashed"))
            fs::copy_file(entry.path(), entry.path().filename());
        testenv::Child child(0, [&](int) {
            testenv::FaultVfs vfs(fs::current_path());
            vfs.killAfter(step);
            Session session(".", Durability::OsBuffers, &vfs);
            session.recoverInterruptedChanges();
            ::_exit(0);
        });
        const auto result = child.wait();
        expectBeforeOrAfter(runs.before, runs.before, false);
        if (result.exited(0) || HasFailure())
            break;
        ASSERT_TRUE(result.exited(99)) << "status " << result.status;
    }
}

TEST(SaveCrash, KilledAtRandomMomentsEverySaveIsWholeOrUndone) {
    constexpr int kSaves = 40;
    const auto states = statesUpTo(kSaves);
    std::mt19937 rng(7);
    const auto share = std::chrono::duration<double>(testenv::crashSeconds(2) / 2);
    const int maxRuns = testenv::crashTimeGiven() ? std::numeric_limits<int>::max() : 500;
    for (const auto durability : {Durability::OsBuffers, Durability::Fsync}) {
        const auto deadline = std::chrono::steady_clock::now() + share;
        int runs = 0;
        do {
            makeTables(1);
            testenv::Child child(0, [&](int fd) {
                Session session(".", durability);
                for (int k = 2; k <= kSaves; ++k) {
                    SessionTransaction transaction(session);
                    savetables::save(session, k);
                    transaction.Commit();
                    progressByte(fd);
                }
                ::_exit(0);
            });
            std::this_thread::sleep_for(std::chrono::microseconds(rng() % 30000));
            child.kill();
            const auto result = child.wait();
            SCOPED_TRACE("killed after " + std::to_string(result.progress) + " saves");
            const std::size_t done = static_cast<std::size_t>(result.progress) + 1; // save 1 too
            ASSERT_LE(done, states.size());
            Session session;
            session.recoverInterruptedChanges();
            const auto now = savetables::contents(session);
            const bool before = now == states[done - 1];
            const bool after = done < states.size() && now == states[done];
            EXPECT_TRUE(before || after);
            EXPECT_EQ(savetables::checkSound(session), "");
            ++runs;
        } while (!HasFailure() && std::chrono::steady_clock::now() < deadline && runs < maxRuns);
    }
}

TEST(SaveCrash, JournalsLeftOverByASaveThatWasMadeAreDeletedWithoutTouchingTheTables) {
    const Runs runs = beforeAndAfter();
    long steps = 0;
    {
        makeTables(1);
        testenv::FaultVfs vfs(fs::current_path());
        ASSERT_TRUE(saveThrough(vfs, Durability::OsBuffers, [] {}));
        steps = vfs.steps();
    }
    makeTables(1);
    {
        // Dies right after the super-journal is deleted: the save is made, the three
        // table journals are still there.
        testenv::Child child(0, [&](int) {
            testenv::FaultVfs vfs(fs::current_path());
            saveThrough(vfs, Durability::OsBuffers,
                        [&] { vfs.killAfter(steps - 3 - kCheckedIndexSteps); });
            ::_exit(0);
        });
        ASSERT_TRUE(child.wait().exited(99));
    }
    fs::create_directory("left");
    int journals = 0;
    for (const auto& entry : fs::directory_iterator("."))
        if (entry.path().extension() == ".jnl") {
            fs::copy_file(entry.path(), "left" / entry.path().filename());
            ++journals;
        }
    ASSERT_EQ(journals, 3);
    expectBeforeOrAfter(runs.before, runs.after, true);
    // Such a journal found by a commit of an open table is deleted as well.
    Session session;
    session.open("Fej");
    for (const auto& entry : fs::directory_iterator("left"))
        fs::copy_file(entry.path(), entry.path().filename());
    Record row{77, "még egy", Value(Null{})};
    EXPECT_NO_THROW(session.open("Fej")->insert(row));
    EXPECT_EQ(session.open("Fej")->file().recordCount(), 3u);
}
