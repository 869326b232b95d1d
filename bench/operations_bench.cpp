// Recording an operation on a large farm: 10,000 active fields, 500 materials (200
// fertilisers, 150 pesticides, 150 seed varieties) with 20,000 ledger rows and 20,000
// recorded operations, in a fresh database built once per process.
//
// - Operations/open_entry: the entry form's show and first activation (fields, types,
//   serial, sectors, stale pending rows removed), as the main window opens it.
// - Operations/open_materials: the material dialog's activation: the three stock
//   queries for the operation's date.
// - Operations/save_50_fields_3_materials: the save of an operation on 50 fields whose
//   three materials (150 pending uses with their withdrawals) were posted before.
//
// Nothing here checks timings; the figures are for reading.

#include "bench_tables.h"
#include "core/Isnuminth.h"
#include "core/fresh_database.h"
#include "forms_database.h"
#include "operations/Anyagfelv.h"
#include "operations/Muvadatf.h"
#include "operations/material_posting.h"
#include "operations/operation_records.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/application.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/form.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <memory>
#include <random>

namespace {

using namespace benchtables;

constexpr int kFields = 10000;
constexpr int kMovements = 20000;
constexpr int kOperations = 20000;
const sys::DateTime kDay = sys::encodeDate(2010, 3, 5);

void AddMaterials(db::TTable& rows, const std::string& codeField, int first, int count,
                  const std::string& unit) {
    rows.Open();
    for (int n = 0; n < count; ++n) {
        rows.Append();
        rows.FieldByName(codeField).SetAsString(std::to_string(first + n));
        rows.FieldByName("Nev").SetAsString("Anyag " + std::to_string(first + n));
        rows.FieldByName("Mert").SetAsString(unit);
        rows.Post();
    }
}

struct Farm : FormsDatabase {
    Farm() {
        numbers = std::make_unique<ui::OwnedForm<TNumericInt>>(NumericInt, *session);
        db::SessionTransaction transaction(*session);
        db::TTable fields(*session);
        fields.SetTableName("parcellak");
        fields.Open();
        for (int n = 0; n < kFields; ++n) {
            fields.Append();
            fields.FieldByName("Parckod").SetAsString(std::to_string(100000 + n));
            fields.FieldByName("Evj").SetAsInteger(2010);
            fields.FieldByName("Parcsor").SetAsInteger(n + 1);
            fields.FieldByName("Agazat").SetAsString("Ágazat " + std::to_string(n % 30));
            fields.FieldByName("Ter").SetAsFloat(10000 + n % 50 * 1000);
            fields.FieldByName("Aktiv").SetAsString("A");
            fields.Post();
        }
        db::TTable fertilisers(*session), pesticides(*session), seeds(*session);
        fertilisers.SetTableName("Tapanyagok");
        pesticides.SetTableName("Novenyvedok");
        seeds.SetTableName("Vetomagok");
        AddMaterials(fertilisers, "Kod", 100000, 200, "kg");
        AddMaterials(pesticides, "Kod", 200000, 150, "l");
        AddMaterials(seeds, "Magkod", 300000, 150, "kg");
        std::mt19937 random(7);
        db::TTable ledger(*session);
        ledger.SetTableName("Raktarmozgas");
        ledger.Open();
        for (int n = 0; n < kMovements; ++n) {
            const int kind = static_cast<int>(random() % 3);
            ledger.Append();
            ledger.FieldByName("Anyagkod")
                .SetAsString(std::to_string(100000 * (kind + 1) + random() % 150));
            ledger.FieldByName("Datum").SetAsDateTime(kDay - static_cast<int>(random() % 1000));
            ledger.FieldByName("Menny").SetAsFloat(1000000);
            ledger.Post();
        }
        db::TTable operations(*session);
        operations.SetTableName("ElvMuv");
        operations.Open();
        for (int n = 0; n < kOperations; ++n) {
            operations.Append();
            operations.FieldByName("Muvkod").SetAsString(std::to_string(100000 + n));
            operations.FieldByName("Tablakod").SetAsString(std::to_string(100000 + n % kFields));
            operations.FieldByName("Datum").SetAsDateTime(kDay - static_cast<int>(random() % 1000));
            operations.FieldByName("Sorsz").SetAsInteger(n + 1);
            operations.Post();
        }
        transaction.Commit();
    }
    std::unique_ptr<ui::OwnedForm<TNumericInt>> numbers;
};

Farm& TheFarm() {
    static Farm farm;
    return farm;
}

void Operations_open_entry(benchmark::State& state) {
    Farm& farm = TheFarm();
    for (auto _ : state) {
        ui::OwnedForm<TMuvadat> form(Muvadat, *farm.session);
        form->FormShow(form.get());
        form->FormActivate(form.get());
        benchmark::DoNotOptimize(form->Table8.RecordCount());
    }
}
BENCHMARK(Operations_open_entry)->Unit(benchmark::kMillisecond);

void Operations_open_materials(benchmark::State& state) {
    Farm& farm = TheFarm();
    ui::OwnedForm<TMuvadat> entry(Muvadat, *farm.session);
    entry->DateTimePicker1->SetDate(kDay);
    int rows = 0;
    for (auto _ : state) {
        ui::OwnedForm<TAnyagfel> dialog(Anyagfel, *farm.session);
        dialog->FormShow(dialog.get());
        dialog->FormActivate(dialog.get());
        rows = dialog->Query1.RecordCount() + dialog->Query2.RecordCount() +
               dialog->Query3.RecordCount();
    }
    state.counters["rows"] = rows;
}
BENCHMARK(Operations_open_materials)->Unit(benchmark::kMillisecond);

void Operations_save_50_fields_3_materials(benchmark::State& state) {
    Farm& farm = TheFarm();
    db::Session& session = *farm.session;
    ops::OperationEntry entry;
    std::vector<ops::UseField> fields;
    for (int n = 0; n < 50; ++n) {
        entry.fields.push_back({std::to_string(100000 + n * 7), 10000});
        fields.push_back({entry.fields.back().parckod, 10000});
    }
    entry.type = {"100000", "műtrágyaszórás", 1, 0};
    entry.date = entry.endDate = kDay;
    entry.machineHours = 40;
    for (auto _ : state) {
        state.PauseTiming();
        for (const char* code : {"100001", "100002", "100003"}) {
            ops::MaterialUse use;
            use.materialCode = code;
            use.materialUnit = "kg";
            use.dose = 100;
            use.doseUnit = "kg";
            ops::PostMaterialUse(session, use, fields, 500000, true, false);
        }
        state.ResumeTiming();
        ops::SaveOperation(session, entry, false);
    }
}
BENCHMARK(Operations_save_50_fields_3_materials)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
