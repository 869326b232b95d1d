// Table engine speed over keyed field tables shaped like NAGY.DB (57-byte records: Alpha 6
// key, Long, Long, Number, Alpha 30 with Hungarian text, Alpha 1, Date), written by the
// oracle tool pxmake once and kept in $TMPDIR/farm-bench/ for later runs (pxmake needs
// about 1.5 minutes for the million rows, so the first run takes that much longer).
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

#include "platform/db/table_file.h"
#include "platform/sys/datetime.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <numeric>
#include <random>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kScanRows = 1000000;
constexpr int kChangeRows = 100000;

// --- places and tools ------------------------------------------------------------

fs::path sharedDir() {
    if (const char* env = std::getenv("FARM_SHARED_DIR"); env && *env)
        return env;
    return FARM_SHARED_DIR;
}

fs::path tool(const std::string& name) {
    return sharedDir() / "tools" / name;
}

fs::path cacheDir() {
    return fs::temp_directory_path() / "farm-bench";
}

std::string quoted(const fs::path& p) {
    return "'" + p.string() + "'";
}

// Runs a shell command; throws when it does not exit with 0.
void runOrThrow(const std::string& command) {
    const int status = std::system(command.c_str());
    if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("failed: " + command);
}

// A temporary folder, removed with everything in it.
class TempDir {
public:
    explicit TempDir(const fs::path& parent) {
        fs::create_directories(parent);
        std::string pattern = (parent / "run-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a folder in " + parent.string());
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// --- the rows ----------------------------------------------------------------------

// One row of the field table; row n has the key "%06d" of n.
struct Row {
    int key = 0;
    int year = 2000;
    int sequence = 0;
    double area = 0;
    const char* crop = "";
    const char* active = "A";
    int month = 1;
    int day = 1;
};

Row rowFor(int key) {
    static constexpr const char* kCrops[] = {
        "napraforgó", "gyep",  "szőlő",        "kukorica",  "repce",
        "lucerna",    "almás", "tavaszi árpa", "őszi búza", "árvíztűrő tükörfúrógép"};
    const auto mixed = static_cast<std::uint32_t>(key) * 2654435761u;
    Row r;
    r.key = key;
    r.year = 2000 + key % 25;
    r.sequence = key % 1000;
    r.area = static_cast<double>(mixed % 1000000) / 10.0;
    r.crop = kCrops[mixed % std::size(kCrops)];
    r.active = (mixed >> 8) % 2 ? "A" : "N";
    r.month = 1 + key % 12;
    r.day = 1 + key % 28;
    return r;
}

std::string keyText(int key) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%06d", key);
    return buffer;
}

std::string tsvLine(const Row& r) {
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, "%06d\t%d\t%d\t%.1f\t%s\t%s\t%04d-%02d-%02d\n", r.key,
                  r.year, r.sequence, r.area, r.crop, r.active, r.year, r.month, r.day);
    return buffer;
}

db::Record recordOf(const Row& r) {
    const auto days = sys::dateTimeToParadoxDays(sys::encodeDate(r.year, r.month, r.day));
    return {keyText(r.key),        r.year,        r.sequence, r.area, std::string(r.crop),
            std::string(r.active), db::Date{days}};
}

db::TableSchema fieldTableSchema() {
    using db::FieldType;
    return {{{"Parckod", FieldType::Alpha, 6, 0},
             {"Evj", FieldType::Long, 4, 0},
             {"Parcsor", FieldType::Long, 4, 0},
             {"Ter", FieldType::Number, 8, 0},
             {"Agazat", FieldType::Alpha, 30, 0},
             {"Aktiv", FieldType::Alpha, 1, 0},
             {"Datum", FieldType::Date, 4, 0}},
            1};
}

// --- the cached tables -------------------------------------------------------------

void writeSpec(const fs::path& spec, const std::string& table, int rows, int keyStep) {
    std::ofstream out(spec, std::ios::binary);
    out << "table " << table << "\ncodepage 1250\nlangdriver anhundc\n"
        << "blocksize 4\nkeys 1\n"; // 4 KiB: a million rows take 14,085 blocks
    for (const auto& f : fieldTableSchema().fields)
        out << "field " << db::typeLetter(f.type)
            << (f.type == db::FieldType::Alpha ? std::to_string(f.size) : "") << ' ' << f.name
            << '\n';
    out << "data\n";
    for (int i = 0; i < rows; ++i) // in key order
        out << tsvLine(rowFor(i * keyStep));
    if (!out.flush())
        throw std::runtime_error("cannot write " + spec.string());
}

// NAME.DB and NAME.px in the cache folder with `rows` records keyed 0, step, 2*step, ...,
// written by pxmake unless already there.
fs::path pxmakeTable(const std::string& name, int rows, int keyStep) {
    const fs::path db = cacheDir() / (name + ".DB");
    const fs::path px = cacheDir() / (name + ".px");
    if (fs::exists(db) && fs::exists(px))
        return db;
    std::cerr << "farm_bench: writing " << db.string() << " (" << rows
              << " rows) with pxmake, once; later runs reuse it\n";
    const TempDir work(cacheDir());
    const fs::path spec = work.path() / (name + ".spec");
    writeSpec(spec, name + ".DB", rows, keyStep);
    runOrThrow(quoted(tool("pxmake")) + " " + quoted(spec) + " " +
               quoted(work.path() / (name + ".DB")) + " > /dev/null");
    fs::rename(work.path() / (name + ".px"), px); // the .DB last: it marks a whole table
    fs::rename(work.path() / (name + ".DB"), db);
    return db;
}

const fs::path& scanTable() {
    static const fs::path path = pxmakeTable("SCAN1M", kScanRows, 1);
    return path;
}

// 100,000 rows with the even keys 0..199998: the odd ones are free for inserts.
const fs::path& changeTable() {
    static const fs::path path = pxmakeTable("CHANGE100K", kChangeRows, 2);
    return path;
}

// The rows of changeTable() put in by our engine in random order, one insert each.
void buildEngineTable(const fs::path& db) {
    const auto start = std::chrono::steady_clock::now();
    auto table = db::TableFile::create(db, fieldTableSchema());
    std::vector<int> keys(kChangeRows);
    std::iota(keys.begin(), keys.end(), 0);
    std::shuffle(keys.begin(), keys.end(), std::mt19937(7));
    for (const int k : keys) {
        auto record = recordOf(rowFor(2 * k));
        table->insert(record);
    }
    const double seconds = secondsSince(start);
    std::cerr << "farm_bench: our engine built " << db.string() << " with " << kChangeRows
              << " inserts in " << seconds << " s (" << kChangeRows / seconds << " inserts/s)\n";
}

// Built once per process, not kept between runs: it is only as recent as the engine.
class EngineTable {
public:
    EngineTable() : dir_(cacheDir()), path_(dir_.path() / "ENGINE100K.DB") {
        buildEngineTable(path_);
    }
    const fs::path& path() const { return path_; }

private:
    TempDir dir_;
    fs::path path_;
};

const fs::path& engineTable() {
    static const EngineTable table;
    return table.path();
}

// Copies a table's files (.DB, its index, however spelled) into `dir`; returns the copy of
// the .DB.
fs::path copyTable(const fs::path& db, const fs::path& dir) {
    for (const auto& entry : fs::directory_iterator(db.parent_path()))
        if (entry.is_regular_file() && entry.path().stem() == db.stem())
            fs::copy_file(entry.path(), dir / entry.path().filename());
    return dir / db.filename();
}

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

double timedCommand(const std::string& command) {
    const auto start = std::chrono::steady_clock::now();
    runOrThrow(command);
    return secondsSince(start);
}

fs::path tabledump() {
    return FARM_TABLEDUMP;
}

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
