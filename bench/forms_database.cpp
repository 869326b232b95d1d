#include "forms_database.h"

#include "core/fresh_database.h"

#include <algorithm>
#include <cstdlib>

namespace benchtables {

FormsDatabase::FormsDatabase() : dir(fs::temp_directory_path()) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "farm_bench";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance())
        qt = std::make_unique<QApplication>(argc, argv);
    app = std::make_unique<ui::TApplication>(dialogs, help, modal);
    session = std::make_unique<db::Session>(dir.path());
    core::CreateFreshDatabase(*session);
}

FormsDatabase::~FormsDatabase() = default;

void FormsDatabase::AppendRows(const char* table, int count,
                               const std::function<void(db::TTable&, int)>& fill) {
    constexpr int kRowsPerTransaction = 5000;
    db::TTable rows(*session);
    rows.SetTableName(table);
    rows.Open();
    for (int first = 0; first < count; first += kRowsPerTransaction) {
        db::SessionTransaction transaction(*session);
        for (int i = first; i < std::min(count, first + kRowsPerTransaction); ++i) {
            rows.Append();
            fill(rows, i);
            rows.Post();
        }
        transaction.Commit();
    }
}

InFolder::InFolder(const fs::path& folder) : working(fs::current_path()) {
    fs::current_path(folder);
}

InFolder::~InFolder() {
    fs::current_path(working);
}

void MeasurePages(benchmark::State& state, const std::function<void()>& press,
                  report::CaptureOutput& output) {
    std::size_t pages = 0;
    double peak = 0;
    for (auto _ : state) {
        resetPeakMemory();
        press();
        peak = std::max(peak, peakMemoryBytes());
        pages = output.documents.empty() ? 0 : output.documents.back().pages.size();
        output.documents.clear();
    }
    state.counters["pages"] = static_cast<double>(pages);
    // The process's peak while a press ran (the farm's tables and the program included).
    state.counters["peak_mb"] = peak / 1e6;
}

} // namespace benchtables
