// Report engine speed: a 10,000-row table report (a parcel list grouped by crop, with
// group and grand totals, page header with page numbers) made in a temporary folder.
//
// - Report/layout: the pages laid out from the table connection (RenderReport), no
//   painting; items_per_second = rows per second, `pages` = pages made.
// - Report/pdf: the whole run of the project as the program makes it, the set-up dialog
//   answered "PDF fájl": file read at the first run, layout, and the PDF written;
//   items_per_second = pages per second.
// - Report/paint: the PDF writing alone of pages laid out once; items_per_second =
//   pages per second.
//
// Nothing here checks timings; the figures are for reading.

#include "bench_tables.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/report/layout.h"
#include "platform/report/render.h"
#include "platform/report/report.h"
#include "platform/sys/text.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fstream>
#include <memory>

namespace {

using namespace benchtables;

constexpr int kReportRows = 10000;

const char* const kLayout = R"rav(farmreport 1
page size=A4 margin=15 font=9
pageheader
text "Parcellák ágazatonként" bold
text "Oldal: {#page} / {#pages}" align=right x=120 width=60 sameline
line
pagefooter
text "Nyomtatva: {#date}"
band Parcellak connection=RvParcConnection
column Parckod caption="Kód" width=20
column Evj caption="Év" width=15 align=right
column Agazat caption="Ágazat" width=45
column Ter caption="Terület (m²)" width=30 align=right format="#,##0.0"
column Aktiv caption="Aktív" width=15 align=center
group Agazat
grouphead "{Agazat}" bold
groupfoot "Összesen:"
grouptotal Ter sum
foot "Mindösszesen:"
total Ter sum
total Agazat count
)rav";

const char* const kCrops[] = {"búza", "őszi árpa", "kukorica", "napraforgó", "repce",
                              "zab",  "lucerna",   "szója",    "cukorrépa",  "tönköly"};

// The folder with the table and the layout, made once per process.
struct Fixture {
    Fixture() : dir(fs::temp_directory_path()) {
        if (!std::getenv("QT_QPA_PLATFORM"))
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "farm_bench";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance())
            app = std::make_unique<QApplication>(argc, argv);
        session = std::make_unique<db::Session>(dir.path());
        session->create("parcellak", {{{"Parckod", db::FieldType::Alpha, 6, 0},
                                       {"Evj", db::FieldType::Long, 4, 0},
                                       {"Agazat", db::FieldType::Alpha, 30, 0},
                                       {"Ter", db::FieldType::Number, 8, 0},
                                       {"Aktiv", db::FieldType::Alpha, 1, 0}},
                                      1});
        db::TTable t(*session, "Table0");
        t.SetTableName("parcellak");
        t.Open();
        for (int n = 0; n < kReportRows; ++n) {
            char code[8];
            std::snprintf(code, sizeof code, "%06d", n);
            t.Append();
            t.FieldByName("Parckod").SetAsString(code);
            t.FieldByName("Evj").SetAsInteger(2000 + n % 25);
            t.FieldByName("Agazat").SetAsString(kCrops[n * 10 / kReportRows]);
            t.FieldByName("Ter").SetAsFloat(1000 + (n * 37) % 50000 / 10.0);
            t.FieldByName("Aktiv").SetAsString(n % 2 ? "A" : "N");
            t.Post();
        }
        std::ofstream(dir.path() / "Parcellak.rav") << kLayout;
        layout = report::ParseLayout(kLayout, dir.path() / "Parcellak.rav");
    }
    TempDir dir;
    std::unique_ptr<QApplication> app;
    std::unique_ptr<db::Session> session;
    report::Layout layout;
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

struct Form {
    Form() : table(*fixture().session, "Table1") {
        table.SetTableName("parcellak");
        table.SetIndexFieldNames("Agazat;Parckod");
    }
    QObject owner;
    db::TTable table;
    TRvTableConnection connection{&owner, "RvParcConnection", &table};
};

report::Document layOut(Form& form) {
    return report::RenderReport(
        fixture().layout, [&](std::string_view name) -> report::Connection* {
            return sys::equalsNoCase(name, "RvParcConnection") ? &form.connection : nullptr;
        });
}

void Layout(benchmark::State& state) {
    Form form;
    std::size_t pages = 0;
    for (auto _ : state)
        pages = layOut(form).pages.size();
    state.SetItemsProcessed(state.iterations() * kReportRows);
    state.counters["pages"] = static_cast<double>(pages);
}

void Pdf(benchmark::State& state) {
    Form form;
    report::CaptureOutput output;
    output.answer =
        report::OutputChoice{report::Destination::PdfFile, fixture().dir.path() / "Parcellak.pdf"};
    report::ScopedOutput use(output);
    const fs::path working = fs::current_path();
    fs::current_path(fixture().dir.path());
    std::size_t pages = 0;
    for (auto _ : state) {
        TRvProject project(&form.owner, "RvProject1", "Parcellak");
        project.ExecuteActiveReport();
        pages = output.documents.back().pages.size();
        output.documents.clear();
    }
    fs::current_path(working);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(pages));
    state.counters["pages"] = static_cast<double>(pages);
    state.counters["pdf_kib"] =
        static_cast<double>(fs::file_size(fixture().dir.path() / "Parcellak.pdf")) / 1024;
}

void Paint(benchmark::State& state) {
    Form form;
    const report::Document document = layOut(form);
    for (auto _ : state)
        report::WritePdf(document, fixture().dir.path() / "Festes.pdf");
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(document.pages.size()));
}

BENCHMARK(Layout)->Name("Report/layout")->Unit(benchmark::kMillisecond);
BENCHMARK(Pdf)->Name("Report/pdf")->Unit(benchmark::kMillisecond);
BENCHMARK(Paint)->Name("Report/paint")->Unit(benchmark::kMillisecond);

} // namespace
