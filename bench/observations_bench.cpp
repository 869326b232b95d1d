// The plant-protection observation list of one field with 300 observations, each with
// its pest row, in a fresh database built once per process.
//
// - Observations/list_pest_columns: the two calculated pest columns of every row of the
//   list read as the grid reads them (each row's calculation runs on its own).
//
// Nothing here checks timings; the figures are for reading.

#include "core/Isnuminth.h"
#include "forms_database.h"
#include "platform/db/table.h"
#include "resources/Novvedmegfh.h"

#include <benchmark/benchmark.h>

namespace {

using namespace benchtables;

constexpr int kObservations = 300;

// The field and its observations, each with one pest row.
void AddObservations(db::Session& session) {
    db::TTable fields(session);
    fields.SetTableName("parcellak");
    fields.Open();
    fields.Append();
    fields.FieldByName("Parckod").SetAsString("100000");
    fields.FieldByName("Evj").SetAsInteger(2010);
    fields.FieldByName("Parcsor").SetAsInteger(1);
    fields.FieldByName("Aktiv").SetAsString("A");
    fields.Post();
    db::TTable observations(session);
    observations.SetTableName("Novvedmegf");
    observations.Open();
    db::TTable pests(session);
    pests.SetTableName("Novvedmeg2");
    pests.Open();
    db::SessionTransaction transaction(session);
    for (int n = 1; n <= kObservations; ++n) {
        observations.Append();
        observations.FieldByName("Parc_id").SetAsString("100000");
        observations.FieldByName("Datum").SetAsDateTime(sys::encodeDate(2010, 1, 1) + n);
        observations.FieldByName("Karfejl").SetAsString("kártevő " + std::to_string(n));
        observations.Post();
        pests.Append();
        pests.FieldByName("Megfid").SetAsInteger(observations.FieldByName("Id").AsInteger());
        pests.FieldByName("Karfejl").SetAsString("lárva");
        pests.FieldByName("Karjel").SetAsString("rágott levelek");
        pests.Post();
    }
    transaction.Commit();
}

struct ObservationList : FormsDatabase {
    ObservationList() { AddObservations(*session); }
};

ObservationList& TheList() {
    static ObservationList list;
    return list;
}

void Observations_list_pest_columns(benchmark::State& state) {
    ObservationList& list = TheList();
    ui::OwnedForm<TNumericInt> numbers(NumericInt, *list.session);
    ui::OwnedForm<TNovvedmegf> form(Novvedmegf, *list.session);
    form->Activate();
    db::TTable& rows = form->Table1;
    const int stage = rows.FieldByName("karfej").Index();
    const int signs = rows.FieldByName("karjel").Index();
    for (auto _ : state)
        for (int row = 0; row < rows.RecordCount(); ++row) {
            benchmark::DoNotOptimize(rows.rowValue(static_cast<std::size_t>(row), stage));
            benchmark::DoNotOptimize(rows.rowValue(static_cast<std::size_t>(row), signs));
        }
    state.counters["rows"] = rows.RecordCount();
}
BENCHMARK(Observations_list_pest_columns)->Unit(benchmark::kMillisecond);

} // namespace
