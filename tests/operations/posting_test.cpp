// Posting a material use: its rows, the withdrawal of each field, the stock test, the
// stock queries of the dialog.

#include "operations/Anyagfelv.h"
#include "operations/material_posting.h"
#include "operations/operation_records.h"
#include "operations_fixture.h"
#include "platform/db/query.h"
#include "platform/sys/numbers.h"
#include "register/cascade_deletes.h"

#include <gtest/gtest.h>

namespace opstest {
namespace {

const sys::DateTime kDay = sys::encodeDate(2010, 3, 5);

double Sum(const std::vector<std::string>& texts) {
    double sum = 0;
    for (const auto& text : texts)
        sum += sys::parseFloat(text);
    return sum;
}

ops::MaterialUse Fertiliser(double dose, const std::string& unit = "kg") {
    ops::MaterialUse use;
    use.kind = res::MaterialKind::Fertiliser;
    use.materialCode = "100000";
    use.materialUnit = "kg";
    use.dose = dose;
    use.doseUnit = unit;
    use.mutr = true;
    return use;
}

TEST(WithdrawalQuantity, NegativeCutTowardZeroInTheMaterialsUnit) {
    EXPECT_NEAR(ops::WithdrawalQuantity(1234.5678, 1000), -1.234567, 1e-12);
    EXPECT_NEAR(ops::WithdrawalQuantity(500000, 1000), -500, 1e-12);
    EXPECT_NEAR(ops::WithdrawalQuantity(750000, 1000), -750, 1e-12);
    EXPECT_NEAR(ops::WithdrawalQuantity(2, 1), -2, 1e-12);
}

TEST(UnitFactors, TheTabsUnits) {
    EXPECT_EQ(ops::DoseUnitFactor(res::MaterialKind::Fertiliser, "kg"), 1000);
    EXPECT_EQ(ops::DoseUnitFactor(res::MaterialKind::Fertiliser, ""), 1);
    EXPECT_EQ(ops::DoseUnitFactor(res::MaterialKind::Fertiliser, "zsák"), std::nullopt);
    EXPECT_EQ(ops::DoseUnitFactor(res::MaterialKind::Pesticide, "zsák"), 1);
    EXPECT_EQ(ops::DoseUnitFactor(res::MaterialKind::Seed, "l"), std::nullopt);
    EXPECT_EQ(ops::MaterialFactor(res::MaterialKind::Seed, "zsák"), 1);
    EXPECT_EQ(ops::MaterialFactor(res::MaterialKind::Fertiliser, "db"), std::nullopt);
}

class PostingTest : public OperationsTest {};

TEST_F(PostingTest, ThreeFieldsGetThreeUsesEachWithItsOwnWithdrawal) {
    AddFertiliser(session, "100000", "Pétisó", "kg");
    Buy(session, "100000", 600, kDay);
    const std::vector<ops::UseField> fields{{"100001", 10000}, {"100002", 10000}, {"100003", 5000}};
    const auto use = Fertiliser(200);
    EXPECT_DOUBLE_EQ(ops::NeededBase(use, 25000), 500000);
    EXPECT_DOUBLE_EQ(ops::AvailableBase(session, use, 600, false), 600000);
    const auto codes = ops::PostMaterialUse(session, use, fields, 25000, true, false);
    EXPECT_EQ(codes, (std::vector<std::string>{"100000", "100001", "100002"}));
    EXPECT_EQ(Column("felhanyag", "Menny"), (std::vector<std::string>{"200", "200", "200"}));
    EXPECT_EQ(Column("felhanyag", "Mert"), (std::vector<std::string>{"kg", "kg", "kg"}));
    EXPECT_EQ(Column("felhanyag", "Muvkod"), (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(Column("Raktarmozgas", "Felhanykod", "Datum = NULL"), codes);
    EXPECT_EQ(Column("Raktarmozgas", "Menny", "Datum = NULL"),
              (std::vector<std::string>{"-200", "-200", "-100"}));
    EXPECT_DOUBLE_EQ(Sum(Column("Raktarmozgas", "Menny", "Datum = NULL")), -500);

    // The save dates them with the operation.
    ops::OperationEntry entry;
    entry.fields = {{"100001", 10000}, {"100002", 10000}, {"100003", 5000}};
    entry.type = {"100000", "műtrágyaszórás", 0, 0};
    entry.date = entry.endDate = kDay;
    ops::SaveOperation(session, entry, false);
    EXPECT_EQ(Column("Raktarmozgas", "Datum", "Felhanykod <> ''"),
              std::vector<std::string>(3, sys::dateToText(kDay)));
    EXPECT_EQ(Column("felhanyag", "Muvkod"),
              (std::vector<std::string>{"100000", "100001", "100002"}));
    EXPECT_NEAR(res::StockOnDate(session, "100000", kDay), 100, 1e-9);
}

TEST_F(PostingTest, DeletingOneFieldsUseReturnsOnlyItsQuantity) {
    AddFertiliser(session, "100000", "Pétisó", "kg");
    Buy(session, "100000", 600, kDay);
    ops::PostMaterialUse(session, Fertiliser(200), {{"100001", 10000}, {"100002", 15000}}, 25000,
                         true, false);
    reg::DeleteStockMovements(session, "100000", false);
    EXPECT_EQ(Column("Raktarmozgas", "Menny", "Datum = NULL"), std::vector<std::string>{"-300"});
}

TEST_F(PostingTest, ATotalIsSharedByArea) {
    auto use = Fertiliser(33.333);
    use.totalBase = 750000; // 0.75 t
    ops::PostMaterialUse(session, use, {{"100001", 20000}, {"100002", 10000}}, 30000, true, false);
    EXPECT_EQ(Column("Raktarmozgas", "Menny"), (std::vector<std::string>{"-500", "-250"}));
}

TEST_F(PostingTest, ASecondUseIsTestedAgainstTheStockLessThePendingWithdrawals) {
    AddFertiliser(session, "100000", "Pétisó", "kg");
    Buy(session, "100000", 600, kDay);
    ops::PostMaterialUse(session, Fertiliser(500), {{"100001", 10000}}, 10000, true, false);
    EXPECT_DOUBLE_EQ(ops::AvailableBase(session, Fertiliser(200), 600, false), 100000);
}

TEST_F(PostingTest, StockKeepingOffWritesNoWithdrawal) {
    ops::PostMaterialUse(session, Fertiliser(200), {{"100001", 10000}}, 10000, false, false);
    EXPECT_EQ(Count("felhanyag"), 1);
    EXPECT_EQ(Count("Raktarmozgas"), 0);
}

TEST_F(PostingTest, PesticideRowsCarryTheWholeOperationsQuantity) {
    ops::MaterialUse use;
    use.kind = res::MaterialKind::Pesticide;
    use.materialCode = "200000";
    use.materialUnit = "l";
    use.dose = 2;
    use.doseUnit = "l";
    use.felelos = "Kiss Péter";
    use.permetle = 300;
    use.sorsz = 7;
    use.vido = "30";
    ops::PostMaterialUse(session, use, {{"100001", 10000}, {"100002", 5000}}, 15000, true, true);
    EXPECT_EQ(Column("Tervfanyag", "Fogya"), (std::vector<std::string>{"3", "3"}));
    EXPECT_EQ(Column("Tervfanyag", "Anyagtip"), (std::vector<std::string>{"000001", "000001"}));
    EXPECT_EQ(Column("Tervfanyag", "Sorsz"), (std::vector<std::string>{"7", "7"}));
    EXPECT_EQ(Column("Tervrmozgas", "Menny"), (std::vector<std::string>{"-2", "-1"}));
    EXPECT_EQ(Count("felhanyag") + Count("Raktarmozgas"), 0);
}

TEST(NutrientPercentText, XThenTheThreePercentages) {
    EXPECT_EQ(ops::NutrientPercentText("34", "0", "0"), "X34;0;0;");
}

TEST(StockQuerySql, MonthDayYearLiteralAndTheThreshold) {
    for (auto kind : res::MaterialKinds()) {
        const auto lines = ops::StockQuerySql(kind, kDay);
        EXPECT_NE(std::find(lines.begin(), lines.end(), "WHERE Raktarmozgas.Datum <= '3/5/2010'"),
                  lines.end());
        EXPECT_NE(
            std::find(lines.begin(), lines.end(), "HAVING SUM( Raktarmozgas.Menny ) > 0.0000001"),
            lines.end());
    }
}

TEST_F(PostingTest, TheStockQueryOffersOnlyMaterialsInStockOnTheDay) {
    AddFertiliser(session, "100000", "Ammónium-nitrát", "kg");
    AddFertiliser(session, "100001", "Kálisó", "kg");
    AddFertiliser(session, "100002", "Szuperfoszfát", "kg");
    Buy(session, "100000", 10, kDay);
    Buy(session, "100001", 0.0000001, kDay);
    Buy(session, "100002", 50, kDay + 1);
    AddPendingUse(session, "100000", "100001", "100000", -10);
    db::TQuery query(session, "Query1");
    for (const auto& line : ops::StockQuerySql(res::MaterialKind::Fertiliser, kDay))
        query.SQL().Add(line);
    query.Open();
    std::vector<std::string> names;
    for (query.First(); !query.Eof(); query.Next())
        names.push_back(query.FieldByName("Nev").AsString() + " " +
                        query.FieldByName("Ossz").AsString());
    EXPECT_EQ(names, std::vector<std::string>{"Ammónium-nitrát 10"});
}

} // namespace
} // namespace opstest
