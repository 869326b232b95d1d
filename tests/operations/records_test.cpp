// Saving an operation: codes, areas, hours, normal hectares, the pending rows it commits,
// irrigation, observation links, workers and the planned twins.

#include "operations/operation_records.h"
#include "operations_fixture.h"
#include "platform/sys/numbers.h"

#include <gtest/gtest.h>

namespace opstest {
namespace {

const sys::DateTime kDay = sys::encodeDate(2010, 3, 5);

ops::OperationEntry Entry(std::vector<ops::FieldPick> fields, double nha = 1.0) {
    ops::OperationEntry entry;
    entry.fields = std::move(fields);
    entry.type = {"100000", "szántás", nha, 0};
    entry.date = entry.endDate = kDay;
    entry.serial = 1;
    entry.singleArea = entry.fields.size() == 1 ? entry.fields.front().area : 0;
    entry.direction = "É-D";
    return entry;
}

double Number(const std::string& text) {
    return text.empty() ? 0 : sys::parseFloat(text);
}

TEST(MachineHoursShare, SharesByAreaRoundedUpToHundredths) {
    EXPECT_DOUBLE_EQ(ops::MachineHoursShare(5, 40000, 30000), 3.75);
    EXPECT_DOUBLE_EQ(ops::MachineHoursShare(5, 40000, 10000), 1.25);
    EXPECT_DOUBLE_EQ(ops::MachineHoursShare(1, 30000, 10000), 0.34);
    EXPECT_DOUBLE_EQ(ops::MachineHoursShare(3, 12000, 12000), 3);
    EXPECT_DOUBLE_EQ(ops::MachineHoursShare(0, 12000, 12000), 0);
    EXPECT_DOUBLE_EQ(ops::MachineHoursShare(5, 0, 0), 0);
}

class SaveOperationTest : public OperationsTest {};

TEST_F(SaveOperationTest, TwoFieldsShareTheMachineHoursByArea) {
    auto entry = Entry({{"100001", 30000}, {"100002", 10000}});
    entry.machineHours = 5;
    EXPECT_EQ(ops::SaveOperation(session, entry, false),
              (std::vector<std::string>{"100000", "100001"}));
    EXPECT_EQ(Column("ElvMuv", "Gepora"), (std::vector<std::string>{"3,75", "1,25"}));
    EXPECT_EQ(Column("ElvMuv", "Tablakod"), (std::vector<std::string>{"100001", "100002"}));
    EXPECT_EQ(Column("ElvMuv", "Keziora"), (std::vector<std::string>{"0", "0"}));
}

TEST_F(SaveOperationTest, CodesFollowTheLastCodeInSelectionOrder) {
    AddRow(session, "ElvMuv", [](db::TTable& t) { t.FieldByName("Muvkod").SetAsString("100041"); });
    auto entry = Entry({{"100003", 10000}, {"100001", 10000}, {"100002", 10000}});
    EXPECT_EQ(ops::SaveOperation(session, entry, false),
              (std::vector<std::string>{"100042", "100043", "100044"}));
    EXPECT_EQ(Column("ElvMuv", "Tablakod", "Muvkod = '100042'"),
              std::vector<std::string>{"100003"});
}

TEST_F(SaveOperationTest, NormalHectaresAreStoredUnrounded) {
    auto entry = Entry({{"100001", 25000}, {"100002", 20000}}, 1.5);
    ops::SaveOperation(session, entry, false);
    EXPECT_EQ(Column("ElvMuv", "Nha"), (std::vector<std::string>{"3,75", "3"}));
    auto single = Entry({{"100003", 12000}}, 1.2);
    single.singleArea = 10000;
    single.machineHours = 3;
    ops::SaveOperation(session, single, false);
    EXPECT_EQ(Column("ElvMuv", "Ter", "Tablakod = '100003'"), std::vector<std::string>{"10000"});
    EXPECT_NEAR(Number(Column("ElvMuv", "Nha", "Tablakod = '100003'").at(0)), 1.2, 1e-12);
    EXPECT_EQ(Column("ElvMuv", "Gepora", "Tablakod = '100003'"), std::vector<std::string>{"3"});
    auto odd = Entry({{"100004", 1234}}, 0.333);
    ops::SaveOperation(session, odd, false);
    EXPECT_DOUBLE_EQ(Number(Column("ElvMuv", "Nha", "Tablakod = '100004'").at(0)),
                     1234 * 0.333 * 0.0001);
}

TEST_F(SaveOperationTest, CommitsThePendingRowsOfEachField) {
    AddPendingUse(session, "100000", "100001", "100000", -200);
    AddPendingUse(session, "100001", "100002", "100000", -300);
    AddPendingWorker(session, 1);
    AddPendingWorker(session, 2);
    ops::SaveOperation(session, Entry({{"100001", 10000}, {"100002", 15000}}), false);
    EXPECT_EQ(Column("felhanyag", "Muvkod"), (std::vector<std::string>{"100000", "100001"}));
    // Both workers go under the first field's operation, none under the second.
    EXPECT_EQ(Column("Munkavegz", "Muvkod"), (std::vector<std::string>{"100000", "100000"}));
    EXPECT_EQ(Count("Raktarmozgas", "Datum = NULL"), 0);
    EXPECT_EQ(Column("Raktarmozgas", "Datum", "Felhanykod = '100001'"),
              std::vector<std::string>{sys::dateToText(kDay)});
}

TEST_F(SaveOperationTest, IrrigationOnEveryFieldAndTheObservationLink) {
    auto entry = Entry({{"100001", 10000}, {"100002", 10000}, {"100003", 10000}});
    entry.irrigation = ops::Irrigation{"6", "0", "18", "30", 12.5, 300, "éjjel", 7};
    entry.observation = 4;
    ops::SaveOperation(session, entry, false);
    EXPECT_EQ(Column("Ontozes", "Parckod"),
              (std::vector<std::string>{"100001", "100002", "100003"}));
    EXPECT_EQ(Column("Ontozes", "Menny"), (std::vector<std::string>{"300", "300", "300"}));
    EXPECT_EQ(Column("Ontozes", "Uora"), (std::vector<std::string>{"12,5", "12,5", "12,5"}));
    EXPECT_EQ(Column("ElvMuv", "Evj"), (std::vector<std::string>{"1", "1", "1"}));
    EXPECT_EQ(Column("ElvMuv", "Vizkivid"), (std::vector<std::string>{"7", "7", "7"}));
    EXPECT_EQ(Column("muv_novmegf", "Muvid"),
              (std::vector<std::string>{"100000", "100001", "100002"}));
    EXPECT_EQ(Column("muv_novmegf", "Megfid"), (std::vector<std::string>{"4", "4", "4"}));
}

TEST_F(SaveOperationTest, WithoutIrrigationTheMarkStaysEmpty) {
    ops::SaveOperation(session, Entry({{"100001", 10000}}), false);
    EXPECT_EQ(Column("ElvMuv", "Evj"), std::vector<std::string>{""});
    EXPECT_EQ(Count("Ontozes"), 0);
    EXPECT_EQ(Column("ElvMuv", "Szolg"), std::vector<std::string>{"NEM"});
    EXPECT_EQ(Column("ElvMuv", "Erogepkod"), std::vector<std::string>{"100000"});
}

TEST_F(SaveOperationTest, ExtraValuesByTheTypesExtra) {
    auto depth = Entry({{"100001", 10000}});
    depth.type.extra = 1;
    depth.extraValue = "2546";
    ops::SaveOperation(session, depth, false);
    EXPECT_EQ(Column("ElvMuv", "Szantm"), std::vector<std::string>{"254"});
    auto yield = Entry({{"100002", 10000}});
    yield.type.extra = 2;
    yield.extraValue = "5,5";
    yield.byProduct = "szalma";
    ops::SaveOperation(session, yield, false);
    EXPECT_EQ(Column("ElvMuv", "Hozam", "Tablakod = '100002'"), std::vector<std::string>{"5,5"});
    EXPECT_EQ(Column("ElvMuv", "Mellek", "Tablakod = '100002'"),
              std::vector<std::string>{"szalma"});
}

TEST_F(SaveOperationTest, PlanModeWritesOnlyThePlannedTables) {
    AddRow(session, "ElvMuv", [](db::TTable& t) { t.FieldByName("Muvkod").SetAsString("100500"); });
    AddPendingUse(session, "100000", "100001", "100000", -5, true);
    AddPendingWorker(session, 3, true);
    auto entry = Entry({{"100001", 10000}});
    entry.irrigation = ops::Irrigation{};
    entry.observation = 4;
    EXPECT_EQ(ops::SaveOperation(session, entry, true), std::vector<std::string>{"100000"});
    EXPECT_EQ(Count("ElvMuv"), 1);
    EXPECT_EQ(Count("Tervelvmuv"), 1);
    EXPECT_EQ(Column("Tervfanyag", "Muvkod"), std::vector<std::string>{"100000"});
    EXPECT_EQ(Column("Tervmunkas", "Muvkod"), std::vector<std::string>{"100000"});
    EXPECT_EQ(Count("Tervontozes"), 1);
    EXPECT_EQ(Count("Tervrmozgas", "Datum = NULL"), 0);
    // No observation link is written under a planned code.
    EXPECT_EQ(Count("muv_novmegf"), 0);
    EXPECT_EQ(Count("felhanyag") + Count("Munkavegz") + Count("Ontozes") + Count("Raktarmozgas"),
              0);
}

TEST_F(SaveOperationTest, DroppingPendingRowsLeavesCommittedOnesAndPurchases) {
    Buy(session, "100000", 600, kDay);
    AddPendingUse(session, "100000", "100001", "100000", -200);
    ops::SaveOperation(session, Entry({{"100001", 10000}}), false);
    AddPendingUse(session, "100001", "100001", "100000", -100);
    AddPendingWorker(session, 1);
    ops::DropPendingRows(session, false, true);
    EXPECT_EQ(Column("felhanyag", "Felhkod"), std::vector<std::string>{"100000"});
    EXPECT_EQ(Column("Raktarmozgas", "Menny"), (std::vector<std::string>{"600", "-200"}));
    EXPECT_EQ(Count("Munkavegz"), 0);
}

} // namespace
} // namespace opstest
