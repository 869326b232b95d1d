// The stock ledger's shared rules: kinds by code range, unit factors, the rounding of a
// shown stock and of a booked quantity, the stock check, the stock on a day, the date
// marker and the next material codes.

#include "materials_fixture.h"
#include "resources/stock.h"

#include <gtest/gtest.h>

namespace {

using mattest::MaterialsTest;
using res::MaterialKind;

TEST(MaterialKinds, TheCodeRangeTellsTheKind) {
    EXPECT_EQ(res::KindOfCode("100000"), MaterialKind::Fertiliser);
    EXPECT_EQ(res::KindOfCode("199999"), MaterialKind::Fertiliser);
    EXPECT_EQ(res::KindOfCode("200000"), MaterialKind::Pesticide);
    EXPECT_EQ(res::KindOfCode("300123"), MaterialKind::Seed);
    EXPECT_EQ(res::KindOfCode("399999"), MaterialKind::Seed);
    EXPECT_EQ(res::KindOfCode("400000"), std::nullopt);
    EXPECT_EQ(res::KindOfCode("099999"), std::nullopt);
    EXPECT_EQ(res::KindOfCode(""), std::nullopt);
    EXPECT_EQ(res::KindOfCode("1x0000"), std::nullopt);
    EXPECT_EQ(res::KindInfo(MaterialKind::Pesticide).masterTable, "Novenyvedok");
    EXPECT_EQ(res::KindInfo(MaterialKind::Seed).codeField, "Magkod");
    EXPECT_EQ(res::KindInfo(MaterialKind::Seed).useType, "000002");
}

TEST(MaterialKinds, UnitsScaleToOneBaseUnit) {
    EXPECT_EQ(res::UnitFactor("g"), 1);
    EXPECT_EQ(res::UnitFactor("ml"), 1);
    EXPECT_EQ(res::UnitFactor("db"), 1);
    EXPECT_EQ(res::UnitFactor(""), 1);
    EXPECT_EQ(res::UnitFactor("kg"), 1000);
    EXPECT_EQ(res::UnitFactor("l"), 1000);
    EXPECT_EQ(res::UnitFactor("t"), 1000000);
    EXPECT_EQ(res::UnitFactor("m3"), 1000000);
    EXPECT_EQ(res::UnitFactor("q"), std::nullopt);
    // Each kind knows its own units only.
    EXPECT_EQ(res::EntryUnitFactor(MaterialKind::Fertiliser, "db"), std::nullopt);
    EXPECT_EQ(res::EntryUnitFactor(MaterialKind::Pesticide, "db"), 1);
    EXPECT_EQ(res::EntryUnitFactor(MaterialKind::Seed, "l"), std::nullopt);
    EXPECT_EQ(res::EntryUnitFactor(MaterialKind::Seed, ""), std::nullopt);
    EXPECT_EQ(res::MaterialUnitFactor(MaterialKind::Seed, ""), 1);
    EXPECT_EQ(res::MaterialUnitFactor(MaterialKind::Seed, "t"), 1000000);
}

// b base units booked for a material kept in `unit`, entered as q in `entered`.
double Booked(double q, const std::string& entered, const std::string& unit) {
    return res::BookedQuantity(q * *res::UnitFactor(entered), *res::UnitFactor(unit));
}

TEST(Rounding, PurchasesAndSalesAreBookedInWholeBaseUnits) {
    EXPECT_DOUBLE_EQ(Booked(2.5, "g", "g"), 3);
    EXPECT_DOUBLE_EQ(Booked(-2.5, "g", "g"), -2);
    EXPECT_DOUBLE_EQ(Booked(0.0004, "kg", "kg"), 0.001);
    EXPECT_DOUBLE_EQ(Booked(1, "t", "kg"), 1000);
    EXPECT_DOUBLE_EQ(Booked(500, "ml", "l"), 0.5);
    EXPECT_DOUBLE_EQ(Booked(3, "db", "kg"), 0.003);
    EXPECT_DOUBLE_EQ(Booked(1, "l", "kg"), 1);
    EXPECT_DOUBLE_EQ(Booked(5, "db", "kg"), 0.005);
    // Binary fractions do not raise a decimal quantity by a base unit.
    EXPECT_DOUBLE_EQ(Booked(1.1, "kg", "kg"), 1.1);
    EXPECT_DOUBLE_EQ(Booked(-0.7, "t", "t"), -0.7);
    EXPECT_DOUBLE_EQ(Booked(2.3, "kg", "kg"), 2.3);
}

TEST(Rounding, AShownStockIsCutToThousandthsTowardsMinusInfinity) {
    EXPECT_DOUBLE_EQ(res::ShownStock(-0.0004), -0.001);
    EXPECT_DOUBLE_EQ(res::ShownStock(0.0009), 0);
    EXPECT_DOUBLE_EQ(res::ShownStock(12.3456), 12.345);
    EXPECT_DOUBLE_EQ(res::ShownStock(-12.3456), -12.346);
    EXPECT_DOUBLE_EQ(res::ShownStock(0), 0);
    // 1.001 is stored a hair below itself; it still shows as 1.001.
    EXPECT_DOUBLE_EQ(res::ShownStock(1.001), 1.001);
    EXPECT_DOUBLE_EQ(res::ShownStock(0.1 + 0.2), 0.3);
}

TEST(Rounding, ASaleMayTakeTheWholeStockButNoMore) {
    EXPECT_TRUE(res::MovementAllowed(-5000, 5000));
    EXPECT_FALSE(res::MovementAllowed(-5001, 5000));
    EXPECT_TRUE(res::MovementAllowed(10, -3)); // a purchase is never refused... unless
    EXPECT_FALSE(res::MovementAllowed(1, -3)); // the stock stays below zero
    // A stock summed from decimal fractions sells out exactly.
    EXPECT_TRUE(res::MovementAllowed(-0.3 * 1000, (0.1 + 0.2) * 1000));
    EXPECT_TRUE(res::MovementAllowed(-(0.1 + 0.2) * 1000, 0.3 * 1000));
}

using StockOnDate = MaterialsTest;

TEST_F(StockOnDate, SumsTheMaterialsRowsUpToTheDayItself) {
    const sys::DateTime day = sys::encodeDate(2010, 4, 5);
    EXPECT_EQ(res::StockOnDate(session, "100000", day), 0);
    AddMovement("100000", day - 10, 50);
    AddMovement("100000", day, -20.5);
    AddMovement("100000", day + 1, -29.5); // later: ignored
    AddMovement("100000", 0, -7);          // pending: never counts
    AddMovement("100001", day - 1, 1000);  // another material
    AddMovement("100000", day - 3, 4, "Tervrmozgas");
    EXPECT_DOUBLE_EQ(res::StockOnDate(session, "100000", day), 29.5);
    EXPECT_DOUBLE_EQ(res::StockOnDate(session, "100000", day + 0.75), 29.5); // time ignored
    EXPECT_DOUBLE_EQ(res::StockOnDate(session, "100000", day - 1), 50);
    EXPECT_DOUBLE_EQ(res::StockOnDate(session, "100000", day - 11), 0);
    EXPECT_DOUBLE_EQ(res::StockOnDate(session, "100000", day + 1), 0);
    EXPECT_DOUBLE_EQ(res::StockOnDate(session, "10000", day), 0);
    EXPECT_DOUBLE_EQ(res::StockOnDate(session, "100000", day, "Tervrmozgas"), 4);
}

// A ledger given an index on the material code (the program's own has none) is read
// through it: every stock comes out as the scan of the whole ledger gives it, over many
// blocks, with changes pending in a transaction, and in the next session.
TEST_F(StockOnDate, AnIndexOnTheMaterialCodeGivesTheScansStocks) {
    const std::vector<std::string> codes = {"100000", "100001", "200000", "300007", ""};
    const sys::DateTime first = sys::encodeDate(2008, 1, 1);
    std::srand(11);
    {
        db::SessionTransaction transaction(session);
        for (int n = 0; n < 4000; ++n)
            AddMovement(codes[static_cast<std::size_t>(std::rand()) % codes.size()],
                        n % 97 == 0 ? 0 : first + std::rand() % 700, std::rand() % 2000 - 900.25);
        transaction.Commit();
    }
    const std::vector<sys::DateTime> days = {first - 1, first, first + 350.5, first + 699,
                                             first + 800};
    const auto expectScansStocks = [&](db::Session& in) {
        for (const sys::DateTime day : days) {
            const auto stocks = res::StocksOnDate(in, day); // a scan of the whole ledger
            for (const char* code : {"100000", "100001", "200000", "300007", "100002"}) {
                const auto it = stocks.find(code);
                EXPECT_EQ(res::StockOnDate(in, code, day), it == stocks.end() ? 0 : it->second)
                    << code << " on " << sys::dateToText(day);
            }
        }
    };
    const double before = res::StockOnDate(session, "100001", first + 699);
    session.open("Raktarmozgas")->addIndex({"RaktarAnyagkodInd", {"Anyagkod"}});
    EXPECT_EQ(res::StockOnDate(session, "100001", first + 699), before);
    expectScansStocks(session);
    {
        db::SessionTransaction transaction(session);
        AddMovement("100001", first + 10, 123.5);
        db::TTable ledger(session);
        ledger.SetTableName("Raktarmozgas");
        ledger.Open();
        for (int n = 0; n < 300 && !ledger.Eof(); ++n)
            ledger.Delete();
        expectScansStocks(session);
        transaction.Commit();
    }
    db::Session next(session.directory());
    expectScansStocks(next);
}

TEST_F(StockOnDate, EveryMaterialWithARowIsSummedAlsoWithoutAMaster) {
    const sys::DateTime day = sys::encodeDate(2010, 4, 5);
    AddMovement("100000", day, 3);
    AddMovement("100000", day, -3);
    AddMovement("399999", day - 5, 2);
    AddMovement("200001", day + 5, 2);
    AddMovement("", day, 0); // the date marker
    auto stocks = res::StocksOnDate(session, day);
    EXPECT_EQ(stocks, (std::map<std::string, double>{{"100000", 0}, {"399999", 2}}));
}

TEST_F(StockOnDate, TheDateMarkerIsAlwaysTheOnlyRowWithoutACode) {
    AddMovement("", sys::encodeDate(2009, 1, 1), 0);
    AddMovement("", sys::encodeDate(2009, 2, 1), 0);
    AddMovement("100000", sys::encodeDate(2009, 3, 1), 5);
    res::WriteDateMarker(session, sys::encodeDate(2011, 6, 7) + 0.5);
    res::WriteDateMarker(session, sys::encodeDate(2011, 6, 8));
    EXPECT_EQ(Column("Raktarmozgas", "Anyagkod"), (std::vector<std::string>{"100000", ""}));
    EXPECT_EQ(Column("Raktarmozgas", "Datum", "Anyagkod = ''"),
              (std::vector<std::string>{sys::dateToText(sys::encodeDate(2011, 6, 8))}));
    EXPECT_EQ(Column("Raktarmozgas", "Menny", "Anyagkod = ''"), (std::vector<std::string>{""}));
    res::WriteDateMarker(session, sys::encodeDate(2011, 6, 8), "Tervrmozgas");
    EXPECT_EQ(Column("Tervrmozgas", "Anyagkod").size(), 1u);
}

TEST_F(StockOnDate, NewMaterialCodesStartAtTheirKindsFirstCode) {
    EXPECT_EQ(res::NextMaterialCode(session, MaterialKind::Fertiliser), "100000");
    EXPECT_EQ(res::NextMaterialCode(session, MaterialKind::Pesticide), "200000");
    EXPECT_EQ(res::NextMaterialCode(session, MaterialKind::Seed), "300000");
    AddFertiliser("100000", "Pétisó");
    AddFertiliser("100007", "Urea");
    AddFertiliser("100003", "NPK");
    AddSeed("300000", "Mv Magdaléna", "1");
    EXPECT_EQ(res::NextMaterialCode(session, MaterialKind::Fertiliser), "100008");
    EXPECT_EQ(res::NextMaterialCode(session, MaterialKind::Seed), "300001");
}

} // namespace
