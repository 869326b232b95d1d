// Crash consistency of whole tables: a child process makes a deterministic stream of
// inserts, updates and deletes on a keyed table with blobs and a named index, and dies at every
// low-level step of a commit, or is killed at random; the parent then opens the table (which
// applies the journal) and checks it is sound and holds the state before or after the
// interrupted change.

#include "platform/db/error.h"
#include "platform/db/session.h"
#include "platform/db/table_file.h"
#include "support/child_process.h"
#include "support/fault_vfs.h"
#include "support/journal_state.h"
#include "support/table_check.h"
#include "support/test_env.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <limits>
#include <map>
#include <random>
#include <thread>

using namespace db;

namespace {

using Model = std::map<std::int32_t, Record>;

// Wide records: a few to a block, so that the stream splits, frees and reuses blocks.
TableSchema crashSchema() {
    return {{{"Kod", FieldType::Long, 4, 0},
             {"Nev", FieldType::Alpha, 200, 0},
             {"Ter", FieldType::Number, 8, 0},
             {"Megjegyzes", FieldType::Memo, 11, 0}},
            1};
}

struct Op {
    enum Kind { Insert, Update, Remove } kind = Insert;
    std::int32_t key = 0;
    Record record;
};

// The next change of the stream, chosen from the model alone so that the parent can
// replay it without the table.
Op nextOp(const Model& model, std::mt19937& rng) {
    Op op;
    const unsigned pick = rng() % 10;
    const auto nth = [&] {
        auto it = model.begin();
        std::advance(it, static_cast<long>(rng() % model.size()));
        return it->first;
    };
    if (model.empty() || pick < 5) {
        op.kind = Op::Insert;
        do
            op.key = static_cast<std::int32_t>(rng() % 100000);
        while (model.count(op.key));
    } else {
        op.kind = pick < 8 ? Op::Update : Op::Remove;
        op.key = nth();
    }
    const std::string memo(static_cast<std::size_t>(rng() % 300),
                           static_cast<char>('a' + rng() % 26));
    op.record = {op.key, "tábla " + std::to_string(rng() % 1000),
                 static_cast<double>(rng() % 1000) / 8,
                 memo.empty() ? Value(Null{}) : Value(memo + " ő")};
    return op;
}

void applyToModel(Model& model, const Op& op) {
    if (op.kind == Op::Remove)
        model.erase(op.key);
    else
        model[op.key] = op.record;
}

void applyToTable(SharedTable& table, const Op& op) {
    if (op.kind == Op::Insert) {
        Record r = op.record;
        table.insert(r);
        return;
    }
    const auto pos = table.file().find({op.key});
    if (!pos)
        throw std::runtime_error("record missing");
    if (op.kind == Op::Update)
        table.update(*pos, op.record);
    else
        table.remove(*pos);
}

constexpr int kInitialRows = 60;

// The states of the stream: states[k] after k changes past the initial rows.
std::vector<Model> streamStates(std::uint64_t seed, int changes) {
    std::mt19937 rng(static_cast<std::mt19937::result_type>(seed));
    Model model;
    std::vector<Model> states;
    for (int i = 0; i < kInitialRows + changes; ++i) {
        if (i >= kInitialRows)
            states.push_back(model);
        applyToModel(model, nextOp(model, rng));
    }
    states.push_back(model);
    return states;
}

void createInitialTable(std::uint64_t seed) {
    for (const auto& entry : std::filesystem::directory_iterator("."))
        if (entry.path().stem() == "Crash")
            std::filesystem::remove(entry.path());
    Session session;
    auto table = session.create("Crash.db", crashSchema(), {{"NevInd", {"Nev", "Ter"}, true}});
    std::mt19937 rng(static_cast<std::mt19937::result_type>(seed));
    Model model;
    for (int i = 0; i < kInitialRows; ++i) {
        const Op op = nextOp(model, rng);
        applyToModel(model, op);
        applyToTable(*table, op);
    }
}

// The child: replays the initial rows' choices, then applies `changes` changes,
// reporting one byte after each.
void runStream(std::uint64_t seed, int changes, Durability durability, int progressFd) {
    try {
        std::mt19937 rng(static_cast<std::mt19937::result_type>(seed));
        Model model;
        for (int i = 0; i < kInitialRows; ++i)
            applyToModel(model, nextOp(model, rng));
        Session session(".", durability);
        auto table = session.open("Crash.db");
        for (int i = 0; i < changes; ++i) {
            const Op op = nextOp(model, rng);
            applyToTable(*table, op);
            applyToModel(model, op);
            const char done = 1;
            if (::write(progressFd, &done, 1) != 1)
                ::_exit(4);
        }
        ::_exit(0);
    } catch (...) {
        ::_exit(3);
    }
}

Model tableContent(const TableFile& table) {
    Model content;
    for (const auto& r : table.readAll())
        content[std::get<std::int32_t>(r[0])] = r;
    return content;
}

// After `done` completed changes, the table holds states[done] or states[done + 1], and
// its named index agrees with it without being rebuilt.
void expectConsistent(const std::vector<Model>& states, int done, bool oracle) {
    Session session;
    std::shared_ptr<SharedTable> shared;
    ASSERT_NO_THROW(shared = session.open("Crash.db"));
    ASSERT_FALSE(testenv::journalHoldsAChange("Crash.jnl"));
    EXPECT_TRUE(session.log().empty()) << session.log().front();
    ASSERT_NE(shared->index("NevInd"), nullptr);
    EXPECT_EQ(shared->index("NevInd")->verify(), "");
    const TableFile* table = &shared->file();
    const Model content = tableContent(*table);
    const bool before = content == states[static_cast<std::size_t>(done)];
    const bool after = static_cast<std::size_t>(done + 1) < states.size() &&
                       content == states[static_cast<std::size_t>(done + 1)];
    EXPECT_TRUE(before || after) << "after " << done << " changes the table holds "
                                 << content.size() << " records, expected "
                                 << states[static_cast<std::size_t>(done)].size();
    EXPECT_EQ(testenv::checkPrimaryIndex(*table), "");
    if (oracle) {
        EXPECT_EQ(testenv::compareWithOracle(table->path()), "");
    }
}

} // namespace

TEST(TableCrash, DyingAtEveryStepOfACommitLeavesTheTableBeforeOrAfter) {
    constexpr std::uint64_t kSeed = 11;
    constexpr int kChanges = 12;
    const auto states = streamStates(kSeed, kChanges);
    for (long step = 1;; ++step) {
        SCOPED_TRACE("crash at step " + std::to_string(step));
        createInitialTable(kSeed);
        testenv::Child child(
            step, [&](int fd) { runStream(kSeed, kChanges, Durability::OsBuffers, fd); });
        const auto result = child.wait();
        if (result.exited(0))
            break; // the stream finished before this step: every step was covered
        ASSERT_TRUE(result.exited(99)) << "status " << result.status;
        expectConsistent(states, result.progress, step % 7 == 0);
        if (HasFailure())
            break;
    }
}

// The journal file stays between commits and is emptied at the end of each: the power
// going at any step of one commit after others of the same open table (the disk keeping
// any part of what was not flushed, or none) leaves the table before or after that commit, never as
// before an earlier one (an emptied journal brought back and applied), and never loses a commit
// that returned.
TEST(TableCrash, ThePowerGoingAtAnyStepOfLaterCommitsNeverLosesOrUndoesAReturnedOne) {
    constexpr std::uint64_t kSeed = 23;
    constexpr int kChanges = 4;
    const auto states = streamStates(kSeed, kChanges);
    for (const bool tear : {false, true}) {
        for (long step = 1;; ++step) {
            SCOPED_TRACE(std::string(tear ? "torn write, " : "") + "power cut at step " +
                         std::to_string(step));
            createInitialTable(kSeed);
            testenv::FaultVfs vfs(std::filesystem::current_path());
            int returned = 0;
            {
                std::mt19937 rng(static_cast<std::mt19937::result_type>(kSeed));
                Model model;
                for (int i = 0; i < kInitialRows; ++i)
                    applyToModel(model, nextOp(model, rng));
                Session session(".", Durability::Fsync, &vfs);
                auto table = session.open("Crash.db");
                vfs.cutPowerAt(step, tear ? static_cast<std::uint32_t>(step) : 0);
                try {
                    for (; returned < kChanges; ++returned) {
                        const Op op = nextOp(model, rng);
                        applyToTable(*table, op);
                        applyToModel(model, op);
                    }
                } catch (const DbError&) {
                }
            }
            if (!vfs.powerIsCut()) {
                ASSERT_EQ(returned, kChanges);
                break; // the changes took fewer steps: all were covered
            }
            vfs.restart();
            expectConsistent(states, returned, false);
            if (HasFailure())
                return;
        }
    }
}

TEST(TableCrash, KilledAtRandomMomentsTheTableStaysSound) {
    constexpr std::uint64_t kSeed = 12;
    constexpr int kChanges = 400;
    const auto states = streamStates(kSeed, kChanges);
    std::mt19937 rng(5);
    // The time is shared by the two durabilities; a time asked for is run in full.
    const auto share = std::chrono::duration<double>(testenv::crashSeconds(3) / 2);
    const int maxRuns = testenv::crashTimeGiven() ? std::numeric_limits<int>::max() : 1000;
    for (const auto durability : {Durability::OsBuffers, Durability::Fsync}) {
        const auto deadline = std::chrono::steady_clock::now() + share;
        int runs = 0;
        do {
            createInitialTable(kSeed);
            testenv::Child child(0, [&](int fd) { runStream(kSeed, kChanges, durability, fd); });
            std::this_thread::sleep_for(std::chrono::microseconds(rng() % 40000));
            child.kill();
            const auto result = child.wait();
            SCOPED_TRACE("killed after " + std::to_string(result.progress) + " changes");
            expectConsistent(states, result.progress, runs % 5 == 0);
            ++runs;
        } while (!HasFailure() && std::chrono::steady_clock::now() < deadline && runs < maxRuns);
    }
}
