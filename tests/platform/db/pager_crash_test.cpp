// Crash consistency of the pager: child processes run a deterministic stream of
// commits on three files and die at every step (FARM_PAGER_CRASH_AFTER) or at random
// times (SIGKILL); after recovery the files must hold a state the stream passed through.
// FARM_CRASH_SECONDS lengthens the runs.

#include "platform/db/pager.h"
#include "support/child_process.h"
#include "support/journal_state.h"

#include <array>
#include <chrono>
#include <deque>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using testenv::Child;
using testenv::ChildResult;
using testenv::crashSeconds;

namespace {

constexpr int kFiles = 3;
const std::array<const char*, kFiles> kNames{"TABLA.DB", "TABLA.PX", "TABLA.MB"};
const fs::path kJournal = "TABLA.JNL";

struct FileState {
    bool exists = false;
    std::string bytes;
    bool operator==(const FileState&) const = default;
};
using State = std::array<FileState, kFiles>;
using Sizes = std::array<std::uint64_t, kFiles>;

struct Op {
    int file = 0;
    bool truncate = false;
    std::uint64_t offset = 0; // or the new size of a truncation
    std::string bytes;
};

std::string randomBytes(std::mt19937_64& rng, std::size_t length) {
    std::string bytes(length, '\0');
    for (char& c : bytes)
        c = static_cast<char>(rng());
    return bytes;
}

// The changes of commit `k` (1-based) of stream `seed`; they depend only on the seed, k
// and the file sizes before the commit. Commit 1 writes all three files (creating the
// third); files stay under 64 KiB.
std::vector<Op> commitOps(std::uint64_t seed, int k, Sizes sizes) {
    std::mt19937_64 rng(seed * 1000003 + static_cast<std::uint64_t>(k));
    std::vector<Op> ops;
    if (k == 1)
        for (int f = 0; f < kFiles; ++f)
            ops.push_back({f, false, rng() % 4096, randomBytes(rng, 1 + rng() % 2048)});
    const int count = 1 + static_cast<int>(rng() % 4);
    for (int i = 0; i < count; ++i) {
        Op op;
        op.file = static_cast<int>(rng() % kFiles);
        op.truncate = rng() % 6 == 0;
        const std::uint64_t size = sizes[static_cast<std::size_t>(op.file)];
        if (op.truncate) {
            op.offset = rng() % (size + 4096);
        } else {
            op.offset = rng() % (std::min<std::uint64_t>(size, 56 * 1024) + 2048);
            op.bytes = randomBytes(rng, 1 + rng() % 4096);
        }
        ops.push_back(op);
    }
    for (const Op& op : ops) {
        auto& size = sizes[static_cast<std::size_t>(op.file)];
        size = op.truncate ? op.offset : std::max(size, op.offset + op.bytes.size());
    }
    return ops;
}

Sizes sizesOf(const State& state) {
    Sizes sizes{};
    for (int f = 0; f < kFiles; ++f)
        sizes[static_cast<std::size_t>(f)] = state[static_cast<std::size_t>(f)].bytes.size();
    return sizes;
}

State applied(State state, const std::vector<Op>& ops) {
    for (const Op& op : ops) {
        FileState& file = state[static_cast<std::size_t>(op.file)];
        file.exists = true;
        if (op.truncate) {
            file.bytes.resize(op.offset);
            continue;
        }
        if (file.bytes.size() < op.offset + op.bytes.size())
            file.bytes.resize(op.offset + op.bytes.size());
        file.bytes.replace(op.offset, op.bytes.size(), op.bytes);
    }
    return state;
}

State initialState() {
    std::mt19937_64 rng(7);
    State state;
    state[0] = {true, randomBytes(rng, 3 * 2048)};
    state[1] = {true, randomBytes(rng, 2048)};
    return state;
}

// The states a stream passes through, computed on demand; old ones are dropped.
class Stream {
public:
    explicit Stream(std::uint64_t seed) : seed_(seed), states_{initialState()} {}
    const State& at(int k) {
        while (first_ + static_cast<int>(states_.size()) <= k) {
            const int next = first_ + static_cast<int>(states_.size());
            const State& last = states_.back();
            states_.push_back(applied(last, commitOps(seed_, next, sizesOf(last))));
        }
        return states_[static_cast<std::size_t>(k - first_)];
    }
    void forgetBefore(int k) {
        while (first_ < k && states_.size() > 1) {
            states_.pop_front();
            ++first_;
        }
    }

private:
    std::uint64_t seed_;
    std::deque<State> states_;
    int first_ = 0;
};

void writeState(const State& state) {
    for (int f = 0; f < kFiles; ++f) {
        const FileState& file = state[static_cast<std::size_t>(f)];
        fs::remove(kNames[static_cast<std::size_t>(f)]);
        if (file.exists)
            std::ofstream(kNames[static_cast<std::size_t>(f)], std::ios::binary) << file.bytes;
    }
    fs::remove(kJournal);
}

State diskState() {
    State state;
    for (int f = 0; f < kFiles; ++f) {
        std::ifstream in(kNames[static_cast<std::size_t>(f)], std::ios::binary);
        if (!in)
            continue;
        FileState& file = state[static_cast<std::size_t>(f)];
        file.exists = true;
        file.bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    return state;
}

// Runs commits from..to (to < 0: forever) of stream `seed` on the files; writes one
// byte to `progress` after each commit. Meant for a child process: never returns.
[[noreturn]] void runCommits(std::uint64_t seed, db::Durability durability, int from, int to,
                             int progress) {
    try {
        db::Pager pager(kJournal, durability);
        std::array<int, kFiles> ids{};
        for (int f = 0; f < kFiles; ++f)
            ids[static_cast<std::size_t>(f)] =
                pager.attach(kNames[static_cast<std::size_t>(f)], true);
        for (int k = from; to < 0 || k <= to; ++k) {
            Sizes sizes{};
            for (int f = 0; f < kFiles; ++f)
                sizes[static_cast<std::size_t>(f)] = pager.size(ids[static_cast<std::size_t>(f)]);
            pager.begin();
            for (const Op& op : commitOps(seed, k, sizes)) {
                const int id = ids[static_cast<std::size_t>(op.file)];
                if (op.truncate)
                    pager.truncate(id, op.offset);
                else
                    pager.write(id, op.offset,
                                std::span(reinterpret_cast<const std::uint8_t*>(op.bytes.data()),
                                          op.bytes.size()));
            }
            pager.commit();
            if (progress >= 0 && ::write(progress, "+", 1) != 1)
                ::_exit(4);
        }
        ::_exit(0);
    } catch (...) {
        ::_exit(3);
    }
}

using Clock = std::chrono::steady_clock;
double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

constexpr int kCommits = 4;

// Replays the stream until the child dies at step `n`; returns its progress (-1 when
// the stream finished first).
int crashAtStep(std::uint64_t seed, db::Durability durability, long n) {
    writeState(initialState());
    Child child(n, [&](int progress) { runCommits(seed, durability, 1, kCommits, progress); });
    const ChildResult result = child.wait();
    if (result.exited(0))
        return -1;
    EXPECT_TRUE(result.exited(99)) << "status " << result.status;
    return result.progress;
}

// After a crash in commit `done + 1`, recovery leaves the state before it when it
// restored the files, and before or after it otherwise.
void expectRecovered(Stream& stream, int done, bool restored, const std::string& where) {
    ASSERT_FALSE(testenv::journalHoldsAChange(kJournal)) << where;
    const State disk = diskState();
    if (restored)
        EXPECT_TRUE(disk == stream.at(done))
            << where << ": not the state before commit " << done + 1;
    else
        EXPECT_TRUE(disk == stream.at(done) || disk == stream.at(done + 1))
            << where << ": neither before nor after commit " << done + 1;
}

void crashAtEveryStep(std::uint64_t seed, db::Durability durability) {
    Stream stream(seed);
    long n = 1;
    for (;; ++n) {
        const int done = crashAtStep(seed, durability, n);
        if (done < 0)
            break;
        const bool journalLeft = testenv::journalHoldsAChange(kJournal);
        const bool restored = db::Pager::recover(kJournal);
        const std::string where = "crash at step " + std::to_string(n);
        expectRecovered(stream, done, restored, where);
        if (!journalLeft)
            continue;
        // The same crash, then a recovery that dies at each of its steps, then another.
        for (long m = 1;; ++m) {
            crashAtStep(seed, durability, n);
            Child recovery(m, [](int) {
                db::Pager::recover(kJournal);
                ::_exit(0);
            });
            const ChildResult result = recovery.wait();
            db::Pager::recover(kJournal);
            expectRecovered(stream, done, restored,
                            where + ", recovery crash at " + std::to_string(m));
            if (result.exited(0))
                break;
            ASSERT_TRUE(result.exited(99));
        }
    }
    EXPECT_GT(n, kCommits * 3) << "the crash hook did not stop the child";
    EXPECT_TRUE(diskState() == stream.at(kCommits));
}

TEST(PagerCrash, EveryStepOfCommitAndRecoveryLeavesBeforeOrAfter) {
    const auto start = Clock::now();
    const double budget = crashSeconds(0) / 2;
    std::uint64_t seed = 1;
    do {
        crashAtEveryStep(seed, db::Durability::OsBuffers);
        crashAtEveryStep(seed, db::Durability::Fsync);
        ++seed;
    } while (!HasFailure() && secondsSince(start) < budget);
}

TEST(PagerCrash, RandomKillsLeaveACommittedState) {
    const auto start = Clock::now();
    const double budget = crashSeconds(1.5);
    constexpr std::uint64_t seed = 99;
    std::mt19937_64 rng(12345);
    Stream stream(seed);
    writeState(stream.at(0));
    int done = 0;
    for (int round = 0; !HasFailure() && secondsSince(start) < budget; ++round) {
        const auto durability = round % 2 ? db::Durability::Fsync : db::Durability::OsBuffers;
        Child child(0, [&](int progress) { runCommits(seed, durability, done + 1, -1, progress); });
        std::this_thread::sleep_for(std::chrono::microseconds(rng() % 4000));
        child.kill();
        const ChildResult result = child.wait();
        ASSERT_TRUE(WIFSIGNALED(result.status)) << "child ended on its own: " << result.status;
        db::Pager::recover(kJournal);
        const State disk = diskState();
        if (disk == stream.at(done + result.progress))
            done += result.progress;
        else if (disk == stream.at(done + result.progress + 1))
            done += result.progress + 1;
        else
            FAIL() << "round " << round << ": not the state after commit " << done + result.progress
                   << " or the next";
        stream.forgetBefore(done);
    }
    RecordProperty("commits", done);
}

} // namespace
