// The land parcel list ("Tablak.rav") of a large farm saved as PDF, run from its form as
// the user runs it: 10,000 active land parcels of 2,000 owners in a fresh database.
//
// - Register/tablak_pdf: one press of "Nyomtatás" answered "PDF fájl";
//   items_per_second = pages per second, `pages` = pages made.
//
// Nothing here checks timings; the figures are for reading.

#include "bench_tables.h"
#include "core/fresh_database.h"
#include "forms_database.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/report/layouts.h"
#include "platform/report/output.h"
#include "platform/ui/application.h"
#include "platform/ui/form.h"
#include "register/Tablalistac.h"
#include "register/layouts.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

using namespace benchtables;

constexpr int kParcels = 10000;
constexpr int kOwners = 2000;

std::string Code(int n) {
    return std::to_string(100000 + n);
}

struct Farm : FormsDatabase {
    Farm() {
        reg::RegisterLayouts();
        report::WriteBuiltInLayouts(dir.path());
        db::TTable owners(*session);
        owners.SetTableName("tulaj");
        owners.Open();
        for (int n = 0; n < kOwners; ++n) {
            owners.Append();
            owners.FieldByName("Tulkod").SetAsString(Code(n));
            owners.FieldByName("Tulnev").SetAsString("Gazda Ödön " + std::to_string(n));
            owners.FieldByName("Cim").SetAsString("Hódmezővásárhely, Fő utca " +
                                                  std::to_string(n % 200 + 1));
            owners.Post();
        }
        db::TTable parcels(*session);
        parcels.SetTableName("Tablak");
        parcels.Open();
        for (int n = 0; n < kParcels; ++n) {
            char lot[16];
            std::snprintf(lot, sizeof lot, "%04d/%d", n / 3, n % 3 + 1);
            parcels.Append();
            parcels.FieldByName("Helysz").SetAsString(lot);
            parcels.FieldByName("Hazmeg").SetAsString("Dűlő " + std::to_string(n % 97));
            parcels.FieldByName("Tulkod").SetAsString(Code(n % kOwners));
            parcels.FieldByName("Ter").SetAsInteger(1000 + (n * 37) % 90000);
            parcels.FieldByName("Arany").SetAsFloat((n % 400) / 10.0);
            parcels.FieldByName("Ont").SetAsInteger(n % 2);
            parcels.FieldByName("Aktiv").SetAsInteger(1);
            parcels.Post();
        }
    }
};

Farm& farm() {
    static Farm f;
    return f;
}

void TablakPdf(benchmark::State& state) {
    Farm& f = farm();
    const fs::path working = fs::current_path();
    fs::current_path(f.dir.path());
    report::CaptureOutput output;
    output.answer = report::OutputChoice{report::Destination::PdfFile, f.dir.path() / "Tablak.pdf"};
    report::ScopedOutput use(output);
    ui::OwnedForm<TTablalista> form(Tablalista, *f.session);
    form->Activate();
    std::size_t pages = 0;
    for (auto _ : state) {
        form->Button1->Click();
        pages = output.documents.back().pages.size();
        output.documents.clear();
    }
    fs::current_path(working);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(pages));
    state.counters["pages"] = static_cast<double>(pages);
}

BENCHMARK(TablakPdf)->Name("Register/tablak_pdf")->Unit(benchmark::kMillisecond);

} // namespace
