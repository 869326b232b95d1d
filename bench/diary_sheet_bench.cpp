// The parcel diary sheets of a large farm run from their condition form to the page
// model: 10,000 fields, 200,000 operations (20 a field, every tenth an irrigation), a
// fertiliser use on every fifth operation, in a fresh database.
//
// - Diary/parcel_sheet: one press of "Nyomtatás" in the sheet's mode (1 GN 04, 2 GN 05,
//   4 GN 09, 5 GN 11); `pages` = pages made.
// - Diary/GN06: three presses of "Nyomtatás" in mode 3, GN 06 (20,000 pages): first page
//   and whole print, first press and later ones, peak memory.
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
#include "platform/ui/form.h"
#include "reports/Funch.h"
#include "reports/Gnparcmuvadnyh.h"
#include "reports/Gnparszukh.h"
#include "reports/commands.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

using namespace benchtables;

constexpr int kFields = 10000;
constexpr int kOperationsPerField = 20;

std::string Code(int n) {
    return std::to_string(100000 + n);
}

struct DiaryFarm : FormsDatabase {
    DiaryFarm() {
        RegisterReportLayouts();
        report::WriteBuiltInLayouts(dir.path());
        const auto start = std::chrono::steady_clock::now();
        Fill();
        std::fprintf(stderr, "diary farm built in %.1f s\n", secondsSince(start));
        numbers = std::make_unique<ui::OwnedForm<TNumericInt>>(NumericInt, *session);
        routines = std::make_unique<ui::OwnedForm<TGNParMuvNy>>(GNParMuvNy, *session);
        lookups = std::make_unique<ui::OwnedForm<TFunc>>(Func, *session);
    }

    void Fill() {
        db::TTable fertilisers(*session);
        fertilisers.SetTableName("Tapanyagok");
        fertilisers.Open();
        fertilisers.Append();
        fertilisers.FieldByName("Kod").SetAsString("100000");
        fertilisers.FieldByName("Nev").SetAsString("Pétisó");
        fertilisers.Post();
        db::TTable fields(*session);
        fields.SetTableName("parcellak");
        fields.Open();
        for (int n = 0; n < kFields; ++n) {
            fields.Append();
            fields.FieldByName("Parckod").SetAsString(Code(n));
            fields.FieldByName("Evj").SetAsInteger(2008);
            fields.FieldByName("Parcsor").SetAsInteger(n + 1);
            fields.FieldByName("Ter").SetAsFloat(10000 + n);
            fields.FieldByName("Agazat").SetAsString(n % 2 ? "Őszi búza" : "Kukorica");
            fields.FieldByName("Aktiv").SetAsString("A");
            fields.FieldByName("Hazmeg").SetAsString("Dűlő " + std::to_string(n % 97));
            fields.Post();
        }
        db::TTable operations(*session);
        operations.SetTableName("ElvMuv");
        operations.Open();
        db::TTable uses(*session);
        uses.SetTableName("felhanyag");
        uses.Open();
        db::TTable water(*session);
        water.SetTableName("Ontozes");
        water.Open();
        int code = 0;
        for (int n = 0; n < kFields; ++n)
            for (int k = 0; k < kOperationsPerField; ++k, ++code) {
                operations.Append();
                operations.FieldByName("Muvkod").SetAsString(std::to_string(100000 + code));
                operations.FieldByName("Tablakod").SetAsString(Code(n));
                operations.FieldByName("Datum").SetAsDateTime(
                    sys::encodeDate(2008, 1 + k % 12, 1 + k));
                operations.FieldByName("Muvnev").SetAsString("Művelet " + std::to_string(k));
                operations.FieldByName("Muvid").SetAsString("100000");
                operations.FieldByName("Ter").SetAsInteger(10000);
                operations.FieldByName("Evj").SetAsInteger(k % 10 == 0 ? 1 : 0);
                operations.FieldByName("Hozam").SetAsFloat(k == 19 ? 5 : 0);
                operations.Post();
                if (k % 10 == 0) {
                    water.Append();
                    water.FieldByName("Muvkod").SetAsString(std::to_string(100000 + code));
                    water.FieldByName("Parckod").SetAsString(Code(n));
                    water.FieldByName("Menny").SetAsFloat(300);
                    water.Post();
                }
                if (k % 5 == 1) {
                    uses.Append();
                    uses.FieldByName("Felhkod").SetAsString(std::to_string(100000 + code));
                    uses.FieldByName("Muvkod").SetAsString(std::to_string(100000 + code));
                    uses.FieldByName("Tablakod").SetAsString(Code(n));
                    uses.FieldByName("Anyagkod").SetAsString("100000");
                    uses.FieldByName("Anyagtip").SetAsString("000000");
                    uses.FieldByName("Menny").SetAsFloat(200);
                    uses.FieldByName("Mert").SetAsString("kg");
                    uses.FieldByName("Felelos").SetAsString("X27;0;0;");
                    uses.FieldByName("Mutr").SetAsBoolean(true);
                    uses.Post();
                }
            }
    }

    std::unique_ptr<ui::OwnedForm<TNumericInt>> numbers;
    std::unique_ptr<ui::OwnedForm<TGNParMuvNy>> routines;
    std::unique_ptr<ui::OwnedForm<TFunc>> lookups;
};

DiaryFarm& farm() {
    static DiaryFarm f;
    return f;
}

void Sheet(benchmark::State& state) {
    DiaryFarm& f = farm();
    InFolder here(f.dir.path());
    ui::OwnedForm<TGNParSzuk> form(GNParSzuk, *f.session);
    form->DiaryReportMode = static_cast<int>(state.range(0));
    form->Activate();
    form->DateTimePicker1->SetDate(sys::encodeDate(2008, 1, 1));
    form->DateTimePicker2->SetDate(sys::encodeDate(2008, 12, 31));
    ShowOnDisplay(*form);
    MeasurePages(
        state, [&] { form->Button1->Click(); }, here.output);
}

BENCHMARK(Sheet)
    ->Name("Diary/parcel_sheet")
    ->ArgName("mode")
    ->Arg(1)
    ->Arg(2)
    ->Arg(4)
    ->Arg(5)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// GN 06, the sheet of every field's operations (20,000 pages), pressed three times.
BENCHMARK(Sheet)
    ->Name("Diary/GN06")
    ->ArgName("mode")
    ->Arg(3)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

const bool kOnDisplay =
    RegisterOnDisplay({"Diary/parcel_sheet/mode:1", "Diary/parcel_sheet/mode:2",
                       "Diary/parcel_sheet/mode:4", "Diary/parcel_sheet/mode:5", "Diary/GN06"});

} // namespace
