// The material uses of a recorded operation: the single-precision quantities, and a use
// that reaches the disk only with its withdrawal.

#include "operations/recorded_uses.h"
#include "operations_fixture.h"
#include "support/fault_vfs.h"
#include "support/table_rows.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace opstest {
namespace {

namespace fs = std::filesystem;

const sys::DateTime kDay = sys::encodeDate(2010, 4, 15);

TEST(RecordedUseQuantities, TheWithdrawalIsTheFloatQuantityRaisedToAWholeBaseUnit) {
    const float ha = ops::OperationHectares(10000);
    EXPECT_EQ(ha, 1.0f);
    // 0.3 kg/ha: the float 0.3 x 1000 rounds to 300 g, not 301 g.
    EXPECT_EQ(ops::RecordedWithdrawal(ops::AddedDoseBase(0.3, ha, 1000), 1000), -0.3);
    EXPECT_EQ(ops::RecordedWithdrawal(ops::ChangedDoseBase(0.3, 1000, ha), 1000), -0.3);
    // 0.0012 kg/ha is 1.2 g: 2 g are withdrawn.
    EXPECT_EQ(ops::RecordedWithdrawal(ops::AddedDoseBase(0.0012, ha, 1000), 1000), -0.002);
    // 250 g/ha on 0.5 ha of a material kept in kg.
    EXPECT_EQ(
        ops::RecordedWithdrawal(ops::AddedDoseBase(250, ops::OperationHectares(5000), 1), 1000),
        -0.125);
    // 0.2 t/ha of seed kept in kg; pieces of seed kept in pieces.
    EXPECT_EQ(ops::RecordedWithdrawal(ops::AddedDoseBase(0.2, ha, 1000000), 1000), -200);
    EXPECT_EQ(ops::RecordedWithdrawal(ops::AddedDoseBase(90000, ha, 1), 1), -90000);
    // 500 g/ha on 2 ha of a material kept in kg.
    EXPECT_EQ(
        ops::RecordedWithdrawal(ops::ChangedDoseBase(500, 1, ops::OperationHectares(20000)), 1000),
        -1);
    EXPECT_EQ(ops::StockBase(0.3, 1000), 300.0f);
}

class RecordedUsesTest : public OperationsTest {
protected:
    RecordedUsesTest() {
        AddFertiliser(session, "100000", "Pétisó", "kg");
        Buy(session, "100000", 100, kDay - 10);
    }
    ops::MaterialUse Fertiliser() {
        ops::MaterialUse use;
        use.kind = res::MaterialKind::Fertiliser;
        use.muvkod = "100000";
        use.materialCode = "100000";
        use.materialUnit = "kg";
        use.dose = 0.3;
        use.doseUnit = "kg";
        return use;
    }
};

// Wherever the power goes while the use is added, the use and its withdrawal are on the
// disk together or not at all.
TEST_F(RecordedUsesTest, APowerCutLeavesNoUseWithoutItsWithdrawal) {
    const fs::path original = fs::current_path();
    bool added = false;
    for (long call = 1; !added && call < 200; ++call) {
        const fs::path dir = original / ("try" + std::to_string(call));
        fs::create_directory(dir);
        for (const auto& entry : fs::directory_iterator(original)) {
            const std::string stem = entry.path().stem().string();
            if (stem == "felhanyag" || stem == "Raktarmozgas")
                fs::copy_file(entry.path(), dir / entry.path().filename());
        }
        {
            testenv::FaultVfs vfs(dir);
            db::Session faulty(dir, db::Durability::Fsync, &vfs);
            vfs.cutPowerAt(call, static_cast<std::uint32_t>(call));
            try {
                ops::AddRecordedUse(faulty, Fertiliser(), "100001", kDay, -0.3);
                added = !vfs.powerIsCut();
            } catch (const std::exception&) { // the power went
            }
            vfs.restart();
        }
        db::Session after(dir);
        after.recoverInterruptedChanges();
        const int uses = testenv::RowCount(after, "felhanyag");
        EXPECT_EQ(testenv::RowCount(after, "Raktarmozgas", "Felhanykod = '100001'"), uses)
            << "power cut at step " << call;
    }
    EXPECT_TRUE(added);
}

} // namespace
} // namespace opstest
