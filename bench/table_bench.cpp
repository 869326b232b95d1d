// Table engine speed over keyed field tables shaped like NAGY.DB (bench_tables.h), written
// by the oracle tool pxmake once and kept in $TMPDIR/farm-bench/ for later runs (pxmake
// needs about 1.5 minutes for the million rows, so the first run takes that much longer).
//
// - TableScan/decode: TableFile::open plus scan() of a 1,000,000-row table (4 KiB blocks)
//   decoding every field of every record; items_per_second = rows per second.
// - TableScan/raw: the same scan handing out the raw record bytes only.
// - PxdumpVsOurs: pxdump writing the same table as text to /dev/null (the timed part,
//   wall clock), beside our decoding scan and our tabledump of it, timed alike;
//   `pxdump_over_scan` = pxdump time / our scan time, `pxdump_over_tabledump` the same
//   against our text dump (which does the same work as pxdump).
// - TableChanges/<table>/<durability>: one random change per iteration on a 100,000-row
//   keyed table, half inserts of a new key (insert), half deletes of a present key (find
//   plus remove); items_per_second = changes per second. <table> is the pxmake table or
//   one our engine built (create, then the same rows inserted in random order, so its
//   blocks are split the way a table grown by the program is; it is built once per
//   process, in 12-20 s, and its build time is printed). Every benchmark run starts
//   from a fresh copy of the table in a temporary folder.
//
// Nothing here checks timings; the figures are for reading.

#include "bench_tables.h"
#include "platform/db/table_file.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <exception>
#include <random>
#include <stdexcept>
#include <vector>

namespace {

using namespace benchtables;

// --- scanning ------------------------------------------------------------------------

// Opens the table and decodes every field of every record; the number of records.
std::size_t decodingScan(const fs::path& path) {
    const auto table = db::TableFile::open(path, {.writable = false});
    const db::RecordCodec& codec = table->codec();
    std::size_t rows = 0;
    table->scan([&](db::RecordPos, std::span<const std::uint8_t> raw) {
        auto record = codec.decodeAll(raw);
        benchmark::DoNotOptimize(record.data());
        ++rows;
        return true;
    });
    return rows;
}

std::size_t rawScan(const fs::path& path) {
    const auto table = db::TableFile::open(path, {.writable = false});
    std::size_t rows = 0;
    std::uint8_t sum = 0;
    table->scan([&](db::RecordPos, std::span<const std::uint8_t> raw) {
        sum = static_cast<std::uint8_t>(sum + raw[0]);
        ++rows;
        return true;
    });
    benchmark::DoNotOptimize(sum);
    return rows;
}

template <class Scan>
void scanBenchmark(benchmark::State& state, Scan scan) {
    try {
        const fs::path& path = scanTable();
        for (auto _ : state) {
            if (scan(path) != kScanRows) {
                state.SkipWithError("the scan did not visit every row");
                return;
            }
        }
        state.SetItemsProcessed(state.iterations() * kScanRows);
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}

void BM_TableScanDecode(benchmark::State& state) {
    scanBenchmark(state, decodingScan);
}
BENCHMARK(BM_TableScanDecode)
    ->Name("TableScan/decode")
    ->MinTime(2.0)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

void BM_TableScanRaw(benchmark::State& state) {
    scanBenchmark(state, rawScan);
}
BENCHMARK(BM_TableScanRaw)
    ->Name("TableScan/raw")
    ->MinTime(1.0)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

void BM_PxdumpVsOurs(benchmark::State& state) {
    try {
        const fs::path& path = scanTable();
        double pxdump = 0, scan = 0, dump = 0;
        for (auto _ : state) {
            const double seconds =
                timedCommand(quoted(tool("pxdump")) + " " + quoted(path) + " > /dev/null");
            state.SetIterationTime(seconds);
            pxdump += seconds;
            const auto start = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(decodingScan(path));
            scan += secondsSince(start);
            dump += timedCommand(quoted(tabledump()) + " " + quoted(path) + " > /dev/null");
        }
        const auto n = static_cast<double>(state.iterations());
        state.counters["pxdump_s"] = pxdump / n;
        state.counters["scan_s"] = scan / n;
        state.counters["tabledump_s"] = dump / n;
        state.counters["pxdump_over_scan"] = pxdump / scan;
        state.counters["pxdump_over_tabledump"] = pxdump / dump;
        state.SetItemsProcessed(state.iterations() * kScanRows);
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}
BENCHMARK(BM_PxdumpVsOurs)
    ->Name("PxdumpVsOurs")
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// --- changing --------------------------------------------------------------------------

// The keys in the table and the keys free for inserts, drawn at random.
class KeyPools {
public:
    KeyPools(int rows, int keyStep) {
        for (int i = 0; i < rows; ++i) {
            present_.push_back(i * keyStep);
            for (int free = 1; free < keyStep; ++free)
                absent_.push_back(i * keyStep + free);
        }
    }
    bool canInsert() const { return !absent_.empty(); }
    bool canRemove() const { return !present_.empty(); }
    int takeAbsent(std::mt19937& rng) { return moveRandom(absent_, present_, rng); }
    int takePresent(std::mt19937& rng) { return moveRandom(present_, absent_, rng); }

private:
    static int moveRandom(std::vector<int>& from, std::vector<int>& to, std::mt19937& rng) {
        const std::size_t i = rng() % from.size();
        const int key = from[i];
        from[i] = from.back();
        from.pop_back();
        to.push_back(key);
        return key;
    }
    std::vector<int> present_;
    std::vector<int> absent_;
};

enum class Source { Pxmake, Engine };

// One random change: an insert of a free key or a delete of a present one.
void randomChange(db::TableFile& table, KeyPools& keys, std::mt19937& rng) {
    const bool insert = keys.canInsert() && (!keys.canRemove() || rng() % 2 == 0);
    if (insert) {
        auto record = recordOf(rowFor(keys.takeAbsent(rng)));
        table.insert(record);
        return;
    }
    const auto pos = table.find({keyText(keys.takePresent(rng))});
    if (!pos)
        throw std::runtime_error("a present key was not found");
    table.remove(*pos);
}

void BM_TableChanges(benchmark::State& state, Source source, db::Durability durability) {
    try {
        const fs::path& original = source == Source::Pxmake ? changeTable() : engineTable();
        const TempDir dir(cacheDir());
        const fs::path copy = copyTable(original, dir.path());
        const auto table = db::TableFile::open(copy, {.writable = true, .durability = durability});
        KeyPools keys(kChangeRows, 2);
        std::mt19937 rng(42);
        for (auto _ : state)
            randomChange(*table, keys, rng);
        state.SetItemsProcessed(state.iterations());
        state.counters["rows_after"] = static_cast<double>(table->recordCount());
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}

constexpr auto kOsBuffers = db::Durability::OsBuffers;
constexpr auto kFsync = db::Durability::Fsync;

BENCHMARK_CAPTURE(BM_TableChanges, pxmake_OsBuffers, Source::Pxmake, kOsBuffers)
    ->Name("TableChanges/pxmake/OsBuffers")
    ->MinTime(2.0)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_TableChanges, pxmake_Fsync, Source::Pxmake, kFsync)
    ->Name("TableChanges/pxmake/Fsync")
    ->Iterations(300)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_TableChanges, engine_OsBuffers, Source::Engine, kOsBuffers)
    ->Name("TableChanges/engine/OsBuffers")
    ->MinTime(2.0)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_TableChanges, engine_Fsync, Source::Engine, kFsync)
    ->Name("TableChanges/engine/Fsync")
    ->Iterations(300)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

} // namespace
