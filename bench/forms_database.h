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
#include <functional>
#include <memory>

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

// The working directory in `folder` for the scope, with the preview's answer captured.
struct InFolder {
    explicit InFolder(const fs::path& folder);
    ~InFolder();
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;
    fs::path working;
    report::CaptureOutput output;
    report::ScopedOutput use{output};
};

// Runs `press` once per iteration; the counter `pages` holds the pages of the last
// document made, `peak_mb` the peak memory, `first_page_ms` the mean time to the first
// laid-out page (the preview opens there), and `press1_*` / `later_*` the first press
// (cold) apart from the later ones, to the first page and to the whole print. With
// FARM_BENCH_PAGES_DIR set, a digest of each page of the last document is written there
// , to check that a change keeps the pages as they were.
void MeasurePages(benchmark::State& state, const std::function<void()>& press,
                  report::CaptureOutput& output);

} // namespace benchtables
