// A save killed at any step of its commit leaves the whole operation or none of it: the
// operation rows, the committed uses and workers and the dated withdrawals together, or
// the entry's pending rows as they were.

#include "operations/operation_records.h"
#include "operations_fixture.h"
#include "support/child_process.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace opstest {
namespace {

namespace fs = std::filesystem;

const sys::DateTime kDay = sys::encodeDate(2010, 3, 5);

class SaveCrashTest : public OperationsTest {
protected:
    // The state of the operation's rows in a working directory.
    struct State {
        int operations, committedUses, pendingUses, datedWithdrawals, pendingWithdrawals,
            committedWorkers, pendingWorkers, irrigation;
    };
    static State Read(const fs::path& directory) {
        db::Session other(directory);
        auto count = [&](const std::string& table, const std::string& filter) {
            db::TTable rows(other, "Count");
            rows.SetTableName(table);
            if (!filter.empty()) {
                rows.SetFilter(filter);
                rows.SetFiltered(true);
            }
            rows.Open();
            return rows.RecordCount();
        };
        return {count("ElvMuv", ""),
                count("felhanyag", "Muvkod <> ''"),
                count("felhanyag", "Muvkod = ''"),
                count("Raktarmozgas", "Datum <> NULL AND Felhanykod <> ''"),
                count("Raktarmozgas", "Datum = NULL"),
                count("Munkavegz", "Muvkod <> ''"),
                count("Munkavegz", "Muvkod = ''"),
                count("Ontozes", "")};
    }
};

// Runs once the session transaction is atomic across table files.
TEST_F(SaveCrashTest, AKilledSaveLeavesAllRowsOrNone) {
    const std::vector<std::string> fields{"100001", "100002", "100003"};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        AddField(session, fields[i], 10000, "búza", static_cast<int>(i) + 1);
        AddPendingUse(session, "10000" + std::to_string(i), fields[i], "100000", -100);
    }
    AddPendingWorker(session, 1);
    AddPendingWorker(session, 2);
    const fs::path original = fs::current_path();
    fs::create_directory("orig");
    for (const auto& entry : fs::directory_iterator(original))
        if (entry.is_regular_file())
            fs::copy_file(entry.path(), "orig" / entry.path().filename());

    ops::OperationEntry entry;
    for (const auto& code : fields)
        entry.fields.push_back({code, 10000});
    entry.type = {"100000", "szántás", 1, 0};
    entry.date = entry.endDate = kDay;
    entry.irrigation = ops::Irrigation{};

    int whole = 0, none = 0;
    for (long step = 1; step < 2000; step += step < 40 ? 1 : 7) {
        SCOPED_TRACE("killed at step " + std::to_string(step));
        fs::remove_all("work");
        fs::copy("orig", "work");
        testenv::Child child(step, [&](int) {
            try {
                db::Session work("work");
                ops::SaveOperation(work, entry, false);
                ::_exit(0);
            } catch (...) {
                ::_exit(3);
            }
        });
        const auto result = child.wait();
        ASSERT_TRUE(result.exited(0) || result.exited(99)) << "status " << result.status;
        const State state = Read("work");
        if (state.operations == 3) {
            ++whole;
            EXPECT_EQ(state.committedUses, 3);
            EXPECT_EQ(state.pendingUses, 0);
            EXPECT_EQ(state.datedWithdrawals, 3);
            EXPECT_EQ(state.pendingWithdrawals, 0);
            EXPECT_EQ(state.committedWorkers, 2);
            EXPECT_EQ(state.pendingWorkers, 0);
            EXPECT_EQ(state.irrigation, 3);
        } else {
            ++none;
            EXPECT_EQ(state.operations, 0);
            EXPECT_EQ(state.committedUses, 0);
            EXPECT_EQ(state.pendingUses, 3);
            EXPECT_EQ(state.datedWithdrawals, 0);
            EXPECT_EQ(state.pendingWithdrawals, 3);
            EXPECT_EQ(state.committedWorkers, 0);
            EXPECT_EQ(state.pendingWorkers, 2);
            EXPECT_EQ(state.irrigation, 0);
            EXPECT_FALSE(result.exited(0));
        }
        if (result.exited(0) || ::testing::Test::HasFailure())
            break;
    }
    EXPECT_GT(whole, 0);
    EXPECT_GT(none, 0);
}

} // namespace
} // namespace opstest
