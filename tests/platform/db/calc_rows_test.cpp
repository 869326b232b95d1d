// Calculated fields of rows other than the current one, as a grid reads them: calculated
// for that row, without moving the cursor or firing an event.

#include "platform/db/table.h"

#include <gtest/gtest.h>

namespace {

using namespace db;

TEST(CalculatedRows, EveryRowOfTheViewIsCalculatedForItself) {
    Session session;
    session.create("Ledger",
                   {{{"Kod", FieldType::Alpha, 6, 0}, {"Menny", FieldType::Number, 8, 0}}, 1});
    TTable t(session);
    t.SetTableName("Ledger");
    t.AddCalcField("Dupla", FieldType::Number);
    int scrolls = 0;
    t.AfterScroll = [&](TDataSet&) { ++scrolls; };
    t.OnCalcFields = [](TDataSet& ds) {
        ds.FieldByName("Dupla").SetAsFloat(ds.FieldByName("Menny").AsFloat() * 2);
    };
    t.Open();
    for (int n = 1; n <= 3; ++n) {
        t.Append();
        t.FieldByName("Kod").SetAsString(std::to_string(100000 + n));
        t.FieldByName("Menny").SetAsFloat(n);
        t.Post();
    }
    t.First();
    scrolls = 0;
    const int calc = t.FieldByName("Dupla").Index();
    EXPECT_EQ(t.rowValue(0, calc), Value(2.0));
    EXPECT_EQ(t.rowValue(2, calc), Value(6.0));
    EXPECT_EQ(t.rowValue(1, calc), Value(4.0));
    EXPECT_EQ(t.rowValue(7, calc), Value(Null{}));
    EXPECT_EQ(t.RecNo(), 1);
    EXPECT_EQ(t.FieldByName("Dupla").AsFloat(), 2);
    EXPECT_EQ(scrolls, 0);
    t.Edit(); // while a row is edited, other rows' calculations are not shown
    t.FieldByName("Menny").SetAsFloat(10);
    EXPECT_EQ(t.rowValue(1, calc), Value(Null{}));
    t.Cancel();
}

} // namespace
