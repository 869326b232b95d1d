// Data-set layer speed (TTable over a db::Session) over a fresh copy, made once per
// process in a temporary folder, of the 100,000-row pxmake field table (changeTable() of
// bench_tables.h), against the plain file-layer scan of the same table.
//
// - DataSet/scan: the baseline, TableFile::scan of the session's open table decoding one
//   field (Agazat) of every record and turning it into text as AsString does;
//   items_per_second = rows per second.
// - DataSet/walk/index, DataSet/walk/primary: an open TTable walked First, Next ... Eof
//   in the order of the secondary index AgazatInd (case-insensitive, on Agazat; made once
//   on the copy, its build time printed), or in primary key order, reading
//   FieldByName("Agazat").AsString() of every row; items_per_second = rows per second.
//   DataSet/walk/primary/held: the primary-order walk with the TField looked up once
//   before it, which shows what FieldByName on every row costs.
// - DataSet/open/index, DataSet/open/primary: Open plus Close of the TTable in that
//   order, nothing read; items_per_second = table rows per second.
// - DataSet/filter: Filter "Aktiv = 'A' And Evj = 2010", SetFiltered(true), then Open,
//   the walk of the rows that pass (about 2% of them) in index order, and Close;
//   items_per_second = rows of the underlying table per second.
// - DataSet/locate/Parckod, DataSet/locate/Ter: Locate of the Parckod text and of the
//   Ter number (a double) of the last row in index order, on the open TTable;
//   items_per_second = locates per second, `found_at` = RecNo it lands on.
//
// Each data-set benchmark times only its own work (manual time) and runs one baseline
// scan after each iteration; its counter `over_scan` is its time per pass (per walk,
// open, filtered open-walk-close or locate) over the time of those scans. The ratios are
// printed again as one summary line when the process ends.
//
// Nothing here checks timings; the figures are for reading.

#include "bench_tables.h"
#include "platform/db/field_value.h"
#include "platform/db/session.h"
#include "platform/db/table.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <exception>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace benchtables;

constexpr const char* kTableName = "CHANGE100K";
constexpr const char* kWalkField = "Agazat";
constexpr const char* kFilter = "Aktiv = 'A' And Evj = 2010";

// The copy of the table with a session over it; the shared table stays open for the
// whole process, so every TTable opens the same one.
class DataSetTable {
public:
    DataSetTable() : dir_(cacheDir()) {
        copyTable(changeTable(), dir_.path());
        session_ = std::make_unique<db::Session>(dir_.path());
        shared_ = session_->open(kTableName);
        // The named secondary index the index-order benchmarks use, made once on the copy.
        const auto start = std::chrono::steady_clock::now();
        shared_->addIndex({"AgazatInd", {"Agazat"}, true});
        std::cerr << "farm_bench: the secondary index AgazatInd (case-insensitive, on Agazat) "
                  << "made over " << rows() << " rows in " << secondsSince(start) << " s\n";
        findLastRow();
    }

    db::Session& session() { return *session_; }
    db::SharedTable& shared() { return *shared_; }
    int rows() const { return static_cast<int>(shared_->file().recordCount()); }
    // The last row in index order: the values the locates look for.
    const std::string& lastParckod() const { return lastParckod_; }
    double lastTer() const { return lastTer_; }

    static void useIndexOrder(db::TTable& table) { table.SetIndexName("AgazatInd"); }

private:
    void findLastRow() {
        db::TTable table(*session_);
        table.SetTableName(kTableName);
        useIndexOrder(table);
        table.Open();
        table.Last();
        lastParckod_ = table.FieldByName("Parckod").AsString();
        lastTer_ = table.FieldByName("Ter").AsFloat();
        table.Close();
    }

    TempDir dir_;
    std::unique_ptr<db::Session> session_;
    std::shared_ptr<db::SharedTable> shared_;
    std::string lastParckod_;
    double lastTer_ = 0;
};

DataSetTable& dataSetTable() {
    static DataSetTable table;
    return table;
}

// --- the baseline ------------------------------------------------------------------

// Scans the table decoding one field of every row as text; the number of rows.
std::size_t fieldScan(const db::TableFile& file, int field) {
    const db::RecordCodec& codec = file.codec();
    const db::FieldDef& def = file.fields()[static_cast<std::size_t>(field)];
    std::size_t rows = 0;
    file.scan([&](db::RecordPos, std::span<const std::uint8_t> raw) {
        auto text = db::valueAsString(codec.decode(raw, field, file.blobs()), def);
        benchmark::DoNotOptimize(text.data());
        ++rows;
        return true;
    });
    return rows;
}

// One baseline scan of the whole table; its seconds.
double timedScan() {
    const db::TableFile& file = dataSetTable().shared().file();
    const auto start = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(fieldScan(file, file.fieldIndex(kWalkField)));
    return secondsSince(start);
}

// --- the ratios ----------------------------------------------------------------------

// The time of each data-set benchmark over that of the baseline scans run between its
// iterations (so that both see the same machine load), by benchmark name; printed again
// at exit.
class Ratios {
public:
    ~Ratios() {
        if (ratios_.empty())
            return;
        std::printf("dataset_bench: time per pass over that of a file-layer scan of the %d rows:",
                    rows_);
        for (const auto& [name, ratio] : ratios_)
            std::printf(" %s %.2f;", name.c_str(), ratio);
        std::printf("\n");
        std::fflush(stdout);
    }
    void record(benchmark::State& state, const std::string& name, double seconds,
                double scanSeconds) {
        rows_ = dataSetTable().rows();
        const double ratio = seconds / scanSeconds;
        state.counters["over_scan"] = ratio;
        ratios_[name] = ratio;
    }

private:
    std::map<std::string, double> ratios_;
    int rows_ = 0;
};

Ratios& ratios() {
    static Ratios r;
    return r;
}

// Times the data-set work of one iteration (manual time) and one baseline scan after it.
class PassTimer {
public:
    explicit PassTimer(benchmark::State& state) : state_(state) {}
    template <class Work>
    auto time(Work&& work) {
        const auto start = std::chrono::steady_clock::now();
        auto result = work();
        const double seconds = secondsSince(start);
        state_.SetIterationTime(seconds);
        seconds_ += seconds;
        scanSeconds_ += timedScan();
        return result;
    }
    void record(const std::string& name) { ratios().record(state_, name, seconds_, scanSeconds_); }

private:
    benchmark::State& state_;
    double seconds_ = 0;
    double scanSeconds_ = 0;
};

// --- the benchmarks --------------------------------------------------------------------

enum class Order { Index, Primary };
// How the walk reaches the field: FieldByName on every row, as form code does, or a
// TField looked up once before the walk.
enum class Lookup { ByName, Held };

void setOrder(db::TTable& table, Order order) {
    if (order == Order::Index)
        DataSetTable::useIndexOrder(table);
}

// Walks the open table from First to Eof reading one field as text; the rows visited.
std::size_t walk(db::TTable& table, Lookup lookup = Lookup::ByName) {
    std::size_t rows = 0;
    db::TField& held = table.FieldByName(kWalkField);
    for (table.First(); !table.Eof(); table.Next()) {
        db::TField& field = lookup == Lookup::Held ? held : table.FieldByName(kWalkField);
        auto text = field.AsString();
        benchmark::DoNotOptimize(text.data());
        ++rows;
    }
    return rows;
}

void BM_Scan(benchmark::State& state) {
    try {
        DataSetTable& fixture = dataSetTable();
        const db::TableFile& file = fixture.shared().file();
        const int field = file.fieldIndex(kWalkField);
        for (auto _ : state)
            if (fieldScan(file, field) != static_cast<std::size_t>(fixture.rows()))
                return state.SkipWithError("the scan did not visit every row");
        state.SetItemsProcessed(state.iterations() * fixture.rows());
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}
BENCHMARK(BM_Scan)->Name("DataSet/scan")->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_Walk(benchmark::State& state, Order order, Lookup lookup, const std::string& name) {
    try {
        DataSetTable& fixture = dataSetTable();
        db::TTable table(fixture.session());
        table.SetTableName(kTableName);
        setOrder(table, order);
        table.Open();
        PassTimer timer(state);
        for (auto _ : state)
            if (timer.time([&] { return walk(table, lookup); }) !=
                static_cast<std::size_t>(fixture.rows()))
                return state.SkipWithError("the walk did not visit every row");
        state.SetItemsProcessed(state.iterations() * fixture.rows());
        timer.record(name);
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}
BENCHMARK_CAPTURE(BM_Walk, index, Order::Index, Lookup::ByName, "walk/index")
    ->Name("DataSet/walk/index")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Walk, primary, Order::Primary, Lookup::ByName, "walk/primary")
    ->Name("DataSet/walk/primary")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Walk, primary_held, Order::Primary, Lookup::Held, "walk/primary/held")
    ->Name("DataSet/walk/primary/held")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_Open(benchmark::State& state, Order order, const std::string& name) {
    try {
        DataSetTable& fixture = dataSetTable();
        db::TTable table(fixture.session());
        table.SetTableName(kTableName);
        setOrder(table, order);
        PassTimer timer(state);
        for (auto _ : state)
            timer.time([&] {
                table.Open();
                table.Close();
                return true;
            });
        state.SetItemsProcessed(state.iterations() * fixture.rows());
        timer.record(name);
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}
BENCHMARK_CAPTURE(BM_Open, index, Order::Index, "open/index")
    ->Name("DataSet/open/index")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Open, primary, Order::Primary, "open/primary")
    ->Name("DataSet/open/primary")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_Filter(benchmark::State& state) {
    try {
        DataSetTable& fixture = dataSetTable();
        db::TTable table(fixture.session());
        table.SetTableName(kTableName);
        setOrder(table, Order::Index);
        table.SetFilter(kFilter);
        table.SetFiltered(true);
        PassTimer timer(state);
        std::size_t passed = 0;
        for (auto _ : state)
            passed = timer.time([&] {
                table.Open();
                const std::size_t rows = walk(table);
                table.Close();
                return rows;
            });
        state.SetItemsProcessed(state.iterations() * fixture.rows());
        state.counters["rows_passed"] = static_cast<double>(passed);
        timer.record("filter");
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}
BENCHMARK(BM_Filter)->Name("DataSet/filter")->UseManualTime()->Unit(benchmark::kMillisecond);

enum class LocateBy { Parckod, Ter };

void BM_Locate(benchmark::State& state, LocateBy by, const std::string& name) {
    try {
        DataSetTable& fixture = dataSetTable();
        db::TTable table(fixture.session());
        table.SetTableName(kTableName);
        setOrder(table, Order::Index);
        table.Open();
        const char* field = by == LocateBy::Parckod ? "Parckod" : "Ter";
        const std::vector<db::Value> values = {by == LocateBy::Parckod
                                                   ? db::Value(fixture.lastParckod())
                                                   : db::Value(fixture.lastTer())};
        PassTimer timer(state);
        for (auto _ : state)
            if (!timer.time([&] { return table.Locate(field, values); }))
                return state.SkipWithError("Locate did not find the last row's value");
        state.SetItemsProcessed(state.iterations());
        state.counters["found_at"] = table.RecNo();
        timer.record(name);
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}
BENCHMARK_CAPTURE(BM_Locate, Parckod, LocateBy::Parckod, "locate/Parckod")
    ->Name("DataSet/locate/Parckod")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Locate, Ter, LocateBy::Ter, "locate/Ter")
    ->Name("DataSet/locate/Ter")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
