// The parcel summary GN 03 of a large farm run from its form to the page model: 10,000
// active agri-environment fields of 2008 with 200,000 operations (20 a field), each field
// on its land parcel and every fifth on a second one (a date mark and a remark row),
// every other field continuing the one before it and carrying a soil-test record, in a
// fresh database.
//
// - ParcelSummary/GN03/active:0: the year 2008 chosen; active:1: every active field.
//   `pages` = pages made, `remarks` = remark rows.
//
// Nothing here checks timings; the figures are for reading.

#include "bench_tables.h"
#include "core/Isnuminth.h"
#include "forms_database.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/report/layouts.h"
#include "platform/report/output.h"
#include "platform/ui/form.h"
#include "reports/Alapadatok1h.h"
#include "reports/Funch.h"
#include "reports/commands.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

using namespace benchtables;

constexpr int kFields = 10000;
constexpr int kOperationsPerField = 20;

std::string Code(int n) {
    return std::to_string(100000 + n);
}

struct SummaryFarm : FormsDatabase {
    SummaryFarm() {
        RegisterReportLayouts();
        report::WriteBuiltInLayouts(dir.path());
        Fill();
        numbers = std::make_unique<ui::OwnedForm<TNumericInt>>(NumericInt, *session);
        lookups = std::make_unique<ui::OwnedForm<TFunc>>(Func, *session);
    }

    void Fill() {
        db::TTable fields(*session);
        fields.SetTableName("parcellak");
        fields.Open();
        db::TTable parcels(*session);
        parcels.SetTableName("Tablak");
        parcels.Open();
        db::TTable links(*session);
        links.SetTableName("Szhelyrajzi");
        links.Open();
        db::TTable rotation(*session);
        rotation.SetTableName("Szparcellak");
        rotation.Open();
        db::TTable soil(*session);
        soil.SetTableName("Parclellak02");
        soil.Open();
        const auto parcel = [&](int n, const std::string& helysz) {
            parcels.Append();
            parcels.FieldByName("Helysz").SetAsString(helysz);
            parcels.FieldByName("Parcella").SetAsString(n % 3 ? "SZ" : "B");
            parcels.FieldByName("Ter").SetAsInteger(10000 + n);
            parcels.FieldByName("Blok").SetAsString("K" + std::to_string(n % 500) + "-C-09");
            parcels.FieldByName("Muvagid").SetAsInteger(1 + n % 4);
            parcels.FieldByName("Aktiv").SetAsInteger(1);
            parcels.Post();
            links.Append();
            links.FieldByName("Parcellakod").SetAsString(Code(n));
            links.FieldByName("Helysz").SetAsInteger(parcels.FieldByName("Tableid").AsInteger());
            links.Post();
        };
        for (int n = 0; n < kFields; ++n) {
            fields.Append();
            fields.FieldByName("Parckod").SetAsString(Code(n));
            fields.FieldByName("Evj").SetAsInteger(2008);
            fields.FieldByName("Parcsor").SetAsInteger(n + 1);
            fields.FieldByName("Ter").SetAsFloat(10000 + n);
            fields.FieldByName("Agazat").SetAsString(n % 2 ? "Őszi búza" : "Kukorica");
            fields.FieldByName("Aktiv").SetAsString("A");
            fields.FieldByName("Masod").SetAsString("NEM");
            fields.FieldByName("Agrkor").SetAsBoolean(true);
            fields.FieldByName("Tertam").SetAsBoolean(n % 2 == 0);
            fields.FieldByName("Celp").SetAsString("Integrált szántóföldi");
            fields.Post();
            parcel(n, std::to_string(100 + n) + "/1");
            if (n % 5 == 0)
                parcel(n, std::to_string(100 + n) + "/2");
            if (n % 2 == 1) {
                rotation.Append();
                rotation.FieldByName("Parckod").SetAsString(Code(n));
                rotation.FieldByName("Szparckod").SetAsString(Code(n - 1));
                rotation.Post();
                soil.Append();
                soil.FieldByName("Parckod").SetAsString(Code(n));
                soil.FieldByName("Tvizsgtip").SetAsString("bővített");
                soil.Post();
            }
        }
        db::TTable operations(*session);
        operations.SetTableName("ElvMuv");
        operations.Open();
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
                operations.Post();
            }
    }

    std::unique_ptr<ui::OwnedForm<TNumericInt>> numbers;
    std::unique_ptr<ui::OwnedForm<TFunc>> lookups;
};

SummaryFarm& farm() {
    static SummaryFarm f;
    return f;
}

void Gn03(benchmark::State& state) {
    SummaryFarm& f = farm();
    const fs::path working = fs::current_path();
    fs::current_path(f.dir.path());
    report::CaptureOutput output;
    report::ScopedOutput use(output);
    ui::OwnedForm<TAlapadatok1> form(Alapadatok1, *f.session);
    form->RvProject1.SetProjectFile("GN03Parcellak.rav");
    form->GroupBox3->SetVisible(true);
    form->Query3.ParamByName("AKG").SetAsBoolean(true);
    form->Activate();
    form->CheckBox1->SetChecked(state.range(0) != 0);
    std::size_t pages = 0;
    int remarks = 0;
    for (auto _ : state) {
        form->Button3->Click();
        pages = output.documents.empty() ? 0 : output.documents.back().pages.size();
        remarks = form->StringGrid1->RowCount() - 1;
        output.documents.clear();
    }
    fs::current_path(working);
    state.counters["pages"] = static_cast<double>(pages);
    state.counters["remarks"] = remarks;
}

BENCHMARK(Gn03)
    ->Name("ParcelSummary/GN03")
    ->ArgName("active")
    ->DenseRange(0, 1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace
