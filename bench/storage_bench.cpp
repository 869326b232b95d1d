// The storage engine beside SQLite on the same rows, in the same run; each benchmark
// prints ours_ms, sqlite_ms (or file_ms) and ratio = ours / theirs.
//
// - Storage/durable_post: one insert of a new key per commit into a keyed table of
//   10,000 rows (the field table's rows, bench_tables.h), one post of each store in turn;
//   ms per post. Forced to the disk: our table with Durability::Fsync (the program's
//   default) beside SQLite with synchronous=FULL, its rollback journal
//   (journal_mode=DELETE: sqlite_ms, ratio) and its write-ahead log (journal_mode=WAL:
//   wal_ms, wal_ratio). Left to the operating system: our table with
//   Durability::OsBuffers beside SQLite's rollback journal with synchronous=OFF
//   (osbuffers_ms, sqlite_off_ms, off_ratio).
// - Storage/bulk_insert: FARM_BENCH_BULK_ROWS rows (1,000,000 unless set) into a new
//   keyed table in one transaction (keys ascending): our session transaction over a
//   new table with 8 KiB blocks, SQLite's INSERT in one transaction into a table with
//   a primary key; ms for the whole load, commit included.
// - Storage/scan_decode: opening the 1,000,000-row pxmake table (bench_tables.h) and
//   decoding every field of every record (a block's records at a time, into records
//   reused block after block), beside reading the same .DB file from the page cache
//   (read(2) in 1 MiB pieces, the file read once before).
// - Storage/first_query: a new session opening a 100,000-row ledger table with two
//   secondary indexes and summing the rows of one material through its index (the
//   check of the indexes at the first open included), beside a new SQLite connection
//   running the same sum through its index on the same rows.
//
// Nothing here checks timings; the figures are for reading.

#include "bench_tables.h"
#include "platform/db/session.h"
#include "platform/db/table.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <sqlite3.h>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace benchtables;

void exec(sqlite3* lite, const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(lite, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string what = error ? error : "?";
        sqlite3_free(error);
        throw std::runtime_error("SQLite: " + sql + ": " + what);
    }
}

sqlite3* openLite(const fs::path& path) {
    sqlite3* lite = nullptr;
    if (sqlite3_open(path.c_str(), &lite) != SQLITE_OK)
        throw std::runtime_error("SQLite: cannot open " + path.string());
    return lite;
}

class Statement {
public:
    Statement(sqlite3* lite, const char* sql) : lite_(lite) {
        if (sqlite3_prepare_v2(lite, sql, -1, &st_, nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string("SQLite: ") + sqlite3_errmsg(lite));
    }
    ~Statement() { sqlite3_finalize(st_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    sqlite3_stmt* get() { return st_; }
    void step() {
        const int rc = sqlite3_step(st_);
        if (rc != SQLITE_DONE && rc != SQLITE_ROW)
            throw std::runtime_error(std::string("SQLite: ") + sqlite3_errmsg(lite_));
        sqlite3_reset(st_);
    }

private:
    sqlite3* lite_;
    sqlite3_stmt* st_ = nullptr;
};

// The field table's row in SQLite's own columns.
void bindRow(sqlite3_stmt* st, const Row& r) {
    const std::string key = keyText(r.key);
    sqlite3_bind_text(st, 1, key.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int(st, 2, r.year);
    sqlite3_bind_int(st, 3, r.sequence);
    sqlite3_bind_double(st, 4, r.area);
    sqlite3_bind_text(st, 5, r.crop, -1, SQLITE_STATIC);
    sqlite3_bind_text(st, 6, r.active, -1, SQLITE_STATIC);
    char date[16];
    std::snprintf(date, sizeof date, "2005-%02d-%02d", r.month, r.day);
    sqlite3_bind_text(st, 7, date, -1, SQLITE_TRANSIENT);
}

constexpr const char* kLiteTable = "CREATE TABLE nagy (Parckod TEXT PRIMARY KEY, Evj INTEGER, "
                                   "Parcsor INTEGER, Ter REAL, Agazat TEXT, Aktiv TEXT, Datum "
                                   "TEXT)";
constexpr const char* kLiteInsert = "INSERT INTO nagy VALUES (?,?,?,?,?,?,?)";

void report(benchmark::State& state, double ours, double theirs, const char* theirName) {
    state.counters["ours_ms"] = ours * 1e3;
    state.counters[theirName] = theirs * 1e3;
    state.counters["ratio"] = theirs > 0 ? ours / theirs : 0;
}

// --- durable post ------------------------------------------------------------------------

// A new SQLite file `name` in `dir` with the journal mode and synchronous setting given,
// holding the field table's even keys below 2 * rows.
sqlite3* durableLite(const fs::path& dir, const char* name, const char* journal,
                     const char* synchronous, int rows) {
    sqlite3* lite = openLite(dir / name);
    exec(lite, std::string("PRAGMA journal_mode=") + journal);
    exec(lite, std::string("PRAGMA synchronous=") + synchronous);
    exec(lite, kLiteTable);
    exec(lite, "BEGIN");
    {
        Statement insert(lite, kLiteInsert);
        for (int i = 0; i < rows; ++i) {
            bindRow(insert.get(), rowFor(2 * i));
            insert.step();
        }
    }
    exec(lite, "COMMIT");
    return lite;
}

// Our table `name` in `dir` with the same rows.
void durableOurs(const fs::path& dir, const std::string& name, int rows) {
    db::Session session(dir);
    auto shared = session.create(name, fieldTableSchema());
    db::SessionTransaction fill(session);
    for (int i = 0; i < rows; ++i) {
        auto record = recordOf(rowFor(2 * i));
        shared->insert(record);
    }
    fill.Commit();
}

// The stores of one run, each posted to in turn; seconds summed per store.
enum DurableStore { kOursFsync, kLiteFull, kLiteWal, kOursBuffers, kLiteOff, kStores };

void Storage_durable_post(benchmark::State& state) {
    constexpr int kRows = 10000;
    constexpr int kPosts = 200;
    try {
        double total[kStores] = {};
        int runs = 0;
        for (auto _ : state) {
            const TempDir dir(cacheDir());
            durableOurs(dir.path(), "NAGY", kRows);
            durableOurs(dir.path(), "NAGYB", kRows);
            sqlite3* lites[] = {durableLite(dir.path(), "lite.db", "DELETE", "FULL", kRows),
                                durableLite(dir.path(), "wal.db", "WAL", "FULL", kRows),
                                durableLite(dir.path(), "off.db", "DELETE", "OFF", kRows)};
            std::mt19937 rng(5);
            std::vector<int> keys;
            for (int i = 0; i < kPosts; ++i)
                keys.push_back(2 * static_cast<int>(rng() % kRows) + 1);
            std::sort(keys.begin(), keys.end());
            keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
            std::shuffle(keys.begin(), keys.end(), rng);

            // One post to each store in turn, so that all see the same load.
            auto forced =
                db::TableFile::open(dir.path() / "NAGY.DB", {.durability = db::Durability::Fsync});
            auto buffered = db::TableFile::open(dir.path() / "NAGYB.DB",
                                                {.durability = db::Durability::OsBuffers});
            double run[kStores] = {};
            {
                Statement full(lites[0], kLiteInsert), wal(lites[1], kLiteInsert),
                    off(lites[2], kLiteInsert);
                const auto timed = [&](DurableStore store, const auto& post) {
                    const auto start = std::chrono::steady_clock::now();
                    post();
                    run[store] += secondsSince(start);
                };
                for (const int key : keys) {
                    const Row row = rowFor(key);
                    auto record = recordOf(row);
                    timed(kOursFsync, [&] { forced->insert(record); });
                    for (auto [store, statement] :
                         {std::pair{kLiteFull, &full}, {kLiteWal, &wal}, {kLiteOff, &off}}) {
                        bindRow(statement->get(), row);
                        timed(store, [&] { statement->step(); });
                    }
                    timed(kOursBuffers, [&] { buffered->insert(record); });
                }
            }
            for (int store = 0; store < kStores; ++store)
                total[store] += run[store] / static_cast<double>(keys.size());
            for (sqlite3* lite : lites)
                sqlite3_close(lite);
            ++runs;
        }
        const auto ms = [&](DurableStore store) { return total[store] / runs * 1e3; };
        report(state, ms(kOursFsync) / 1e3, ms(kLiteFull) / 1e3, "sqlite_ms");
        state.counters["wal_ms"] = ms(kLiteWal);
        state.counters["wal_ratio"] = ms(kOursFsync) / ms(kLiteWal);
        state.counters["osbuffers_ms"] = ms(kOursBuffers);
        state.counters["sqlite_off_ms"] = ms(kLiteOff);
        state.counters["off_ratio"] = ms(kOursBuffers) / ms(kLiteOff);
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}
BENCHMARK(Storage_durable_post)
    ->Name("Storage/durable_post")
    ->Iterations(5)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// --- bulk insert -------------------------------------------------------------------------

int bulkRows() {
    if (const char* value = std::getenv("FARM_BENCH_BULK_ROWS"); value && *value)
        return std::max(1, std::atoi(value));
    return 1000000;
}

void Storage_bulk_insert(benchmark::State& state) {
    const int rows = bulkRows();
    try {
        double ours = 0, theirs = 0;
        int runs = 0;
        for (auto _ : state) {
            const TempDir dir(cacheDir());
            auto start = std::chrono::steady_clock::now();
            {
                db::Session session(dir.path());
                db::TableSchema schema = fieldTableSchema();
                schema.minBlockKiB = 8;
                auto table = session.create("NAGY", schema);
                db::SessionTransaction transaction(session);
                for (int i = 0; i < rows; ++i) {
                    auto record = recordOf(rowFor(i));
                    table->insert(record);
                }
                transaction.Commit();
            }
            ours += secondsSince(start);

            sqlite3* lite = openLite(dir.path() / "lite.db");
            exec(lite, kLiteTable);
            start = std::chrono::steady_clock::now();
            exec(lite, "BEGIN");
            {
                Statement insert(lite, kLiteInsert);
                for (int i = 0; i < rows; ++i) {
                    bindRow(insert.get(), rowFor(i));
                    insert.step();
                }
            }
            exec(lite, "COMMIT");
            theirs += secondsSince(start);
            sqlite3_close(lite);
            ++runs;
        }
        report(state, ours / runs, theirs / runs, "sqlite_ms");
        state.counters["rows"] = rows;
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}
BENCHMARK(Storage_bulk_insert)
    ->Name("Storage/bulk_insert")
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// --- scan and decode ---------------------------------------------------------------------

double readWholeFile(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0)
        throw std::runtime_error("cannot open " + path.string());
    std::vector<char> buffer(1 << 20);
    const auto start = std::chrono::steady_clock::now();
    std::size_t total = 0;
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n <= 0)
            break;
        total += static_cast<std::size_t>(n);
    }
    const double seconds = secondsSince(start);
    ::close(fd);
    benchmark::DoNotOptimize(total);
    return seconds;
}

void Storage_scan_decode(benchmark::State& state) {
    try {
        const fs::path& path = scanTable();
        readWholeFile(path); // into the page cache
        double ours = 0, theirs = 0;
        int runs = 0;
        for (auto _ : state) {
            const auto start = std::chrono::steady_clock::now();
            const auto table = db::TableFile::open(path, {.writable = false});
            const db::RecordCodec& codec = table->codec();
            std::size_t rows = 0;
            std::vector<db::Record> records; // one block's, reused block after block
            table->scanBlocks(
                [&](const db::TableFile::BlockInfo&, std::span<const std::uint8_t> raw) {
                    rows += codec.decodeBlockInto(raw, records);
                    benchmark::DoNotOptimize(records.data());
                    return true;
                });
            ours += secondsSince(start);
            if (rows != kScanRows) {
                state.SkipWithError("the scan did not visit every row");
                return;
            }
            theirs += readWholeFile(path);
            ++runs;
        }
        report(state, ours / runs, theirs / runs, "file_ms");
        state.SetItemsProcessed(state.iterations() * kScanRows);
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}
BENCHMARK(Storage_scan_decode)
    ->Name("Storage/scan_decode")
    ->Iterations(5)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// --- first query of a session ------------------------------------------------------------

constexpr int kLedgerRows = 100000;
constexpr int kMaterials = 500;

db::TableSchema ledgerSchema() {
    db::TableSchema schema;
    schema.fields = {{"Sorszam", db::FieldType::Long, 4, 0},
                     {"Anyagkod", db::FieldType::Alpha, 6, 0},
                     {"Datum", db::FieldType::Date, 4, 0},
                     {"Menny", db::FieldType::Number, 8, 0},
                     {"Megj", db::FieldType::Alpha, 30, 0}};
    schema.keyFields = 1;
    schema.minBlockKiB = 4;
    return schema;
}

struct Ledger {
    TempDir dir{cacheDir()};
    Ledger() {
        db::Session session(dir.path());
        auto table = session.create("RAKTAR", ledgerSchema(),
                                    {{"Anyagind", {"Anyagkod"}}, {"Datumind", {"Datum"}}});
        sqlite3* lite = openLite(dir.path() / "lite.db");
        exec(lite, "CREATE TABLE raktar (Sorszam INTEGER PRIMARY KEY, Anyagkod TEXT, Datum "
                   "TEXT, Menny REAL, Megj TEXT)");
        exec(lite, "CREATE INDEX anyagind ON raktar (Anyagkod)");
        exec(lite, "CREATE INDEX datumind ON raktar (Datum)");
        exec(lite, "BEGIN");
        Statement insert(lite, "INSERT INTO raktar VALUES (?,?,?,?,?)");
        std::mt19937 rng(3);
        db::SessionTransaction transaction(session);
        for (int i = 0; i < kLedgerRows; ++i) {
            const std::string code = std::to_string(100000 + rng() % kMaterials);
            const int days = static_cast<int>(rng() % 1460);
            const double amount = static_cast<int>(rng() % 2000) - 900;
            db::Record record{i + 1, code, db::Date{732312 + days}, amount, std::string("tétel")};
            table->insert(record);
            sqlite3_bind_int(insert.get(), 1, i + 1);
            sqlite3_bind_text(insert.get(), 2, code.c_str(), -1, SQLITE_TRANSIENT);
            char date[16];
            std::snprintf(date, sizeof date, "d%05d", days);
            sqlite3_bind_text(insert.get(), 3, date, -1, SQLITE_TRANSIENT);
            sqlite3_bind_double(insert.get(), 4, amount);
            sqlite3_bind_text(insert.get(), 5, "tétel", -1, SQLITE_STATIC);
            insert.step();
        }
        transaction.Commit();
        exec(lite, "COMMIT");
        sqlite3_close(lite);
    }
};

Ledger& theLedger() {
    static Ledger ledger;
    return ledger;
}

double ourFirstSum(const fs::path& dir, const std::string& code) {
    db::Session session(dir);
    db::TTable table(session);
    table.SetTableName("RAKTAR");
    table.SetIndexName("Anyagind");
    table.Open();
    double sum = 0;
    if (table.FindKey({code}))
        for (; !table.Eof() && table.FieldByName("Anyagkod").AsString() == code; table.Next())
            sum += table.FieldByName("Menny").AsFloat();
    table.Close();
    return sum;
}

double theirFirstSum(const fs::path& dir, const std::string& code) {
    sqlite3* lite = openLite(dir / "lite.db");
    double sum = 0;
    {
        Statement query(lite, "SELECT SUM(Menny) FROM raktar WHERE Anyagkod = ?");
        sqlite3_bind_text(query.get(), 1, code.c_str(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(query.get()) == SQLITE_ROW)
            sum = sqlite3_column_double(query.get(), 0);
    }
    sqlite3_close(lite);
    return sum;
}

void Storage_first_query(benchmark::State& state) {
    try {
        const Ledger& ledger = theLedger();
        double ours = 0, theirs = 0;
        int runs = 0;
        for (auto _ : state) {
            const std::string code = std::to_string(100000 + runs * 7 % kMaterials);
            auto start = std::chrono::steady_clock::now();
            const double a = ourFirstSum(ledger.dir.path(), code);
            ours += secondsSince(start);
            start = std::chrono::steady_clock::now();
            const double b = theirFirstSum(ledger.dir.path(), code);
            theirs += secondsSince(start);
            if (a != b) {
                state.SkipWithError("the two sums differ");
                return;
            }
            ++runs;
        }
        report(state, ours / runs, theirs / runs, "sqlite_ms");
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}
BENCHMARK(Storage_first_query)
    ->Name("Storage/first_query")
    ->Iterations(10)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
