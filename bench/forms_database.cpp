#include "forms_database.h"

#include "core/fresh_database.h"
#include "on_display.h"
#include "platform/report/dialogs.h"

#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <utility>
#include <vector>

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

namespace {

// Tells when the preview has shown the first page: after the first page's PageDone, which
// shows the preview and lets it paint.
class FirstShown : public report::ProgressReporter {
public:
    FirstShown(report::ProgressReporter& inner, std::function<void()> shown)
        : inner_(inner), shown_(std::move(shown)) {}
    bool Step(int done) override { return inner_.Step(done); }
    bool PageDone(const report::Document& document) override {
        const bool go_on = inner_.PageDone(document);
        if (shown_)
            std::exchange(shown_, nullptr)();
        return go_on;
    }

private:
    report::ProgressReporter& inner_;
    std::function<void()> shown_;
};

// Closes the preview window on the screen, as the farmer does once the pages are there.
void ClosePreview() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* preview = dynamic_cast<report::PreviewWindow*>(window);
            preview && preview->isVisible())
            preview->accept();
}

} // namespace

std::optional<report::OutputChoice> BenchOutput::Choose(const std::string& reportName) {
    if (!OnDisplay())
        return CaptureOutput::Choose(reportName);
    asked.push_back(reportName);
    return report::OutputChoice{}; // "Nyomtatási kép"
}

void BenchOutput::Run(const std::string& reportName, const report::OutputChoice& choice,
                      const report::LayOut& layOut) {
    if (!OnDisplay())
        return CaptureOutput::Run(reportName, choice, layOut);
    firstShown.reset();
    laidOut.reset();
    previewPages = 0;
    report::QtOutputService program;
    program.Run(
        reportName, choice, [&](report::Document& into, report::ProgressReporter* progress) {
            FirstShown told(*progress, [this] { firstShown = std::chrono::steady_clock::now(); });
            layOut(into, &told);
            laidOut = std::chrono::steady_clock::now();
            previewPages = into.pages.size();
            // Closed as soon as the preview's own loop runs with the last page.
            QTimer::singleShot(0, qApp, ClosePreview);
        });
}

InFolder::InFolder(const fs::path& folder) : working(fs::current_path()) {
    fs::current_path(folder);
}

InFolder::~InFolder() {
    fs::current_path(working);
}

namespace {

// With FARM_BENCH_PAGES_DIR set, the pages of a document go into <dir>/<report>.pages, one
// line a page: its number, its text and line counts and a hash of every text and line in
// full precision, so that the pages of two builds can be compared page by page.
void WritePageDigests(const report::Document& document) {
    const char* dir = std::getenv("FARM_BENCH_PAGES_DIR");
    if (!dir || !*dir)
        return;
    std::ofstream out(fs::path(dir) / (document.name + ".pages"));
    for (std::size_t i = 0; i < document.pages.size(); ++i) {
        const report::Page& page = document.pages[i];
        std::string all;
        char place[160];
        for (const report::TextItem& t : page.texts) {
            std::snprintf(place, sizeof place, "%a %a %a %a %a %d %d|", t.x, t.y, t.width, t.height,
                          t.fontSize, t.bold, static_cast<int>(t.align));
            all += place;
            all += t.text;
            all += '\n';
        }
        for (const report::LineItem& l : page.lines) {
            std::snprintf(place, sizeof place, "%a %a %a %a %a\n", l.x1, l.y1, l.x2, l.y2, l.width);
            all += place;
        }
        out << i + 1 << ' ' << page.texts.size() << ' ' << page.lines.size() << ' '
            << std::hash<std::string>{}(all) << '\n';
    }
}

} // namespace

void MeasurePages(benchmark::State& state, const std::function<void()>& press,
                  BenchOutput& output) {
    std::size_t pages = 0;
    double peak = 0;
    std::vector<double> firstPage, whole; // seconds, one of each per press
    auto start = std::chrono::steady_clock::now();
    std::optional<double> first;
    output.OnPageDone = [&](const report::Document&) {
        if (!first)
            first = secondsSince(start);
    };
    for (auto _ : state) {
        resetPeakMemory();
        first.reset();
        start = std::chrono::steady_clock::now();
        press();
        whole.push_back(secondsSince(start));
        if (output.laidOut) { // through the preview on a display
            const auto since = [&](std::chrono::steady_clock::time_point t) {
                return std::chrono::duration<double>(t - start).count();
            };
            whole.back() = since(*output.laidOut);
            first = output.firstShown ? since(*output.firstShown) : whole.back();
            output.laidOut.reset();
        }
        firstPage.push_back(first.value_or(whole.back()));
        peak = std::max(peak, peakMemoryBytes());
        pages =
            output.documents.empty() ? output.previewPages : output.documents.back().pages.size();
        if (!output.documents.empty())
            WritePageDigests(output.documents.back());
        output.documents.clear();
    }
    output.OnPageDone = nullptr;
    state.counters["pages"] = static_cast<double>(pages);
    // The process's peak while a press ran (the farm's tables and the program included).
    state.counters["peak_mb"] = peak / 1e6;
    // The first press apart from the later ones: the first reads the tables from disk.
    const auto milliseconds = [](const std::vector<double>& seconds, std::size_t from) {
        double sum = 0;
        for (std::size_t i = from; i < seconds.size(); ++i)
            sum += seconds[i];
        return sum * 1000 / static_cast<double>(seconds.size() - from);
    };
    if (whole.empty())
        return;
    state.counters["first_page_ms"] = milliseconds(firstPage, 0);
    state.counters["whole_ms"] = milliseconds(whole, 0);
    state.counters["press1_first_page_ms"] = firstPage.front() * 1000;
    state.counters["press1_whole_ms"] = whole.front() * 1000;
    if (whole.size() > 1) {
        state.counters["later_first_page_ms"] = milliseconds(firstPage, 1);
        state.counters["later_whole_ms"] = milliseconds(whole, 1);
    }
}

} // namespace benchtables
