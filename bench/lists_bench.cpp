// The lists and summaries of a large farm, each from its button to the pages in the
// page model (the preview's answer): 10,000 fields (farming years 2009 and 2010, ten
// sectors), 200,000 operations (20 per field, 20 tractors) and 400,000 material uses
// (2 per operation), in a fresh database built once per process.
//
// - Lists/muvlist_sector: the performed-operations list of one farming year and sector
//   (about 10,000 operations), rebuilt as on activation and printed.
// - Lists/muvlist_all: the same for every operation (200,000 rows).
// - Lists/mezei: the field inventory of 2009, re-queried for the year and printed.
// - Lists/hozam: the yield summary of 2010, queried and printed.
// - Lists/input: one field's input summary, loaded and printed.
// - Lists/gepileker: one tractor's operations over 2009-2010, queried and printed.
// `pages` = pages made.
//
// Nothing here checks timings; the figures are for reading.

#include "bench_tables.h"
#include "core/Isnuminth.h"
#include "core/fresh_database.h"
#include "forms_database.h"
#include "on_display.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/report/layouts.h"
#include "platform/report/output.h"
#include "platform/ui/application.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/form.h"
#include "reports/Elvmuvlista.h"
#include "reports/Gepmuvlekerh.h"
#include "reports/Hozah.h"
#include "reports/Mezeih.h"
#include "reports/Muveleteklist.h"
#include "reports/Parcinputh.h"
#include "reports/commands.h"
#include "reports/report_texts.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <memory>

namespace {

using namespace benchtables;

constexpr int kFields = 10000;
constexpr int kOperationsPerField = 20;
constexpr int kTractors = 20;
const char* const kSectors[] = {"Búza",    "Kukorica", "Napraforgó", "Árpa",  "Repce",
                                "Lucerna", "Zab",      "Rozs",       "Szója", "Őszi búza"};

std::string Code(int n) {
    return std::to_string(100000 + n);
}

struct Farm : FormsDatabase {
    Farm() {
        RegisterReportLayouts();
        report::WriteBuiltInLayouts(dir.path());
        const auto start = std::chrono::steady_clock::now();
        Fill();
        std::fprintf(stderr, "lists farm built in %.1f s\n", secondsSince(start));
        numbers = std::make_unique<ui::OwnedForm<TNumericInt>>(NumericInt, *session);
    }

    void Append(db::TTable& table, const std::function<void(db::TTable&)>& fill) {
        table.Append();
        fill(table);
        table.Post();
    }

    void Fill() {
        db::SessionTransaction transaction(*session);
        db::TTable materials(*session);
        for (const char* table : {"Tapanyagok", "Novenyvedok", "Vetomagok"}) {
            materials.SetTableName(table);
            materials.Open();
            const int base = table[0] == 'T' ? 100000 : table[0] == 'N' ? 200000 : 300000;
            for (int n = 0; n < 100; ++n)
                Append(materials, [&](db::TTable& t) {
                    t.FieldByName(base == 300000 ? "Magkod" : "Kod")
                        .SetAsString(std::to_string(base + n));
                    t.FieldByName("Nev").SetAsString(std::string(table) + " " + std::to_string(n));
                });
            materials.Close();
        }
        db::TTable tractors(*session);
        tractors.SetTableName("Erogepek");
        tractors.Open();
        for (int n = 1; n <= kTractors; ++n)
            Append(tractors, [&](db::TTable& t) {
                t.FieldByName("Gepkod").SetAsString(Code(n));
                t.FieldByName("Gepnev").SetAsString("Traktor " + std::to_string(n));
                t.FieldByName("Geptip").SetAsString("MTZ " + std::to_string(n));
                t.FieldByName("Tul").SetAsInteger(0);
            });
        db::TTable fields(*session), ops(*session), uses(*session);
        fields.SetTableName("parcellak");
        ops.SetTableName("ElvMuv");
        uses.SetTableName("felhanyag");
        fields.Open();
        ops.Open();
        uses.Open();
        int op = 0;
        for (int f = 0; f < kFields; ++f) {
            const int year = 2009 + f % 2;
            Append(fields, [&](db::TTable& t) {
                t.FieldByName("Parckod").SetAsString(Code(f));
                t.FieldByName("Evj").SetAsInteger(year);
                t.FieldByName("Parcsor").SetAsInteger(f / 2 + 1);
                t.FieldByName("Agazat").SetAsString(kSectors[(f / 2) % 10]);
                t.FieldByName("Ter").SetAsFloat(10000 + (f * 37) % 90000);
                t.FieldByName("Aktiv").SetAsString("A");
                t.FieldByName("Hazmeg").SetAsString("Dűlő " + std::to_string(f % 97));
            });
            for (int k = 0; k < kOperationsPerField; ++k, ++op) {
                const std::string muvkod = std::to_string(100000 + op);
                Append(ops, [&](db::TTable& t) {
                    t.FieldByName("Muvkod").SetAsString(muvkod);
                    t.FieldByName("Tablakod").SetAsString(Code(f));
                    t.FieldByName("Datum").SetAsDateTime(sys::encodeDate(year - 1, 9, 1) + k * 18);
                    t.FieldByName("Muvnev").SetAsString(k == 19 ? "Aratás"
                                                                : "Művelet " + std::to_string(k));
                    t.FieldByName("Ter").SetAsInteger(10000 + (f * 37) % 90000);
                    t.FieldByName("Gepora").SetAsFloat(1.5);
                    t.FieldByName("Keziora").SetAsFloat(0.5);
                    t.FieldByName("Nha").SetAsFloat(1.2);
                    t.FieldByName("Hozam").SetAsFloat(k == 19 ? 5.5 : 0);
                    t.FieldByName("Erogepkod").SetAsString(Code(1 + op % kTractors));
                });
                for (int u = 0; u < 2; ++u)
                    Append(uses, [&](db::TTable& t) {
                        t.FieldByName("Felhkod").SetAsString(std::to_string(100000 + op * 2 + u));
                        t.FieldByName("Muvkod").SetAsString(muvkod);
                        t.FieldByName("Tablakod").SetAsString(Code(f));
                        t.FieldByName("Anyagkod")
                            .SetAsString(std::to_string((u == 0 ? 100000 : 200000) + op % 100));
                        t.FieldByName("Menny").SetAsFloat(100 + op % 50);
                        t.FieldByName("Mert").SetAsString(u == 0 ? "kg" : "l");
                    });
            }
        }
        transaction.Commit();
    }

    std::unique_ptr<ui::OwnedForm<TNumericInt>> numbers;
};

Farm& farm() {
    static Farm f;
    return f;
}

void OperationsList(benchmark::State& state, const lists::OperationChoices& choices) {
    Farm& f = farm();
    InFolder here(f.dir.path());
    ui::OwnedForm<Telvmuvlist> conditions(elvmuvlist, *f.session);
    const lists::OperationConditions c = lists::BuildOperationConditions(choices);
    conditions->ConditionTail = c.ConditionTail;
    conditions->DateRangeFilter = c.DateRangeFilter;
    conditions->DateRangeTail = c.DateRangeTail;
    ui::OwnedForm<TMuvList> list(MuvList, *f.session);
    ShowOnDisplay(*list);
    MeasurePages(
        state,
        [&] {
            list->FormActivate(nullptr);
            list->Button2Click(nullptr);
        },
        here.output);
}

void MuvlistSector(benchmark::State& state) {
    lists::OperationChoices choices;
    choices.year = "2010";
    choices.sector = "Kukorica";
    choices.from = sys::encodeDate(2008, 1, 1);
    choices.to = sys::encodeDate(2010, 12, 31);
    OperationsList(state, choices);
}

void MuvlistAll(benchmark::State& state) {
    lists::OperationChoices choices;
    choices.from = sys::encodeDate(2008, 1, 1);
    choices.to = sys::encodeDate(2010, 12, 31);
    OperationsList(state, choices);
}

void Inventory(benchmark::State& state) {
    Farm& f = farm();
    InFolder here(f.dir.path());
    ui::OwnedForm<TMezei> form(::Mezei, *f.session);
    ShowOnDisplay(*form);
    MeasurePages(
        state,
        [&] {
            form->ComboBox1->SetText("2009");
            form->ComboBox1Change(nullptr);
            form->Button3Click(nullptr);
        },
        here.output);
}

void HozamSummary(benchmark::State& state) {
    Farm& f = farm();
    InFolder here(f.dir.path());
    ui::OwnedForm<THozam> form(Hozam, *f.session);
    form->FormShow(nullptr);
    ShowOnDisplay(*form);
    int year = 2009;
    MeasurePages(
        state,
        [&] {
            year = year == 2009 ? 2010 : 2009; // a change of year each time: a new query
            form->ComboBox1->SetText(std::to_string(year));
            form->Button2Click(nullptr);
        },
        here.output);
}

void InputSummary(benchmark::State& state) {
    Farm& f = farm();
    InFolder here(f.dir.path());
    ui::OwnedForm<TParcInput> form(ParcInput, *f.session);
    form->FormShow(nullptr);
    ShowOnDisplay(*form);
    form->Table2.MoveBy(2500);
    MeasurePages(
        state, [&] { form->Button2Click(nullptr); }, here.output);
}

void MachineWork(benchmark::State& state) {
    Farm& f = farm();
    InFolder here(f.dir.path());
    ui::OwnedForm<TGepmuvleker> form(Gepmuvleker, *f.session);
    // Shown on a display, the form's own show adds its statements; offscreen, as it.
    if (OnDisplay())
        ShowOnDisplay(*form);
    else
        form->FormShow(nullptr);
    MeasurePages(
        state, [&] { form->Button1Click(nullptr); }, here.output);
}

BENCHMARK(MuvlistSector)->Name("Lists/muvlist_sector")->Unit(benchmark::kMillisecond);
BENCHMARK(MuvlistAll)->Name("Lists/muvlist_all")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(Inventory)->Name("Lists/mezei")->Unit(benchmark::kMillisecond);
BENCHMARK(HozamSummary)->Name("Lists/hozam")->Unit(benchmark::kMillisecond);
BENCHMARK(InputSummary)->Name("Lists/input")->Unit(benchmark::kMillisecond);
BENCHMARK(MachineWork)->Name("Lists/gepileker")->Unit(benchmark::kMillisecond);

const bool kOnDisplay =
    RegisterOnDisplay({"Lists/muvlist_sector", "Lists/muvlist_all", "Lists/mezei", "Lists/hozam",
                       "Lists/input", "Lists/gepileker"});

} // namespace
