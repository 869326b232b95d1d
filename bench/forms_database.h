#pragma once
// What a benchmark that runs forms needs: the Qt application (offscreen unless
// QT_QPA_PLATFORM says otherwise), the program's application object with its services,
// and a fresh database in a temporary folder.

#include "bench_tables.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/report/output.h"
#include "platform/ui/application.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/form.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace benchtables {

struct FormsDatabase {
    FormsDatabase();
    ~FormsDatabase();

    std::unique_ptr<QApplication> qt;
    ui::QtDialogService dialogs;
    ui::PageHelpService help{"help"};
    ui::EventLoopModalDriver modal;
    std::unique_ptr<ui::TApplication> app;
    TempDir dir;
    std::unique_ptr<db::Session> session;

    // Appends `count` rows to the table, row i filled by `fill`, a few thousand rows to a
    // transaction: a transaction's cost grows with the rows it holds.
    void AppendRows(const char* table, int count,
                    const std::function<void(db::TTable&, int)>& fill);
};

// Where a benchmark's prints go: offscreen, the pages are captured (the preview's answer);
// on a display (OnDisplay()), each print goes through the program's own preview window,
// which shows its pages as they are laid out and is closed once the last one is there.
class BenchOutput : public report::CaptureOutput {
public:
    std::optional<report::OutputChoice> Choose(const std::string& reportName) override;
    void Run(const std::string& reportName, const report::OutputChoice& choice,
             const report::LayOut& layOut) override;

    // On a display, of the last print: when the preview showed its first page and when its
    // last page was laid out, and how many pages it had.
    std::optional<std::chrono::steady_clock::time_point> firstShown, laidOut;
    std::size_t previewPages = 0;
};

// The working directory in `folder` for the scope, with the prints' output.
struct InFolder {
    explicit InFolder(const fs::path& folder);
    ~InFolder();
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;
    fs::path working;
    BenchOutput output;
    report::ScopedOutput use{output};
};

// Runs `press` once per iteration; the counter `pages` holds the pages of the last
// document made, `peak_mb` the peak memory, `first_page_ms` the mean time to the first
// laid-out page (the preview opens there), and `press1_*` / `later_*` the first press
// (cold) apart from the later ones, to the first page and to the whole print (`whole_ms`
// their mean). On a display the first page is the preview shown with it and the whole
// print ends when the preview has its last page. With FARM_BENCH_PAGES_DIR set, a digest
// of each page of the last captured document is written there, to check that a change
// keeps the pages as they were.
void MeasurePages(benchmark::State& state, const std::function<void()>& press, BenchOutput& output);

} // namespace benchtables
