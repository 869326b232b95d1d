// The 2009-2014 diary's KET-area sheets of a large farm, from the selector's buttons to
// the page model: 10,000 fields of 2010 (two in three under the scheme) in 300 KET areas
// (200 arable, 100 plantation), each field on a land parcel of its own, 100,000
// operations with a fertiliser use each (nutrient text, every other one mineral) and a
// seed use on every tenth, a plantation row with two varieties on each plantation field,
// in a fresh database built once per process.
//
// - Ket/GN02: three presses of "AKG - SZÁNTÓ" (GN-02): first page and whole print, first
//   press and later ones, peak memory; `pages` = pages made.
// - Ket/plantation: one press of "AKG - ÜLTETVÉNY" (GN-04).
//
// Nothing here checks timings; the figures are for reading.

#include "forms_database.h"
#include "on_display.h"
#include "platform/db/table.h"
#include "platform/report/layouts.h"
#include "platform/report/output.h"
#include "platform/ui/form.h"
#include "reports/Gn0914ket.h"
#include "reports/commands.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

using namespace benchtables;

constexpr int kFields = 10000;
constexpr int kArableAreas = 200;
constexpr int kPlantationAreas = 100;
constexpr int kOperationsPerField = 10;

std::string Code(int n) {
    return std::to_string(100000 + n);
}

bool Plantation(int field) {
    return field % 10 == 0;
}

struct KetFarm : FormsDatabase {
    KetFarm() {
        RegisterReportLayouts();
        report::WriteBuiltInLayouts(dir.path());
        const auto start = std::chrono::steady_clock::now();
        Fill();
        std::fprintf(stderr, "KET farm built in %.1f s\n", secondsSince(start));
        sheets = std::make_unique<Gn0914KetSheets>(*session);
    }

    void Fill() {
        AppendRows("kotegyter", kArableAreas + kPlantationAreas, [](db::TTable& t, int i) {
            t.FieldByName("Sorsz").SetAsInteger(i + 1);
            t.FieldByName("Hazimen").SetAsString("KET " + std::to_string(i + 1));
            t.FieldByName("Ter").SetAsFloat(40);
            t.FieldByName("Akgkod").SetAsInteger(1);
            t.FieldByName("Akgmuvag").SetAsInteger(i < kArableAreas ? 1 : 3);
            t.FieldByName("Nat2000").SetAsBoolean(i % 2 == 0);
            t.FieldByName("Deleted").SetAsBoolean(false);
        });
        AppendRows("parcellak", kFields, [](db::TTable& t, int f) {
            t.FieldByName("Parckod").SetAsString(Code(f));
            t.FieldByName("Evj").SetAsInteger(2010);
            t.FieldByName("Parcsor").SetAsInteger(f + 1);
            t.FieldByName("Agazat").SetAsString(Plantation(f) ? "Szőlő" : "Őszi búza");
            t.FieldByName("Ter").SetAsFloat(10000 + (f * 37) % 90000);
            t.FieldByName("Aktiv").SetAsString("A");
            t.FieldByName("Hazmeg").SetAsString("Dűlő " + std::to_string(f % 97));
            t.FieldByName("Agrkor").SetAsBoolean(f % 3 != 0);
            t.FieldByName("Ketid").SetAsInteger(
                Plantation(f) ? 1 + kArableAreas + f % kPlantationAreas : 1 + f % kArableAreas);
            t.FieldByName("Tapanytelj").SetAsBoolean(f % 2 == 0);
        });
        AppendRows("Tablak", kFields, [](db::TTable& t, int f) {
            t.FieldByName("Helysz").SetAsString("0" + std::to_string(100 + f) + "/" +
                                                std::to_string(1 + f % 9));
            t.FieldByName("Parcella").SetAsString(f % 50 == 0 ? "T" : "B");
            t.FieldByName("Telepules").SetAsString("Település " + std::to_string(f % 40));
            t.FieldByName("Blok").SetAsString("AB" + std::to_string(10 + f % 80) + "-1-23");
            t.FieldByName("Aktiv").SetAsInteger(1);
        });
        AppendRows("Szhelyrajzi", kFields, [](db::TTable& t, int f) {
            t.FieldByName("Parcellakod").SetAsString(Code(f));
            t.FieldByName("Helysz").SetAsInteger(f + 1);
        });
        const int operations = kFields * kOperationsPerField;
        AppendRows("ElvMuv", operations, [](db::TTable& t, int op) {
            const int field = op / kOperationsPerField;
            t.FieldByName("Muvkod").SetAsString(std::to_string(100000 + op));
            t.FieldByName("Tablakod").SetAsString(Code(field));
            t.FieldByName("Datum").SetAsDateTime(sys::encodeDate(2009, 10, 1) + op % 300);
            t.FieldByName("Muvid").SetAsString(op % kOperationsPerField == 9 ? "100001" : "100000");
            t.FieldByName("Ter").SetAsInteger(10000 + (field * 37) % 90000);
            t.FieldByName("Hozam").SetAsFloat(op % kOperationsPerField == 9 ? 5.5 : 0);
        });
        AppendRows("felhanyag", operations, [](db::TTable& t, int op) {
            const bool seed = op % kOperationsPerField == 0;
            t.FieldByName("Muvkod").SetAsString(std::to_string(100000 + op));
            t.FieldByName("Tablakod").SetAsString(Code(op / kOperationsPerField));
            t.FieldByName("Anyagkod").SetAsString(seed ? "300000" : "100000");
            t.FieldByName("Anyagtip").SetAsString(seed ? "000002" : "000000");
            t.FieldByName("Menny").SetAsFloat(seed ? 220 : 150);
            t.FieldByName("Mert").SetAsString("kg");
            t.FieldByName("Felelos").SetAsString(seed ? "" : "X20;10;10;");
            t.FieldByName("Mutr").SetAsBoolean(op % 2 == 0);
        });
        AppendRows("Vetomagok", 1, [](db::TTable& t, int) {
            t.FieldByName("Magkod").SetAsString("300000");
            t.FieldByName("Nev").SetAsString("GK Öthalom");
        });
        const int plantations = kFields / 10;
        AppendRows("Parckiegadat", plantations, [](db::TTable& t, int i) {
            t.FieldByName("Parckod").SetAsString(Code(i * 10));
            t.FieldByName("Fajta").SetAsString("Olaszrizling");
            t.FieldByName("Tot").SetAsFloat(1);
            t.FieldByName("Sort").SetAsFloat(3);
            t.FieldByName("Teve").SetAsInteger(1998);
            t.FieldByName("odukszama").SetAsInteger(4);
            t.FieldByName("rovarcsszama").SetAsInteger(2);
        });
        AppendRows("Ultkieg02", plantations * 2, [](db::TTable& t, int i) {
            t.FieldByName("Parckod").SetAsString(Code((i / 2) * 10));
            t.FieldByName("Ultkod").SetAsInteger(1 + i / 2);
            t.FieldByName("Faj").SetAsString("Szőlő");
            t.FieldByName("Hozam").SetAsFloat(7.5);
        });
    }

    std::unique_ptr<Gn0914KetSheets> sheets;
};

KetFarm& Farm() {
    static KetFarm farm;
    return farm;
}

void Arable(benchmark::State& state) {
    KetFarm& farm = Farm();
    InFolder folder(farm.dir.path());
    farm.sheets->FormShow();
    MeasurePages(
        state, [&] { farm.sheets->PrintArable(); }, folder.output);
    farm.sheets->FormClose();
}
BENCHMARK(Arable)->Name("Ket/GN02")->Unit(benchmark::kMillisecond)->Iterations(3);

void PlantationSheet(benchmark::State& state) {
    KetFarm& farm = Farm();
    InFolder folder(farm.dir.path());
    farm.sheets->FormShow();
    MeasurePages(
        state, [&] { farm.sheets->PrintPlantation("2010"); }, folder.output);
    farm.sheets->FormClose();
}
BENCHMARK(PlantationSheet)->Name("Ket/plantation")->Unit(benchmark::kMillisecond)->Iterations(1);

const bool kOnDisplay = RegisterOnDisplay({"Ket/GN02", "Ket/plantation"});

} // namespace
