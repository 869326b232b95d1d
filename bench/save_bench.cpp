// One save of an operation on 50 fields with 3 materials: about 300 rows over six tables
// (the operation with its memo, its fields, material uses, stock movements, workers and
// observation links), written in one session transaction or posted table by table, each
// without and with flushing to the disk; and what checking the values' domains adds to
// a post.

#include "bench_tables.h"
#include "core/fresh_database.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/sys/datetime.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

using db::FieldType;

void createTables(db::Session& session) {
    session.create("Muvelet",
                   {{{"Muvkod", FieldType::Long, 4, 0},
                     {"Nev", FieldType::Alpha, 40, 0},
                     {"Datum", FieldType::Date, 4, 0},
                     {"Megjegyzes", FieldType::Memo, 11, 0}},
                    1},
                   {{"NevInd", {"Nev"}, true}});
    session.create("Muvtabla", {{{"Muvkod", FieldType::Long, 4, 0},
                                 {"Tablakod", FieldType::Alpha, 12, 0},
                                 {"Terulet", FieldType::Number, 8, 0}},
                                2});
    session.create("Anyagfelh",
                   {{{"Muvkod", FieldType::Long, 4, 0},
                     {"Tablakod", FieldType::Alpha, 12, 0},
                     {"Anyagkod", FieldType::Alpha, 10, 0},
                     {"Mennyiseg", FieldType::Number, 8, 0}},
                    3},
                   {{"AnyagInd", {"Anyagkod"}, true}});
    session.create("Raktarmozgas", {{{"Muvkod", FieldType::Long, 4, 0},
                                     {"Anyagkod", FieldType::Alpha, 10, 0},
                                     {"Mennyiseg", FieldType::Number, 8, 0}},
                                    2});
    session.create("Muvdolg", {{{"Muvkod", FieldType::Long, 4, 0},
                                {"Tablakod", FieldType::Alpha, 12, 0},
                                {"Dolgozo", FieldType::Alpha, 30, 0},
                                {"Ora", FieldType::Number, 8, 0}},
                               2});
    session.create("Muvmegf", {{{"Muvkod", FieldType::Long, 4, 0},
                                {"Tablakod", FieldType::Alpha, 12, 0},
                                {"Megfkod", FieldType::Long, 4, 0}},
                               2});
}

// 1 + 50 + 150 + 3 + 50 + 46 = 300 rows.
void saveOperation(db::Session& session, std::int32_t op) {
    auto muvelet = session.open("Muvelet");
    auto muvtabla = session.open("Muvtabla");
    auto anyagfelh = session.open("Anyagfelh");
    auto raktar = session.open("Raktarmozgas");
    auto dolg = session.open("Muvdolg");
    auto megf = session.open("Muvmegf");
    db::Record head{op, "permetezés " + std::to_string(op), db::Date{730000 + op},
                    std::string(200, 'm') + " jegyzet"};
    muvelet->insert(head);
    for (int f = 0; f < 50; ++f) {
        const std::string field = "T" + std::to_string(1000 + f);
        db::Record row{op, field, 1.25 + f};
        muvtabla->insert(row);
        for (int m = 0; m < 3; ++m) {
            db::Record use{op, field, "A" + std::to_string(m), 0.5 * (m + 1)};
            anyagfelh->insert(use);
        }
        db::Record worker{op, field, "Kovács János", 2.5};
        dolg->insert(worker);
        if (f < 46) {
            db::Record link{op, field, f};
            megf->insert(link);
        }
    }
    for (int m = 0; m < 3; ++m) {
        db::Record move{op, "A" + std::to_string(m), -25.0 * (m + 1)};
        raktar->insert(move);
    }
}

void BM_SaveOperation(benchmark::State& state) {
    const bool transaction = state.range(0) != 0;
    const auto durability = state.range(1) ? db::Durability::Fsync : db::Durability::OsBuffers;
    const benchtables::TempDir dir(fs::temp_directory_path());
    db::Session session(dir.path(), durability);
    createTables(session);
    std::int32_t op = 0;
    for (auto _ : state) {
        if (transaction) {
            db::SessionTransaction save(session);
            saveOperation(session, ++op);
            save.Commit();
        } else {
            saveOperation(session, ++op);
        }
    }
    state.SetItemsProcessed(state.iterations() * 300);
    state.SetLabel(std::string(transaction ? "one transaction" : "table by table") +
                   (state.range(1) ? ", Fsync" : ", OsBuffers"));
}
BENCHMARK(BM_SaveOperation)
    ->Args({1, 0})
    ->Args({0, 0})
    ->Args({1, 1})
    ->Args({0, 1})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

// What checking the values' domains costs a post: 500 operations (ElvMuv of a fresh
// database, every domain-bound field set) appended through a TTable in one transaction,
// with the program's domain catalogue and without it; items = rows posted.
void BM_PostWithDomains(benchmark::State& state) {
    const bool domains = state.range(0) != 0;
    const benchtables::TempDir dir(fs::temp_directory_path());
    db::Session session(dir.path(), db::Durability::OsBuffers);
    core::PrepareDatabase(session);
    if (!domains)
        session.setDomainCatalogue({});
    db::TTable table(session);
    table.SetTableName("ElvMuv");
    table.Open();
    int code = 100000;
    for (auto _ : state) {
        db::SessionTransaction save(session);
        for (int i = 0; i < 500; ++i) {
            table.Append();
            table.FieldByName("Muvkod").SetAsString(std::to_string(++code));
            table.FieldByName("Tablakod").SetAsString("100001");
            table.FieldByName("Datum").SetAsDateTime(sys::encodeDate(2024, 3, 5));
            table.FieldByName("Muvveg").SetAsDateTime(sys::encodeDate(2024, 3, 6));
            table.FieldByName("Muvnev").SetAsString("Szántás");
            table.FieldByName("Gepora").SetAsFloat(2.5);
            table.FieldByName("Hozam").SetAsFloat(4.2);
            table.FieldByName("Ter").SetAsInteger(10000);
            table.FieldByName("Nha").SetAsFloat(1.0);
            table.Post();
        }
        save.Commit();
    }
    state.SetItemsProcessed(state.iterations() * 500);
    state.SetLabel(domains ? "domains checked" : "no domains");
}
BENCHMARK(BM_PostWithDomains)->Arg(0)->Arg(1)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace
