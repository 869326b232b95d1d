// The stock ledger of a large farm: 500 materials (200 fertilisers, 150 pesticides, 150
// seed varieties of 20 species) and 100,000 ledger rows over four years, in a fresh
// database built once per process.
//
// - Stock/on_date: StockOnDate of one material on a day in the middle of the ledger, as
//   the stock movements form and the material-use dialog ask it.
// - Stock/list: the stock list form's three lists (fertilisers, pesticides, seeds)
//   computed for a day ("|||||") and read to their last rows; `rows` = lines listed.
// - Stock/list_joined_sql: for comparison, the same lists as three local SQL statements
//   that join the ledger to the masters and sum per group.
//
// Nothing here checks timings; the figures are for reading.

#include "bench_tables.h"
#include "core/fresh_database.h"
#include "forms_database.h"
#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/application.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/form.h"
#include "resources/Keszlisth.h"
#include "resources/stock.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <memory>
#include <random>

namespace {

using namespace benchtables;

constexpr int kFertilisers = 200;
constexpr int kPesticides = 150;
constexpr int kSeeds = 150;
constexpr int kSpecies = 20;
constexpr int kMovements = 100000;

void AddMaterials(db::Session& session, const std::string& table, const std::string& codeField,
                  int first, int count, const std::string& unit) {
    db::TTable rows(session);
    rows.SetTableName(table);
    rows.Open();
    for (int n = 0; n < count; ++n) {
        rows.Append();
        rows.FieldByName(codeField).SetAsString(std::to_string(first + n));
        rows.FieldByName("Nev").SetAsString("Anyag " + std::to_string(first + n));
        rows.FieldByName("Mert").SetAsString(unit);
        if (table == "Vetomagok")
            rows.FieldByName("Magfaj").SetAsString(std::to_string(n % kSpecies + 1));
        rows.Post();
    }
}

struct Ledger : FormsDatabase {
    Ledger() {
        AddMaterials(*session, "Tapanyagok", "Kod", 100000, kFertilisers, "kg");
        AddMaterials(*session, "Novenyvedok", "Kod", 200000, kPesticides, "l");
        AddMaterials(*session, "Vetomagok", "Magkod", 300000, kSeeds, "kg");
        db::TTable species(*session);
        species.SetTableName("Magfajtak");
        species.Open();
        for (int n = 1; n <= kSpecies; ++n) {
            species.Append();
            species.FieldByName("Fajkod").SetAsString(std::to_string(n));
            species.FieldByName("Faj").SetAsString("Faj " + std::to_string(n));
            species.Post();
        }
        std::mt19937 random(7);
        std::vector<std::string> codes;
        for (int n = 0; n < kFertilisers; ++n)
            codes.push_back(std::to_string(100000 + n));
        for (int n = 0; n < kPesticides; ++n)
            codes.push_back(std::to_string(200000 + n));
        for (int n = 0; n < kSeeds; ++n)
            codes.push_back(std::to_string(300000 + n));
        db::TTable ledger(*session);
        ledger.SetTableName("Raktarmozgas");
        ledger.Open();
        const sys::DateTime start = sys::encodeDate(2006, 1, 1);
        db::SessionTransaction transaction(*session);
        for (int n = 0; n < kMovements; ++n) {
            ledger.Append();
            ledger.FieldByName("Anyagkod").SetAsString(codes[random() % codes.size()]);
            ledger.FieldByName("Datum").SetAsDateTime(start + static_cast<int>(random() % 1460));
            ledger.FieldByName("Menny").SetAsFloat(static_cast<int>(random() % 2000) - 900);
            ledger.Post();
        }
        transaction.Commit();
    }
};

Ledger& TheLedger() {
    static Ledger ledger;
    return ledger;
}

const sys::DateTime kDay = sys::encodeDate(2008, 1, 1);

void Stock_on_date(benchmark::State& state) {
    db::Session& session = *TheLedger().session;
    int n = 0;
    for (auto _ : state) {
        double stock = res::StockOnDate(session, std::to_string(100000 + n++ % kFertilisers), kDay);
        benchmark::DoNotOptimize(stock);
    }
}
BENCHMARK(Stock_on_date)->Unit(benchmark::kMillisecond);

// The stock list's three lists as the form computes them ("|||||" on a day).
void Stock_list(benchmark::State& state) {
    Ledger& ledger = TheLedger();
    ui::OwnedForm<TKeszlist> form(Keszlist, *ledger.session);
    form->DateTimePicker1->SetDate(kDay);
    int rows = 0;
    for (auto _ : state) {
        form->Button4->click();
        rows = 0;
        for (db::TQuery* query : {&form->Query2, &form->Query3, &form->Query4})
            for (query->First(); !query->Eof(); query->Next())
                rows += query->FieldByName("Kossz").IsNull() ? 0 : 1;
    }
    state.counters["rows"] = rows;
}
BENCHMARK(Stock_list)->Unit(benchmark::kMillisecond);

// For comparison: the three lists as one local SQL statement each, the stock joined and
// summed per group by the SQL engine (ledger rows x masters).
void Stock_list_joined_sql(benchmark::State& state) {
    db::Session& session = *TheLedger().session;
    const char* const statements[][9] = {
        {"SELECT Tapanyagok.Nev, Tapanyagok.Mert, SUM( Raktarmozgas.Menny ) Ossz",
         "FROM Tapanyagok", "   INNER JOIN Raktarmozgas",
         "   ON  (Raktarmozgas.Anyagkod = Tapanyagok.Kod)  ", "WHERE Raktarmozgas.Datum <= :dat",
         "GROUP BY Tapanyagok.Nev, Tapanyagok.Mert", "ORDER BY Tapanyagok.Nev", nullptr},
        {"SELECT Novenyvedok.Nev, Novenyvedok.Mert,Novenyvedok.Szertip,Novenyvedok.Hata, SUM( "
         "Raktarmozgas.Menny ) Ossz",
         "FROM Novenyvedok", "   INNER JOIN Raktarmozgas",
         "   ON  (Raktarmozgas.Anyagkod = Novenyvedok.Kod)  ", "WHERE Raktarmozgas.Datum <= :dat",
         "GROUP BY Novenyvedok.Nev, Novenyvedok.Mert,Novenyvedok.Szertip,Novenyvedok.Hata",
         "ORDER BY Novenyvedok.Nev", nullptr},
        {"SELECT Vetomagok.Nev, Vetomagok.Mert, SUM( Raktarmozgas.Menny ) Ossz, Faj",
         "FROM Vetomagok", "   INNER JOIN Raktarmozgas",
         "   ON  (Raktarmozgas.Anyagkod = Vetomagok.Magkod) ", "   INNER JOIN Magfajtak",
         "   ON  (Magfajtak.Fajkod = Vetomagok.Magfaj)", "WHERE (Raktarmozgas.Datum <= :dat)",
         "GROUP BY Vetomagok.Nev, Vetomagok.Mert, Faj", "ORDER BY Vetomagok.Nev"},
    };
    int rows = 0;
    for (auto _ : state) {
        rows = 0;
        for (const auto& lines : statements) {
            db::TQuery query(session);
            for (const char* line : lines)
                if (line)
                    query.SQL().Add(line);
            query.ParamByName("dat").SetAsDate(kDay);
            query.Open();
            for (query.First(); !query.Eof(); query.Next())
                ++rows;
        }
    }
    state.counters["rows"] = rows;
}
BENCHMARK(Stock_list_joined_sql)->Unit(benchmark::kMillisecond);

} // namespace
