// The 2009-2014 diary's grazing log (GN-08) of a large farm, from the selector's button to
// the page model: 10,000 fields in 200 KET areas, 20,000 grazing rows (two a field, every
// tenth one deleted), 5 animal species with 4 age groups each, in a fresh database.
//
// - Diary0914/grazing_log: one press of "Legeltetési napló"; `pages` = pages made.
//
// Nothing here checks timings; the figures are for reading.

#include "bench_tables.h"
#include "forms_database.h"
#include "platform/db/table.h"
#include "platform/report/layouts.h"
#include "platform/report/output.h"
#include "platform/ui/form.h"
#include "reports/Gn0914valasztou.h"
#include "reports/commands.h"

#include <benchmark/benchmark.h>

namespace {

using namespace benchtables;

constexpr int kFields = 10000;
constexpr int kKetAreas = 200;
constexpr int kSpecies = 5;
constexpr int kAgeGroups = 4;

struct GrazingFarm : FormsDatabase {
    GrazingFarm() {
        RegisterReportLayouts();
        report::WriteBuiltInLayouts(dir.path());
        Fill();
    }

    void Append(const char* table, const std::function<void(db::TTable&)>& fill, int rows) {
        db::TTable t(*session);
        t.SetTableName(table);
        t.Open();
        for (int n = 0; n < rows; ++n) {
            t.Append();
            fill(t);
            t.Post();
        }
    }

    void Fill() {
        int n = 0;
        Append(
            "celprogramok",
            [&](db::TTable& t) {
                t.FieldByName("Id").SetAsInteger(9000);
                t.FieldByName("Kod").SetAsString("GY01");
                t.FieldByName("Megnev").SetAsString("Extenzív gyepgazdálkodás");
            },
            1);
        Append(
            "kotegyter",
            [&](db::TTable& t) {
                t.FieldByName("Sorsz").SetAsInteger(++n);
                t.FieldByName("Akgkod").SetAsInteger(9000);
                t.FieldByName("Deleted").SetAsBoolean(false);
            },
            kKetAreas);
        n = 0;
        Append(
            "Allatfajok",
            [&](db::TTable& t) {
                t.FieldByName("Megnev").SetAsString("Faj " + std::to_string(++n));
            },
            kSpecies);
        n = 0;
        Append(
            "Korcsoport",
            [&](db::TTable& t) {
                t.FieldByName("Allid").SetAsInteger(1 + n % kSpecies);
                t.FieldByName("Korcs").SetAsString("Korcsoport " + std::to_string(++n));
            },
            kSpecies * kAgeGroups);
        n = 0;
        Append(
            "parcellak",
            [&](db::TTable& t) {
                t.FieldByName("Parckod").SetAsString(std::to_string(100000 + n));
                t.FieldByName("Evj").SetAsInteger(2010);
                t.FieldByName("Parcsor").SetAsInteger(n + 1);
                t.FieldByName("Agazat").SetAsString("Gyep");
                t.FieldByName("Ter").SetAsFloat(50000);
                t.FieldByName("Agrkor").SetAsBoolean(n % 3 != 0);
                t.FieldByName("Ketid").SetAsInteger(1 + n % kKetAreas);
                ++n;
            },
            kFields);
        n = 0;
        Append(
            "legnaplo",
            [&](db::TTable& t) {
                t.FieldByName("Parcid").SetAsString(std::to_string(100000 + n % kFields));
                t.FieldByName("Legkezd").SetAsDateTime(
                    sys::encodeDate(2010, 4 + n % 6, 1 + n % 28));
                t.FieldByName("Ter").SetAsInteger(12345 + n);
                t.FieldByName("Darab").SetAsString("40");
                t.FieldByName("Napok").SetAsInteger(14);
                t.FieldByName("Ae").SetAsFloat(6);
                t.FieldByName("Allid").SetAsInteger(1 + n % kSpecies);
                t.FieldByName("Kor_id").SetAsInteger(1 + n % (kSpecies * kAgeGroups));
                t.FieldByName("Legmod").SetAsString("szakaszos legeltetés");
                t.FieldByName("Deleted").SetAsBoolean(n % 10 == 9);
                ++n;
            },
            2 * kFields);
    }
};

void GrazingLog(benchmark::State& state) {
    static GrazingFarm farm;
    const fs::path working = fs::current_path();
    fs::current_path(farm.dir.path());
    report::CaptureOutput output;
    report::ScopedOutput use(output);
    ui::OwnedForm<TGN200914> form(GN200914, *farm.session);
    form->FormShow(nullptr);
    std::size_t pages = 0;
    for (auto _ : state) {
        form->Button14->Click();
        pages = output.documents.empty() ? 0 : output.documents.back().pages.size();
        output.documents.clear();
    }
    fs::current_path(working);
    state.counters["pages"] = static_cast<double>(pages);
}

BENCHMARK(GrazingLog)->Name("Diary0914/grazing_log")->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
