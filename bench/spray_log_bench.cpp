// The spray log of a large farm, from its buttons to the pages in the page model (the
// preview's answer): 10,000 fields (farming years 2009 and 2010, ten sectors), 200,000
// operations (20 per field, 20 tractors, 10 implements), each with one pesticide use and
// one fertiliser use, a worker on every fourth operation and an observation linked to
// every tenth, in a fresh database built once per process.
//
// - Spray/list_sector: the listing of one farming year and sector (about 10,000 uses),
//   read as on activation and printed as "Permetnaplo.rav".
// - Spray/list_machines_sector: the same printed with the machines and workers
//   ("PermetnaploM.rav").
// - Spray/sheet_sector: the diary's spray sheet "GN08Permetez.rav" of one year and sector.
// - Spray/sheet_year: the diary's sheet of one farming year (100,000 uses).
// - Spray/list_all: the listing of every use (200,000 rows), once.
// - Spray/rows_all: only the listing's rows of every use, read to the end with their
//   calculated columns, without a printout: the share of the query in list_all.
// `pages` = pages made.
//
// Nothing here checks timings; the figures are for reading.

#include "core/Isnuminth.h"
#include "forms_database.h"
#include "on_display.h"
#include "platform/db/table.h"
#include "platform/report/layouts.h"
#include "platform/report/output.h"
#include "reports/Permnaploh.h"
#include "reports/Permnaploszukh.h"
#include "reports/commands.h"
#include "reports/spray_log.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

using namespace benchtables;

constexpr int kFields = 10000;
constexpr int kOperationsPerField = 20;
const char* const kCrops[] = {"Búza",    "Kukorica", "Napraforgó", "Árpa",  "Repce",
                              "Lucerna", "Zab",      "Rozs",       "Szója", "Őszi búza"};

std::string Code(int n) {
    return std::to_string(100000 + n);
}

struct SprayFarm : FormsDatabase {
    SprayFarm() {
        RegisterReportLayouts();
        report::WriteBuiltInLayouts(dir.path());
        const auto start = std::chrono::steady_clock::now();
        Fill();
        std::fprintf(stderr, "spray farm built in %.1f s\n", secondsSince(start));
        numbers = std::make_unique<ui::OwnedForm<TNumericInt>>(NumericInt, *session);
    }

    void Rows(const char* table, int count, const std::function<void(db::TTable&, int)>& fill) {
        const auto start = std::chrono::steady_clock::now();
        AppendRows(table, count, fill);
        std::fprintf(stderr, "  %s: %d rows in %.1f s\n", table, count, secondsSince(start));
    }

    void Fill() {
        Rows("Novenyvedok", 100, [](db::TTable& t, int i) {
            t.FieldByName("Kod").SetAsString(std::to_string(200000 + i));
            t.FieldByName("Nev").SetAsString("Szer " + std::to_string(i));
            t.FieldByName("Vido").SetAsString(std::to_string(7 + i % 30));
        });
        Rows("Erogepek", 20, [](db::TTable& t, int i) {
            t.FieldByName("Gepkod").SetAsString(Code(i));
            t.FieldByName("Geptip").SetAsString("MTZ " + std::to_string(i));
        });
        Rows("Munkagepek", 10, [](db::TTable& t, int i) {
            t.FieldByName("Gepkod").SetAsString(Code(i));
            t.FieldByName("Gepnev").SetAsString("Permetező " + std::to_string(i));
        });
        Rows("Szemely", 50, [](db::TTable& t, int i) {
            t.FieldByName("Sznev").SetAsString("Dolgozó " + std::to_string(i));
        });
        Rows("Novvedmegf", 1000, [](db::TTable& t, int i) {
            t.FieldByName("Parc_id").SetAsString(Code(i));
            t.FieldByName("Sorsz").SetAsInteger(i + 1);
        });
        Rows("parcellak", kFields, [](db::TTable& t, int f) {
            t.FieldByName("Parckod").SetAsString(Code(f));
            t.FieldByName("Evj").SetAsInteger(2009 + f % 2);
            t.FieldByName("Parcsor").SetAsInteger(f / 2 + 1);
            t.FieldByName("Agazat").SetAsString(kCrops[(f / 2) % 10]);
            t.FieldByName("Ter").SetAsFloat(10000 + (f * 37) % 90000);
            t.FieldByName("Aktiv").SetAsString("A");
            t.FieldByName("Hazmeg").SetAsString("Dűlő " + std::to_string(f % 97));
        });
        const int operations = kFields * kOperationsPerField;
        Rows("ElvMuv", operations, [](db::TTable& t, int op) {
            const int field = op / kOperationsPerField, k = op % kOperationsPerField;
            t.FieldByName("Muvkod").SetAsString(std::to_string(100000 + op));
            t.FieldByName("Tablakod").SetAsString(Code(field));
            t.FieldByName("Datum").SetAsDateTime(sys::encodeDate(2008 + field % 2, 9, 1) + k * 18);
            t.FieldByName("Muvnev").SetAsString("Permetezés");
            t.FieldByName("Ter").SetAsInteger(10000 + (field * 37) % 90000);
            t.FieldByName("Erogepkod").SetAsString(Code(op % 20));
            t.FieldByName("Munkagepkod").SetAsString(Code(op % 10));
        });
        Rows("felhanyag", operations * 2, [](db::TTable& t, int i) {
            const int op = i / 2;
            const bool pesticide = i % 2 == 0;
            t.FieldByName("Muvkod").SetAsString(std::to_string(100000 + op));
            t.FieldByName("Tablakod").SetAsString(Code(op / kOperationsPerField));
            t.FieldByName("Anyagkod")
                .SetAsString(std::to_string((pesticide ? 200000 : 100000) + op % 100));
            t.FieldByName("Anyagtip").SetAsString(pesticide ? "000001" : "000000");
            t.FieldByName("Menny").SetAsFloat(pesticide ? 0.5 : 150);
            t.FieldByName("Mert").SetAsString(pesticide ? "l" : "kg");
            t.FieldByName("Permetle").SetAsString(pesticide ? "300" : "");
        });
        Rows("Munkavegz", operations / 4, [](db::TTable& t, int i) {
            t.FieldByName("Muvkod").SetAsString(std::to_string(100000 + i * 4));
            t.FieldByName("Szemkod").SetAsInteger(1 + i % 50);
        });
        Rows("muv_novmegf", operations / 10, [](db::TTable& t, int i) {
            t.FieldByName("Muvid").SetAsString(std::to_string(100000 + i * 10));
            t.FieldByName("Megfid").SetAsInteger(1 + i % 1000);
        });
    }

    std::unique_ptr<ui::OwnedForm<TNumericInt>> numbers;
};

SprayFarm& farm() {
    static SprayFarm f;
    return f;
}

lists::OperationChoices Choices(const std::string& year, const std::string& sector) {
    lists::OperationChoices choices;
    choices.year = year;
    choices.sector = sector;
    choices.from = sys::encodeDate(2008, 1, 1);
    choices.to = sys::encodeDate(2010, 12, 31);
    return choices;
}

// The conditions form with the choices' tail and dates, as its buttons leave them.
void SetConditions(Tpermnaploszuk& form, const lists::OperationChoices& choices) {
    form.ConditionTail = spray::SprayConditionTail(choices);
    form.DateRangeFilter = lists::BuildOperationConditions(choices).DateRangeFilter;
}

void Listing(benchmark::State& state, const lists::OperationChoices& choices, bool machines) {
    SprayFarm& f = farm();
    InFolder here(f.dir.path());
    ui::OwnedForm<Tpermnaploszuk> conditions(permnaploszuk, *f.session);
    SetConditions(*conditions, choices);
    ui::OwnedForm<TPermNaplo> list(PermNaplo, *f.session);
    ShowOnDisplay(*list);
    MeasurePages(
        state,
        [&] {
            list->FormActivate(nullptr);
            machines ? list->Button5Click(nullptr) : list->Button2Click(nullptr);
        },
        here.output);
}

void Sheet(benchmark::State& state, const lists::OperationChoices& choices) {
    SprayFarm& f = farm();
    InFolder here(f.dir.path());
    ui::OwnedForm<Tpermnaploszuk> conditions(permnaploszuk, *f.session);
    conditions->ComboBox2->SetText(choices.year);
    conditions->ComboBox1->SetText(choices.sector);
    conditions->DateTimePicker1->SetDate(choices.from);
    conditions->DateTimePicker2->SetDate(choices.to);
    ShowOnDisplay(*conditions);
    MeasurePages(
        state, [&] { conditions->Button4Click(nullptr); }, here.output);
}

void ListSector(benchmark::State& state) {
    Listing(state, Choices("2010", "Kukorica"), false);
}

void ListMachinesSector(benchmark::State& state) {
    Listing(state, Choices("2010", "Kukorica"), true);
}

void ListAll(benchmark::State& state) {
    Listing(state, Choices("", ""), false);
}

void RowsAll(benchmark::State& state) {
    SprayFarm& f = farm();
    InFolder here(f.dir.path());
    ui::OwnedForm<Tpermnaploszuk> conditions(permnaploszuk, *f.session);
    SetConditions(*conditions, Choices("", ""));
    ui::OwnedForm<TPermNaplo> list(PermNaplo, *f.session);
    std::size_t names = 0;
    for (auto _ : state) {
        list->FormActivate(nullptr);
        for (list->Query1.First(); !list->Query1.Eof(); list->Query1.Next())
            names += list->Query1.FieldByName("Szemely").AsString().size();
    }
    benchmark::DoNotOptimize(names);
    state.counters["rows"] = list->Query1.RecordCount();
}

void SheetSector(benchmark::State& state) {
    Sheet(state, Choices("2010", "Kukorica"));
}

void SheetYear(benchmark::State& state) {
    Sheet(state, Choices("2010", ""));
}

BENCHMARK(ListSector)->Name("Spray/list_sector")->Unit(benchmark::kMillisecond);
BENCHMARK(ListMachinesSector)->Name("Spray/list_machines_sector")->Unit(benchmark::kMillisecond);
BENCHMARK(SheetSector)->Name("Spray/sheet_sector")->Unit(benchmark::kMillisecond);
BENCHMARK(SheetYear)->Name("Spray/sheet_year")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(ListAll)->Name("Spray/list_all")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(RowsAll)->Name("Spray/rows_all")->Unit(benchmark::kMillisecond)->Iterations(1);

const bool kOnDisplay =
    RegisterOnDisplay({"Spray/list_sector", "Spray/list_machines_sector", "Spray/sheet_sector",
                       "Spray/sheet_year", "Spray/list_all"});

} // namespace
